// Drawing operations of the device context: geometry to device space, then
// scan conversion and span writing.
#include <algorithm>
#include <cmath>

#include "graphics/platform/gdi/device_context.h"
#include "graphics/platform/geometry/dashes.h"
#include "graphics/platform/geometry/ellipse_outline.h"
#include "graphics/platform/raster/scan.h"
#include "graphics/platform/raster/span_writer.h"
#include "graphics/platform/geometry/stroke.h"

namespace vx::gdi {

namespace {

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
  if (!geometric || pen.width <= 1) return 1;
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

void TDeviceContext::FillDeviceRegion(const Region& region, const LogBrush& brush) {
  bool draws = false;
  const Paint paint = BrushPaint(brush, draws);
  if (!draws) return;
  const Region clip = EffectiveClip();
  SpanWriter(*target_, clip, state_.rop2, paint).FillRegion(region);
}

void TDeviceContext::FillSpansWithBrush(const std::vector<Span>& spans) {
  bool draws = false;
  const Paint paint = BrushPaint(state_.brush, draws);
  if (!draws) return;
  const Region clip = EffectiveClip();
  SpanWriter(*target_, clip, state_.rop2, paint).FillSpans(spans);
}

void TDeviceContext::FillDevicePolygons(const std::vector<std::vector<PointF>>& polygons, int fill_mode) {
  if (state_.brush.style == BS_NULL) return;
  std::vector<std::vector<Point>> polys;
  for (const auto& poly : polygons) polys.push_back(RoundAll(poly));
  FillSpansWithBrush(ScanPolygons(polys, fill_mode, {0, 0, target_->Width(), target_->Height()}));
}

void TDeviceContext::StrokePolyline(const std::vector<PointF>& device_points, bool closed) {
  const PenStroke& stroke = state_.pen_stroke;
  if (stroke.stroker == PenStroker::None || device_points.empty()) return;
  const Region clip = EffectiveClip();
  if (clip.IsEmpty()) return;
  const double width = stroke.stroker == PenStroker::Geometric ? PenDeviceWidth() : 1;
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
  SpanWriter(*target_, clip, state_.rop2, Paint::Solid(PenColor(state_.pen))).FillRegion(covered);
}

void TDeviceContext::StrokeOnePixel(const std::vector<PointF>& device_points, bool closed, const Region& clip) {
  const PenStroke& stroke = state_.pen_stroke;
  const Rect bounds = clip.Bounds();
  std::vector<Point> pts = RoundAll(device_points);
  if (closed && !pts.empty()) pts.push_back(pts.front());
  SpanWriter pen_writer(*target_, clip, state_.rop2, Paint::Solid(PenColor(state_.pen)));
  SpanWriter gap_writer(*target_, clip, state_.rop2, Paint::Solid(state_.bk_color));
  const bool opaque_gaps = state_.bk_mode == OPAQUE;
  int64_t position = 0;  // the dash pattern runs on across the segments
  for (size_t i = 0; i + 1 < pts.size(); ++i) {
    for (const LinePixel& px : ScanLine(pts[i], pts[i + 1], bounds)) {
      if (stroke.period == 0) {
        pen_writer.Pixel(px.x, px.y);
        continue;
      }
      int64_t phase = (position + px.step) % stroke.period;
      bool on = true;
      for (int32_t d : stroke.dashes) {
        if (phase < d) break;
        phase -= d;
        on = !on;
      }
      if (on) pen_writer.Pixel(px.x, px.y);
      else if (opaque_gaps) gap_writer.Pixel(px.x, px.y);
    }
    position += LineLength(pts[i], pts[i + 1]);
  }
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
  if ((state_.pen.style & PS_STYLE_MASK) == PS_INSIDEFRAME && width > 1) {
    const int32_t inset = int32_t(width) / 2;
    box = {box.left + inset, box.top + inset, box.right - inset, box.bottom - inset};
  }
  std::vector<Span> spans;
  const int32_t inner_left = pen && width <= 1 ? box.left + 1 : box.left;
  const int32_t inner_top = pen && width <= 1 ? box.top + 1 : box.top;
  for (int32_t y = std::max(inner_top, 0); y < std::min(box.bottom, target_->Height()); ++y)
    spans.push_back({y, inner_left, box.right});
  FillSpansWithBrush(spans);
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

void TDeviceContext::DrawOutlineShape(const std::vector<Point>& outline, const std::vector<Span>& interior,
                                      const Rect& box) {
  FillSpansWithBrush(interior);
  if (PenIsNull(state_.pen)) return;
  const double width = PenDeviceWidth();
  const Region clip = EffectiveClip();
  const Paint pen_paint = Paint::Solid(PenColor(state_.pen));
  if (width <= 1) {
    SpanWriter writer(*target_, clip, state_.rop2, pen_paint);
    for (const Point& p : outline) writer.Pixel(p.x, p.y);
    return;
  }
  // A wide pen covers a ring around the outline.
  const int32_t grow = int32_t(width) / 2;
  const int32_t shrink = int32_t(width) - grow;
  const EllipseShape outer = ScanEllipse({box.left - grow, box.top - grow, box.right + grow, box.bottom + grow});
  const EllipseShape inner = ScanEllipse({box.left + shrink, box.top + shrink, box.right - shrink, box.bottom - shrink});
  std::vector<Span> outer_spans = outer.interior, inner_spans = inner.interior;
  for (const Point& p : outer.outline) outer_spans.push_back({p.y, p.x, p.x + 1});
  for (const Point& p : inner.outline) inner_spans.push_back({p.y, p.x, p.x + 1});
  const Region ring = RegionFromSpans(outer_spans).Difference(RegionFromSpans(inner_spans));
  SpanWriter(*target_, clip, state_.rop2, pen_paint).FillRegion(ring);
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
  if (PenIsNull(state_.pen)) {
    box.right -= 1;
    box.bottom -= 1;
    const EllipseShape shape = ScanEllipse(box);
    std::vector<Span> spans = shape.interior;
    for (const Point& p : shape.outline) spans.push_back({p.y, p.x, p.x + 1});
    FillSpansWithBrush(RegionSpans(RegionFromSpans(spans)));
    return;
  }
  const EllipseShape shape = ScanEllipse(box);
  DrawOutlineShape(shape.outline, shape.interior, box);
}

std::vector<Span> TDeviceContext::RegionSpans(const Region& region) {
  std::vector<Span> spans;
  for (const Region::Band& band : region.Bands())
    for (int32_t y = band.top; y < band.bottom; ++y)
      for (size_t i = 0; i + 1 < band.walls.size(); i += 2) spans.push_back({y, band.walls[i], band.walls[i + 1]});
  return spans;
}

void TDeviceContext::RoundRect(const Rect& rect, Size corner) {
  if (state_.path_open) return PathAddRoundRect(rect, corner);
  const Rect box = DeviceRectOf(rect);
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
  // The corner ellipse's quadrants placed at the four corners.
  const std::vector<Point> path = EllipseOutlinePath(cw, ch);
  const int32_t w = box.Width(), h = box.Height();
  std::vector<Point> outline;
  for (const Point& p : path) {
    const int32_t dx = 2 * p.x >= cw - 1 ? w - cw : 0;
    const int32_t dy = 2 * p.y >= ch - 1 ? h - ch : 0;
    outline.push_back({box.left + p.x + dx, box.top + p.y + dy});
  }
  // The straight edges between the corners may be far longer than the surface:
  // only their pixels within a pixel of it matter (a vertical edge off to one
  // side still bounds its rows' interior, so it is limited in rows only).
  const Rect unbounded{INT32_MIN / 2, INT32_MIN / 2, INT32_MAX / 2, INT32_MAX / 2};
  const Rect rows_near_surface{unbounded.left, -1, unbounded.right, target_->Height() + 1};
  const Rect columns_near_surface{-1, unbounded.top, target_->Width() + 1, unbounded.bottom};
  std::vector<Point> pixels;
  for (size_t i = 0; i < outline.size(); ++i) {
    const Point a = outline[i], b = outline[(i + 1) % outline.size()];
    pixels.push_back(a);
    const Rect& bounds = a.x == b.x ? rows_near_surface : a.y == b.y ? columns_near_surface : unbounded;
    for (const LinePixel& lp : ScanLine(a, b, bounds))
      if (lp.step > 0) pixels.push_back({lp.x, lp.y});
  }
  // Interior: between the outline's innermost pixels on both sides per row.
  const int32_t cx2 = box.left + box.right - 1;
  std::vector<std::pair<int32_t, std::pair<int32_t, int32_t>>> rows;
  std::sort(pixels.begin(), pixels.end(), [](Point a, Point b) { return a.y != b.y ? a.y < b.y : a.x < b.x; });
  std::vector<Span> interior;
  for (size_t i = 0; i < pixels.size();) {
    const int32_t y = pixels[i].y;
    int32_t left = INT32_MIN, right = INT32_MAX;
    for (; i < pixels.size() && pixels[i].y == y; ++i) {
      if (2 * pixels[i].x <= cx2) left = std::max(left, pixels[i].x);
      if (2 * pixels[i].x >= cx2) right = std::min(right, pixels[i].x);
    }
    if (left != INT32_MIN && right != INT32_MAX && left + 1 < right) interior.push_back({y, left + 1, right});
  }
  if (PenIsNull(state_.pen)) {
    std::vector<Span> spans = interior;
    for (const Point& p : pixels) spans.push_back({p.y, p.x, p.x + 1});
    FillSpansWithBrush(RegionSpans(RegionFromSpans(spans)));
    return;
  }
  FillSpansWithBrush(interior);
  if (PenDeviceWidth() > 1) {
    std::vector<PointF> dev;
    for (const Point& p : outline) dev.push_back({double(p.x), double(p.y)});
    StrokePolyline(dev, true);
    return;
  }
  SpanWriter writer(*target_, EffectiveClip(), state_.rop2, Paint::Solid(PenColor(state_.pen)));
  for (const Point& p : pixels) writer.Pixel(p.x, p.y);
}

// --- arcs ------------------------------------------------------------------------

namespace {

// Angle of a point seen from the centre, counter-clockwise on screen, in [0, 2pi).
double ScreenAngle(double x, double y, double cx, double cy) {
  double a = std::atan2(cy - y, x - cx);
  if (a < 0) a += 2 * M_PI;
  return a;
}

}  // namespace

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
  const Rect box = DeviceRectOf(rect);
  const int64_t width = int64_t(box.right) - box.left, height = int64_t(box.bottom) - box.top;
  if (width <= 0 || height <= 0 || width > kMaxEllipseExtent || height > kMaxEllipseExtent) return;
  const PointF s = Apply(LogicalToDevice(), {double(start.x), double(start.y)});
  const PointF e = Apply(LogicalToDevice(), {double(end.x), double(end.y)});
  const double cx = (box.left + box.right - 1) / 2.0, cy = (box.top + box.bottom - 1) / 2.0;
  double a0 = ScreenAngle(s.x, s.y, cx, cy), a1 = ScreenAngle(e.x, e.y, cx, cy);
  // Device y grows downwards; a mirrored mapping turns the direction.
  bool ccw = state_.arc_direction == AD_COUNTERCLOCKWISE;
  const XForm x = LogicalToDevice();
  if (x.m11 * x.m22 < 0) ccw = !ccw;
  if (!ccw) std::swap(a0, a1);
  double sweep = a1 - a0;
  if (sweep <= 0) sweep += 2 * M_PI;
  const std::vector<Point> path = EllipseOutlinePath(box.Width(), box.Height());
  std::vector<Point> arc;
  // Walk the outline from the start angle for the sweep.
  size_t first = 0;
  double best = 1e9;
  for (size_t i = 0; i < path.size(); ++i) {
    const double a = ScreenAngle(path[i].x + box.left, path[i].y + box.top, cx, cy);
    double d = std::fabs(a - a0);
    d = std::min(d, 2 * M_PI - d);
    if (d < best) { best = d; first = i; }
  }
  for (size_t k = 0; k < path.size(); ++k) {
    const Point p = path[(first + k) % path.size()];
    const Point d{p.x + box.left, p.y + box.top};
    double a = ScreenAngle(d.x, d.y, cx, cy) - a0;
    if (a < -1e-9) a += 2 * M_PI;
    if (k > 0 && a > sweep + 1e-9) break;
    arc.push_back(d);
  }
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
  SpanWriter writer(*target_, EffectiveClip(), state_.rop2, Paint::Solid(PenColor(state_.pen)));
  for (const Point& p : arc) writer.Pixel(p.x, p.y);
}

void TDeviceContext::Arc(const Rect& rect, Point start, Point end) {
  if (state_.path_open) return PathAddArc(rect, start, end, ArcKind::Arc);
  ArcShape(rect, start, end, ArcKind::Arc);
}
void TDeviceContext::ArcTo(const Rect& rect, Point start, Point end) {
  if (state_.path_open) return PathAddArc(rect, start, end, ArcKind::ArcTo);
  ArcShape(rect, start, end, ArcKind::Arc);
  state_.current_position = end;
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
  const Region clip = EffectiveClip();
  SpanWriter(*target_, clip, R2_COPYPEN, Paint::Solid(ResolveColor(color))).Pixel(d.x, d.y);
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
  const Region clip = EffectiveClip();
  SpanWriter(*target_, clip, R2_NOT, Paint::Solid(0)).FillRegion(device_region);
}

}  // namespace vx::gdi
