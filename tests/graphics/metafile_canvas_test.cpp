#include "graphics/metafile_canvas.h"
#include "graphics/platform/emf/emf_record_type.h"

#include <gtest/gtest.h>

#include "base/errors.h"
#include "graphics/bitmap.h"
#include "graphics/bitmap_canvas.h"
#include "graphics/metafile.h"
#include "graphics/platform/emf/emf_header.h"
#include "graphics/support/canvas_script.h"
#include "graphics/support/emf_render.h"

namespace vx {
namespace {

constexpr int32_t kPageWidth = 800;
constexpr int32_t kPageHeight = 600;

// 800 x 600 pixels is a whole number of 0.01 mm on the reference screen
// (31.25 per pixel), so playing the frame onto 800 x 600 is the identity.
std::vector<uint8_t> RecordScript() {
  TMetafile page;
  page.SetPixelWidth(kPageWidth);
  page.SetPixelHeight(kPageHeight);
  {
    TMetafileCanvas canvas(page);
    test::DrawEveryOperation(canvas);
    canvas.Release();
  }
  return page.Bytes();
}

TEST(MetafileCanvas, RecordingPlaysBackAsTheSameCallsDrawOnABitmap) {
  TBitmap direct;
  direct.SetPixelDepth(8);
  direct.SetPixelWidth(kPageWidth);
  direct.SetPixelHeight(kPageHeight);
  test::DrawEveryOperation(direct.DrawingSurface());

  const std::vector<uint8_t> emf = RecordScript();
  test::RenderedPage played = test::WhitePage(kPageWidth, kPageHeight);
  gdi::TDeviceContext dc;
  dc.SelectSurface(&played.surface);
  ASSERT_TRUE(gdi::PlayEnhMetaFile(dc, emf.data(), emf.size(), {0, 0, kPageWidth, kPageHeight}));

  int64_t differing = 0, inked = 0;
  for (int32_t y = 0; y < kPageHeight; ++y)
    for (int32_t x = 0; x < kPageWidth; ++x) {
      if (direct.PixelIndex(x, y) != played.At(x, y)) ++differing;
      if (direct.PixelIndex(x, y) != 255) ++inked;
    }
  EXPECT_GT(inked, 20000);
  EXPECT_EQ(differing, 0);
}

TEST(MetafileCanvas, A4PageFrameRoundsTheWidthsExactHalfAwayFromZero) {
  TMetafile page;
  page.SetPixelWidth(794);
  page.SetPixelHeight(1123);
  TMetafileCanvas canvas(page);
  EXPECT_EQ(page.FrameWidth(), 24813);
  EXPECT_EQ(page.FrameHeight(), 35094);
  canvas.Release();
  EXPECT_EQ(page.FrameWidth(), 24813);
  EXPECT_EQ(page.FrameHeight(), 35094);
  const auto header = page.Header();
  ASSERT_TRUE(header.has_value());
  EXPECT_EQ(header->frame, (gdi::Rect{0, 0, 24813, 35094}));
  EXPECT_EQ(page.PixelWidth(), 794);
  EXPECT_EQ(page.PixelHeight(), 1123);
}

TEST(MetafileCanvas, NoFrameAndNoPixelSizeRecordsTheWholeReferenceScreen) {
  TMetafile page;
  TMetafileCanvas canvas(page);
  canvas.Release();
  EXPECT_EQ(page.FrameWidth(), 32000);
  EXPECT_EQ(page.FrameHeight(), 24000);
}

TEST(MetafileCanvas, AKeptFrameIgnoresThePixelSizeEachDimensionOnItsOwn) {
  TMetafile page;
  page.SetFrameWidth(5000);
  page.SetPixelHeight(100);  // no picture yet: kept as the pending height
  TMetafileCanvas canvas(page);
  canvas.Release();
  EXPECT_EQ(page.FrameWidth(), 5000);
  EXPECT_EQ(page.FrameHeight(), 3125);
}

TEST(MetafileCanvas, HeaderCarriesTheReferenceScreenAndTotals) {
  const std::vector<uint8_t> emf = RecordScript();
  const auto header = gdi::ParseEnhMetaHeader(emf.data(), emf.size());
  ASSERT_TRUE(header.has_value());
  EXPECT_TRUE(gdi::IsAcceptableEnhMetaFile(emf.data(), emf.size()));
  EXPECT_EQ(header->device, (gdi::Size{1024, 768}));
  EXPECT_EQ(header->millimeters, (gdi::Size{320, 240}));
  ASSERT_TRUE(header->micrometers.has_value());
  EXPECT_EQ(*header->micrometers, (gdi::Size{320000, 240000}));
  EXPECT_EQ(header->bytes, emf.size());
  EXPECT_EQ(header->description_chars, 0u);
  // The script draws inside the page, from (20, 20) to beyond (700, 400).
  EXPECT_LE(header->bounds.left, 20);
  EXPECT_LE(header->bounds.top, 20);
  EXPECT_GE(header->bounds.right, 700);
  EXPECT_LT(header->bounds.right, kPageWidth);
  uint32_t records = 0;
  size_t last = 0;
  for (size_t at = 0; at + 8 <= emf.size(); at += LoadU32(emf.data() + at + 4)) {
    ++records;
    last = at;
  }
  EXPECT_EQ(header->records, records);
  EXPECT_EQ(LoadU32(emf.data() + last), gdi::TypeWord(gdi::EmfRecord::kEof));
  // The logo's palette was realised: the end record carries its 256 entries.
  EXPECT_EQ(header->palette_entries, 256u);
  EXPECT_EQ(LoadU32(emf.data() + last + 8), 256u);
  EXPECT_EQ(LoadU32(emf.data() + last + 4), 20u + 256 * 4);
}

TEST(MetafileCanvas, DrawingAfterReleaseIsRefused) {
  TMetafile page;
  TMetafileCanvas canvas(page);
  canvas.Release();
  try {
    canvas.Rectangle({0, 0, 10, 10});
    FAIL() << "drawing on a released canvas";
  } catch (const EInvalidOperation& e) {
    EXPECT_EQ(e.Message(), "Canvas does not allow drawing");
  }
}

TEST(MetafileCanvas, ReleasingInstallsTheRecordingAndKeepsTheMetafileAlone) {
  TMetafile page;
  page.SetPixelWidth(100);
  page.SetPixelHeight(100);
  {
    TMetafileCanvas canvas(page);
    canvas.Brush().Color = gdi::RGB(0, 0, 0);
    canvas.FillRect({10, 10, 20, 20});
    EXPECT_TRUE(page.Empty());  // nothing installed before the release
  }
  ASSERT_FALSE(page.Empty());
  const test::RenderedPage rendered = test::RenderEmf(page.Bytes(), 96);
  EXPECT_EQ(rendered.At(15, 15), 0);
  EXPECT_EQ(rendered.At(5, 5), 255);
}

}  // namespace
}  // namespace vx
