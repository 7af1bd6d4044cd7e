#include "graphics/platform/gdi/stretched_source.h"

#include <algorithm>
#include <utility>

namespace vx::gdi {

namespace {

// HALFTONE stretching interpolates between the four source colours around
// the device pixel's source position: along the row first, then between the
// rows, each step rounded in 16-bit fixed point.
PaletteEntry Interpolated(PaletteEntry c00, PaletteEntry c10, PaletteEntry c01, PaletteEntry c11, uint32_t tx,
                          uint32_t ty) {
  const auto lerp = [](uint32_t a, uint32_t b, uint32_t t) { return (a * (65536 - t) + b * t + 32768) >> 16; };
  const auto channel = [&](uint8_t PaletteEntry::*c) {
    return uint8_t(lerp(lerp(c00.*c, c10.*c, tx), lerp(c01.*c, c11.*c, tx), ty));
  };
  return {channel(&PaletteEntry::r), channel(&PaletteEntry::g), channel(&PaletteEntry::b)};
}

constexpr int kCacheBits = 12;

}  // namespace

StretchedSource::StretchedSource(const StretchMapping& m, const DibImage& image, const PixelTarget& target,
                                 const Rect& area, bool interpolate, Shrink shrink)
    : image_(image), target_(target), left_(area.left), interpolate_(interpolate),
      shrink_(interpolate ? Shrink::kKeepLast : shrink) {
  const size_t width = size_t(area.Width());
  if (!interpolate && target.SharesPixelFormat(image)) {
    match_ = Match::kSameFormat;
  } else if (image.BitCount() <= 8 && !image.Colors().empty()) {
    match_ = Match::kTable;
    for (const PaletteEntry& c : image.Colors()) {
      table_pixels_.push_back(target.PixelOfTableColor(c));
      table_shown_.push_back(target.ColorOfPixel(table_pixels_.back()));
    }
  }
  if (interpolate) interpolated_.resize(size_t(1) << kCacheBits);
  columns_.resize(width);
  outside_.resize(width);
  for (int32_t x = area.left; x < area.right; ++x) {
    const size_t c = size_t(x - area.left);
    columns_[c] = m.SourceX(x);
    outside_[c] = columns_[c] < 0 || columns_[c] >= image.Width();
    any_outside_ = any_outside_ || outside_[c];
  }
  if (shrink_ != Shrink::kKeepLast) {
    first_columns_.resize(width);
    for (int32_t x = area.left; x < area.right; ++x) first_columns_[size_t(x - area.left)] = m.FirstSourceX(x);
  }
  if (interpolate) {
    const auto clamp_x = [&](int64_t v) { return int32_t(std::clamp<int64_t>(v, 0, std::max(image.Width() - 1, 0))); };
    left_columns_.resize(width);
    right_columns_.resize(width);
    column_weights_.resize(width);
    for (int32_t x = area.left; x < area.right; ++x) {
      const size_t c = size_t(x - area.left);
      const int64_t fx = m.SourceXFixed(x);
      left_columns_[c] = clamp_x(fx >> 16);
      right_columns_[c] = clamp_x((fx >> 16) + 1);
      column_weights_[c] = uint32_t(fx & 0xFFFF);
    }
    for (auto* corner : {&c00_, &c10_, &c01_, &c11_}) corner->resize(width);
  }
  if (!interpolate && shrink_ == Shrink::kKeepLast) {
    // Enlarged, neighbouring columns show the same source pixel: fetch and
    // match each such pixel once and repeat it, when that saves enough.
    std::vector<int32_t> distinct;
    std::vector<uint32_t> distinct_of(width);
    for (size_t c = 0; c < width; ++c) {
      if (c == 0 || columns_[c] != columns_[c - 1]) distinct.push_back(columns_[c]);
      distinct_of[c] = uint32_t(distinct.size() - 1);
    }
    if (distinct.size() * 4 <= width * 3) {
      distinct_columns_ = std::move(distinct);
      distinct_of_ = std::move(distinct_of);
      distinct_pixels_.resize(distinct_columns_.size());
    }
  }
  colors_.resize(distinct_columns_.empty() ? width : distinct_columns_.size());
  pixels_.resize(width);
  fetched_.assign(width, 0);
}

void StretchedSource::StartRow(int32_t sy, int64_t fy, int32_t first_sy) {
  if (shrink_ == Shrink::kKeepLast) first_sy = sy;
  if (generation_ != 0 && sy == row_sy_ && fy == row_fy_ && first_sy == row_first_sy_) return;
  row_first_sy_ = first_sy;
  if (++generation_ == 0) {  // wrapped: forget every column
    std::fill(fetched_.begin(), fetched_.end(), 0u);
    generation_ = 1;
  }
  row_sy_ = sy;
  row_fy_ = fy;
  known_begin_ = known_end_ = 0;
  known_marked_ = false;
}

const uint32_t* StretchedSource::Pixels(int32_t x0, int32_t x1) {
  const size_t first = size_t(x0 - left_), end = size_t(x1 - left_);
  if (first >= known_begin_ && end <= known_end_) return pixels_.data() + first;
  if (known_begin_ == known_end_) {
    // The first run of a source row: nothing of it is fetched yet.
    Fetch(first, end);
    known_begin_ = first;
    known_end_ = end;
    return pixels_.data() + first;
  }
  // Runs of other shapes on rows of the same source row (a clip of several
  // parts): from here on every fetched column is marked.
  if (!known_marked_) {
    std::fill(fetched_.begin() + ptrdiff_t(known_begin_), fetched_.begin() + ptrdiff_t(known_end_), generation_);
    known_marked_ = true;
  }
  for (size_t c = first; c < end;) {
    if (fetched_[c] == generation_) {
      ++c;
      continue;
    }
    size_t stop = c;
    while (stop < end && fetched_[stop] != generation_) fetched_[stop++] = generation_;
    Fetch(c, stop);
    c = stop;
  }
  // Keep one stretch of columns known to be fetched for the rows after.
  if (first <= known_end_ && end >= known_begin_ && known_end_ > known_begin_) {
    known_begin_ = std::min(known_begin_, first);
    known_end_ = std::max(known_end_, end);
  } else if (end - first > known_end_ - known_begin_) {
    known_begin_ = first;
    known_end_ = end;
  }
  return pixels_.data() + first;
}

void StretchedSource::Fetch(size_t begin, size_t end) {
  const size_t count = end - begin;
  if (shrink_ != Shrink::kKeepLast) {
    FetchCombined(begin, end);
    return;
  }
  if (!distinct_columns_.empty()) {
    const size_t first = distinct_of_[begin], last = distinct_of_[end - 1];
    RowPixels(row_sy_, distinct_columns_.data() + first, last + 1 - first, colors_.data() + first,
              distinct_pixels_.data() + first);
    for (size_t c = begin; c < end; ++c) pixels_[c] = distinct_pixels_[distinct_of_[c]];
    return;
  }
  if (!interpolate_) {
    RowPixels(row_sy_, columns_.data() + begin, count, colors_.data() + begin, pixels_.data() + begin);
    return;
  }
  const auto clamp_y = [&](int64_t v) { return int32_t(std::clamp<int64_t>(v, 0, std::max(image_.Height() - 1, 0))); };
  const int32_t top = clamp_y(row_fy_ >> 16), bottom = clamp_y((row_fy_ >> 16) + 1);
  const uint32_t ty = uint32_t(row_fy_ & 0xFFFF);
  ShownRow(top, left_columns_.data() + begin, count, c00_.data() + begin);
  ShownRow(top, right_columns_.data() + begin, count, c10_.data() + begin);
  ShownRow(bottom, left_columns_.data() + begin, count, c01_.data() + begin);
  ShownRow(bottom, right_columns_.data() + begin, count, c11_.data() + begin);
  for (size_t c = begin; c < end; ++c)
    pixels_[c] = PixelOfInterpolated(Interpolated(c00_[c], c10_[c], c01_[c], c11_[c], column_weights_[c], ty));
}

void StretchedSource::FetchCombined(size_t begin, size_t end) {
  const int32_t last_column = image_.Width() - 1, last_row = image_.Height() - 1;
  const auto share = [&](size_t c) {
    const int32_t a = std::min(first_columns_[c], columns_[c]), b = std::max(first_columns_[c], columns_[c]);
    return std::pair<int32_t, int32_t>{std::clamp(a, 0, std::max(last_column, 0)), std::clamp(b, 0, std::max(last_column, 0))};
  };
  int32_t lo = INT32_MAX, hi = INT32_MIN;
  for (size_t c = begin; c < end; ++c) {
    if (outside_[c]) continue;
    const auto [a, b] = share(c);
    lo = std::min(lo, a);
    hi = std::max(hi, b);
  }
  if (lo > hi) return;  // every column lies beyond the image's sides
  const size_t n = size_t(hi - lo) + 1;
  share_columns_.resize(n);
  for (size_t i = 0; i < n; ++i) share_columns_[i] = lo + int32_t(i);
  share_pixels_.resize(n);
  share_colors_.resize(n);
  const int32_t top = std::clamp(std::min(row_first_sy_, row_sy_), 0, std::max(last_row, 0));
  const int32_t bottom = std::clamp(std::max(row_first_sy_, row_sy_), 0, std::max(last_row, 0));
  const bool use_and = shrink_ == Shrink::kAnd;
  for (int32_t sy = top; sy <= bottom; ++sy) {
    RowPixels(sy, share_columns_.data(), n, share_colors_.data(), share_pixels_.data());
    for (size_t c = begin; c < end; ++c) {
      if (outside_[c]) continue;
      const auto [a, b] = share(c);
      uint32_t v = share_pixels_[size_t(a - lo)];
      for (int32_t sx = a + 1; sx <= b; ++sx) {
        const uint32_t p = share_pixels_[size_t(sx - lo)];
        v = use_and ? (v & p) : (v | p);
      }
      pixels_[c] = sy == top ? v : (use_and ? (pixels_[c] & v) : (pixels_[c] | v));
    }
  }
}

void StretchedSource::RowPixels(int32_t sy, const int32_t* columns, size_t count, PaletteEntry* colors,
                                uint32_t* out) const {
  switch (match_) {
    case Match::kSameFormat:
      for (size_t i = 0; i < count; ++i) out[i] = image_.Index(columns[i], sy);
      return;
    case Match::kTable:
      for (size_t i = 0; i < count; ++i)
        out[i] = table_pixels_[std::min<size_t>(image_.Index(columns[i], sy), table_pixels_.size() - 1)];
      return;
    case Match::kImage:
      image_.RowColors(sy, columns, count, colors);
      target_.PixelsOfImageColors(colors, count, out);
      return;
  }
}

void StretchedSource::ShownRow(int32_t sy, const int32_t* columns, size_t count, PaletteEntry* out) {
  if (match_ == Match::kTable) {
    for (size_t i = 0; i < count; ++i)
      out[i] = table_shown_[std::min<size_t>(image_.Index(columns[i], sy), table_shown_.size() - 1)];
    return;
  }
  image_.RowColors(sy, columns, count, out);
  scratch_pixels_.resize(count);
  target_.PixelsOfImageColors(out, count, scratch_pixels_.data());
  for (size_t i = 0; i < count; ++i) out[i] = target_.ColorOfPixel(scratch_pixels_[i]);
}

uint32_t StretchedSource::PixelOfInterpolated(PaletteEntry c) {
  const uint32_t key = (uint32_t(c.r) << 16 | uint32_t(c.g) << 8 | c.b) + 1;
  CachedColor& e = interpolated_[(key * 2654435761u) >> (32 - kCacheBits)];
  if (e.key != key) {
    e.key = key;
    // Drawn as the nearest colour at full precision, stored as the pixel the
    // image rule gives for the colour shown.
    e.pixel = target_.PixelOfImageColor(target_.ColorOfPixel(target_.PixelOfColor(RGB(c.r, c.g, c.b))));
  }
  return e.pixel;
}

}  // namespace vx::gdi
