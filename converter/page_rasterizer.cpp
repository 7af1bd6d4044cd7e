#include "converter/page_rasterizer.h"

#include <cmath>
#include <limits>
#include <string>

#include "base/arith.h"
#include "base/errors.h"
#include "graphics/bitmap.h"
#include "graphics/bitmap_canvas.h"
#include "graphics/metafile.h"
#include "graphics/png_file.h"

namespace vx {

namespace {

constexpr double kMetersPerInch = 0.0254;

void SizeBitmap(TBitmap& bitmap, const TMetafile& metafile, int32_t resolution) {
  if (resolution <= 0) {
    bitmap.SetPixelWidth(metafile.PixelWidth());
    bitmap.SetPixelHeight(metafile.PixelHeight());
    return;
  }
  const float factor = ResolutionFactor(resolution, SurfacePixelsPerInch(bitmap));
  bitmap.SetPixelWidth(ScaleDimension(metafile.PixelWidth(), factor));
  bitmap.SetPixelHeight(ScaleDimension(metafile.PixelHeight(), factor));
}

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

void RenderMetafileToBitmap(TMetafile& metafile, TBitmap& bitmap, int32_t resolution,
                            const TConversionOptions& options) {
  SelectPixelDepth(bitmap, options.depth);
  const bool pixelSize = options.width > 0 || options.height > 0;
  const int ppi = pixelSize ? SurfacePixelsPerInch(bitmap) : 0;
  if (pixelSize) {
    const TPixelSize size = PixelSizeFor(metafile.PixelWidth(), metafile.PixelHeight(), options.width, options.height);
    bitmap.SetPixelWidth(size.width);
    bitmap.SetPixelHeight(size.height);
  } else {
    SizeBitmap(bitmap, metafile, resolution);
  }
  bitmap.DrawingSurface().DrawStretched({0, 0, bitmap.PixelWidth(), bitmap.PixelHeight()}, &metafile);
  if (pixelSize) {
    if (bitmap.Empty()) return;
    bitmap.SetPixelsPerMeter(EffectivePixelsPerMeter(bitmap.PixelWidth(), metafile.PixelWidth(), ppi),
                             EffectivePixelsPerMeter(bitmap.PixelHeight(), metafile.PixelHeight(), ppi));
  } else if (resolution > 0) {
    SetBitmapResolution(bitmap, resolution);
  }
}

void WriteBitmapFile(TBitmap& bitmap, const std::string& fileName, TOutputFormat format) {
  if (format == TOutputFormat::Png)
    WritePngFile(bitmap, fileName);
  else
    bitmap.WriteToFile(fileName);
}

}  // namespace vx
