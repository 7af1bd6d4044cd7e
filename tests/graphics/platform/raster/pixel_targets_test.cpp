#include <gtest/gtest.h>

#include <vector>

#include "graphics/platform/core/gdi_objects.h"
#include "graphics/platform/raster/halftone_palette.h"
#include "graphics/platform/raster/nearest_color.h"
#include "graphics/platform/raster/pixel_targets.h"

namespace vx::gdi {
namespace {

// Rows of one format with a target over them.
struct Rows {
  Rows(int bits, int32_t width, int32_t height, std::vector<PaletteEntry> colors = {}, bool top_down = false,
       std::vector<uint32_t> masks = {})
      : bytes(size_t(DibRowStride(width, bits) * height), 0) {
    PixelLayout layout;
    layout.rows = {width, height, DibRowStride(width, bits), top_down, bytes.data()};
    layout.bit_count = bits;
    layout.colors = std::move(colors);
    if (!masks.empty()) {
      layout.has_masks = true;
      for (int i = 0; i < 3; ++i) layout.masks[i] = masks[size_t(i)];
    }
    target = MakePixelTarget(layout);
  }
  std::vector<uint8_t> bytes;
  std::unique_ptr<PixelTarget> target;
};

TEST(NearestColor, TakesTheLeastSquaredDistanceAndTiesGoToTheLowestIndex) {
  const std::vector<PaletteEntry> table{{255, 255, 255}, {255, 0, 0}, {0, 0, 0}, {10, 0, 0}};
  EXPECT_EQ(NearestColorIndex(table, 6, 0, 0), 3);    // 4^2 from entry 3, 6^2 from entry 2
  EXPECT_EQ(NearestColorIndex(table, 5, 0, 0), 2);    // 5^2 from both: the lower index
  EXPECT_EQ(NearestColorIndex(table, 255, 127, 128), 0);  // as far from white as from red
  EXPECT_EQ(NearestColorIndex(table, 250, 10, 10), 1);
}

TEST(NearestColor, ImagePixelsMatchAtFiveBitsPerChannel) {
  // An image channel c is matched as (c & ~7) + 4: 7 as 4, 8 and 9 as 12.
  Rows rows(8, 1, 1, {{0, 0, 0}, {16, 16, 16}});
  EXPECT_EQ(rows.target->PixelOfImageColor({7, 7, 7}), 0u);
  EXPECT_EQ(rows.target->PixelOfColor(RGB(9, 9, 9)), 1u);
  EXPECT_EQ(rows.target->PixelOfImageColor({9, 9, 9}), 1u);
  EXPECT_EQ(rows.target->PixelOfColor(RGB(7, 7, 7)), 0u);
  EXPECT_EQ(rows.target->PixelOfImageColor({8, 8, 8}), 1u);  // 12: nearer 16
  EXPECT_EQ(rows.target->PixelOfColor(RGB(8, 8, 8)), 0u);    // a tie: the lower index
}

TEST(PixelTargets, HalftoneTableGetsTheHalftoneRule) {
  const PaletteEntry* h = HalftonePalette();
  Rows rows(8, 2, 1, std::vector<PaletteEntry>(h, h + 256));
  for (const ColorRef c : {RGB(255, 0, 0), RGB(12, 200, 99), RGB(128, 128, 128)})
    EXPECT_EQ(rows.target->PixelOfColor(c), NearestHalftoneIndex(c));
}

TEST(PixelTargets, MonochromeAndFourBitPixelsFillFromTheHighBits) {
  Rows mono(1, 10, 1, {{0, 0, 0}, {255, 255, 255}});
  mono.target->FillRun(0, 1, 3, R2_COPYPEN, PixelPaint::Solid(1));
  mono.target->FillRun(0, 8, 9, R2_COPYPEN, PixelPaint::Solid(1));
  EXPECT_EQ(mono.bytes[0], 0x60);
  EXPECT_EQ(mono.bytes[1], 0x80);
  Rows nibbles(4, 3, 1, std::vector<PaletteEntry>(16));
  nibbles.target->FillRun(0, 1, 3, R2_COPYPEN, PixelPaint::Solid(0xA));
  EXPECT_EQ(nibbles.bytes[0], 0x0A);
  EXPECT_EQ(nibbles.bytes[1], 0xA0);
  EXPECT_EQ(nibbles.target->PixelAt(2, 0), 0xAu);
}

TEST(PixelTargets, SixteenBitFormatsPackAndReadBackTheirFields) {
  Rows rgb555(16, 1, 1);
  EXPECT_EQ(rgb555.target->PixelOfColor(RGB(255, 0, 0)), 0x7C00u);
  EXPECT_EQ(rgb555.target->PixelOfColor(RGB(8, 16, 255)), 0x0000u | (1u << 10) | (2u << 5) | 31u);
  const PaletteEntry c = rgb555.target->ColorOfPixel(0x7FFF);
  EXPECT_EQ(c.r, 255);
  EXPECT_EQ(rgb555.target->ColorOfPixel(1u << 10).r, 8);  // 00001 reads as 00001000
  Rows rgb565(16, 1, 1, {}, false, {0xF800, 0x07E0, 0x001F});
  EXPECT_EQ(rgb565.target->PixelOfColor(RGB(0, 255, 0)), 0x07E0u);
  rgb565.target->FillRun(0, 0, 1, R2_COPYPEN, PixelPaint::Solid(0xF81F));
  EXPECT_EQ(rgb565.bytes[0], 0x1F);
  EXPECT_EQ(rgb565.bytes[1], 0xF8);
}

TEST(PixelTargets, TrueColourStoresBlueGreenRed) {
  Rows rgb24(24, 2, 1);
  rgb24.target->FillRun(0, 1, 2, R2_COPYPEN, PixelPaint::Solid(rgb24.target->PixelOfColor(RGB(1, 2, 3))));
  EXPECT_EQ(rgb24.bytes[3], 3);
  EXPECT_EQ(rgb24.bytes[4], 2);
  EXPECT_EQ(rgb24.bytes[5], 1);
  Rows rgb32(32, 1, 1);
  rgb32.target->FillRun(0, 0, 1, R2_COPYPEN, PixelPaint::Solid(rgb32.target->PixelOfColor(RGB(1, 2, 3))));
  EXPECT_EQ(rgb32.bytes, (std::vector<uint8_t>{3, 2, 1, 0}));
}

TEST(PixelTargets, RasterOperationsStayWithinThePixelsBits) {
  Rows rgb24(24, 2, 1);
  rgb24.target->FillRun(0, 0, 2, R2_NOT, PixelPaint::Solid(0));
  EXPECT_EQ(rgb24.bytes, (std::vector<uint8_t>{255, 255, 255, 255, 255, 255, 0, 0}));
  Rows nibbles(4, 2, 1, std::vector<PaletteEntry>(16));
  nibbles.target->FillRun(0, 0, 1, R2_NOT, PixelPaint::Solid(0));
  EXPECT_EQ(nibbles.bytes[0], 0xF0);
}

TEST(PixelTargets, BottomUpAndTopDownRowsAddressTheSameTopRow) {
  Rows bottom_up(8, 1, 3, std::vector<PaletteEntry>(256));
  Rows top_down(8, 1, 3, std::vector<PaletteEntry>(256), true);
  bottom_up.target->FillRun(0, 0, 1, R2_COPYPEN, PixelPaint::Solid(7));
  top_down.target->FillRun(0, 0, 1, R2_COPYPEN, PixelPaint::Solid(7));
  EXPECT_EQ(bottom_up.bytes[8], 7);  // the last stored row, stride 4
  EXPECT_EQ(top_down.bytes[0], 7);
}

TEST(PixelTargets, ImageColoursAtOnceMatchThemOneByOne) {
  const PaletteEntry* h = HalftonePalette();
  const std::vector<PaletteEntry> colors{{0, 0, 0}, {7, 8, 9}, {250, 3, 128}, {128, 128, 128}, {255, 255, 255}};
  Rows halftone(8, 1, 1, std::vector<PaletteEntry>(h, h + 256));
  Rows indexed(4, 1, 1, {{0, 0, 0}, {255, 0, 0}, {0, 0, 255}, {255, 255, 255}});
  Rows rgb565(16, 1, 1, {}, false, {0xF800, 0x07E0, 0x001F});
  Rows rgb24(24, 1, 1);
  for (Rows* rows : {&halftone, &indexed, &rgb565, &rgb24}) {
    std::vector<uint32_t> pixels(colors.size());
    rows->target->PixelsOfImageColors(colors.data(), colors.size(), pixels.data());
    for (size_t i = 0; i < colors.size(); ++i)
      EXPECT_EQ(pixels[i], rows->target->PixelOfImageColor(colors[i])) << rows->target->BitsPerPixel() << " " << i;
  }
  EXPECT_EQ(rgb24.target->PixelOfImageColor({250, 3, 128}), 0xFA0380u);
}

TEST(PixelTargets, PixelRunsCopyOrCombineAndLeaveSkippedPixels) {
  Rows grey(8, 4, 1, std::vector<PaletteEntry>(256));
  const uint32_t source[] = {1, 2, 3};
  grey.target->BlitPixelRun(0, 1, 4, uint8_t(SRCCOPY >> 16), source, nullptr, PixelPaint{});
  EXPECT_EQ(grey.bytes, (std::vector<uint8_t>{0, 1, 2, 3}));
  const uint8_t skip[] = {0, 1, 0};
  const uint32_t more[] = {0x10, 0x20, 0x30};
  grey.target->BlitPixelRun(0, 1, 4, uint8_t(SRCPAINT >> 16), more, skip, PixelPaint{});
  EXPECT_EQ(grey.bytes, (std::vector<uint8_t>{0, 0x11, 2, 0x33}));
  grey.target->BlitPixelRun(0, 0, 2, uint8_t(SRCCOPY >> 16), more, skip, PixelPaint{});
  EXPECT_EQ(grey.bytes, (std::vector<uint8_t>{0x10, 0x11, 2, 0x33}));
}

TEST(PixelTargets, TheNullTargetHasNoPixels) {
  EXPECT_TRUE(NullPixelTarget().IsEmpty());
  Rows none(12, 4, 4);
  EXPECT_EQ(none.target, nullptr);
}

}  // namespace
}  // namespace vx::gdi
