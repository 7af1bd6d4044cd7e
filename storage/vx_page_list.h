// The page store of a report: a header record followed by page records linked
// both ways, each holding one page's enhanced metafile, plain or coded. Pages
// are appended while a report is recorded and fetched by number at any time.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>

#include "graphics/metafile.h"
#include "storage/vx_outline.h"
#include "storage/vx_stream.h"

namespace vx {

class TVXPageList {
public:
  TVXPageList() = default;
  ~TVXPageList();
  TVXPageList(const TVXPageList&) = delete;
  TVXPageList& operator=(const TVXPageList&) = delete;

  // Opens a saved report for reading in place and reads its last page once, so
  // a file whose last page can't be read fails to open.
  void OpenFile(const std::string& fileName);
  // The same for a report already held by a stream, which the list takes over.
  void OpenStream(std::unique_ptr<TVXStream> stream);
  // Where a save writes its copy: a stream on the temporary file's name.
  using TSaveTargetOpener = std::function<std::unique_ptr<TStream>(const std::string& temporaryName)>;
  // Writes the whole store, byte for byte, to the file. The copy goes to a
  // temporary file in the same folder first, which replaces the file only
  // when it is complete: a failed save leaves an existing file untouched,
  // and saving over the report the store was opened from keeps it readable.
  void StoreToFile(const std::string& fileName);
  // The same with the copy written through open's stream (tests simulate a
  // full disk with it).
  void StoreToFile(const std::string& fileName, const TSaveTargetOpener& open);

  // Page n as a new metafile; none when n is below 1 or above StoredPages().
  std::unique_ptr<TMetafile> FetchPage(int32_t n);
  // Appends the metafile as the next page; the first append writes the header.
  void AppendPage(TMetafile& metafile);
  // Writes the header at offset 0 with the current page total.
  void WriteHeader();
  void ResetPageCount() { stored_pages_ = 0; }

  int32_t StoredPages() const { return stored_pages_; }
  bool Compressed() const { return compressed_; }
  void SetCompressed(bool value) { compressed_ = value; }

  TVXStream* DataStream() const { return data_stream_.get(); }
  // Installs a stream; the list frees the one it held.
  void SetDataStream(std::unique_ptr<TVXStream> stream);
  // Hands the stream back to the owner and leaves the list without one.
  std::unique_ptr<TVXStream> ReleaseDataStream();

  TVXOutline& Outline() { return outline_; }

private:
  void ReadHeader();
  void GoToPage(int32_t n);
  void ReadPayload(TMetafile& metafile);
  void ReadCodedPayload(TMetafile& metafile);
  int64_t BeginRecord();
  void EndRecord(int64_t recordStart, int64_t forwardLinkAt);
  void WriteCodedPayload(TMetafile& metafile);

  mutable std::recursive_mutex lock_;
  std::atomic<bool> compressed_ = false;
  std::atomic<int32_t> stored_pages_ = 0;
  std::unique_ptr<TVXStream> data_stream_;
  TVXOutline outline_;
};

}  // namespace vx
