// Small builders for page-store tests: distinct page metafiles, report files
// laid out by hand, temporary folders and file contents.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "base/stream.h"
#include "graphics/metafile.h"
#include "storage/vx_stream.h"

namespace vx::test {

using Bytes = std::vector<uint8_t>;

// A valid EMF that differs for every page number (frame and record count).
Bytes PageEmf(int page);
std::unique_ptr<TMetafile> MetafileFrom(const Bytes& emf);

struct StoreLayout {
  int32_t headerLength = 128;            // 128, 124 or 96
  std::optional<int32_t> pageTotal;      // defaults to the number of pages
  bool compressed = false;               // payloads are coded, with a length field
};

// A report store laid out independently of the page list: header (date 0,
// unset bytes 0) and one record per page.
Bytes StoreBytes(const std::vector<Bytes>& pages, const StoreLayout& layout = {});
// Offsets of the records in StoreBytes' output.
std::vector<int32_t> RecordOffsets(const std::vector<Bytes>& pages, const StoreLayout& layout = {});
Bytes Encode(const Bytes& plain);

std::unique_ptr<TVXStream> StreamHolding(const Bytes& bytes);
Bytes AllBytes(TStream& stream);
void PutI32(Bytes& bytes, size_t offset, int32_t value);
int32_t GetI32(const Bytes& bytes, size_t offset);

Bytes ReadFileBytes(const std::string& path);
void WriteFileBytes(const std::string& path, const Bytes& bytes);

// A fresh folder under /tmp, removed with everything in it at the end.
class TempFolder {
public:
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;
  const std::string& Path() const { return path_; }
  std::string File(const std::string& name) const { return path_ + "/" + name; }
  // Names of the entries that begin with prefix.
  std::vector<std::string> EntriesStartingWith(const std::string& prefix) const;

private:
  std::string path_;
};

// Sets an environment variable for the lifetime of the object.
class ScopedEnv {
public:
  ScopedEnv(const char* name, const char* value);
  ~ScopedEnv();
  ScopedEnv(const ScopedEnv&) = delete;
  ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
  std::string name_;
  std::optional<std::string> previous_;
};

}  // namespace vx::test
