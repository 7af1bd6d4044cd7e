// A Windows metafile that sets its own viewport draws where its viewport puts
// it; its picture's frame follows what it draws, as the reference converter's
// bounds-derived frame does.
#include <gtest/gtest.h>

#include <optional>
#include <vector>

#include "base/arith.h"
#include "base/memory_stream.h"
#include "graphics/bitmap.h"
#include "graphics/bitmap_canvas.h"
#include "graphics/metafile.h"
#include "graphics/platform/wmf/wmf_drawn_extent.h"
#include "graphics/platform/wmf/wmf_to_emf.h"
#include "support/wmf_test_data.h"

namespace vx::gdi {
namespace {

constexpr uint16_t kSetMapMode = 0x103, kSetWindowExt = 0x20C, kSetViewportExt = 0x20E,
                   kCreateBrush = 0x2FC, kSelectObject = 0x12D, kRectangle = 0x41B;

// A black rectangle from 100 to 500 of a 1000-unit window; the viewport, when
// given, is in reference pixels.
test::WmfBuilder Picture(int16_t viewport) {
  test::WmfBuilder b;
  b.Record(kSetMapMode, {8}).Record(kSetWindowExt, {1000, 1000});
  if (viewport) b.Record(kSetViewportExt, {viewport, viewport});
  b.Record(kCreateBrush, {0, 0, 0, 0}).Record(kSelectObject, {0}).Record(kRectangle, {500, 500, 100, 100});
  return b;
}

struct InkBox {
  int left = 1 << 30, top = 1 << 30, right = -1, bottom = -1;
};

// The placeable picture (1 inch at 1000 units) drawn as the converter does,
// 96 pixels square; the box of its non-white pixels.
InkBox Render(const test::WmfBuilder& b) {
  const std::vector<uint8_t> bytes = b.Placeable(0, 0, 1000, 1000, 1000);
  TMemoryStream stream;
  stream.WriteBuffer(bytes.data(), int64_t(bytes.size()));
  stream.SetPosition(0);
  TMetafile metafile;
  metafile.ReadFromStream(stream);
  TBitmap bitmap;
  bitmap.SetPixelDepth(8);
  bitmap.SetPixelWidth(metafile.PixelWidth());
  bitmap.SetPixelHeight(metafile.PixelHeight());
  bitmap.DrawingSurface().DrawStretched({0, 0, bitmap.PixelWidth(), bitmap.PixelHeight()}, &metafile);
  InkBox box;
  for (int y = 0; y < bitmap.PixelHeight(); ++y)
    for (int x = 0; x < bitmap.PixelWidth(); ++x)
      if (bitmap.PixelIndex(x, y) != 255) {
        box = {std::min(box.left, x), std::min(box.top, y), std::max(box.right, x), std::max(box.bottom, y)};
      }
  return box;
}

TEST(WmfDrawnExtent, OnlyViewportRecordsCount) {
  const auto with = Picture(4000).Build();
  const auto without = Picture(0).Build();
  EXPECT_TRUE(WmfSetsViewport(with.data(), with.size()));
  EXPECT_FALSE(WmfSetsViewport(without.data(), without.size()));
}

TEST(WmfDrawnExtent, ReachesTheLastDrawnPixel) {
  // The viewport puts the rectangle at 400..2000 reference pixels; the extent
  // ends within one 16-pixel sample of 2000 pixels (62500 hundredths of a mm
  // on the 1024-pixel, 320 mm screen).
  const auto wmf = Picture(4000).Build();
  const auto emf = ConvertWinMetaFileToEnh(wmf.data(), wmf.size(), 0, 0);
  ASSERT_TRUE(emf.has_value());
  const auto extent = DrawnExtent(*emf);
  ASSERT_TRUE(extent.has_value());
  EXPECT_GE(extent->cx, 62500);
  EXPECT_LE(extent->cx, 62500 + 500);
  EXPECT_EQ(extent->cx, extent->cy);
}

TEST(WmfDrawnExtent, NothingDrawnHasNoExtent) {
  test::WmfBuilder b;
  b.Record(kSetMapMode, {8}).Record(kSetViewportExt, {100, 100});
  const auto wmf = b.Build();
  const auto emf = ConvertWinMetaFileToEnh(wmf.data(), wmf.size(), 0, 0);
  ASSERT_TRUE(emf.has_value());
  EXPECT_FALSE(DrawnExtent(*emf).has_value());
}

TEST(WmfDrawnExtent, AViewportOfItsOwnStillFillsThePicture) {
  // The reference renderer draws both pictures from 19 to 95 (of 96) across and down:
  // the drawing's right and bottom edges make the frame.
  for (int16_t viewport : {500, 4000}) {
    const InkBox box = Render(Picture(viewport));
    EXPECT_NEAR(box.left, 19, 1) << viewport;
    EXPECT_NEAR(box.top, 19, 1) << viewport;
    EXPECT_GE(box.right, 93) << viewport;
    EXPECT_GE(box.bottom, 93) << viewport;
  }
}

TEST(WmfDrawnExtent, WithoutAViewportTheWindowFillsThePicture) {
  const InkBox box = Render(Picture(0));
  EXPECT_EQ(box.left, 10);
  EXPECT_EQ(box.top, 10);
  EXPECT_NEAR(box.right, 47, 1);
}

}  // namespace
}  // namespace vx::gdi

