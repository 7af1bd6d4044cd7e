#include "graphics/png_file.h"

#include <png.h>

#include <bit>
#include <csetjmp>
#include <cstring>

#include "base/byte_reader.h"
#include "base/errors.h"
#include "base/file_stream.h"
#include "base/memory_stream.h"
#include "graphics/bitmap.h"
#include "graphics/bmp_codec.h"

namespace vx {

namespace {

// One channel of a bit-field pixel widened to 8 bits.
struct TChannel {
  uint32_t mask = 0;
  int shift = 0;
  int bits = 0;
  uint8_t Of(uint32_t pixel) const {
    if (bits == 0) return 0;
    const uint32_t value = (pixel & mask) >> shift;
    if (bits >= 8) return static_cast<uint8_t>(value >> (bits - 8));
    const uint32_t max = (1u << bits) - 1;
    return static_cast<uint8_t>((value * 255 + max / 2) / max);
  }
};

TChannel ChannelOf(uint32_t mask) {
  TChannel c;
  c.mask = mask;
  if (mask == 0) return c;
  c.shift = std::countr_zero(mask);
  c.bits = std::popcount(mask);
  return c;
}

// What libpng is given: rows top-down, palette or RGB.
struct TPngImage {
  uint32_t width = 0;
  uint32_t height = 0;
  int bit_depth = 8;
  bool paletted = true;
  std::vector<png_color> palette;
  std::vector<uint8_t> rows;  // height rows of row_bytes each
  size_t row_bytes = 0;
  int32_t x_ppm = 0;
  int32_t y_ppm = 0;
};

TPngImage ImageFromBmp(const bmp::DecodedBmp& decoded) {
  const bmp::InfoHeader& h = decoded.header;
  TPngImage image;
  image.width = static_cast<uint32_t>(h.width);
  image.height = static_cast<uint32_t>(bmp::AbsHeight(h.height));
  image.x_ppm = h.x_pels_per_meter;
  image.y_ppm = h.y_pels_per_meter;
  const int bits = h.bit_count;
  const int64_t stride = bmp::RowStride(h.width, bits);
  const bool bottom_up = h.height > 0;
  auto source_row = [&](uint32_t y) {
    const uint32_t stored = bottom_up ? image.height - 1 - y : y;
    return decoded.pixels.Data() + int64_t(stored) * stride;
  };
  if (bits == 1 || bits == 4 || bits == 8) {
    image.bit_depth = bits;
    image.row_bytes = (size_t(image.width) * bits + 7) / 8;
    const size_t entries = std::min<size_t>(decoded.colors.size(), size_t(1) << bits);
    for (size_t i = 0; i < entries; ++i)
      image.palette.push_back({decoded.colors[i].r, decoded.colors[i].g, decoded.colors[i].b});
    image.rows.resize(image.row_bytes * image.height);
    for (uint32_t y = 0; y < image.height; ++y)
      std::memcpy(image.rows.data() + size_t(y) * image.row_bytes, source_row(y), image.row_bytes);
    return image;
  }
  if (bits != 16 && bits != 24 && bits != 32) throw EInvalidGraphic(msg::kInvalidBitmap);
  image.paletted = false;
  image.row_bytes = size_t(image.width) * 3;
  image.rows.resize(image.row_bytes * image.height);
  uint32_t masks[3] = {0x00FF0000u, 0x0000FF00u, 0x000000FFu};
  if (bits == 16) {
    masks[0] = 0x7C00u;
    masks[1] = 0x03E0u;
    masks[2] = 0x001Fu;
  }
  if (decoded.has_masks) std::memcpy(masks, decoded.masks, sizeof masks);
  const TChannel red = ChannelOf(masks[0]), green = ChannelOf(masks[1]), blue = ChannelOf(masks[2]);
  for (uint32_t y = 0; y < image.height; ++y) {
    const uint8_t* in = source_row(y);
    uint8_t* out = image.rows.data() + size_t(y) * image.row_bytes;
    for (uint32_t x = 0; x < image.width; ++x, out += 3) {
      if (bits == 24) {
        out[0] = in[3 * x + 2];
        out[1] = in[3 * x + 1];
        out[2] = in[3 * x];
        continue;
      }
      const uint32_t pixel = bits == 16 ? uint32_t(in[2 * x]) | uint32_t(in[2 * x + 1]) << 8 : LoadU32(in + 4 * x);
      out[0] = red.Of(pixel);
      out[1] = green.Of(pixel);
      out[2] = blue.Of(pixel);
    }
  }
  return image;
}

struct TPngSink {
  std::vector<uint8_t>* bytes = nullptr;
};

void AppendBytes(png_structp png, png_bytep data, png_size_t length) {
  auto* sink = static_cast<TPngSink*>(png_get_io_ptr(png));
  bool grown = true;
  try {
    sink->bytes->insert(sink->bytes->end(), data, data + length);
  } catch (...) {
    grown = false;
  }
  if (!grown) png_error(png, "out of memory");
}

void FlushNothing(png_structp) {}

// Only plain data lives in this frame: libpng leaves it by longjmp on errors.
bool WritePng(const TPngImage& image, std::vector<png_bytep>& rowPointers, TPngSink& sink) {
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  if (png == nullptr) return false;
  png_infop info = png_create_info_struct(png);
  if (info == nullptr) {
    png_destroy_write_struct(&png, nullptr);
    return false;
  }
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    return false;
  }
  png_set_write_fn(png, &sink, AppendBytes, FlushNothing);
  png_set_IHDR(png, info, image.width, image.height, image.bit_depth,
               image.paletted ? PNG_COLOR_TYPE_PALETTE : PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  if (image.paletted) {
    png_set_PLTE(png, info, image.palette.data(), static_cast<int>(image.palette.size()));
    // Palette images compress best unfiltered.
    png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_NONE);
  }
  if (image.x_ppm > 0 && image.y_ppm > 0)
    png_set_pHYs(png, info, static_cast<png_uint_32>(image.x_ppm), static_cast<png_uint_32>(image.y_ppm),
                 PNG_RESOLUTION_METER);
  png_set_rows(png, info, rowPointers.data());
  png_write_png(png, info, PNG_TRANSFORM_IDENTITY, nullptr);
  png_destroy_write_struct(&png, &info);
  return true;
}

}  // namespace

std::vector<uint8_t> EncodePng(TBitmap& bitmap) {
  TMemoryStream encoded;
  bitmap.WriteToStream(encoded);
  const int64_t size = encoded.Size();
  if (size == 0) return {};
  encoded.SetPosition(0);
  const TPngImage image = ImageFromBmp(bmp::ReadBmp(encoded, size));

  std::vector<png_bytep> rowPointers(image.height);
  for (uint32_t y = 0; y < image.height; ++y)
    rowPointers[y] = const_cast<png_bytep>(image.rows.data() + size_t(y) * image.row_bytes);
  std::vector<uint8_t> bytes;
  bytes.reserve(image.rows.size() / 4 + 1024);
  TPngSink sink{&bytes};
  if (!WritePng(image, rowPointers, sink)) throw EOutOfResources(msg::kOutOfResources);
  return bytes;
}

void WritePngFile(TBitmap& bitmap, const std::string& fileName) {
  const std::vector<uint8_t> bytes = EncodePng(bitmap);
  TFileStream file(fileName, TFileMode::Create);
  file.WriteBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
}

}  // namespace vx
