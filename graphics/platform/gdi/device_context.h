// A memory device context compatible with the screen: GDI's drawing state
// (mapping, world transform, objects, colours, modes, clipping, save stack) and
// its drawing operations into a selected pixel target. It turns logical
// coordinates into device space and hands geometry and colour references to
// the drawing layer (draw/), which turns them into pixels of the selected
// target. Coordinates passed to drawing operations are logical;
// FillSolidRect takes device coordinates.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "graphics/platform/core/blend_types.h"
#include "graphics/platform/geometry/arc_kind.h"
#include "graphics/platform/gdi/blit_mapping.h"
#include "graphics/platform/gdi/pen_stroke.h"
#include "graphics/platform/core/dib.h"
#include "graphics/platform/core/gdi_objects.h"
#include "graphics/platform/core/gdi_types.h"
#include "graphics/platform/core/stock_font.h"
#include "graphics/platform/geometry/path.h"
#include "graphics/platform/text/glyph_outline.h"
#include "graphics/platform/raster/paint.h"
#include "graphics/platform/raster/pixel_surface.h"
#include "graphics/platform/raster/pixel_target.h"
#include "graphics/platform/raster/region.h"

namespace vx::gdi {

class DevicePainter;

class TDeviceContext {
public:
  TDeviceContext();
  ~TDeviceContext();
  TDeviceContext(const TDeviceContext&) = delete;
  TDeviceContext& operator=(const TDeviceContext&) = delete;

  // The 8-bit halftone page drawn into (not owned); nullptr draws nothing.
  void SelectSurface(PixelSurface8* surface);
  PixelSurface8* Surface() const { return surface_; }
  // A target of any format drawn into (not owned); nullptr draws nothing.
  void SelectTarget(PixelTarget* target);
  PixelTarget& Target() const { return *target_; }
  // The screen's values (ScreenDeviceCaps).
  int GetDeviceCaps(int index) const;

  // Device coordinates, no clipping beyond the surface, no transform.
  void FillSolidRect(const Rect& rect, ColorRef color);
  // A logical palette selected as background palette: the 8-bit halftone
  // surface keeps its own colours; palette-index colours resolve through it.
  void SelectBackgroundPalette(const std::vector<PaletteEntry>& entries);
  // The logical palette that PALETTEINDEX colours of pens, brushes, text and
  // background name entries of (empty: the stock default palette). Part of
  // the saved state; colours already selected resolve again.
  void SelectPalette(const std::vector<PaletteEntry>& entries);
  const std::vector<PaletteEntry>& SelectedPalette() const;
  // A colour as drawn: palette indices through the selected palette.
  ColorRef ResolveColor(ColorRef color) const;

  // --- state -----------------------------------------------------------
  int SaveDC();                    // the new save level
  bool RestoreDC(int level);       // negative: relative; positive: absolute

  // The device whose size fixes the metric mapping modes (the screen by default;
  // a metafile's reference device during playback).
  void SetReferenceDevice(Size pixels, Size millimeters);
  Size ReferencePixels() const { return ref_pixels_; }
  Size ReferenceMillimeters() const { return ref_mm_; }
  int SetMapMode(int mode);        // previous mode, 0 on a bad mode
  int GetMapMode() const { return state_.map_mode; }
  void SetWindowOrg(Point org);
  void SetViewportOrg(Point org);
  bool SetWindowExt(Size ext);
  bool SetViewportExt(Size ext);
  bool ScaleWindowExt(int32_t xnum, int32_t xdenom, int32_t ynum, int32_t ydenom);
  bool ScaleViewportExt(int32_t xnum, int32_t xdenom, int32_t ynum, int32_t ydenom);
  Point WindowOrg() const { return state_.window_org; }
  Size WindowExt() const { return state_.window_ext; }
  Point ViewportOrg() const { return state_.viewport_org; }
  Size ViewportExt() const { return state_.viewport_ext; }
  int SetGraphicsMode(int mode);
  bool SetWorldTransform(const XForm& xform);
  bool ModifyWorldTransform(const XForm& xform, int mode);
  XForm WorldTransform() const { return state_.world; }
  // Applied after world and page transforms (a metafile's frame-to-rectangle map).
  void SetBaseTransform(const XForm& xform);
  // Logical to device, unrounded and rounded as GDI rounds.
  XForm LogicalToDevice() const;
  Point LPtoDP(Point p) const;

