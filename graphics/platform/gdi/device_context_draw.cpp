// Drawing operations of the device context: geometry to device space, then
// handed to the drawing layer with the clip, the raster operation and the
// pen's or brush's paint.
#include <algorithm>
#include <cmath>

#include "graphics/platform/draw/cosmetic_stroke.h"
#include "graphics/platform/draw/device_painter.h"
#include "graphics/platform/draw/ellipse_drawing.h"
#include "graphics/platform/draw/round_rect_pixels.h"
#include "graphics/platform/gdi/device_context.h"
#include "graphics/platform/geometry/dashes.h"
#include "graphics/platform/geometry/ellipse_outline.h"
#include "graphics/platform/geometry/stroke.h"

namespace vx::gdi {

namespace {

// Where the line from the rectangle's centre towards the radial point meets
// the ellipse inscribed in it (logical units); the rightmost point when the
// radial point is the centre.
PointF RadialOnEllipse(const Rect& rect, Point radial) {
  const double cx = (rect.left + rect.right) / 2.0, cy = (rect.top + rect.bottom) / 2.0;
  const double rx = std::abs(rect.right - rect.left) / 2.0, ry = std::abs(rect.bottom - rect.top) / 2.0;
  const double dx = radial.x - cx, dy = radial.y - cy;
  if (rx <= 0 || ry <= 0) return {cx, cy};
  const double reach = std::hypot(dx / rx, dy / ry);
  if (reach <= 0) return {cx + rx, cy};
  return {cx + dx / reach, cy + dy / reach};
}

bool PenIsNull(const LogPen& pen) { return (pen.style & PS_STYLE_MASK) == PS_NULL; }

ColorRef PenColor(const LogPen& pen) {
  if (pen.extended && pen.brush.style == BS_SOLID) return pen.brush.color;
  return pen.color;
}

std::vector<PointF> FlattenBeziers(const std::vector<PointF>& pts) {
  std::vector<PointF> out;
  if (pts.empty()) return out;
  // Control points are rounded to device pixels before the curve is flattened.
  std::vector<PointF> grid;
  for (const PointF& p : pts) grid.push_back(OnPixelGrid(p));
  out.push_back(grid[0]);
  for (size_t i = 0; i + 3 < grid.size(); i += 3)
    FlattenBezier(grid[i], grid[i + 1], grid[i + 2], grid[i + 3], out);
  return out;
}

std::vector<Point> RoundAll(const std::vector<PointF>& pts) {
  std::vector<Point> out;
  out.reserve(pts.size());
  for (const PointF& p : pts) out.push_back(RoundPoint(p));
  return out;
}

}  // namespace

// --- helpers -----------------------------------------------------------------

std::vector<PointF> TDeviceContext::ToDevice(const std::vector<Point>& points) const {
  const XForm x = LogicalToDevice();
  std::vector<PointF> out;
  out.reserve(points.size());
  for (const Point& p : points) out.push_back(Apply(x, {double(p.x), double(p.y)}));
  return out;
}

bool TDeviceContext::IsAxisAligned() const {
  const XForm x = LogicalToDevice();
  return x.m12 == 0 && x.m21 == 0;
}

double TDeviceContext::PenDeviceWidth() const {
  const LogPen& pen = state_.pen;
  const bool geometric = (pen.style & PS_TYPE_MASK) == PS_GEOMETRIC || !pen.extended;
  if (!geometric || pen.width <= 0) return 1;
  const XForm x = LogicalToDevice();
  const double w = std::hypot(pen.width * x.m11, pen.width * x.m12);
  return std::max(1.0, std::floor(w + 0.5));
}

Paint TDeviceContext::BrushPaint(const LogBrush& brush, bool& draws) const {
  draws = true;
  switch (brush.style) {
    case BS_NULL: draws = false; return {};
    case BS_HATCHED: {
      Paint p;
      p.kind = Paint::Kind::Hatch;
      p.hatch = brush.hatch;
      p.color = brush.color;
      p.background = state_.bk_color;
      p.opaque = state_.bk_mode == OPAQUE;
      p.origin = state_.brush_origin;
      if (brush.hatch > HS_DIAGCROSS) return Paint::Solid(p.color);
      return p;
    }
    case BS_DIBPATTERN:
    case BS_DIBPATTERNPT:
    case BS_PATTERN: {
      if (!brush.pattern) return Paint::Solid(brush.color);
      Paint p;
      p.kind = Paint::Kind::Pattern;
      p.origin = state_.brush_origin;
      const DibImage& img = *brush.pattern;
      p.pattern_width = img.Width();
      p.pattern_height = img.Height();
      p.pattern.resize(size_t(img.Width()) * size_t(img.Height()));
      for (int32_t y = 0; y < img.Height(); ++y)
        for (int32_t x = 0; x < img.Width(); ++x) {
          PaletteEntry c = img.Color(x, y);
          if (img.BitCount() == 1 && brush.style == BS_PATTERN) {
            const ColorRef col = img.Index(x, y) ? state_.bk_color : state_.text_color;
            c = {GetRValue(col), GetGValue(col), GetBValue(col)};
          }
          p.pattern[size_t(y) * img.Width() + x] = c;
        }
      return p;
    }
    default: return Paint::Solid(brush.color);
  }
}

std::optional<DevicePainter> TDeviceContext::BrushPainter(const LogBrush& brush) const {
  bool draws = false;
  const Paint paint = BrushPaint(brush, draws);
  if (!draws) return std::nullopt;
  return DevicePainter(*target_, EffectiveClip(), state_.rop2, paint);
}

// A geometric pen made by ExtCreatePen paints its pixels with its brush, so a
// hatched pen leaves its gaps in the background colour (or alone when the
// background mode is transparent) and a pattern pen shows its image.
Paint TDeviceContext::PenPaint() const {
  const LogPen& pen = state_.pen;
  const bool brushed = pen.brush.style == BS_HATCHED || pen.brush.style == BS_DIBPATTERN ||
                       pen.brush.style == BS_DIBPATTERNPT;
  if (pen.extended && (pen.style & PS_TYPE_MASK) == PS_GEOMETRIC && brushed) {
    bool draws = true;
    Paint paint = BrushPaint(pen.brush, draws);
    if (draws) return paint;
  }
  return Paint::Solid(PenColor(pen));
}

std::optional<DevicePainter> TDeviceContext::PenPainter() const {
  if (PenIsNull(state_.pen)) return std::nullopt;
  return DevicePainter(*target_, EffectiveClip(), state_.rop2, PenPaint());
}

void TDeviceContext::FillDeviceRegion(const Region& region, const LogBrush& brush) {
  if (std::optional<DevicePainter> painter = BrushPainter(brush)) painter->FillRegion(region);
}

void TDeviceContext::FillDevicePolygons(const std::vector<std::vector<PointF>>& polygons, int fill_mode) {
  std::optional<DevicePainter> painter = BrushPainter(state_.brush);
  if (!painter) return;
  std::vector<std::vector<Point>> polys;
  for (const auto& poly : polygons) polys.push_back(RoundAll(poly));
  painter->FillPolygons(polys, fill_mode);
}

bool TDeviceContext::WithinSettled(const std::vector<PointF>& device_points, double width) const {
  const Rect settled = target_->Settled();
  if (settled.IsEmpty()) return false;
  // No pixel of the stroke lies further out than a mitred join reaches.
  const double margin = 6 * std::max(width, 1.0) + 2;
  for (const PointF& p : device_points)
    if (!(p.x + margin < settled.right - 1 && p.y + margin < settled.bottom - 1)) return false;
  return true;
}

void TDeviceContext::StrokePolyline(const std::vector<PointF>& device_points, bool closed) {
  const PenStroke& stroke = state_.pen_stroke;
  if (stroke.stroker == PenStroker::None || device_points.empty()) return;
  const Region clip = EffectiveClip();
  if (clip.IsEmpty()) return;
  const double width = stroke.stroker == PenStroker::Geometric ? PenDeviceWidth() : 1;
  if (target_->ShowsOnlyChange() && WithinSettled(device_points, width)) return;
  if (width <= 1) return StrokeOnePixel(device_points, closed, clip);
  const std::vector<double> pattern = GeometricDashPattern(state_.pen, width);
  Region covered;
  if (pattern.empty()) {
    covered = WidenPolyline(device_points, closed, width, state_.pen.style, clip.Bounds());
  } else {
    // Dashes further out than a mitred join reaches cannot show.
    const Rect b = clip.Bounds();
    const int32_t margin = int32_t(std::min(6 * width + 2, 1e8));
    const Rect reach{b.left - margin, b.top - margin, b.right + margin, b.bottom + margin};
    // The pattern is laid along the line between whole device pixels.
    std::vector<PointF> rounded;
    rounded.reserve(device_points.size());
    for (const PointF& p : device_points) rounded.push_back(PointF{double(RoundDevice(p.x)), double(RoundDevice(p.y))});
    covered = WidenPolylines(CutIntoDashes(rounded, closed, pattern, reach), width, state_.pen.style, b);
  }
  DevicePainter(*target_, clip, state_.rop2, PenPaint()).FillRegion(covered);
}

void TDeviceContext::StrokeOnePixel(const std::vector<PointF>& device_points, bool closed, const Region& clip) {
  const PenStroke& stroke = state_.pen_stroke;
  std::vector<Point> pts = RoundAll(device_points);
  if (closed && !pts.empty()) pts.push_back(pts.front());
  DevicePainter pen(*target_, clip, state_.rop2, PenPaint());
  std::optional<DevicePainter> gaps;
  if (state_.bk_mode == OPAQUE) gaps.emplace(*target_, clip, state_.rop2, Paint::Solid(state_.bk_color));
  StrokeCosmeticPolyline(pts, {stroke.dashes, stroke.period}, pen, gaps ? &*gaps : nullptr);
}

// --- lines -------------------------------------------------------------------

void TDeviceContext::MoveTo(Point p) {
  state_.current_position = p;
  if (state_.path_open) EditPath().EndFigure();
}

void TDeviceContext::LineTo(Point p) {
  if (state_.path_open) {
    PathAddLines(ToDevice({p}), true, false);
    state_.current_position = p;
    return;
  }
  StrokePolyline(ToDevice({state_.current_position, p}), false);
  state_.current_position = p;
}

void TDeviceContext::Polyline(const std::vector<Point>& points) {
  if (points.size() < 2) return;
  if (state_.path_open) return PathAddLines(ToDevice(points), false, false);
  StrokePolyline(ToDevice(points), false);
}

void TDeviceContext::PolylineTo(const std::vector<Point>& points) {
  if (points.empty()) return;
  if (state_.path_open) {
    PathAddLines(ToDevice(points), true, false);
    state_.current_position = points.back();
    return;
  }
  std::vector<Point> all{state_.current_position};
  all.insert(all.end(), points.begin(), points.end());
  StrokePolyline(ToDevice(all), false);
  state_.current_position = points.back();
}

void TDeviceContext::PolyPolyline(const std::vector<std::vector<Point>>& polylines) {
  for (const auto& line : polylines) Polyline(line);
}

void TDeviceContext::PolyBezier(const std::vector<Point>& points) {
  if (points.size() < 4 || (points.size() - 1) % 3 != 0) return;
  if (state_.path_open) return PathAddBeziers(ToDevice(points), false);
  StrokePolyline(FlattenBeziers(ToDevice(points)), false);
}

void TDeviceContext::PolyBezierTo(const std::vector<Point>& points) {
  if (points.size() < 3 || points.size() % 3 != 0) return;
  if (state_.path_open) {
    PathAddBeziers(ToDevice(points), true);
    state_.current_position = points.back();
    return;
  }
  std::vector<Point> all{state_.current_position};
  all.insert(all.end(), points.begin(), points.end());
  StrokePolyline(FlattenBeziers(ToDevice(all)), false);
  state_.current_position = points.back();
}

// --- filled shapes -------------------------------------------------------------

void TDeviceContext::Polygon(const std::vector<Point>& points) {
  if (points.size() < 2) return;
  const std::vector<PointF> dev = ToDevice(points);
  if (state_.path_open) return PathAddLines(dev, false, true);
  FillDevicePolygons({dev}, state_.poly_fill_mode);
  StrokePolyline(dev, true);
}

void TDeviceContext::PolyPolygon(const std::vector<std::vector<Point>>& polygons) {
  std::vector<std::vector<PointF>> dev;
  for (const auto& poly : polygons) dev.push_back(ToDevice(poly));
  if (state_.path_open) {
    for (const auto& poly : dev)
      if (poly.size() >= 2) PathAddLines(poly, false, true);
    return;
  }
  FillDevicePolygons(dev, state_.poly_fill_mode);
  for (const auto& poly : dev)
    if (poly.size() >= 2) StrokePolyline(poly, true);
}

Rect TDeviceContext::DeviceBox(const Rect& logical) const {
  // The compatible mode leaves out the right and bottom edges; the advanced
  // mode (metafile playback) draws them.
  Rect r = DeviceRectOf(logical);
  if (state_.graphics_mode == GM_COMPATIBLE) {
    r.right -= 1;
    r.bottom -= 1;
  }
  return r;
}

Rect TDeviceContext::InsideFrame(const Rect& box, double pen_width, PenReach reach) const {
  if ((state_.pen.style & PS_STYLE_MASK) != PS_INSIDEFRAME || pen_width <= 1) return box;
  const int32_t width = int32_t(std::min(pen_width, 1e9));
  const int32_t near = width / 2, far = reach == PenReach::Ring ? width / 2 : (width - 1) / 2;
  return {box.left + near, box.top + near, box.right - far, box.bottom - far};
}

void TDeviceContext::Rectangle(const Rect& rect) {
  if (state_.path_open) {
    // Counter-clockwise from the top right (clockwise with AD_CLOCKWISE); the
    // compatible mode leaves out the right and bottom edges.
    std::vector<PointF> dev = ToDevice({{rect.right, rect.top}, {rect.left, rect.top},
                                        {rect.left, rect.bottom}, {rect.right, rect.bottom}});
    if (state_.graphics_mode == GM_COMPATIBLE && IsAxisAligned()) {
      const double right = std::max(dev[0].x, dev[1].x), bottom = std::max(dev[0].y, dev[2].y);
      for (PointF& p : dev) {
        if (p.x == right) p.x -= 1;
        if (p.y == bottom) p.y -= 1;
      }
    }
    if (state_.arc_direction == AD_CLOCKWISE) std::reverse(dev.begin() + 1, dev.end());
    return PathAddLines(dev, false, true);
  }
  if (!IsAxisAligned()) {
    const std::vector<Point> corners{{rect.left, rect.top}, {rect.right, rect.top},
                                     {rect.right, rect.bottom}, {rect.left, rect.bottom}};
    const std::vector<PointF> dev = ToDevice(corners);
    FillDevicePolygons({dev}, ALTERNATE);
    StrokePolyline(dev, true);
    return;
  }
  Rect box = DeviceBox(rect);  // inclusive corners of the outline
  if (box.right < box.left || box.bottom < box.top) return;
  const bool pen = !PenIsNull(state_.pen);
  const double width = pen ? PenDeviceWidth() : 0;
  box = InsideFrame(box, width, PenReach::Ring);
  const int32_t inner_left = pen && width <= 1 ? box.left + 1 : box.left;
  const int32_t inner_top = pen && width <= 1 ? box.top + 1 : box.top;
  if (std::optional<DevicePainter> brush = BrushPainter(state_.brush))
    brush->FillRect({inner_left, inner_top, box.right, box.bottom});
  if (!pen) return;
  // Where a styled pen's dashes fall depends on the outline's start and
  // direction: the compatible mode runs counter-clockwise from the top-right
  // corner (clockwise with AD_CLOCKWISE); the advanced mode draws the polygon
  // from the top-left corner clockwise.
  std::vector<PointF> outline;
  if (state_.graphics_mode == GM_COMPATIBLE) {
    outline = {{double(box.right), double(box.top)}, {double(box.left), double(box.top)},
               {double(box.left), double(box.bottom)}, {double(box.right), double(box.bottom)}};
    if (state_.arc_direction == AD_CLOCKWISE) std::reverse(outline.begin() + 1, outline.end());
  } else {
    outline = {{double(box.left), double(box.top)}, {double(box.right), double(box.top)},
               {double(box.right), double(box.bottom)}, {double(box.left), double(box.bottom)}};
  }
  StrokePolyline(outline, true);
}

void TDeviceContext::Ellipse(const Rect& rect) {
  if (state_.path_open) return PathAddEllipse(rect);
  if (!IsAxisAligned()) {
    // Rotated: an ellipse polygon in logical space.
    std::vector<Point> pts;
    const double cx = (rect.left + rect.right) / 2.0, cy = (rect.top + rect.bottom) / 2.0;
    const double rx = (rect.right - rect.left) / 2.0, ry = (rect.bottom - rect.top) / 2.0;
    std::vector<PointF> dev;
    const XForm x = LogicalToDevice();
    for (int i = 0; i < 128; ++i) {
      const double a = i * 2 * M_PI / 128;
      dev.push_back(Apply(x, {cx + rx * std::cos(a), cy + ry * std::sin(a)}));
    }
    FillDevicePolygons({dev}, ALTERNATE);
    StrokePolyline(dev, true);
    return;
  }
  Rect box = DeviceRectOf(rect);
  std::optional<DevicePainter> brush = BrushPainter(state_.brush);
  if (PenIsNull(state_.pen)) {
    // Without a pen the filled ellipse ends a pixel short on the right and bottom.
    box.right -= 1;
    box.bottom -= 1;
    if (brush) FillEllipse(*brush, box);
    return;
  }
  std::optional<DevicePainter> pen = PenPainter();
  const double width = PenDeviceWidth();
  DrawEllipse(InsideFrame(box, width, PenReach::Ring), brush ? &*brush : nullptr, &*pen, width);
}

void TDeviceContext::RoundRect(const Rect& rect, Size corner) {
  if (state_.path_open) return PathAddRoundRect(rect, corner);
  const Rect box = InsideFrame(DeviceRectOf(rect), PenDeviceWidth(), PenReach::Outline);
  const XForm x = LogicalToDevice();
  int32_t cw = std::min<int32_t>(std::abs(RoundDevice(corner.cx * x.m11)), box.Width());
  int32_t ch = std::min<int32_t>(std::abs(RoundDevice(corner.cy * x.m22)), box.Height());
  if (!IsAxisAligned()) {
    const std::vector<PointF> outline = RoundRectOutline(x, rect, corner);
    FillDevicePolygons({outline}, ALTERNATE);
    StrokePolyline(outline, true);
    return;
  }
  if (cw <= 1 || ch <= 1) {
    Rectangle(rect);
    return;
  }
  const RoundRectPixels shape = ScanRoundRect(box, {cw, ch}, {target_->Width(), target_->Height()});
  std::optional<DevicePainter> brush = BrushPainter(state_.brush);
  if (PenIsNull(state_.pen)) {
    if (brush) FillRoundRect(*brush, shape);
    return;
  }
  if (brush) FillRoundRectInterior(*brush, shape);
  if (PenDeviceWidth() > 1) {
    std::vector<PointF> dev;
    for (const Point& p : shape.outline) dev.push_back({double(p.x), double(p.y)});
    StrokePolyline(dev, true);
    return;
  }
  PenPainter()->FillPixels(shape.pixels);
}

// --- arcs ------------------------------------------------------------------------

void TDeviceContext::ArcShape(const Rect& rect, Point start, Point end, ArcKind kind) {
  if (!IsAxisAligned()) {
    // Rotated or sheared: the logical arc mapped point by point; the
    // direction holds on the logical plane.
    const std::vector<PointF> outline = EllipseArcOutline(
        LogicalToDevice(), rect, start, end, state_.arc_direction == AD_CLOCKWISE, kind);
    if (outline.empty()) return;
    const bool closed = kind != ArcKind::Arc;
    if (closed) FillDevicePolygons({outline}, ALTERNATE);
    StrokePolyline(outline, closed);
    return;
  }
  const Rect box = InsideFrame(DeviceRectOf(rect), PenDeviceWidth(), PenReach::Outline);
  const XForm x = LogicalToDevice();
  const PointF s = Apply(x, {double(start.x), double(start.y)});
  const PointF e = Apply(x, {double(end.x), double(end.y)});
  // Device y grows downwards; a mirrored mapping turns the direction.
  bool ccw = state_.arc_direction == AD_COUNTERCLOCKWISE;
  if (x.m11 * x.m22 < 0) ccw = !ccw;
  const std::optional<std::vector<Point>> pixels = EllipseArcPixels(box, s, e, ccw);
  if (!pixels) return;
  const std::vector<Point>& arc = *pixels;
  const double cx = (box.left + box.right - 1) / 2.0, cy = (box.top + box.bottom - 1) / 2.0;
  if (kind == ArcKind::Chord || kind == ArcKind::Pie) {
    std::vector<PointF> poly;
    for (const Point& p : arc) poly.push_back({double(p.x), double(p.y)});
    if (kind == ArcKind::Pie) poly.push_back({std::floor(cx + 0.5), std::floor(cy + 0.5)});
    FillDevicePolygons({poly}, ALTERNATE);
    StrokePolyline(poly, true);
    return;
  }
  if (PenIsNull(state_.pen)) return;
  if (PenDeviceWidth() > 1) {
    std::vector<PointF> poly;
    for (const Point& p : arc) poly.push_back({double(p.x), double(p.y)});
    StrokePolyline(poly, false);
    return;
  }
  PenPainter()->FillPixels(arc);
}

void TDeviceContext::Arc(const Rect& rect, Point start, Point end) {
  if (state_.path_open) return PathAddArc(rect, start, end, ArcKind::Arc);
  ArcShape(rect, start, end, ArcKind::Arc);
}
void TDeviceContext::ArcTo(const Rect& rect, Point start, Point end) {
  if (state_.path_open) return PathAddArc(rect, start, end, ArcKind::ArcTo);
  // A line joins the current position to where the arc starts, and the
  // arc's own end (not the radial's end point) becomes the current position.
  const XForm x = LogicalToDevice();
  const PointF from = Apply(x, {double(state_.current_position.x), double(state_.current_position.y)});
  const PointF to = Apply(x, RadialOnEllipse(rect, start));
  StrokePolyline({from, to}, false);
  ArcShape(rect, start, end, ArcKind::Arc);
  const PointF arc_end = RadialOnEllipse(rect, end);
  state_.current_position = {int32_t(std::lround(arc_end.x)), int32_t(std::lround(arc_end.y))};
}
void TDeviceContext::Chord(const Rect& rect, Point start, Point end) {
  if (state_.path_open) return PathAddArc(rect, start, end, ArcKind::Chord);
  ArcShape(rect, start, end, ArcKind::Chord);
}
void TDeviceContext::Pie(const Rect& rect, Point start, Point end) {
  if (state_.path_open) return PathAddArc(rect, start, end, ArcKind::Pie);
  ArcShape(rect, start, end, ArcKind::Pie);
}

// --- pixels and regions --------------------------------------------------------------

void TDeviceContext::SetPixelV(Point p, ColorRef color) {
  const Point d = LPtoDP(p);
  DevicePainter(*target_, EffectiveClip(), R2_COPYPEN, Paint::Solid(ResolveColor(color))).FillPixel(d);
}

void TDeviceContext::FillRgn(const Region& device_region, const LogBrush& brush) {
  LogBrush resolved = brush;
  resolved.color = ResolveColor(brush.color);
  FillDeviceRegion(device_region, resolved);
}

void TDeviceContext::FrameRgn(const Region& device_region, const LogBrush& brush, Size frame) {
  // The frame is the region minus the region shrunk by the frame size.
  Region inner = device_region;
  for (int32_t d = 1; d <= std::max(frame.cx, 0); ++d) {
    Region a = device_region, b = device_region;
    a.Offset(d, 0);
    b.Offset(-d, 0);
    inner = inner.Intersect(a).Intersect(b);
  }
  for (int32_t d = 1; d <= std::max(frame.cy, 0); ++d) {
    Region a = device_region, b = device_region;
    a.Offset(0, d);
    b.Offset(0, -d);
    inner = inner.Intersect(a).Intersect(b);
  }
  LogBrush resolved = brush;
  resolved.color = ResolveColor(brush.color);
  FillDeviceRegion(device_region.Difference(inner), resolved);
}

void TDeviceContext::InvertRgn(const Region& device_region) {
  DevicePainter(*target_, EffectiveClip(), R2_NOT, Paint::Solid(0)).FillRegion(device_region);
}

}  // namespace vx::gdi
