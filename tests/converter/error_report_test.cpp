#include "converter/error_report.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <new>
#include <stdexcept>

#include "base/errors.h"

namespace vx {
namespace {

TEST(FormatErrorReport, NamesClassModuleAndAddressThenTheMessageWithAPeriod) {
  EXPECT_EQ(FormatErrorReport({"EConvertError", "'abc' is not a valid integer value", 0x2B52}, "vxp2bmp"),
            "Exception EConvertError in module vxp2bmp at 00002B52.\r\n'abc' is not a valid integer value.\r\n");
}

TEST(FormatErrorReport, AddsNoSecondPeriodAndNoneToAnEmptyMessage) {
  EXPECT_EQ(FormatErrorReport({"EVXError", "Done.", 0xABCDEF12}, "m"),
            "Exception EVXError in module m at ABCDEF12.\r\nDone.\r\n");
  EXPECT_EQ(FormatErrorReport({"Exception", "", 0}, "m"), "Exception Exception in module m at 00000000.\r\n\r\n");
}

TEST(FormatErrorReport, CutsTheTextAt1024Characters) {
  const std::string report = FormatErrorReport({"EFOpenError", std::string(2000, 'n'), 1}, "vxp2bmp");
  ASSERT_EQ(report.size(), 1024u);
  EXPECT_EQ(report.substr(0, 53), "Exception EFOpenError in module vxp2bmp at 00000001.\r");
  EXPECT_EQ(report.back(), 'n');
}

TEST(FormatErrorReport, KeepsAReportOfExactly1024Characters) {
  const std::string head = "Exception E in module m at 00000000.\r\n";
  const std::string message(1024 - head.size() - 3, 'x');  // leaves room for ".\r\n"
  const std::string report = FormatErrorReport({"E", message, 0}, "m");
  EXPECT_EQ(report, head + message + ".\r\n");
}

template <typename Error>
TErrorDescription DescribeThrown(Error error) {
  try {
    throw error;
  } catch (...) {
    return DescribeError(std::current_exception());
  }
}

TEST(DescribeError, TakesClassNameMessageAndAddressOfTheSystemsErrors) {
  const EFOpenError error("Cannot open file \"/x\". No such file or directory");
  const TErrorDescription d = DescribeThrown(error);
  EXPECT_EQ(d.ClassName, "EFOpenError");
  EXPECT_EQ(d.Message, "Cannot open file \"/x\". No such file or directory");
  EXPECT_EQ(d.Address, error.RaiseOffset());
  EXPECT_NE(d.Address, 0u);
}

TEST(DescribeError, GivesForeignErrorsAClassNameToo) {
  const TErrorDescription memory = DescribeThrown(std::bad_alloc());
  EXPECT_EQ(memory.ClassName, "EOutOfMemory");
  EXPECT_EQ(memory.Message, "Out of memory");
  const TErrorDescription runtime = DescribeThrown(std::runtime_error("boom"));
  EXPECT_EQ(runtime.ClassName, "Exception");
  EXPECT_EQ(runtime.Message, "boom");
  const TErrorDescription other = DescribeThrown(42);
  EXPECT_EQ(other.ClassName, "Exception");
  EXPECT_EQ(other.Message, "Unknown error");
}

TEST(ExecutableModuleName, IsTheFileNameWithoutDirectory) {
  const std::string name = ExecutableModuleName();
  EXPECT_FALSE(name.empty());
  EXPECT_EQ(name.find('/'), std::string::npos);
}

TEST(ReportUnhandledError, WritesTheReportAndAnEmptyLineAndGivesStatusOne) {
  int fds[2];
  ASSERT_EQ(::pipe(fds), 0);
  const int status = ReportUnhandledError(std::make_exception_ptr(EWriteError("Stream write error")), fds[1]);
  ::close(fds[1]);
  std::string written;
  char buffer[512];
  for (ssize_t n; (n = ::read(fds[0], buffer, sizeof buffer)) > 0;) written.append(buffer, static_cast<size_t>(n));
  ::close(fds[0]);

  EXPECT_EQ(status, 1);
  const std::string head = "Exception EWriteError in module " + ExecutableModuleName() + " at ";
  ASSERT_EQ(written.substr(0, head.size()), head);
  EXPECT_EQ(written.substr(head.size() + 8), ".\r\nStream write error.\r\n\r\n");
}

}  // namespace
}  // namespace vx
