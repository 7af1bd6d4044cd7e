// What an elliptic arc call draws: the open arc, the arc closed by its chord,
// the pie slice closed through the centre, or the arc that also moves the
// current position (ArcTo, which in a path starts with a line to the arc).
#pragma once

namespace vx::gdi {

enum class ArcKind { Arc, Chord, Pie, ArcTo };

}  // namespace vx::gdi