namespace vx::gdi {
namespace {

// META_SETDIBTODEV of a 2 x 2 24-bit DIB, width and height given in pixels.
std::vector<uint8_t> SetDibToDevParams(int16_t x, int16_t y, int16_t size) {
  ByteWriter w;
  for (const int16_t v : {int16_t(0), int16_t(2), int16_t(0), int16_t(0), int16_t(0), size, size, y, x})
    w.I16(v);  // usage, scans, start scan, source y and x, height, width, y, x
  w.U32(40);
  w.I32(2);
  w.I32(2);
  w.U16(1);
  w.U16(24);
  for (int i = 0; i < 6; ++i) w.U32(0);
  for (int i = 0; i < 16; ++i) w.U8(0);  // two rows of 2 black pixels, padded to 8 bytes
  return std::move(w.Bytes());
}

TEST(WmfDrawnExtent, DeviceCopiesCountTheirSizeInReferencePixels) {
  // One unit per reference pixel; the rectangle ends at 5000 pixels and the
  // 1500-pixel device copy at 1600. Measured at a reduced scale the copy must
  // shrink with the rest, as the recorder's bounds of it do.
  test::WmfBuilder b;
  b.Record(kSetMapMode, {8}).Record(kSetWindowExt, {6000, 6000}).Record(kSetViewportExt, {6000, 6000});
  b.Record(kCreateBrush, {0, 0, 0, 0}).Record(kSelectObject, {0}).Record(kRectangle, {5000, 5000, 0, 0});
  b.RecordBytes(0x0D33, SetDibToDevParams(100, 100, 1500));
  const auto wmf = b.Build();
  const auto emf = ConvertWinMetaFileToEnh(wmf.data(), wmf.size(), 0, 0);
  ASSERT_TRUE(emf.has_value());
  const auto extent = DrawnExtent(*emf);
  ASSERT_TRUE(extent.has_value());
  // 5000 pixels of the 1024-pixel, 320 mm screen, within a 4-pixel sample
  EXPECT_NEAR(extent->cx, 156250 + 60, 70);
  EXPECT_NEAR(extent->cy, 156250 + 60, 70);
}

}  // namespace
}  // namespace vx::gdi

