#include "base/errors.h"

#include <dlfcn.h>

#include <cstdio>
#include <vector>

namespace vx {

namespace {

// Offset of a code address from the base of the module that holds it.
uintptr_t ModuleOffset(void* address) {
  Dl_info info{};
  if (address != nullptr && dladdr(address, &info) != 0 && info.dli_fbase != nullptr)
    return reinterpret_cast<uintptr_t>(address) - reinterpret_cast<uintptr_t>(info.dli_fbase);
  return reinterpret_cast<uintptr_t>(address);
}

}  // namespace

// noinline keeps the caller's address meaningful: it is where the error was raised.
__attribute__((noinline)) Exception::Exception(std::string message)
    : message_(std::move(message)),
      raise_offset_(ModuleOffset(__builtin_extract_return_addr(__builtin_return_address(0)))) {}

std::string Format(const char* pattern, const std::string& a) {
  return Format(pattern, a, std::string());
}

std::string Format(const char* pattern, const std::string& a, const std::string& b) {
  // Only %s placeholders are used by the system's messages; fill them in order.
  std::string out;
  const std::string* args[] = {&a, &b};
  size_t next = 0;
  for (const char* p = pattern; *p != '\0'; ++p) {
    if (p[0] == '%' && p[1] == 's') {
      if (next < 2) out += *args[next++];
      ++p;
    } else {
      out += *p;
    }
  }
  return out;
}

}  // namespace vx
