// Reads arbitrary text as command-line arguments (split at NUL bytes) through
// the long options; only the option errors may come out.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "base/errors.h"
#include "converter/long_options.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::vector<std::string> args(1);
  for (size_t i = 0; i < size; ++i) {
    if (data[i] == 0)
      args.emplace_back();
    else
      args.back().push_back(static_cast<char>(data[i]));
  }
  std::vector<std::string> others;
  try {
    const vx::TLongOptions options = vx::ReadLongOptions(args, others);
    for (const vx::TPageRange& range : options.conversion.pages) {
      if (range.first < 1 || range.last < range.first) __builtin_trap();
    }
  } catch (const vx::EOptionError&) {
  } catch (const vx::EConvertError&) {
  }
  return 0;
}
