// The program's command line: help, the three settings, the checks and the dispatch
// to one conversion.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "converter/console.h"

namespace vx {

// Which setting the next plain argument fills.
enum TPendingSwitch { psNone = 0, psSource = 1, psDestination = 2, psResolution = 3 };

struct TConverterSettings {
  std::string SourceFileName;
  std::string DestFileName;
  std::string ResolutionText;
};

// A glued resolution value (-D600) keeps at most this many characters.
inline constexpr size_t kMaxGluedResolutionLength = 20;

inline constexpr const char* kNoSourceMessage = "ERROR: no source file specified";
inline constexpr const char* kNoDestinationMessage = "ERROR: no destination file specified";
inline constexpr const char* kSourceMissingMessage = "ERROR: Source file does not exist";
inline constexpr const char* kUnsupportedSourceMessage = "The source file format is not supported";

using TConversion = std::function<void(const std::string& source, const std::string& destination,
                                       int32_t resolution)>;

// What the entry talks to; the defaults are the real console and conversions.
struct TConverterServices {
  TLineWriter WriteLine = WriteStandardOutputLine;
  TConversion ConvertReport;      // ConvertReportFile when unset
  TConversion ConvertMetafile;    // ConvertMetafileFile when unset
};

// The arguments after the program's name, up to the first empty one.
std::vector<std::string> ArgumentsFromArgv(int argc, const char* const* argv);

// Reads switches (-i, -o, -D in either case) and plain arguments in order.
TConverterSettings ReadArguments(const std::vector<std::string>& args);

// The 15 help lines, without line ends.
const std::vector<std::string>& HelpLines();
void PrintHelp(const TLineWriter& writeLine);

// Help, argument reading, checks and one conversion. Returns the exit status of a run
// that ends normally; errors (unsupported source, resolution text, conversion) pass
// to the caller, which hands them to ReportUnhandledError.
int RunConverter(const std::vector<std::string>& args, const TConverterServices& services = {});

}  // namespace vx
