#include "graphics/bitmap.h"

#include <algorithm>
#include <cstring>
#include <mutex>
#include <new>
#include <optional>

#include "base/byte_reader.h"
#include "base/errors.h"
#include "base/stream.h"
#include "graphics/bitmap_canvas.h"
#include "graphics/platform/core/dib.h"
#include "graphics/platform/raster/halftone_image_lookup.h"
#include "graphics/platform/raster/halftone_palette.h"
#include "graphics/platform/raster/nearest_color.h"
#include "graphics/platform/raster/pixel_targets.h"

namespace vx {

namespace {

// Guards the swap of a bitmap's image record (process-wide).
std::mutex& ImageSwapLock() {
  static std::mutex lock;
  return lock;
}

[[noreturn]] void OutOfResources() { throw EOutOfResources(msg::kOutOfResources); }

std::vector<gdi::PaletteEntry> HalftoneEntries() {
  const gdi::PaletteEntry* entries = gdi::HalftonePalette();
  return {entries, entries + 256};
}

bool SameColor(const gdi::PaletteEntry& a, const gdi::PaletteEntry& b) {
  return a.r == b.r && a.g == b.g && a.b == b.b;
}

bool SameColors(const std::vector<gdi::PaletteEntry>& a, const std::vector<gdi::PaletteEntry>& b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(), SameColor);
}

bool IsHalftone(const std::vector<gdi::PaletteEntry>& table) { return gdi::IsHalftoneTable(table); }

// The DIB's colour table made from a palette: 2^bits entries up to 8 bits.
std::vector<gdi::PaletteEntry> ColorTableFor(const std::vector<gdi::PaletteEntry>& palette, int bits) {
  std::vector<gdi::PaletteEntry> table(palette.begin(), palette.begin() + std::min<size_t>(palette.size(), 256));
  if (bits <= 8) table.resize(size_t(1) << bits);
  return table;
}

// Sets the first `count` bits of a row (all pixels of one row: WHITENESS).
void SetLeadingBits(uint8_t* row, int64_t count) {
  std::memset(row, 0xFF, static_cast<size_t>(count / 8));
  if (count % 8 != 0) row[count / 8] |= static_cast<uint8_t>(0xFF00 >> (count % 8));
}

// Copies the first `count` bits of a row, leaving the bits after them.
void CopyLeadingBits(uint8_t* to, const uint8_t* from, int64_t count) {
  std::memcpy(to, from, static_cast<size_t>(count / 8));
  if (count % 8 == 0) return;
  const uint8_t mask = static_cast<uint8_t>(0xFF00 >> (count % 8));
  to[count / 8] = static_cast<uint8_t>((to[count / 8] & ~mask) | (from[count / 8] & mask));
}

// The BITMAPINFO of an image (header, masks, colour table) for the platform.
std::vector<uint8_t> BitmapInfoOf(const TBitmapImage& image) {
  bmp::BmpParts parts;
  parts.header = image.header;
  parts.masks = image.has_masks ? image.masks : nullptr;
  parts.colors = image.color_table;
  std::vector<uint8_t> bytes = bmp::EncodeHeaders(parts);
  bytes.erase(bytes.begin(), bytes.begin() + bmp::kFileHeaderSize);
  return bytes;
}

std::optional<gdi::DibImage> DibOf(const TBitmapImage& image) {
  const std::vector<uint8_t> info = BitmapInfoOf(image);
  return gdi::DibImage::Parse(info.data(), info.size(), image.pixels.Data(), image.pixels.Size());
}

// The pixel target of an image's rows (any depth, either row order).
std::unique_ptr<gdi::PixelTarget> TargetOf(TBitmapImage& image) {
  if (!image.has_image || !image.source.empty()) return nullptr;
  const bmp::InfoHeader& h = image.header;
  if (h.bit_count == 8 && h.height > 0 && IsHalftone(image.color_table)) {
    // The converter's page: exactly the halftone path.
    return gdi::MakeHalftoneTarget({h.width, h.height, static_cast<int32_t>(image.Stride()), image.pixels.Data()});
  }
  gdi::PixelLayout layout;
  layout.rows = {h.width, image.Height(), image.Stride(), h.height < 0, image.pixels.Data()};
  layout.bit_count = h.bit_count;
  layout.colors = image.color_table;
  layout.has_masks = image.has_masks && h.compression == gdi::BI_BITFIELDS;
  std::copy(image.masks, image.masks + 3, layout.masks);
  return gdi::MakePixelTarget(layout);
}

// The old image's pixels onto the new one at the top-left corner.
void CopyTopLeft(const TBitmapImage& from, TBitmapImage& to) {
  if (!from.has_image || !to.has_image) return;
  const int32_t width = std::min(from.header.width, to.header.width);
  const int32_t height = std::min(from.Height(), to.Height());
  const int bits = to.header.bit_count;
  if (from.header.bit_count == bits && SameColors(from.color_table, to.color_table) &&
      from.has_masks == to.has_masks && std::equal(from.masks, from.masks + 3, to.masks)) {
    for (int32_t y = 0; y < height; ++y) CopyLeadingBits(to.RowFromTop(y), from.RowFromTop(y), int64_t(width) * bits);
    return;
  }
  const std::optional<gdi::DibImage> source = DibOf(from);
  if (!source) return;
  if (bits != 8) {
    // Other depths take the colours through their own target.
    const std::unique_ptr<gdi::PixelTarget> target = TargetOf(to);
    if (!target) return;
    std::vector<gdi::PaletteEntry> colors(size_t(std::max(width, 0)));
    for (int32_t y = 0; y < height; ++y) {
      for (int32_t x = 0; x < width; ++x) colors[size_t(x)] = source->Color(x, y);
      if (width > 0) target->BlitRun(y, 0, width, uint8_t(gdi::SRCCOPY >> 16), colors.data(), nullptr, {});
    }
    return;
  }
  const bool halftone = IsHalftone(to.color_table);
  for (int32_t y = 0; y < height; ++y) {
    uint8_t* row = to.RowFromTop(y);
    for (int32_t x = 0; x < width; ++x) {
      const gdi::PaletteEntry c = source->Color(x, y);
      row[x] = halftone ? gdi::ImagePixelHalftoneIndex(c.r, c.g, c.b)
                        : gdi::NearestColorIndex(to.color_table, gdi::ReducedImageChannel(c.r),
                                                 gdi::ReducedImageChannel(c.g), gdi::ReducedImageChannel(c.b));
    }
  }
}

}  // namespace

