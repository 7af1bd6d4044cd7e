#include "graphics/platform/emf/emf_record_table.h"

#include <algorithm>
#include <array>

#include "graphics/platform/emf/emf_record_handlers.h"
#include "graphics/platform/emf/emf_record_sizes.h"

namespace vx::gdi {

namespace {

using R = EmfRecord;

// The minimum sizes are the fixed part each handler reads before it draws
// (8 bytes of type and size, then the fixed fields); a shorter record is
// skipped before its handler runs. Rows without a handler keep the 8 bytes
// every record has.
constexpr std::array<EmfRecordRow, kLastEmfRecord> kTable{{
    {R::kHeader, "EMR_HEADER", 8, nullptr},
    {R::kPolyBezier, "EMR_POLYBEZIER", 28, play::PolyBezier},
    {R::kPolygon, "EMR_POLYGON", 28, play::Polygon},
    {R::kPolyline, "EMR_POLYLINE", 28, play::Polyline},
    {R::kPolyBezierTo, "EMR_POLYBEZIERTO", 28, play::PolyBezierTo},
    {R::kPolylineTo, "EMR_POLYLINETO", 28, play::PolylineTo},
    {R::kPolyPolyline, "EMR_POLYPOLYLINE", 32, play::PolyPolyline},
    {R::kPolyPolygon, "EMR_POLYPOLYGON", 32, play::PolyPolygon},
    {R::kSetWindowExtEx, "EMR_SETWINDOWEXTEX", 16, play::SetWindowExtEx},
    {R::kSetWindowOrgEx, "EMR_SETWINDOWORGEX", 16, play::SetWindowOrgEx},
    {R::kSetViewportExtEx, "EMR_SETVIEWPORTEXTEX", 16, play::SetViewportExtEx},
    {R::kSetViewportOrgEx, "EMR_SETVIEWPORTORGEX", 16, play::SetViewportOrgEx},
    {R::kSetBrushOrgEx, "EMR_SETBRUSHORGEX", 8, nullptr},
    {R::kEof, "EMR_EOF", 8, nullptr},
    {R::kSetPixelV, "EMR_SETPIXELV", 20, play::SetPixelV},
    {R::kSetMapperFlags, "EMR_SETMAPPERFLAGS", 8, nullptr},
    {R::kSetMapMode, "EMR_SETMAPMODE", 12, play::SetMapMode},
    {R::kSetBkMode, "EMR_SETBKMODE", 12, play::SetBkMode},
    {R::kSetPolyFillMode, "EMR_SETPOLYFILLMODE", 12, play::SetPolyFillMode},
    {R::kSetRop2, "EMR_SETROP2", 12, play::SetROP2},
    {R::kSetStretchBltMode, "EMR_SETSTRETCHBLTMODE", 12, play::SetStretchBltMode},
    {R::kSetTextAlign, "EMR_SETTEXTALIGN", 12, play::SetTextAlign},
    {R::kSetColorAdjustment, "EMR_SETCOLORADJUSTMENT", 8, nullptr},
    {R::kSetTextColor, "EMR_SETTEXTCOLOR", 12, play::SetTextColor},
    {R::kSetBkColor, "EMR_SETBKCOLOR", 12, play::SetBkColor},
    {R::kOffsetClipRgn, "EMR_OFFSETCLIPRGN", 16, play::OffsetClipRgn},
    {R::kMoveToEx, "EMR_MOVETOEX", 16, play::MoveToEx},
    {R::kSetMetaRgn, "EMR_SETMETARGN", 8, play::SetMetaRgn},
    {R::kExcludeClipRect, "EMR_EXCLUDECLIPRECT", 24, play::ExcludeClipRect},
    {R::kIntersectClipRect, "EMR_INTERSECTCLIPRECT", 24, play::IntersectClipRect},
    {R::kScaleViewportExtEx, "EMR_SCALEVIEWPORTEXTEX", 24, play::ScaleViewportExtEx},
    {R::kScaleWindowExtEx, "EMR_SCALEWINDOWEXTEX", 24, play::ScaleWindowExtEx},
    {R::kSaveDC, "EMR_SAVEDC", 8, play::SaveDC},
    {R::kRestoreDC, "EMR_RESTOREDC", 12, play::RestoreDC},
    {R::kSetWorldTransform, "EMR_SETWORLDTRANSFORM", 32, play::SetWorldTransform},
    {R::kModifyWorldTransform, "EMR_MODIFYWORLDTRANSFORM", 36, play::ModifyWorldTransform},
    {R::kSelectObject, "EMR_SELECTOBJECT", 12, play::SelectObject},
    {R::kCreatePen, "EMR_CREATEPEN", 28, play::CreatePen},
    {R::kCreateBrushIndirect, "EMR_CREATEBRUSHINDIRECT", 24, play::CreateBrushIndirect},
    {R::kDeleteObject, "EMR_DELETEOBJECT", 12, play::DeleteObject},
    {R::kAngleArc, "EMR_ANGLEARC", 28, play::AngleArc},
    {R::kEllipse, "EMR_ELLIPSE", 24, play::Ellipse},
    {R::kRectangle, "EMR_RECTANGLE", 24, play::Rectangle},
    {R::kRoundRect, "EMR_ROUNDRECT", 32, play::RoundRect},
    {R::kArc, "EMR_ARC", 40, play::Arc},
    {R::kChord, "EMR_CHORD", 40, play::Chord},
    {R::kPie, "EMR_PIE", 40, play::Pie},
    {R::kSelectPalette, "EMR_SELECTPALETTE", 12, play::SelectPalette},
    {R::kCreatePalette, "EMR_CREATEPALETTE", 16, play::CreatePalette},
    {R::kSetPaletteEntries, "EMR_SETPALETTEENTRIES", 20, play::SetPaletteEntries},
    {R::kResizePalette, "EMR_RESIZEPALETTE", 16, play::ResizePalette},
    {R::kRealizePalette, "EMR_REALIZEPALETTE", 8, nullptr},
    {R::kExtFloodFill, "EMR_EXTFLOODFILL", 8, nullptr},
    {R::kLineTo, "EMR_LINETO", 16, play::LineTo},
    {R::kArcTo, "EMR_ARCTO", 40, play::ArcTo},
    {R::kPolyDraw, "EMR_POLYDRAW", 28, play::PolyDraw},
    {R::kSetArcDirection, "EMR_SETARCDIRECTION", 12, play::SetArcDirection},
    {R::kSetMiterLimit, "EMR_SETMITERLIMIT", 8, nullptr},
    {R::kBeginPath, "EMR_BEGINPATH", 8, play::BeginPath},
    {R::kEndPath, "EMR_ENDPATH", 8, play::EndPath},
    {R::kCloseFigure, "EMR_CLOSEFIGURE", 8, play::CloseFigure},
    {R::kFillPath, "EMR_FILLPATH", 24, play::FillPath},
    {R::kStrokeAndFillPath, "EMR_STROKEANDFILLPATH", 24, play::StrokeAndFillPath},
    {R::kStrokePath, "EMR_STROKEPATH", 24, play::StrokePath},
    {R::kFlattenPath, "EMR_FLATTENPATH", 8, play::FlattenPath},
    {R::kWidenPath, "EMR_WIDENPATH", 8, play::WidenPath},
    {R::kSelectClipPath, "EMR_SELECTCLIPPATH", 12, play::SelectClipPath},
    {R::kAbortPath, "EMR_ABORTPATH", 8, play::AbortPath},
    {R::kReserved69, "EMR_RESERVED_69", 8, nullptr},
    {R::kGdiComment, "EMR_GDICOMMENT", 8, nullptr},
    {R::kFillRgn, "EMR_FILLRGN", 32, play::FillRgn},
    {R::kFrameRgn, "EMR_FRAMERGN", 40, play::FrameRgn},
    {R::kInvertRgn, "EMR_INVERTRGN", 28, play::InvertRgn},
    {R::kPaintRgn, "EMR_PAINTRGN", 28, play::PaintRgn},
    {R::kExtSelectClipRgn, "EMR_EXTSELECTCLIPRGN", 16, play::ExtSelectClipRgn},
    {R::kBitBlt, "EMR_BITBLT", kBitBltFixedSize, play::BitBlt},
    {R::kStretchBlt, "EMR_STRETCHBLT", kStretchBltFixedSize, play::StretchBlt},
    {R::kMaskBlt, "EMR_MASKBLT", 128, play::MaskBlt},
    {R::kPlgBlt, "EMR_PLGBLT", 140, play::PlgBlt},
    {R::kSetDIBitsToDevice, "EMR_SETDIBITSTODEVICE", kSetDIBitsToDeviceFixedSize, play::SetDIBitsToDevice},
    {R::kStretchDIBits, "EMR_STRETCHDIBITS", kStretchDIBitsFixedSize, play::StretchDIBits},
    // The face name may end early: one character is the least it holds.
    {R::kExtCreateFontIndirectW, "EMR_EXTCREATEFONTINDIRECTW", 42, play::ExtCreateFontIndirectW},
    {R::kExtTextOutA, "EMR_EXTTEXTOUTA", kExtTextOutFixedSize, play::ExtTextOutA},
    {R::kExtTextOutW, "EMR_EXTTEXTOUTW", kExtTextOutFixedSize, play::ExtTextOutW},
    {R::kPolyBezier16, "EMR_POLYBEZIER16", 28, play::PolyBezier16},
    {R::kPolygon16, "EMR_POLYGON16", 28, play::Polygon16},
    {R::kPolyline16, "EMR_POLYLINE16", 28, play::Polyline16},
    {R::kPolyBezierTo16, "EMR_POLYBEZIERTO16", 28, play::PolyBezierTo16},
    {R::kPolylineTo16, "EMR_POLYLINETO16", 28, play::PolylineTo16},
    {R::kPolyPolyline16, "EMR_POLYPOLYLINE16", 32, play::PolyPolyline16},
    {R::kPolyPolygon16, "EMR_POLYPOLYGON16", 32, play::PolyPolygon16},
    {R::kPolyDraw16, "EMR_POLYDRAW16", 28, play::PolyDraw16},
    {R::kCreateMonoBrush, "EMR_CREATEMONOBRUSH", 32, play::CreateMonoBrush},
    {R::kCreateDIBPatternBrushPt, "EMR_CREATEDIBPATTERNBRUSHPT", 32, play::CreateDIBPatternBrushPt},
    {R::kExtCreatePen, "EMR_EXTCREATEPEN", 48, play::ExtCreatePen},
    {R::kPolyTextOutA, "EMR_POLYTEXTOUTA", 40, play::PolyTextOutA},
    {R::kPolyTextOutW, "EMR_POLYTEXTOUTW", 40, play::PolyTextOutW},
    {R::kSetICMMode, "EMR_SETICMMODE", 8, nullptr},
    {R::kCreateColorSpace, "EMR_CREATECOLORSPACE", 8, nullptr},
    {R::kSetColorSpace, "EMR_SETCOLORSPACE", 8, nullptr},
    {R::kDeleteColorSpace, "EMR_DELETECOLORSPACE", 8, nullptr},
    {R::kGlsRecord, "EMR_GLSRECORD", 8, nullptr},
    {R::kGlsBoundedRecord, "EMR_GLSBOUNDEDRECORD", 8, nullptr},
    {R::kPixelFormat, "EMR_PIXELFORMAT", 8, nullptr},
    {R::kDrawEscape, "EMR_DRAWESCAPE", 8, nullptr},
    {R::kExtEscape, "EMR_EXTESCAPE", 8, nullptr},
    {R::kReserved107, "EMR_RESERVED_107", 8, nullptr},
    // Without ETO_NO_RECT the bounds follow; the handler reads them itself.
    {R::kSmallTextOut, "EMR_SMALLTEXTOUT", 36, play::SmallTextOut},
    {R::kForceUFIMapping, "EMR_FORCEUFIMAPPING", 8, nullptr},
    {R::kNamedEscape, "EMR_NAMEDESCAPE", 8, nullptr},
    {R::kColorCorrectPalette, "EMR_COLORCORRECTPALETTE", 8, nullptr},
    {R::kSetICMProfileA, "EMR_SETICMPROFILEA", 8, nullptr},
    {R::kSetICMProfileW, "EMR_SETICMPROFILEW", 8, nullptr},
    {R::kAlphaBlend, "EMR_ALPHABLEND", 108, play::AlphaBlend},
    {R::kSetLayout, "EMR_SETLAYOUT", 8, nullptr},
    {R::kTransparentBlt, "EMR_TRANSPARENTBLT", 108, play::TransparentBlt},
    {R::kReserved117, "EMR_RESERVED_117", 8, nullptr},
    {R::kGradientFill, "EMR_GRADIENTFILL", 36, play::GradientFill},
    {R::kSetLinkedUFIs, "EMR_SETLINKEDUFIS", 8, nullptr},
    {R::kSetTextJustification, "EMR_SETTEXTJUSTIFICATION", 16, play::SetTextJustification},
    {R::kColorMatchToTargetW, "EMR_COLORMATCHTOTARGETW", 8, nullptr},
    {R::kCreateColorSpaceW, "EMR_CREATECOLORSPACEW", 8, nullptr},
}};

// FindEmfRecordRow indexes the table by type.
constexpr bool InTypeOrder() {
  for (uint32_t i = 0; i < kTable.size(); ++i) {
    if (TypeWord(kTable[i].type) != kFirstEmfRecord + i) return false;
  }
  return true;
}
static_assert(InTypeOrder(), "one row per record type, in type order");

constexpr IgnoredEmfRecord kIgnored[] = {
    {R::kHeader, "read before playback: the frame, the reference device and the handle count", false},
    {R::kEof, "ends playback; the palette it carries is read through the header", false},
    {R::kSetBrushOrgEx, "patterns stay aligned to the device origin, as on the pages we draw"},
    {R::kSetMapperFlags, "font mapping always matches the requested aspect"},
    {R::kSetMiterLimit, "wide pens join with their own miter rule"},
    {R::kGdiComment, "comments carry no drawing; EMF+ is drawn through its fallback records", false},
    {R::kSetICMMode, "colour management is off: colours are drawn as stored"},
    {R::kSetColorSpace, "colour management is off: colours are drawn as stored"},
    {R::kRealizePalette, "the surface keeps its own colours; palette indices resolve at selection"},
    {R::kSetLayout, "pages are laid out left to right; a mirrored layout is drawn unmirrored"},
    {R::kSetLinkedUFIs, "font linking: glyphs come from the selected font alone"},
};

}  // namespace

std::span<const EmfRecordRow> EmfRecordTable() { return kTable; }

const EmfRecordRow* FindEmfRecordRow(uint32_t type) {
  if (type < kFirstEmfRecord || type > kLastEmfRecord) return nullptr;
  return &kTable[type - kFirstEmfRecord];
}

std::string EmfRecordName(uint32_t type) {
  if (const EmfRecordRow* row = FindEmfRecordRow(type)) return row->name;
  return "record type " + std::to_string(type);
}

std::span<const IgnoredEmfRecord> IgnoredEmfRecords() { return kIgnored; }

const IgnoredEmfRecord* FindIgnoredEmfRecord(uint32_t type) {
  const auto it = std::find_if(std::begin(kIgnored), std::end(kIgnored),
                               [type](const IgnoredEmfRecord& i) { return TypeWord(i.type) == type; });
  return it == std::end(kIgnored) ? nullptr : &*it;
}

bool IsIgnoredEmfRecord(uint32_t type) { return FindIgnoredEmfRecord(type) != nullptr; }

}  // namespace vx::gdi
