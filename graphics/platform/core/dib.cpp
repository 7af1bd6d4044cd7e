#include "graphics/platform/core/dib.h"

#include <algorithm>

#include "base/byte_reader.h"

namespace vx::gdi {

namespace {

void MaskShape(uint32_t mask, int& shift, int& width) {
  shift = 0;
  width = 0;
  if (mask == 0) return;
  while ((mask & 1u) == 0) { mask >>= 1; ++shift; }
  while ((mask & 1u) != 0) { mask >>= 1; ++width; }
}

uint8_t ScaleChannel(uint32_t value, int width) {
  if (width <= 0) return 0;
  if (width >= 8) return uint8_t(value >> (width - 8));
  // Replicate the high bits into the low ones (5 bits -> 8 bits).
  uint32_t v = value << (8 - width);
  v |= v >> width;
  if (width < 4) v |= v >> (2 * width);
  return uint8_t(v);
}

// Fetches the pixels of one row at the given columns through Load(p, x),
// which reads a column known to be inside the row.
// A column outside the row gives outside.
template <class Load>
void FetchRow(const uint8_t* p, int32_t width, const int32_t* columns, size_t count, PaletteEntry* out,
              PaletteEntry outside, Load load) {
  for (size_t i = 0; i < count; ++i) {
    const int32_t x = columns[i];
    out[i] = (x >= 0 && x < width) ? load(p, x) : outside;
  }
}

}  // namespace

std::optional<DibImage> DibImage::Parse(const uint8_t* info, size_t info_size, const uint8_t* bits,
                                        size_t bits_size, uint32_t usage) {
  ByteReader r(info, info_size);
  const uint32_t header_size = r.U32();
  DibImage img;
  uint32_t compression = BI_RGB;
  uint32_t colors_used = 0;
  int32_t height = 0;
  if (header_size == 12) {
    img.width_ = r.U16();
    height = r.I16();
    r.U16();
    img.bit_count_ = r.U16();
  } else if (header_size >= 40) {
    img.width_ = r.I32();
    height = r.I32();
    r.U16();
    img.bit_count_ = r.U16();
    compression = r.U32();
    r.Skip(12);
    colors_used = r.U32();
    r.Seek(header_size);
  } else {
    return std::nullopt;
  }
  if (!r.Ok() || img.width_ <= 0 || height == 0 || height == INT32_MIN) return std::nullopt;
  img.top_down_ = height < 0;
  img.height_ = height < 0 ? -height : height;
  const int bc = img.bit_count_;
  if (bc != 1 && bc != 4 && bc != 8 && bc != 16 && bc != 24 && bc != 32) return std::nullopt;
  if (compression != BI_RGB && !(compression == BI_BITFIELDS && (bc == 16 || bc == 32)))
    return std::nullopt;
  if (img.width_ > (1 << 24) || img.height_ > (1 << 24)) return std::nullopt;

  if (compression == BI_BITFIELDS) {
    // The masks follow a 40-byte header; larger headers carry them inside.
    ByteReader m(info, info_size);
    m.Seek(40);
    for (uint32_t& mask : img.masks_) mask = m.U32();
    if (!m.Ok()) return std::nullopt;
    if (header_size == 40) r.Seek(52);
  } else if (bc == 16) {
    img.masks_[0] = 0x7C00; img.masks_[1] = 0x03E0; img.masks_[2] = 0x001F;
  } else if (bc >= 24) {
    img.masks_[0] = 0xFF0000; img.masks_[1] = 0xFF00; img.masks_[2] = 0xFF;
  }
  for (int i = 0; i < 3; ++i) MaskShape(img.masks_[i], img.shifts_[i], img.widths_[i]);

  if (bc <= 8) {
    uint32_t count = colors_used == 0 || colors_used > (1u << bc) ? (1u << bc) : colors_used;
    img.colors_.resize(1u << bc);
    for (uint32_t i = 0; i < count; ++i) {
      if (usage == DIB_PAL_COLORS) {
        // Palette indices into a logical palette we do not keep: greys by index.
        const uint16_t index = r.U16();
        img.colors_[i] = {uint8_t(index), uint8_t(index), uint8_t(index)};
        continue;
      }
      const uint8_t b = r.U8(), g = r.U8(), rr = r.U8();
      r.U8();
      img.colors_[i] = {rr, g, b};
    }
    if (!r.Ok()) {
      // A short colour table: the entries that are missing stay black.
      if (count > 0 && img.colors_.empty()) return std::nullopt;
    }
  }
  img.stride_ = size_t((uint64_t(img.width_) * bc + 31) / 32 * 4);
  const uint64_t needed = uint64_t(img.stride_) * uint64_t(img.height_);
  if (bits == nullptr || needed > bits_size) return std::nullopt;
  img.bits_.assign(bits, bits + needed);
  return img;
}

uint32_t DibImage::Index(int32_t x, int32_t y) const {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return 0;
  const size_t row = top_down_ ? size_t(y) : size_t(height_ - 1 - y);
  const uint8_t* p = bits_.data() + row * stride_;
  switch (bit_count_) {
    case 1: return (p[x >> 3] >> (7 - (x & 7))) & 1u;
    case 4: return (x & 1) ? (p[x >> 1] & 0x0Fu) : (p[x >> 1] >> 4);
    case 8: return p[x];
    case 16: return LoadU16(p + 2 * x);
    case 24: return uint32_t(p[3 * x]) | (uint32_t(p[3 * x + 1]) << 8) | (uint32_t(p[3 * x + 2]) << 16);
    default: return LoadU32(p + 4 * x);
  }
}

void DibImage::RowColors(int32_t y, const int32_t* columns, size_t count, PaletteEntry* out) const {
  // What Color gives outside the image: pixel value 0.
  const PaletteEntry outside = Color(-1, -1);
  if (y < 0 || y >= height_) {
    std::fill(out, out + count, outside);
    return;
  }
  const uint8_t* p = bits_.data() + (top_down_ ? size_t(y) : size_t(height_ - 1 - y)) * stride_;
  const auto table = [this](uint32_t v) { return v < colors_.size() ? colors_[v] : PaletteEntry{}; };
  const bool bytes_888 = masks_[0] == 0xFF0000 && masks_[1] == 0xFF00 && masks_[2] == 0xFF;
  switch (bit_count_) {
    case 1:
      FetchRow(p, width_, columns, count, out, outside,
               [&](const uint8_t* r, int32_t x) { return table((r[x >> 3] >> (7 - (x & 7))) & 1u); });
      return;
    case 4:
      FetchRow(p, width_, columns, count, out, outside,
               [&](const uint8_t* r, int32_t x) { return table((x & 1) ? (r[x >> 1] & 0x0Fu) : (r[x >> 1] >> 4)); });
      return;
    case 8:
      FetchRow(p, width_, columns, count, out, outside, [&](const uint8_t* r, int32_t x) { return table(r[x]); });
      return;
    case 24:
      FetchRow(p, width_, columns, count, out, outside, [](const uint8_t* r, int32_t x) {
        return PaletteEntry{r[3 * x + 2], r[3 * x + 1], r[3 * x]};
      });
      return;
    case 32:
      if (bytes_888) {
        FetchRow(p, width_, columns, count, out, outside, [](const uint8_t* r, int32_t x) {
          return PaletteEntry{r[4 * x + 2], r[4 * x + 1], r[4 * x]};
        });
        return;
      }
      break;
    default:
      break;
  }
  // Bit fields of any shape (16 bits, masked 32 bits).
  FetchRow(p, width_, columns, count, out, outside, [this](const uint8_t* r, int32_t x) {
    const uint32_t v = bit_count_ == 16 ? uint32_t(LoadU16(r + 2 * x)) : LoadU32(r + 4 * x);
    PaletteEntry c;
    c.r = ScaleChannel((v & masks_[0]) >> shifts_[0], widths_[0]);
    c.g = ScaleChannel((v & masks_[1]) >> shifts_[1], widths_[1]);
    c.b = ScaleChannel((v & masks_[2]) >> shifts_[2], widths_[2]);
    return c;
  });
}

PaletteEntry DibImage::Color(int32_t x, int32_t y) const {
  const uint32_t v = Index(x, y);
  if (bit_count_ <= 8) return v < colors_.size() ? colors_[v] : PaletteEntry{};
  PaletteEntry c;
  c.r = ScaleChannel((v & masks_[0]) >> shifts_[0], widths_[0]);
  c.g = ScaleChannel((v & masks_[1]) >> shifts_[1], widths_[1]);
  c.b = ScaleChannel((v & masks_[2]) >> shifts_[2], widths_[2]);
  return c;
}

}  // namespace vx::gdi
