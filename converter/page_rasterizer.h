// Renders one metafile into one 8-bit BMP file at a resolution.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

namespace vx {

class TBitmap;
class TMetafile;

// Sizes a halftone bitmap from the metafile's size in screen pixels scaled to
// the resolution (0 and below: one bitmap pixel per screen pixel), plays the
// metafile over it, records a positive resolution in the header and writes the
// file. A bitmap of zero width or height gives a file of length 0.
void RenderMetafileToFile(TMetafile& metafile, const std::string& fileName, int32_t resolution);

// The first half of RenderMetafileToFile: the drawn bitmap with the resolution
// recorded, ready for WriteToFile. Parallel page conversion renders ahead and
// writes in page order.
std::unique_ptr<TBitmap> RenderMetafile(TMetafile& metafile, int32_t resolution);

// Horizontal logical pixels per inch of the bitmap's drawing surface.
int SurfacePixelsPerInch(TBitmap& bitmap);

// Records the resolution in the bitmap's two pixels-per-metre fields; a bitmap
// without an image is left alone.
void SetBitmapResolution(TBitmap& bitmap, int32_t resolution);

// Dots per inch to pixels per metre, rounded to the nearest whole number.
int32_t PixelsPerMeter(int32_t resolution);

// resolution / pixelsPerInch as a single-precision number.
float ResolutionFactor(int32_t resolution, int pixelsPerInch);

// pixels x factor, rounded to nearest with halves to even. The product is
// exact; a result outside 32 bits raises EOutOfResources.
int32_t ScaleDimension(int32_t pixels, float factor);

}  // namespace vx
