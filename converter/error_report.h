// The top-level error report: the one place where an error ends the program.
#pragma once

#include <cstdint>
#include <exception>
#include <string>
#include <unistd.h>

namespace vx {

struct TErrorDescription {
  std::string ClassName;
  std::string Message;
  uintptr_t Address = 0;  // relative to the start of the module that raised it
};

// Class name, message and address of any error, also of errors foreign to the system.
TErrorDescription DescribeError(std::exception_ptr error);

// The running executable's file name without directory.
std::string ExecutableModuleName();

// "Exception <class> in module <module> at <address>.\r\n<message>[.]\r\n", cut at
// kMaxErrorReportLength characters.
inline constexpr size_t kMaxErrorReportLength = 1024;
std::string FormatErrorReport(const TErrorDescription& error, const std::string& moduleName);

// Flushes standard output, writes the report and a line end to errorFd in two writes,
// and returns the exit status 1. Never raises.
int ReportUnhandledError(std::exception_ptr error, int errorFd = STDERR_FILENO) noexcept;

}  // namespace vx
