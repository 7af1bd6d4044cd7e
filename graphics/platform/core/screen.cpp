#include "graphics/platform/core/gdi_types.h"

namespace vx::gdi {

int ScreenDeviceCaps(int index) {
  switch (index) {
    case HORZSIZE: return kScreenWidthMM;
    case VERTSIZE: return kScreenHeightMM;
    case HORZRES: return kScreenWidthPixels;
    case VERTRES: return kScreenHeightPixels;
    case BITSPIXEL: return 32;
    case LOGPIXELSX:
    case LOGPIXELSY: return kScreenLogPixels;
    default: return 0;
  }
}

}  // namespace vx::gdi
