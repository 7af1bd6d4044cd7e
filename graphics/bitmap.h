// A device-independent bitmap: pixel depth, palette, size, a drawing surface and
// its BMP encoding. The page rasterizer switches one to 8 bits per pixel with the
// halftone palette, sizes it, plays a metafile into it and writes it.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "graphics/bmp_codec.h"
#include "graphics/graphic.h"
#include "graphics/platform/core/gdi_types.h"
#include "graphics/platform/raster/pixel_target.h"
#include "graphics/zeroed_bytes.h"

namespace vx {

class TBitmapCanvas;

// The picture of a bitmap; swapped whole when the image is replaced or read.
struct TBitmapImage {
  bmp::InfoHeader header;  // HeldHeader
  bool has_image = false;
  ZeroedBytes pixels;      // rows as the header orders them, each padded to the stride
  std::vector<gdi::PaletteEntry> color_table;  // the DIB's own table (2^bits entries up to 8 bits)
  bool has_masks = false;
  uint32_t masks[3] = {0, 0, 0};
  std::vector<gdi::PaletteEntry> palette;      // logical palette of the image
  std::vector<uint8_t> source;  // a compressed BMP as read, written back verbatim
  bool core_header = false;

  int64_t Stride() const { return bmp::RowStride(header.width, header.bit_count); }
  int32_t Height() const { return bmp::AbsHeight(header.height); }
  // Stored row of the row y counted from the top.
  uint8_t* RowFromTop(int32_t y) {
    const int64_t stored = header.height < 0 ? y : Height() - 1 - y;
    return pixels.Data() + stored * Stride();
  }
  const uint8_t* RowFromTop(int32_t y) const { return const_cast<TBitmapImage*>(this)->RowFromTop(y); }
};

class TBitmap : public TGraphic {
public:
  TBitmap();
  ~TBitmap() override;
  TBitmap(const TBitmap&) = delete;
  TBitmap& operator=(const TBitmap&) = delete;

  // Plays the image into the rectangle of the canvas.
  void DrawInto(TCanvas& canvas, const gdi::Rect& rect) override;
  int32_t PixelHeight() const override { return bmp::AbsHeight(image_.header.height); }
  bool HasPalette() const override { return !image_.palette.empty(); }
  int32_t PixelWidth() const override { return image_.header.width; }
  // Negative sizes and images of 2 GiB of pixels or more raise EOutOfResources.
  void SetPixelHeight(int32_t value) override;
  void SetPixelWidth(int32_t value) override;
  // Nothing for a stream at its end; a failed read leaves the image in place.
  void ReadFromStream(TStream& stream) override;
  // Nothing at all for a bitmap without an image.
  void WriteToStream(TStream& stream) override;

  // Bits per pixel; 0 for a new bitmap (device-dependent, no image).
  int PixelDepth() const { return image_.header.bit_count; }
  // 8: the halftone palette of the screen; 24 and 32: true colour without a
  // palette (exact colours). The image is white where the old one did not
  // reach. Other depths raise EInvalidGraphic.
  void SetPixelDepth(int bits);

  // Created on first request, kept until the bitmap is destroyed.
  TBitmapCanvas& DrawingSurface();

  const bmp::InfoHeader& HeldHeader() const { return image_.header; }
  // Sets the two pixels-per-metre fields, as patching them into a written BMP
  // and reading it back would.
  void SetPixelsPerMeter(int32_t x, int32_t y);

  bool Empty() const { return !image_.has_image; }
  bool HasKeptSource() const { return !image_.source.empty(); }
  const std::vector<gdi::PaletteEntry>& ColorTable() const { return image_.color_table; }
  // Colour-table index of pixel x, y (from the top) of an 8-bit image; 0 outside.
  uint8_t PixelIndex(int32_t x, int32_t y) const;
  // The colour of pixel x, y (from the top) of an image of any depth; black
  // outside or without an image.
  gdi::PaletteEntry PixelColor(int32_t x, int32_t y) const;

private:
  friend class TBitmapCanvas;

  // A coming change: kept source bytes go, colour counts become 0.
  void AnnounceChange();
  // The pixel target drawing into the image: the halftone page for an 8-bit
  // bottom-up halftone image, the target of its format otherwise; nullptr
  // without an image or for kept compressed data.
  std::unique_ptr<gdi::PixelTarget> DrawingTarget();
  void FreeContext();
  void ReplaceImage(bmp::InfoHeader header, const std::vector<gdi::PaletteEntry>& palette);
  void FillNewImage(TBitmapImage& image) const;
  void InstallImage(TBitmapImage&& image);

  TBitmapImage image_;
  std::unique_ptr<TBitmapCanvas> canvas_;
};

}  // namespace vx