  // Also chooses how the pen strokes (PenStroke).
  void SelectPen(const LogPen& pen);
  void SelectBrush(const LogBrush& brush);
  void SelectFont(const LogFont& font) { state_.font = font; }
  // The selected pen and brush with their colours resolved.
  const LogPen& Pen() const { return state_.pen; }
  const LogBrush& Brush() const { return state_.brush; }
  const LogFont& Font() const { return state_.font; }

  ColorRef SetTextColor(ColorRef color);
  ColorRef SetBkColor(ColorRef color);
  int SetBkMode(int mode);
  int SetROP2(int rop2);
  int SetPolyFillMode(int mode);
  uint32_t SetTextAlign(uint32_t align);
  int SetStretchBltMode(int mode);
  int SetArcDirection(int direction);
  // Where hatches and patterns start, in device pixels; the previous origin.
  Point SetBrushOrg(Point origin);
  Point BrushOrg() const { return state_.brush_origin; }
  ColorRef TextColor() const { return state_.text_request; }
  ColorRef BkColor() const { return state_.bk_request; }
  int BkMode() const { return state_.bk_mode; }
  int ROP2() const { return state_.rop2; }
  int PolyFillMode() const { return state_.poly_fill_mode; }
  uint32_t TextAlign() const { return state_.text_align; }
  int StretchBltMode() const { return state_.stretch_mode; }
  void SetTextJustification(int32_t extra, int32_t breaks);
  void SetTextCharacterExtra(int32_t extra) { state_.char_extra = extra; }

  // --- clipping (rectangles are logical; regions are in device pixels) ------
  void IntersectClipRect(const Rect& rect);
  void ExcludeClipRect(const Rect& rect);
  // region nullptr with RGN_COPY removes the clip region.
  void ExtSelectClipRgn(const Region* region, int mode);
  void SelectClipRgn(const Region* region) { ExtSelectClipRgn(region, RGN_COPY); }
  void OffsetClipRgn(int32_t dx, int32_t dy);
  void SetMetaRgn();
  bool HasClipRegion() const { return state_.has_clip; }
  const Region& ClipRegion() const { return state_.clip; }
  // What a drawing operation may touch: surface ∩ meta region ∩ clip region.
  Region EffectiveClip() const;

  // --- drawing ---------------------------------------------------------
  Point CurrentPosition() const { return state_.current_position; }
  void MoveTo(Point p);
  void LineTo(Point p);
  void Polyline(const std::vector<Point>& points);
  void PolylineTo(const std::vector<Point>& points);
  void PolyPolyline(const std::vector<std::vector<Point>>& polylines);
  void Polygon(const std::vector<Point>& points);
  void PolyPolygon(const std::vector<std::vector<Point>>& polygons);
  void PolyBezier(const std::vector<Point>& points);
  void PolyBezierTo(const std::vector<Point>& points);
  void Rectangle(const Rect& rect);
  void RoundRect(const Rect& rect, Size corner);
  void Ellipse(const Rect& rect);
  void Arc(const Rect& rect, Point start, Point end);
  void ArcTo(const Rect& rect, Point start, Point end);
  void Pie(const Rect& rect, Point start, Point end);
  void Chord(const Rect& rect, Point start, Point end);
  void SetPixelV(Point p, ColorRef color);
  void FillRgn(const Region& device_region, const LogBrush& brush);
  void PaintRgn(const Region& device_region) { FillRgn(device_region, state_.brush); }
  void FrameRgn(const Region& device_region, const LogBrush& brush, Size frame);
  void InvertRgn(const Region& device_region);
  void PatBlt(const Rect& rect, uint32_t rop);  // rect as left, top, width, height
  // Blits the source (nullptr: no source, a pattern/destination ROP) from its
  // rectangle (left, top, width, height in source pixels) to the logical
  // destination rectangle (left, top, width, height).
  void StretchBlt(const Rect& dest, const DibImage* source, const Rect& source_rect, uint32_t rop);
  void StretchDIBits(const Rect& dest, const DibImage& source, const Rect& source_rect,
                     uint32_t rop);
  // Device-unscaled copy: dest origin logical, size in source pixels.
  void SetDIBitsToDevice(Point dest, const DibImage& source, const Rect& source_rect);

