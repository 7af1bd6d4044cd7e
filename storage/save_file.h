// Replacing a file safely: the new content is written to a temporary file in
// the same folder, which is renamed over the target only when it is complete.
// Until then the old file stays as it was; a save that is not committed
// removes its temporary file. A target that is no regular file (a device, a
// pipe) cannot be replaced and is written in place; a symbolic link's file
// is replaced and the link kept.
#pragma once

#include <string>

namespace vx {

class TSaveFile {
public:
  // Creates the temporary file (exclusively, beginning with "VXP"); fails
  // with EFCreateError "Cannot create file "%s". %s" naming the target.
  explicit TSaveFile(const std::string& fileName);
  ~TSaveFile();
  TSaveFile(const TSaveFile&) = delete;
  TSaveFile& operator=(const TSaveFile&) = delete;

  // Where the content goes: the temporary file, or the target written in place.
  const std::string& TemporaryName() const { return temporary_name_; }
  bool WritesInPlace() const { return in_place_; }
  // Gives the file the usual permissions and renames it over the target;
  // EFCreateError when the rename fails (the temporary file is removed).
  void Commit();

private:
  std::string requested_name_;  // as the caller named it, for messages
  std::string file_name_;
  std::string temporary_name_;
  bool in_place_ = false;
  bool committed_ = false;
};

}  // namespace vx
