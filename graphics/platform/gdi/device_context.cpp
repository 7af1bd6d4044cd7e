#include "graphics/platform/gdi/device_context.h"

#include <algorithm>
#include <cmath>

#include "base/arith.h"
#include "graphics/platform/gdi/palette_colors.h"
#include "graphics/platform/raster/halftone_palette.h"
#include "graphics/platform/raster/pixel_targets.h"

namespace vx::gdi {

TDeviceContext::TDeviceContext()
    : ref_pixels_{ScreenDeviceCaps(HORZRES), ScreenDeviceCaps(VERTRES)},
      ref_mm_{ScreenDeviceCaps(HORZSIZE), ScreenDeviceCaps(VERTSIZE)} {
  SelectBrush(LogBrush{BS_SOLID, RGB(255, 255, 255), 0, nullptr});
  LogPen pen{PS_SOLID, 0, RGB(0, 0, 0), {}, false};
  pen.brush.color = RGB(0, 0, 0);
  SelectPen(pen);
}

TDeviceContext::~TDeviceContext() = default;

void TDeviceContext::SelectSurface(PixelSurface8* surface) {
  surface_ = surface;
  surface_target_ = surface != nullptr ? MakeHalftoneTarget(*surface) : nullptr;
  target_ = surface_target_ ? surface_target_.get() : &NullPixelTarget();
}

void TDeviceContext::SelectTarget(PixelTarget* target) {
  surface_ = nullptr;
  surface_target_.reset();
  target_ = target != nullptr ? target : &NullPixelTarget();
}

int TDeviceContext::GetDeviceCaps(int index) const { return ScreenDeviceCaps(index); }

void TDeviceContext::FillSolidRect(const Rect& rect, ColorRef color) {
  const Rect r{std::max(rect.left, 0), std::max(rect.top, 0), std::min(rect.right, target_->Width()),
               std::min(rect.bottom, target_->Height())};
  if (r.IsEmpty()) return;
  const PixelPaint paint = PixelPaint::Solid(target_->PixelOfColor(color));
  for (int32_t y = r.top; y < r.bottom; ++y) target_->FillRun(y, r.left, r.right, R2_COPYPEN, paint);
}

void TDeviceContext::SelectBackgroundPalette(const std::vector<PaletteEntry>& entries) {
  background_palette_ = entries;
  SelectPalette(entries);
}

// --- palette colours -------------------------------------------------------

void TDeviceContext::SelectPalette(const std::vector<PaletteEntry>& entries) {
  state_.palette = entries.empty() ? nullptr : std::make_shared<const std::vector<PaletteEntry>>(entries);
  ResolveSelectedColors();
}

const std::vector<PaletteEntry>& TDeviceContext::SelectedPalette() const {
  return state_.palette ? *state_.palette : DefaultPaletteEntries();
}

ColorRef TDeviceContext::ResolveColor(ColorRef color) const {
  return ResolvePaletteColor(color, SelectedPalette());
}

void TDeviceContext::ResolveSelectedColors() {
  state_.pen = state_.pen_request;
  state_.pen.color = ResolveColor(state_.pen.color);
  state_.pen.brush.color = ResolveColor(state_.pen.brush.color);
  state_.brush = state_.brush_request;
  state_.brush.color = ResolveColor(state_.brush.color);
  state_.text_color = ResolveColor(state_.text_request);
  state_.bk_color = ResolveColor(state_.bk_request);
}

void TDeviceContext::SelectPen(const LogPen& pen) {
  state_.pen_request = pen;
  state_.pen = pen;
  state_.pen.color = ResolveColor(pen.color);
  state_.pen.brush.color = ResolveColor(pen.brush.color);
  state_.pen_stroke = ChoosePenStroke(pen);
}

void TDeviceContext::SelectBrush(const LogBrush& brush) {
  state_.brush_request = brush;
  state_.brush = brush;
  state_.brush.color = ResolveColor(brush.color);
}

// --- save stack ----------------------------------------------------------

int TDeviceContext::SaveDC() {
  saved_.push_back(state_);
  return static_cast<int>(saved_.size());
}

bool TDeviceContext::RestoreDC(int level) {
  const int depth = static_cast<int>(saved_.size());
  const int target = level < 0 ? depth + level + 1 : level;  // the level to return to
  if (level == 0 || target < 1 || target > depth) return false;
  state_ = saved_[size_t(target - 1)];
  saved_.resize(size_t(target - 1));
  return true;
}

// --- mapping ---------------------------------------------------------------

void TDeviceContext::SetReferenceDevice(Size pixels, Size millimeters) {
  if (pixels.cx <= 0 || pixels.cy <= 0 || millimeters.cx <= 0 || millimeters.cy <= 0) return;
  ref_pixels_ = pixels;
  ref_mm_ = millimeters;
  if (state_.map_mode != MM_TEXT && state_.map_mode < MM_ISOTROPIC) SetMapMode(state_.map_mode);
}

int TDeviceContext::SetMapMode(int mode) {
  if (mode < MM_TEXT || mode > MM_ANISOTROPIC) return 0;
  const int previous = state_.map_mode;
  // Logical units per millimetre, tenfold or hundredfold, against device pixels.
  auto metric = [&](int32_t wx, int32_t wy) {
    state_.window_ext = {wx, wy};
    state_.viewport_ext = {ref_pixels_.cx, -ref_pixels_.cy};
  };
  switch (mode) {
    case MM_TEXT:
      state_.window_ext = {1, 1};
      state_.viewport_ext = {1, 1};
      break;
    case MM_LOMETRIC: metric(ref_mm_.cx * 10, ref_mm_.cy * 10); break;
    case MM_HIMETRIC: metric(ref_mm_.cx * 100, ref_mm_.cy * 100); break;
    case MM_LOENGLISH: metric(MulDiv(ref_mm_.cx, 1000, 254), MulDiv(ref_mm_.cy, 1000, 254)); break;
    case MM_HIENGLISH: metric(MulDiv(ref_mm_.cx, 10000, 254), MulDiv(ref_mm_.cy, 10000, 254)); break;
    case MM_TWIPS: metric(MulDiv(ref_mm_.cx, 14400, 254), MulDiv(ref_mm_.cy, 14400, 254)); break;
    case MM_ISOTROPIC:
      state_.window_ext = {ref_mm_.cx * 10, ref_mm_.cy * 10};
      state_.viewport_ext = {ref_pixels_.cx, -ref_pixels_.cy};
      break;
    default: break;  // MM_ANISOTROPIC keeps the extents
  }
  state_.map_mode = mode;
  return previous;
}

void TDeviceContext::SetWindowOrg(Point org) { state_.window_org = org; }
void TDeviceContext::SetViewportOrg(Point org) { state_.viewport_org = org; }

bool TDeviceContext::SetWindowExt(Size ext) {
  if (state_.map_mode != MM_ISOTROPIC && state_.map_mode != MM_ANISOTROPIC) return false;
  if (ext.cx == 0 || ext.cy == 0) return false;
  state_.window_ext = ext;
  if (state_.map_mode == MM_ISOTROPIC) FixIsotropic();
  return true;
}

bool TDeviceContext::SetViewportExt(Size ext) {
  if (state_.map_mode != MM_ISOTROPIC && state_.map_mode != MM_ANISOTROPIC) return false;
  if (ext.cx == 0 || ext.cy == 0) return false;
  state_.viewport_ext = ext;
  if (state_.map_mode == MM_ISOTROPIC) FixIsotropic();
  return true;
}

bool TDeviceContext::ScaleWindowExt(int32_t xnum, int32_t xdenom, int32_t ynum, int32_t ydenom) {
  if (state_.map_mode != MM_ISOTROPIC && state_.map_mode != MM_ANISOTROPIC) return false;
  if (xdenom == 0 || ydenom == 0) return false;
  const Size ext{int32_t(int64_t(state_.window_ext.cx) * xnum / xdenom),
                 int32_t(int64_t(state_.window_ext.cy) * ynum / ydenom)};
  if (ext.cx == 0 || ext.cy == 0) return false;
  state_.window_ext = ext;
  if (state_.map_mode == MM_ISOTROPIC) FixIsotropic();
  return true;
}

bool TDeviceContext::ScaleViewportExt(int32_t xnum, int32_t xdenom, int32_t ynum, int32_t ydenom) {
  if (state_.map_mode != MM_ISOTROPIC && state_.map_mode != MM_ANISOTROPIC) return false;
  if (xdenom == 0 || ydenom == 0) return false;
  const Size ext{int32_t(int64_t(state_.viewport_ext.cx) * xnum / xdenom),
                 int32_t(int64_t(state_.viewport_ext.cy) * ynum / ydenom)};
  if (ext.cx == 0 || ext.cy == 0) return false;
  state_.viewport_ext = ext;
  if (state_.map_mode == MM_ISOTROPIC) FixIsotropic();
  return true;
}

// Isotropic mode shrinks one viewport extent so that a logical unit has the
// same physical size in both directions.
void TDeviceContext::FixIsotropic() {
  Size& w = state_.window_ext;
  Size& v = state_.viewport_ext;
  const double xdim = std::fabs(double(v.cx) * ref_mm_.cx / (double(ref_pixels_.cx) * w.cx));
  const double ydim = std::fabs(double(v.cy) * ref_mm_.cy / (double(ref_pixels_.cy) * w.cy));
  if (xdim > ydim) {
    const int32_t sign = (v.cx < 0) ? -1 : 1;
    v.cx = sign * int32_t(std::floor(std::fabs(v.cx) * ydim / xdim + 0.5));
    if (v.cx == 0) v.cx = sign;
  } else if (xdim < ydim) {
    const int32_t sign = (v.cy < 0) ? -1 : 1;
    v.cy = sign * int32_t(std::floor(std::fabs(v.cy) * xdim / ydim + 0.5));
    if (v.cy == 0) v.cy = sign;
  }
}

int TDeviceContext::SetGraphicsMode(int mode) {
  if (mode != GM_COMPATIBLE && mode != GM_ADVANCED) return 0;
  const int previous = state_.graphics_mode;
  state_.graphics_mode = mode;
  return previous;
}

bool TDeviceContext::SetWorldTransform(const XForm& xform) {
  if (xform.m11 * xform.m22 - xform.m12 * xform.m21 == 0) return false;
  state_.world = xform;
  return true;
}

bool TDeviceContext::ModifyWorldTransform(const XForm& xform, int mode) {
  switch (mode) {
    case MWT_IDENTITY: state_.world = XForm{}; return true;
    case MWT_LEFTMULTIPLY: state_.world = Combine(xform, state_.world); return true;
    case MWT_RIGHTMULTIPLY: state_.world = Combine(state_.world, xform); return true;
    case MWT_SET: return SetWorldTransform(xform);
    default: return false;
  }
}

void TDeviceContext::SetBaseTransform(const XForm& xform) { base_ = xform; }

XForm TDeviceContext::LogicalToDevice() const {
  const State& s = state_;
  XForm page;
  page.m11 = double(s.viewport_ext.cx) / s.window_ext.cx;
  page.m22 = double(s.viewport_ext.cy) / s.window_ext.cy;
  page.dx = s.viewport_org.x - page.m11 * s.window_org.x;
  page.dy = s.viewport_org.y - page.m22 * s.window_org.y;
  return Combine(Combine(s.world, page), base_);
}

Point TDeviceContext::LPtoDP(Point p) const {
  const PointF d = Apply(LogicalToDevice(), {double(p.x), double(p.y)});
  return {RoundCoord(d.x), RoundCoord(d.y)};
}

int32_t TDeviceContext::RoundCoord(double v) { return RoundHalfUp(v, 1000000000); }

// --- attributes ------------------------------------------------------------

ColorRef TDeviceContext::SetTextColor(ColorRef color) {
  std::swap(color, state_.text_request);
  state_.text_color = ResolveColor(state_.text_request);
  return color;
}
ColorRef TDeviceContext::SetBkColor(ColorRef color) {
  std::swap(color, state_.bk_request);
  state_.bk_color = ResolveColor(state_.bk_request);
  return color;
}
int TDeviceContext::SetBkMode(int mode) {
  if (mode != TRANSPARENT && mode != OPAQUE) return 0;
  std::swap(mode, state_.bk_mode);
  return mode;
}
int TDeviceContext::SetROP2(int rop2) {
  if (rop2 < R2_BLACK || rop2 > R2_WHITE) return 0;
  std::swap(rop2, state_.rop2);
  return rop2;
}
int TDeviceContext::SetPolyFillMode(int mode) {
  if (mode != ALTERNATE && mode != WINDING) return 0;
  std::swap(mode, state_.poly_fill_mode);
  return mode;
}
uint32_t TDeviceContext::SetTextAlign(uint32_t align) { std::swap(align, state_.text_align); return align; }
int TDeviceContext::SetStretchBltMode(int mode) {
  if (mode < BLACKONWHITE || mode > HALFTONE) return 0;
  std::swap(mode, state_.stretch_mode);
  return mode;
}
Point TDeviceContext::SetBrushOrg(Point origin) {
  std::swap(origin, state_.brush_origin);
  return origin;
}
int TDeviceContext::SetArcDirection(int direction) {
  if (direction != AD_COUNTERCLOCKWISE && direction != AD_CLOCKWISE) return 0;
  std::swap(direction, state_.arc_direction);
  return direction;
}
void TDeviceContext::SetTextJustification(int32_t extra, int32_t breaks) {
  state_.break_extra = extra;
  state_.break_count = breaks;
}

// --- clipping ----------------------------------------------------------------

Rect TDeviceContext::DeviceRectOf(const Rect& logical) const {
  Point a = LPtoDP({logical.left, logical.top});
  Point b = LPtoDP({logical.right, logical.bottom});
  return {std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x), std::max(a.y, b.y)};
}

