// Reads arbitrary bytes as a metafile, asks its size and writes it back.
#include <cstddef>
#include <cstdint>

#include "base/errors.h"
#include "base/memory_stream.h"
#include "graphics/metafile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  vx::TMemoryStream input;
  input.Write(data, static_cast<int32_t>(size));
  input.SetPosition(0);
  vx::TMetafile metafile;
  try {
    metafile.ReadFromStream(input);
  } catch (const vx::Exception&) {
    return 0;
  }
  (void)metafile.PixelWidth();
  (void)metafile.PixelHeight();
  (void)metafile.PaletteEntries();
  vx::TMemoryStream output;
  metafile.WriteToStream(output);
  metafile.SetEnhancedFormat(false);
  vx::TMemoryStream placeable;
  metafile.WriteToStream(placeable);
  return 0;
}
