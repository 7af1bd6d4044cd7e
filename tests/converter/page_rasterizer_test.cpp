#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "base/byte_reader.h"
#include "base/errors.h"
#include "base/memory_stream.h"
#include "converter/page_rasterizer.h"
#include "graphics/bitmap.h"
#include "graphics/bitmap_canvas.h"
#include "graphics/metafile.h"
#include "storage/page_store_fixtures.h"
#include "support/emf_builder.h"

namespace vx {
namespace {

using test::Bytes;
using test::ReadFileBytes;
using test::TempFolder;

constexpr int32_t kStockBlackBrush = int32_t(0x80000004u);

// A metafile without a picture that reports the given size in screen pixels.
std::unique_ptr<TMetafile> SizedMetafile(int32_t width, int32_t height) {
  auto metafile = std::make_unique<TMetafile>();
  metafile->SetPixelWidth(width);
  metafile->SetPixelHeight(height);
  return metafile;
}

// A picture with a black square from (10, 10) to (40, 40) in screen pixels.
std::unique_ptr<TMetafile> BlackSquare() {
  const Bytes emf = test::EmfBuilder()
                        .RecordWords(gdi::EmfRecord::kSelectObject, {kStockBlackBrush})
                        .RecordWords(gdi::EmfRecord::kRectangle, {10, 10, 40, 40})
                        .Build();
  return test::MetafileFrom(emf);
}

struct SizeCase {
  int32_t screenWidth;
  int32_t screenHeight;
  int32_t resolution;
  int32_t width;
  int32_t height;
  int32_t pixelsPerMeter;
};

class RasterizerSize : public ::testing::TestWithParam<SizeCase> {};

TEST_P(RasterizerSize, BitmapSizeAndResolutionFields) {
  const SizeCase c = GetParam();
  TempFolder folder;
  const std::string name = folder.File("page.bmp");
  RenderMetafileToFile(*SizedMetafile(c.screenWidth, c.screenHeight), name, c.resolution);
  const Bytes bytes = ReadFileBytes(name);
  ASSERT_EQ(bytes.size(), 1078u + uint32_t((c.width + 3) / 4 * 4) * uint32_t(c.height));
  EXPECT_EQ(LoadI32(bytes.data() + 18), c.width);
  EXPECT_EQ(LoadI32(bytes.data() + 22), c.height);
  EXPECT_EQ(LoadI32(bytes.data() + 38), c.pixelsPerMeter);
  EXPECT_EQ(LoadI32(bytes.data() + 42), c.pixelsPerMeter);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RasterizerSize,
    ::testing::Values(SizeCase{794, 2, 300, 2481, 6, 11811},   // 2481.25
                      SizeCase{793, 1, 300, 2478, 3, 11811},   // 2478.125
                      SizeCase{1, 3, 144, 2, 4, 5669},         // 1.5 and 4.5 go to the even neighbour
                      SizeCase{36, 1, 100, 37, 1, 3937},       // single-precision factor: 37.4999986
                      SizeCase{50, 20, 96, 50, 20, 3780},      // same size as resolution 0, but recorded
                      SizeCase{50, 20, 0, 50, 20, 0},
                      SizeCase{50, 20, -5, 50, 20, 0}));

TEST(Rasterizer, FactorIsSinglePrecision) {
  const float factor = ResolutionFactor(100, 96);
  EXPECT_EQ(double(factor), 1.0416666269302368);
  EXPECT_EQ(ScaleDimension(36, factor), 37);
  EXPECT_EQ(double(ResolutionFactor(300, 96)), 3.125);
  EXPECT_EQ(ScaleDimension(1, ResolutionFactor(48, 96)), 0);
}

TEST(Rasterizer, PixelsPerMetreRoundToNearest) {
  EXPECT_EQ(PixelsPerMeter(300), 11811);  // 11811.02
  EXPECT_EQ(PixelsPerMeter(96), 3780);    // 3779.53
  EXPECT_EQ(PixelsPerMeter(72), 2835);    // 2834.65
  EXPECT_EQ(PixelsPerMeter(1), 39);
}

TEST(Rasterizer, SurfaceResolutionIsTheScreens) {
  TBitmap bitmap;
  EXPECT_EQ(SurfacePixelsPerInch(bitmap), 96);
}

TEST(Rasterizer, ZeroWidthAtAPositiveResolutionGivesAnEmptyFile) {
  TempFolder folder;
  const std::string name = folder.File("thin.bmp");
  RenderMetafileToFile(*SizedMetafile(1, 100), name, 48);  // 0.5 rounds to 0
  ASSERT_TRUE(std::filesystem::exists(name));
  EXPECT_EQ(std::filesystem::file_size(name), 0u);
}

TEST(Rasterizer, ZeroHeightAtResolutionZeroGivesAnEmptyFile) {
  TempFolder folder;
  const std::string name = folder.File("flat.bmp");
  test::WriteFileBytes(name, Bytes(100, 1));
  RenderMetafileToFile(*SizedMetafile(30, 0), name, 0);
  EXPECT_EQ(std::filesystem::file_size(name), 0u);  // replaced
}

TEST(Rasterizer, PictureIsDrawnOverWhite) {
  TempFolder folder;
  const std::string name = folder.File("square.bmp");
  const auto metafile = BlackSquare();
  RenderMetafileToFile(*metafile, name, 0);
  TBitmap bitmap;
  bitmap.ReadFromFile(name);
  ASSERT_EQ(bitmap.PixelWidth(), metafile->PixelWidth());
  ASSERT_EQ(bitmap.PixelHeight(), metafile->PixelHeight());
  EXPECT_EQ(bitmap.PixelIndex(25, 25), 0);    // black
  EXPECT_EQ(bitmap.PixelIndex(2, 2), 255);    // white
  EXPECT_EQ(bitmap.PixelIndex(60, 30), 255);
}

// The file equals what writing the drawn bitmap, patching the two fields in
// the written bytes, reading them back and writing again gives.
TEST(Rasterizer, OutputEqualsTheWritePatchReadBackPath) {
  for (const int32_t resolution : {300, 150, 96, 37}) {
    TempFolder folder;
    const std::string name = folder.File("page.bmp");
    const auto metafile = BlackSquare();
    RenderMetafileToFile(*metafile, name, resolution);

    TBitmap bitmap;
    bitmap.SetPixelDepth(8);
    const float factor = ResolutionFactor(resolution, 96);
    bitmap.SetPixelWidth(ScaleDimension(metafile->PixelWidth(), factor));
    bitmap.SetPixelHeight(ScaleDimension(metafile->PixelHeight(), factor));
    bitmap.DrawingSurface().DrawStretched({0, 0, bitmap.PixelWidth(), bitmap.PixelHeight()}, metafile.get());
    TMemoryStream stream;
    bitmap.WriteToStream(stream);
    const int32_t ppm = static_cast<int32_t>(resolution / 0.0254 + 0.5);
    StoreU32(stream.Memory() + 38, uint32_t(ppm));
    StoreU32(stream.Memory() + 42, uint32_t(ppm));
    stream.SetPosition(0);
    bitmap.ReadFromStream(stream);
    TMemoryStream expected;
    bitmap.WriteToStream(expected);

    EXPECT_EQ(ReadFileBytes(name), expected.Bytes()) << resolution << " dpi";
  }
}

TEST(Rasterizer, TooLargeABitmapFailsBeforeTheFileIsCreated) {
  TempFolder folder;
  const std::string name = folder.File("huge.bmp");
  try {
    RenderMetafileToFile(*SizedMetafile(100000, 100000), name, 300);
    FAIL() << "no error";
  } catch (const Exception& e) {
    EXPECT_STREQ(e.ClassName(), "EOutOfResources");
    EXPECT_EQ(e.Message(), "Out of system resources");
  }
  EXPECT_FALSE(std::filesystem::exists(name));
  EXPECT_THROW(RenderMetafileToFile(*SizedMetafile(1 << 30, 1), name, 300), EOutOfResources);
  EXPECT_THROW(RenderMetafileToFile(*SizedMetafile(-10, 10), name, 0), EOutOfResources);
}

TEST(Rasterizer, UncreatableFileIsAnError) {
  TempFolder folder;
  try {
    RenderMetafileToFile(*SizedMetafile(2, 2), folder.File("missing/page.bmp"), 0);
    FAIL() << "no error";
  } catch (const Exception& e) {
    EXPECT_STREQ(e.ClassName(), "EFCreateError");
    EXPECT_EQ(e.Message().rfind("Cannot create file \"" + folder.File("missing/page.bmp") + "\". ", 0), 0u);
  }
}

}  // namespace
}  // namespace vx
