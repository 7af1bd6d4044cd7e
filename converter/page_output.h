// One output file of a conversion as the long options ask for it: rendered,
// written, and told to the conversion's reporter (timing, playback notes,
// fonts and EMF+ content when --verbose is given).
#pragma once

#include <cstdint>
#include <string>

#include "converter/conversion_options.h"
#include "converter/conversion_report.h"

namespace vx {

class TMetafile;

// page is the report page number, 0 for a metafile source. Safe to call for
// different metafiles on several threads at once.
void RenderPageFile(TMetafile& metafile, const std::string& fileName, int32_t page, int32_t resolution,
                    const TConversionOptions& options, TConversionReporter& reporter);

}  // namespace vx
