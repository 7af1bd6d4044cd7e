// A file the converter has created and not yet finished writing. Should the
// writing fail, the file is removed when the guard goes: a page cut off half
// way would pass for a picture. Only a regular file is removed (never a
// device, a pipe, or the target of a symbolic link), and only once it has been
// created here, so a name that could not be created is left as it was.
#pragma once

#include <string>

namespace vx {

class TUnfinishedFile {
public:
  TUnfinishedFile() = default;
  ~TUnfinishedFile();
  TUnfinishedFile(const TUnfinishedFile&) = delete;
  TUnfinishedFile& operator=(const TUnfinishedFile&) = delete;

  // The file now exists and is being written.
  void Created(std::string path);
  // The file is whole: it stays.
  void Finished();
  // Removes the file if it was created and not finished.
  void Abandon();

private:
  std::string path_;
  bool open_ = false;
};

}  // namespace vx
