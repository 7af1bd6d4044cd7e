// The source side of a stretched copy: for each device column of the clipped
// area, the image pixel it shows, as a pixel of the target. An image of the
// target's own format gives its pixels as they are; colour-table entries of
// an indexed image match at full precision, as solid colours do; pixels of
// true-colour images by the image rule. HALFTONE interpolates between the
// colours the target shows for the four pixels around the source position. Enlarged images
// repeat a source row on several device rows, so pixels are fetched (a row at
// a time, by the image's own row loop) and matched to the target once per
// source row (and, when interpolating, per source position between rows)
// and kept while the rows map alike.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "graphics/platform/core/dib.h"
#include "graphics/platform/core/gdi_types.h"
#include "graphics/platform/gdi/blit_mapping.h"
#include "graphics/platform/raster/pixel_target.h"

namespace vx::gdi {

class StretchedSource {
public:
  // How the source pixels of a shrunk device pixel's share make its pixel:
  // the last one kept, or all of them (target pixel values) ANDed or ORed.
  enum class Shrink { kKeepLast, kAnd, kOr };
  // area: the device pixels that will be asked for (the clip's bounds);
  // interpolate: the HALFTONE stretch, between the four pixels around each
  // source position; shrink: how shares are combined (not when interpolating).
  StretchedSource(const StretchMapping& m, const DibImage& image, const PixelTarget& target, const Rect& area,
                  bool interpolate, Shrink shrink = Shrink::kKeepLast);

  // Makes a device row current: sy its source row, fy its source position
  // in 1/65536 pixels when interpolating (else 0), first_sy the first source
  // row of its share when combining shares (else sy).
  void StartRow(int32_t sy, int64_t fy, int32_t first_sy);
  // The target pixels of device columns [x0, x1) of the current row, inside
  // the area.
  const uint32_t* Pixels(int32_t x0, int32_t x1);
  // Marks, from device column x0 on, the columns whose source lies beyond
  // the image's sides (left as they are); nullptr when there are none.
  const uint8_t* Skip(int32_t x0) const { return any_outside_ ? outside_.data() + (x0 - left_) : nullptr; }

private:
  enum class Match { kSameFormat, kTable, kImage };
  void Fetch(size_t begin, size_t end);
  // Fetch for combined shares: every source pixel of each device pixel's share.
  void FetchCombined(size_t begin, size_t end);
  // Target pixels of source row sy at the given columns.
  void RowPixels(int32_t sy, const int32_t* columns, size_t count, PaletteEntry* colors, uint32_t* out) const;
  // The colours the target shows for source row sy at the given columns.
  void ShownRow(int32_t sy, const int32_t* columns, size_t count, PaletteEntry* out);
  // The target's pixel for an interpolated colour (full precision, cached).
  uint32_t PixelOfInterpolated(PaletteEntry c);

  const DibImage& image_;
  const PixelTarget& target_;
  int32_t left_;
  bool interpolate_;
  Match match_ = Match::kImage;
  std::vector<uint32_t> table_pixels_;       // per colour-table entry
  std::vector<PaletteEntry> table_shown_;    // the colours those pixels show
  std::vector<uint32_t> scratch_pixels_;
  struct CachedColor {
    uint32_t key = 0;  // colour + 1; 0: empty
    uint32_t pixel = 0;
  };
  std::vector<CachedColor> interpolated_;  // direct-mapped
  Shrink shrink_ = Shrink::kKeepLast;
  std::vector<int32_t> first_columns_;  // first source column of each share
  std::vector<int32_t> share_columns_;  // scratch of FetchCombined
  std::vector<uint32_t> share_pixels_;
  std::vector<PaletteEntry> share_colors_;
  int32_t row_first_sy_ = 0;
  std::vector<int32_t> columns_;  // source column of each device column
  std::vector<uint8_t> outside_;
  bool any_outside_ = false;
  // When enlarging: the source columns told apart, and for each device
  // column the one it shows (empty when not worth it).
  std::vector<int32_t> distinct_columns_;
  std::vector<uint32_t> distinct_of_;
  std::vector<uint32_t> distinct_pixels_;
  std::vector<int32_t> left_columns_, right_columns_;  // interpolation's neighbours, clamped
  std::vector<uint32_t> column_weights_;
  std::vector<PaletteEntry> c00_, c10_, c01_, c11_;
  std::vector<PaletteEntry> colors_;  // per device column, or per distinct column
  std::vector<uint32_t> pixels_;
  std::vector<uint32_t> fetched_;  // the row generation each column was fetched in
  uint32_t generation_ = 0;
  int32_t row_sy_ = 0;
  int64_t row_fy_ = 0;
  // One stretch of columns known to be fetched in this generation, so rows
  // after the first ask for nothing column by column.
  size_t known_begin_ = 0, known_end_ = 0;
  bool known_marked_ = false;  // its columns are marked in fetched_ too
};

}  // namespace vx::gdi
