// The BMP file layout: file header, info header (40-byte or 12-byte core form),
// colour masks, colour table and pixel rows, and the reading and writing of it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "graphics/platform/core/gdi_types.h"
#include "graphics/zeroed_bytes.h"

namespace vx {
class TStream;
}

namespace vx::bmp {

inline constexpr uint32_t kFileHeaderSize = 14;
inline constexpr uint32_t kInfoHeaderSize = 40;
inline constexpr uint32_t kCoreHeaderSize = 12;
inline constexpr uint32_t kMaskBytes = 12;
inline constexpr size_t kXPelsPerMeterOffset = 38;  // file offsets of the resolution fields
inline constexpr size_t kYPelsPerMeterOffset = 42;
inline constexpr uint32_t kMaxColors = 256;
// An image's pixel bytes (stride x height) stay below this; larger requests
// come from hostile frames or resolutions and would exhaust memory.
inline constexpr int64_t kPixelBytesLimit = int64_t(1) << 31;

enum : uint32_t { kRgb = 0, kRle8 = 1, kRle4 = 2, kBitFields = 3 };

struct InfoHeader {
  uint32_t size = 0;
  int32_t width = 0;
  int32_t height = 0;  // positive: rows stored bottom-up
  uint16_t planes = 0;
  uint16_t bit_count = 0;
  uint32_t compression = 0;
  uint32_t size_image = 0;
  int32_t x_pels_per_meter = 0;
  int32_t y_pels_per_meter = 0;
  uint32_t clr_used = 0;
  uint32_t clr_important = 0;
  friend bool operator==(const InfoHeader&, const InfoHeader&) = default;
};

// ((width x bits + 31) rounded down to a multiple of 32) / 8.
int64_t RowStride(int64_t width, int bits);
// Stride x |height|; -1 for a negative width or when the limit is reached.
int64_t PixelBytes(int32_t width, int32_t height, int bits);
int32_t AbsHeight(int32_t height);

void PutInfoHeader(uint8_t* p, const InfoHeader& header);  // 40 bytes
InfoHeader GetInfoHeader(const uint8_t* p);

// One image as it is written.
struct BmpParts {
  InfoHeader header;  // written as it stands (size 40), or as a core header
  bool core_header = false;
  const uint32_t* masks = nullptr;  // three, written after a 40-byte header with bit fields
  std::span<const gdi::PaletteEntry> colors;
  const uint8_t* pixels = nullptr;
  size_t pixel_bytes = 0;
};

// Everything before the pixels: file header, info header, masks, colour table.
std::vector<uint8_t> EncodeHeaders(const BmpParts& parts);
void WriteBmp(TStream& stream, const BmpParts& parts);

// One image as read, in the form the bitmap keeps it.
struct DecodedBmp {
  // The image's header: size 40, image size = stride x |height|, compression 0
  // or bit fields; resolution and colour counts as the source has them (colours
  // used 0 made explicit for depths up to 8).
  InfoHeader header;
  bool core_header = false;
  bool has_masks = false;
  uint32_t masks[3] = {0, 0, 0};
  // Up to 8 bits: the full table of 2^bits entries; above: the entries read.
  std::vector<gdi::PaletteEntry> colors;
  ZeroedBytes pixels;  // uncompressed rows, stride x |height|
  // A compressed source, from its file header to the end, written back verbatim.
  std::vector<uint8_t> source;
};

// Reads a BMP from the stream's position; available is the number of bytes
// from there to the end (greater than 0). Raises EInvalidGraphic "Bitmap image
// is not valid", EReadError "Stream read error" or EOutOfResources.
DecodedBmp ReadBmp(TStream& stream, int64_t available);

// Run-length decoding of 8-bit (RLE8) or 4-bit (RLE4) data into bottom-up rows;
// pixels the data skips stay as they are.
void DecodeRle(const uint8_t* data, size_t size, uint32_t compression, int32_t width,
               int32_t height, int64_t stride, uint8_t* rows);

}  // namespace vx::bmp
