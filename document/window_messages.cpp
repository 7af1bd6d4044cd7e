#include "document/window_messages.h"

namespace vx {

void ProcessPendingMessages() {}

}  // namespace vx
