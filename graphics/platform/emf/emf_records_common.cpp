#include <cmath>

#include "graphics/platform/emf/emf_playback.h"
#include "graphics/platform/geometry/stroke.h"

namespace vx::gdi {

std::vector<Point> ReadPoints(ByteReader& r, uint32_t count, bool sixteen_bit) {
  std::vector<Point> points;
  const uint64_t bytes = uint64_t(count) * (sixteen_bit ? 4 : 8);
  if (bytes > r.Remaining()) {
    r.Skip(r.Remaining() + 1);  // fails the reader
    return points;
  }
  points.resize(count);
  for (Point& p : points) {
    if (sixteen_bit) {
      p.x = r.I16();
      p.y = r.I16();
    } else {
      p.x = r.I32();
      p.y = r.I32();
    }
  }
  return points;
}

XForm ReadXForm(ByteReader& r) {
  XForm x;
  x.m11 = r.F32();
  x.m12 = r.F32();
  x.m21 = r.F32();
  x.m22 = r.F32();
  x.dx = r.F32();
  x.dy = r.F32();
  return x;
}

bool ReadRegion(ByteReader& r, uint32_t size, const XForm& xform, Region& out) {
  const size_t start = r.Offset();
  const uint32_t header_size = r.U32();
  r.U32();  // type
  const uint32_t count = r.U32();
  r.U32();  // size of the rectangles
  ReadRect(r);  // bounds
  if (!r.Ok() || header_size < 32 || size < header_size) return false;
  r.Seek(start + header_size);
  if (uint64_t(count) * 16 > size - header_size || uint64_t(count) * 16 > r.Remaining()) {
    r.Skip(r.Remaining() + 1);
    return false;
  }
  std::vector<Rect> rects;
  rects.reserve(count);
  for (uint32_t i = 0; i < count; ++i) {
    const Rect rc = ReadRect(r);
    const PointF a = Apply(xform, {double(rc.left), double(rc.top)});
    const PointF b = Apply(xform, {double(rc.right), double(rc.bottom)});
    const Point pa = RoundPoint(a), pb = RoundPoint(b);
    rects.push_back({std::min(pa.x, pb.x), std::min(pa.y, pb.y), std::max(pa.x, pb.x), std::max(pa.y, pb.y)});
  }
  out = Region::FromRects(rects);
  return r.Ok();
}

std::string EmfRecordName(uint32_t type) {
  static const char* const kNames[] = {
      "", "EMR_HEADER", "EMR_POLYBEZIER", "EMR_POLYGON", "EMR_POLYLINE", "EMR_POLYBEZIERTO",
      "EMR_POLYLINETO", "EMR_POLYPOLYLINE", "EMR_POLYPOLYGON", "EMR_SETWINDOWEXTEX",
      "EMR_SETWINDOWORGEX", "EMR_SETVIEWPORTEXTEX", "EMR_SETVIEWPORTORGEX", "EMR_SETBRUSHORGEX",
      "EMR_EOF", "EMR_SETPIXELV", "EMR_SETMAPPERFLAGS", "EMR_SETMAPMODE", "EMR_SETBKMODE",
      "EMR_SETPOLYFILLMODE", "EMR_SETROP2", "EMR_SETSTRETCHBLTMODE", "EMR_SETTEXTALIGN",
      "EMR_SETCOLORADJUSTMENT", "EMR_SETTEXTCOLOR", "EMR_SETBKCOLOR", "EMR_OFFSETCLIPRGN",
      "EMR_MOVETOEX", "EMR_SETMETARGN", "EMR_EXCLUDECLIPRECT", "EMR_INTERSECTCLIPRECT",
      "EMR_SCALEVIEWPORTEXTEX", "EMR_SCALEWINDOWEXTEX", "EMR_SAVEDC", "EMR_RESTOREDC",
      "EMR_SETWORLDTRANSFORM", "EMR_MODIFYWORLDTRANSFORM", "EMR_SELECTOBJECT", "EMR_CREATEPEN",
      "EMR_CREATEBRUSHINDIRECT", "EMR_DELETEOBJECT", "EMR_ANGLEARC", "EMR_ELLIPSE", "EMR_RECTANGLE",
      "EMR_ROUNDRECT", "EMR_ARC", "EMR_CHORD", "EMR_PIE", "EMR_SELECTPALETTE", "EMR_CREATEPALETTE",
      "EMR_SETPALETTEENTRIES", "EMR_RESIZEPALETTE", "EMR_REALIZEPALETTE", "EMR_EXTFLOODFILL",
      "EMR_LINETO", "EMR_ARCTO", "EMR_POLYDRAW", "EMR_SETARCDIRECTION", "EMR_SETMITERLIMIT",
      "EMR_BEGINPATH", "EMR_ENDPATH", "EMR_CLOSEFIGURE", "EMR_FILLPATH", "EMR_STROKEANDFILLPATH",
      "EMR_STROKEPATH", "EMR_FLATTENPATH", "EMR_WIDENPATH", "EMR_SELECTCLIPPATH", "EMR_ABORTPATH",
      "", "EMR_GDICOMMENT", "EMR_FILLRGN", "EMR_FRAMERGN", "EMR_INVERTRGN", "EMR_PAINTRGN",
      "EMR_EXTSELECTCLIPRGN", "EMR_BITBLT", "EMR_STRETCHBLT", "EMR_MASKBLT", "EMR_PLGBLT",
      "EMR_SETDIBITSTODEVICE", "EMR_STRETCHDIBITS", "EMR_EXTCREATEFONTINDIRECTW", "EMR_EXTTEXTOUTA",
      "EMR_EXTTEXTOUTW", "EMR_POLYBEZIER16", "EMR_POLYGON16", "EMR_POLYLINE16", "EMR_POLYBEZIERTO16",
      "EMR_POLYLINETO16", "EMR_POLYPOLYLINE16", "EMR_POLYPOLYGON16", "EMR_POLYDRAW16",
      "EMR_CREATEMONOBRUSH", "EMR_CREATEDIBPATTERNBRUSHPT", "EMR_EXTCREATEPEN", "EMR_POLYTEXTOUTA",
      "EMR_POLYTEXTOUTW", "EMR_SETICMMODE", "EMR_CREATECOLORSPACE", "EMR_SETCOLORSPACE",
      "EMR_DELETECOLORSPACE", "EMR_GLSRECORD", "EMR_GLSBOUNDEDRECORD", "EMR_PIXELFORMAT",
      "EMR_DRAWESCAPE", "EMR_EXTESCAPE", "", "EMR_SMALLTEXTOUT", "EMR_FORCEUFIMAPPING",
      "EMR_NAMEDESCAPE", "EMR_COLORCORRECTPALETTE", "EMR_SETICMPROFILEA", "EMR_SETICMPROFILEW",
      "EMR_ALPHABLEND", "EMR_SETLAYOUT", "EMR_TRANSPARENTBLT", "", "EMR_GRADIENTFILL",
      "EMR_SETLINKEDUFIS", "EMR_SETTEXTJUSTIFICATION", "EMR_COLORMATCHTOTARGETW",
      "EMR_CREATECOLORSPACEW"};
  if (type < sizeof(kNames) / sizeof(kNames[0]) && kNames[type][0] != '\0') return kNames[type];
  return "record type " + std::to_string(type);
}

}  // namespace vx::gdi
