// How a page is cut into bands: drawn band by band, a page needs memory for
// its bands instead of its whole bitmap (page_parts.h).
#pragma once

#include <cstdint>

#include "converter/conversion_options.h"

namespace vx {

// One worker draws a page of up to this many pixel bytes whole: one playback,
// and the memory is the page's. A4 and Letter pages up to 600 dpi (35 MB) stay
// whole; larger ones (A4 at 1,200 dpi: 140 MB) are cut into bands of
// kBandBytesLimit, which need an eighth of the memory at the cost of one
// playback per band.
inline constexpr int64_t kWholePageBytesLimit = int64_t(48) << 20;
inline constexpr int64_t kBandBytesLimit = int64_t(16) << 20;

// Rows per band of a page of width x height pixels, drawn by `workers`
// threads: height for a page drawn whole. Pages are cut only when written as
// 8-bit BMP files: with --band-rows=N into bands of N rows; with several
// workers into one band more than there are workers (they draw the bands of
// a page at the same time, and the bands in memory together hold one page);
// with one worker when the page is above kWholePageBytesLimit. No band is
// above kBandBytesLimit unless a row is.
int32_t BandRowsFor(int32_t width, int32_t height, int workers, const TConversionOptions& options);

// Band buffers the workers need: one each and one being written (none extra
// for one worker, which writes what it draws).
int BandBuffersFor(int workers);

}  // namespace vx
