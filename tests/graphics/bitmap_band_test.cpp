#include <gtest/gtest.h>

#include <vector>

#include "base/errors.h"
#include "base/memory_stream.h"
#include "graphics/bitmap.h"
#include "graphics/bitmap_band.h"
#include "graphics/bitmap_canvas.h"
#include "graphics/metafile.h"
#include "support/busy_page_emf.h"

namespace vx {
namespace {

std::unique_ptr<TMetafile> BusyPage() {
  auto metafile = std::make_unique<TMetafile>();
  const std::vector<uint8_t> emf = test::BusyPageEmf();
  TMemoryStream stream;
  stream.WriteBuffer(emf.data(), static_cast<int64_t>(emf.size()));
  stream.SetPosition(0);
  metafile->ReadFromStream(stream);
  return metafile;
}

std::vector<uint8_t> Encoded(TBitmap& bitmap) {
  TMemoryStream stream;
  bitmap.WriteToStream(stream);
  return stream.Bytes();
}

TEST(BitmapBand, BandsDrawnBottomUpAreTheWholeBitmapsFile) {
  const auto page = BusyPage();
  constexpr int32_t kWidth = 301, kHeight = 203;  // rows padded to 304 bytes
  TBitmap whole;
  whole.SetPixelDepth(8);
  whole.SetPixelWidth(kWidth);
  whole.SetPixelHeight(kHeight);
  whole.DrawingSurface().DrawStretched({0, 0, kWidth, kHeight}, page.get());
  whole.SetPixelsPerMeter(3780, 3781);

  std::vector<uint8_t> banded = BandedBitmapHeaders(kWidth, kHeight, 3780, 3781);
  TBitmapBand band;
  for (int32_t bottom = kHeight; bottom > 0; bottom -= 17) {
    const int32_t top = std::max(0, bottom - 17);
    band.SelectRows(kWidth, kHeight, top, bottom);
    band.DrawStretched({0, 0, kWidth, kHeight}, *page);
    banded.insert(banded.end(), band.StoredRows(), band.StoredRows() + band.StoredBytes());
  }
  EXPECT_EQ(banded, Encoded(whole));
}

TEST(BitmapBand, ANewBandIsWhiteWithZeroPadding) {
  TBitmapBand band;
  band.SelectRows(5, 10, 2, 4);
  EXPECT_EQ(band.Stride(), 8);
  ASSERT_EQ(band.StoredBytes(), 16u);
  const std::vector<uint8_t> row{255, 255, 255, 255, 255, 0, 0, 0};
  EXPECT_EQ(std::vector<uint8_t>(band.StoredRows(), band.StoredRows() + 8), row);
  EXPECT_EQ(std::vector<uint8_t>(band.StoredRows() + 8, band.StoredRows() + 16), row);
  EXPECT_EQ(band.PixelIndex(0, 2), 255);
  EXPECT_EQ(band.PixelIndex(0, 4), 0);  // outside the band
}

TEST(BitmapBand, RowsOutsideTheBitmapAreRefused) {
  TBitmapBand band;
  EXPECT_THROW(band.SelectRows(5, 10, 8, 11), EOutOfResources);
  EXPECT_THROW(band.SelectRows(5, 10, 3, 3), EOutOfResources);
  EXPECT_THROW(band.SelectRows(0, 10, 0, 1), EOutOfResources);
  EXPECT_THROW(band.SelectRows(1 << 30, 4, 0, 4), EOutOfResources);  // 4 GiB of pixels
  const auto page = BusyPage();
  EXPECT_THROW(band.DrawStretched({0, 0, 5, 10}, *page), EOutOfResources);
}

}  // namespace
}  // namespace vx
