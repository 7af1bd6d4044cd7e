#include "graphics/platform/gdi/palette_colors.h"

namespace vx::gdi {

namespace {

constexpr uint32_t kPaletteIndexFlag = 0x01;

}  // namespace

const std::vector<PaletteEntry>& DefaultPaletteEntries() {
  static const std::vector<PaletteEntry> entries = {
      {0, 0, 0},       {128, 0, 0},     {0, 128, 0},     {128, 128, 0},   {0, 0, 128},
      {128, 0, 128},   {0, 128, 128},   {192, 192, 192}, {192, 220, 192}, {166, 202, 240},
      {255, 251, 240}, {160, 160, 164}, {128, 128, 128}, {255, 0, 0},     {0, 255, 0},
      {255, 255, 0},   {0, 0, 255},     {255, 0, 255},   {0, 255, 255},   {255, 255, 255}};
  return entries;
}

ColorRef ResolvePaletteColor(ColorRef color, const std::vector<PaletteEntry>& selected) {
  if ((color >> 24) != kPaletteIndexFlag) return color & 0x00FFFFFF;
  const std::vector<PaletteEntry>& palette = selected.empty() ? DefaultPaletteEntries() : selected;
  const uint32_t index = color & 0xFFFF;
  const PaletteEntry& e = palette[index < palette.size() ? index : 0];
  return RGB(e.r, e.g, e.b);
}

}  // namespace vx::gdi