  // --- paths (device_context_path.cpp) --------------------------------
  // Between BeginPath and EndPath the drawing calls add figures to the path
  // (in device coordinates) instead of drawing. The path and its bracket are
  // part of the saved state.
  bool BeginPath();
  bool EndPath();
  bool AbortPath();
  bool CloseFigure();
  bool FillPath();
  bool StrokePath();
  bool StrokeAndFillPath();
  bool FlattenPath();
  bool WidenPath();
  bool SelectClipPath(int mode);  // RGN_AND..RGN_COPY
  bool InPathBracket() const { return state_.path_open; }
  // The path built or selected so far (empty when there is none).
  const Path& CurrentPath() const;
  // A line from the current position to the arc's start, then the arc on
  // the circle (angles in degrees, counter-clockwise on screen).
  void AngleArc(Point center, uint32_t radius, float start_degrees, float sweep_degrees);
  // Points tagged PT_MOVETO, PT_LINETO, PT_BEZIERTO (| PT_CLOSEFIGURE).
  void PolyDraw(const std::vector<Point>& points, const std::vector<uint8_t>& types);

  // --- blending, masked and parallelogram blits, gradients
  //     (device_context_blend.cpp) ------------------------------------
  // Rectangles are logical left, top, width, height; source rectangles count
  // rows from the image's top. Blends the source's colours over the
  // destination's palette colours (premultiplied source with AC_SRC_ALPHA).
  void AlphaBlend(const Rect& dest, const DibImage& source, const Rect& source_rect,
                  const BlendFunction& blend);
  // A stretched copy that leaves the destination where the source pixel has
  // the transparent colour.
  void TransparentBlt(const Rect& dest, const DibImage& source, const Rect& source_rect,
                      ColorRef transparent);
  // rop4's low raster operation where the monochrome mask has 1, its high
  // byte's where it has 0; no mask: the low one everywhere. The source and the
  // mask (tiled) start at their origins.
  void MaskBlt(const Rect& dest, const DibImage* source, Point source_origin, const DibImage* mask,
               Point mask_origin, uint32_t rop4);
  // The source rectangle onto the parallelogram whose upper-left, upper-right
  // and lower-left corners are the logical points; where the mask has 0 the
  // destination stays.
  void PlgBlt(const Point (&corners)[3], const DibImage& source, const Rect& source_rect,
              const DibImage* mask, Point mask_origin);
  // GRADIENT_FILL_RECT_H/V (mesh entries use two indices) or
  // GRADIENT_FILL_TRIANGLE, dithered into the halftone colours. Nothing is
  // drawn when an index is out of range.
  void GradientFill(const std::vector<TriVertex>& vertices, const std::vector<GradientMesh>& mesh,
                    uint32_t mode);

  // Text at the reference point, with per-glyph advances (logical units, may be
  // empty) and, with ETO_PDY, x and y pairs.
  void ExtTextOut(Point origin, uint32_t options, const Rect* rect, const std::u16string& text,
                  const std::vector<int32_t>& dx);
  // The width GetTextExtentPoint32 reports for each character measured on
  // its own, in logical units: the glyph's advance in device pixels (plus a
  // break character's share of the justification) mapped back and rounded,
  // then the character extra. A recording context fills in the advances of
  // text drawn without them this way.
  std::vector<int32_t> CharacterExtents(const std::u16string& text) const;
  // The selected font's cell height and descent as GetTextMetrics reports
  // them: device pixels mapped back into logical units and rounded.
  struct LogicalFontMetrics {
    int32_t height = 0;
    int32_t descent = 0;
  };
  LogicalFontMetrics FontMetrics() const;

private:
  struct State {
    int map_mode = MM_TEXT;
    Point window_org;
    Size window_ext{1, 1};
    Point viewport_org;
    Size viewport_ext{1, 1};
    int graphics_mode = GM_COMPATIBLE;
    XForm world;
    // pen, brush, text_color and bk_color hold resolved colours (what the
    // pixel code draws); the requests are the colours as selected.
    LogPen pen;
    PenStroke pen_stroke;  // chosen when the pen is selected
    LogBrush brush;
    LogFont font = StockFont(SYSTEM_FONT);
    ColorRef text_color = RGB(0, 0, 0);
    ColorRef bk_color = RGB(255, 255, 255);
    LogPen pen_request;
    LogBrush brush_request;
    ColorRef text_request = RGB(0, 0, 0);
    ColorRef bk_request = RGB(255, 255, 255);
    std::shared_ptr<const std::vector<PaletteEntry>> palette;  // none: the default palette
    int bk_mode = OPAQUE;
    int rop2 = R2_COPYPEN;
    int poly_fill_mode = ALTERNATE;
    uint32_t text_align = TA_LEFT | TA_TOP;
    int stretch_mode = BLACKONWHITE;
    int arc_direction = AD_COUNTERCLOCKWISE;
    Point brush_origin;
    int32_t char_extra = 0;
    int32_t break_extra = 0;
    int32_t break_count = 0;
    Point current_position;
    bool has_clip = false;
    Region clip;          // device pixels
    bool has_meta = false;
    Region meta;
    bool path_open = false;            // inside BeginPath ... EndPath
    std::shared_ptr<Path> path;  // shared with saved states until changed
  };

