// Renders one metafile into one 8-bit BMP file at a resolution.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "converter/conversion_options.h"

namespace vx {

class TBitmap;
class TMetafile;

// Sizes a halftone bitmap from the metafile's size in screen pixels scaled to
// the resolution (0 and below: one bitmap pixel per screen pixel), plays the
// metafile over it, records a positive resolution in the header and writes the
// file. A bitmap of zero width or height gives a file of length 0.
void RenderMetafileToFile(TMetafile& metafile, const std::string& fileName, int32_t resolution);

// The same with what the long options ask for: the pixel depth, a pixel width
// or height instead of the resolution, and the file format. Default options
// give exactly the file above.
void RenderMetafileToFile(TMetafile& metafile, const std::string& fileName, int32_t resolution,
                          const TConversionOptions& options);

// The rendering alone, into a new bitmap of the caller's: the options' depth,
// size from the resolution or from --width / --height, the metafile played over
// it and the resolution recorded (the effective one for a pixel size).
void RenderMetafileToBitmap(TMetafile& metafile, TBitmap& bitmap, int32_t resolution,
                            const TConversionOptions& options);

// The pixel size a metafile is rendered at and the resolution recorded in
// the result (when records_resolution).
struct TPageRaster {
  int32_t width = 0;
  int32_t height = 0;
  bool records_resolution = false;
  int32_t x_pixels_per_meter = 0;
  int32_t y_pixels_per_meter = 0;
};
// From the resolution, or from --width / --height; surfacePixelsPerInch is
// the drawing surface's (read only when the resolution or a pixel size is given).
TPageRaster PageRasterFor(const TMetafile& metafile, int32_t resolution, const TConversionOptions& options,
                          int surfacePixelsPerInch);
// The same with the pixels per inch of a new bitmap's drawing surface.
TPageRaster PageRasterFor(const TMetafile& metafile, int32_t resolution, const TConversionOptions& options);
// Whether the raster needs the surface's pixels per inch.
bool PageRasterNeedsPixelsPerInch(int32_t resolution, const TConversionOptions& options);

// Writes the bitmap as a BMP or PNG file. A file that fails half way is
// removed again (unfinished_file.h).
void WriteBitmapFile(TBitmap& bitmap, const std::string& fileName, TOutputFormat format);

// The pixel size for --width / --height (0: not given) of a picture of
// pixelWidth x pixelHeight screen pixels: a missing side follows the aspect,
// rounded to nearest with halves to even; 0 x 0 for an empty picture.
struct TPixelSize {
  int32_t width = 0;
  int32_t height = 0;
};
TPixelSize PixelSizeFor(int32_t pixelWidth, int32_t pixelHeight, int32_t width, int32_t height);

// Pixels per metre of size pixels drawn from pictureSize screen pixels at
// pixelsPerInch, rounded to the nearest whole number.
int32_t EffectivePixelsPerMeter(int32_t size, int32_t pictureSize, int pixelsPerInch);

// The rendering as a new bitmap, ready for WriteBitmapFile: parallel page
// conversion renders ahead and writes in page order.
std::unique_ptr<TBitmap> RenderMetafile(TMetafile& metafile, int32_t resolution,
                                        const TConversionOptions& options = {});
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
