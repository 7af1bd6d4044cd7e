#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>

#include "base/byte_reader.h"
#include "graphics/platform/emf/emf_player.h"
#include "graphics/platform/raster/halftone_palette.h"
#include "graphics/support/emf_render.h"
#include "support/emf_builder.h"

namespace vx::gdi {
namespace {

using test::EmfBuilder;

// Frame 2000 x 2000 (0.01 mm) on the 1024 px / 320 mm reference maps a
// 64-pixel-wide target rectangle at exactly one pixel per logical unit.
EmfBuilder Builder() {
  EmfBuilder b;
  b.Frame({0, 0, 2000, 2000}).Bounds({0, 0, 63, 63}).Handles(4);
  return b;
}

test::RenderedPage Play(const std::vector<uint8_t>& emf, PlaybackOptions options = {}) {
  test::RenderedPage page = test::WhitePage(64, 64);
  TDeviceContext dc;
  dc.SelectSurface(&page.surface);
  PlayEnhMetaFile(dc, emf.data(), emf.size(), {0, 0, 64, 64}, options);
  if (const char* dir = std::getenv("VXP_DUMP_EMF_DIR")) {
    const std::string name = ::testing::UnitTest::GetInstance()->current_test_info()->name();
    std::ofstream(std::string(dir) + "/" + name + ".emf", std::ios::binary)
        .write(reinterpret_cast<const char*>(emf.data()), std::streamsize(emf.size()));
  }
  return page;
}

int Count(const test::RenderedPage& page, uint8_t index) {
  int n = 0;
  for (int y = 0; y < page.height; ++y)
    for (int x = 0; x < page.width; ++x) n += page.At(x, y) == index;
  return n;
}


std::vector<uint8_t> BrushRecord(uint32_t index, ColorRef color) {
  ByteWriter w;
  w.U32(index);
  w.U32(BS_SOLID);
  w.U32(color);
  w.U32(0);
  return w.Bytes();
}

// A StretchDIBits record of a 2x2 image scaled to 20x20 at (10, 10).
std::vector<uint8_t> StretchDIBitsRecord(int bits_per_pixel, const std::vector<uint8_t>& colors,
                                         const std::vector<uint8_t>& pixels) {
  const uint32_t header = 8 + 72;  // type, size and the fixed fields
  const uint32_t bmi_size = 40 + uint32_t(colors.size());
  ByteWriter w;
  for (int32_t v : {10, 10, 29, 29}) w.I32(v);  // bounds
  for (int32_t v : {10, 10, 0, 0, 2, 2}) w.I32(v);
  w.U32(header);
  w.U32(bmi_size);
  w.U32(header + bmi_size);
  w.U32(uint32_t(pixels.size()));
  w.U32(DIB_RGB_COLORS);
  w.U32(SRCCOPY);
  w.I32(20);
  w.I32(20);
  w.U32(40);
  w.I32(2);
  w.I32(2);
  w.U16(1);
  w.U16(uint16_t(bits_per_pixel));
  for (int i = 0; i < 6; ++i) w.U32(0);
  w.Append(colors.data(), colors.size());
  w.Append(pixels.data(), pixels.size());
  return w.Bytes();
}

TEST(EmfPlayer, FillsARectangleWithTheSelectedBrush) {
  const auto emf = Builder()
                       .Record(EmfRecord::kCreateBrushIndirect, BrushRecord(1, RGB(255, 0, 0)))
                       .RecordWords(EmfRecord::kSelectObject, {1})
                       .RecordWords(EmfRecord::kRectangle, {10, 10, 20, 30})
                       .Build();
  // Playback runs in the advanced graphics mode: right and bottom edges are drawn.
  const auto page = Play(emf);
  const uint8_t red = NearestHalftoneIndex(RGB(255, 0, 0));
  EXPECT_EQ(page.At(10, 10), 0);   // black pen outline
  EXPECT_EQ(page.At(15, 15), red);
  EXPECT_EQ(page.At(20, 30), 0);
  EXPECT_EQ(page.At(21, 15), 255);
  EXPECT_EQ(Count(page, red), 9 * 19);
}

TEST(EmfPlayer, FrameMapsOntoTheTargetRectangle) {
  // A 10 mm frame is 32 pixels of the 1024 px / 320 mm reference; drawn into
  // 64 pixels every logical unit becomes two.
  EmfBuilder b;
  b.Frame({0, 0, 1000, 1000}).Handles(1);
  const auto emf = b.RecordWords(EmfRecord::kMoveToEx, {0, 3}).RecordWords(EmfRecord::kLineTo, {16, 3}).Build();
  const auto page = Play(emf);
  EXPECT_EQ(page.At(0, 6), 0);
  EXPECT_EQ(page.At(31, 6), 0);
  EXPECT_EQ(page.At(32, 6), 255);
  EXPECT_EQ(Count(page, 0), 32);
}

// A rectangle without height (a picture one pixel high played into
// {0, 0, W - 1, 0}) would scale every y to 0: that mapping is singular, so
// the picture plays unscaled, one logical unit per pixel.
TEST(EmfPlayer, RectangleWithoutHeightOrWidthPlaysThePictureUnscaled) {
  EmfBuilder b;
  b.Frame({0, 0, 1000, 1000}).Handles(1);
  const auto emf = b.RecordWords(EmfRecord::kMoveToEx, {0, 3}).RecordWords(EmfRecord::kLineTo, {16, 3}).Build();
  for (const Rect rect : {Rect{0, 0, 64, 0}, Rect{0, 0, 0, 64}, Rect{0, 0, 0, 0}}) {
    test::RenderedPage page = test::WhitePage(64, 64);
    TDeviceContext dc;
    dc.SelectSurface(&page.surface);
    ASSERT_TRUE(PlayEnhMetaFile(dc, emf.data(), emf.size(), rect));
    EXPECT_EQ(page.At(0, 3), 0);
    EXPECT_EQ(page.At(15, 3), 0);
    EXPECT_EQ(page.At(16, 3), 255);
    EXPECT_EQ(Count(page, 0), 16) << rect.right << " x " << rect.bottom;
  }
}

TEST(EmfPlayer, StretchDIBitsDrawsEveryUncompressedDepth) {
  // Top-right pixel red, the rest white, at each depth (bottom-up rows).
  struct Case {
    int bpp;
    std::vector<uint8_t> colors, pixels;
  };
  const std::vector<uint8_t> two_colors{255, 255, 255, 0, 0, 0, 255, 0};  // white, red (BGRA)
  const std::vector<Case> cases{
      {1, two_colors, {0x00, 0, 0, 0, 0x40, 0, 0, 0}},
      {4, two_colors, {0x00, 0, 0, 0, 0x01, 0, 0, 0}},
      {8, two_colors, {0, 0, 0, 0, 0, 1, 0, 0}},
      {24, {}, {255, 255, 255, 255, 255, 255, 0, 0, 255, 255, 255, 255, 0, 0, 255, 0}},
      {32, {}, {255, 255, 255, 0, 255, 255, 255, 0, 255, 255, 255, 0, 0, 0, 255, 0}},
  };
  for (const Case& c : cases) {
    // 24-bit rows: 6 bytes + 2 padding; the second (top) row holds the red pixel.
    std::vector<uint8_t> pixels = c.pixels;
    if (c.bpp == 24) pixels = {255, 255, 255, 255, 255, 255, 0, 0, 255, 255, 255, 0, 0, 255, 0, 0};
    const auto emf = Builder().Record(EmfRecord::kStretchDIBits, StretchDIBitsRecord(c.bpp, c.colors, pixels)).Build();
    const auto page = Play(emf);
    const uint8_t red = NearestHalftoneIndexForImagePixel(255, 0, 0);
    EXPECT_EQ(page.At(25, 12), red) << c.bpp;
    EXPECT_EQ(page.At(12, 12), 255) << c.bpp;
    EXPECT_EQ(page.At(25, 25), 255) << c.bpp;
    EXPECT_EQ(Count(page, red), 100) << c.bpp;
  }
}

TEST(EmfPlayer, RefusesDataThatIsNoMetafile) {
  TDeviceContext dc;
  const std::vector<uint8_t> junk(200, 0x41);
  EXPECT_FALSE(PlayEnhMetaFile(dc, junk.data(), junk.size(), {0, 0, 10, 10}));
  EXPECT_FALSE(PlayEnhMetaFile(dc, nullptr, 0, {0, 0, 10, 10}));
}

// Replaces the size field of the record that starts at offset.
void PatchSize(std::vector<uint8_t>& emf, size_t offset, uint32_t size) { StoreU32(emf.data() + offset + 4, size); }

TEST(EmfPlayer, RecordSizesThatAreZeroUnalignedOrTooLargeEndPlayback) {
  for (uint32_t bad : {0u, 4u, 14u, 0x7FFFFFF0u}) {
    auto emf = Builder()
                   .RecordWords(EmfRecord::kRectangle, {0, 0, 10, 10})
                   .RecordWords(EmfRecord::kRectangle, {20, 20, 30, 30})
                   .Build();
    PatchSize(emf, test::kEmfHeaderSize, bad);
    std::vector<std::string> log;
    PlaybackOptions options{true, [&](const std::string& line) { log.push_back(line); }};
    const auto page = Play(emf, options);
    EXPECT_EQ(Count(page, 0), 0) << bad;  // nothing after the damaged record
    EXPECT_FALSE(log.empty()) << bad;
  }
}

TEST(EmfPlayer, TruncatedRecordsAreSkippedWithoutReadingPastThem) {
  // A polygon that claims 1000 points in a 36-byte record, then a good rectangle.
  const auto emf = Builder()
                       .RecordWords(EmfRecord::kPolygon16, {0, 0, 10, 10, 1000, 0x00050005})
                       .RecordWords(EmfRecord::kRectangle, {20, 20, 30, 30})
                       .RecordWords(EmfRecord::kRectangle, {1, 1})  // too short for its type
                       .Build();
  std::vector<std::string> log;
  const auto page = Play(emf, {true, [&](const std::string& line) { log.push_back(line); }});
  EXPECT_EQ(page.At(20, 20), 0);
  EXPECT_EQ(page.At(1, 1), 255);
  ASSERT_EQ(log.size(), 2u);
  EXPECT_NE(log[0].find("EMR_POLYGON16"), std::string::npos);
}

// A record shorter than its type's minimum never reaches its handler: a
// brush created from a cut record would otherwise fill the rectangle.
TEST(EmfPlayer, RecordsBelowTheirMinimumSizeAreSkippedAndNamed) {
  const auto emf = Builder()
                       .RecordWords(EmfRecord::kCreateBrushIndirect, {1, BS_SOLID})  // colour and hatch cut off
                       .RecordWords(EmfRecord::kSelectObject, {1})
                       .RecordWords(EmfRecord::kRectangle, {10, 10, 20, 20})
                       .Build();
  std::vector<std::string> log;
  const auto page = Play(emf, {true, [&](const std::string& line) { log.push_back(line); }});
  EXPECT_EQ(page.At(15, 15), 255);  // the default white brush filled it
  ASSERT_EQ(log.size(), 2u);
  EXPECT_EQ(log[0], "EMR_CREATEBRUSHINDIRECT is too short; skipped");
  EXPECT_EQ(log[1], "SelectObject of an empty handle 1");
}

// Comments pass silently; records played as no-ops are named as such, and
// records we do not play as skipped, unknown types by number.
TEST(EmfPlayer, VerboseLogNamesUnplayedRecordsAndNoOpsButNotComments) {
  const auto emf = Builder()
                       .RecordWords(EmfRecord::kGdiComment, {0})
                       .RecordWords(EmfRecord::kSetMiterLimit, {10})
                       .RecordWords(EmfRecord::kExtFloodFill, {5, 5, 0, 1})
                       .RecordWords(200, {0})
                       .Build();
  std::vector<std::string> log;
  Play(emf, {true, [&](const std::string& line) { log.push_back(line); }});
  EXPECT_EQ(log, (std::vector<std::string>{"EMR_SETMITERLIMIT played as a no-op", "skipped EMR_EXTFLOODFILL",
                                           "skipped record type 200"}));
}

TEST(EmfPlayer, HugePolyPolygonCountsAreRefused) {
  // EMR_POLYPOLYGON16 with 0x40000000 polygons and 0xFFFFFFFF points.
  const auto emf = Builder().RecordWords(EmfRecord::kPolyPolygon16, {0, 0, 10, 10, 0x40000000, -1, 3, 0, 0}).Build();
  const auto page = Play(emf);
  EXPECT_EQ(Count(page, 255), 64 * 64);
}

TEST(EmfPlayer, BadHandleIndicesAreIgnored) {
  const auto emf = Builder()
                       .Record(EmfRecord::kCreateBrushIndirect, BrushRecord(1000, RGB(255, 0, 0)))  // beyond nHandles
                       .Record(EmfRecord::kCreateBrushIndirect, BrushRecord(0, RGB(255, 0, 0)))     // the metafile's slot
                       .RecordWords(EmfRecord::kSelectObject, {1000})
                       .RecordWords(EmfRecord::kSelectObject, {3})  // never created
                       .RecordWords(EmfRecord::kDeleteObject, {77777})            // DeleteObject out of range
                       .RecordWords(EmfRecord::kRectangle, {10, 10, 20, 20})
                       .Build();
  const auto page = Play(emf);
  EXPECT_EQ(page.At(15, 15), 255);  // still the white stock brush
  EXPECT_EQ(page.At(10, 10), 0);
}

TEST(EmfPlayer, StockObjectsSelectByTheHighBit) {
  const auto emf = Builder()
                       .RecordWords(EmfRecord::kSelectObject, {int32_t(0x80000000u | BLACK_BRUSH)})
                       .RecordWords(EmfRecord::kSelectObject, {int32_t(0x80000000u | NULL_PEN)})
                       .RecordWords(EmfRecord::kRectangle, {10, 10, 20, 20})
                       .Build();
  const auto page = Play(emf);
  EXPECT_EQ(Count(page, 0), 10 * 10);  // without a pen the advanced mode fills [10, 20)
}

TEST(EmfPlayer, UnbalancedRestoreDoesNotUndoThePlayersOwnState) {
  TDeviceContext dc;
  test::RenderedPage page = test::WhitePage(64, 64);
  dc.SelectSurface(&page.surface);
  dc.SetTextColor(RGB(1, 2, 3));
  const auto emf = Builder().Record(EmfRecord::kSaveDC).RecordWords(EmfRecord::kRestoreDC, {-5}).RecordWords(EmfRecord::kRestoreDC, {-1}).RecordWords(EmfRecord::kRestoreDC, {-1}).Build();
  EXPECT_TRUE(PlayEnhMetaFile(dc, emf.data(), emf.size(), {0, 0, 64, 64}));
  EXPECT_EQ(dc.TextColor(), RGB(1, 2, 3));
  EXPECT_FALSE(dc.RestoreDC(-1));  // the player left no saved level behind
}

TEST(EmfPlayer, IntersectClipRectClipsLaterDrawing) {
  const auto emf = Builder()
                       .RecordWords(EmfRecord::kIntersectClipRect, {0, 0, 15, 15})
                       .RecordWords(EmfRecord::kSelectObject, {int32_t(0x80000000u | BLACK_BRUSH)})
                       .RecordWords(EmfRecord::kRectangle, {5, 5, 40, 40})
                       .Build();
  const auto page = Play(emf);
  EXPECT_EQ(Count(page, 0), 10 * 10);
}

TEST(EmfPlayer, MetricMappingModesMeasureOnTheRecordingDevice) {
  // Recorded on a device of 10 pixels a millimetre; the 8 mm frame maps 1:1
  // onto the 80-pixel page, so 1 mm of MM_HIMETRIC is 10 pixels whatever the
  // screen's own size.
  EmfBuilder b;
  b.Device({1000, 1000}, {100, 100}).Frame({0, 0, 800, 800}).Bounds({0, 0, 79, 79}).Handles(1);
  const auto emf = b.RecordWords(EmfRecord::kSetMapMode, {MM_HIMETRIC})
                       .RecordWords(EmfRecord::kSelectObject, {int32_t(0x80000000u | BLACK_BRUSH)})
                       .RecordWords(EmfRecord::kRectangle, {100, -100, 500, -500})
                       .Build();
  const auto page = test::RenderEmf(emf);
  ASSERT_EQ(page.width, 80);
  EXPECT_EQ(page.At(10, 10), 0);
  EXPECT_EQ(page.At(30, 30), 0);
  EXPECT_EQ(page.At(9, 30), 255);
  EXPECT_EQ(page.At(52, 30), 255);
  EXPECT_GE(Count(page, 0), 40 * 40);
  EXPECT_LE(Count(page, 0), 41 * 41);
}

TEST(EmfPlayer, ArcToJoinsTheCurrentPositionAndMovesItToTheArcsEnd) {
  // A line runs from the current position to the arc's start, and the next
  // line starts where the arc ends on the ellipse, not at the radial point
  // (50, 20). Pixels checked against the reference drawing.
  const auto emf = Builder()
                       .RecordWords(EmfRecord::kMoveToEx, {2, 40})
                       .RecordWords(EmfRecord::kArcTo, {10, 10, 31, 31, 5, 20, 50, 20})
                       .RecordWords(EmfRecord::kLineTo, {55, 3})
                       .Build();
  const auto page = Play(emf);
  for (const auto& [x, y] : {std::pair{2, 39}, {5, 33}, {7, 27}, {8, 24}}) EXPECT_EQ(page.At(x, y), 0) << x << "," << y;
  for (const auto& [x, y] : {std::pair{15, 29}, {20, 30}, {30, 22}}) EXPECT_EQ(page.At(x, y), 0) << x << "," << y;
  for (const auto& [x, y] : {std::pair{35, 17}, {41, 13}, {49, 7}}) EXPECT_EQ(page.At(x, y), 0) << x << "," << y;
  // Nothing between the radial end point and the arc.
  for (int x = 32; x <= 50; ++x) EXPECT_EQ(page.At(x, 20), 255) << x;
}

TEST(EmfPlayer, ObjectsNumberedFromZeroAreUsed) {
  // Index 0 stands for the metafile, yet some writers create their first
  // object there and select it.
  const auto emf = Builder()
                       .RecordWords(EmfRecord::kCreateBrushIndirect, {0, BS_SOLID, 0, 0})
                       .RecordWords(EmfRecord::kSelectObject, {0})
                       .RecordWords(EmfRecord::kRectangle, {5, 5, 30, 30})
                       .Build();
  const auto page = Play(emf);
  EXPECT_EQ(page.At(15, 15), 0);
  EXPECT_EQ(Count(page, 0), 26 * 26);  // as the reference draws it
}

}  // namespace
}  // namespace vx::gdi
