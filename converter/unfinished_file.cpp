#include "converter/unfinished_file.h"

#include <sys/stat.h>
#include <unistd.h>

#include <utility>

namespace vx {

TUnfinishedFile::~TUnfinishedFile() { Abandon(); }

void TUnfinishedFile::Created(std::string path) {
  path_ = std::move(path);
  open_ = true;
}

void TUnfinishedFile::Finished() { open_ = false; }

void TUnfinishedFile::Abandon() {
  if (!open_) return;
  open_ = false;
  struct stat info {};
  if (::lstat(path_.c_str(), &info) == 0 && S_ISREG(info.st_mode)) ::unlink(path_.c_str());
}

}  // namespace vx
