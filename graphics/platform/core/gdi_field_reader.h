// Reading the graphics layer's value types from little-endian record fields.
#pragma once

#include "base/byte_reader.h"
#include "graphics/platform/core/gdi_types.h"

namespace vx::gdi {

inline Rect ReadRect(ByteReader& r) {
  Rect rect;
  rect.left = r.I32();
  rect.top = r.I32();
  rect.right = r.I32();
  rect.bottom = r.I32();
  return rect;
}

inline Point ReadPoint(ByteReader& r) {
  Point p;
  p.x = r.I32();
  p.y = r.I32();
  return p;
}

inline Size ReadSize(ByteReader& r) {
  Size s;
  s.cx = r.I32();
  s.cy = r.I32();
  return s;
}

}  // namespace vx::gdi
