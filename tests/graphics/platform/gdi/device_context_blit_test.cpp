// Stretched copies: every device pixel shows the source pixel its position
// maps to, also when rows repeat a source row and the clip splits rows.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "graphics/platform/gdi/device_context.h"
#include "graphics/platform/raster/halftone_palette.h"
#include "graphics/platform/raster/pixel_targets.h"
#include "graphics/support/emf_render.h"
#include "support/emf_blend_records.h"

namespace vx::gdi {
namespace {

constexpr uint8_t kWhite = 255;
constexpr uint8_t kBlack = 0;

uint32_t Opaque(uint8_t grey) { return 0xFF000000u | uint32_t(grey) << 16 | uint32_t(grey) << 8 | grey; }

// A 2 x 2 checker: black at the top left and bottom right.
DibImage Checker() {
  return test::Bitmap32(2, {{Opaque(0), Opaque(255)}, {Opaque(255), Opaque(0)}}).Image();
}

uint8_t CheckerAt(int sx, int sy) { return (sx + sy) % 2 == 0 ? kBlack : kWhite; }

TEST(DeviceContextBlit, EnlargedImageRepeatsEachSourcePixelOverItsShare) {
  test::RenderedPage page = test::WhitePage(8, 8);
  TDeviceContext dc;
  dc.SelectSurface(&page.surface);
  const DibImage image = Checker();
  dc.StretchBlt({0, 0, 8, 8}, &image, {0, 0, 2, 2}, SRCCOPY);
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 8; ++x) EXPECT_EQ(page.At(x, y), CheckerAt(x / 4, y / 4)) << x << "," << y;
}

TEST(DeviceContextBlit, ClipWithAHoleSplitsRowsWithoutShiftingTheImage) {
  test::RenderedPage page = test::WhitePage(8, 8);
  TDeviceContext dc;
  dc.SelectSurface(&page.surface);
  // The source pixels' shares do not start at the hole's edges.
  dc.ExcludeClipRect({3, 2, 5, 7});
  const DibImage image = Checker();
  dc.StretchBlt({0, 0, 8, 8}, &image, {0, 0, 2, 2}, SRCCOPY);
  for (int y = 0; y < 8; ++y) {
    for (int x = 0; x < 8; ++x) {
      const bool hole = x >= 3 && x < 5 && y >= 2 && y < 7;
      EXPECT_EQ(page.At(x, y), hole ? kWhite : CheckerAt(x / 4, y / 4)) << x << "," << y;
    }
  }
}

TEST(DeviceContextBlit, MirroredDestinationRunsTheSourceBackwards) {
  test::RenderedPage page = test::WhitePage(8, 8);
  TDeviceContext dc;
  dc.SelectSurface(&page.surface);
  const DibImage image = Checker();
  dc.StretchBlt({8, 0, -8, 8}, &image, {0, 0, 2, 2}, SRCCOPY);
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 8; ++x) EXPECT_EQ(page.At(x, y), CheckerAt((7 - x) / 4, y / 4)) << x << "," << y;
}

// A one-row DIB header (40 bytes, then masks or colours) and its image.
DibImage RowImage(int bits, const std::vector<uint32_t>& masks_or_colors, const std::vector<uint8_t>& row) {
  std::vector<uint8_t> info(40 + 4 * masks_or_colors.size(), 0);
  auto put32 = [&](size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) info[at + size_t(i)] = uint8_t(v >> (8 * i));
  };
  put32(0, 40);
  put32(4, uint32_t(row.size() * 8 / size_t(bits)));
  put32(8, 1);
  info[12] = 1;
  info[14] = uint8_t(bits);
  if (bits > 8 && !masks_or_colors.empty()) put32(16, BI_BITFIELDS);
  if (bits <= 8) put32(32, uint32_t(masks_or_colors.size()));
  for (size_t i = 0; i < masks_or_colors.size(); ++i) put32(40 + 4 * i, masks_or_colors[i]);
  return *DibImage::Parse(info.data(), info.size(), row.data(), row.size());
}

