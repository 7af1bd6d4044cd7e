// Outlines of elliptical arcs, chords, pies and rounded rectangles as
// polygons through an arbitrary transform (rotation, shear): the shapes are
// built on the logical ellipse and each point is mapped, so a rotated figure
// keeps its curve. Axis-aligned figures are rasterised on the pixel grid
// instead (raster/).
#pragma once

#include <vector>

#include "graphics/platform/core/gdi_objects.h"
#include "graphics/platform/core/gdi_types.h"
#include "graphics/platform/geometry/arc_kind.h"

namespace vx::gdi {


// The arc of the ellipse inscribed in rect from the radial through start to
// the radial through end, counter-clockwise on the logical plane as the
// screen shows it (y down) unless clockwise; a chord closes it with a line, a
// pie through the centre. Device points; empty for an empty rectangle.
std::vector<PointF> EllipseArcOutline(const XForm& to_device, const Rect& rect, Point start,
                                      Point end, bool clockwise, ArcKind kind);

// The rectangle with elliptical corners of the given width and height
// (clamped to the rectangle), as a closed device polygon.
std::vector<PointF> RoundRectOutline(const XForm& to_device, const Rect& rect, Size corner);

}  // namespace vx::gdi
