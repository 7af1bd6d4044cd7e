// The long options (--name or --name=value): read apart from the other
// arguments, so that they never change how those are read.
#pragma once

#include <string>
#include <vector>

#include "converter/conversion_options.h"

namespace vx {

struct TLongOptions {
  TConversionOptions conversion;
  bool help = false;     // --help: the help text and the long options
  bool version = false;  // --version
};

// "--" followed by at least one character. A lone "--" is no long option: the
// argument rules ignore it like any switch they do not know.
bool IsLongOption(const std::string& arg);

// Reads every long option of args into the result and hands the other
// arguments back in their order. An unknown option, a missing or unexpected
// value raises EOptionError; a value that is not valid raises EConvertError.
// A later option replaces an earlier one of the same name.
TLongOptions ReadLongOptions(const std::vector<std::string>& args, std::vector<std::string>& others);

// "1,3-5": page numbers from 1 and inclusive ranges, in the order given.
// Raises EConvertError for anything else.
std::vector<TPageRange> ParsePageList(const std::string& text);

// The lines --help prints after the help text, without line ends.
const std::vector<std::string>& LongOptionHelpLines();

// The line --version prints.
std::string VersionLine();

inline constexpr int kMaxJobs = 256;

}  // namespace vx
