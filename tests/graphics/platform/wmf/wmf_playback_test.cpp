// Windows metafiles converted and played as a placeable WMF is: pixel facts
// of records whose conversion the platform's player defines.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "graphics/platform/raster/halftone_palette.h"
#include "graphics/platform/wmf/wmf_to_emf.h"
#include "graphics/support/emf_render.h"
#include "support/wmf_test_data.h"

namespace vx::gdi {
namespace {

// A 100 x 100 pixel picture (frame 3125 x 3125 hundredths of a millimetre on
// the 1024 px / 320 mm screen) whose window is 100 x 100 units.
test::RenderedPage Render(const test::WmfBuilder& body) {
  const std::vector<uint8_t> wmf = body.Build();
  auto emf = ConvertWinMetaFileToEnh(wmf.data(), wmf.size(), 3125, 3125);
  EXPECT_TRUE(emf.has_value());
  return test::RenderEmf(emf.value_or(std::vector<uint8_t>{}), 96);
}

test::WmfBuilder Window100() {
  test::WmfBuilder b;
  b.Record(0x0103, {8}).Record(0x020B, {0, 0}).Record(0x020C, {100, 100});
  return b;
}

constexpr uint8_t kBlack = 0;
constexpr uint8_t kWhite = 255;

TEST(WmfPlaybackTest, SelectClipRegionOfObjectZeroRemovesTheClipping) {
  test::WmfBuilder b = Window100();
  b.Record(0x02FC, {0, 0, 0, 0})                  // black solid brush, slot 0
      .Record(0x012D, {0})
      .Record(0x0416, {0, 0, 0, 0})               // IntersectClipRect to nothing
      .Record(0x041B, {40, 40, 10, 10})           // clipped away
      .Record(0x012C, {0})                        // SelectClipRegion(no region)
      .Record(0x041B, {90, 90, 60, 60});          // drawn
  const test::RenderedPage page = Render(b);
  ASSERT_EQ(page.width, 100);
  EXPECT_EQ(page.At(25, 25), kWhite);
  EXPECT_EQ(page.At(75, 75), kBlack);
}

TEST(WmfPlaybackTest, BrushOfAPaletteIndexTakesTheSelectedPalettesEntry) {
  test::WmfBuilder b = Window100();
  // META_CREATEPALETTE: version 0x300, 3 entries red, green, blue (r, g, b, flags)
  b.RecordBytes(0x00F7, {0x00, 0x03, 3, 0, 255, 0, 0, 0, 0, 255, 0, 0, 0, 0, 255, 0})
      .Record(0x0234, {0})                                // SelectPalette(slot 0)
      .Record(0x0035, {})                                 // RealizePalette
      .Record(0x02FC, {0, 2, 0x0100, 0})                  // brush PALETTEINDEX(2), slot 1
      .Record(0x012D, {1})
      .Record(0x041B, {40, 40, 10, 10})
      // META_SETPALENTRIES on the selected palette: entry 2 becomes yellow
      .RecordBytes(0x0037, {2, 0, 1, 0, 255, 255, 0, 0})
      .Record(0x041B, {90, 90, 60, 60});
  const test::RenderedPage page = Render(b);
  EXPECT_EQ(page.At(25, 25), NearestHalftoneIndex(RGB(0, 0, 255)));
  EXPECT_EQ(page.At(75, 75), NearestHalftoneIndex(RGB(255, 255, 0)));
}

// A Bitmap16: type, width, height, bytes per row, planes, bits per pixel,
// then the rows top-down.
std::vector<uint8_t> Bitmap16(int16_t width, int16_t height, int16_t width_bytes, uint8_t bits,
                              const std::vector<uint8_t>& rows) {
  std::vector<uint8_t> out = {0, 0, uint8_t(width), uint8_t(width >> 8), uint8_t(height), uint8_t(height >> 8),
                              uint8_t(width_bytes), uint8_t(width_bytes >> 8), 1, bits};
  out.insert(out.end(), rows.begin(), rows.end());
  return out;
}

std::vector<uint8_t> Words(std::initializer_list<int16_t> words) {
  std::vector<uint8_t> out;
  for (const int16_t w : words) {
    out.push_back(uint8_t(w));
    out.push_back(uint8_t(uint16_t(w) >> 8));
  }
  return out;
}

TEST(WmfPlaybackTest, StretchBltOfADeviceDependentBitmapDrawsItsRowsTopDown) {
  // 2 x 2 pixels of 24 bits (blue, green, red per pixel, rows of 6 bytes
  // padded to 8): red, green over blue, white; stretched onto 40 x 40 at (10, 10).
  std::vector<uint8_t> params = Words({0x0020, 0x00CC, 2, 2, 0, 0, 40, 40, 10, 10});  // SRCCOPY
  const std::vector<uint8_t> bitmap = Bitmap16(2, 2, 8, 24, {0, 0, 255, 0, 255, 0, 0, 0,  //
                                                             255, 0, 0, 255, 255, 255, 0, 0});
  params.insert(params.end(), bitmap.begin(), bitmap.end());
  test::WmfBuilder b = Window100();
  b.RecordBytes(0x0B23, params);
  const test::RenderedPage page = Render(b);
  EXPECT_EQ(page.At(20, 20), NearestHalftoneIndexForImagePixel(255, 0, 0));
  EXPECT_EQ(page.At(40, 20), NearestHalftoneIndexForImagePixel(0, 255, 0));
  EXPECT_EQ(page.At(20, 40), NearestHalftoneIndexForImagePixel(0, 0, 255));
  EXPECT_EQ(page.At(40, 40), kWhite);
  EXPECT_EQ(page.At(60, 60), kWhite);  // beyond the destination
}

TEST(WmfPlaybackTest, BitBltOfAMonochromeBitmapDrawsZeroBlackAndOneWhite) {
  // 8 x 2 pixels, one byte per row padded to two: left half 0, right half 1.
  std::vector<uint8_t> params = Words({0x0020, 0x00CC, 0, 0, 2, 8, 20, 10});  // SRCCOPY at (10, 20)
  const std::vector<uint8_t> bitmap = Bitmap16(8, 2, 2, 1, {0x0F, 0, 0x0F, 0});
  params.insert(params.end(), bitmap.begin(), bitmap.end());
  test::WmfBuilder b = Window100();
  b.Record(0x02FC, {0, 0, 0, 0}).Record(0x012D, {0}).Record(0x041B, {30, 30, 0, 0});  // black ground
  b.RecordBytes(0x0922, params);
  const test::RenderedPage page = Render(b);
  EXPECT_EQ(page.At(11, 20), kBlack);
  EXPECT_EQ(page.At(16, 21), kWhite);
  EXPECT_EQ(page.At(16, 22), kBlack);  // below the two rows: the ground
}

TEST(WmfPlaybackTest, DeviceDependentBitmapTooShortForItsRowsIsSkipped) {
  std::vector<uint8_t> params = Words({0x0020, 0x00CC, 0, 0, 2, 8, 20, 10});
  const std::vector<uint8_t> bitmap = Bitmap16(8, 4, 2, 1, {0x0F, 0, 0x0F, 0});  // 4 rows stated, 2 given
  params.insert(params.end(), bitmap.begin(), bitmap.end());
  test::WmfBuilder b = Window100();
  b.RecordBytes(0x0922, params);
  const test::RenderedPage page = Render(b);
  EXPECT_EQ(page.At(11, 20), kWhite);
}

// A region object of bands (top, bottom, left-right pairs): next in chain,
// type 6, object count, size, scan count, largest scan, bounds, the scans.
struct Band {
  int16_t top, bottom;
  std::vector<std::pair<int16_t, int16_t>> spans;
};

std::vector<uint8_t> RegionObject(const std::vector<Band>& bands) {
  std::vector<int16_t> scans;
  int16_t largest = 0, left = INT16_MAX, top = INT16_MAX, right = INT16_MIN, bottom = INT16_MIN;
  for (const Band& band : bands) {
    const int16_t count = int16_t(band.spans.size() * 2);
    largest = std::max(largest, count);
    scans.insert(scans.end(), {count, band.top, band.bottom});
    for (const auto& [l, r] : band.spans) {
      scans.insert(scans.end(), {l, r});
      left = std::min(left, l);
      right = std::max(right, r);
    }
    scans.push_back(count);
    top = std::min(top, band.top);
    bottom = std::max(bottom, band.bottom);
  }
  const int16_t size = int16_t(22 + scans.size() * 2);
  std::vector<uint8_t> out = Words({0, 6, 0, 0, size, int16_t(bands.size()), largest, left, top, right, bottom});
  const std::vector<uint8_t> body = [&] {
    std::vector<uint8_t> b;
    for (const int16_t w : scans) {
      b.push_back(uint8_t(w));
      b.push_back(uint8_t(uint16_t(w) >> 8));
    }
    return b;
  }();
  out.insert(out.end(), body.begin(), body.end());
  return out;
}

test::WmfBuilder RedAndBlueBrushes() {
  test::WmfBuilder b = Window100();
  b.Record(0x02FC, {0, 0x00FF, 0, 0})   // red solid brush, slot 0
      .Record(0x02FC, {0, 0, 0x00FF, 0});  // blue solid brush, slot 1
  return b;
}

constexpr uint8_t kRed = 249;
constexpr uint8_t kBlue = 252;

// FillRegion names the brush first, then the region (as the reference player
// reads it); every rectangle of every band is filled.
TEST(WmfPlaybackTest, FillRegionFillsEachBandsRectanglesWithTheBrush) {
  test::WmfBuilder b = RedAndBlueBrushes();
  b.RecordBytes(0x06FF, RegionObject({{10, 20, {{10, 30}, {40, 50}}}, {20, 30, {{10, 50}}}}))  // slot 2
      .Record(0x0228, {0, 2});
  const test::RenderedPage page = Render(b);
  EXPECT_EQ(page.At(15, 15), kRed);
  EXPECT_EQ(page.At(35, 15), kWhite);  // between the band's rectangles
  EXPECT_EQ(page.At(45, 15), kRed);
  EXPECT_EQ(page.At(35, 25), kRed);
  EXPECT_EQ(page.At(50, 25), kWhite);  // right edges are exclusive
  EXPECT_EQ(page.At(15, 30), kWhite);
}

// PaintRegion fills with the selected brush; InvertRegion inverts the pixel
// values: white becomes black, blue (252) becomes 3 (128,128,0).
TEST(WmfPlaybackTest, PaintRegionUsesTheSelectedBrushAndInvertRegionInverts) {
  test::WmfBuilder b = RedAndBlueBrushes();
  b.Record(0x012D, {1})
      .RecordBytes(0x06FF, RegionObject({{70, 80, {{10, 30}}}}))  // slot 2
      .Record(0x012B, {2})
      .RecordBytes(0x06FF, RegionObject({{75, 90, {{20, 40}}}}))  // slot 3
      .Record(0x012A, {3});
  const test::RenderedPage page = Render(b);
  EXPECT_EQ(page.At(15, 72), kBlue);
  EXPECT_EQ(page.At(25, 77), 3);
  EXPECT_EQ(page.At(35, 77), kBlack);
  EXPECT_EQ(page.At(25, 85), kBlack);
  EXPECT_EQ(page.At(15, 85), kWhite);
  EXPECT_EQ(page.At(45, 85), kWhite);
}

// FrameRegion (brush, region, height, width) draws a border of the given
// width and height inside the region's edge.
TEST(WmfPlaybackTest, FrameRegionDrawsABorderInsideTheRegion) {
  test::WmfBuilder b = RedAndBlueBrushes();
  b.RecordBytes(0x06FF, RegionObject({{40, 60, {{10, 40}}}}))  // slot 2
      .Record(0x0429, {1, 2, 3, 2});
  const test::RenderedPage page = Render(b);
  EXPECT_EQ(page.At(10, 50), kBlue);
  EXPECT_EQ(page.At(11, 50), kBlue);
  EXPECT_EQ(page.At(12, 50), kWhite);  // two wide
  EXPECT_EQ(page.At(25, 42), kBlue);
  EXPECT_EQ(page.At(25, 43), kWhite);  // three high
  EXPECT_EQ(page.At(39, 50), kBlue);
  EXPECT_EQ(page.At(25, 57), kBlue);
  EXPECT_EQ(page.At(25, 50), kWhite);
  EXPECT_EQ(page.At(9, 50), kWhite);
}

// Selecting a region object, by SelectClipRegion or SelectObject, makes it
// the clip region.
TEST(WmfPlaybackTest, SelectingARegionClipsLaterDrawing) {
  for (const uint16_t function : {uint16_t(0x012C), uint16_t(0x012D)}) {
    test::WmfBuilder b = RedAndBlueBrushes();
    b.RecordBytes(0x06FF, RegionObject({{0, 100, {{0, 50}}}}))  // slot 2: the left half
        .Record(function, {2})
        .Record(0x012D, {0})
        .Record(0x041B, {90, 90, 10, 10});
    const test::RenderedPage page = Render(b);
    EXPECT_EQ(page.At(20, 50), kRed) << function;
    EXPECT_EQ(page.At(80, 50), kWhite) << function;
  }
}

// A region record too short for its scans creates no region, and the records
// that name it draw nothing.
TEST(WmfPlaybackTest, TruncatedRegionIsNoRegion) {
  test::WmfBuilder b = RedAndBlueBrushes();
  std::vector<uint8_t> region = RegionObject({{10, 20, {{10, 30}}}});
  region.resize(region.size() - 4);
  b.RecordBytes(0x06FF, region).Record(0x0228, {0, 2});
  const test::RenderedPage page = Render(b);
  EXPECT_EQ(page.At(15, 15), kWhite);
}

// A packed DIB: the 40-byte header, the colour table, the rows bottom-up.
std::vector<uint8_t> PackedDib(int16_t width, int16_t height, uint8_t bits, const std::vector<uint8_t>& table,
                               const std::vector<uint8_t>& rows) {
  std::vector<uint8_t> out = Words({40, 0, width, 0, height, 0, 1, bits, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0});
  out.insert(out.end(), table.begin(), table.end());
  out.insert(out.end(), rows.begin(), rows.end());
  return out;
}

// The mask idiom of drawn controls: a 1-bit mask ANDed in (0 = black keeps
// nothing, 1 = white keeps the page), then the picture ORed over it. The raster
// operations work on the pixel values, and META_DIBBITBLT has no colour-usage
// word: its DIB always carries RGB colours. (The reference renderer reads the
// operation's low word as one and shifts the mask a row, so these pixels are
// the platform's rule, not the reference's.)
TEST(WmfPlaybackTest, MaskAndThenPaintDrawsThePictureInsideTheMask) {
  // 2 x 2 mask, rows bottom-up padded to 4 bytes: top row 0 1, bottom row 1 0.
  std::vector<uint8_t> mask = Words({0x00C6, 0x0088, 0, 0, 2, 2, 10, 10});  // SRCAND at (10, 10)
  const std::vector<uint8_t> mask_dib =
      PackedDib(2, 2, 1, {0, 0, 0, 0, 255, 255, 255, 0}, {0x80, 0, 0, 0, 0x40, 0, 0, 0});
  mask.insert(mask.end(), mask_dib.begin(), mask_dib.end());
  // 2 x 2 picture of 24 bits (blue, green, red): top row red, black; bottom row black, blue.
  std::vector<uint8_t> picture = Words({0x0086, 0x00EE, 0, 0, 2, 2, 10, 10});  // SRCPAINT
  const std::vector<uint8_t> picture_dib =
      PackedDib(2, 2, 24, {}, {0, 0, 0, 255, 0, 0, 0, 0, /* bottom */ 0, 0, 255, 0, 0, 0, 0, 0});
  picture.insert(picture.end(), picture_dib.begin(), picture_dib.end());
  test::WmfBuilder b = Window100();
  b.RecordBytes(0x0940, mask).RecordBytes(0x0940, picture);
  const test::RenderedPage page = Render(b);
  EXPECT_EQ(page.At(10, 10), NearestHalftoneIndexForImagePixel(255, 0, 0));
  EXPECT_EQ(page.At(11, 10), kWhite);
  EXPECT_EQ(page.At(10, 11), kWhite);
  EXPECT_EQ(page.At(11, 11), NearestHalftoneIndexForImagePixel(0, 0, 255));
  EXPECT_EQ(page.At(12, 10), kWhite);
}

// The mask idiom written as META_STRETCHDIB, whose colour-usage word says the
// table holds RGB colours: the same pixels as through META_DIBBITBLT.
TEST(WmfPlaybackTest, MaskAndThenPaintAsStretchDibDrawsTheSamePixels) {
  // META_STRETCHDIB: operation, usage, source height, width, y, x, destination height, width, y, x.
  std::vector<uint8_t> mask = Words({0x00C6, 0x0088, 0, 2, 2, 0, 0, 2, 2, 10, 10});  // SRCAND
  const std::vector<uint8_t> mask_dib =
      PackedDib(2, 2, 1, {0, 0, 0, 0, 255, 255, 255, 0}, {0x80, 0, 0, 0, 0x40, 0, 0, 0});
  mask.insert(mask.end(), mask_dib.begin(), mask_dib.end());
  std::vector<uint8_t> picture = Words({0x0086, 0x00EE, 0, 2, 2, 0, 0, 2, 2, 10, 10});  // SRCPAINT
  const std::vector<uint8_t> picture_dib =
      PackedDib(2, 2, 24, {}, {0, 0, 0, 255, 0, 0, 0, 0, /* bottom */ 0, 0, 255, 0, 0, 0, 0, 0});
  picture.insert(picture.end(), picture_dib.begin(), picture_dib.end());
  test::WmfBuilder b = Window100();
  b.RecordBytes(0x0F43, mask).RecordBytes(0x0F43, picture);
  const test::RenderedPage page = Render(b);
  EXPECT_EQ(page.At(10, 10), NearestHalftoneIndexForImagePixel(255, 0, 0));
  EXPECT_EQ(page.At(11, 10), kWhite);
  EXPECT_EQ(page.At(10, 11), kWhite);
  EXPECT_EQ(page.At(11, 11), NearestHalftoneIndexForImagePixel(0, 0, 255));
}

// A 1-bit DIB is coloured by its own table: the text and background colours
// that colour a device-dependent monochrome bitmap play no part.
TEST(WmfPlaybackTest, MonochromeDibTakesItsTableNotTheTextAndBackgroundColours) {
  test::WmfBuilder b = Window100();
  b.Record(0x0209, {0x0000, 0x00FF}).Record(0x0201, {int16_t(0xFF00), 0x0000});  // text blue, background green
  // 4 x 1 pixels 0 0 1 1; table: 0 red, 1 yellow (blue, green, red, 0 per entry).
  std::vector<uint8_t> params = Words({0x0020, 0x00CC, 0, 0, 1, 4, 20, 10});  // SRCCOPY at (10, 20)
  const std::vector<uint8_t> dib = PackedDib(4, 1, 1, {0, 0, 255, 0, 0, 255, 255, 0}, {0x30, 0, 0, 0});
  params.insert(params.end(), dib.begin(), dib.end());
  b.RecordBytes(0x0940, params);
  const test::RenderedPage page = Render(b);
  EXPECT_EQ(page.At(10, 20), NearestHalftoneIndex(255, 0, 0));
  EXPECT_EQ(page.At(11, 20), NearestHalftoneIndex(255, 0, 0));
  EXPECT_EQ(page.At(12, 20), NearestHalftoneIndex(255, 255, 0));
  EXPECT_EQ(page.At(13, 20), NearestHalftoneIndex(255, 255, 0));
  EXPECT_EQ(page.At(14, 20), kWhite);
}

}  // namespace
}  // namespace vx::gdi