// A one-row bitmap of the given format drawn through its own target.
struct RowBitmap {
  RowBitmap(int bits, int32_t width, std::vector<PaletteEntry> colors = {})
      : bytes(size_t(DibRowStride(width, bits)), 0) {
    PixelLayout layout;
    layout.rows = {width, 1, DibRowStride(width, bits), false, bytes.data()};
    layout.bit_count = bits;
    layout.colors = std::move(colors);
    target = MakePixelTarget(layout);
    dc.SelectTarget(target.get());
  }
  std::vector<uint8_t> bytes;
  std::unique_ptr<PixelTarget> target;
  TDeviceContext dc;
};

std::vector<PaletteEntry> Greys() {
  std::vector<PaletteEntry> greys;
  for (int i = 0; i < 256; ++i) greys.push_back({uint8_t(i), uint8_t(i), uint8_t(i)});
  return greys;
}

TEST(DeviceContextBlit, SameFormatThirtyTwoBitCopyKeepsTheSpareByte) {
  RowBitmap bitmap(32, 1);
  const DibImage image = RowImage(32, {}, {0x33, 0x22, 0x11, 0xAB});
  bitmap.dc.StretchBlt({0, 0, 1, 1}, &image, {0, 0, 1, 1}, SRCCOPY);
  EXPECT_EQ(bitmap.bytes, (std::vector<uint8_t>{0x33, 0x22, 0x11, 0xAB}));
}

TEST(DeviceContextBlit, SameFormatTernaryOperationWorksOnWholePixels) {
  RowBitmap bitmap(32, 1);
  bitmap.bytes = {0x00, 0x00, 0x00, 0xC0};
  const DibImage image = RowImage(32, {}, {0x0F, 0x0F, 0x0F, 0x0C});
  bitmap.dc.StretchBlt({0, 0, 1, 1}, &image, {0, 0, 1, 1}, SRCPAINT);  // d | s
  EXPECT_EQ(bitmap.bytes, (std::vector<uint8_t>{0x0F, 0x0F, 0x0F, 0xCC}));
}

TEST(DeviceContextBlit, ThirtyTwoBitSourceWithOtherMasksIsCopiedAsColours) {
  RowBitmap bitmap(32, 1);
  // 10 bits per channel: red 0x3FF, green 0, blue 0x200, and two spare bits.
  const uint32_t pixel = 0xC0000000u | 0x3FFu << 20 | 0x200u;
  const DibImage image = RowImage(32, {0x3FF00000, 0x000FFC00, 0x000003FF},
                                  {uint8_t(pixel), uint8_t(pixel >> 8), uint8_t(pixel >> 16), uint8_t(pixel >> 24)});
  bitmap.dc.StretchBlt({0, 0, 1, 1}, &image, {0, 0, 1, 1}, SRCCOPY);
  EXPECT_EQ(bitmap.bytes, (std::vector<uint8_t>{0x80, 0x00, 0xFF, 0x00}));
}

TEST(DeviceContextBlit, IndexedCopyWithTheSameColourTableKeepsIndices) {
  RowBitmap bitmap(8, 4, Greys());
  std::vector<uint32_t> table;
  for (int i = 0; i < 256; ++i) table.push_back(uint32_t(i) * 0x010101u);
  // Grey 51 would be matched as an image colour at 5 bits per channel (52).
  const DibImage image = RowImage(8, table, {51, 0, 255, 204});
  bitmap.dc.StretchBlt({0, 0, 4, 1}, &image, {0, 0, 4, 1}, SRCCOPY);
  EXPECT_EQ(bitmap.bytes, (std::vector<uint8_t>{51, 0, 255, 204}));
}

TEST(DeviceContextBlit, IndexedCopyWithAnotherColourTableMatchesTableColoursExactly) {
  RowBitmap bitmap(8, 4, Greys());
  // The same greys at other indices: 0 is white, 1 is grey 51; table colours
  // are not reduced to 5 bits per channel as other image pixels are.
  const DibImage image = RowImage(8, {0xFFFFFF, 0x333333}, {1, 0, 1, 0});
  bitmap.dc.StretchBlt({0, 0, 4, 1}, &image, {0, 0, 4, 1}, SRCCOPY);
  EXPECT_EQ(bitmap.bytes, (std::vector<uint8_t>{51, 255, 51, 255}));
}

