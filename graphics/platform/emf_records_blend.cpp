// Blending, transparent, masked and parallelogram blits and gradient fills.
#include "graphics/platform/blit_mapping.h"
#include "graphics/platform/emf_playback.h"
#include "graphics/platform/emf_record_dib.h"

namespace vx::gdi {

namespace {

// The source bitmap fields shared by the bitmap records.
struct BitmapFields {
  uint32_t usage = 0, off_bmi = 0, cb_bmi = 0, off_bits = 0, cb_bits = 0;

  static BitmapFields Read(ByteReader& r) {
    BitmapFields f;
    f.usage = r.U32();
    f.off_bmi = r.U32();
    f.cb_bmi = r.U32();
    f.off_bits = r.U32();
    f.cb_bits = r.U32();
    return f;
  }
  bool Present() const { return cb_bmi != 0; }
  std::optional<DibImage> Image(const ByteReader& r) const {
    return RecordDib(r, off_bmi, cb_bmi, off_bits, cb_bits, usage);
  }
};

// The monochrome mask of EMR_MASKBLT and EMR_PLGBLT: origin, then the bitmap
// fields without a background colour.
struct MaskFields {
  Point origin;
  BitmapFields bitmap;
  static MaskFields Read(ByteReader& r) {
    MaskFields m;
    m.origin = ReadPoint(r);
    m.bitmap = BitmapFields::Read(r);
    return m;
  }
};

// EMR_ALPHABLEND and EMR_TRANSPARENTBLT share EMR_STRETCHBLT's layout; the
// raster operation's place holds the blend function or the colour.
struct StretchFields {
  Rect dest;
  uint32_t operation = 0;
  Point source_origin;
  XForm source_xform;
  BitmapFields bitmap;
  Size source_size;

  static StretchFields Read(ByteReader& r) {
    StretchFields f;
    ReadRect(r);  // bounds
    const Point d = ReadPoint(r);
    const Size ds = ReadSize(r);
    f.dest = {d.x, d.y, ds.cx, ds.cy};
    f.operation = r.U32();
    f.source_origin = ReadPoint(r);
    f.source_xform = ReadXForm(r);
    r.U32();  // background colour of the source
    f.bitmap = BitmapFields::Read(r);
    f.source_size = ReadSize(r);
    return f;
  }
  Rect SourceRect() const {
    return SourceRectInPixels(source_xform, {source_origin.x, source_origin.y, source_size.cx, source_size.cy});
  }
};

void AlphaBlend(Playback& p, ByteReader& r) {
  const StretchFields f = StretchFields::Read(r);
  if (!r.Ok()) return;
  const auto dib = f.bitmap.Image(r);
  if (!dib) return;
  BlendFunction blend;
  blend.op = uint8_t(f.operation);
  blend.flags = uint8_t(f.operation >> 8);
  blend.source_constant_alpha = uint8_t(f.operation >> 16);
  blend.alpha_format = uint8_t(f.operation >> 24);
  p.dc.AlphaBlend(f.dest, *dib, f.SourceRect(), blend);
}

void TransparentBlt(Playback& p, ByteReader& r) {
  const StretchFields f = StretchFields::Read(r);
  if (!r.Ok()) return;
  const auto dib = f.bitmap.Image(r);
  if (!dib) return;
  p.dc.TransparentBlt(f.dest, *dib, f.SourceRect(), f.operation);
}

void MaskBlt(Playback& p, ByteReader& r) {
  ReadRect(r);  // bounds
  const Point d = ReadPoint(r);
  const Size ds = ReadSize(r);
  const uint32_t rop4 = r.U32();
  const Point source_origin = ReadPoint(r);
  ReadXForm(r);
  r.U32();  // background colour of the source
  const BitmapFields source_fields = BitmapFields::Read(r);
  const MaskFields mask_fields = MaskFields::Read(r);
  if (!r.Ok()) return;
  std::optional<DibImage> source, mask;
  if (source_fields.Present() && !(source = source_fields.Image(r))) return;
  if (mask_fields.bitmap.Present() && !(mask = mask_fields.bitmap.Image(r))) return;
  p.dc.MaskBlt({d.x, d.y, ds.cx, ds.cy}, source ? &*source : nullptr, source_origin, mask ? &*mask : nullptr,
               mask_fields.origin, rop4);
}

void PlgBlt(Playback& p, ByteReader& r) {
  ReadRect(r);  // bounds
  Point corners[3];
  for (Point& c : corners) c = ReadPoint(r);
  const Rect source_rect = ReadRect(r);  // left, top, width, height
  ReadXForm(r);
  r.U32();  // background colour of the source
  const BitmapFields source_fields = BitmapFields::Read(r);
  const MaskFields mask_fields = MaskFields::Read(r);
  if (!r.Ok()) return;
  const auto source = source_fields.Image(r);
  if (!source) return;
  std::optional<DibImage> mask;
  if (mask_fields.bitmap.Present() && !(mask = mask_fields.bitmap.Image(r))) return;
  p.dc.PlgBlt(corners, *source, source_rect, mask ? &*mask : nullptr, mask_fields.origin);
}

void GradientFill(Playback& p, ByteReader& r) {
  ReadRect(r);  // bounds
  const uint32_t vertex_count = r.U32(), mesh_count = r.U32(), mode = r.U32();
  if (!r.Ok()) return;
  const uint64_t mesh_size = mode == GRADIENT_FILL_TRIANGLE ? 12 : 8;
  if (uint64_t(vertex_count) * 16 + uint64_t(mesh_count) * mesh_size > r.Remaining()) {
    r.Skip(r.Remaining() + 1);  // a count beyond the record: fails the reader
    return;
  }
  std::vector<TriVertex> vertices(vertex_count);
  for (TriVertex& v : vertices) {
    v.x = r.I32();
    v.y = r.I32();
    v.red = r.U16();
    v.green = r.U16();
    v.blue = r.U16();
    v.alpha = r.U16();
  }
  std::vector<GradientMesh> mesh(mesh_count);
  for (GradientMesh& m : mesh) {
    m.v[0] = r.U32();
    m.v[1] = r.U32();
    if (mode == GRADIENT_FILL_TRIANGLE) m.v[2] = r.U32();
  }
  if (!r.Ok()) return;
  p.dc.GradientFill(vertices, mesh, mode);
}

}  // namespace

RecordHandler FindBlendHandler(uint32_t type) {
  switch (type) {
    case 78: return MaskBlt;
    case 79: return PlgBlt;
    case 114: return AlphaBlend;
    case 116: return TransparentBlt;
    case 118: return GradientFill;
    default: return nullptr;
  }
}

}  // namespace vx::gdi
