#include "converter/worker_count.h"

#include <thread>

namespace vx {

int WorkerCount(int jobs) {
  if (jobs > 0) return jobs;
  const unsigned cores = std::thread::hardware_concurrency();
  return cores > 0 ? static_cast<int>(cores) : 1;
}

}  // namespace vx
