// Generators write their tables only when the text differs from what the file
// holds, so an unchanged table does not make everything that includes it rebuild.
#pragma once

#include <fstream>
#include <sstream>
#include <string>

namespace vx::tools {

inline bool WriteIfChanged(const char* path, const std::string& text) {
  {
    std::ifstream in(path, std::ios::binary);
    if (in) {
      std::ostringstream old;
      old << in.rdbuf();
      if (old.str() == text) return true;
    }
  }
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << text;
  out.close();
  return bool(out);
}

}  // namespace vx::tools
