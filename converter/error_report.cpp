#include "converter/error_report.h"

#include <limits.h>

#include <cerrno>
#include <cstdio>
#include <new>
#include <string_view>

#include "base/errors.h"

namespace vx {

namespace {

constexpr int kErrorExitStatus = 1;

std::string HexAddress(uintptr_t address) {
  char text[16];
  std::snprintf(text, sizeof text, "%08X", static_cast<unsigned>(address & 0xFFFFFFFFu));
  return text;
}

std::string ClosingPeriod(const std::string& message) {
  return !message.empty() && message.back() != '.' ? "." : "";
}

std::string BaseName(const std::string& path) {
  const size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

// Best effort: the report goes out even when part of it cannot.
void WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t written = ::write(fd, bytes.data(), bytes.size());
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return;
    bytes.remove_prefix(static_cast<size_t>(written));
  }
}

}  // namespace

TErrorDescription DescribeError(std::exception_ptr error) {
  try {
    if (error) std::rethrow_exception(error);
    return {"Exception", "Unknown error", 0};
  } catch (const Exception& e) {
    return {e.ClassName(), e.Message(), e.RaiseOffset()};
  } catch (const std::bad_alloc&) {
    return {"EOutOfMemory", "Out of memory", 0};
  } catch (const std::exception& e) {
    return {"Exception", e.what(), 0};
  } catch (...) {
    return {"Exception", "Unknown error", 0};
  }
}

std::string ExecutableModuleName() {
  char path[PATH_MAX];
  const ssize_t length = ::readlink("/proc/self/exe", path, sizeof path - 1);
  if (length <= 0) return "vxp2bmp";
  return BaseName(std::string(path, static_cast<size_t>(length)));
}

std::string FormatErrorReport(const TErrorDescription& error, const std::string& moduleName) {
  std::string text = "Exception " + error.ClassName + " in module " + moduleName + " at " +
                     HexAddress(error.Address) + ".\r\n" + error.Message +
                     ClosingPeriod(error.Message) + "\r\n";
  if (text.size() > kMaxErrorReportLength) text.resize(kMaxErrorReportLength);
  return text;
}

int ReportUnhandledError(std::exception_ptr error, int errorFd) noexcept {
  std::fflush(stdout);
  try {
    const std::string report = FormatErrorReport(DescribeError(error), ExecutableModuleName());
    WriteAll(errorFd, report);
  } catch (...) {
    // Out of memory while formatting: the fixed text still tells the user something.
    WriteAll(errorFd, "Exception EOutOfMemory in module vxp2bmp at 00000000.\r\nOut of memory.\r\n");
  }
  WriteAll(errorFd, "\r\n");
  return kErrorExitStatus;
}

}  // namespace vx
