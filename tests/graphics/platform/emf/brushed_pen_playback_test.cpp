// Geometric pens made with a hatched or pattern brush paint their pixels with
// that brush. The opaque hatched rows and the one-pixel pen's row were checked
// against the reference renderer's pictures of the same records (its hatch line
// sits one row higher, in the row its own hatch table puts it; ours follows the
// platform's recorded hashes). Where the reference keeps the gap colour of the
// first stroke (transparent mode, a later background colour), the platform's
// documented rule holds: gaps take the background colour current at the
// stroke, and none at all when the background mode is transparent.
#include <gtest/gtest.h>

#include <string>

#include "base/byte_reader.h"
#include "graphics/platform/raster/halftone_palette.h"
#include "graphics/support/emf_render.h"
#include "support/emf_builder.h"

namespace vx::gdi {
namespace {

using test::EmfBuilder;

constexpr uint32_t kWidePen = PS_GEOMETRIC | PS_SOLID | PS_ENDCAP_FLAT | PS_JOIN_MITER;

// EXTCREATEPEN with a brush and, for pattern brushes, the DIB after the
// fixed part.
std::vector<uint8_t> BrushedPen(uint32_t handle, int32_t width, uint32_t brush_style, ColorRef color,
                                uint32_t hatch, const std::vector<uint8_t>& dib = {}, uint32_t header_size = 0) {
  ByteWriter w;
  constexpr uint32_t kFixed = 52;  // offsets count from the record's start
  w.U32(handle);
  w.U32(dib.empty() ? 0 : kFixed);
  w.U32(header_size);
  w.U32(dib.empty() ? 0 : kFixed + header_size);
  w.U32(uint32_t(dib.size()) - header_size);
  w.U32(kWidePen);
  w.I32(width);
  w.U32(brush_style);
  w.U32(color);
  w.U32(hatch);
  w.U32(0);  // no style entries
  w.Append(dib.data(), dib.size());
  return w.Bytes();
}

// A 64 x 64 pixel picture at 96 dpi, one pixel per logical unit.
EmfBuilder Picture() {
  EmfBuilder b;
  b.Frame({0, 0, 1693, 1693}).Bounds({0, 0, 63, 63}).Device({960, 960}, {254, 254}).Handles(3);
  return b;
}

void Line(EmfBuilder& b, int32_t y) {
  b.RecordWords(EmfRecord::kMoveToEx, {4, y}).RecordWords(EmfRecord::kLineTo, {60, y});
}

// The row as 'r' (red), 'b' (blue), 'y' (yellow), '.' (white), '?' (other).
std::string Row(const test::RenderedPage& page, int32_t y) {
  const uint8_t red = NearestHalftoneIndex(RGB(255, 0, 0)), blue = NearestHalftoneIndex(RGB(0, 0, 255));
  const uint8_t yellow = NearestHalftoneIndex(RGB(255, 255, 0)), white = NearestHalftoneIndex(RGB(255, 255, 255));
  std::string s;
  for (int32_t x = 0; x < page.width; ++x) {
    const uint8_t p = page.At(x, y);
    s += p == red ? 'r' : p == blue ? 'b' : p == yellow ? 'y' : p == white ? '.' : '?';
  }
  return s;
}

std::string Repeat(const std::string& cell, size_t count) {
  std::string s;
  for (size_t i = 0; i < count; ++i) s += cell;
  return s;
}

// x 4..58 (the line ends a pixel short of 60 logical units, a hair under
// 60 pixels): the hatch's vertical line every 8 pixels from x = 4.
std::string Stroke(char line, char gap) {
  const std::string cell = std::string(1, line) + std::string(7, gap);
  return "...." + Repeat(cell, 7).substr(0, 55) + ".....";
}

TEST(BrushedPenPlayback, AWideHatchedPenPaintsTheHatchWithTheBackgroundInItsGaps) {
  EmfBuilder b = Picture();
  b.Record(EmfRecord::kExtCreatePen, BrushedPen(1, 8, BS_HATCHED, RGB(255, 0, 0), HS_CROSS))
      .RecordWords(EmfRecord::kSelectObject, {1})
      .RecordWords(EmfRecord::kSetBkMode, {OPAQUE})
      .RecordWords(EmfRecord::kSetBkColor, {int32_t(RGB(0, 0, 255))});
  Line(b, 10);
  const test::RenderedPage page = test::RenderEmf(b.Build());
  // The pen covers rows 6..13; the hatch's horizontal line is row 12.
  EXPECT_EQ(Row(page, 5), std::string(64, '.'));
  for (const int32_t y : {6, 7, 8, 9, 10, 11, 13}) EXPECT_EQ(Row(page, y), Stroke('r', 'b')) << y;
  EXPECT_EQ(Row(page, 12), "...." + std::string(55, 'r') + ".....");
  EXPECT_EQ(Row(page, 14), std::string(64, '.'));
}

TEST(BrushedPenPlayback, GapsTakeTheBackgroundOfEachStrokeAndNoneWhenTransparent) {
  EmfBuilder b = Picture();
  b.Record(EmfRecord::kExtCreatePen, BrushedPen(1, 8, BS_HATCHED, RGB(255, 0, 0), HS_CROSS))
      .RecordWords(EmfRecord::kSelectObject, {1})
      .RecordWords(EmfRecord::kSetBkMode, {OPAQUE})
      .RecordWords(EmfRecord::kSetBkColor, {int32_t(RGB(0, 0, 255))});
  Line(b, 10);
  b.RecordWords(EmfRecord::kSetBkMode, {TRANSPARENT});
  Line(b, 30);
  b.RecordWords(EmfRecord::kSetBkMode, {OPAQUE}).RecordWords(EmfRecord::kSetBkColor, {int32_t(RGB(255, 255, 0))});
  Line(b, 46);
  const test::RenderedPage page = test::RenderEmf(b.Build());
  EXPECT_EQ(Row(page, 9), Stroke('r', 'b'));
  EXPECT_EQ(Row(page, 29), Stroke('r', '.'));
  EXPECT_EQ(Row(page, 28), "...." + std::string(55, 'r') + ".....");
  EXPECT_EQ(Row(page, 45), Stroke('r', 'y'));
}

TEST(BrushedPenPlayback, AOnePixelGeometricHatchedPenShowsTheHatchAlongItsLine) {
  EmfBuilder b = Picture();
  b.Record(EmfRecord::kExtCreatePen, BrushedPen(1, 1, BS_HATCHED, RGB(255, 0, 0), HS_CROSS))
      .RecordWords(EmfRecord::kSelectObject, {1})
      .RecordWords(EmfRecord::kSetBkMode, {OPAQUE})
      .RecordWords(EmfRecord::kSetBkColor, {int32_t(RGB(0, 0, 255))});
  Line(b, 58);
  const test::RenderedPage page = test::RenderEmf(b.Build());
  // Logical row 58 lands on device row 57 (the picture is a hair under 64 px).
  EXPECT_EQ(Row(page, 57), Stroke('r', 'b'));
  EXPECT_EQ(Row(page, 56), std::string(64, '.'));
  EXPECT_EQ(Row(page, 58), std::string(64, '.'));
}

TEST(BrushedPenPlayback, ADibPatternPenShowsItsImage) {
  // An 8 x 8 1-bit image whose left half is colour 1 (red), right half colour 0 (blue).
  ByteWriter dib;
  dib.U32(40);
  dib.I32(8);
  dib.I32(8);
  dib.U16(1);
  dib.U16(1);
  for (int i = 0; i < 6; ++i) dib.U32(0);  // compression .. important colours
  const uint32_t header_size = 40 + 8;
  dib.U32(0x000000FF);  // colour 0: blue (as RGBQUAD: blue, green, red, 0)
  dib.U32(0x00FF0000);  // colour 1: red
  for (int row = 0; row < 8; ++row) dib.U32(0x000000F0);
  EmfBuilder b = Picture();
  b.Record(EmfRecord::kExtCreatePen,
           BrushedPen(1, 8, BS_DIBPATTERNPT, RGB(0, 0, 0), DIB_RGB_COLORS, dib.Bytes(), header_size))
      .RecordWords(EmfRecord::kSelectObject, {1});
  Line(b, 10);
  const test::RenderedPage page = test::RenderEmf(b.Build());
  const std::string expected = "...." + Repeat("bbbbrrrr", 7).substr(0, 55) + ".....";
  for (int32_t y = 6; y < 14; ++y) EXPECT_EQ(Row(page, y), expected) << y;
  EXPECT_EQ(Row(page, 14), std::string(64, '.'));
}

}  // namespace
}  // namespace vx::gdi
