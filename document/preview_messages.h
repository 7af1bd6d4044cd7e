// The notifications a report printer posts to a preview window while pages
// arrive. The POSIX build has no window messages: they go to a callback
// bound by the preview, with the message number and its wParam.
#pragma once

#include <cstdint>
#include <functional>

namespace vx {

inline constexpr uint32_t kWmUser = 0x400;
// wParam: the number of pages now available.
inline constexpr uint32_t kPageAvailableMessage = kWmUser + 1;
// wParam: the progress value.
inline constexpr uint32_t kProgressMessage = kWmUser;

using TPreviewNotification = std::function<void(uint32_t message, int32_t wparam)>;

}  // namespace vx
