// Lines for the user on standard output.
#pragma once

#include <functional>
#include <string_view>

namespace vx {

// Receives one line of console text without its line end.
using TLineWriter = std::function<void(std::string_view line)>;

// Writes the line and a carriage return and line feed to standard output, as plain
// bytes; raises EInOutError when the write fails.
void WriteStandardOutputLine(std::string_view line);

}  // namespace vx
