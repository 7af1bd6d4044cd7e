// File names on the command line: completion, existence of the source, its kind.
#pragma once

#include <string>

namespace vx {

enum TSourceKind { skUnsupported = 0, skReport = 1, skWindowsMetafile = 2, skEnhancedMetafile = 3 };

// A name without a directory part gets the current directory and "/" in front;
// a name with one (relative or not) is returned unchanged.
std::string CompleteFileName(const std::string& fileName);
std::string CompleteFileName(const std::string& fileName, const std::string& currentDirectory);

// The current directory as the system reports it; "." when it cannot be read.
std::string CurrentDirectory();

// True when a directory search for the name finds an entry (`*` and `?` of the last
// component match like wildcards), the first match in sorted order is no directory,
// and its modification time lies in the years 1980 to 2107 in local time.
bool SourceFileExists(const std::string& fileName);

// The extension from the last '.' after the directory part, "" when there is none.
std::string ExtractExtension(const std::string& fileName);

// By extension only (.vxp, .wmf, .emf in any letter case).
TSourceKind DetectSourceKind(const std::string& fileName);

}  // namespace vx
