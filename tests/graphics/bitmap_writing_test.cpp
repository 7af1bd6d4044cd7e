#include <gtest/gtest.h>

#include <functional>

#include "base/byte_reader.h"
#include "base/errors.h"
#include "graphics/bitmap.h"
#include "graphics/bitmap_canvas.h"
#include "graphics/bmp_codec.h"
#include "graphics/platform/raster/halftone_palette.h"
#include "graphics/bitmap_test_bytes.h"

namespace vx {
namespace {

using test::MakeHalftone;
using test::Written;

constexpr uint8_t kWhite = 255;

TEST(BitmapWriting, NewBitmapHasNoImageAndWritesNothing) {
  TBitmap bitmap;
  EXPECT_EQ(bitmap.PixelDepth(), 0);
  EXPECT_EQ(bitmap.PixelWidth(), 0);
  EXPECT_EQ(bitmap.PixelHeight(), 0);
  EXPECT_TRUE(bitmap.Empty());
  EXPECT_TRUE(Written(bitmap).empty());
}

TEST(BitmapWriting, ZeroHeightMeansNoImageUntilAHeightIsGiven) {
  TBitmap bitmap;
  bitmap.SetPixelDepth(8);
  bitmap.SetPixelWidth(300);
  bitmap.SetPixelHeight(0);
  EXPECT_TRUE(bitmap.Empty());
  EXPECT_TRUE(Written(bitmap).empty());

  bitmap.SetPixelHeight(2);
  ASSERT_FALSE(bitmap.Empty());
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 300; ++x) ASSERT_EQ(bitmap.PixelIndex(x, y), kWhite);
}

TEST(BitmapWriting, HalftonePaletteIsTheColourTable) {
  TBitmap bitmap;
  MakeHalftone(bitmap, 1, 1);
  const auto& table = bitmap.ColorTable();
  ASSERT_EQ(table.size(), 256u);
  const gdi::PaletteEntry* halftone = gdi::HalftonePalette();
  for (size_t i = 0; i < 256; ++i) {
    EXPECT_EQ(table[i].r, halftone[i].r);
    EXPECT_EQ(table[i].g, halftone[i].g);
    EXPECT_EQ(table[i].b, halftone[i].b);
  }
  EXPECT_EQ(table[kWhite].r, 255);
  EXPECT_EQ(table[kWhite].g, 255);
  EXPECT_EQ(table[kWhite].b, 255);
}

struct StrideCase {
  int32_t width;
  int32_t stride;
};

class BitmapStride : public ::testing::TestWithParam<StrideCase> {};

TEST_P(BitmapStride, FileIsHeadersTableAndPaddedRows) {
  const StrideCase c = GetParam();
  const int32_t height = 3;
  TBitmap bitmap;
  MakeHalftone(bitmap, c.width, height);
  const std::vector<uint8_t> bytes = Written(bitmap);
  const uint32_t size = 1078 + uint32_t(c.stride) * height;
  ASSERT_EQ(bytes.size(), size);
  const uint8_t* p = bytes.data();
  EXPECT_EQ(p[0], 'B');
  EXPECT_EQ(p[1], 'M');
  EXPECT_EQ(LoadU32(p + 2), size);
  EXPECT_EQ(LoadU32(p + 6), 0u);
  EXPECT_EQ(LoadU32(p + 10), 1078u);
  EXPECT_EQ(LoadU32(p + 14), 40u);
  EXPECT_EQ(LoadI32(p + 18), c.width);
  EXPECT_EQ(LoadI32(p + 22), height);
  EXPECT_EQ(LoadU16(p + 26), 1);
  EXPECT_EQ(LoadU16(p + 28), 8);
  EXPECT_EQ(LoadU32(p + 30), 0u);                       // compression
  EXPECT_EQ(LoadU32(p + 34), uint32_t(c.stride) * height);  // image size
  EXPECT_EQ(LoadI32(p + 38), 0);
  EXPECT_EQ(LoadI32(p + 42), 0);
  EXPECT_EQ(LoadU32(p + 46), 256u);                     // colours used
  EXPECT_EQ(LoadU32(p + 50), 0u);                       // colours important
  const gdi::PaletteEntry* halftone = gdi::HalftonePalette();
  for (int i = 0; i < 256; ++i) {
    const uint8_t* entry = p + 54 + 4 * i;
    ASSERT_EQ(entry[0], halftone[i].b);
    ASSERT_EQ(entry[1], halftone[i].g);
    ASSERT_EQ(entry[2], halftone[i].r);
    ASSERT_EQ(entry[3], 0);
  }
  for (int row = 0; row < height; ++row) {
    const uint8_t* r = p + 1078 + row * c.stride;
    for (int x = 0; x < c.stride; ++x) ASSERT_EQ(r[x], x < c.width ? kWhite : 0) << "x " << x;
  }
}

INSTANTIATE_TEST_SUITE_P(Widths, BitmapStride,
                         ::testing::Values(StrideCase{1, 4}, StrideCase{3, 4}, StrideCase{4, 4},
                                           StrideCase{5, 8}));

TEST(BitmapWriting, RowsAreWrittenBottomFirst) {
  TBitmap bitmap;
  MakeHalftone(bitmap, 4, 2);
  bitmap.DrawingSurface().DeviceContext().FillSolidRect({0, 0, 4, 1}, gdi::RGB(0, 0, 0));
  const uint8_t black = gdi::NearestHalftoneIndex(gdi::RGB(0, 0, 0));
  const std::vector<uint8_t> bytes = Written(bitmap);
  ASSERT_EQ(bytes.size(), 1078u + 8);
  EXPECT_EQ(bytes[1078], kWhite);      // bottom row first
  EXPECT_EQ(bytes[1078 + 4], black);   // then the top row
}

TEST(BitmapWriting, PageSizedBitmapGivesTheDocumentedLength) {
  TBitmap bitmap;
  MakeHalftone(bitmap, 2479, 3508);
  const std::vector<uint8_t> bytes = Written(bitmap);
  EXPECT_EQ(bytes.size(), 1078u + 2480u * 3508u);
  EXPECT_EQ(LoadU32(bytes.data() + 2), 1078u + 2480u * 3508u);
  EXPECT_EQ(LoadU32(bytes.data() + 34), 2480u * 3508u);
}

TEST(BitmapWriting, HeadersAloneForAPageSizedImage) {
  bmp::BmpParts parts;
  parts.header = {40, 2479, 3508, 1, 8, 0, 2480u * 3508u, 0, 0, 256, 0};
  const std::vector<gdi::PaletteEntry> table(256);
  parts.colors = table;
  parts.pixel_bytes = 2480u * 3508u;
  const std::vector<uint8_t> headers = bmp::EncodeHeaders(parts);
  ASSERT_EQ(headers.size(), 1078u);
  EXPECT_EQ(LoadU32(headers.data() + 2), 1078u + 2480u * 3508u);
  EXPECT_EQ(bmp::RowStride(2479, 8), 2480);
}

TEST(BitmapWriting, SettingTheSameWidthKeepsTheImage) {
  TBitmap bitmap;
  MakeHalftone(bitmap, 10, 10);
  bitmap.DrawingSurface().DeviceContext();
  ASSERT_TRUE(bitmap.DrawingSurface().HasContext());
  bitmap.SetPixelWidth(10);
  bitmap.SetPixelHeight(10);
  EXPECT_TRUE(bitmap.DrawingSurface().HasContext());  // no new image, so no released context
  bitmap.SetPixelWidth(11);
  EXPECT_FALSE(bitmap.DrawingSurface().HasContext());
}

TEST(BitmapWriting, ResizingKeepsOldPixelsAtTheTopLeft) {
  TBitmap bitmap;
  MakeHalftone(bitmap, 4, 3);
  bitmap.DrawingSurface().DeviceContext().FillSolidRect({1, 2, 2, 3}, gdi::RGB(255, 0, 0));
  const uint8_t red = bitmap.PixelIndex(1, 2);
  ASSERT_NE(red, kWhite);
  bitmap.SetPixelWidth(7);
  bitmap.SetPixelHeight(6);
  EXPECT_EQ(bitmap.PixelIndex(1, 2), red);
  EXPECT_EQ(bitmap.PixelIndex(0, 0), kWhite);
  EXPECT_EQ(bitmap.PixelIndex(6, 5), kWhite);
  bitmap.SetPixelHeight(3);
  bitmap.SetPixelWidth(2);
  EXPECT_EQ(bitmap.PixelIndex(1, 2), red);
}

TEST(BitmapWriting, NewImageIsFilledWithTheSurfaceBrush) {
  TBitmap bitmap;
  bitmap.SetPixelDepth(8);
  bitmap.DrawingSurface().SetBrushColor(gdi::RGB(0, 0, 255));
  bitmap.SetPixelWidth(3);
  bitmap.SetPixelHeight(2);
  EXPECT_EQ(bitmap.PixelIndex(2, 1), gdi::NearestHalftoneIndex(gdi::RGB(0, 0, 255)));
}

TEST(BitmapWriting, AskingForTheContextStillWritesFullColourCounts) {
  TBitmap bitmap;
  MakeHalftone(bitmap, 2, 2);
  bitmap.DrawingSurface().DeviceContext();
  EXPECT_EQ(bitmap.HeldHeader().clr_used, 0u);
  const std::vector<uint8_t> bytes = Written(bitmap);
  EXPECT_EQ(LoadU32(bytes.data() + 46), 256u);
  EXPECT_EQ(LoadU32(bytes.data() + 50), 0u);
  EXPECT_EQ(bitmap.HeldHeader().clr_used, 256u);
}

TEST(BitmapWriting, SurfaceReportsTheScreenResolution) {
  TBitmap bitmap;
  EXPECT_EQ(bitmap.DrawingSurface().DeviceContext().GetDeviceCaps(gdi::LOGPIXELSX), 96);
  EXPECT_EQ(bitmap.DrawingSurface().DeviceContext().GetDeviceCaps(gdi::LOGPIXELSY), 96);
}

// --- sizes beyond what memory can hold ------------------------------------

void ExpectOutOfResources(const std::function<void()>& action) {
  try {
    action();
    FAIL() << "no error";
  } catch (const Exception& e) {
    EXPECT_STREQ(e.ClassName(), "EOutOfResources");
    EXPECT_EQ(e.Message(), "Out of system resources");
  }
}

TEST(BitmapLimits, TwoGibibytesOfPixelsAreRefused) {
  TBitmap bitmap;
  MakeHalftone(bitmap, 4, 4);
  bitmap.SetPixelWidth(65536);  // 65536 x 4 is fine
  ExpectOutOfResources([&] { bitmap.SetPixelHeight(32768); });  // exactly 2^31 bytes
  EXPECT_EQ(bitmap.PixelHeight(), 4);  // the failed sizing leaves the image
  EXPECT_FALSE(bitmap.Empty());
  EXPECT_EQ(bmp::PixelBytes(65536, 32767, 8), int64_t(65536) * 32767);
  EXPECT_EQ(bmp::PixelBytes(65536, 32768, 8), -1);
  EXPECT_EQ(bmp::PixelBytes(INT32_MAX, 1, 8), -1);
}

TEST(BitmapLimits, HostileWidthIsRefusedBeforeAnyAllocation) {
  TBitmap bitmap;
  bitmap.SetPixelDepth(8);
  bitmap.SetPixelWidth(INT32_MAX);
  ExpectOutOfResources([&] { bitmap.SetPixelHeight(INT32_MAX); });
}

TEST(BitmapLimits, NegativeSizesAreRefused) {
  TBitmap bitmap;
  bitmap.SetPixelDepth(8);
  ExpectOutOfResources([&] { bitmap.SetPixelWidth(-1); });
  ExpectOutOfResources([&] { bitmap.SetPixelHeight(-5); });
  EXPECT_EQ(bitmap.PixelWidth(), 0);
}

}  // namespace
}  // namespace vx
