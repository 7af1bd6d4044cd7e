// A manual tool, not a check: renders VXP_RENDER_SRC into VXP_RENDER_DST at
// VXP_RENDER_DPI (96 by default) for comparison with the reference renderer.
// Run with --gtest_also_run_disabled_tests --gtest_filter=RenderTool.*
#include <gtest/gtest.h>

#include <cstdlib>
#include <iostream>

#include "graphics/support/emf_render.h"

namespace vx::test {

TEST(RenderTool, DISABLED_RenderFileFromEnvironment) {
  const char* src = std::getenv("VXP_RENDER_SRC");
  const char* dst = std::getenv("VXP_RENDER_DST");
  if (src == nullptr || dst == nullptr) GTEST_SKIP() << "VXP_RENDER_SRC and VXP_RENDER_DST not set";
  const char* dpi = std::getenv("VXP_RENDER_DPI");
  gdi::PlaybackOptions options;
  options.verbose = std::getenv("VXP_RENDER_VERBOSE") != nullptr;
  options.log = [](const std::string& line) { std::cerr << line << "\n"; };
  const RenderedPage page = RenderEmf(ReadEmfFile(src), dpi ? std::atoi(dpi) : 96, options);
  WriteBmp(page, dst);
}

}  // namespace vx::test
