#include "graphics/platform/text/glyph_layout.h"

#include <cmath>
#include <cstdlib>

#include "graphics/platform/geometry/stroke.h"

namespace vx::gdi {

namespace {

bool Rotates(const XForm& x) { return x.m12 != 0 || x.m21 != 0; }

}  // namespace

Point DeviceOffsetOf(const XForm& x, PointF logical, bool compatible_mode) {
  const PointF at = Apply(x, logical), origin = Apply(x, {0, 0});
  Point d{RoundDevice(at.x) - RoundDevice(origin.x), RoundDevice(at.y) - RoundDevice(origin.y)};
  if (compatible_mode && !Rotates(x)) {
    if (x.m11 < 0) d.x = -d.x;
    if (x.m22 < 0) d.y = -d.y;
  }
  return d;
}

int32_t RoundTripHeight(const XForm& x, int32_t device_length) {
  XForm inverse;
  if (!Invert(x, inverse)) return device_length;
  const int32_t logical = RoundDevice(device_length * std::fabs(inverse.m22));
  const PointF at = Apply(x, {0, double(logical)}), origin = Apply(x, {0, 0});
  return std::abs(RoundDevice(at.y) - RoundDevice(origin.y));
}

GlyphPens PlaceGlyphs(const TextLayoutRules& rules, const std::vector<GlyphAdvance>& advances,
                      const std::vector<int32_t>& extra_logical) {
  GlyphPens out;
  out.pens.reserve(advances.size());
  const XForm& x = rules.transform;
  const double angle = rules.escapement * M_PI / 1800.0;
  const double cos_e = rules.escapement == 0 ? 1 : std::cos(angle);
  const double sin_e = rules.escapement == 0 ? 0 : std::sin(angle);
  XForm inverse;
  const double to_logical = Invert(x, inverse) ? std::hypot(inverse.m11, inverse.m12) : 1.0;

  int64_t logical_x = 0, logical_y = 0;  // from the dx array and the spacing
  double measured = 0;                    // device length of the measured glyphs
  int64_t measured_count = 0;
  Point device{0, 0};                     // glyphs advancing by their device widths
  bool any_logical = false;
  Point pen{0, 0};
  for (size_t i = 0; i < advances.size(); ++i) {
    out.pens.push_back(pen);
    const GlyphAdvance& a = advances[i];
    if (a.logical) {
      logical_x += a.dx;
      logical_y -= a.dy;  // the y advances count upwards
      any_logical = true;
    } else if (rules.measure_device_advances) {
      measured += std::hypot(double(a.device.x), double(a.device.y));
      ++measured_count;
      any_logical = true;
    } else {
      device.x += a.device.x;
      device.y += a.device.y;
    }
    if (i < extra_logical.size() && extra_logical[i] != 0) {
      logical_x += extra_logical[i];
      any_logical = true;
    }
    if (!any_logical) {
      pen = device;
      continue;
    }
    // Measured widths go back into logical units as whole numbers, each
    // position from the start of the text.
    const double tx = double(logical_x) + (measured_count ? RoundDevice(measured * to_logical) : 0) +
                      double(measured_count) * rules.char_extra;
    const double ty = double(logical_y);
    PointF turned{tx, ty};
    // Under an escapement the turned advance is a whole logical point, cut
    // toward zero, before it is mapped.
    if (rules.escapement != 0)
      turned = {std::trunc(cos_e * tx + sin_e * ty), std::trunc(-sin_e * tx + cos_e * ty)};
    const Point offset = DeviceOffsetOf(x, turned, rules.compatible_mode);
    pen = {offset.x + device.x, offset.y + device.y};
  }
  out.end = pen;
  // The width alignment uses is the text's extent measured in logical units
  // and mapped back, also where the glyphs advance by their device widths.
  out.extent = pen;
  if (!any_logical && !advances.empty())
    out.extent = DeviceOffsetOf(
        x, {double(RoundDevice(std::hypot(double(device.x), double(device.y)) * to_logical)), 0}, rules.compatible_mode);
  return out;
}

}  // namespace vx::gdi