TBitmap::TBitmap() = default;

TBitmap::~TBitmap() { FreeContext(); }

void TBitmap::SetPixelDepth(int bits) {
  if (bits == PixelDepth()) return;
  if (bits != 8 && bits != 24 && bits != 32) throw EInvalidGraphic(msg::kInvalidBitmap);
  bmp::InfoHeader header;
  header.size = bmp::kInfoHeaderSize;
  header.width = image_.header.width;
  header.height = image_.header.height;
  header.planes = 1;
  header.bit_count = static_cast<uint16_t>(bits);
  if (bits != 8) image_.has_masks = false;  // BI_RGB true colour
  ReplaceImage(header, bits == 8 ? HalftoneEntries() : std::vector<gdi::PaletteEntry>{});
}

void TBitmap::SetPixelWidth(int32_t value) {
  if (value == PixelWidth()) return;
  if (value < 0) OutOfResources();
  bmp::InfoHeader header = image_.header;
  header.width = value;
  ReplaceImage(header, image_.palette);
}

void TBitmap::SetPixelHeight(int32_t value) {
  if (value == PixelHeight()) return;
  if (value < 0) OutOfResources();
  bmp::InfoHeader header = image_.header;
  header.height = value;
  ReplaceImage(header, image_.palette);
}

void TBitmap::ReplaceImage(bmp::InfoHeader header, const std::vector<gdi::PaletteEntry>& palette) {
  FreeContext();
  TBitmapImage image;
  header.size = bmp::kInfoHeaderSize;
  header.planes = 1;
  image.palette = palette;
  image.has_masks = image_.has_masks;
  std::copy(image_.masks, image_.masks + 3, image.masks);
  if (header.width == 0 || header.height == 0 || header.bit_count == 0) {
    image.header = header;
    InstallImage(std::move(image));
    return;
  }
  const int64_t bytes = bmp::PixelBytes(header.width, header.height, header.bit_count);
  if (bytes < 0) OutOfResources();
  try {
    image.pixels = ZeroedBytes(static_cast<size_t>(bytes));
  } catch (const std::bad_alloc&) {
    OutOfResources();
  }
  header.size_image = static_cast<uint32_t>(bytes);
  image.header = header;
  image.has_image = true;
  image.color_table = ColorTableFor(palette, header.bit_count);
  FillNewImage(image);
  CopyTopLeft(image_, image);
  InstallImage(std::move(image));
}

void TBitmap::FillNewImage(TBitmapImage& image) const {
  // 8 bits: the brush through the image's own palette rule, as it always was.
  const int bits = image.header.bit_count;
  const int64_t row_bits = int64_t(image.header.width) * bits;
  if (canvas_ && bits == 8) {
    const gdi::ColorRef brush = canvas_->BrushColor();
    const uint8_t index = IsHalftone(image.color_table)
                              ? gdi::NearestHalftoneIndex(brush)
                              : gdi::NearestColorIndex(image.color_table, gdi::GetRValue(brush),
                                                       gdi::GetGValue(brush), gdi::GetBValue(brush));
    for (int32_t y = 0; y < image.Height(); ++y) std::memset(image.RowFromTop(y), index, size_t(image.header.width));
    return;
  }
  if (canvas_ && image.header.width > 0) {
    if (const std::unique_ptr<gdi::PixelTarget> target = TargetOf(image)) {
      const gdi::PixelPaint brush = gdi::PixelPaint::Solid(target->PixelOfColor(canvas_->BrushColor()));
      for (int32_t y = 0; y < image.Height(); ++y) target->FillRun(y, 0, image.header.width, gdi::R2_COPYPEN, brush);
      return;
    }
  }
  for (int32_t y = 0; y < image.Height(); ++y) SetLeadingBits(image.RowFromTop(y), row_bits);
}

