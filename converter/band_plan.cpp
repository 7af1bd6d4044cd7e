#include "converter/band_plan.h"

#include <algorithm>

#include "graphics/bmp_codec.h"

namespace vx {

int32_t BandRowsFor(int32_t width, int32_t height, int workers, const TConversionOptions& options) {
  if (width <= 0 || height <= 0) return height;
  if (options.format != TOutputFormat::Bmp || options.depth != 8) return height;
  if (options.band_rows > 0) return std::min(options.band_rows, height);
  const int64_t stride = bmp::RowStride(width, 8);
  const int64_t limitRows = std::max<int64_t>(1, kBandBytesLimit / stride);
  if (workers <= 1) {
    if (stride * height <= kWholePageBytesLimit) return height;
    return static_cast<int32_t>(std::min<int64_t>(limitRows, height));
  }
  const int64_t buffers = BandBuffersFor(workers);
  const int64_t shareRows = (int64_t(height) + buffers - 1) / buffers;
  return static_cast<int32_t>(std::min(shareRows, limitRows));
}

int BandBuffersFor(int workers) { return workers <= 1 ? 1 : workers + 1; }

}  // namespace vx
