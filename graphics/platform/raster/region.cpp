#include "graphics/platform/raster/region.h"

#include <algorithm>
#include <climits>

namespace vx::gdi {

namespace {

using Walls = std::vector<int32_t>;

const Walls kNoWalls;

// Merges two interval lists with a boolean rule on "inside a" and "inside b".
// out must be neither a nor b; it is cleared first.
template <typename Rule>
void CombineWallsInto(const Walls& a, const Walls& b, Rule rule, Walls& out) {
  out.clear();
  size_t i = 0, j = 0;
  bool in_a = false, in_b = false, in_out = false;
  while (i < a.size() || j < b.size()) {
    const int32_t xa = i < a.size() ? a[i] : INT32_MAX;
    const int32_t xb = j < b.size() ? b[j] : INT32_MAX;
    const int32_t x = std::min(xa, xb);
    if (xa == x) { in_a = !in_a; ++i; }
    if (xb == x) { in_b = !in_b; ++j; }
    const bool inside = rule(in_a, in_b);
    if (inside != in_out) {
      if (!out.empty() && out.back() == x) out.pop_back();  // touching intervals join
      else out.push_back(x);
      in_out = inside;
    }
  }
}

template <typename Rule>
Walls CombineWalls(const Walls& a, const Walls& b, Rule rule) {
  Walls out;
  CombineWallsInto(a, b, rule, out);
  return out;
}

// A band appended below the others (joining the last when the walls are the same),
// copying walls only when they start a band of their own.
void AppendBandCopy(std::vector<Region::Band>& bands, int32_t top, int32_t bottom, const Walls& walls) {
  if (walls.empty() || top >= bottom) return;
  if (!bands.empty() && bands.back().bottom == top && bands.back().walls == walls) {
    bands.back().bottom = bottom;
    return;
  }
  bands.push_back({top, bottom, walls});
}

}  // namespace

Region Region::FromRect(const Rect& rect) {
  Region r;
  if (rect.IsEmpty()) return r;
  r.bands_.push_back({rect.top, rect.bottom, {rect.left, rect.right}});
  return r;
}

Region Region::FromRects(const std::vector<Rect>& rects) {
  Region r;
  for (const Rect& rect : rects) r = r.Union(FromRect(rect));
  return r;
}

Region Region::FromRows(const std::vector<Rect>& rows) {
  Region r;
  Walls walls;  // one row's, reused: most rows only lengthen the band above
  size_t i = 0;
  while (i < rows.size()) {
    const int32_t y = rows[i].top;
    walls.clear();
    int32_t last_left = INT32_MIN;
    for (; i < rows.size() && rows[i].top == y; ++i) {
      const Rect& row = rows[i];
      if (row.IsEmpty()) continue;
      if (row.left >= last_left) {
        // In x order: join the last interval when it overlaps or touches.
        if (!walls.empty() && row.left <= walls.back()) walls.back() = std::max(walls.back(), row.right);
        else walls.insert(walls.end(), {row.left, row.right});
        last_left = row.left;
      } else {
        walls = CombineWalls(walls, Walls{row.left, row.right}, [](bool a, bool b) { return a || b; });
      }
    }
    if (!r.bands_.empty() && r.bands_.back().bottom > y) return FromRects(rows);  // unsorted input
    AppendBandCopy(r.bands_, y, y + 1, walls);
  }
  return r;
}

Rect Region::Bounds() const {
  if (bands_.empty()) return {};
  Rect b{INT32_MAX, bands_.front().top, INT32_MIN, bands_.back().bottom};
  for (const Band& band : bands_) {
    b.left = std::min(b.left, band.walls.front());
    b.right = std::max(b.right, band.walls.back());
  }
  return b;
}

const Region::Band* Region::BandAt(int32_t y) const {
  auto it = std::upper_bound(bands_.begin(), bands_.end(), y,
                             [](int32_t v, const Band& band) { return v < band.bottom; });
  if (it == bands_.end() || y < it->top) return nullptr;
  return &*it;
}

bool Region::Contains(int32_t x, int32_t y) const {
  const Band* band = BandAt(y);
  if (band == nullptr) return false;
  auto it = std::upper_bound(band->walls.begin(), band->walls.end(), x);
  return ((it - band->walls.begin()) & 1) != 0;
}

bool Region::IsRect() const {
  return bands_.size() == 1 && bands_.front().walls.size() == 2;
}

void Region::AppendBand(int32_t top, int32_t bottom, Walls&& walls) {
  if (walls.empty() || top >= bottom) return;
  if (!bands_.empty() && bands_.back().bottom == top && bands_.back().walls == walls) {
    bands_.back().bottom = bottom;
    return;
  }
  bands_.push_back({top, bottom, std::move(walls)});
}

Region Region::Apply(const Region& other, Op op) const {
  // A region inside a rectangle is its own intersection with it.
  if (op == Op::And && other.IsRect() && !IsEmpty()) {
    const Band& rect = other.bands_.front();
    const Rect b = Bounds();
    if (b.top >= rect.top && b.bottom <= rect.bottom && b.left >= rect.walls[0] && b.right <= rect.walls[1]) return *this;
  }
  std::vector<int32_t> ys;
  ys.reserve(2 * (bands_.size() + other.bands_.size()));
  for (const Band& b : bands_) { ys.push_back(b.top); ys.push_back(b.bottom); }
  for (const Band& b : other.bands_) { ys.push_back(b.top); ys.push_back(b.bottom); }
  std::sort(ys.begin(), ys.end());
  ys.erase(std::unique(ys.begin(), ys.end()), ys.end());

  Region out;
  Walls walls;  // one band's, reused: a new band copies it
  size_t ia = 0, ib = 0;
  for (size_t k = 0; k + 1 < ys.size(); ++k) {
    const int32_t top = ys[k];
    const int32_t bottom = ys[k + 1];
    while (ia < bands_.size() && bands_[ia].bottom <= top) ++ia;
    while (ib < other.bands_.size() && other.bands_[ib].bottom <= top) ++ib;
    const Walls& a = (ia < bands_.size() && bands_[ia].top <= top) ? bands_[ia].walls : kNoWalls;
    const Walls& b = (ib < other.bands_.size() && other.bands_[ib].top <= top)
                         ? other.bands_[ib].walls : kNoWalls;
    switch (op) {
      case Op::And: CombineWallsInto(a, b, [](bool x, bool y) { return x && y; }, walls); break;
      case Op::Or: CombineWallsInto(a, b, [](bool x, bool y) { return x || y; }, walls); break;
      case Op::Diff: CombineWallsInto(a, b, [](bool x, bool y) { return x && !y; }, walls); break;
      case Op::Xor: CombineWallsInto(a, b, [](bool x, bool y) { return x != y; }, walls); break;
    }
    AppendBandCopy(out.bands_, top, bottom, walls);
  }
  return out;
}

Region Region::Intersect(const Region& other) const { return Apply(other, Op::And); }
Region Region::Union(const Region& other) const { return Apply(other, Op::Or); }
Region Region::Difference(const Region& other) const { return Apply(other, Op::Diff); }
Region Region::Xor(const Region& other) const { return Apply(other, Op::Xor); }

Region Region::Combine(const Region& other, int mode) const {
  switch (mode) {
    case 1: return Intersect(other);
    case 2: return Union(other);
    case 3: return Xor(other);
    case 4: return Difference(other);
    default: return other;
  }
}

void Region::Offset(int32_t dx, int32_t dy) {
  for (Band& band : bands_) {
    band.top += dy;
    band.bottom += dy;
    for (int32_t& x : band.walls) x += dx;
  }
}

}  // namespace vx::gdi