namespace vx::gdi {
namespace {

// The frames found for drawings one unit to the reference pixel; the frame
// is in 0.01 mm of the 1024 x 768-pixel, 320 x 240 mm screen.
constexpr uint16_t kSetRop2 = 0x104, kMoveTo = 0x214, kLineTo = 0x213, kCreatePen = 0x2FA, kPatBlt = 0x61D,
                   kTextOut = 0x521;

test::WmfBuilder PixelUnits() {
  test::WmfBuilder b;
  b.Record(kSetMapMode, {8}).Record(kSetWindowExt, {4000, 4000}).Record(kSetViewportExt, {4000, 4000});
  return b;
}

std::optional<Size> FrameOf(const test::WmfBuilder& b) {
  const auto wmf = b.Build();
  const auto emf = ConvertWinMetaFileToEnh(wmf.data(), wmf.size(), 0, 0);
  if (!emf) {
    ADD_FAILURE() << "the metafile does not convert";
    return std::nullopt;
  }
  return DrawnExtent(*emf);
}

int HundredthsAcross(int pixels) { return MulDiv(pixels, 32000, 1024); }
int HundredthsDown(int pixels) { return MulDiv(pixels, 24000, 768); }

TEST(WmfDrawnFrame, ARectangleEndsAtItsLastPixel) {
  // Played through the frame's transform, rectangle (0, 0, 1000, 700) covers
  // pixels 0..1000 across and 0..700 down.
  test::WmfBuilder b = PixelUnits();
  b.Record(kCreateBrush, {0, 0, 0, 0}).Record(kSelectObject, {0}).Record(kRectangle, {700, 1000, 0, 0});
  const auto frame = FrameOf(b);
  ASSERT_TRUE(frame.has_value());
  EXPECT_EQ(frame->cx, HundredthsAcross(1001));
  EXPECT_EQ(frame->cy, HundredthsDown(701));
}

TEST(WmfDrawnFrame, DrawingInThePageColourCounts) {
  // White pen and brush: the same frame as the black rectangle.
  test::WmfBuilder b = PixelUnits();
  b.Record(kCreateBrush, {0, -1, 255, 0}).Record(kSelectObject, {0});
  b.Record(kCreatePen, {0, 0, 0, -1, 255}).Record(kSelectObject, {1});
  b.Record(kRectangle, {700, 1000, 0, 0});
  const auto frame = FrameOf(b);
  ASSERT_TRUE(frame.has_value());
  EXPECT_EQ(frame->cx, HundredthsAcross(1001));
  EXPECT_EQ(frame->cy, HundredthsDown(701));
}

TEST(WmfDrawnFrame, DrawingThatChangesNoPixelHasNoFrame) {
  test::WmfBuilder nop = PixelUnits();
  nop.Record(kSetRop2, {11, 0}).Record(kCreateBrush, {0, 0, 0, 0}).Record(kSelectObject, {0});
  nop.Record(kRectangle, {700, 1000, 0, 0});
  EXPECT_FALSE(FrameOf(nop).has_value());
  // A pattern copy keeping the destination (ROP 0x00AA0029).
  test::WmfBuilder keep = PixelUnits();
  keep.Record(kPatBlt, {0x0029, 0x00AA, 500, 500, 0, 0});
  EXPECT_FALSE(FrameOf(keep).has_value());
}

TEST(WmfDrawnFrame, ALineEndsBeforeItsLastPoint) {
  // From (0, 100) to (1500, 100): pixels 0..1499 of row 100.
  test::WmfBuilder b = PixelUnits();
  b.Record(kMoveTo, {100, 0}).Record(kLineTo, {100, 1500});
  const auto frame = FrameOf(b);
  ASSERT_TRUE(frame.has_value());
  EXPECT_EQ(frame->cx, HundredthsAcross(1500));
  EXPECT_EQ(frame->cy, HundredthsDown(101));
}

TEST(WmfDrawnFrame, ABlitEndingAtTheLastFineSample) {
  // BLACKNESS over x 100..2048, y 200..300: to the pixel as the drawing
  // reaches 2048 pixels; one more pixel needs a sample of 2 pixels, which is
  // as wide as this drawing goes at that sampling.
  test::WmfBuilder edge = PixelUnits();
  edge.Record(kPatBlt, {0x42, 0, 100, 1948, 200, 100});
  auto frame = FrameOf(edge);
  ASSERT_TRUE(frame.has_value());
  EXPECT_EQ(frame->cx, HundredthsAcross(2048));
  EXPECT_EQ(frame->cy, HundredthsDown(300));
  test::WmfBuilder wider = PixelUnits();
  wider.Record(kPatBlt, {0x42, 0, 100, 2100, 200, 100});
  frame = FrameOf(wider);
  ASSERT_TRUE(frame.has_value());
  EXPECT_EQ(frame->cx, HundredthsAcross(2200));
  EXPECT_EQ(frame->cy, HundredthsDown(300));
}

TEST(WmfDrawnFrame, TextEndsWithItsCell) {
  // "Hi" from (300, 100) in the default font: to 313 across and 117 down.
  test::WmfBuilder b = PixelUnits();
  b.Record(kTextOut, {2, 0x6948, 100, 300});
  const auto frame = FrameOf(b);
  ASSERT_TRUE(frame.has_value());
  EXPECT_EQ(frame->cx, HundredthsAcross(313));
  EXPECT_EQ(frame->cy, HundredthsDown(117));
}

}  // namespace
}  // namespace vx::gdi
