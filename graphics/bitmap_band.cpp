#include "graphics/bitmap_band.h"

#include <cstring>
#include <new>
#include <vector>

#include "base/errors.h"
#include "graphics/bitmap_canvas.h"
#include "graphics/bmp_codec.h"
#include "graphics/graphic.h"
#include "graphics/platform/gdi/device_context.h"
#include "graphics/platform/raster/band_target.h"
#include "graphics/platform/raster/halftone_palette.h"

namespace vx {

namespace {

constexpr int kBits = 8;

std::vector<gdi::PaletteEntry> HalftoneEntries() {
  const gdi::PaletteEntry* entries = gdi::HalftonePalette();
  return {entries, entries + 256};
}

}  // namespace

// A memory context over the band's rows, set up as a bitmap's drawing surface is.
class TBitmapBand::Surface : public TCanvas {
public:
  explicit Surface(std::unique_ptr<gdi::PixelTarget> target) : target_(std::move(target)) {}

  gdi::TDeviceContext& DeviceContext() override {
    if (!context_) context_ = NewSurfaceContext(target_.get(), HalftoneEntries(), BrushColor());
    return *context_;
  }

private:
  std::unique_ptr<gdi::PixelTarget> target_;
  std::unique_ptr<gdi::TDeviceContext> context_;
};

TBitmapBand::TBitmapBand() = default;

TBitmapBand::~TBitmapBand() = default;

int64_t TBitmapBand::Stride() const { return bmp::RowStride(width_, kBits); }

size_t TBitmapBand::StoredBytes() const { return static_cast<size_t>(Stride() * (bottom_ - top_)); }

void TBitmapBand::SelectRows(int32_t width, int32_t height, int32_t top, int32_t bottom) {
  surface_.reset();
  top_ = bottom_ = 0;
  if (width <= 0 || top < 0 || bottom <= top || bottom > height) throw EOutOfResources(msg::kOutOfResources);
  const int64_t bytes = bmp::PixelBytes(width, bottom - top, kBits);
  if (bytes < 0 || bmp::PixelBytes(width, height, kBits) < 0) throw EOutOfResources(msg::kOutOfResources);
  width_ = width;
  height_ = height;
  if (rows_.Size() < static_cast<size_t>(bytes)) {
    rows_ = ZeroedBytes();
    try {
      rows_ = ZeroedBytes(static_cast<size_t>(bytes));
    } catch (const std::bad_alloc&) {
      throw EOutOfResources(msg::kOutOfResources);
    }
  }
  top_ = top;
  bottom_ = bottom;
  gdi::PixelLayout layout;
  layout.rows = {width_, bottom - top, Stride(), false, rows_.Data(), top};
  layout.bit_count = kBits;
  layout.colors = HalftoneEntries();
  auto surface = std::make_unique<Surface>(gdi::MakeBandTarget(layout, height_));
  // White as a new bitmap is: the drawing surface's brush through the palette;
  // the padding of each row stays 0.
  const uint8_t white = gdi::NearestHalftoneIndex(surface->BrushColor());
  const size_t stride = static_cast<size_t>(Stride());
  for (int32_t row = 0; row < bottom - top; ++row) {
    uint8_t* stored = rows_.Data() + row * stride;
    std::memset(stored, white, static_cast<size_t>(width_));
    std::memset(stored + width_, 0, stride - static_cast<size_t>(width_));
  }
  surface_ = std::move(surface);
}

void TBitmapBand::DrawStretched(const gdi::Rect& rect, TGraphic& graphic) {
  if (!surface_) throw EOutOfResources(msg::kOutOfResources);
  surface_->DrawStretched(rect, &graphic);
}

uint8_t TBitmapBand::PixelIndex(int32_t x, int32_t y) const {
  if (x < 0 || x >= width_ || y < top_ || y >= bottom_) return 0;
  return rows_.Data()[(int64_t(bottom_) - 1 - y) * Stride() + x];
}

}  // namespace vx

namespace vx {

std::vector<uint8_t> BandedBitmapHeaders(int32_t width, int32_t height, int32_t x_pixels_per_meter,
                                         int32_t y_pixels_per_meter) {
  const int64_t bytes = bmp::PixelBytes(width, height, kBits);
  if (width <= 0 || height <= 0 || bytes < 0) throw EOutOfResources(msg::kOutOfResources);
  const std::vector<gdi::PaletteEntry> table = HalftoneEntries();
  bmp::BmpParts parts;
  parts.header.size = bmp::kInfoHeaderSize;
  parts.header.width = width;
  parts.header.height = height;
  parts.header.planes = 1;
  parts.header.bit_count = kBits;
  parts.header.size_image = static_cast<uint32_t>(bytes);
  parts.header.x_pels_per_meter = x_pixels_per_meter;
  parts.header.y_pels_per_meter = y_pixels_per_meter;
  parts.header.clr_used = static_cast<uint32_t>(table.size());
  parts.colors = table;
  parts.pixel_bytes = static_cast<size_t>(bytes);
  return bmp::EncodeHeaders(parts);
}

}  // namespace vx
