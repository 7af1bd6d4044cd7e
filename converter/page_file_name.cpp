#include "converter/page_file_name.h"

#include <cstdio>

namespace vx {

std::string PageFilePrefix(const std::string& destination) {
  const size_t slash = destination.rfind('/');
  const size_t name_start = slash == std::string::npos ? 0 : slash + 1;
  const size_t dot = destination.rfind('.');
  if (dot == std::string::npos || dot < name_start) return destination;
  return destination.substr(0, dot);
}

std::string PageFileName(const std::string& prefix, int32_t page) {
  return PageFileName(prefix, page, TOutputFormat::Bmp);
}

std::string PageFileName(const std::string& prefix, int32_t page, TOutputFormat format) {
  char number[16];
  std::snprintf(number, sizeof number, "%.5d", page);
  return prefix + number + (format == TOutputFormat::Png ? ".png" : ".bmp");
}

}  // namespace vx
