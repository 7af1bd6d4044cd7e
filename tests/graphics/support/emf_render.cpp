#include "graphics/support/emf_render.h"

#include <algorithm>
#include <climits>
#include <cstdio>
#include <fstream>
#include <iterator>

#include "base/arith.h"
#include "base/byte_reader.h"
#include "graphics/platform/emf/emf_header.h"
#include "graphics/platform/raster/halftone_palette.h"

namespace vx::test {

RenderedPage WhitePage(int32_t width, int32_t height) {
  RenderedPage page;
  page.width = width;
  page.height = height;
  const int32_t stride = gdi::DibStride(width, 8);
  page.bits.assign(size_t(stride) * size_t(height), 255);
  page.surface = {width, height, stride, page.bits.data()};
  return page;
}

gdi::Size PageSizeFor(const std::vector<uint8_t>& emf, int dpi) {
  const auto h = gdi::ParseEnhMetaHeader(emf.data(), emf.size());
  if (!h) return {};
  const int64_t fw = int64_t(h->frame.right) - h->frame.left, fh = int64_t(h->frame.bottom) - h->frame.top;
  const int64_t mw = int64_t(h->millimeters.cx) * 100, mh = int64_t(h->millimeters.cy) * 100;
  if (fw > INT32_MAX || fh > INT32_MAX || fw < INT32_MIN || fh < INT32_MIN || mw > INT32_MAX || mh > INT32_MAX ||
      mw < INT32_MIN || mh < INT32_MIN)
    return {};
  const int32_t pw = MulDiv(int32_t(fw), h->device.cx, int32_t(mw));
  const int32_t ph = MulDiv(int32_t(fh), h->device.cy, int32_t(mh));
  const float factor = float(dpi) / 96.0f;
  return {int32_t(RoundHalfEven(double(pw) * double(factor))), int32_t(RoundHalfEven(double(ph) * double(factor)))};
}

RenderedPage RenderEmf(const std::vector<uint8_t>& emf, int dpi, const gdi::PlaybackOptions& options) {
  const gdi::Size size = PageSizeFor(emf, dpi);
  // Test pages stay small; absurd sizes from damaged headers give an empty page.
  const bool sane = size.cx > 0 && size.cy > 0 && int64_t(size.cx) * size.cy <= 100000000;
  RenderedPage page = sane ? WhitePage(size.cx, size.cy) : WhitePage(0, 0);
  if (!sane) return page;
  gdi::TDeviceContext dc;
  dc.SelectSurface(&page.surface);
  gdi::PlayEnhMetaFile(dc, emf.data(), emf.size(), {0, 0, page.width - 1, page.height - 1}, options);
  return page;
}

void WriteBmp(const RenderedPage& page, const std::string& path) {
  ByteWriter w;
  const uint32_t image = uint32_t(page.bits.size());
  w.U8('B');
  w.U8('M');
  w.U32(14 + 40 + 1024 + image);
  w.U32(0);
  w.U32(14 + 40 + 1024);
  w.U32(40);
  w.I32(page.width);
  w.I32(page.height);
  w.U16(1);
  w.U16(8);
  w.U32(0);
  w.U32(image);
  w.I32(0);
  w.I32(0);
  w.U32(256);
  w.U32(0);
  const gdi::PaletteEntry* palette = gdi::HalftonePalette();
  for (int i = 0; i < 256; ++i) {
    w.U8(palette[i].b);
    w.U8(palette[i].g);
    w.U8(palette[i].r);
    w.U8(0);
  }
  w.Append(page.bits.data(), page.bits.size());
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(w.Bytes().data()), std::streamsize(w.Size()));
}

std::vector<uint8_t> ReadEmfFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace vx::test
