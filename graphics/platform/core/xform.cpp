#include <cmath>

#include "graphics/platform/core/gdi_objects.h"

namespace vx::gdi {

XForm Combine(const XForm& a, const XForm& b) {
  XForm r;
  r.m11 = a.m11 * b.m11 + a.m12 * b.m21;
  r.m12 = a.m11 * b.m12 + a.m12 * b.m22;
  r.m21 = a.m21 * b.m11 + a.m22 * b.m21;
  r.m22 = a.m21 * b.m12 + a.m22 * b.m22;
  r.dx = a.dx * b.m11 + a.dy * b.m21 + b.dx;
  r.dy = a.dx * b.m12 + a.dy * b.m22 + b.dy;
  return r;
}

bool Invert(const XForm& x, XForm& inverse) {
  const double det = x.m11 * x.m22 - x.m12 * x.m21;
  if (det == 0 || !std::isfinite(det)) return false;
  inverse.m11 = x.m22 / det;
  inverse.m12 = -x.m12 / det;
  inverse.m21 = -x.m21 / det;
  inverse.m22 = x.m11 / det;
  inverse.dx = (x.m21 * x.dy - x.m22 * x.dx) / det;
  inverse.dy = (x.m12 * x.dx - x.m11 * x.dy) / det;
  return true;
}

}  // namespace vx::gdi
