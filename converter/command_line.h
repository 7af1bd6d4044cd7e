// The program's command line: help, the three settings, the checks and the dispatch
// to one conversion.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "converter/console.h"
#include "converter/conversion_options.h"

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
inline constexpr const char* kBatchWithArgumentsMessage =
    "Option \"--batch\" takes its conversions from the list, not from SOURCE and DESTINATION";

using TConversion = std::function<void(const std::string& source, const std::string& destination,
                                       int32_t resolution)>;

// A conversion that also receives what the long options asked for.
using TOptionConversion = std::function<void(const std::string& source, const std::string& destination,
                                             int32_t resolution, const TConversionOptions& options)>;
// A batch run (--batch): its exit status.
using TBatchConversion = std::function<int(const std::string& listPath, const TConversionOptions& options)>;

// What the entry talks to; the defaults are the real console and conversions.
// Of the two injected forms of a conversion, the one with options is used first.
struct TConverterServices {
  TLineWriter WriteLine = WriteStandardOutputLine;
  TConversion ConvertReport;      // ConvertReportFile when unset
  TConversion ConvertMetafile;    // ConvertMetafileFile when unset
  TOptionConversion ConvertReportWithOptions;
  TOptionConversion ConvertMetafileWithOptions;
  TBatchConversion RunBatch;      // the batch conversion when unset
};

// The arguments after the program's name, up to the first empty one.
std::vector<std::string> ArgumentsFromArgv(int argc, const char* const* argv);

// Reads switches (-i, -o, -D in either case) and plain arguments in order.
TConverterSettings ReadArguments(const std::vector<std::string>& args);

// The 15 help lines, without line ends.
const std::vector<std::string>& HelpLines();
void PrintHelp(const TLineWriter& writeLine);

// --help: the help text, then the long options.
void PrintLongHelp(const TLineWriter& writeLine);

// Long options, help, argument reading, checks and one conversion. The long
// options are taken out first (an unknown one or a bad value is an error before
// anything else); the rest are read exactly as without them. Returns the exit
// status of a run that ends normally; errors (long options, unsupported source,
// resolution text, conversion) pass to the caller, which hands them to
// ReportUnhandledError.
int RunConverter(const std::vector<std::string>& args, const TConverterServices& services = {});

}  // namespace vx
