// Blending, transparent, masked and parallelogram blits and gradient fills.
#include "graphics/platform/emf/emf_record_handlers.h"
#include "graphics/platform/emf/emf_record_dib.h"

namespace vx::gdi::play {

namespace {

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

}  // namespace

void AlphaBlend(Playback& p, ByteReader& r) {
  const BlitFields f = BlitFields::Read(r, true);
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
  const BlitFields f = BlitFields::Read(r, true);
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

}  // namespace vx::gdi::play
