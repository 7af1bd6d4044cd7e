// Builds BMP files byte by byte for the bitmap tests, independently of the
// bitmap's own writer.
#pragma once

#include <cstdint>
#include <vector>

#include "base/byte_reader.h"
#include "base/memory_stream.h"
#include "graphics/bitmap.h"

namespace vx::test {

struct BmpSpec {
  uint32_t headerSize = 40;  // 12 (core), 40 or longer
  int32_t width = 2;
  int32_t height = 2;
  uint16_t planes = 1;
  uint16_t bits = 8;
  uint32_t compression = 0;
  uint32_t imageSize = 0;
  int32_t xPelsPerMeter = 0;
  int32_t yPelsPerMeter = 0;
  uint32_t colorsUsed = 0;
  uint32_t colorsImportant = 0;
  std::vector<uint32_t> masks;                // written after a 40-byte header
  std::vector<std::vector<uint8_t>> colors;   // b, g, r[, reserved] as written
  std::vector<uint8_t> pixels;
  int32_t pixelOffsetAdjust = 0;              // a wrong pixel-offset field
};

inline std::vector<uint8_t> BuildBmp(const BmpSpec& s) {
  ByteWriter info;
  info.U32(s.headerSize);
  if (s.headerSize == 12) {
    info.U16(uint16_t(s.width));
    info.U16(uint16_t(s.height));
    info.U16(s.planes);
    info.U16(s.bits);
  } else {
    info.I32(s.width);
    info.I32(s.height);
    info.U16(s.planes);
    info.U16(s.bits);
    info.U32(s.compression);
    info.U32(s.imageSize);
    info.I32(s.xPelsPerMeter);
    info.I32(s.yPelsPerMeter);
    info.U32(s.colorsUsed);
    info.U32(s.colorsImportant);
    while (info.Size() < s.headerSize) info.U8(0);
  }
  for (const uint32_t m : s.masks) info.U32(m);
  for (const auto& c : s.colors) info.Append(c.data(), c.size());
  const uint32_t offset = 14 + uint32_t(info.Size());
  ByteWriter out;
  out.U8('B');
  out.U8('M');
  out.U32(offset + uint32_t(s.pixels.size()));
  out.U32(0);
  out.U32(offset + uint32_t(s.pixelOffsetAdjust));
  out.Append(info.Bytes().data(), info.Size());
  out.Append(s.pixels.data(), s.pixels.size());
  return out.Bytes();
}

// n entries of grey i (b = g = r = i), 4 bytes each.
inline std::vector<std::vector<uint8_t>> GreyColors(int n, int entrySize = 4) {
  std::vector<std::vector<uint8_t>> colors;
  for (int i = 0; i < n; ++i) {
    std::vector<uint8_t> c(static_cast<size_t>(entrySize), static_cast<uint8_t>(i));
    if (entrySize == 4) c[3] = 0;
    colors.push_back(c);
  }
  return colors;
}

inline std::vector<uint8_t> StreamBytes(const std::vector<uint8_t>& bytes, TBitmap& into) {
  TMemoryStream in;
  in.WriteBuffer(bytes.data(), int64_t(bytes.size()));
  in.SetPosition(0);
  into.ReadFromStream(in);
  TMemoryStream out;
  into.WriteToStream(out);
  return out.Bytes();
}

inline std::vector<uint8_t> Written(TBitmap& bitmap) {
  TMemoryStream out;
  bitmap.WriteToStream(out);
  return out.Bytes();
}

// A white 8-bit halftone bitmap of the given size.
inline void MakeHalftone(TBitmap& bitmap, int32_t width, int32_t height) {
  bitmap.SetPixelDepth(8);
  bitmap.SetPixelWidth(width);
  bitmap.SetPixelHeight(height);
}

}  // namespace vx::test
