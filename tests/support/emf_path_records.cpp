#include "support/emf_path_records.h"

#include "base/byte_reader.h"

namespace vx::test {

namespace {

EmfBuilder& Words(EmfBuilder& b, uint32_t type, const std::vector<int32_t>& words = {}) {
  return b.RecordWords(type, words);
}

std::vector<int32_t> NoBounds() { return {0, 0, 0, 0}; }

}  // namespace

EmfBuilder PathPage() {
  EmfBuilder b;
  b.Bounds({0, 0, 100, 100}).Frame({0, 0, 3125, 3125}).Handles(8);
  return b;
}

EmfBuilder& BeginPath(EmfBuilder& b) { return Words(b, 59); }
EmfBuilder& EndPath(EmfBuilder& b) { return Words(b, 60); }
EmfBuilder& CloseFigure(EmfBuilder& b) { return Words(b, 61); }
EmfBuilder& FillPath(EmfBuilder& b) { return Words(b, 62, NoBounds()); }
EmfBuilder& StrokeAndFillPath(EmfBuilder& b) { return Words(b, 63, NoBounds()); }
EmfBuilder& StrokePath(EmfBuilder& b) { return Words(b, 64, NoBounds()); }
EmfBuilder& FlattenPath(EmfBuilder& b) { return Words(b, 65); }
EmfBuilder& WidenPath(EmfBuilder& b) { return Words(b, 66); }
EmfBuilder& SelectClipPath(EmfBuilder& b, int32_t mode) { return Words(b, 67, {mode}); }
EmfBuilder& AbortPath(EmfBuilder& b) { return Words(b, 68); }

EmfBuilder& CreatePen(EmfBuilder& b, uint32_t index, uint32_t style, int32_t width, uint32_t color) {
  return Words(b, 38, {int32_t(index), int32_t(style), width, 0, int32_t(color)});
}
EmfBuilder& CreateSolidBrush(EmfBuilder& b, uint32_t index, uint32_t color) {
  return Words(b, 39, {int32_t(index), 0, int32_t(color), 0});
}
EmfBuilder& SelectObject(EmfBuilder& b, uint32_t index) { return Words(b, 37, {int32_t(index)}); }
EmfBuilder& SelectStockObject(EmfBuilder& b, uint32_t stock) {
  return Words(b, 37, {int32_t(0x80000000u | stock)});
}

EmfBuilder& SaveDC(EmfBuilder& b) { return Words(b, 33); }
EmfBuilder& RestoreDC(EmfBuilder& b, int32_t level) { return Words(b, 34, {level}); }
EmfBuilder& SetPolyFillMode(EmfBuilder& b, int32_t mode) { return Words(b, 19, {mode}); }
EmfBuilder& IntersectClipRect(EmfBuilder& b, int32_t l, int32_t t, int32_t r, int32_t bottom) {
  return Words(b, 30, {l, t, r, bottom});
}

EmfBuilder& MoveTo(EmfBuilder& b, int32_t x, int32_t y) { return Words(b, 27, {x, y}); }
EmfBuilder& LineTo(EmfBuilder& b, int32_t x, int32_t y) { return Words(b, 54, {x, y}); }
EmfBuilder& Rectangle(EmfBuilder& b, int32_t l, int32_t t, int32_t r, int32_t bottom) {
  return Words(b, 43, {l, t, r, bottom});
}

EmfBuilder& Polygon(EmfBuilder& b, const PointList& points) {
  std::vector<int32_t> words = NoBounds();
  words.push_back(int32_t(points.size()));
  for (const auto& [x, y] : points) {
    words.push_back(x);
    words.push_back(y);
  }
  return Words(b, 3, words);
}

EmfBuilder& AngleArc(EmfBuilder& b, int32_t x, int32_t y, uint32_t radius, float start, float sweep) {
  ByteWriter w;
  w.I32(x);
  w.I32(y);
  w.U32(radius);
  w.F32(start);
  w.F32(sweep);
  return b.Record(gdi::EmfRecord::kAngleArc, w.Bytes());
}

EmfBuilder& PolyDraw(EmfBuilder& b, const PointList& points, const std::vector<uint8_t>& types, bool sixteen_bit) {
  ByteWriter w;
  for (int32_t v : NoBounds()) w.I32(v);
  w.U32(uint32_t(points.size()));
  for (const auto& [x, y] : points) {
    if (sixteen_bit) {
      w.U16(uint16_t(int16_t(x)));
      w.U16(uint16_t(int16_t(y)));
    } else {
      w.I32(x);
      w.I32(y);
    }
  }
  for (uint8_t t : types) w.U8(t);
  return b.Record(sixteen_bit ? 92 : 56, w.Bytes());
}

}  // namespace vx::test
