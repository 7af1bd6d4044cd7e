// Paths of the device context: the bracket, the figures drawing calls add
// while it is open, and painting or clipping with the finished path.
#include <algorithm>
#include <cmath>

#include "graphics/platform/draw/polygon_region.h"
#include "graphics/platform/gdi/device_context.h"
#include "graphics/platform/geometry/stroke.h"

namespace vx::gdi {

namespace {

const Path kNoPath;

bool PenIsWide(const LogPen& pen, double device_width) {
  if ((pen.style & PS_STYLE_MASK) == PS_NULL) return false;
  if (pen.extended && (pen.style & PS_TYPE_MASK) == PS_GEOMETRIC) return true;
  return device_width > 1;
}

// The parameter angle of the ellipse point in the direction of p from the
// centre (ellipse points are (cx + rx cos a, cy - ry sin a)).
double EllipseAngle(PointF p, PointF c, double rx, double ry) {
  return std::atan2(-(p.y - c.y) / ry, (p.x - c.x) / rx);
}

// Béziers from pts[first] on, in triples, onto the open figure.
void AddBezierRun(Path& path, const std::vector<PointF>& pts, size_t first) {
  for (size_t i = first; i + 2 < pts.size(); i += 3) path.BezierTo(pts[i], pts[i + 1], pts[i + 2]);
}

std::vector<std::vector<Point>> RoundedFigures(const Path& path, const Rect& visible) {
  std::vector<std::vector<Point>> polys;
  for (const Path::Figure& figure : path.Figures(&visible)) {
    std::vector<Point> poly;
    poly.reserve(figure.points.size());
    for (const PointF& p : figure.points) poly.push_back(RoundPoint(p));
    polys.push_back(std::move(poly));
  }
  return polys;
}

}  // namespace

// --- helpers -------------------------------------------------------------------

Path& TDeviceContext::EditPath() {
  if (!state_.path) state_.path = std::make_shared<Path>();
  if (state_.path.use_count() == 1) return *state_.path;
  // Shared with a saved state: copy it, unless the saved states already hold
  // so many points that SaveDC between edits would multiply memory without
  // bound; such a path is dropped instead.
  size_t held = state_.path->Size();
  for (const State& saved : saved_)
    if (saved.path) held += saved.path->Size();
  state_.path = held <= kMaxHeldPathPoints ? std::make_shared<Path>(*state_.path) : std::make_shared<Path>();
  return *state_.path;
}

const Path& TDeviceContext::CurrentPath() const { return state_.path ? *state_.path : kNoPath; }

void TDeviceContext::ClearPath() {
  state_.path.reset();
  state_.path_open = false;
}

PointF TDeviceContext::PathPoint(Point logical) const {
  return Apply(LogicalToDevice(), {double(logical.x), double(logical.y)});
}

void TDeviceContext::PathStartAtCurrent() {
  Path& path = EditPath();
  if (!path.HasOpenFigure()) path.StartFigure(PathPoint(state_.current_position));
}

void TDeviceContext::PathAddLines(const std::vector<PointF>& device_points, bool from_current, bool close) {
  if (device_points.empty()) return;
  size_t i = 0;
  if (from_current) {
    PathStartAtCurrent();
  } else {
    EditPath().StartFigure(device_points[0]);
    i = 1;
  }
  Path& path = EditPath();
  for (; i < device_points.size(); ++i) path.LineTo(device_points[i]);
  if (close) path.CloseFigure();
}

void TDeviceContext::PathAddBeziers(const std::vector<PointF>& device_points, bool from_current) {
  if (device_points.empty()) return;
  size_t i = 0;
  if (from_current) {
    PathStartAtCurrent();
  } else {
    EditPath().StartFigure(device_points[0]);
    i = 1;
  }
  AddBezierRun(EditPath(), device_points, i);
}

// The frame an ellipse is built in: with an axis-aligned mapping the device
// box with its corners on the pixel grid (as the platform builds it), else
// logical space, whose curves then map point by point (an affine map of a
// Bézier is the Bézier of the mapped control points).
struct TDeviceContext::EllipseFrame {
  XForm to_device;  // identity in the device frame
  double left, top, right, bottom;
  bool mirrored;    // angles in the frame turn against the device's
};

TDeviceContext::EllipseFrame TDeviceContext::EllipseFrameOf(const Rect& rect) const {
  if (IsAxisAligned()) {
    const Rect box = DeviceRectOf(rect);
    return {XForm{}, double(box.left), double(box.top), double(box.right), double(box.bottom), false};
  }
  const XForm x = LogicalToDevice();
  return {x,
          double(std::min(rect.left, rect.right)),
          double(std::min(rect.top, rect.bottom)),
          double(std::max(rect.left, rect.right)),
          double(std::max(rect.top, rect.bottom)),
          x.m11 * x.m22 - x.m12 * x.m21 < 0};
}

void TDeviceContext::PathAddEllipse(const Rect& rect) {
  const EllipseFrame f = EllipseFrameOf(rect);
  const PointF c{(f.left + f.right) / 2, (f.top + f.bottom) / 2};
  std::vector<PointF> pts = ArcBeziers(c, (f.right - f.left) / 2, (f.bottom - f.top) / 2, 0,
                                       f.mirrored ? -2 * M_PI : 2 * M_PI);
  for (PointF& p : pts) p = Apply(f.to_device, p);
  PathAddBeziers(pts, false);
  EditPath().CloseFigure();
}

void TDeviceContext::PathAddRoundRect(const Rect& rect, Size corner) {
  const EllipseFrame f = EllipseFrameOf(rect);
  const XForm x = LogicalToDevice();
  // The corner ellipse's size follows the frame's units.
  const double cw = f.mirrored || !IsAxisAligned() ? std::fabs(double(corner.cx)) : std::fabs(corner.cx * x.m11);
  const double ch = f.mirrored || !IsAxisAligned() ? std::fabs(double(corner.cy)) : std::fabs(corner.cy * x.m22);
  const double l = f.left, r = f.right, t = f.top, b = f.bottom;
  const double rx = std::min(cw, r - l) / 2, ry = std::min(ch, b - t) / 2;
  // Counter-clockwise from the top of the right edge, one quarter ellipse
  // per corner joined by the straight edges.
  const PointF centres[4] = {{r - rx, t + ry}, {l + rx, t + ry}, {l + rx, b - ry}, {r - rx, b - ry}};
  const std::vector<PointF> first = ArcBeziers(centres[0], rx, ry, 0, M_PI / 2);
  EditPath().StartFigure(Apply(f.to_device, first[0]));
  Path& path = EditPath();
  for (int k = 0; k < 4; ++k) {
    std::vector<PointF> pts = ArcBeziers(centres[k], rx, ry, k * M_PI / 2, M_PI / 2);
    for (PointF& p : pts) p = Apply(f.to_device, p);
    path.LineTo(pts[0]);
    AddBezierRun(path, pts, 1);
  }
  path.CloseFigure();
}

void TDeviceContext::PathAddArc(const Rect& rect, Point start, Point end, ArcKind kind) {
  const EllipseFrame f = EllipseFrameOf(rect);
  const PointF c{(f.left + f.right) / 2, (f.top + f.bottom) / 2};
  const double rx = (f.right - f.left) / 2, ry = (f.bottom - f.top) / 2;
  if (rx <= 0 || ry <= 0) return;
  // The radial points in the frame's coordinates.
  XForm to_frame;
  if (!Invert(f.to_device, to_frame)) return;
  const XForm x = LogicalToDevice();
  const PointF s = Apply(to_frame, Apply(x, {double(start.x), double(start.y)}));
  const PointF e = Apply(to_frame, Apply(x, {double(end.x), double(end.y)}));
  const double a0 = EllipseAngle(s, c, rx, ry), a1 = EllipseAngle(e, c, rx, ry);
  bool ccw = state_.arc_direction == AD_COUNTERCLOCKWISE;
  if (f.mirrored) ccw = !ccw;
  double sweep = ccw ? a1 - a0 : a0 - a1;
  while (sweep <= 1e-12) sweep += 2 * M_PI;
  while (sweep > 2 * M_PI + 1e-12) sweep -= 2 * M_PI;
  std::vector<PointF> pts = ArcBeziers(c, rx, ry, a0, ccw ? sweep : -sweep);
  for (PointF& p : pts) p = Apply(f.to_device, p);
  if (kind == ArcKind::ArcTo) {
    PathStartAtCurrent();
    EditPath().LineTo(pts[0]);
    AddBezierRun(EditPath(), pts, 1);
    XForm to_logical;
    if (Invert(x, to_logical)) {
      const PointF arc_end = Apply(to_logical, pts.back());
      state_.current_position = {RoundDevice(arc_end.x), RoundDevice(arc_end.y)};
    }
    return;
  }
  if (kind == ArcKind::Pie) {
    PathAddLines({Apply(f.to_device, c), pts[0]}, false, false);
    AddBezierRun(EditPath(), pts, 1);
  } else {
    PathAddBeziers(pts, false);
  }
  if (kind != ArcKind::Arc) EditPath().CloseFigure();
}

void TDeviceContext::PathAddOutline(const GlyphOutline& outline, Point pen) {
  const auto at = [&](size_t i) { return PointF{outline.points[i].x + pen.x, outline.points[i].y + pen.y}; };
  Path& path = EditPath();
  for (size_t i = 0; i < outline.points.size(); ++i) {
    const uint8_t type = outline.types[i] & ~PT_CLOSEFIGURE;
    if (type == PT_MOVETO) {
      path.StartFigure(at(i));
    } else if (type == PT_BEZIERTO && i + 2 < outline.points.size()) {
      path.BezierTo(at(i), at(i + 1), at(i + 2));
      i += 2;
    } else {
      path.LineTo(at(i));
    }
    if (outline.types[i] & PT_CLOSEFIGURE) path.CloseFigure();
  }
}

Rect TDeviceContext::VisibleForPaths() const {
  if (target_->IsEmpty()) return {};
  // Wide enough for the pen's reach beyond the surface.
  const int32_t margin = int32_t(std::min(PenDeviceWidth(), 1e6)) + 2;
  return {-margin, -margin, target_->Width() + margin, target_->Height() + margin};
}

void TDeviceContext::FillFigures(const Path& path) {
  std::vector<std::vector<PointF>> polys;
  const Rect visible = VisibleForPaths();
  for (Path::Figure& figure : path.Figures(&visible))
    if (figure.points.size() >= 3) polys.push_back(std::move(figure.points));
  FillDevicePolygons(polys, state_.poly_fill_mode);
}

void TDeviceContext::StrokeFigures(const Path& path) {
  const Rect visible = VisibleForPaths();
  for (const Path::Figure& figure : path.Figures(&visible))
    if (figure.points.size() >= 2) StrokePolyline(figure.points, figure.closed);
}

// --- the bracket -------------------------------------------------------------------

bool TDeviceContext::BeginPath() {
  state_.path = std::make_shared<Path>();
  state_.path_open = true;
  return true;
}

bool TDeviceContext::EndPath() {
  if (!state_.path_open) return false;
  state_.path_open = false;
  EditPath().EndFigure();
  return true;
}

bool TDeviceContext::AbortPath() {
  ClearPath();
  return true;
}

bool TDeviceContext::CloseFigure() {
  if (!state_.path_open) return false;
  EditPath().CloseFigure();
  return true;
}

// --- using the path -------------------------------------------------------------------

bool TDeviceContext::FillPath() {
  if (!HasEndedPath()) return false;
  const std::shared_ptr<Path> path = state_.path;
  ClearPath();
  FillFigures(*path);
  return true;
}

bool TDeviceContext::StrokePath() {
  if (!HasEndedPath()) return false;
  const std::shared_ptr<Path> path = state_.path;
  ClearPath();
  StrokeFigures(*path);
  return true;
}

bool TDeviceContext::StrokeAndFillPath() {
  if (!HasEndedPath()) return false;
  Path closed = *state_.path;
  ClearPath();
  // Open figures are closed first, for the outline as for the fill.
  Path outline;
  const Rect visible = VisibleForPaths();
  for (const Path::Figure& figure : closed.Figures(&visible)) {
    outline.StartFigure(figure.points.front());
    for (size_t i = 1; i < figure.points.size(); ++i) outline.LineTo(figure.points[i]);
    outline.CloseFigure();
  }
  FillFigures(outline);
  StrokeFigures(outline);
  return true;
}

bool TDeviceContext::FlattenPath() {
  if (!HasEndedPath()) return false;
  state_.path = std::make_shared<Path>(state_.path->Flattened());
  return true;
}

bool TDeviceContext::WidenPath() {
  if (!HasEndedPath()) return false;
  const double width = PenDeviceWidth();
  if (!PenIsWide(state_.pen, width)) return false;
  // The widened outline as the pixels the pen covers, kept within a pixel of
  // the surface (nothing outside it can be painted), as one rectangle
  // figure per run of pixels.
  const Rect bounds = !target_->IsEmpty() ? Rect{-1, -1, target_->Width() + 1, target_->Height() + 1} : Rect{};
  Region covered;
  const Rect visible = VisibleForPaths();
  for (const Path::Figure& figure : state_.path->Figures(&visible))
    covered = covered.Union(WidenPolyline(figure.points, figure.closed, width, state_.pen.style, bounds));
  auto widened = std::make_shared<Path>();
  for (const Region::Band& band : covered.Bands())
    for (size_t i = 0; i + 1 < band.walls.size(); i += 2) {
      const double x0 = band.walls[i], x1 = band.walls[i + 1], y0 = band.top, y1 = band.bottom;
      widened->StartFigure({x0, y0});
      widened->LineTo({x1, y0});
      widened->LineTo({x1, y1});
      widened->LineTo({x0, y1});
      widened->CloseFigure();
    }
  state_.path = std::move(widened);
  return true;
}

bool TDeviceContext::SelectClipPath(int mode) {
  if (!HasEndedPath() || mode < RGN_AND || mode > RGN_COPY) return false;
  const Rect bounds = !target_->IsEmpty() ? Rect{0, 0, target_->Width(), target_->Height()} : Rect{};
  const Region region = PolygonRegion(RoundedFigures(*state_.path, VisibleForPaths()), state_.poly_fill_mode, bounds);
  ClearPath();
  ExtSelectClipRgn(&region, mode);
  return true;
}

// --- curves that draw or add to the path --------------------------------------------------

void TDeviceContext::AngleArc(Point center, uint32_t radius, float start_degrees, float sweep_degrees) {
  if (!std::isfinite(start_degrees) || !std::isfinite(sweep_degrees)) return;
  const double r = radius;
  const PointF c{double(center.x), double(center.y)};
  std::vector<PointF> pts =
      ArcBeziers(c, r, r, double(start_degrees) * M_PI / 180, double(sweep_degrees) * M_PI / 180);
  const PointF arc_end = pts.back();
  const XForm x = LogicalToDevice();
  for (PointF& p : pts) p = Apply(x, p);
  const bool drawing = !state_.path_open;
  // Outside a bracket the figure goes into a path of its own and is stroked.
  const std::shared_ptr<Path> saved = state_.path;
  if (drawing) state_.path = std::make_shared<Path>();
  PathStartAtCurrent();
  EditPath().LineTo(pts[0]);
  AddBezierRun(EditPath(), pts, 1);
  state_.current_position = {RoundDevice(arc_end.x), RoundDevice(arc_end.y)};
  if (!drawing) return;
  const std::shared_ptr<Path> figure = state_.path;
  state_.path = saved;
  StrokeFigures(*figure);
}

void TDeviceContext::PolyDraw(const std::vector<Point>& points, const std::vector<uint8_t>& types) {
  if (points.size() != types.size() || points.empty()) return;
  // The whole call fails on a bad type or an incomplete Bézier.
  for (size_t i = 0; i < types.size(); ++i) {
    const uint8_t type = types[i] & ~PT_CLOSEFIGURE;
    if (type == PT_MOVETO || type == PT_LINETO) continue;
    if (type != PT_BEZIERTO || i + 2 >= types.size() || (types[i + 1] & ~PT_CLOSEFIGURE) != PT_BEZIERTO ||
        (types[i + 2] & ~PT_CLOSEFIGURE) != PT_BEZIERTO)
      return;
    i += 2;
  }
  const bool drawing = !state_.path_open;
  const std::shared_ptr<Path> saved = state_.path;
  if (drawing) state_.path = std::make_shared<Path>();
  const std::vector<PointF> dev = ToDevice(points);
  for (size_t i = 0; i < points.size(); ++i) {
    const uint8_t type = types[i] & ~PT_CLOSEFIGURE;
    if (type == PT_MOVETO) {
      EditPath().EndFigure();
      state_.current_position = points[i];
      continue;
    }
    PathStartAtCurrent();
    if (type == PT_LINETO) {
      EditPath().LineTo(dev[i]);
    } else {
      EditPath().BezierTo(dev[i], dev[i + 1], dev[i + 2]);
      i += 2;
    }
    state_.current_position = points[i];
    if (types[i] & PT_CLOSEFIGURE) EditPath().CloseFigure();
  }
  if (!drawing) return;
  const std::shared_ptr<Path> figures = state_.path;
  state_.path = saved;
  StrokeFigures(*figures);
}

}  // namespace vx::gdi
