#include "support/png_decoder.h"

#include <png.h>

#include <csetjmp>
#include <cstring>

namespace vx::test {

namespace {

struct Source {
  const std::vector<uint8_t>* bytes = nullptr;
  size_t offset = 0;
};

void ReadBytes(png_structp png, png_bytep out, png_size_t length) {
  auto* source = static_cast<Source*>(png_get_io_ptr(png));
  if (source->offset + length > source->bytes->size()) png_error(png, "cut short");
  std::memcpy(out, source->bytes->data() + source->offset, length);
  source->offset += length;
}

// Plain data only in this frame: libpng leaves it by longjmp.
bool Decode(Source& source, DecodedPng& out, std::vector<png_bytep>& pointers, std::vector<uint8_t>& pixels) {
  png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  if (png == nullptr) return false;
  png_infop info = png_create_info_struct(png);
  if (info == nullptr || setjmp(png_jmpbuf(png))) {
    png_destroy_read_struct(&png, info ? &info : nullptr, nullptr);
    return false;
  }
  png_set_read_fn(png, &source, ReadBytes);
  png_read_info(png, info);
  out.width = png_get_image_width(png, info);
  out.height = png_get_image_height(png, info);
  out.bit_depth = png_get_bit_depth(png, info);
  out.color_type = png_get_color_type(png, info);
  png_colorp palette = nullptr;
  int entries = 0;
  if (png_get_PLTE(png, info, &palette, &entries) != 0) {
    for (int i = 0; i < entries; ++i) {
      out.palette.push_back(palette[i].red);
      out.palette.push_back(palette[i].green);
      out.palette.push_back(palette[i].blue);
    }
  }
  png_uint_32 x = 0, y = 0;
  int unit = 0;
  if (png_get_pHYs(png, info, &x, &y, &unit) != 0) {
    out.has_phys = true;
    out.x_ppu = x;
    out.y_ppu = y;
    out.phys_unit = unit;
  }
  const size_t rowBytes = png_get_rowbytes(png, info);
  pixels.resize(rowBytes * out.height);
  pointers.resize(out.height);
  for (uint32_t r = 0; r < out.height; ++r) pointers[r] = pixels.data() + r * rowBytes;
  png_read_image(png, pointers.data());
  png_read_end(png, nullptr);
  png_destroy_read_struct(&png, &info, nullptr);
  return true;
}

}  // namespace

uint32_t DecodedPng::At(uint32_t x, uint32_t y) const {
  const std::vector<uint8_t>& row = rows[y];
  if (color_type == PNG_COLOR_TYPE_RGB) return uint32_t(row[3 * x]) << 16 | uint32_t(row[3 * x + 1]) << 8 | row[3 * x + 2];
  const uint32_t bit = x * uint32_t(bit_depth);
  const uint32_t shift = 8 - bit_depth - bit % 8;
  return (row[bit / 8] >> shift) & ((1u << bit_depth) - 1);
}

std::optional<DecodedPng> DecodePng(const std::vector<uint8_t>& bytes) {
  if (bytes.size() < 8 || png_sig_cmp(bytes.data(), 0, 8) != 0) return std::nullopt;
  Source source{&bytes, 0};
  DecodedPng out;
  std::vector<png_bytep> pointers;
  std::vector<uint8_t> pixels;
  if (!Decode(source, out, pointers, pixels)) return std::nullopt;
  const size_t rowBytes = out.height ? pixels.size() / out.height : 0;
  for (uint32_t r = 0; r < out.height; ++r)
    out.rows.emplace_back(pixels.begin() + r * rowBytes, pixels.begin() + (r + 1) * rowBytes);
  return out;
}

}  // namespace vx::test
