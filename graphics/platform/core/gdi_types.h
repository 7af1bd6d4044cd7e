// Plain value types of the platform graphics layer.
#pragma once

#include <cstdint>

namespace vx::gdi {

using ColorRef = uint32_t;  // 0x00BBGGRR
constexpr ColorRef RGB(uint8_t r, uint8_t g, uint8_t b) {
  return ColorRef(r) | (ColorRef(g) << 8) | (ColorRef(b) << 16);
}
constexpr uint8_t GetRValue(ColorRef c) { return uint8_t(c & 0xFF); }
constexpr uint8_t GetGValue(ColorRef c) { return uint8_t((c >> 8) & 0xFF); }
constexpr uint8_t GetBValue(ColorRef c) { return uint8_t((c >> 16) & 0xFF); }

struct Point {
  int32_t x = 0;
  int32_t y = 0;
  friend bool operator==(const Point&, const Point&) = default;
};

struct Size {
  int32_t cx = 0;
  int32_t cy = 0;
  friend bool operator==(const Size&, const Size&) = default;
};

// Right and bottom are exclusive wherever GDI fills a rectangle.
struct Rect {
  int32_t left = 0;
  int32_t top = 0;
  int32_t right = 0;
  int32_t bottom = 0;
  int32_t Width() const { return right - left; }
  int32_t Height() const { return bottom - top; }
  bool IsEmpty() const { return right <= left || bottom <= top; }
  friend bool operator==(const Rect&, const Rect&) = default;
};

struct PaletteEntry {
  uint8_t r = 0;
  uint8_t g = 0;
  uint8_t b = 0;
};

// Device capability indices used by the system.
enum DeviceCap : int {
  HORZSIZE = 4,
  VERTSIZE = 6,
  HORZRES = 8,
  VERTRES = 10,
  BITSPIXEL = 12,
  LOGPIXELSX = 88,
  LOGPIXELSY = 90,
};

// The virtual screen every device context here is compatible with.
inline constexpr int kScreenWidthPixels = 1024;
inline constexpr int kScreenHeightPixels = 768;
inline constexpr int kScreenWidthMM = 320;
inline constexpr int kScreenHeightMM = 240;
inline constexpr int kScreenLogPixels = 96;

int ScreenDeviceCaps(int index);

}  // namespace vx::gdi
