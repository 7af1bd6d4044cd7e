// Palette-index colours resolve through the logical palette selected in the
// device context (the stock default palette when none is), in DC state and
// in playback of the palette records.
#include <gtest/gtest.h>

#include "base/byte_reader.h"
#include "graphics/platform/emf/emf_player.h"
#include "graphics/platform/gdi/device_context.h"
#include "graphics/platform/gdi/palette_colors.h"
#include "graphics/platform/raster/halftone_palette.h"
#include "graphics/support/emf_render.h"
#include "support/emf_builder.h"

namespace vx::gdi {
namespace {

constexpr ColorRef PaletteIndex(uint16_t i) { return 0x01000000u | i; }
constexpr ColorRef PaletteRgb(uint8_t r, uint8_t g, uint8_t b) { return 0x02000000u | RGB(r, g, b); }

const std::vector<PaletteEntry> kRedGreenBlue = {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}};

struct Canvas {
  test::RenderedPage page = test::WhitePage(20, 20);
  TDeviceContext dc;
  Canvas() {
    dc.SelectSurface(&page.surface);
    dc.SelectPen(LogPen{PS_NULL, 0, 0, {}, false});
  }
  uint8_t FillWith(ColorRef brush) {
    dc.SelectBrush(LogBrush{BS_SOLID, brush, 0, nullptr});
    dc.Rectangle({2, 2, 12, 12});
    return page.At(5, 5);
  }
};

TEST(PaletteColors, IndexNamesAnEntryOfTheSelectedPalette) {
  Canvas c;
  c.dc.SelectPalette(kRedGreenBlue);
  EXPECT_EQ(c.FillWith(PaletteIndex(2)), NearestHalftoneIndex(RGB(0, 0, 255)));
  EXPECT_EQ(c.FillWith(PaletteIndex(1)), NearestHalftoneIndex(RGB(0, 255, 0)));
}

TEST(PaletteColors, IndexPastTheEndIsEntryZero) {
  Canvas c;
  c.dc.SelectPalette(kRedGreenBlue);
  EXPECT_EQ(c.FillWith(PaletteIndex(7)), NearestHalftoneIndex(RGB(255, 0, 0)));
}

TEST(PaletteColors, WithoutAPaletteTheDefaultPaletteAnswers) {
  Canvas c;
  ASSERT_EQ(DefaultPaletteEntries().size(), 20u);
  EXPECT_EQ(c.FillWith(PaletteIndex(13)), NearestHalftoneIndex(RGB(255, 0, 0)));
  EXPECT_EQ(c.FillWith(PaletteIndex(9)), NearestHalftoneIndex(RGB(166, 202, 240)));
}

TEST(PaletteColors, PaletteRgbIsThePlainColour) {
  Canvas c;
  c.dc.SelectPalette(kRedGreenBlue);
  EXPECT_EQ(c.FillWith(PaletteRgb(200, 100, 50)), NearestHalftoneIndex(RGB(200, 100, 50)));
  EXPECT_EQ(ResolvePaletteColor(PaletteRgb(1, 2, 3), kRedGreenBlue), RGB(1, 2, 3));
}

TEST(PaletteColors, SelectedColoursResolveAgainWhenThePaletteChanges) {
  Canvas c;
  c.dc.SelectBrush(LogBrush{BS_SOLID, PaletteIndex(1), 0, nullptr});
  c.dc.SetTextColor(PaletteIndex(2));
  c.dc.SelectPalette(kRedGreenBlue);
  c.dc.Rectangle({2, 2, 12, 12});
  EXPECT_EQ(c.page.At(5, 5), NearestHalftoneIndex(RGB(0, 255, 0)));
  EXPECT_EQ(c.dc.TextColor(), PaletteIndex(2));  // the colour as set
}

TEST(PaletteColors, RestoreDcBringsBackThePreviousPalette) {
  Canvas c;
  c.dc.SelectPalette(kRedGreenBlue);
  const int level = c.dc.SaveDC();
  c.dc.SelectPalette({{0, 0, 0}, {255, 255, 0}});
  c.dc.RestoreDC(level);
  EXPECT_EQ(c.FillWith(PaletteIndex(1)), NearestHalftoneIndex(RGB(0, 255, 0)));
}

std::vector<uint8_t> PaletteRecord(uint32_t handle, const std::vector<PaletteEntry>& entries) {
  ByteWriter w;
  w.U32(handle);
  w.U16(0x300);
  w.U16(uint16_t(entries.size()));
  for (const auto& e : entries) {
    w.U8(e.r);
    w.U8(e.g);
    w.U8(e.b);
    w.U8(0);
  }
  return std::move(w.Bytes());
}

// EMR_CREATEPALETTE, EMR_SELECTPALETTE, a brush of palette index 2 and a
// rectangle; later the entry changes through EMR_SETPALETTEENTRIES.
TEST(PaletteColors, PlaybackSelectsTheMetafilesPalette) {
  test::EmfBuilder b;
  b.Handles(3)
      .Record(49, PaletteRecord(1, kRedGreenBlue))
      .RecordWords(48, {1})
      .RecordWords(39, {2, BS_SOLID, int32_t(PaletteIndex(2)), 0})
      .RecordWords(37, {2})
      .RecordWords(37, {int32_t(0x80000008u)})  // NULL_PEN
      .RecordWords(43, {0, 0, 40, 40})
      .RecordWords(50, {1, 2, 1, int32_t(RGB(255, 255, 0))})  // entry 2 becomes yellow
      .RecordWords(43, {50, 0, 90, 40});
  const test::RenderedPage page = test::RenderEmf(b.Build());
  EXPECT_EQ(page.At(20, 20), NearestHalftoneIndex(RGB(0, 0, 255)));
  EXPECT_EQ(page.At(70, 20), NearestHalftoneIndex(RGB(255, 255, 0)));
}

TEST(PaletteColors, PlaybackOfTheDefaultPaletteStockObject) {
  test::EmfBuilder b;
  b.Handles(3)
      .Record(49, PaletteRecord(1, kRedGreenBlue))
      .RecordWords(48, {1})
      .RecordWords(48, {int32_t(0x8000000Fu)})  // DEFAULT_PALETTE
      .RecordWords(39, {2, BS_SOLID, int32_t(PaletteIndex(14)), 0})
      .RecordWords(37, {2})
      .RecordWords(37, {int32_t(0x80000008u)})
      .RecordWords(43, {0, 0, 40, 40});
  const test::RenderedPage page = test::RenderEmf(b.Build());
  EXPECT_EQ(page.At(20, 20), NearestHalftoneIndex(RGB(0, 255, 0)));
}

}  // namespace
}  // namespace vx::gdi
