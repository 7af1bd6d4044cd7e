#include "converter/page_rasterizer.h"

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "base/arith.h"
#include "base/errors.h"
#include "base/file_stream.h"
#include "converter/unfinished_file.h"
#include "graphics/bitmap.h"
#include "graphics/bitmap_canvas.h"
#include "graphics/metafile.h"
#include "graphics/png_file.h"

namespace vx {

namespace {

constexpr double kMetersPerInch = 0.0254;

// The one place where the rendered depth is chosen: 8 bits with the halftone
// palette, or true colour (24 or 32 bits, exact colours, no palette).
void SelectPixelDepth(TBitmap& bitmap, int depth) { bitmap.SetPixelDepth(depth); }

int32_t RoundedQuotient(int64_t numerator, int64_t denominator) {
  const int64_t quotient = numerator / denominator;
  const int64_t twiceRest = 2 * (numerator % denominator);
  const bool up = twiceRest > denominator || (twiceRest == denominator && quotient % 2 != 0);
  const int64_t value = quotient + (up ? 1 : 0);
  if (value > std::numeric_limits<int32_t>::max()) throw EOutOfResources(msg::kOutOfResources);
  return static_cast<int32_t>(value);
}

}  // namespace

TPixelSize PixelSizeFor(int32_t pixelWidth, int32_t pixelHeight, int32_t width, int32_t height) {
  if (pixelWidth <= 0 || pixelHeight <= 0) return {};
  if (width > 0 && height > 0) return {width, height};
  if (width > 0) return {width, RoundedQuotient(int64_t(pixelHeight) * width, pixelWidth)};
  return {RoundedQuotient(int64_t(pixelWidth) * height, pixelHeight), height};
}

int32_t EffectivePixelsPerMeter(int32_t size, int32_t pictureSize, int pixelsPerInch) {
  if (pictureSize <= 0) return 0;
  const double dpi = static_cast<double>(size) * pixelsPerInch / pictureSize;
  const double value = std::nearbyint(dpi / kMetersPerInch);
  if (value >= static_cast<double>(std::numeric_limits<int32_t>::max())) return std::numeric_limits<int32_t>::max();
  return static_cast<int32_t>(value);
}

float ResolutionFactor(int32_t resolution, int pixelsPerInch) {
  // The quotient in extended precision, stored as single precision.
  return static_cast<float>(static_cast<Extended>(resolution) / static_cast<Extended>(pixelsPerInch));
}

int32_t ScaleDimension(int32_t pixels, float factor) {
  // 31 bits times a 24-bit mantissa fit the 64-bit mantissa of Extended exactly.
  const Extended product = static_cast<Extended>(pixels) * static_cast<Extended>(factor);
  if (!std::isfinite(product) || std::fabs(product) > 2147483647.0L) throw EOutOfResources(msg::kOutOfResources);
  return static_cast<int32_t>(RoundHalfEven(product));
}

int32_t PixelsPerMeter(int32_t resolution) {
  const double value = std::nearbyint(static_cast<double>(resolution) / kMetersPerInch);
  if (value >= static_cast<double>(std::numeric_limits<int32_t>::max())) return std::numeric_limits<int32_t>::max();
  if (value <= static_cast<double>(std::numeric_limits<int32_t>::min())) return std::numeric_limits<int32_t>::min();
  return static_cast<int32_t>(value);
}

int SurfacePixelsPerInch(TBitmap& bitmap) {
  return bitmap.DrawingSurface().DeviceContext().GetDeviceCaps(gdi::LOGPIXELSX);
}

void SetBitmapResolution(TBitmap& bitmap, int32_t resolution) {
  // Writing the BMP, patching the two fields and reading it back gives exactly
  // this header: the image, colour table and other fields come back unchanged.
  if (bitmap.Empty()) return;
  const int32_t ppm = PixelsPerMeter(resolution);
  bitmap.SetPixelsPerMeter(ppm, ppm);
}

std::unique_ptr<TBitmap> RenderMetafile(TMetafile& metafile, int32_t resolution,
                                        const TConversionOptions& options) {
  auto bitmap = std::make_unique<TBitmap>();
  RenderMetafileToBitmap(metafile, *bitmap, resolution, options);
  return bitmap;
}

void RenderMetafileToFile(TMetafile& metafile, const std::string& fileName, int32_t resolution) {
  RenderMetafileToFile(metafile, fileName, resolution, TConversionOptions{});
}

void RenderMetafileToFile(TMetafile& metafile, const std::string& fileName, int32_t resolution,
                          const TConversionOptions& options) {
  TBitmap bitmap;
  RenderMetafileToBitmap(metafile, bitmap, resolution, options);
  WriteBitmapFile(bitmap, fileName, options.format);
}

bool PageRasterNeedsPixelsPerInch(int32_t resolution, const TConversionOptions& options) {
  return options.width > 0 || options.height > 0 || resolution > 0;
}

TPageRaster PageRasterFor(const TMetafile& metafile, int32_t resolution, const TConversionOptions& options,
                          int surfacePixelsPerInch) {
  TPageRaster raster;
  if (options.width > 0 || options.height > 0) {
    const TPixelSize size = PixelSizeFor(metafile.PixelWidth(), metafile.PixelHeight(), options.width, options.height);
    raster.width = size.width;
    raster.height = size.height;
    raster.records_resolution = true;
    raster.x_pixels_per_meter = EffectivePixelsPerMeter(size.width, metafile.PixelWidth(), surfacePixelsPerInch);
    raster.y_pixels_per_meter = EffectivePixelsPerMeter(size.height, metafile.PixelHeight(), surfacePixelsPerInch);
  } else if (resolution > 0) {
    const float factor = ResolutionFactor(resolution, surfacePixelsPerInch);
    raster.width = ScaleDimension(metafile.PixelWidth(), factor);
    raster.height = ScaleDimension(metafile.PixelHeight(), factor);
    raster.records_resolution = true;
    raster.x_pixels_per_meter = raster.y_pixels_per_meter = PixelsPerMeter(resolution);
  } else {
    raster.width = metafile.PixelWidth();
    raster.height = metafile.PixelHeight();
  }
  return raster;
}

TPageRaster PageRasterFor(const TMetafile& metafile, int32_t resolution, const TConversionOptions& options) {
  int ppi = 0;
  if (PageRasterNeedsPixelsPerInch(resolution, options)) {
    TBitmap probe;
    ppi = SurfacePixelsPerInch(probe);
  }
  return PageRasterFor(metafile, resolution, options, ppi);
}

void RenderMetafileToBitmap(TMetafile& metafile, TBitmap& bitmap, int32_t resolution,
                            const TConversionOptions& options) {
  SelectPixelDepth(bitmap, options.depth);
  // Asking the surface first gives the bitmap its drawing surface before it is
  // sized, as it always has (a new image is then filled with the surface's brush).
  const int ppi = PageRasterNeedsPixelsPerInch(resolution, options) ? SurfacePixelsPerInch(bitmap) : 0;
  const TPageRaster raster = PageRasterFor(metafile, resolution, options, ppi);
  bitmap.SetPixelWidth(raster.width);
  bitmap.SetPixelHeight(raster.height);
  bitmap.DrawingSurface().DrawStretched({0, 0, bitmap.PixelWidth(), bitmap.PixelHeight()}, &metafile);
  // A bitmap without an image has no fields to record the resolution in.
  if (raster.records_resolution && !bitmap.Empty())
    bitmap.SetPixelsPerMeter(raster.x_pixels_per_meter, raster.y_pixels_per_meter);
}

void WriteBitmapFile(TBitmap& bitmap, const std::string& fileName, TOutputFormat format) {
  // Encoded before the file is created: a picture that cannot be encoded leaves the name alone.
  const std::vector<uint8_t> png = format == TOutputFormat::Png ? EncodePng(bitmap) : std::vector<uint8_t>{};
  TUnfinishedFile unfinished;  // goes after the stream is closed
  TFileStream file(fileName, TFileMode::Create);
  unfinished.Created(fileName);
  if (format == TOutputFormat::Png)
    file.WriteBuffer(png.data(), static_cast<int64_t>(png.size()));
  else
    bitmap.WriteToStream(file);
  unfinished.Finished();
}

}  // namespace vx
