// A GDI path: figures of device points, each point tagged as the platform
// tags them (move-to, line-to, Bézier-to, with a close-figure bit), and the
// flattening of its curves into polylines. Holds geometry only: the device
// context decides what a drawing call adds and how a path is painted.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "graphics/platform/core/gdi_objects.h"

namespace vx::gdi {

// Point types as the platform numbers them (PolyDraw uses the same values).
enum PathPointType : uint8_t {
  PT_CLOSEFIGURE = 0x01,
  PT_LINETO = 0x02,
  PT_BEZIERTO = 0x04,
  PT_MOVETO = 0x06,
};

// Points are kept on the device pixel grid (OnPixelGrid), as the platform keeps them.
class Path {
public:
  // More points than this are dropped (the path is then marked overflowed):
  // a path grows across records, so it needs a bound of its own.
  static constexpr size_t kMaxPoints = size_t(1) << 20;
  // The flattened polylines of a path hold at most this many points.
  static constexpr size_t kMaxFlatPoints = size_t(1) << 21;

  struct Figure {
    std::vector<PointF> points;
    bool closed = false;
  };

  bool IsEmpty() const { return points_.empty(); }
  size_t Size() const { return points_.size(); }
  const std::vector<PointF>& Points() const { return points_; }
  const std::vector<uint8_t>& Types() const { return types_; }
  bool Overflowed() const { return overflowed_; }
  // True between a figure's first point and its close (or the next move).
  bool HasOpenFigure() const { return figure_open_; }

  // Starts a figure at p.
  void StartFigure(PointF p);
  // Ends the open figure without closing it: the next line starts anew.
  void EndFigure() { figure_open_ = false; }
  // Both need an open figure (StartFigure first); ignored otherwise.
  void LineTo(PointF p);
  void BezierTo(PointF c1, PointF c2, PointF end);
  // Marks the open figure closed (a line back to its first point).
  void CloseFigure();

  // The figures with curves replaced by line segments. Curve pieces wholly
  // outside `visible` (when given) become their chords: what is painted
  // within it stays the same, and far-off curves cost nothing.
  std::vector<Figure> Figures(const Rect* visible = nullptr) const;
  // The same path with every Bézier flattened into lines.
  Path Flattened() const;

private:
  bool Add(PointF p, uint8_t type);

  std::vector<PointF> points_;
  std::vector<uint8_t> types_;
  bool figure_open_ = false;
  bool overflowed_ = false;
};

// The nearest device pixel (halves up), within the range the rasteriser
// handles: the platform keeps path points and curve control points on the
// pixel grid.
PointF OnPixelGrid(PointF p);

// Appends the flattened cubic Bézier p0..p3 to out (p0 itself excluded):
// halving until the control points lie within a pixel of the chord, at
// most 12 levels deep, and no further points once out holds `limit`;
// pieces wholly outside `visible` (when given) are not divided.
void FlattenBezier(PointF p0, PointF p1, PointF p2, PointF p3, std::vector<PointF>& out,
                   size_t limit = Path::kMaxFlatPoints, const Rect* visible = nullptr);

// The cubic Béziers (start, then control, control, end per piece) along an
// elliptic arc around centre c with radii rx, ry, from angle a0 over `sweep`
// radians (positive: increasing angle), in the coordinates of c: the point at
// angle a is (c.x + rx cos a, c.y - ry sin a). Pieces span at most 90°.
std::vector<PointF> ArcBeziers(PointF c, double rx, double ry, double a0, double sweep);

}  // namespace vx::gdi
