#include "graphics/platform/core/stock_font.h"

namespace vx::gdi {

LogFont StockFont(uint32_t stock) {
  LogFont f;
  switch (stock) {
    case OEM_FIXED_FONT:
    case ANSI_FIXED_FONT:
    case SYSTEM_FIXED_FONT:
      f.height = 12;
      f.face_name = u"Courier";
      break;
    case ANSI_VAR_FONT:
      f.height = 12;
      f.face_name = u"MS Sans Serif";
      break;
    case DEFAULT_GUI_FONT:
      f.height = -11;
      f.face_name = u"MS Shell Dlg";
      break;
    default:
      f.height = 16;
      f.width = 7;
      f.weight = 700;
      f.face_name = u"System";
      break;
  }
  return f;
}

}  // namespace vx::gdi
