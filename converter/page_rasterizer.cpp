#include "converter/page_rasterizer.h"

#include <cmath>
#include <limits>

#include "base/arith.h"
#include "base/errors.h"
#include "graphics/bitmap.h"
#include "graphics/bitmap_canvas.h"
#include "graphics/metafile.h"

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

}  // namespace

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

std::unique_ptr<TBitmap> RenderMetafile(TMetafile& metafile, int32_t resolution) {
  auto bitmap = std::make_unique<TBitmap>();
  bitmap->SetPixelDepth(8);
  SizeBitmap(*bitmap, metafile, resolution);
  bitmap->DrawingSurface().DrawStretched({0, 0, bitmap->PixelWidth(), bitmap->PixelHeight()}, &metafile);
  if (resolution > 0) SetBitmapResolution(*bitmap, resolution);
  return bitmap;
}

void RenderMetafileToFile(TMetafile& metafile, const std::string& fileName, int32_t resolution) {
  RenderMetafile(metafile, resolution)->WriteToFile(fileName);
}

}  // namespace vx
