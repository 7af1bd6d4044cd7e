// How a logical font is sized for drawing through a transform. In the
// compatible graphics mode (and in the advanced one when the transform is a
// plain uniform scale) the height and width are scaled to device pixels by
// the vertical scale and truncated, and the glyphs are fitted to that size. In the advanced mode a
// transform that scales x and y differently, or turns, keeps the font at its
// logical size: glyphs are fitted there and their outlines then go through
// the transform.
#pragma once

#include <cstdint>

#include "graphics/platform/core/gdi_objects.h"

namespace vx::gdi {

struct DeviceFontSize {
  LogFont font;                  // the request, its escapement turned with the transform when scaled
  int32_t height = 0;            // for GetRasterFont
  int32_t width = 0;
  bool outline_transform = false;  // glyph outlines go through `transform`
  XForm transform;               // the 2x2 part of the logical-to-device transform
  double metric_scale = 1;       // device pixels per font pixel (line positions, thickness)
  // The logical escapement the baseline follows: in the compatible mode a
  // mapping that mirrors one axis turns it the other way, as it does the
  // glyphs, so the text still reads the way it is turned on the page.
  int32_t baseline_escapement = 0;
};

DeviceFontSize ChooseDeviceFontSize(const LogFont& font, const XForm& logical_to_device, bool advanced_mode);

}  // namespace vx::gdi
