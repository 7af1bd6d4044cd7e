// PNG encoding: decoded again with libpng, the same pixels, palette and
// resolution as the bitmap's BMP encoding.
#include <gtest/gtest.h>
#include <png.h>

#include <set>
#include <string>

#include "base/errors.h"
#include "converter/page_rasterizer.h"
#include "graphics/bitmap.h"
#include "graphics/bitmap_test_bytes.h"
#include "graphics/metafile.h"
#include "graphics/png_file.h"
#include "storage/page_store_fixtures.h"
#include "support/png_decoder.h"

namespace vx {
namespace {

using test::Bytes;

std::unique_ptr<TMetafile> Sample(const std::string& name) {
  auto metafile = std::make_unique<TMetafile>();
  metafile->ReadFromFile(std::string(VXP_SOURCE_DIR) + "/samples/" + name);
  return metafile;
}

// Every pixel, the palette and pHYs of an 8-bit bitmap against its PNG.
void ExpectSameAsBitmap(TBitmap& bitmap, const test::DecodedPng& png) {
  ASSERT_EQ(png.color_type, PNG_COLOR_TYPE_PALETTE);
  ASSERT_EQ(png.bit_depth, 8);
  ASSERT_EQ(int32_t(png.width), bitmap.PixelWidth());
  ASSERT_EQ(int32_t(png.height), bitmap.PixelHeight());
  ASSERT_EQ(png.palette.size(), 3 * bitmap.ColorTable().size());
  for (size_t i = 0; i < bitmap.ColorTable().size(); ++i) {
    EXPECT_EQ(png.palette[3 * i], bitmap.ColorTable()[i].r);
    EXPECT_EQ(png.palette[3 * i + 1], bitmap.ColorTable()[i].g);
    EXPECT_EQ(png.palette[3 * i + 2], bitmap.ColorTable()[i].b);
  }
  int64_t differing = 0;
  for (int32_t y = 0; y < bitmap.PixelHeight(); ++y)
    for (int32_t x = 0; x < bitmap.PixelWidth(); ++x)
      differing += png.At(uint32_t(x), uint32_t(y)) != bitmap.PixelIndex(x, y);
  EXPECT_EQ(differing, 0);
}

TEST(PngFile, RenderedSamplesHaveTheBitmapsPixelsPaletteAndResolution) {
  for (const char* name : {"shapes.emf", "text.emf", "shapes.wmf"}) {
    TBitmap bitmap;
    RenderMetafileToBitmap(*Sample(name), bitmap, 150, {});
    const auto png = test::DecodePng(EncodePng(bitmap));
    ASSERT_TRUE(png) << name;
    ExpectSameAsBitmap(bitmap, *png);
    // 150 dots per inch are 5906 pixels per metre, as in the BMP header.
    EXPECT_TRUE(png->has_phys);
    EXPECT_EQ(png->phys_unit, PNG_RESOLUTION_METER);
    EXPECT_EQ(int32_t(png->x_ppu), bitmap.HeldHeader().x_pels_per_meter);
    EXPECT_EQ(png->x_ppu, 5906u);
    EXPECT_EQ(png->y_ppu, 5906u);
  }
}

TEST(PngFile, TheDrawingIsVisibleInTheDecodedImage) {
  TBitmap bitmap;
  RenderMetafileToBitmap(*Sample("shapes.emf"), bitmap, 96, {});
  const auto png = test::DecodePng(EncodePng(bitmap));
  ASSERT_TRUE(png);
  // Not just white: the sample draws in several colours.
  std::set<uint32_t> indices;
  for (uint32_t y = 0; y < png->height; ++y)
    for (uint32_t x = 0; x < png->width; ++x) indices.insert(png->At(x, y));
  EXPECT_GT(indices.size(), 3u);
}

TEST(PngFile, WithoutAResolutionThereIsNoPhysChunk) {
  TBitmap bitmap;
  RenderMetafileToBitmap(*Sample("shapes.emf"), bitmap, 0, {});
  const auto png = test::DecodePng(EncodePng(bitmap));
  ASSERT_TRUE(png);
  EXPECT_FALSE(png->has_phys);
  ExpectSameAsBitmap(bitmap, *png);
}

TEST(PngFile, ABitmapWithoutAnImageEncodesAsNothing) {
  TBitmap bitmap;
  test::MakeHalftone(bitmap, 300, 0);
  EXPECT_TRUE(EncodePng(bitmap).empty());
  test::TempFolder folder;
  WritePngFile(bitmap, folder.File("empty.png"));
  EXPECT_TRUE(test::ReadFileBytes(folder.File("empty.png")).empty());
}

TEST(PngFile, TwentyFourBitPixelsBecomeRgbTopDown) {
  // Bottom-up rows of 2 x 2: blue, green / red, white (padded to 8 bytes).
  test::BmpSpec layout;
  layout.bits = 24;
  layout.xPelsPerMeter = 100;
  layout.yPelsPerMeter = 200;
  layout.pixels = {0, 0, 255, 255, 255, 255, 0, 0,  // bottom row: red, white
                 255, 0, 0, 0, 255, 0, 0, 0};     // top row: blue, green
  TBitmap bitmap;
  test::StreamBytes(test::BuildBmp(layout), bitmap);
  const auto png = test::DecodePng(EncodePng(bitmap));
  ASSERT_TRUE(png);
  EXPECT_EQ(png->color_type, PNG_COLOR_TYPE_RGB);
  EXPECT_EQ(png->bit_depth, 8);
  EXPECT_EQ(png->At(0, 0), 0x0000FFu);
  EXPECT_EQ(png->At(1, 0), 0x00FF00u);
  EXPECT_EQ(png->At(0, 1), 0xFF0000u);
  EXPECT_EQ(png->At(1, 1), 0xFFFFFFu);
  EXPECT_EQ(png->x_ppu, 100u);
  EXPECT_EQ(png->y_ppu, 200u);
}

TEST(PngFile, ThirtyTwoBitPixelsDropTheirFourthByte) {
  test::BmpSpec layout;
  layout.bits = 32;
  layout.width = 2;
  layout.height = -1;  // top-down
  layout.pixels = {0x10, 0x20, 0x30, 0xAA, 0x01, 0x02, 0x03, 0x55};
  TBitmap bitmap;
  test::StreamBytes(test::BuildBmp(layout), bitmap);
  const auto png = test::DecodePng(EncodePng(bitmap));
  ASSERT_TRUE(png);
  EXPECT_EQ(png->color_type, PNG_COLOR_TYPE_RGB);
  EXPECT_EQ(png->At(0, 0), 0x302010u);
  EXPECT_EQ(png->At(1, 0), 0x030201u);
}

TEST(PngFile, BitFieldPixelsAreWidenedToEightBitsAChannel) {
  test::BmpSpec layout;
  layout.bits = 16;
  layout.width = 2;
  layout.height = 1;
  layout.compression = 3;
  layout.masks = {0xF800, 0x07E0, 0x001F};  // 5-6-5
  layout.pixels = {0x1F, 0xF8, 0xE0, 0x07};  // 0xF81F magenta, 0x07E0 green
  TBitmap bitmap;
  test::StreamBytes(test::BuildBmp(layout), bitmap);
  const auto png = test::DecodePng(EncodePng(bitmap));
  ASSERT_TRUE(png);
  EXPECT_EQ(png->At(0, 0), 0xFF00FFu);
  EXPECT_EQ(png->At(1, 0), 0x00FF00u);
}

TEST(PngFile, FewerBitsKeepTheirDepthAndTable) {
  test::BmpSpec layout;
  layout.bits = 4;
  layout.width = 3;
  layout.height = 1;
  layout.colors = test::GreyColors(16);
  layout.pixels = {0x1F, 0x70, 0, 0};
  TBitmap bitmap;
  test::StreamBytes(test::BuildBmp(layout), bitmap);
  const auto png = test::DecodePng(EncodePng(bitmap));
  ASSERT_TRUE(png);
  EXPECT_EQ(png->color_type, PNG_COLOR_TYPE_PALETTE);
  EXPECT_EQ(png->bit_depth, 4);
  EXPECT_EQ(png->palette.size(), 48u);
  EXPECT_EQ(png->palette[3 * 15], 15);
  EXPECT_EQ(png->At(0, 0), 1u);
  EXPECT_EQ(png->At(1, 0), 15u);
  EXPECT_EQ(png->At(2, 0), 7u);
}

TEST(PngFile, AFileThatCannotBeCreatedIsReported) {
  TBitmap bitmap;
  test::MakeHalftone(bitmap, 4, 4);
  EXPECT_THROW(WritePngFile(bitmap, "/nonexistent-folder/x.png"), EFCreateError);
}

}  // namespace
}  // namespace vx
