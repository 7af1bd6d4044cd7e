// Object records: pens, brushes, fonts, palettes, selection and deletion.
#include "graphics/platform/emf/emf_record_handlers.h"

#include "graphics/platform/core/stock_font.h"

namespace vx::gdi::play {

namespace {

constexpr uint32_t kStockFlag = 0x80000000u;

void SelectStock(Playback& p, uint32_t stock) {
  auto brush = [&](ColorRef c) { p.dc.SelectBrush(LogBrush{BS_SOLID, c, 0, nullptr}); };
  auto pen = [&](uint32_t style, ColorRef c) {
    LogPen lp{style, 0, c, {}, false};
    lp.brush.color = c;
    p.dc.SelectPen(lp);
  };
  switch (stock) {
    case WHITE_BRUSH: brush(RGB(255, 255, 255)); break;
    case LTGRAY_BRUSH: brush(RGB(192, 192, 192)); break;
    case GRAY_BRUSH: brush(RGB(128, 128, 128)); break;
    case DKGRAY_BRUSH: brush(RGB(64, 64, 64)); break;
    case BLACK_BRUSH: brush(RGB(0, 0, 0)); break;
    case NULL_BRUSH: p.dc.SelectBrush(LogBrush{BS_NULL, 0, 0, nullptr}); break;
    case WHITE_PEN: pen(PS_SOLID, RGB(255, 255, 255)); break;
    case BLACK_PEN: pen(PS_SOLID, RGB(0, 0, 0)); break;
    case NULL_PEN: pen(PS_NULL, RGB(0, 0, 0)); break;
    case DC_BRUSH: brush(RGB(255, 255, 255)); break;
    case DC_PEN: pen(PS_SOLID, RGB(0, 0, 0)); break;
    case DEFAULT_PALETTE:
      p.selected_palette = 0;
      p.dc.SelectPalette({});
      break;
    default:
      if (stock >= OEM_FIXED_FONT && stock <= DEFAULT_GUI_FONT) p.dc.SelectFont(StockFont(stock));
      break;
  }
}

// DIB parts of a record: header and bits at offsets from the record's start.
std::shared_ptr<const DibImage> ReadRecordDib(ByteReader& r, uint32_t off_bmi, uint32_t cb_bmi,
                                              uint32_t off_bits, uint32_t cb_bits, uint32_t usage) {
  const size_t size = r.Size();
  if (cb_bmi == 0 || off_bmi > size || cb_bmi > size - off_bmi || off_bits > size || cb_bits > size - off_bits)
    return nullptr;
  auto img = DibImage::Parse(r.Data() + off_bmi, size - off_bmi, r.Data() + off_bits, cb_bits, usage);
  if (!img) return nullptr;
  return std::make_shared<const DibImage>(std::move(*img));
}

}  // namespace

void SelectObject(Playback& p, ByteReader& r) {
  const uint32_t index = r.U32();
  if (!r.Ok()) return;
  if (index & kStockFlag) {
    SelectStock(p, index & ~kStockFlag);
    return;
  }
  const GdiObject* object = p.Object(index);
  if (object == nullptr) {
    p.Log("SelectObject of an empty handle " + std::to_string(index));
    return;
  }
  if (auto* pen = std::get_if<LogPen>(object)) p.dc.SelectPen(*pen);
  else if (auto* brush = std::get_if<LogBrush>(object)) p.dc.SelectBrush(*brush);
  else if (auto* font = std::get_if<LogFont>(object)) p.dc.SelectFont(*font);
}

void DeleteObject(Playback& p, ByteReader& r) {
  const uint32_t index = r.U32();
  if (!r.Ok() || (index & kStockFlag)) return;
  if (p.selected_palette == index) p.selected_palette = 0;  // the context keeps its copy
  p.Store(index, std::monostate{});
}

void CreatePen(Playback& p, ByteReader& r) {
  const uint32_t index = r.U32();
  LogPen pen;
  // A plain pen knows no end caps or joins: it draws round ones.
  pen.style = r.U32() & PS_STYLE_MASK;
  pen.width = r.I32();
  r.I32();  // y of the width point, unused
  pen.color = r.U32();  // palette colours resolve when drawn
  pen.brush.color = pen.color;
  if (r.Ok()) p.Store(index, pen);
}

void ExtCreatePen(Playback& p, ByteReader& r) {
  const uint32_t index = r.U32();
  const uint32_t off_bmi = r.U32(), cb_bmi = r.U32(), off_bits = r.U32(), cb_bits = r.U32();
  LogPen pen;
  pen.extended = true;
  pen.style = r.U32();
  pen.width = r.I32();
  pen.brush.style = r.U32();
  pen.color = r.U32();
  pen.brush.color = pen.color;
  pen.brush.hatch = r.U32();
  if (!r.Ok()) return;
  if ((pen.style & PS_STYLE_MASK) == PS_USERSTYLE) {
    // The platform refuses a user style of no entries or more than 16; the
    // handle then stays empty and selecting it keeps the current pen.
    const uint32_t count = r.U32();
    if (!r.Ok() || count == 0 || count > kMaxPenStyleEntries) {
      p.Log("ExtCreatePen with " + std::to_string(count) + " style entries refused");
      return;
    }
    uint64_t total = 0;
    for (uint32_t i = 0; i < count; ++i) {
      pen.style_entries.push_back(r.U32());
      total += pen.style_entries.back();
    }
    if (!r.Ok() || total == 0) {
      p.Log("ExtCreatePen with an empty user style refused");
      return;
    }
  }
  if (pen.brush.style == BS_DIBPATTERNPT || pen.brush.style == BS_DIBPATTERN)
    pen.brush.pattern = ReadRecordDib(r, off_bmi, cb_bmi, off_bits, cb_bits, DIB_RGB_COLORS);
  if ((pen.style & PS_TYPE_MASK) == PS_COSMETIC) pen.width = 1;
  p.Store(index, pen);
}

void CreateBrushIndirect(Playback& p, ByteReader& r) {
  const uint32_t index = r.U32();
  LogBrush brush;
  brush.style = r.U32();
  brush.color = r.U32();
  brush.hatch = r.U32();
  if (!r.Ok()) return;
  if (brush.style != BS_SOLID && brush.style != BS_NULL && brush.style != BS_HATCHED) brush.style = BS_SOLID;
  p.Store(index, brush);
}

void CreateDIBPatternBrushPt(Playback& p, ByteReader& r) {
  const uint32_t index = r.U32();
  const uint32_t usage = r.U32();
  const uint32_t off_bmi = r.U32(), cb_bmi = r.U32(), off_bits = r.U32(), cb_bits = r.U32();
  if (!r.Ok()) return;
  LogBrush brush;
  brush.style = BS_DIBPATTERNPT;
  brush.pattern = ReadRecordDib(r, off_bmi, cb_bmi, off_bits, cb_bits, usage);
  if (!brush.pattern) brush.style = BS_NULL;
  p.Store(index, brush);
}

void CreateMonoBrush(Playback& p, ByteReader& r) {
  const uint32_t index = r.U32();
  r.U32();  // usage
  const uint32_t off_bmi = r.U32(), cb_bmi = r.U32(), off_bits = r.U32(), cb_bits = r.U32();
  if (!r.Ok()) return;
  LogBrush brush;
  brush.style = BS_PATTERN;  // a 1-bit pattern takes the text and background colours
  brush.pattern = ReadRecordDib(r, off_bmi, cb_bmi, off_bits, cb_bits, DIB_RGB_COLORS);
  if (!brush.pattern) brush.style = BS_NULL;
  p.Store(index, brush);
}

void ExtCreateFontIndirectW(Playback& p, ByteReader& r) {
  const uint32_t index = r.U32();
  LogFont f;
  f.height = r.I32();
  f.width = r.I32();
  f.escapement = r.I32();
  f.orientation = r.I32();
  f.weight = r.I32();
  f.italic = r.U8() != 0;
  f.underline = r.U8() != 0;
  f.strike_out = r.U8() != 0;
  f.char_set = r.U8();
  f.out_precision = r.U8();
  f.clip_precision = r.U8();
  f.quality = r.U8();
  f.pitch_and_family = r.U8();
  for (int i = 0; i < 32; ++i) {
    const uint16_t c = r.U16();
    if (!r.Ok()) return;
    if (c == 0) break;
    f.face_name.push_back(char16_t(c));
  }
  if (r.Ok()) p.Store(index, f);
}

void CreatePalette(Playback& p, ByteReader& r) {
  const uint32_t index = r.U32();
  r.U16();  // version
  const uint16_t count = r.U16();
  PaletteObject palette;
  if (uint64_t(count) * 4 > r.Remaining()) {
    r.Skip(r.Remaining() + 1);
    return;
  }
  for (uint16_t i = 0; i < count; ++i) {
    PaletteEntry e;
    e.r = r.U8();
    e.g = r.U8();
    e.b = r.U8();
    r.U8();
    palette.entries.push_back(e);
  }
  if (r.Ok()) p.Store(index, std::move(palette));
}

void SelectPalette(Playback& p, ByteReader& r) {
  const uint32_t index = r.U32();
  if (!r.Ok()) return;
  if (index & kStockFlag) {
    if ((index & ~kStockFlag) == DEFAULT_PALETTE) SelectStock(p, DEFAULT_PALETTE);
    return;
  }
  const GdiObject* object = p.Object(index);
  const auto* palette = object ? std::get_if<PaletteObject>(object) : nullptr;
  if (palette == nullptr) return;
  p.selected_palette = index;
  p.dc.SelectPalette(palette->entries);
}

// Entries of a palette change in place; a selected palette shows them at once.
void SetPaletteEntries(Playback& p, ByteReader& r) {
  const uint32_t index = r.U32(), start = r.U32(), count = r.U32();
  if (!r.Ok() || index & kStockFlag) return;
  if (uint64_t(count) * 4 > r.Remaining()) {
    r.Skip(r.Remaining() + 1);
    return;
  }
  const GdiObject* object = p.Object(index);
  const auto* found = object ? std::get_if<PaletteObject>(object) : nullptr;
  if (found == nullptr) return;
  PaletteObject palette = *found;
  for (uint32_t i = 0; i < count; ++i) {
    PaletteEntry e;
    e.r = r.U8();
    e.g = r.U8();
    e.b = r.U8();
    r.U8();
    if (uint64_t(start) + i < palette.entries.size()) palette.entries[size_t(start + i)] = e;
  }
  if (p.selected_palette == index) p.dc.SelectPalette(palette.entries);
  p.Store(index, std::move(palette));
}

void ResizePalette(Playback& p, ByteReader& r) {
  constexpr uint32_t kMaxPaletteEntries = 1024;
  const uint32_t index = r.U32(), count = r.U32();
  if (!r.Ok() || index & kStockFlag || count == 0 || count > kMaxPaletteEntries) return;
  const GdiObject* object = p.Object(index);
  const auto* found = object ? std::get_if<PaletteObject>(object) : nullptr;
  if (found == nullptr) return;
  PaletteObject palette = *found;
  palette.entries.resize(count);
  if (p.selected_palette == index) p.dc.SelectPalette(palette.entries);
  p.Store(index, std::move(palette));
}

}  // namespace vx::gdi::play