TEST(DeviceContextBlit, TrueColourSourceOnAColourTableIsMatchedAtFiveBitsPerChannel) {
  RowBitmap bitmap(8, 2, Greys());
  const DibImage image = RowImage(24, {}, {0x33, 0x33, 0x33, 0xFF, 0xFF, 0xFF, 0, 0});
  bitmap.dc.StretchBlt({0, 0, 2, 1}, &image, {0, 0, 2, 1}, SRCCOPY);
  EXPECT_EQ(bitmap.bytes, (std::vector<uint8_t>{52, 252, 0, 0}));
}

TEST(DeviceContextBlit, HalftoneStretchInterpolatesAlongRowsAndColumnsAroundAClipHole) {
  test::RenderedPage page = test::WhitePage(4, 4);
  TDeviceContext dc;
  dc.SelectSurface(&page.surface);
  dc.SetStretchBltMode(HALFTONE);
  dc.ExcludeClipRect({1, 2, 2, 3});
  // Black at the top left, white elsewhere: device pixel x, y sits at source
  // position x / 2, y / 2. Each step rounds; the result is the nearest
  // palette colour at full precision.
  const DibImage image = test::Bitmap32(2, {{Opaque(0), Opaque(255)}, {Opaque(255), Opaque(255)}}).Image();
  dc.StretchBlt({0, 0, 4, 4}, &image, {0, 0, 2, 2}, SRCCOPY);
  const auto grey = [](uint8_t level) { return NearestHalftoneIndex(level, level, level); };
  EXPECT_EQ(page.At(0, 0), kBlack);
  EXPECT_EQ(page.At(1, 0), grey(128));  // halfway along the row
  EXPECT_EQ(page.At(0, 1), grey(128));  // halfway down the column
  EXPECT_EQ(page.At(1, 1), grey(192));  // halfway both ways: (128 + 255 + 1) / 2
  EXPECT_EQ(page.At(1, 2), kWhite);     // the hole
  EXPECT_EQ(page.At(0, 2), kWhite);
  EXPECT_EQ(page.At(1, 3), kWhite);
  EXPECT_EQ(page.At(3, 3), kWhite);
}

TEST(DeviceContextBlit, SourceBeyondTheImageLeavesTheDestination) {
  test::RenderedPage page = test::WhitePage(4, 4);
  TDeviceContext dc;
  dc.SelectSurface(&page.surface);
  // A black image whose source rectangle starts one pixel left of and above
  // the image: the first column and row show nothing of it.
  const DibImage image = test::Bitmap32(2, {{Opaque(0), Opaque(0)}, {Opaque(0), Opaque(0)}}).Image();
  dc.StretchBlt({0, 0, 4, 4}, &image, {-1, -1, 4, 4}, SRCCOPY);
  for (int y = 0; y < 4; ++y) {
    for (int x = 0; x < 4; ++x) {
      const bool shown = x >= 1 && x < 3 && y >= 1 && y < 3;
      EXPECT_EQ(page.At(x, y), shown ? kBlack : kWhite) << x << "," << y;
    }
  }
}

// A clip only chooses which device pixels are written: each one shows what the
// unclipped copy shows there, in the HALFTONE mode too (its interpolation
// positions follow the destination rectangle, not the visible part of it).
TEST(DeviceContextBlit, ClippedHalftoneStretchShowsTheUnclippedPixels) {
  // Black, white, black, white stretched over 12 device pixels: three each.
  const DibImage image = RowImage(24, {}, {0, 0, 0, 255, 255, 255, 0, 0, 0, 255, 255, 255});
  test::RenderedPage whole = test::WhitePage(16, 1);
  TDeviceContext whole_dc;
  whole_dc.SelectSurface(&whole.surface);
  whole_dc.SetStretchBltMode(HALFTONE);
  whole_dc.StretchBlt({0, 0, 12, 1}, &image, {0, 0, 4, 1}, SRCCOPY);
  EXPECT_EQ(whole.At(0, 0), kBlack);
  EXPECT_EQ(whole.At(1, 0), NearestHalftoneIndex(96, 96, 64));
  EXPECT_EQ(whole.At(2, 0), NearestHalftoneIndex(160, 160, 164));
  EXPECT_EQ(whole.At(3, 0), kWhite);
  EXPECT_EQ(whole.At(6, 0), kBlack);

  test::RenderedPage clipped = test::WhitePage(16, 1);
  TDeviceContext clipped_dc;
  clipped_dc.SelectSurface(&clipped.surface);
  clipped_dc.SetStretchBltMode(HALFTONE);
  clipped_dc.IntersectClipRect({3, 0, 16, 1});
  clipped_dc.StretchBlt({0, 0, 12, 1}, &image, {0, 0, 4, 1}, SRCCOPY);
  for (int x = 0; x < 16; ++x) EXPECT_EQ(clipped.At(x, 0), x < 3 ? kWhite : whole.At(x, 0)) << x;
}

