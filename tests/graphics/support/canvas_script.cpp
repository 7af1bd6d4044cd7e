#include "graphics/support/canvas_script.h"

#include "graphics/bitmap.h"
#include "graphics/bitmap_canvas.h"
#include "graphics/metafile.h"
#include "graphics/platform/gdi/device_context.h"

namespace vx::test {

namespace {

// A 24 x 16 picture in four colours.
void PaintLogo(TBitmap& logo) {
  logo.SetPixelDepth(8);
  logo.SetPixelWidth(24);
  logo.SetPixelHeight(16);
  gdi::TDeviceContext& dc = logo.DrawingSurface().DeviceContext();
  dc.FillSolidRect({0, 0, 12, 8}, gdi::RGB(255, 0, 0));
  dc.FillSolidRect({12, 0, 24, 8}, gdi::RGB(0, 128, 0));
  dc.FillSolidRect({0, 8, 12, 16}, gdi::RGB(0, 0, 255));
  dc.FillSolidRect({12, 8, 24, 16}, gdi::RGB(255, 255, 0));
}

}  // namespace

void DrawEveryOperation(TCanvas& canvas) {
  canvas.Pen().Color = gdi::RGB(0, 0, 128);
  canvas.Pen().Width = 1;
  canvas.MoveTo(20, 20);
  canvas.LineTo(300, 40);
  canvas.Pen().Width = 3;
  canvas.Pen().Color = gdi::RGB(200, 0, 0);
  canvas.Polyline({{20, 60}, {80, 90}, {140, 60}, {200, 90}});
  canvas.Pen().Style = TPenStyle::psDash;
  canvas.Pen().Width = 1;
  canvas.PolyBezier({{220, 60}, {260, 20}, {300, 120}, {340, 60}});
  canvas.Pen().Style = TPenStyle::psSolid;

  canvas.Brush().Color = gdi::RGB(255, 255, 0);
  canvas.Polygon({{360, 20}, {420, 100}, {380, 110}, {350, 70}});
  canvas.Brush().Color = gdi::RGB(192, 192, 192);
  canvas.Rectangle({20, 120, 120, 180});
  canvas.Brush().Style = TBrushStyle::bsDiagCross;
  canvas.Brush().Color = gdi::RGB(0, 128, 0);
  canvas.RoundRect({140, 120, 260, 180}, 20, 16);
  canvas.Brush().Style = TBrushStyle::bsSolid;
  canvas.Brush().Color = gdi::RGB(0, 255, 255);
  canvas.Ellipse({280, 120, 380, 190});
  canvas.Pen().Width = 2;
  canvas.Arc({400, 120, 500, 200}, {500, 160}, {400, 130});
  canvas.Chord({520, 120, 620, 200}, {620, 150}, {520, 150});
  canvas.Brush().Color = gdi::RGB(255, 128, 0);
  canvas.Pie({640, 120, 740, 220}, {740, 170}, {690, 120});

  canvas.Brush().Color = gdi::RGB(224, 224, 224);
  canvas.FillRect({20, 240, 380, 270});
  canvas.Brush().Color = gdi::RGB(0, 0, 0);
  canvas.FrameRect({20, 280, 380, 320});

  canvas.Brush().Style = TBrushStyle::bsClear;
  canvas.Font().Name = "Arial";
  canvas.Font().SetSize(12);
  canvas.Font().Color = gdi::RGB(0, 0, 0);
  canvas.TextOut(30, 245, "Quarterly totals");
  canvas.Font().Bold = true;
  canvas.Font().Color = gdi::RGB(128, 0, 0);
  const std::string amount = "1,234,567.89";
  canvas.TextOut(370 - canvas.TextWidth(amount), 285, amount);
  canvas.Brush().Style = TBrushStyle::bsSolid;
  canvas.Brush().Color = gdi::RGB(255, 255, 192);
  canvas.Font().Bold = false;
  canvas.Font().Name = "Times New Roman";
  canvas.Font().SetSize(14);
  canvas.TextRect({400, 240, 560, 262}, 404, 242, "Clipped text that runs beyond its box");
  canvas.Font().Italic = true;
  canvas.Font().Underline = true;
  canvas.TextOut(400, 280, "Italic, underlined");

  TBitmap logo;
  PaintLogo(logo);
  canvas.Draw(20, 340, logo);
  canvas.StretchDraw({60, 340, 156, 404}, logo);

  TMetafile picture;
  picture.ReadFromFile(VXP_SOURCE_DIR "/samples/shapes.emf");
  canvas.StretchDraw({200, 340, 400, 490}, picture);

  for (int i = 0; i < 40; ++i) canvas.SetPixel(450 + i, 350 + (i % 5), gdi::RGB(0, 0, 255));
}

}  // namespace vx::test
