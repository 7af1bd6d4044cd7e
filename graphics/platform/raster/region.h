// A region of device pixels as sorted horizontal bands, each a sorted list of
// disjoint half-open x intervals. Used for clipping and region fills.
#pragma once

#include <cstdint>
#include <vector>

#include "graphics/platform/core/gdi_types.h"

namespace vx::gdi {

class Region {
public:
  struct Band {
    int32_t top = 0;
    int32_t bottom = 0;               // exclusive
    std::vector<int32_t> walls;       // pairs [x0, x1), sorted, disjoint, non-touching
    friend bool operator==(const Band&, const Band&) = default;
  };

  Region() = default;
  static Region FromRect(const Rect& rect);
  static Region FromRects(const std::vector<Rect>& rects);
  // Row intervals sorted by y then x (as scan conversion yields them); rows
  // may hold several intervals, overlapping ones join.
  static Region FromRows(const std::vector<Rect>& rows);

  bool IsEmpty() const { return bands_.empty(); }
  Rect Bounds() const;
  bool Contains(int32_t x, int32_t y) const;
  bool IsRect() const;
  const std::vector<Band>& Bands() const { return bands_; }
  // The band holding row y, or nullptr.
  const Band* BandAt(int32_t y) const;

  Region Intersect(const Region& other) const;
  Region Union(const Region& other) const;
  Region Difference(const Region& other) const;
  Region Xor(const Region& other) const;
  Region Combine(const Region& other, int mode) const;  // RGN_AND..RGN_COPY
  void Offset(int32_t dx, int32_t dy);

  friend bool operator==(const Region&, const Region&) = default;

private:
  enum class Op { And, Or, Diff, Xor };
  Region Apply(const Region& other, Op op) const;
  void AppendBand(int32_t top, int32_t bottom, std::vector<int32_t>&& walls);

  std::vector<Band> bands_;
};

}  // namespace vx::gdi