// A 1-bit image with a colour table is drawn in its table's colours; the text
// and background colours, which colour device-dependent monochrome bitmaps,
// play no part.
TEST(DeviceContextBlit, MonochromeImageTakesItsTableNotTheTextAndBackgroundColours) {
  RowBitmap bitmap(32, 4);
  bitmap.dc.SetTextColor(0);
  bitmap.dc.SetBkColor(0);
  const DibImage image = RowImage(1, {0x123456, 0x335577}, {0x55, 0, 0, 0});  // 0 1 0 1 ...
  bitmap.dc.StretchBlt({0, 0, 4, 1}, &image, {0, 0, 4, 1}, SRCCOPY);
  EXPECT_EQ(bitmap.bytes, (std::vector<uint8_t>{0x56, 0x34, 0x12, 0, 0x77, 0x55, 0x33, 0,  //
                                                0x56, 0x34, 0x12, 0, 0x77, 0x55, 0x33, 0}));
}

// Four columns, two rows, one black pixel at column 1 of the top row: shrunk
// to 2 x 1, the left device pixel's share is columns 0-1 of both rows.
DibImage OneDarkPixel(uint8_t dark, uint8_t light) {
  return test::Bitmap32(4, {{Opaque(light), Opaque(dark), Opaque(light), Opaque(light)},
                            {Opaque(light), Opaque(light), Opaque(light), Opaque(light)}})
      .Image();
}

TEST(DeviceContextBlit, ShrinkingInBlackOnWhiteModeAndsTheWholeShare) {
  test::RenderedPage page = test::WhitePage(4, 2);
  TDeviceContext dc;
  dc.SelectSurface(&page.surface);
  ASSERT_EQ(dc.StretchBltMode(), BLACKONWHITE);  // the default
  const DibImage image = OneDarkPixel(0, 255);
  dc.StretchBlt({0, 0, 2, 1}, &image, {0, 0, 4, 2}, SRCCOPY);
  EXPECT_EQ(page.At(0, 0), kBlack);  // the dropped black pixel survives
  EXPECT_EQ(page.At(1, 0), kWhite);
}

TEST(DeviceContextBlit, ShrinkingInWhiteOnBlackModeOrsTheWholeShare) {
  test::RenderedPage page = test::WhitePage(4, 2);
  TDeviceContext dc;
  dc.SelectSurface(&page.surface);
  dc.SetStretchBltMode(WHITEONBLACK);
  const DibImage image = OneDarkPixel(255, 0);
  dc.StretchBlt({0, 0, 2, 1}, &image, {0, 0, 4, 2}, SRCCOPY);
  EXPECT_EQ(page.At(0, 0), kWhite);
  EXPECT_EQ(page.At(1, 0), kBlack);
}

TEST(DeviceContextBlit, ShrinkingInColorOnColorModeKeepsTheShareLastPixel) {
  test::RenderedPage page = test::WhitePage(4, 2);
  TDeviceContext dc;
  dc.SelectSurface(&page.surface);
  dc.SetStretchBltMode(COLORONCOLOR);
  const DibImage image = OneDarkPixel(0, 255);
  dc.StretchBlt({0, 0, 2, 1}, &image, {0, 0, 4, 2}, SRCCOPY);
  EXPECT_EQ(page.At(0, 0), kWhite);
  EXPECT_EQ(page.At(1, 0), kWhite);
}

}  // namespace
}  // namespace vx::gdi
