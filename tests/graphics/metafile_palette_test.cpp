// DrawInto selects the metafile's own palette (the entries of its end-of-file
// record) while it plays, so palette-index colours name its entries.
#include <gtest/gtest.h>

#include "base/byte_reader.h"
#include "base/memory_stream.h"
#include "graphics/bitmap.h"
#include "graphics/bitmap_canvas.h"
#include "graphics/metafile.h"
#include "graphics/platform/raster/halftone_palette.h"
#include "support/emf_builder.h"

namespace vx {
namespace {

// The builder's metafile with its end-of-file record replaced by one that
// holds the palette entries.
std::vector<uint8_t> WithPalette(std::vector<uint8_t> emf, const std::vector<gdi::PaletteEntry>& entries) {
  emf.resize(emf.size() - test::kEmfEofSize);
  ByteWriter eof;
  const uint32_t size = 20 + 4 * uint32_t(entries.size());
  eof.U32(14);
  eof.U32(size);
  eof.U32(uint32_t(entries.size()));
  eof.U32(16);
  for (const auto& e : entries) {
    eof.U8(e.r);
    eof.U8(e.g);
    eof.U8(e.b);
    eof.U8(0);
  }
  eof.U32(size);
  emf.insert(emf.end(), eof.Bytes().begin(), eof.Bytes().end());
  StoreU32(emf.data() + 48, uint32_t(emf.size()));
  StoreU32(emf.data() + 68, uint32_t(entries.size()));
  return emf;
}

uint8_t CentreAfterDrawing(const std::vector<uint8_t>& emf) {
  TMemoryStream stream;
  stream.WriteBuffer(emf.data(), int64_t(emf.size()));
  stream.SetPosition(0);
  TMetafile metafile;
  metafile.ReadFromStream(stream);
  TBitmap bitmap;
  bitmap.SetPixelDepth(8);
  bitmap.SetPixelWidth(metafile.PixelWidth());
  bitmap.SetPixelHeight(metafile.PixelHeight());
  bitmap.DrawingSurface().DrawStretched({0, 0, bitmap.PixelWidth(), bitmap.PixelHeight()}, &metafile);
  return bitmap.PixelIndex(bitmap.PixelWidth() / 2, bitmap.PixelHeight() / 2);
}

TEST(MetafilePalette, PaletteIndicesNameTheMetafilesOwnEntries) {
  test::EmfBuilder b;
  b.Handles(2)
      .RecordWords(39, {1, gdi::BS_SOLID, int32_t(0x01000001u), 0})  // PALETTEINDEX(1)
      .RecordWords(37, {1})
      .RecordWords(37, {int32_t(0x80000008u)})  // NULL_PEN
      .RecordWords(43, {0, 0, 100, 50});
  const std::vector<uint8_t> own = WithPalette(b.Build(), {{0, 0, 0}, {0, 0, 255}});
  EXPECT_EQ(CentreAfterDrawing(own), gdi::NearestHalftoneIndex(gdi::RGB(0, 0, 255)));
  // Without a palette of its own the bitmap's halftone palette is the
  // selected one: its entry 1 is (128, 0, 0).
  EXPECT_EQ(CentreAfterDrawing(b.Build()), gdi::NearestHalftoneIndex(gdi::RGB(128, 0, 0)));
}

}  // namespace
}  // namespace vx
