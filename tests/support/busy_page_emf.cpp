#include "support/busy_page_emf.h"

#include "base/byte_reader.h"
#include "graphics/platform/core/blend_types.h"
#include "graphics/platform/core/gdi_objects.h"
#include "graphics/platform/core/gdi_types.h"
#include "support/emf_blend_records.h"
#include "support/emf_builder.h"

namespace vx::test {

namespace {

using gdi::EmfRecord;

constexpr uint32_t kHatched = 2;       // BS_HATCHED
constexpr uint32_t kDiagonalCross = 5;  // HS_DIAGCROSS
constexpr int32_t kDash = 1;           // PS_DASH

// An 8 x 8 one-bit pattern brush (blue and yellow checks of unequal size).
std::vector<uint8_t> PatternBrushRecord(uint32_t index) {
  const uint32_t header = 8 + 24;
  const uint32_t bmi = 40 + 8;
  ByteWriter w;
  w.U32(index);
  w.U32(0);  // DIB_RGB_COLORS
  w.U32(header);
  w.U32(bmi);
  w.U32(header + bmi);
  w.U32(8 * 4);
  w.U32(40);
  w.I32(8);
  w.I32(8);
  w.U16(1);
  w.U16(1);
  for (uint32_t v : {0u, 32u, 0u, 0u, 2u, 0u}) w.U32(v);
  for (uint8_t v : {0xFF, 0x00, 0x00, 0x00, 0x00, 0xFF, 0xFF, 0x00}) w.U8(v);  // blue, yellow
  for (uint8_t row : {0xF0, 0xF0, 0xE1, 0xC3, 0x87, 0x0F, 0x1E, 0x3C}) {
    w.U8(row);
    w.U8(0);
    w.U8(0);
    w.U8(0);
  }
  return w.Bytes();
}

// A 5 x 3 true-colour image stretched over 170 x 70 pixels at (110, 120).
std::vector<uint8_t> StretchedImageRecord() {
  const uint32_t header = 8 + 72;
  const uint32_t pixelBytes = 5 * 4 * 3;
  ByteWriter w;
  for (int32_t v : {110, 120, 279, 189}) w.I32(v);
  for (int32_t v : {110, 120, 0, 0, 5, 3}) w.I32(v);
  w.U32(header);
  w.U32(40);
  w.U32(header + 40);
  w.U32(pixelBytes);
  w.U32(0);  // DIB_RGB_COLORS
  w.U32(gdi::SRCCOPY);
  w.I32(170);
  w.I32(70);
  w.U32(40);
  w.I32(5);
  w.I32(3);
  w.U16(1);
  w.U16(32);
  for (int i = 0; i < 6; ++i) w.U32(0);
  for (int i = 0; i < 15; ++i) {
    w.U8(uint8_t(i * 17));        // blue
    w.U8(uint8_t(255 - i * 13));  // green
    w.U8(uint8_t(i * 29 % 256));  // red
    w.U8(0);
  }
  return w.Bytes();
}

}  // namespace

std::vector<uint8_t> BusyPageEmf() {
  EmfBuilder b;
  b.Bounds({0, 0, 299, 199}).Frame({0, 0, 9375, 6250}).Handles(6);
  b.RecordWords(EmfRecord::kSetBrushOrgEx, {3, 5});
  b.RecordWords(EmfRecord::kSetBkColor, {int32_t(gdi::RGB(0, 200, 0))});
  b.RecordWords(EmfRecord::kCreateBrushIndirect, {1, kHatched, int32_t(gdi::RGB(255, 0, 0)), kDiagonalCross});
  b.RecordWords(EmfRecord::kSelectObject, {1});
  b.RecordWords(EmfRecord::kRectangle, {10, 10, 140, 90});
  b.Record(EmfRecord::kCreateDIBPatternBrushPt, PatternBrushRecord(2));
  b.RecordWords(EmfRecord::kSelectObject, {2});
  b.RecordWords(EmfRecord::kEllipse, {150, 8, 290, 110});
  b.Record(EmfRecord::kGradientFill,
           GradientFillParameters({{5, 100, 0xFF00, 0x0000, 0x0000, 0}, {100, 150, 0x0000, 0x8000, 0xFF00, 0}},
                                  {{{0, 1, 0}}}, gdi::GRADIENT_FILL_RECT_H));
  b.Record(EmfRecord::kGradientFill,
           GradientFillParameters({{5, 152, 0xFF00, 0xFF00, 0x0000, 0}, {100, 197, 0x4000, 0x0000, 0x8000, 0}},
                                  {{{0, 1, 0}}}, gdi::GRADIENT_FILL_RECT_V));
  b.Record(EmfRecord::kGradientFill,
           GradientFillParameters({{200, 5, 0xFF00, 0, 0, 0}, {295, 60, 0, 0xFF00, 0, 0}, {180, 115, 0, 0, 0xFF00, 0}},
                                  {{{0, 1, 2}}}, gdi::GRADIENT_FILL_TRIANGLE));
  b.Record(EmfRecord::kStretchDIBits, StretchedImageRecord());
  b.RecordWords(EmfRecord::kCreatePen, {3, kDash, 1, 0, int32_t(gdi::RGB(128, 0, 128))});
  b.RecordWords(EmfRecord::kSelectObject, {3});
  b.RecordWords(EmfRecord::kMoveToEx, {0, 0});
  b.RecordWords(EmfRecord::kLineTo, {299, 199});
  b.RecordWords(EmfRecord::kCreatePen, {4, 0, 9, 0, int32_t(gdi::RGB(0, 64, 255))});
  b.RecordWords(EmfRecord::kSelectObject, {4});
  b.RecordWords(EmfRecord::kMoveToEx, {290, 5});
  b.RecordWords(EmfRecord::kLineTo, {15, 195});
  return b.Build();
}

}  // namespace vx::test
