// How many threads a conversion runs: the number asked for, or one per core.
#pragma once

namespace vx {

// jobs above 0 as given; 0 and below: the cores the system reports (at least 1).
int WorkerCount(int jobs);

}  // namespace vx
