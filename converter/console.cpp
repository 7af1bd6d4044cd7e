#include "converter/console.h"

#include <unistd.h>

#include <cerrno>
#include <string>

#include "base/errors.h"

namespace vx {

namespace {

void WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t written = ::write(fd, bytes.data(), bytes.size());
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) {
      const int code = written < 0 ? errno : EIO;
      throw EInOutError("I/O error " + std::to_string(code));
    }
    bytes.remove_prefix(static_cast<size_t>(written));
  }
}

}  // namespace

void WriteStandardOutputLine(std::string_view line) {
  std::string text(line);
  text += "\r\n";
  WriteAll(STDOUT_FILENO, text);
}

}  // namespace vx
