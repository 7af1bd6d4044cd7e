// The handlers that play enhanced-metafile records, one per record type,
// grouped as the emf_records_*.cpp files define them. Only the record table
// (emf_record_table.cpp) refers to them.
#pragma once

#include "graphics/platform/emf/emf_playback.h"

namespace vx::gdi::play {

// emf_records_state.cpp: mapping, transforms, the save stack, attributes.
void SetWindowExtEx(Playback& p, ByteReader& r);
void SetWindowOrgEx(Playback& p, ByteReader& r);
void SetViewportExtEx(Playback& p, ByteReader& r);
void SetViewportOrgEx(Playback& p, ByteReader& r);
void ScaleViewportExtEx(Playback& p, ByteReader& r);
void ScaleWindowExtEx(Playback& p, ByteReader& r);
void SetMapMode(Playback& p, ByteReader& r);
void SetWorldTransform(Playback& p, ByteReader& r);
void ModifyWorldTransform(Playback& p, ByteReader& r);
void SaveDC(Playback& p, ByteReader& r);
void RestoreDC(Playback& p, ByteReader& r);
void SetTextColor(Playback& p, ByteReader& r);
void SetBkColor(Playback& p, ByteReader& r);
void SetBkMode(Playback& p, ByteReader& r);
void SetPolyFillMode(Playback& p, ByteReader& r);
void SetROP2(Playback& p, ByteReader& r);
void SetStretchBltMode(Playback& p, ByteReader& r);
void SetTextAlign(Playback& p, ByteReader& r);
void SetArcDirection(Playback& p, ByteReader& r);
void MoveToEx(Playback& p, ByteReader& r);

// emf_records_clip.cpp
void IntersectClipRect(Playback& p, ByteReader& r);
void ExcludeClipRect(Playback& p, ByteReader& r);
void OffsetClipRgn(Playback& p, ByteReader& r);
void SetMetaRgn(Playback& p, ByteReader& r);
void ExtSelectClipRgn(Playback& p, ByteReader& r);

// emf_records_path.cpp: the path bracket, path painting and clipping, and
// the curves that draw or add to a path.
void BeginPath(Playback& p, ByteReader& r);
void EndPath(Playback& p, ByteReader& r);
void CloseFigure(Playback& p, ByteReader& r);
void FlattenPath(Playback& p, ByteReader& r);
void WidenPath(Playback& p, ByteReader& r);
void AbortPath(Playback& p, ByteReader& r);
void FillPath(Playback& p, ByteReader& r);
void StrokeAndFillPath(Playback& p, ByteReader& r);
void StrokePath(Playback& p, ByteReader& r);
void SelectClipPath(Playback& p, ByteReader& r);
void AngleArc(Playback& p, ByteReader& r);
void PolyDraw(Playback& p, ByteReader& r);
void PolyDraw16(Playback& p, ByteReader& r);

// emf_records_draw.cpp: lines, polygons, shapes, pixels, region fills.
void PolyBezier(Playback& p, ByteReader& r);
void PolyBezier16(Playback& p, ByteReader& r);
void Polygon(Playback& p, ByteReader& r);
void Polygon16(Playback& p, ByteReader& r);
void Polyline(Playback& p, ByteReader& r);
void Polyline16(Playback& p, ByteReader& r);
void PolyBezierTo(Playback& p, ByteReader& r);
void PolyBezierTo16(Playback& p, ByteReader& r);
void PolylineTo(Playback& p, ByteReader& r);
void PolylineTo16(Playback& p, ByteReader& r);
void PolyPolyline(Playback& p, ByteReader& r);
void PolyPolyline16(Playback& p, ByteReader& r);
void PolyPolygon(Playback& p, ByteReader& r);
void PolyPolygon16(Playback& p, ByteReader& r);
void LineTo(Playback& p, ByteReader& r);
void Rectangle(Playback& p, ByteReader& r);
void Ellipse(Playback& p, ByteReader& r);
void RoundRect(Playback& p, ByteReader& r);
void Arc(Playback& p, ByteReader& r);
void Chord(Playback& p, ByteReader& r);
void Pie(Playback& p, ByteReader& r);
void ArcTo(Playback& p, ByteReader& r);
void SetPixelV(Playback& p, ByteReader& r);
void FillRgn(Playback& p, ByteReader& r);
void FrameRgn(Playback& p, ByteReader& r);
void PaintRgn(Playback& p, ByteReader& r);
void InvertRgn(Playback& p, ByteReader& r);

// emf_records_objects.cpp: pens, brushes, fonts, palettes, selection.
void SelectObject(Playback& p, ByteReader& r);
void DeleteObject(Playback& p, ByteReader& r);
void CreatePen(Playback& p, ByteReader& r);
void ExtCreatePen(Playback& p, ByteReader& r);
void CreateBrushIndirect(Playback& p, ByteReader& r);
void CreateDIBPatternBrushPt(Playback& p, ByteReader& r);
void CreateMonoBrush(Playback& p, ByteReader& r);
void ExtCreateFontIndirectW(Playback& p, ByteReader& r);
void CreatePalette(Playback& p, ByteReader& r);
void SelectPalette(Playback& p, ByteReader& r);
void SetPaletteEntries(Playback& p, ByteReader& r);
void ResizePalette(Playback& p, ByteReader& r);

// emf_records_bitmap.cpp
void BitBlt(Playback& p, ByteReader& r);
void StretchBlt(Playback& p, ByteReader& r);
void StretchDIBits(Playback& p, ByteReader& r);
void SetDIBitsToDevice(Playback& p, ByteReader& r);

// emf_records_blend.cpp
void AlphaBlend(Playback& p, ByteReader& r);
void TransparentBlt(Playback& p, ByteReader& r);
void MaskBlt(Playback& p, ByteReader& r);
void PlgBlt(Playback& p, ByteReader& r);
void GradientFill(Playback& p, ByteReader& r);

// emf_records_text.cpp
void ExtTextOutA(Playback& p, ByteReader& r);
void ExtTextOutW(Playback& p, ByteReader& r);
void PolyTextOutA(Playback& p, ByteReader& r);
void PolyTextOutW(Playback& p, ByteReader& r);
void SmallTextOut(Playback& p, ByteReader& r);
void SetTextJustification(Playback& p, ByteReader& r);

}  // namespace vx::gdi::play