  void FixIsotropic();
  void ResolveSelectedColors();
  Rect DeviceRectOf(const Rect& logical) const;
  Region SurfaceRegion() const;
  static int32_t RoundCoord(double v);
  // Drawing helpers (device_context_draw.cpp, device_context_text.cpp).
  std::vector<PointF> ToDevice(const std::vector<Point>& points) const;
  void StrokePolyline(const std::vector<PointF>& device_points, bool closed);
  // Whether a stroke through the points with a pen this wide lies within what
  // the target has settled (PixelTarget::Settled), so it need not be drawn.
  bool WithinSettled(const std::vector<PointF>& device_points, double width) const;
  void StrokeOnePixel(const std::vector<PointF>& device_points, bool closed, const Region& clip);
  void FillDevicePolygons(const std::vector<std::vector<PointF>>& polygons, int fill_mode);
  double PenDeviceWidth() const;
  bool IsAxisAligned() const;
  Rect DeviceBox(const Rect& logical) const;
  // A box drawn with a wide PS_INSIDEFRAME pen shrinks so that the pen
  // stays inside it. A ring grows from its box by half the width on every
  // side; a pen laid along an outline's pixels reaches half the width before
  // them and half of one less after.
  enum class PenReach { Ring, Outline };
  Rect InsideFrame(const Rect& box, double pen_width, PenReach reach) const;
  Paint BrushPaint(const LogBrush& brush, bool& draws) const;
  // What the selected pen's pixels are painted with.
  Paint PenPaint() const;
  // Painters with the effective clip and the raster operation; none where
  // the brush or the pen draws nothing.
  std::optional<DevicePainter> BrushPainter(const LogBrush& brush) const;
  std::optional<DevicePainter> PenPainter() const;
  void FillDeviceRegion(const Region& region, const LogBrush& brush);
  void ArcShape(const Rect& rect, Point start, Point end, ArcKind kind);
  // Path helpers (device_context_path.cpp).
  static constexpr size_t kMaxHeldPathPoints = 4 * Path::kMaxPoints;  // current and saved paths
  Path& EditPath();
  PointF PathPoint(Point logical) const;
  void PathStartAtCurrent();
  void PathAddLines(const std::vector<PointF>& device_points, bool from_current, bool close);
  void PathAddBeziers(const std::vector<PointF>& device_points, bool from_current);
  void PathAddArc(const Rect& rect, Point start, Point end, ArcKind kind);
  struct EllipseFrame;
  EllipseFrame EllipseFrameOf(const Rect& rect) const;
  void PathAddEllipse(const Rect& rect);
  // A glyph's figures with their origin at the device point pen.
  void PathAddOutline(const GlyphOutline& outline, Point pen);
  void PathAddRoundRect(const Rect& rect, Size corner);
  Rect VisibleForPaths() const;
  void StrokeFigures(const Path& path);
  void FillFigures(const Path& path);
  void ClearPath();
  // A path ended by EndPath, ready to fill, stroke or clip with.
  bool HasEndedPath() const { return !state_.path_open && state_.path != nullptr; }
  void BlitPixels(const StretchMapping& mapping, const DibImage* source, uint32_t rop);
  // What a copy from the image writes, in one value (ShowsOnlyChange targets).
  void MarkReached(const StretchMapping& mapping, const DibImage& source, const Region& clip);

  PixelSurface8* surface_ = nullptr;           // as selected by SelectSurface
  std::unique_ptr<PixelTarget> surface_target_;  // the halftone target over surface_
  PixelTarget* target_ = &NullPixelTarget();
  Size ref_pixels_;
  Size ref_mm_;
  XForm base_;
  State state_;
  std::vector<State> saved_;
  std::vector<PaletteEntry> background_palette_;
};

}  // namespace vx::gdi
