// Abstract picture with a size in pixels, drawing into a canvas, and reading and
// writing through streams and files.
#pragma once

#include <cstdint>
#include <string>

#include "graphics/platform/core/gdi_types.h"

namespace vx {

class TStream;
class TCanvas;

class TGraphic {
public:
  virtual ~TGraphic() = default;

  // Virtual operations in their fixed slot order.
  virtual void Changed() {}                                       // no listener here
  virtual void DrawInto(TCanvas& canvas, const gdi::Rect& rect) = 0;
  virtual int32_t PixelHeight() const = 0;
  virtual bool HasPalette() const { return false; }
  virtual int32_t PixelWidth() const = 0;
  virtual void SetPixelHeight(int32_t value) = 0;
  virtual void SetPixelWidth(int32_t value) = 0;
  virtual void ReadFromFile(const std::string& path);
  virtual void WriteToFile(const std::string& path);
  virtual void ReadFromStream(TStream& stream) = 0;
  virtual void WriteToStream(TStream& stream) = 0;
};

}  // namespace vx
