// The drawing verbs a canvas speaks, in logical coordinates: object selection,
// the text and background state, shapes, text, pixels and images. Two
// backends implement them: the device context of a pixel surface and the
// enhanced-metafile recorder, so one sequence of calls either draws or records.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "graphics/platform/core/dib.h"
#include "graphics/platform/core/gdi_objects.h"
#include "graphics/platform/core/gdi_types.h"

namespace vx::gdi {

// What GetPixel answers where there is no pixel to read.
inline constexpr ColorRef kInvalidColor = 0xFFFFFFFF;

class DrawingBackend {
public:
  virtual ~DrawingBackend() = default;

  // Whether objects stay selected between calls (a recording context) or a
  // canvas must hand them over for every call (a context it may recreate).
  virtual bool KeepsSelections() const { return false; }

  // Device capability of the device drawn on (or recorded for).
  virtual int DeviceCaps(int index) const = 0;

  // Each selection makes a new object of the context and selects it.
  virtual void SelectPen(const LogPen& pen) = 0;
  virtual void SelectBrush(const LogBrush& brush) = 0;
  virtual void SelectFont(const LogFont& font) = 0;
  // Selects the stock black pen, null brush or system font in place of the
  // object made by the last selection, and deletes that object.
  virtual void DeselectPen() = 0;
  virtual void DeselectBrush() = 0;
  virtual void DeselectFont() = 0;
  // A logical palette selected into the context and realised.
  virtual void RealizePalette(const std::vector<PaletteEntry>& entries) = 0;

  virtual void SetTextColor(ColorRef color) = 0;
  virtual void SetBkColor(ColorRef color) = 0;
  virtual void SetBkMode(int mode) = 0;
  virtual void SetTextAlign(uint32_t align) = 0;

  virtual void MoveTo(Point p) = 0;
  virtual void LineTo(Point p) = 0;
  virtual void Polyline(const std::vector<Point>& points) = 0;
  virtual void Polygon(const std::vector<Point>& points) = 0;
  virtual void PolyBezier(const std::vector<Point>& points) = 0;
  // Rectangles as GDI takes them: right and bottom exclusive.
  virtual void Rectangle(const Rect& rect) = 0;
  virtual void RoundRect(const Rect& rect, Size corner) = 0;
  virtual void Ellipse(const Rect& rect) = 0;
  virtual void Arc(const Rect& rect, Point start, Point end) = 0;
  virtual void Chord(const Rect& rect, Point start, Point end) = 0;
  virtual void Pie(const Rect& rect, Point start, Point end) = 0;
  // rect as left, top, width, height; the selected brush with a pattern ROP.
  virtual void PatBlt(const Rect& rect, uint32_t rop) = 0;
  virtual void SetPixelV(Point p, ColorRef color) = 0;
  virtual ColorRef GetPixel(Point p) const = 0;

  // Text with per-character advances in logical units; empty dx lets the
  // backend space the text by the selected font.
  virtual void ExtTextOut(Point origin, uint32_t options, const Rect* rect, const std::u16string& text,
                          const std::vector<int32_t>& dx) = 0;
  // Width of each UTF-16 unit of text in the selected font (0 for the second
  // unit of a pair), and the font's height, in logical units.
  virtual std::vector<int32_t> CharacterAdvances(const std::u16string& text) const = 0;
  virtual int32_t FontHeight() const = 0;

  // dest and source_rect as left, top, width, height.
  virtual void StretchDIBits(const Rect& dest, const DibImage& source, const Rect& source_rect,
                             uint32_t rop) = 0;
  // An enhanced metafile played with its frame mapped onto rect (inclusive),
  // with its own palette (may be empty) selected while it plays; log, when
  // bound, hears of the records that were skipped.
  using PlaybackLog = std::function<void(const std::string&)>;
  virtual void PlayMetafile(const std::vector<uint8_t>& emf, const Rect& rect,
                            const std::vector<PaletteEntry>& palette, const PlaybackLog& log) = 0;
};

}  // namespace vx::gdi
