#include "storage/vx_page_list.h"

#include <algorithm>
#include <array>

#include "base/byte_reader.h"
#include "base/errors.h"
#include "base/file_stream.h"
#include "base/memory_stream.h"
#include "storage/file_header.h"
#include "storage/save_file.h"
#include "storage/vx_compress.h"

namespace vx {

namespace {

// Page number, forward link and back link: no record is shorter.
constexpr int64_t kMinRecordSize = 12;
constexpr int32_t kDecodeChunkSize = 4096;

[[noreturn]] void FailRead() { throw EReadError(msg::kStreamRead); }

int32_t ReadNumber(TStream& stream) {
  uint8_t bytes[4] = {};
  if (stream.Read(bytes, 4) != 4) FailRead();
  return LoadI32(bytes);
}

int32_t ReadNumberAt(TStream& stream, int64_t offset, int64_t size) {
  if (offset < 0 || offset > size - 4) FailRead();
  stream.Seek64(offset, soBeginning);
  return ReadNumber(stream);
}

void WriteNumber(TStream& stream, int64_t value) {
  uint8_t bytes[4] = {};
  StoreU32(bytes, static_cast<uint32_t>(value));
  if (stream.Write(bytes, 4) != 4) throw EWriteError(msg::kStreamWrite);
}

// The record the last four bytes of the store point at.
int64_t LastRecordStart(TStream& stream, int64_t size) {
  const int64_t record = ReadNumberAt(stream, size - 4, size);
  if (record < 0 || record > size - kMinRecordSize) FailRead();
  return record;
}

// Every hop must move at least one minimal record forward and stay inside the
// stream, so a damaged chain ends in an error after at most size / 12 hops.
int64_t WalkForward(TStream& stream, int64_t record, int32_t page, int64_t size) {
  for (;;) {
    if (ReadNumberAt(stream, record, size) == page) return record;
    const int64_t next = ReadNumber(stream);
    if (next < record + kMinRecordSize || next > size - kMinRecordSize) FailRead();
    record = next;
  }
}

int64_t WalkBack(TStream& stream, int64_t record, int32_t page, int64_t size) {
  for (;;) {
    if (ReadNumberAt(stream, record, size) == page) return record;
    const int64_t previous = ReadNumberAt(stream, record - 4, size);
    if (previous < 0 || previous > record - kMinRecordSize) FailRead();
    record = previous;
  }
}

}  // namespace

TVXPageList::~TVXPageList() = default;

void TVXPageList::SetDataStream(std::unique_ptr<TVXStream> stream) {
  std::lock_guard guard(lock_);
  data_stream_ = std::move(stream);
}

std::unique_ptr<TVXStream> TVXPageList::ReleaseDataStream() {
  std::lock_guard guard(lock_);
  return std::move(data_stream_);
}

void TVXPageList::OpenFile(const std::string& fileName) {
  SetDataStream(nullptr);
  OpenStream(TVXStream::CreateOnFile(fileName));
}

void TVXPageList::OpenStream(std::unique_ptr<TVXStream> stream) {
  std::lock_guard guard(lock_);
  data_stream_ = std::move(stream);
  // A file that fails to open must not keep the total of the one before.
  stored_pages_ = 0;
  ReadHeader();
  FetchPage(stored_pages_);
}

void TVXPageList::ReadHeader() {
  TVXStream& stream = *data_stream_;
  stream.Seek(0, soBeginning);
  const int32_t length = stream.DetectHeaderLength();
  TVXFileHeaderBytes header{};
  if (stream.Read(header.data(), length) != length) FailRead();
  if (length == kPackedHeaderLength) header = ExpandPackedHeader(header);
  stored_pages_ = HeaderPageTotal(header);
}

void TVXPageList::WriteHeader() {
  std::lock_guard guard(lock_);
  if (!data_stream_) return;
  TVXFileHeader header;
  header.pageTotal = stored_pages_;
  header.date = CurrentOleAutomationDate();
  header.compressed = compressed_;
  const TVXFileHeaderBytes bytes = header.Encode();
  data_stream_->Seek(0, soBeginning);
  if (data_stream_->Write(bytes.data(), kHeaderLength) != kHeaderLength)
    throw EWriteError(msg::kStreamWrite);
}

void TVXPageList::StoreToFile(const std::string& fileName) {
  StoreToFile(fileName, [](const std::string& temporaryName) -> std::unique_ptr<TStream> {
    return std::make_unique<TFileStream>(temporaryName, TFileMode::Create);
  });
}

void TVXPageList::StoreToFile(const std::string& fileName, const TSaveTargetOpener& open) {
  std::lock_guard guard(lock_);
  TSaveFile save(fileName);
  {
    const std::unique_ptr<TStream> target = open(save.TemporaryName());
    if (data_stream_) {
      data_stream_->CopyAllTo(*target);
      // The copy ignores short writes; a copy that came out short is a failed save.
      if (target->Size() != data_stream_->Size()) throw EWriteError(msg::kStreamWrite);
    }
  }
  save.Commit();
}

// Every operation leaves the stream at the first byte of a record or at its
// end; the walk starts from there.
void TVXPageList::GoToPage(int32_t n) {
  TVXStream& stream = *data_stream_;
  if (n == 1) {
    stream.Seek(stream.DetectHeaderLength(), soBeginning);
    return;
  }
  const int64_t size = stream.GetSize();
  int64_t record = stream.Position();
  if (record == size) record = LastRecordStart(stream, size);
  const int32_t page = ReadNumberAt(stream, record, size);
  if (n > page) record = WalkForward(stream, record, n, size);
  else if (n < page) record = WalkBack(stream, record, n, size);
  stream.Seek64(record, soBeginning);
}

std::unique_ptr<TMetafile> TVXPageList::FetchPage(int32_t n) {
  if (n < 1 || n > stored_pages_) return nullptr;
  std::lock_guard guard(lock_);
  if (!data_stream_) return nullptr;
  TVXStream& stream = *data_stream_;
  try {
    GoToPage(n);
    ReadNumber(stream);  // page number
    ReadNumber(stream);  // forward link
    auto metafile = std::make_unique<TMetafile>();
    ReadPayload(*metafile);
    ReadNumber(stream);  // back link
    return metafile;
  } catch (...) {
    // Back onto a record boundary, so the next walk starts from solid ground.
    stream.Seek(0, soEnd);
    throw;
  }
}

void TVXPageList::ReadPayload(TMetafile& metafile) {
  if (compressed_) ReadCodedPayload(metafile);
  else metafile.ReadFromStream(*data_stream_);
}

// Decodes the stated number of bytes, bounded by what the rest of the stream
// can hold: every byte takes at least one bit of code.
void TVXPageList::ReadCodedPayload(TMetafile& metafile) {
  TVXStream& stream = *data_stream_;
  const int32_t length = ReadNumber(stream);
  TMemoryStream decoded;
  if (length > 0) {
    const int64_t codeBytesLeft = stream.GetSize() - stream.Position() - 4;
    if ((int64_t{length} + 7) / 8 > codeBytesLeft) FailRead();
    TVXCompress decoder(stream, false);
    std::array<uint8_t, kDecodeChunkSize> chunk{};
    for (int32_t remaining = length; remaining > 0;) {
      const int32_t count = std::min(remaining, kDecodeChunkSize);
      for (int32_t i = 0; i < count; ++i) chunk[i] = decoder.DecodeByte();
      if (decoder.EndReached()) FailRead();
      decoded.WriteBuffer(chunk.data(), count);
      remaining -= count;
    }
  }
  decoded.Seek(0, soBeginning);
  metafile.ReadFromStream(decoded);
}

void TVXPageList::AppendPage(TMetafile& metafile) {
  std::lock_guard guard(lock_);
  if (!data_stream_) throw EWriteError(msg::kStreamWrite);
  TVXStream& stream = *data_stream_;
  const int64_t endBefore = stream.Seek64(0, soEnd);
  try {
    if (++stored_pages_ == 1) WriteHeader();
    if (compressed_) {
      WriteCodedPayload(metafile);
      return;
    }
    const int64_t recordStart = BeginRecord();
    metafile.WriteToStream(stream);
    EndRecord(recordStart, recordStart + 4);
  } catch (...) {
    // A page that could not be written whole is neither counted nor left
    // behind: a half record at the end would cut the chain's back link, and
    // the page total would name a page the store does not hold.
    --stored_pages_;
    stream.CutTo(endBefore);
    stream.Seek64(0, soEnd);
    throw;
  }
}

void TVXPageList::WriteCodedPayload(TMetafile& metafile) {
  TVXStream& stream = *data_stream_;
  TMemoryStream plain;
  metafile.WriteToStream(plain);
  const int64_t recordStart = BeginRecord();
  {
    TVXCompress encoder(stream, true);
    WriteNumber(stream, plain.GetSize());
    for (const uint8_t byte : plain.Bytes()) encoder.EncodeByte(byte);
    encoder.Finish();
  }
  EndRecord(recordStart, recordStart + 4);
}

// Page number and a placeholder forward link (its own offset) at the end of the
// stream; returns the record's first offset.
int64_t TVXPageList::BeginRecord() {
  TVXStream& stream = *data_stream_;
  const int64_t recordStart = stream.Seek64(0, soEnd);
  WriteNumber(stream, stored_pages_);
  WriteNumber(stream, recordStart + 4);
  return recordStart;
}

void TVXPageList::EndRecord(int64_t recordStart, int64_t forwardLinkAt) {
  TVXStream& stream = *data_stream_;
  WriteNumber(stream, recordStart);
  const int64_t recordEnd = stream.Position();
  stream.Seek64(forwardLinkAt, soBeginning);
  WriteNumber(stream, recordEnd);
  stream.Seek64(recordEnd, soBeginning);
}

}  // namespace vx
