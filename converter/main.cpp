// vxp2bmp: saved reports and metafiles to 8-bit BMP files.
#include <csignal>
#include <exception>

#include "converter/command_line.h"
#include "converter/error_report.h"
#include "converter/program_image.h"

int main(int argc, char** argv) {
  vx::MapProgramImage();
  // A closed pipe on standard output is a failed write, reported like any other.
  std::signal(SIGPIPE, SIG_IGN);
  // So is a file that reaches the size limit: an error, not the end of the process.
  std::signal(SIGXFSZ, SIG_IGN);
  try {
    return vx::RunConverter(vx::ArgumentsFromArgv(argc, argv));
  } catch (...) {
    return vx::ReportUnhandledError(std::current_exception());
  }
}
