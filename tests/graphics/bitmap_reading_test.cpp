#include <gtest/gtest.h>

#include <functional>

#include "base/byte_reader.h"
#include "base/errors.h"
#include "base/memory_stream.h"
#include "graphics/bitmap.h"
#include "graphics/bitmap_canvas.h"
#include "graphics/bitmap_test_bytes.h"

namespace vx {
namespace {

using test::BmpSpec;
using test::BuildBmp;
using test::GreyColors;
using test::StreamBytes;
using test::Written;

void ReadInto(TBitmap& bitmap, const std::vector<uint8_t>& bytes) {
  TMemoryStream in;
  in.WriteBuffer(bytes.data(), int64_t(bytes.size()));
  in.SetPosition(0);
  bitmap.ReadFromStream(in);
}

void ExpectError(const std::vector<uint8_t>& bytes, const char* className, const std::string& message) {
  TBitmap bitmap;
  try {
    ReadInto(bitmap, bytes);
    FAIL() << "no error";
  } catch (const Exception& e) {
    EXPECT_STREQ(e.ClassName(), className);
    EXPECT_EQ(e.Message(), message);
  }
}

void ExpectInvalid(const std::vector<uint8_t>& bytes) {
  ExpectError(bytes, "EInvalidGraphic", "Bitmap image is not valid");
}

void ExpectReadError(const std::vector<uint8_t>& bytes) { ExpectError(bytes, "EReadError", "Stream read error"); }

// An 8-bit 2 x 2 image with a 256-entry grey table and pixels 1 2 / 3 4.
BmpSpec Grey8() {
  BmpSpec s;
  s.colorsUsed = 256;
  s.imageSize = 8;
  s.colors = GreyColors(256);
  s.pixels = {3, 4, 0, 0, 1, 2, 0, 0};  // bottom row first
  return s;
}

TEST(BitmapReading, WrittenBitmapReadsBackAndWritesTheSameBytes) {
  TBitmap bitmap;
  test::MakeHalftone(bitmap, 37, 5);
  auto& dc = bitmap.DrawingSurface().DeviceContext();
  dc.FillSolidRect({0, 0, 10, 2}, gdi::RGB(0, 0, 0));
  dc.FillSolidRect({20, 3, 37, 5}, gdi::RGB(0, 128, 255));
  const std::vector<uint8_t> first = Written(bitmap);
  TBitmap copy;
  EXPECT_EQ(StreamBytes(first, copy), first);
  EXPECT_EQ(copy.PixelIndex(0, 0), bitmap.PixelIndex(0, 0));
  EXPECT_EQ(copy.PixelIndex(36, 4), bitmap.PixelIndex(36, 4));
}

TEST(BitmapReading, PatchedResolutionFieldsSurviveTheRoundTrip) {
  TBitmap bitmap;
  test::MakeHalftone(bitmap, 3, 3);
  std::vector<uint8_t> bytes = Written(bitmap);
  StoreU32(bytes.data() + 38, 11811);
  StoreU32(bytes.data() + 42, 3780);
  TBitmap copy;
  EXPECT_EQ(StreamBytes(bytes, copy), bytes);
  EXPECT_EQ(copy.HeldHeader().x_pels_per_meter, 11811);
  EXPECT_EQ(copy.HeldHeader().y_pels_per_meter, 3780);
}

TEST(BitmapReading, EmptyStreamGivesAnEmptyBitmap) {
  TBitmap bitmap;
  test::MakeHalftone(bitmap, 3, 3);
  ReadInto(bitmap, {});
  EXPECT_TRUE(bitmap.Empty());
  EXPECT_EQ(bitmap.PixelWidth(), 0);
  EXPECT_EQ(bitmap.PixelDepth(), 0);
  EXPECT_TRUE(Written(bitmap).empty());
}

TEST(BitmapReading, StreamPositionMarksTheStart) {
  const std::vector<uint8_t> bmp = BuildBmp(Grey8());
  TMemoryStream in;
  in.WriteBuffer("junk", 4);
  in.WriteBuffer(bmp.data(), int64_t(bmp.size()));
  in.SetPosition(4);
  TBitmap bitmap;
  bitmap.ReadFromStream(in);
  EXPECT_EQ(bitmap.PixelIndex(1, 1), 4);
}

TEST(BitmapReading, PixelsAreTakenRightAfterTheColourTable) {
  BmpSpec s = Grey8();
  s.pixelOffsetAdjust = 1000;
  TBitmap bitmap;
  ReadInto(bitmap, BuildBmp(s));
  EXPECT_EQ(bitmap.PixelIndex(0, 0), 1);
  EXPECT_EQ(bitmap.PixelIndex(1, 0), 2);
  EXPECT_EQ(bitmap.PixelIndex(0, 1), 3);
  EXPECT_EQ(bitmap.PixelIndex(1, 1), 4);
}

TEST(BitmapReading, ZeroColoursUsedMeansAFullTableAndIsWrittenAs256) {
  BmpSpec s = Grey8();
  s.colorsUsed = 0;
  TBitmap bitmap;
  const std::vector<uint8_t> out = StreamBytes(BuildBmp(s), bitmap);
  EXPECT_EQ(bitmap.ColorTable().size(), 256u);
  EXPECT_EQ(LoadU32(out.data() + 46), 256u);
  s.colorsUsed = 256;
  EXPECT_EQ(out, BuildBmp(s));
}

TEST(BitmapReading, ResolutionAndImportantColoursAreKeptAsRead) {
  BmpSpec s = Grey8();
  s.xPelsPerMeter = -7;
  s.yPelsPerMeter = 123456;
  s.colorsImportant = 9;
  TBitmap bitmap;
  EXPECT_EQ(StreamBytes(BuildBmp(s), bitmap), BuildBmp(s));
}

TEST(BitmapReading, ShortColourTableIsWrittenWithItsOwnCount) {
  BmpSpec s = Grey8();
  s.colorsUsed = 5;
  s.colors = GreyColors(5);
  TBitmap bitmap;
  EXPECT_EQ(StreamBytes(BuildBmp(s), bitmap), BuildBmp(s));
  // A drawing change clears the count: the full table is written.
  bitmap.DrawingSurface().DeviceContext();
  const std::vector<uint8_t> out = Written(bitmap);
  EXPECT_EQ(LoadU32(out.data() + 46), 256u);
  EXPECT_EQ(out.size(), 1078u + 8);
}

TEST(BitmapReading, LargerImageSizeFieldIsRecomputed) {
  BmpSpec s = Grey8();
  s.imageSize = 100;
  TBitmap bitmap;
  const std::vector<uint8_t> out = StreamBytes(BuildBmp(s), bitmap);
  EXPECT_EQ(LoadU32(out.data() + 34), 8u);
  EXPECT_EQ(bitmap.PixelIndex(1, 1), 4);
}

TEST(BitmapReading, PixelsCutShortLeaveTheRestZero) {
  BmpSpec s = Grey8();
  s.pixels = {3, 4, 0};
  TBitmap bitmap;
  ReadInto(bitmap, BuildBmp(s));
  EXPECT_EQ(bitmap.PixelIndex(0, 1), 3);
  EXPECT_EQ(bitmap.PixelIndex(0, 0), 0);
  EXPECT_EQ(bitmap.PixelIndex(1, 0), 0);
}

TEST(BitmapReading, TopDownRowsAreReadFromTheTop) {
  BmpSpec s = Grey8();
  s.height = -2;
  s.pixels = {1, 2, 0, 0, 3, 4, 0, 0};
  TBitmap bitmap;
  EXPECT_EQ(StreamBytes(BuildBmp(s), bitmap), BuildBmp(s));
  EXPECT_EQ(bitmap.PixelHeight(), 2);
  EXPECT_EQ(bitmap.PixelIndex(0, 0), 1);
  EXPECT_EQ(bitmap.PixelIndex(1, 1), 4);
}

TEST(BitmapReading, CoreHeaderIsReadAndWrittenBackInItsForm) {
  BmpSpec s;
  s.headerSize = 12;
  s.bits = 4;
  s.width = 3;
  s.height = 1;
  s.colors = GreyColors(16, 3);
  s.pixels = {0x12, 0x30, 0, 0};
  TBitmap bitmap;
  EXPECT_EQ(StreamBytes(BuildBmp(s), bitmap), BuildBmp(s));
  EXPECT_EQ(bitmap.PixelDepth(), 4);
  EXPECT_EQ(bitmap.HeldHeader().clr_used, 16u);
  EXPECT_EQ(bitmap.ColorTable()[2].g, 2);
}

TEST(BitmapReading, BitFieldsCarryTheirMasks) {
  BmpSpec s;
  s.bits = 16;
  s.compression = 3;
  s.width = 2;
  s.height = 1;
  s.imageSize = 4;
  s.masks = {0xF800, 0x07E0, 0x001F};
  s.pixels = {0x00, 0xF8, 0x1F, 0x00};
  TBitmap bitmap;
  EXPECT_EQ(StreamBytes(BuildBmp(s), bitmap), BuildBmp(s));
  EXPECT_EQ(bitmap.PixelDepth(), 16);
}

TEST(BitmapReading, LongHeaderIsWrittenBackWithFortyBytesAndMasks) {
  BmpSpec v4;
  v4.headerSize = 108;
  v4.bits = 32;
  v4.compression = 3;
  v4.width = 1;
  v4.height = 1;
  v4.pixels = {1, 2, 3, 4};
  std::vector<uint8_t> bytes = BuildBmp(v4);
  StoreU32(bytes.data() + 54, 0xFF0000);  // masks inside the header
  StoreU32(bytes.data() + 58, 0x00FF00);
  StoreU32(bytes.data() + 62, 0x0000FF);
  BmpSpec expected = v4;
  expected.headerSize = 40;
  expected.imageSize = 4;
  expected.masks = {0xFF0000, 0x00FF00, 0x0000FF};
  TBitmap bitmap;
  EXPECT_EQ(StreamBytes(bytes, bitmap), BuildBmp(expected));
}

TEST(BitmapReading, TrueColourWithoutTableRoundTrips) {
  BmpSpec s;
  s.bits = 24;
  s.width = 2;
  s.height = 2;
  s.imageSize = 16;
  s.pixels = {1, 2, 3, 4, 5, 6, 0, 0, 7, 8, 9, 10, 11, 12, 0, 0};
  TBitmap bitmap;
  EXPECT_EQ(StreamBytes(BuildBmp(s), bitmap), BuildBmp(s));
}

// --- compressed data ---------------------------------------------------------

BmpSpec Rle8() {
  BmpSpec s;
  s.width = 4;
  s.height = 2;
  s.compression = 1;
  s.colorsUsed = 4;
  s.colors = GreyColors(4);
  // bottom row: three 2s then a literal 3; end of line; top row: 1 1; end of bitmap
  s.pixels = {3, 2, 0, 3, 3, 0, 0, 0, 0, 0, 2, 1, 0, 1};
  s.imageSize = uint32_t(s.pixels.size());
  return s;
}

TEST(BitmapReading, Rle8IsDecodedForDisplayAndWrittenBackVerbatim) {
  const std::vector<uint8_t> source = BuildBmp(Rle8());
  TBitmap bitmap;
  EXPECT_EQ(StreamBytes(source, bitmap), source);
  EXPECT_TRUE(bitmap.HasKeptSource());
  EXPECT_EQ(bitmap.PixelIndex(0, 1), 2);
  EXPECT_EQ(bitmap.PixelIndex(2, 1), 2);
  EXPECT_EQ(bitmap.PixelIndex(3, 1), 3);
  EXPECT_EQ(bitmap.PixelIndex(0, 0), 1);
  EXPECT_EQ(bitmap.PixelIndex(1, 0), 1);
  EXPECT_EQ(bitmap.PixelIndex(2, 0), 0);
}

TEST(BitmapReading, DrawingOnACompressedImageWritesItUncompressed) {
  TBitmap bitmap;
  StreamBytes(BuildBmp(Rle8()), bitmap);
  bitmap.DrawingSurface().DeviceContext();
  EXPECT_FALSE(bitmap.HasKeptSource());
  const std::vector<uint8_t> out = Written(bitmap);
  EXPECT_EQ(LoadU32(out.data() + 30), 0u);  // compression
  EXPECT_EQ(LoadU32(out.data() + 34), 8u);
  EXPECT_EQ(out.size(), 14u + 40 + 1024 + 8);
  const std::vector<uint8_t> rows(out.end() - 8, out.end());
  EXPECT_EQ(rows, (std::vector<uint8_t>{2, 2, 2, 3, 1, 1, 0, 0}));
}

TEST(BitmapReading, Rle4DeltaAndAbsoluteRuns) {
  BmpSpec s;
  s.width = 5;
  s.height = 2;
  s.bits = 4;
  s.compression = 2;
  s.colors = GreyColors(16);
  // bottom row: run of 3 alternating 1,2; delta (0, 1); absolute 3 pixels 4 5 6
  s.pixels = {3, 0x12, 0, 2, 0, 1, 0, 3, 0x45, 0x60, 0, 1};
  s.imageSize = uint32_t(s.pixels.size());
  TBitmap bitmap;
  const std::vector<uint8_t> source = BuildBmp(s);
  EXPECT_EQ(StreamBytes(source, bitmap), source);
  bitmap.DrawingSurface().DeviceContext();
  const std::vector<uint8_t> out = Written(bitmap);
  const std::vector<uint8_t> rows(out.end() - 8, out.end());
  EXPECT_EQ(rows, (std::vector<uint8_t>{0x12, 0x10, 0, 0, 0x00, 0x04, 0x50, 0}));
}

TEST(BitmapReading, RunsPastTheImageStayInside) {
  BmpSpec s = Rle8();
  s.pixels = {255, 7, 0, 2, 200, 200, 255, 9, 0, 255, 1, 1};
  TBitmap bitmap;
  ReadInto(bitmap, BuildBmp(s));
  EXPECT_EQ(bitmap.PixelIndex(3, 1), 7);
}

// --- refused data --------------------------------------------------------------

TEST(BitmapReading, ErrorsNameTheirCause) {
  BmpSpec notBm = Grey8();
  std::vector<uint8_t> wrongMagic = BuildBmp(notBm);
  wrongMagic[1] = 'A';
  ExpectInvalid(wrongMagic);

  BmpSpec planes = Grey8();
  planes.planes = 2;
  ExpectInvalid(BuildBmp(planes));

  BmpSpec tooMany = Grey8();
  tooMany.colorsUsed = 257;
  ExpectInvalid(BuildBmp(tooMany));

  BmpSpec oddHeader = Grey8();
  oddHeader.headerSize = 20;
  ExpectInvalid(BuildBmp(oddHeader));

  BmpSpec depth = Grey8();
  depth.bits = 7;
  ExpectInvalid(BuildBmp(depth));

  BmpSpec width = Grey8();
  width.width = 0;
  ExpectInvalid(BuildBmp(width));

  BmpSpec rleDepth = Rle8();
  rleDepth.bits = 4;
  ExpectInvalid(BuildBmp(rleDepth));

  BmpSpec jpeg = Grey8();
  jpeg.compression = 4;
  ExpectInvalid(BuildBmp(jpeg));
}

TEST(BitmapReading, CutShortDataIsAReadError) {
  const std::vector<uint8_t> whole = BuildBmp(Grey8());
  ExpectReadError(std::vector<uint8_t>(whole.begin(), whole.begin() + 10));          // file header
  ExpectReadError(std::vector<uint8_t>(whole.begin(), whole.begin() + 54 + 1000));   // colour table
  BmpSpec masks;
  masks.bits = 32;
  masks.compression = 3;
  masks.masks = {0xFF};
  ExpectReadError(BuildBmp(masks));
  BmpSpec rle = Rle8();
  rle.colorsUsed = 200;
  ExpectReadError(BuildBmp(rle));
}

TEST(BitmapReading, InfoHeaderCutShortIsInvalid) {
  const std::vector<uint8_t> whole = BuildBmp(Grey8());
  ExpectInvalid(std::vector<uint8_t>(whole.begin(), whole.begin() + 16));
  ExpectInvalid(std::vector<uint8_t>(whole.begin(), whole.begin() + 40));
}

TEST(BitmapReading, HugeDimensionsAreRefusedBeforeAllocation) {
  BmpSpec s = Grey8();
  s.width = 0x7FFFFFFF;
  s.height = 0x7FFFFFFF;
  ExpectError(BuildBmp(s), "EOutOfResources", "Out of system resources");
}

TEST(BitmapReading, FailedReadLeavesThePreviousImage) {
  TBitmap bitmap;
  test::MakeHalftone(bitmap, 3, 2);
  std::vector<uint8_t> bad = BuildBmp(Grey8());
  bad[0] = 'X';
  EXPECT_THROW(ReadInto(bitmap, bad), EInvalidGraphic);
  EXPECT_EQ(bitmap.PixelWidth(), 3);
  EXPECT_EQ(bitmap.PixelIndex(2, 1), 255);
}

}  // namespace
}  // namespace vx
