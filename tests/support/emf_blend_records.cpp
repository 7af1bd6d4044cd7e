#include "support/emf_blend_records.h"

#include "base/byte_reader.h"

namespace vx::test {

namespace {

std::vector<uint8_t> InfoHeader(int32_t width, int32_t height, int bits_per_pixel,
                                const std::vector<gdi::PaletteEntry>& colors) {
  ByteWriter w;
  w.U32(40);
  w.I32(width);
  w.I32(height);
  w.U16(1);
  w.U16(uint16_t(bits_per_pixel));
  w.U32(0);  // BI_RGB
  w.U32(0);
  w.I32(0);
  w.I32(0);
  w.U32(uint32_t(colors.size()));
  w.U32(0);
  for (const gdi::PaletteEntry& c : colors) {
    w.U8(c.b);
    w.U8(c.g);
    w.U8(c.r);
    w.U8(0);
  }
  return w.Bytes();
}

void PutXForm(ByteWriter& w) {
  for (float f : {1.0f, 0.0f, 0.0f, 1.0f, 0.0f, 0.0f}) w.F32(f);
}

void PutBitmapFields(ByteWriter& w, uint32_t offset, const TestBitmap* bitmap) {
  w.U32(0);  // DIB_RGB_COLORS
  w.U32(bitmap ? offset : 0);
  w.U32(bitmap ? uint32_t(bitmap->info.size()) : 0);
  w.U32(bitmap ? offset + uint32_t(bitmap->info.size()) : 0);
  w.U32(bitmap ? uint32_t(bitmap->bits.size()) : 0);
}

uint32_t SizeOf(const TestBitmap* bitmap) {
  return bitmap ? uint32_t(bitmap->info.size() + bitmap->bits.size()) : 0;
}

void Append(ByteWriter& w, const TestBitmap* bitmap) {
  if (bitmap == nullptr) return;
  w.Append(bitmap->info.data(), bitmap->info.size());
  w.Append(bitmap->bits.data(), bitmap->bits.size());
}

}  // namespace

gdi::DibImage TestBitmap::Image() const {
  return *gdi::DibImage::Parse(info.data(), info.size(), bits.data(), bits.size());
}

TestBitmap Bitmap32(int32_t width, const std::vector<std::vector<uint32_t>>& rows) {
  TestBitmap b;
  b.info = InfoHeader(width, int32_t(rows.size()), 32, {});
  ByteWriter w;
  for (auto row = rows.rbegin(); row != rows.rend(); ++row)
    for (uint32_t pixel : *row) w.U32(pixel);
  b.bits = w.Bytes();
  return b;
}

TestBitmap IndexedBitmap(int bits_per_pixel, const std::vector<gdi::PaletteEntry>& colors,
                         const std::vector<std::vector<uint8_t>>& rows) {
  TestBitmap b;
  const int32_t width = rows.empty() ? 0 : int32_t(rows[0].size());
  b.info = InfoHeader(width, int32_t(rows.size()), bits_per_pixel, colors);
  const size_t stride = (size_t(width) * bits_per_pixel + 31) / 32 * 4;
  for (auto row = rows.rbegin(); row != rows.rend(); ++row) {
    std::vector<uint8_t> line(stride, 0);
    for (size_t x = 0; x < row->size(); ++x) {
      const size_t bit = x * size_t(bits_per_pixel);
      line[bit / 8] |= uint8_t((*row)[x] << (8 - bits_per_pixel - bit % 8));
    }
    b.bits.insert(b.bits.end(), line.begin(), line.end());
  }
  return b;
}

uint32_t PackBlend(const gdi::BlendFunction& blend) {
  return uint32_t(blend.op) | uint32_t(blend.flags) << 8 | uint32_t(blend.source_constant_alpha) << 16 |
         uint32_t(blend.alpha_format) << 24;
}

std::vector<uint8_t> StretchLikeParameters(const gdi::Rect& dest, uint32_t operation, const gdi::Rect& source,
                                           const TestBitmap& bitmap) {
  constexpr uint32_t kFixed = 8 + 100;
  ByteWriter w;
  for (int i = 0; i < 4; ++i) w.I32(0);  // bounds
  for (int32_t v : {dest.left, dest.top, dest.right, dest.bottom}) w.I32(v);
  w.U32(operation);
  w.I32(source.left);
  w.I32(source.top);
  PutXForm(w);
  w.U32(0);  // background colour
  PutBitmapFields(w, kFixed, &bitmap);
  w.I32(source.right);
  w.I32(source.bottom);
  Append(w, &bitmap);
  return w.Bytes();
}

std::vector<uint8_t> MaskBltParameters(const gdi::Rect& dest, uint32_t rop4, gdi::Point source_origin,
                                       const TestBitmap* source, gdi::Point mask_origin, const TestBitmap* mask) {
  constexpr uint32_t kFixed = 8 + 120;
  ByteWriter w;
  for (int i = 0; i < 4; ++i) w.I32(0);  // bounds
  for (int32_t v : {dest.left, dest.top, dest.right, dest.bottom}) w.I32(v);
  w.U32(rop4);
  w.I32(source_origin.x);
  w.I32(source_origin.y);
  PutXForm(w);
  w.U32(0);  // background colour
  PutBitmapFields(w, kFixed, source);
  w.I32(mask_origin.x);
  w.I32(mask_origin.y);
  PutBitmapFields(w, kFixed + SizeOf(source), mask);
  Append(w, source);
  Append(w, mask);
  return w.Bytes();
}

std::vector<uint8_t> PlgBltParameters(const gdi::Point (&corners)[3], const gdi::Rect& source_rect,
                                      const TestBitmap& source, gdi::Point mask_origin, const TestBitmap* mask) {
  constexpr uint32_t kFixed = 8 + 132;
  ByteWriter w;
  for (int i = 0; i < 4; ++i) w.I32(0);  // bounds
  for (const gdi::Point& p : corners) {
    w.I32(p.x);
    w.I32(p.y);
  }
  for (int32_t v : {source_rect.left, source_rect.top, source_rect.right, source_rect.bottom}) w.I32(v);
  PutXForm(w);
  w.U32(0);  // background colour
  PutBitmapFields(w, kFixed, &source);
  w.I32(mask_origin.x);
  w.I32(mask_origin.y);
  PutBitmapFields(w, kFixed + SizeOf(&source), mask);
  Append(w, &source);
  Append(w, mask);
  return w.Bytes();
}

std::vector<uint8_t> GradientFillParameters(const std::vector<gdi::TriVertex>& vertices,
                                            const std::vector<gdi::GradientMesh>& mesh, uint32_t mode) {
  ByteWriter w;
  for (int i = 0; i < 4; ++i) w.I32(0);  // bounds
  w.U32(uint32_t(vertices.size()));
  w.U32(uint32_t(mesh.size()));
  w.U32(mode);
  for (const gdi::TriVertex& v : vertices) {
    w.I32(v.x);
    w.I32(v.y);
    w.U16(v.red);
    w.U16(v.green);
    w.U16(v.blue);
    w.U16(v.alpha);
  }
  for (const gdi::GradientMesh& m : mesh) {
    w.U32(m.v[0]);
    w.U32(m.v[1]);
    if (mode == gdi::GRADIENT_FILL_TRIANGLE) w.U32(m.v[2]);
  }
  return w.Bytes();
}

}  // namespace vx::test
