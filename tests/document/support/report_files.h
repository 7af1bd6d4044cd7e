// Saved report files for report printer tests, written through the page list,
// and a scratch folder to keep them in.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace vx::test::doc {

using Bytes = std::vector<uint8_t>;

// An enhanced metafile whose size is width x height screen pixels.
Bytes PageOfPixels(int32_t width, int32_t height);

// A plain saved report holding the pages in order, with its final header.
void WriteReportFile(const std::string& path, const std::vector<Bytes>& pages);

Bytes ReadBytes(const std::string& path);
void WriteBytes(const std::string& path, const Bytes& bytes);

// Whether this process holds a descriptor open on the file.
bool ProcessHasFileOpen(const std::string& path);

// A fresh folder, removed with its content at the end.
class ScratchFolder {
public:
  ScratchFolder();
  ~ScratchFolder();
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;
  std::string File(const std::string& name) const { return path_ + "/" + name; }

private:
  std::string path_;
};

}  // namespace vx::test::doc
