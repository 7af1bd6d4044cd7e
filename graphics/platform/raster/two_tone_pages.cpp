#include "graphics/platform/raster/two_tone_pages.h"

#include <algorithm>
#include <cstring>

#include "graphics/platform/raster/pixel_targets.h"

namespace vx::gdi {

namespace {

// The last column of the row before end and after floor whose pixel is not
// tone; floor where there is none.
int32_t LastColumnNotOf(const uint8_t* row, int32_t end, int32_t floor, uint8_t tone) {
  const uint64_t word_of_tone = 0x0101010101010101ull * tone;
  int32_t x = end;
  while (x - floor > 8) {  // eight pixels at a time while they are all the tone
    uint64_t word;
    std::memcpy(&word, row + x - 8, sizeof word);
    if (word != word_of_tone) break;
    x -= 8;
  }
  for (; x > floor + 1; --x)
    if (row[x - 1] != tone) return x - 1;
  return floor;
}

// The last column in [x0, x1) where the two rows hold the same pixel; x0 - 1
// where there is none.
int32_t LastColumnAlike(const uint8_t* a, const uint8_t* b, int32_t x0, int32_t x1) {
  constexpr uint64_t kLow = 0x0101010101010101ull, kHigh = 0x8080808080808080ull;
  int32_t x = x1;
  while (x - x0 >= 8) {  // eight pixels at a time while none of them is alike
    uint64_t wa, wb;
    std::memcpy(&wa, a + x - 8, sizeof wa);
    std::memcpy(&wb, b + x - 8, sizeof wb);
    const uint64_t diff = wa ^ wb;
    if (((diff - kLow) & ~diff & kHigh) != 0) break;  // some byte alike
    x -= 8;
  }
  for (; x > x0; --x)
    if (a[x - 1] == b[x - 1]) return x - 1;
  return x0 - 1;
}

}  // namespace

TwoTonePages::Page::Page(int32_t width, int32_t height, uint8_t page_tone)
    : bits(new uint8_t[size_t(DibStride(width, 8)) * size_t(height)]),
      surface{width, height, DibStride(width, 8), bits.get()},
      target(MakeHalftoneTarget(surface)),
      tone(page_tone) {}

TwoTonePages::TwoTonePages(int32_t width, int32_t height)
    : width_(std::max(width, 1)),
      height_(std::max(height, 1)),
      dark_(width_, height_, kDark),
      light_(width_, height_, kLight),
      cleared_left_(size_t(height_), 0),
      cleared_right_(size_t(height_), 0) {}

void TwoTonePages::Reach(int32_t y, int32_t x0, int32_t x1) {
  int32_t& left = cleared_left_[size_t(y)];
  int32_t& right = cleared_right_[size_t(y)];
  const auto clear = [&](int32_t from, int32_t to) {
    if (from >= to) return;
    std::memset(dark_.surface.Row(y) + from, kDark, size_t(to - from));
    std::memset(light_.surface.Row(y) + from, kLight, size_t(to - from));
  };
  if (left >= right) {
    clear(x0, x1);
    left = x0;
    right = x1;
    return;
  }
  if (x0 < left) {
    clear(x0, left);
    left = x0;
  }
  if (x1 > right) {
    clear(right, x1);
    right = x1;
  }
}

int32_t TwoTonePages::Admit(int32_t y, int32_t x0, int32_t x1) {
  if (y < settled_bottom_) x0 = std::max(x0, settled_right_);
  if (x0 < x1) Reach(y, x0, x1);
  return x0;
}

void TwoTonePages::Settle(int32_t y, int32_t x0, int32_t x1) {
  // Left of the settled box's edge, only a lower row grows it.
  const int32_t from = y < settled_bottom_ ? std::max(x0, settled_right_) : x0;
  if (from >= x1) return;
  const int32_t x = LastColumnAlike(dark_.surface.Row(y), light_.surface.Row(y), from, x1);
  if (x < from) return;
  settled_right_ = std::max(settled_right_, x + 1);
  settled_bottom_ = std::max(settled_bottom_, y + 1);
}

Point TwoTonePages::LastChanged() const {
  Point last{-1, -1};
  for (int32_t y = height_ - 1; y >= 0; --y) {
    const int32_t left = cleared_left_[size_t(y)], right = cleared_right_[size_t(y)];
    if (left >= right) continue;
    const int32_t floor = std::max(last.x, left - 1);
    const int32_t x = std::max(LastColumnNotOf(dark_.surface.Row(y), right, floor, kDark),
                               LastColumnNotOf(light_.surface.Row(y), right, floor, kLight));
    if (x == floor) continue;
    last.x = x;
    if (last.y < 0) last.y = y;
  }
  return last;
}

uint32_t TwoTonePages::PixelAt(int32_t x, int32_t y) const {
  const bool cleared = x >= cleared_left_[size_t(y)] && x < cleared_right_[size_t(y)];
  return cleared ? dark_.target->PixelAt(x, y) : kDark;
}

void TwoTonePages::FillRun(int32_t y, int32_t x0, int32_t x1, int rop2, const PixelPaint& paint) {
  const int32_t from = Admit(y, x0, x1);
  if (from >= x1) return;
  dark_.target->FillRun(y, from, x1, rop2, paint);
  light_.target->FillRun(y, from, x1, rop2, paint);
  Settle(y, from, x1);
}

void TwoTonePages::BlitRun(int32_t y, int32_t x0, int32_t x1, uint8_t code, const PaletteEntry* source,
                           const uint8_t* skip, const PixelPaint& pattern) {
  const int32_t from = Admit(y, x0, x1);
  if (from >= x1) return;
  const int32_t k = from - x0;
  if (source != nullptr) source += k;
  if (skip != nullptr) skip += k;
  dark_.target->BlitRun(y, from, x1, code, source, skip, pattern);
  light_.target->BlitRun(y, from, x1, code, source, skip, pattern);
  Settle(y, from, x1);
}

void TwoTonePages::BlitPixelRun(int32_t y, int32_t x0, int32_t x1, uint8_t code, const uint32_t* source,
                                const uint8_t* skip, const PixelPaint& pattern) {
  const int32_t from = Admit(y, x0, x1);
  if (from >= x1) return;
  const int32_t k = from - x0;
  if (source != nullptr) source += k;
  if (skip != nullptr) skip += k;
  dark_.target->BlitPixelRun(y, from, x1, code, source, skip, pattern);
  light_.target->BlitPixelRun(y, from, x1, code, source, skip, pattern);
  Settle(y, from, x1);
}

void TwoTonePages::BlendRun(int32_t y, int32_t x0, int32_t x1, const BlendPixel* source, bool premultiplied) {
  const int32_t from = Admit(y, x0, x1);
  if (from >= x1) return;
  dark_.target->BlendRun(y, from, x1, source + (from - x0), premultiplied);
  light_.target->BlendRun(y, from, x1, source + (from - x0), premultiplied);
  Settle(y, from, x1);
}

void TwoTonePages::CoverageRun(int32_t y, int32_t x0, int32_t x1, const uint8_t* levels, PaletteEntry color) {
  const int32_t from = Admit(y, x0, x1);
  if (from >= x1) return;
  dark_.target->CoverageRun(y, from, x1, levels + (from - x0), color);
  light_.target->CoverageRun(y, from, x1, levels + (from - x0), color);
  Settle(y, from, x1);
}

void TwoTonePages::GradientRun(int32_t y, int32_t x0, int32_t x1, const GradientColor* colors) {
  const int32_t from = Admit(y, x0, x1);
  if (from >= x1) return;
  dark_.target->GradientRun(y, from, x1, colors + (from - x0));
  light_.target->GradientRun(y, from, x1, colors + (from - x0));
  Settle(y, from, x1);
}

}  // namespace vx::gdi
