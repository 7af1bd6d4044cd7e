// Drawing into a target that shows only where pixels changed (two-tone
// pages) leaves out what cannot change that: copies without image colours,
// strokes and glyphs inside the settled part. Every drawing here must tell
// what two plain pages drawn in full tell.
#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "graphics/platform/core/dib.h"
#include "graphics/platform/gdi/device_context.h"
#include "graphics/platform/raster/two_tone_pages.h"
#include "support/plain_page_pair.h"

namespace vx::gdi {
namespace {

constexpr int32_t kWidth = 240, kHeight = 160;

struct Outcome {
  Point measured;
  Point plain;
  Rect settled;
};

Outcome Draw(const std::function<void(TDeviceContext&)>& drawing) {
  TwoTonePages pages(kWidth, kHeight);
  test::PlainPagePair plain(kWidth, kHeight);
  TDeviceContext measuring, full;
  measuring.SelectTarget(&pages);
  full.SelectTarget(&plain);
  drawing(measuring);
  drawing(full);
  return {pages.LastChanged(), plain.LastChanged(), pages.Settled()};
}

// A 24-bit image of the given size in changing colours.
DibImage Image(int32_t width, int32_t height) {
  std::vector<uint8_t> info(40, 0);
  const auto put32 = [&](size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) info[at + size_t(i)] = uint8_t(v >> (8 * i));
  };
  put32(0, 40);
  put32(4, uint32_t(width));
  put32(8, uint32_t(height));
  info[12] = 1;
  info[14] = 24;
  const size_t stride = (size_t(width) * 3 + 3) & ~size_t(3);
  std::vector<uint8_t> bits(stride * size_t(height));
  for (size_t i = 0; i < bits.size(); ++i) bits[i] = uint8_t(i * 37 + 11);
  return *DibImage::Parse(info.data(), info.size(), bits.data(), bits.size());
}

// Fills columns [0, right) of rows [0, bottom) in one colour on both pages.
void Settle(TDeviceContext& dc, int32_t right, int32_t bottom) {
  dc.SelectBrush(LogBrush{BS_SOLID, RGB(0, 128, 0), 0, nullptr});
  dc.PatBlt({0, 0, right, bottom}, PATCOPY);
}

TEST(DeviceContextSettled, CopyPartlyBeyondItsImageLeavesTheRestAlone) {
  const DibImage image = Image(6, 5);
  for (int mode : {COLORONCOLOR, HALFTONE, BLACKONWHITE}) {
    // Beyond the image on every side, mirrored one way, enlarged and shrunk.
    const Outcome wide = Draw([&](TDeviceContext& dc) {
      dc.SetStretchBltMode(mode);
      dc.StretchBlt({20, 10, 150, 90}, &image, {-3, -2, 12, 10}, SRCCOPY);
    });
    EXPECT_EQ(wide.measured, wide.plain) << mode;
    // The columns and rows beyond the image stay as they were.
    EXPECT_GT(wide.plain.x, 100) << mode;
    EXPECT_LT(wide.plain.x, 150) << mode;
    EXPECT_LT(wide.plain.y, 90) << mode;
    EXPECT_FALSE(wide.settled.IsEmpty());
    const Outcome mirrored = Draw([&](TDeviceContext& dc) {
      dc.SetStretchBltMode(mode);
      dc.StretchBlt({200, 10, -150, 90}, &image, {2, 1, 7, 7}, NOTSRCCOPY);
    });
    EXPECT_EQ(mirrored.measured, mirrored.plain) << mode;
    const Outcome shrunk = Draw([&](TDeviceContext& dc) {
      dc.SetStretchBltMode(mode);
      dc.StretchBlt({5, 5, 3, 2}, &image, {-4, 0, 9, 5}, SRCCOPY);
    });
    EXPECT_EQ(shrunk.measured, shrunk.plain) << mode;
    EXPECT_NE(shrunk.plain, (Point{-1, -1}));
  }
}

TEST(DeviceContextSettled, CopiesThatReadTheDestinationAreDrawnInFull) {
  const DibImage image = Image(7, 4);
  // SRCINVERT twice restores every pixel: nothing changed, settled or not.
  const Outcome restored = Draw([&](TDeviceContext& dc) {
    Settle(dc, 60, 40);
    dc.StretchBlt({30, 20, 120, 70}, &image, {0, 0, 7, 4}, SRCINVERT);
    dc.StretchBlt({30, 20, 120, 70}, &image, {0, 0, 7, 4}, SRCINVERT);
  });
  EXPECT_EQ(restored.measured, restored.plain);
  EXPECT_EQ(restored.plain, (Point{59, 39}));
  const Outcome once = Draw([&](TDeviceContext& dc) {
    Settle(dc, 60, 40);
    dc.StretchBlt({30, 20, 120, 70}, &image, {0, 0, 7, 4}, SRCINVERT);
  });
  EXPECT_EQ(once.measured, once.plain);
}

TEST(DeviceContextSettled, PaintingThenRestoringWithXorChangesNothingOutside) {
  for (int32_t pen_width : {0, 1, 9}) {
    const Outcome o = Draw([&](TDeviceContext& dc) {
      Settle(dc, 150, 100);
      dc.SetROP2(R2_XORPEN);
      dc.SelectPen(LogPen{PS_SOLID, pen_width, RGB(255, 0, 0), {}, false});
      dc.SelectBrush(LogBrush{BS_SOLID, RGB(0, 0, 255), 0, nullptr});
      for (int i = 0; i < 2; ++i) {
        dc.Rectangle({100, 60, 200, 130});  // across the settled edge
        dc.Rectangle({10, 10, 50, 50});     // inside it
        dc.MoveTo({20, 30});
        dc.LineTo({230, 150});
        dc.Ellipse({120, 20, 210, 90});
      }
    });
    EXPECT_EQ(o.measured, o.plain) << pen_width;
    EXPECT_EQ(o.plain, (Point{149, 99})) << pen_width;
  }
}

TEST(DeviceContextSettled, StrokesInsideAndAcrossTheSettledPart) {
  for (int32_t pen_width : {0, 3, 12}) {
    for (uint32_t join : {PS_JOIN_MITER, PS_JOIN_ROUND}) {
      const Outcome o = Draw([&](TDeviceContext& dc) {
        Settle(dc, 200, 120);
        dc.SelectPen(LogPen{PS_GEOMETRIC | PS_SOLID | join, pen_width, RGB(200, 0, 0), {}, true});
        // A sharp mitred corner well inside, then one reaching out of it.
        dc.Polyline({{40, 40}, {120, 44}, {40, 48}});
        dc.Polyline({{60, 60}, {186, 64}, {60, 68}});
        dc.MoveTo({10, 100});
        dc.LineTo({190, 112});
      });
      EXPECT_EQ(o.measured, o.plain) << pen_width << " " << join;
    }
  }
}

TEST(DeviceContextSettled, TextInsideAndBeyondTheSettledPart) {
  LogFont font;
  font.face_name = u"Arial";
  font.height = -28;
  for (uint32_t align : {uint32_t(TA_LEFT | TA_TOP), uint32_t(TA_RIGHT | TA_BASELINE)}) {
    const Outcome o = Draw([&](TDeviceContext& dc) {
      Settle(dc, 160, 100);
      dc.SelectFont(font);
      dc.SetBkMode(TRANSPARENT);
      dc.SetTextAlign(align);
      dc.ExtTextOut({20, 20}, 0, nullptr, u"gjQ|", {});
      // Across the settled edge, whichever way the text runs from its origin.
      dc.ExtTextOut({(align & TA_RIGHT) ? 235 : 120, 60}, 0, nullptr, u"Wide text", {});
      dc.SetBkMode(OPAQUE);
      dc.ExtTextOut({30, 50}, 0, nullptr, u"y", {});
    });
    EXPECT_EQ(o.measured, o.plain) << align;
    EXPECT_GT(o.plain.x, 159) << align;
  }
  // Entirely inside: every glyph is left out and the answer stays.
  const Outcome inside = Draw([&](TDeviceContext& dc) {
    Settle(dc, 200, 140);
    dc.SelectFont(font);
    dc.SetBkMode(TRANSPARENT);
    dc.ExtTextOut({20, 30}, 0, nullptr, u"inside", {});
  });
  EXPECT_EQ(inside.measured, inside.plain);
  EXPECT_EQ(inside.plain, (Point{199, 139}));
}

}  // namespace
}  // namespace vx::gdi