void TBitmap::InstallImage(TBitmapImage&& image) {
  {
    std::lock_guard<std::mutex> guard(ImageSwapLock());
    std::swap(image_, image);
  }
  // The old record (now in `image`) is released here, outside the lock.
}

void TBitmap::ReadFromStream(TStream& stream) {
  FreeContext();
  const int64_t available = stream.Size() - stream.Position();
  if (available <= 0) {
    InstallImage(TBitmapImage{});
    return;
  }
  bmp::DecodedBmp decoded = bmp::ReadBmp(stream, available);
  TBitmapImage image;
  image.header = decoded.header;
  image.has_image = true;
  image.pixels = std::move(decoded.pixels);
  image.color_table = std::move(decoded.colors);
  image.palette = image.color_table;
  image.has_masks = decoded.has_masks;
  std::copy(decoded.masks, decoded.masks + 3, image.masks);
  image.source = std::move(decoded.source);
  image.core_header = decoded.core_header;
  InstallImage(std::move(image));
}

void TBitmap::WriteToStream(TStream& stream) {
  if (!image_.source.empty()) {
    stream.WriteBuffer(image_.source.data(), static_cast<int64_t>(image_.source.size()));
    return;
  }
  if (!image_.has_image) return;
  uint32_t colors = static_cast<uint32_t>(std::min<size_t>(image_.color_table.size(), bmp::kMaxColors));
  if (image_.header.clr_used != 0 && image_.header.clr_used < colors) colors = image_.header.clr_used;
  image_.header.clr_used = colors;
  bmp::BmpParts parts;
  parts.header = image_.header;
  parts.core_header = image_.core_header;
  parts.masks = image_.has_masks ? image_.masks : nullptr;
  parts.colors = std::span<const gdi::PaletteEntry>(image_.color_table.data(), colors);
  parts.pixels = image_.pixels.Data();
  parts.pixel_bytes = image_.pixels.Size();
  bmp::WriteBmp(stream, parts);
}

void TBitmap::SetPixelsPerMeter(int32_t x, int32_t y) {
  image_.header.x_pels_per_meter = x;
  image_.header.y_pels_per_meter = y;
  // A kept source is what gets written: its own fields, when it has them.
  std::vector<uint8_t>& source = image_.source;
  if (source.size() >= bmp::kYPelsPerMeterOffset + 4 && LoadU32(source.data() + bmp::kFileHeaderSize) >= 40) {
    StoreU32(source.data() + bmp::kXPelsPerMeterOffset, static_cast<uint32_t>(x));
    StoreU32(source.data() + bmp::kYPelsPerMeterOffset, static_cast<uint32_t>(y));
  }
}

uint8_t TBitmap::PixelIndex(int32_t x, int32_t y) const {
  if (!image_.has_image || PixelDepth() != 8) return 0;
  if (x < 0 || y < 0 || x >= PixelWidth() || y >= PixelHeight()) return 0;
  return image_.RowFromTop(y)[x];
}

TBitmapCanvas& TBitmap::DrawingSurface() {
  if (!canvas_) canvas_ = std::make_unique<TBitmapCanvas>(*this);
  return *canvas_;
}

void TBitmap::DrawInto(TCanvas& canvas, const gdi::Rect& rect) {
  if (!image_.has_image) return;
  const std::optional<gdi::DibImage> dib = DibOf(image_);
  if (!dib) return;
  canvas.Backend().StretchDIBits({rect.left, rect.top, rect.Width(), rect.Height()}, *dib,
                                       {0, 0, dib->Width(), dib->Height()}, gdi::SRCCOPY);
}

void TBitmap::AnnounceChange() {
  image_.source.clear();
  image_.source.shrink_to_fit();
  image_.header.clr_used = 0;
  image_.header.clr_important = 0;
}

std::unique_ptr<gdi::PixelTarget> TBitmap::DrawingTarget() { return TargetOf(image_); }

gdi::PaletteEntry TBitmap::PixelColor(int32_t x, int32_t y) const {
  if (!image_.has_image || x < 0 || y < 0 || x >= PixelWidth() || y >= PixelHeight()) return {};
  // Read through a target over the rows themselves: parsing a DIB would copy
  // every pixel for each one asked for.
  TBitmapImage& rows = const_cast<TBitmapImage&>(image_);
  if (const std::unique_ptr<gdi::PixelTarget> target = TargetOf(rows)) {
    return target->ColorOfPixel(target->PixelAt(x, y));
  }
  const std::optional<gdi::DibImage> dib = DibOf(image_);
  return dib ? dib->Color(x, y) : gdi::PaletteEntry{};
}

void TBitmap::FreeContext() {
  if (canvas_) canvas_->FreeContext();
}

}  // namespace vx
