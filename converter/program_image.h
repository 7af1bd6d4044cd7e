// The program's own read-only segments (code and constants), mapped at once.
#pragma once

namespace vx {

// Maps every page of the executable's read-only segments in one system call.
// They are in the page cache already; left to fault in on first use, each
// 64 KiB window the run touches costs a trap of its own, and a small page
// touches a few dozen, each dearer than mapping all of them up front. Does
// nothing where the system cannot populate a mapping on request.
void MapProgramImage();

}  // namespace vx
