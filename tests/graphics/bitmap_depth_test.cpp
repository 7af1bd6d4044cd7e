// Bitmaps of every depth the BMP reader accepts, top-down and bottom-up, have
// a drawing surface: a line, a rectangle and an ellipse land on their pixels
// in the colours their format can hold.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/errors.h"
#include "base/memory_stream.h"
#include "graphics/bitmap.h"
#include "graphics/bitmap_canvas.h"
#include "graphics/metafile.h"
#include "graphics/bitmap_test_bytes.h"
#include "support/wmf_test_data.h"

namespace vx {
namespace {

using gdi::PaletteEntry;

struct DepthCase {
  std::string name;
  uint16_t bits;
  bool top_down;
  std::vector<uint32_t> masks;  // BI_BITFIELDS when given
  PaletteEntry red;             // what a pure red pen shows
  PaletteEntry blue;            // what a pure blue brush shows
};

constexpr int32_t kWidth = 20, kHeight = 14;

std::vector<uint8_t> Entry(uint8_t r, uint8_t g, uint8_t b) { return {b, g, r, 0}; }

// A white image of the case's depth; indexed depths get a table whose
// entry 0 is white and that holds red and blue where it can.
std::vector<uint8_t> WhiteBmp(const DepthCase& c) {
  test::BmpSpec layout;
  layout.width = kWidth;
  layout.height = c.top_down ? -kHeight : kHeight;
  layout.bits = c.bits;
  if (!c.masks.empty()) {
    layout.compression = 3;
    layout.masks = c.masks;
  }
  if (c.bits == 1) layout.colors = {Entry(255, 255, 255), Entry(0, 0, 0)};
  if (c.bits == 4 || c.bits == 8) {
    layout.colors = {Entry(255, 255, 255), Entry(0, 0, 0), Entry(255, 0, 0), Entry(0, 0, 255)};
    for (int i = 4; i < (1 << c.bits); ++i) layout.colors.push_back(Entry(uint8_t(i), uint8_t(i), uint8_t(i)));
  }
  const int64_t stride = gdi::DibRowStride(kWidth, c.bits);
  // Index 0 is white; packed formats are white with every channel bit set.
  layout.pixels.assign(size_t(stride * kHeight), c.bits <= 8 ? 0x00 : 0xFF);
  return test::BuildBmp(layout);
}

void ExpectColor(const TBitmap& bitmap, int32_t x, int32_t y, PaletteEntry want) {
  const PaletteEntry got = bitmap.PixelColor(x, y);
  EXPECT_EQ(got.r, want.r) << "at " << x << "," << y;
  EXPECT_EQ(got.g, want.g) << "at " << x << "," << y;
  EXPECT_EQ(got.b, want.b) << "at " << x << "," << y;
}

class BitmapDepth : public ::testing::TestWithParam<DepthCase> {};

TEST_P(BitmapDepth, LineRectangleAndEllipseLandOnThePixels) {
  const DepthCase& c = GetParam();
  TBitmap bitmap;
  test::StreamBytes(WhiteBmp(c), bitmap);
  ASSERT_EQ(bitmap.PixelDepth(), c.bits);
  gdi::TDeviceContext& dc = bitmap.DrawingSurface().DeviceContext();
  gdi::LogPen red_pen;
  red_pen.color = gdi::RGB(255, 0, 0);
  dc.SelectPen(red_pen);
  dc.MoveTo({1, 1});
  dc.LineTo({12, 1});
  dc.SelectPen(gdi::LogPen{gdi::PS_NULL, 0, 0, {}, false});
  dc.SelectBrush(gdi::LogBrush{gdi::BS_SOLID, gdi::RGB(0, 0, 255), 0, nullptr});
  dc.Rectangle({2, 4, 7, 9});    // pixels 2..5 x 4..7 without a pen
  dc.SelectPen(red_pen);
  dc.Ellipse({10, 4, 19, 13});   // red outline, blue inside

  const PaletteEntry white{255, 255, 255};
  ExpectColor(bitmap, 1, 1, c.red);
  ExpectColor(bitmap, 11, 1, c.red);
  ExpectColor(bitmap, 12, 1, white);  // a line leaves out its last point
  ExpectColor(bitmap, 1, 0, white);
  ExpectColor(bitmap, 2, 4, c.blue);
  ExpectColor(bitmap, 5, 7, c.blue);
  ExpectColor(bitmap, 6, 7, white);
  ExpectColor(bitmap, 5, 8, white);
  ExpectColor(bitmap, 14, 8, c.blue);  // the ellipse's centre
  ExpectColor(bitmap, 10, 8, c.red);   // its leftmost outline pixel
  ExpectColor(bitmap, 10, 4, white);   // the box's corner stays
  ExpectColor(bitmap, 0, kHeight - 1, white);
}

const PaletteEntry kRed{255, 0, 0}, kBlue{0, 0, 255}, kBlack{0, 0, 0};

std::string DepthTestName(const ::testing::TestParamInfo<DepthCase>& param) { return param.param.name; }

INSTANTIATE_TEST_SUITE_P(
    Formats, BitmapDepth,
    ::testing::Values(DepthCase{"Mono", 1, false, {}, kBlack, kBlack},
                      DepthCase{"MonoTopDown", 1, true, {}, kBlack, kBlack},
                      DepthCase{"Indexed4", 4, false, {}, kRed, kBlue},
                      DepthCase{"Indexed4TopDown", 4, true, {}, kRed, kBlue},
                      DepthCase{"Indexed8", 8, false, {}, kRed, kBlue},
                      DepthCase{"Indexed8TopDown", 8, true, {}, kRed, kBlue},
                      DepthCase{"Rgb555", 16, false, {}, kRed, kBlue},
                      DepthCase{"Rgb555TopDown", 16, true, {}, kRed, kBlue},
                      DepthCase{"Rgb565", 16, false, {0xF800, 0x07E0, 0x001F}, kRed, kBlue},
                      DepthCase{"Rgb565TopDown", 16, true, {0xF800, 0x07E0, 0x001F}, kRed, kBlue},
                      DepthCase{"Rgb24", 24, false, {}, kRed, kBlue},
                      DepthCase{"Rgb24TopDown", 24, true, {}, kRed, kBlue},
                      DepthCase{"Rgb32", 32, false, {}, kRed, kBlue},
                      DepthCase{"Rgb32TopDown", 32, true, {}, kRed, kBlue}),
    DepthTestName);

TEST(BitmapDepth, TopDownRowsAreStoredTopFirst) {
  TBitmap bitmap;
  test::StreamBytes(WhiteBmp({"", 24, true, {}, kRed, kBlue}), bitmap);
  bitmap.DrawingSurface().DeviceContext().FillSolidRect({0, 0, 1, 1}, gdi::RGB(1, 2, 3));
  const std::vector<uint8_t> bytes = test::Written(bitmap);
  // No colour table: the first stored row follows the 54 header bytes.
  ASSERT_GT(bytes.size(), 57u);
  EXPECT_EQ(bytes[54], 3);
  EXPECT_EQ(bytes[55], 2);
  EXPECT_EQ(bytes[56], 1);
}

TEST(BitmapDepth, TrueColourDepthsHoldExactColours) {
  for (const int bits : {24, 32}) {
    TBitmap bitmap;
    bitmap.SetPixelDepth(bits);
    bitmap.SetPixelWidth(5);
    bitmap.SetPixelHeight(3);
    EXPECT_EQ(bitmap.PixelDepth(), bits);
    EXPECT_TRUE(bitmap.ColorTable().empty());
    ExpectColor(bitmap, 4, 2, {255, 255, 255});
    bitmap.DrawingSurface().DeviceContext().FillSolidRect({1, 1, 3, 2}, gdi::RGB(17, 130, 201));
    ExpectColor(bitmap, 1, 1, {17, 130, 201});
    ExpectColor(bitmap, 3, 1, {255, 255, 255});
    const std::vector<uint8_t> bytes = test::Written(bitmap);
    EXPECT_EQ(bytes.size(), size_t(54 + gdi::DibRowStride(5, bits) * 3)) << bits;
  }
}

TEST(BitmapDepth, SwitchingAPageToTrueColourKeepsItsColours) {
  TBitmap bitmap;
  test::MakeHalftone(bitmap, 4, 2);
  bitmap.DrawingSurface().DeviceContext().FillSolidRect({0, 0, 2, 2}, gdi::RGB(255, 0, 0));
  bitmap.SetPixelDepth(24);
  ExpectColor(bitmap, 1, 1, {255, 0, 0});
  ExpectColor(bitmap, 2, 1, {255, 255, 255});
}

TEST(BitmapDepth, OtherDepthsAreRefused) {
  TBitmap bitmap;
  EXPECT_THROW(bitmap.SetPixelDepth(16), EInvalidGraphic);
  EXPECT_THROW(bitmap.SetPixelDepth(4), EInvalidGraphic);
}

TEST(BitmapDepth, AMetafileDrawnIntoATrueColourBitmapLandsOnItsPixels) {
  // A black rectangle from 100 to 500 of a 1000-unit, one-inch picture.
  test::WmfBuilder b;
  b.Record(0x103, {8}).Record(0x20C, {1000, 1000});
  b.Record(0x2FC, {0, 0, 0, 0}).Record(0x12D, {0}).Record(0x41B, {500, 500, 100, 100});
  const std::vector<uint8_t> bytes = b.Placeable(0, 0, 1000, 1000, 1000);
  TMemoryStream stream;
  stream.WriteBuffer(bytes.data(), int64_t(bytes.size()));
  stream.SetPosition(0);
  TMetafile metafile;
  metafile.ReadFromStream(stream);
  TBitmap bitmap;
  bitmap.SetPixelDepth(32);
  bitmap.SetPixelWidth(metafile.PixelWidth());
  bitmap.SetPixelHeight(metafile.PixelHeight());
  bitmap.DrawingSurface().DrawStretched({0, 0, bitmap.PixelWidth(), bitmap.PixelHeight()}, &metafile);
  ExpectColor(bitmap, 30, 30, {0, 0, 0});
  ExpectColor(bitmap, 2, 2, {255, 255, 255});
  ExpectColor(bitmap, 90, 90, {255, 255, 255});
}

}  // namespace
}  // namespace vx
