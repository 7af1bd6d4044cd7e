// Records drawing as an enhanced metafile, the way the platform's recording
// context does: a header with bounds, frame, reference device and totals;
// objects created into the lowest free handle slot, selected and deleted;
// text with the spacing array of the selected font; images as StretchDIBits;
// an end record carrying the palette when one was realised. Coordinates are
// recorded as given (the recording context's mapping is the identity).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "base/byte_reader.h"
#include "graphics/platform/drawing_backend.h"
#include "graphics/platform/emf/emf_record_type.h"

namespace vx::gdi {

class EmfRecorder : public DrawingBackend {
public:
  // frame in 0.01 mm as passed to the recording context; description is the
  // UTF-16 text stored after the header (its zeros included), or empty.
  EmfRecorder(Size reference_pixels, Size reference_millimeters, const Rect& frame,
              std::u16string description = {});

  // Appends the end record, fills in the header's totals and returns the
  // finished metafile. Nothing is recorded afterwards.
  std::vector<uint8_t> Close();
  bool IsClosed() const { return closed_; }
  uint32_t RecordCount() const { return records_; }
  // Handle slots in use (the metafile's own slot 0 not counted).
  uint32_t HandlesInUse() const;

  bool KeepsSelections() const override { return true; }
  int DeviceCaps(int index) const override;
  void SelectPen(const LogPen& pen) override;
  void SelectBrush(const LogBrush& brush) override;
  void SelectFont(const LogFont& font) override;
  void DeselectPen() override;
  void DeselectBrush() override;
  void DeselectFont() override;
  void RealizePalette(const std::vector<PaletteEntry>& entries) override;

  void SetTextColor(ColorRef color) override;
  void SetBkColor(ColorRef color) override;
  void SetBkMode(int mode) override;
  void SetTextAlign(uint32_t align) override;

  void MoveTo(Point p) override;
  void LineTo(Point p) override;
  void Polyline(const std::vector<Point>& points) override;
  void Polygon(const std::vector<Point>& points) override;
  void PolyBezier(const std::vector<Point>& points) override;
  void Rectangle(const Rect& rect) override;
  void RoundRect(const Rect& rect, Size corner) override;
  void Ellipse(const Rect& rect) override;
  void Arc(const Rect& rect, Point start, Point end) override;
  void Chord(const Rect& rect, Point start, Point end) override;
  void Pie(const Rect& rect, Point start, Point end) override;
  void PatBlt(const Rect& rect, uint32_t rop) override;
  void SetPixelV(Point p, ColorRef color) override;
  ColorRef GetPixel(Point p) const override;

  void ExtTextOut(Point origin, uint32_t options, const Rect* rect, const std::u16string& text,
                  const std::vector<int32_t>& dx) override;
  std::vector<int32_t> CharacterAdvances(const std::u16string& text) const override;
  int32_t FontHeight() const override;

  void StretchDIBits(const Rect& dest, const DibImage& source, const Rect& source_rect,
                     uint32_t rop) override;
  void PlayMetafile(const std::vector<uint8_t>& emf, const Rect& rect,
                    const std::vector<PaletteEntry>& palette, const PlaybackLog& log) override;

private:
  struct Selection {
    uint32_t handle = 0;  // 0: a stock object is selected
  };

  // Appends one record: type, size (the parameters padded to 4 bytes), parameters.
  void Emit(EmfRecord type, const std::vector<uint8_t>& parameters);
  void EmitHandle(EmfRecord type, uint32_t handle);
  uint32_t AddHandle();
  void DeleteHandle(uint32_t handle);
  void Deselect(Selection& selection, uint32_t stock);
  void IncludeInBounds(Rect inclusive);
  void PolyRecord(EmfRecord type32, EmfRecord type16, const std::vector<Point>& points);
  void BoxRecord(EmfRecord type, const Rect& rect);
  void ArcRecord(EmfRecord type, const Rect& rect, Point start, Point end);
  Rect ShapeBounds(const Rect& rect) const;
  int32_t PenAllowance() const;

  Size reference_pixels_;
  Size reference_millimeters_;
  Rect frame_;
  std::u16string description_;
  ByteWriter body_;  // the records after the header
  uint32_t records_ = 0;
  std::vector<bool> slots_;  // slot i holds handle i + 1
  uint16_t handle_high_water_ = 1;
  bool has_bounds_ = false;
  Rect bounds_{0, 0, -1, -1};
  bool closed_ = false;

  Selection pen_, brush_, font_;
  uint32_t palette_handle_ = 0;
  LogPen pen_value_;
  LogBrush brush_value_;
  LogFont font_value_;
  uint32_t text_align_ = TA_LEFT | TA_TOP;
  Point current_position_;
  std::vector<PaletteEntry> palette_;  // realised; goes into the end record
};

}  // namespace vx::gdi