Region TDeviceContext::SurfaceRegion() const {
  if (target_->IsEmpty()) return {};
  return Region::FromRect({0, 0, target_->Width(), target_->Height()});
}

void TDeviceContext::IntersectClipRect(const Rect& rect) {
  const Region r = Region::FromRect(DeviceRectOf(rect));
  state_.clip = state_.has_clip ? state_.clip.Intersect(r) : r;
  state_.has_clip = true;
}

void TDeviceContext::ExcludeClipRect(const Rect& rect) {
  const Region r = Region::FromRect(DeviceRectOf(rect));
  const Region base = state_.has_clip ? state_.clip : SurfaceRegion();
  state_.clip = base.Difference(r);
  state_.has_clip = true;
}

void TDeviceContext::ExtSelectClipRgn(const Region* region, int mode) {
  if (region == nullptr) {
    if (mode == RGN_COPY) {
      state_.has_clip = false;
      state_.clip = Region();
    }
    return;
  }
  if (mode == RGN_COPY) {
    state_.clip = *region;
  } else {
    // Without a clip region the whole surface stands for it.
    const Region base = state_.has_clip ? state_.clip : SurfaceRegion();
    state_.clip = base.Combine(*region, mode);
  }
  state_.has_clip = true;
}

void TDeviceContext::OffsetClipRgn(int32_t dx, int32_t dy) {
  if (!state_.has_clip) return;
  // The offset is logical: scale it into device units.
  const XForm x = LogicalToDevice();
  state_.clip.Offset(RoundCoord(dx * x.m11 + dy * x.m21), RoundCoord(dx * x.m12 + dy * x.m22));
}

void TDeviceContext::SetMetaRgn() {
  if (!state_.has_clip) return;
  state_.meta = state_.has_meta ? state_.meta.Intersect(state_.clip) : state_.clip;
  state_.has_meta = true;
  state_.has_clip = false;
  state_.clip = Region();
}

Region TDeviceContext::EffectiveClip() const {
  Region r = SurfaceRegion();
  // A band of a page holds only some rows; what lies outside them is not drawn.
  const Rect held = target_->HeldBounds();
  if (!target_->IsEmpty() && (held.top > 0 || held.bottom < target_->Height())) r = r.Intersect(Region::FromRect(held));
  if (state_.has_meta) r = r.Intersect(state_.meta);
  if (state_.has_clip) r = r.Intersect(state_.clip);
  // Where drawing can no longer change what the target tells, nothing is drawn.
  const Rect settled = target_->Settled();
  if (!settled.IsEmpty() && !r.IsEmpty()) r = r.Difference(Region::FromRect(settled));
  return r;
}

}  // namespace vx::gdi
