// Many conversions in one process: every item of a batch list converted as its
// own run would convert it, several at a time.
#pragma once

#include <string>

#include "converter/console.h"
#include "converter/conversion_options.h"

namespace vx {

// Converts every item of the list (a file, or standard input for "-"): report
// sources to page files, .wmf / .emf sources to one file, at the item's DPI or
// the default resolution. options.jobs items run at once (0: one per core);
// an item's pages share the workers that have no item of their own. Each item
// that fails gives one line to writeError, in list order:
//   batch line N: SOURCE: CLASS: MESSAGE
// Returns 1 when any item failed, 0 otherwise. A list that cannot be read
// raises EFOpenError. The first form writes the lines to standard error.
int RunBatchConversion(const std::string& list_path, const TConversionOptions& options);
int RunBatchConversion(const std::string& list_path, const TConversionOptions& options,
                       const TLineWriter& writeError);

}  // namespace vx
