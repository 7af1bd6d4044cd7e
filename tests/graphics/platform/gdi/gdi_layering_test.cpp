#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

// The files of a source folder with each line that includes one of the
// headers named.
std::vector<std::string> IncludesOf(const fs::path& folder, const std::vector<std::string>& headers) {
  std::vector<std::string> found;
  for (const fs::directory_entry& entry : fs::directory_iterator(folder)) {
    const std::string ext = entry.path().extension().string();
    if (ext != ".h" && ext != ".cpp") continue;
    std::ifstream in(entry.path());
    std::string line;
    while (std::getline(in, line)) {
      if (line.rfind("#include", 0) != 0) continue;
      for (const std::string& header : headers)
        if (line.find(header) != std::string::npos) found.push_back(entry.path().filename().string() + ": " + line);
    }
  }
  return found;
}

TEST(GdiLayering, TheDeviceContextIncludesNoScanOrSpanHeader) {
  const fs::path gdi = fs::path(VXP_SOURCE_DIR) / "graphics/platform/gdi";
  ASSERT_TRUE(fs::is_directory(gdi));
  const std::vector<std::string> found =
      IncludesOf(gdi, {"graphics/platform/raster/scan", "graphics/platform/raster/span_writer.h"});
  std::ostringstream list;
  for (const std::string& line : found) list << line << "\n";
  EXPECT_TRUE(found.empty()) << list.str();
}

TEST(GdiLayering, TheIncludeCheckSeesTheScanIncludesOfTheDrawLayer) {
  // The draw layer does include the scan converters; the check above would see them.
  const fs::path draw = fs::path(VXP_SOURCE_DIR) / "graphics/platform/draw";
  EXPECT_FALSE(IncludesOf(draw, {"graphics/platform/raster/scan.h"}).empty());
}

TEST(GdiLayering, TheDrawLayerIncludesNothingOfTheDeviceContext) {
  const fs::path draw = fs::path(VXP_SOURCE_DIR) / "graphics/platform/draw";
  EXPECT_TRUE(IncludesOf(draw, {"graphics/platform/gdi/", "graphics/platform/emf/", "graphics/platform/wmf/"}).empty());
}

}  // namespace
