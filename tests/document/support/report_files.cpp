#include "document/support/report_files.h"

#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <system_error>

#include "graphics/metafile.h"
#include "storage/vx_page_list.h"
#include "storage/vx_stream.h"
#include "support/emf_builder.h"

namespace vx::test::doc {

namespace fs = std::filesystem;

Bytes PageOfPixels(int32_t width, int32_t height) {
  // A reference device of 10 pixels per millimetre: one pixel is 10 frame units.
  return EmfBuilder()
      .Device({1000, 1000}, {100, 100})
      .Bounds({0, 0, width - 1, height - 1})
      .Frame({0, 0, width * 10, height * 10})
      .Build();
}

void WriteReportFile(const std::string& path, const std::vector<Bytes>& pages) {
  TVXPageList list;
  list.SetDataStream(TVXStream::CreateInMemory(1 << 20));
  for (const Bytes& page : pages) {
    TMetafile metafile;
    metafile.InstallEnhMetaFile(page);
    list.AppendPage(metafile);
  }
  list.WriteHeader();
  list.StoreToFile(path);
}

Bytes ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteBytes(const std::string& path, const Bytes& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

bool ProcessHasFileOpen(const std::string& path) {
  std::error_code error;
  const fs::path target = fs::weakly_canonical(path, error);
  for (const auto& entry : fs::directory_iterator("/proc/self/fd", error)) {
    std::error_code linkError;
    const fs::path link = fs::read_symlink(entry.path(), linkError);
    if (!linkError && link == target) return true;
  }
  return false;
}

ScratchFolder::ScratchFolder() {
  std::string pattern = (fs::temp_directory_path() / "vxprinter-test-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("cannot create a scratch folder");
  path_ = pattern;
}

ScratchFolder::~ScratchFolder() {
  std::error_code error;
  fs::remove_all(path_, error);
}

}  // namespace vx::test::doc
