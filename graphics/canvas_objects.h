// The pen, brush and font of a canvas: plain values the caller changes
// freely; the canvas hands them to its context when it next draws with them.
#pragma once

#include <cstdint>
#include <string>

#include "graphics/platform/core/gdi_objects.h"
#include "graphics/platform/core/gdi_types.h"

namespace vx {

enum class TPenStyle : uint8_t { psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear, psInsideFrame };
enum class TBrushStyle : uint8_t {
  bsSolid, bsClear, bsHorizontal, bsVertical, bsFDiagonal, bsBDiagonal, bsCross, bsDiagCross
};

struct TPen {
  gdi::ColorRef Color = gdi::RGB(0, 0, 0);
  int32_t Width = 1;
  TPenStyle Style = TPenStyle::psSolid;

  gdi::LogPen ToLogPen() const;
  friend bool operator==(const TPen&, const TPen&) = default;
};

struct TBrush {
  gdi::ColorRef Color = gdi::RGB(255, 255, 255);
  TBrushStyle Style = TBrushStyle::bsSolid;

  gdi::LogBrush ToLogBrush() const;
  friend bool operator==(const TBrush&, const TBrush&) = default;
};

struct TFont {
  std::string Name = "Arial";  // UTF-8
  // Character height in pixels: negative is the em size, positive the cell.
  int32_t Height = -13;
  gdi::ColorRef Color = gdi::RGB(0, 0, 0);
  bool Bold = false;
  bool Italic = false;
  bool Underline = false;
  bool StrikeOut = false;
  uint8_t CharSet = 1;  // DEFAULT_CHARSET

  // Size in points at the given pixels per inch (the em height).
  void SetSize(int32_t points, int32_t pixels_per_inch = 96);
  gdi::LogFont ToLogFont() const;
  friend bool operator==(const TFont&, const TFont&) = default;
};

}  // namespace vx
