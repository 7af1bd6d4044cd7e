// Pending window messages. The POSIX build has no message queue, so letting
// the platform process them does nothing.
#pragma once

namespace vx {

void ProcessPendingMessages();

}  // namespace vx
