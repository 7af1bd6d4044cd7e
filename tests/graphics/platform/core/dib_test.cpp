// Whole-row fetches of a DIB give, column for column, the colours its pixel
// reads give, for every depth and bit-field shape.
#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <vector>

#include "graphics/platform/core/dib.h"

namespace vx::gdi {
namespace {

void PutU16(std::vector<uint8_t>& out, uint32_t v) {
  out.push_back(uint8_t(v));
  out.push_back(uint8_t(v >> 8));
}
void PutU32(std::vector<uint8_t>& out, uint32_t v) {
  PutU16(out, v & 0xFFFF);
  PutU16(out, v >> 16);
}

// A BITMAPINFO of the given depth (bit fields when masks are given, a
// colour table of 1 << bits entries for indexed depths) and rows of pixel
// bytes made by a counter, so every pixel differs from its neighbours.
struct TestDib {
  TestDib(int bits, int32_t width, int32_t height, std::vector<uint32_t> masks = {}) {
    PutU32(info, 40);
    PutU32(info, uint32_t(width));
    PutU32(info, uint32_t(height));
    PutU16(info, 1);
    PutU16(info, uint32_t(bits));
    PutU32(info, masks.empty() ? BI_RGB : BI_BITFIELDS);
    for (int i = 0; i < 5; ++i) PutU32(info, 0);
    for (const uint32_t mask : masks) PutU32(info, mask);
    if (bits <= 8) {
      for (uint32_t i = 0; i < (1u << bits); ++i) {
        info.push_back(uint8_t(i * 7));       // blue
        info.push_back(uint8_t(i * 13 + 1));  // green
        info.push_back(uint8_t(255 - i));     // red
        info.push_back(0);
      }
    }
    const size_t stride = (size_t(width) * size_t(bits) + 31) / 32 * 4;
    pixels.resize(stride * size_t(height));
    for (size_t i = 0; i < pixels.size(); ++i) pixels[i] = uint8_t(i * 37 + 11);
  }
  std::optional<DibImage> Parse() const { return DibImage::Parse(info.data(), info.size(), pixels.data(), pixels.size()); }

  std::vector<uint8_t> info;
  std::vector<uint8_t> pixels;
};

bool Same(PaletteEntry a, PaletteEntry b) { return a.r == b.r && a.g == b.g && a.b == b.b; }

// Every row, and rows outside, fetched at every column, columns outside and
// repeated columns included, against Color pixel by pixel.
void ExpectRowsMatchPixels(const DibImage& image) {
  std::vector<int32_t> columns{-1};
  for (int32_t x = 0; x < image.Width(); ++x) columns.push_back(x);
  for (int32_t x = image.Width() - 1; x >= 0; --x) columns.push_back(x);
  columns.push_back(image.Width());
  columns.push_back(INT32_MIN);
  std::vector<PaletteEntry> row(columns.size());
  for (int32_t y = -1; y <= image.Height(); ++y) {
    image.RowColors(y, columns.data(), columns.size(), row.data());
    for (size_t i = 0; i < columns.size(); ++i) {
      const PaletteEntry expected = image.Color(columns[i], y);
      EXPECT_TRUE(Same(row[i], expected)) << "bits " << image.BitCount() << " column " << columns[i] << " row " << y;
    }
  }
}

TEST(DibRowColors, IndexedDepthsMatchTheirPixels) {
  for (const int bits : {1, 4, 8}) {
    const std::optional<DibImage> image = TestDib(bits, 13, 3).Parse();
    ASSERT_TRUE(image) << bits;
    ExpectRowsMatchPixels(*image);
  }
}

TEST(DibRowColors, TrueColourDepthsMatchTheirPixels) {
  for (const int bits : {16, 24, 32}) {
    const std::optional<DibImage> image = TestDib(bits, 7, 3).Parse();
    ASSERT_TRUE(image) << bits;
    ExpectRowsMatchPixels(*image);
  }
}

TEST(DibRowColors, BitFieldsOfAnyShapeMatchTheirPixels) {
  const std::optional<DibImage> rgb565 = TestDib(16, 5, 2, {0xF800, 0x07E0, 0x001F}).Parse();
  const std::optional<DibImage> odd32 = TestDib(32, 5, 2, {0x3FF00000, 0x000FFC00, 0x000003FF}).Parse();
  const std::optional<DibImage> bgr32 = TestDib(32, 5, 2, {0x0000FF, 0x00FF00, 0xFF0000}).Parse();
  ASSERT_TRUE(rgb565 && odd32 && bgr32);
  ExpectRowsMatchPixels(*rgb565);
  ExpectRowsMatchPixels(*odd32);
  ExpectRowsMatchPixels(*bgr32);
}

TEST(DibRowColors, ThirtyTwoBitPixelsReadBlueGreenRedBytes) {
  TestDib dib(32, 2, 1);
  dib.pixels = {10, 20, 30, 0, 40, 50, 60, 0};
  const std::optional<DibImage> image = dib.Parse();
  ASSERT_TRUE(image);
  const int32_t columns[] = {1, 0, 2};
  PaletteEntry row[3];
  image->RowColors(0, columns, 3, row);
  EXPECT_TRUE(Same(row[0], {60, 50, 40}));
  EXPECT_TRUE(Same(row[1], {30, 20, 10}));
  EXPECT_TRUE(Same(row[2], {0, 0, 0}));  // beyond the right side: pixel value 0, black
}

TEST(DibRowColors, BottomUpRowsCountFromTheTop) {
  TestDib dib(8, 1, 2);
  dib.pixels = {3, 0, 0, 0, 5, 0, 0, 0};  // stored bottom row first
  const std::optional<DibImage> image = dib.Parse();
  ASSERT_TRUE(image);
  const int32_t column = 0;
  PaletteEntry top;
  image->RowColors(0, &column, 1, &top);
  EXPECT_TRUE(Same(top, {255 - 5, 5 * 13 + 1, 5 * 7}));
}

}  // namespace
}  // namespace vx::gdi
