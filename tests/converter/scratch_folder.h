// A temporary folder for converter tests, removed with everything in it.
#pragma once

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <string>

namespace vx::test {

class ScratchFolder {
public:
  ScratchFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "vxp-cmdline-XXXXXX").string();
    if (::mkdtemp(pattern.data()) != nullptr) path_ = pattern;
  }
  ~ScratchFolder() {
    std::error_code ignored;
    if (!path_.empty()) std::filesystem::remove_all(path_, ignored);
  }
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;

  const std::string& Path() const { return path_; }
  std::string Join(const std::string& name) const { return path_ + "/" + name; }

  std::string AddFile(const std::string& name, const std::string& contents = "") const {
    const std::string file = Join(name);
    std::ofstream(file, std::ios::binary) << contents;
    return file;
  }
  std::string AddFolder(const std::string& name) const {
    const std::string folder = Join(name);
    std::filesystem::create_directories(folder);
    return folder;
  }

private:
  std::string path_;
};

// Seconds since 1970 of noon on 1 July of the year, in local time.
inline time_t LocalNoonOf(int year) {
  std::tm when{};
  when.tm_year = year - 1900;
  when.tm_mon = 6;
  when.tm_mday = 1;
  when.tm_hour = 12;
  when.tm_isdst = -1;
  return std::mktime(&when);
}

inline bool SetModificationTime(const std::string& file, time_t seconds) {
  const timespec times[2] = {{seconds, 0}, {seconds, 0}};
  return ::utimensat(AT_FDCWD, file.c_str(), times, 0) == 0;
}

}  // namespace vx::test
