// Record function numbers of Windows metafiles and the enhanced-metafile
// record types the converters read and write.
#pragma once

#include <cstddef>
#include <cstdint>

namespace vx::gdi::wmf {

enum Function : uint16_t {
  kEof = 0x0000,
  kRealizePalette = 0x0035,
  kSetPalEntries = 0x0037,
  kSetBkMode = 0x0102,
  kSetMapMode = 0x0103,
  kSetRop2 = 0x0104,
  kSetRelAbs = 0x0105,
  kSetPolyFillMode = 0x0106,
  kSetStretchBltMode = 0x0107,
  kSetTextCharExtra = 0x0108,
  kRestoreDc = 0x0127,
  kResizePalette = 0x0139,
  kSelectClipRegion = 0x012C,
  kSelectObject = 0x012D,
  kSetTextAlign = 0x012E,
  kDibCreatePatternBrush = 0x0142,
  kDeleteObject = 0x01F0,
  kCreatePatternBrush = 0x01F9,
  kSaveDc = 0x001E,
  kSetBkColor = 0x0201,
  kSetTextColor = 0x0209,
  kSetWindowOrg = 0x020B,
  kSetWindowExt = 0x020C,
  kSetViewportOrg = 0x020D,
  kSetViewportExt = 0x020E,
  kOffsetWindowOrg = 0x020F,
  kOffsetViewportOrg = 0x0211,
  kLineTo = 0x0213,
  kMoveTo = 0x0214,
  kOffsetClipRgn = 0x0220,
  kSelectPalette = 0x0234,
  kCreatePenIndirect = 0x02FA,
  kCreateFontIndirect = 0x02FB,
  kCreateBrushIndirect = 0x02FC,
  kCreatePalette = 0x00F7,
  kPolygon = 0x0324,
  kPolyline = 0x0325,
  kScaleWindowExt = 0x0410,
  kScaleViewportExt = 0x0412,
  kExcludeClipRect = 0x0415,
  kIntersectClipRect = 0x0416,
  kEllipse = 0x0418,
  kRectangle = 0x041B,
  kSetPixel = 0x041F,
  kTextOut = 0x0521,
  kPolyPolygon = 0x0538,
  kRoundRect = 0x061C,
  kPatBlt = 0x061D,
  kCreateRegion = 0x06FF,
  kArc = 0x0817,
  kPie = 0x081A,
  kChord = 0x0830,
  kBitBlt = 0x0922,
  kDibBitBlt = 0x0940,
  kExtTextOut = 0x0A32,
  kStretchBlt = 0x0B23,
  kDibStretchBlt = 0x0B41,
  kSetDibToDev = 0x0D33,
  kStretchDib = 0x0F43,
};

// The standard header that follows the placeable one.
inline constexpr uint16_t kMemoryMetafile = 1;
inline constexpr uint16_t kHeaderWords = 9;
inline constexpr uint16_t kVersion300 = 0x0300;
inline constexpr uint16_t kVersion100 = 0x0100;
inline constexpr size_t kHeaderSize = 18;
inline constexpr uint32_t kMinRecordWords = 3;

}  // namespace vx::gdi::wmf

namespace vx::gdi::emr {

enum Type : uint32_t {
  kHeader = 1,
  kPolygon = 3,
  kPolyline = 4,
  kPolyPolygon = 8,
  kSetWindowExtEx = 9,
  kSetWindowOrgEx = 10,
  kSetViewportExtEx = 11,
  kSetViewportOrgEx = 12,
  kEof = 14,
  kSetPixelV = 15,
  kSetMapMode = 17,
  kSetBkMode = 18,
  kSetPolyFillMode = 19,
  kSetRop2 = 20,
  kSetStretchBltMode = 21,
  kSetTextAlign = 22,
  kSetTextColor = 24,
  kSetBkColor = 25,
  kMoveToEx = 27,
  kExcludeClipRect = 29,
  kIntersectClipRect = 30,
  kScaleViewportExtEx = 31,
  kScaleWindowExtEx = 32,
  kSaveDc = 33,
  kRestoreDc = 34,
  kSelectObject = 37,
  kCreatePen = 38,
  kCreateBrushIndirect = 39,
  kDeleteObject = 40,
  kEllipse = 42,
  kRectangle = 43,
  kRoundRect = 44,
  kArc = 45,
  kChord = 46,
  kPie = 47,
  kSelectPalette = 48,
  kCreatePalette = 49,
  kSetPaletteEntries = 50,
  kResizePalette = 51,
  kRealizePalette = 52,
  kLineTo = 54,
  kExtSelectClipRgn = 75,
  kBitBlt = 76,
  kStretchBlt = 77,
  kSetDiBitsToDevice = 80,
  kStretchDiBits = 81,
  kExtCreateFontIndirectW = 82,
  kExtTextOutW = 84,
  kCreateDibPatternBrushPt = 94,
};

// Fixed parts of the records with variable data.
inline constexpr uint32_t kBitBltFixedSize = 100;
inline constexpr uint32_t kStretchBltFixedSize = 108;
inline constexpr uint32_t kSetDiBitsToDeviceFixedSize = 76;
inline constexpr uint32_t kStretchDiBitsFixedSize = 80;
inline constexpr uint32_t kExtTextOutFixedSize = 76;
inline constexpr uint32_t kLogFontWSize = 92;

}  // namespace vx::gdi::emr
