// Where a stretched block transfer lands: the device rectangle of a logical
// destination and, for each device pixel, the source pixel it shows: when
// enlarging the one under the device pixel's centre (ties to the lower one),
// when shrinking the last one of the device pixel's share.
#pragma once

#include <cstdint>

#include "graphics/platform/core/gdi_objects.h"
#include "graphics/platform/core/gdi_types.h"
#include "graphics/platform/raster/region.h"

namespace vx::gdi {

class StretchMapping {
public:
  StretchMapping() = default;
  // An unscaled copy: device rectangle dest shows the source from origin on.
  static StretchMapping Copy(const Rect& dest, Point origin);

  const Rect& Dest() const { return dest_; }
  int32_t SourceX(int32_t x) const { return Source(x - dest_.left, source_.left, source_.right, dest_.Width(), mirror_x_); }
  int32_t SourceY(int32_t y) const { return Source(y - dest_.top, source_.top, source_.bottom, dest_.Height(), mirror_y_); }
  // The first source column (row) of device column x's (row y's) share when
  // shrinking: the one after its neighbour's last; else the one it shows.
  int32_t FirstSourceX(int32_t x) const { return First(x - dest_.left, source_.left, source_.right, dest_.Width(), mirror_x_); }
  int32_t FirstSourceY(int32_t y) const { return First(y - dest_.top, source_.top, source_.bottom, dest_.Height(), mirror_y_); }
  // The source position of device pixel x, y's corner in 1/65536 pixels, as
  // the halftone stretch interpolates from it.
  int64_t SourceXFixed(int32_t x) const { return Fixed(x - dest_.left, source_.left, source_.right, dest_.Width(), mirror_x_); }
  int64_t SourceYFixed(int32_t y) const { return Fixed(y - dest_.top, source_.top, source_.bottom, dest_.Height(), mirror_y_); }
  // Source pixels per device pixel (> 1 shrinks).
  double ScaleX() const { return dest_.IsEmpty() ? 0 : double(source_.right < 0 ? -int64_t(source_.right) : source_.right) / dest_.Width(); }
  double ScaleY() const { return dest_.IsEmpty() ? 0 : double(source_.bottom < 0 ? -int64_t(source_.bottom) : source_.bottom) / dest_.Height(); }

private:
  friend StretchMapping MapStretch(const XForm&, const Rect&, const Rect&);
  static int32_t Source(int64_t k, int64_t start, int64_t length, int64_t span, bool mirror);
  static int32_t First(int64_t k, int64_t start, int64_t length, int64_t span, bool mirror);
  static int64_t Fixed(int64_t k, int64_t start, int64_t length, int64_t span, bool mirror);

  Rect dest_;      // device pixels, normalised; empty when nothing lands
  Rect source_;    // left, top, width, height
  bool mirror_x_ = false;
  bool mirror_y_ = false;
};

// dest and source as left, top, width, height (dest logical, source in
// pixels); a destination mirrored by the mapping runs the source backwards.
StretchMapping MapStretch(const XForm& logical_to_device, const Rect& dest, const Rect& source);

// A source rectangle (left, top, width, height) given in the source device
// context's logical units, in the bitmap's pixels through the source
// context's transform (its scale and offset).
Rect SourceRectInPixels(const XForm& source_xform, const Rect& logical);

// Calls f(x, y) for every pixel of the region.
template <class F>
void ForEachPixel(const Region& region, F&& f) {
  for (const Region::Band& band : region.Bands()) {
    for (int32_t y = band.top; y < band.bottom; ++y) {
      for (size_t i = 0; i + 1 < band.walls.size(); i += 2) {
        for (int32_t x = band.walls[i]; x < band.walls[i + 1]; ++x) f(x, y);
      }
    }
  }
}

}  // namespace vx::gdi
