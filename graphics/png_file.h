// PNG encoding of a bitmap through libpng: the pixels of its BMP encoding,
// paletted up to 8 bits per pixel (the colour table as the palette), RGB above;
// the pixels-per-metre fields go into pHYs.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace vx {

class TBitmap;

// The PNG bytes of the bitmap; empty for a bitmap without an image (as its BMP
// encoding is). Raises EOutOfResources when libpng fails.
std::vector<uint8_t> EncodePng(TBitmap& bitmap);

// Writes EncodePng's bytes to a created file; EFCreateError when it cannot be
// created, EWriteError on a short write.
void WritePngFile(TBitmap& bitmap, const std::string& fileName);

}  // namespace vx
