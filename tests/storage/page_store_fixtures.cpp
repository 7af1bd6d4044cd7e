#include "storage/page_store_fixtures.h"

#include <stdlib.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>

#include "base/byte_reader.h"
#include "base/memory_stream.h"
#include "storage/vx_compress.h"
#include "support/emf_builder.h"

namespace vx::test {

Bytes PageEmf(int page) {
    EmfBuilder builder;
  builder.Frame({0, 0, 1000 + page, 2000 + 3 * page});
  for (int i = 0; i < page % 5; ++i) builder.Record(gdi::EmfRecord::kSaveDC);
  return builder.Build();
}

std::unique_ptr<TMetafile> MetafileFrom(const Bytes& emf) {
  TMemoryStream stream;
  stream.WriteBuffer(emf.data(), static_cast<int64_t>(emf.size()));
  stream.Seek(0, soBeginning);
  auto metafile = std::make_unique<TMetafile>();
  metafile->ReadFromStream(stream);
  return metafile;
}

Bytes Encode(const Bytes& plain) {
  TMemoryStream out;
  {
    TVXCompress encoder(out, true);
    for (const uint8_t b : plain) encoder.EncodeByte(b);
  }
  return out.Bytes();
}

namespace {

Bytes HeaderBytes(int32_t length, int32_t pageTotal, bool compressed) {
  Bytes header(static_cast<size_t>(length), 0);
  StoreU16(header.data(), 3);
  StoreU16(header.data() + 2, 40);
  StoreU32(header.data() + 8, static_cast<uint32_t>(pageTotal));
  if (length == 128) {
    header[25] = compressed ? 1 : 0;
    std::fill(header.begin() + 26, header.begin() + 126, 0x48);
  } else if (length == 124) {
    header[21] = compressed ? 1 : 0;
    std::fill(header.begin() + 22, header.begin() + 122, 0x48);
  }
  return header;
}

Bytes RecordPayload(const Bytes& page, bool compressed) {
  if (!compressed) return page;
  Bytes payload(4);
  PutI32(payload, 0, static_cast<int32_t>(page.size()));
  const Bytes code = Encode(page);
  payload.insert(payload.end(), code.begin(), code.end());
  return payload;
}

}  // namespace

Bytes StoreBytes(const std::vector<Bytes>& pages, const StoreLayout& layout) {
  const int32_t total = layout.pageTotal.value_or(static_cast<int32_t>(pages.size()));
  Bytes out = HeaderBytes(layout.headerLength, total, layout.compressed);
  for (size_t i = 0; i < pages.size(); ++i) {
    const auto start = static_cast<int32_t>(out.size());
    const Bytes payload = RecordPayload(pages[i], layout.compressed);
    Bytes record(8);
    PutI32(record, 0, static_cast<int32_t>(i + 1));
    PutI32(record, 4, start + 12 + static_cast<int32_t>(payload.size()));
    record.insert(record.end(), payload.begin(), payload.end());
    record.resize(record.size() + 4);
    PutI32(record, record.size() - 4, start);
    out.insert(out.end(), record.begin(), record.end());
  }
  return out;
}

std::vector<int32_t> RecordOffsets(const std::vector<Bytes>& pages, const StoreLayout& layout) {
  std::vector<int32_t> offsets;
  int32_t offset = layout.headerLength;
  for (const Bytes& page : pages) {
    offsets.push_back(offset);
    offset += 12 + static_cast<int32_t>(RecordPayload(page, layout.compressed).size());
  }
  return offsets;
}

std::unique_ptr<TVXStream> StreamHolding(const Bytes& bytes) {
  auto stream = TVXStream::CreateInMemory(INT32_MAX);
  stream->WriteBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
  stream->Seek(0, soBeginning);
  return stream;
}

Bytes AllBytes(TStream& stream) {
  const int64_t position = stream.Position();
  Bytes bytes(static_cast<size_t>(stream.Size()));
  stream.SetPosition(0);
  if (!bytes.empty()) stream.ReadBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
  stream.SetPosition(position);
  return bytes;
}

void PutI32(Bytes& bytes, size_t offset, int32_t value) {
  StoreU32(bytes.data() + offset, static_cast<uint32_t>(value));
}

int32_t GetI32(const Bytes& bytes, size_t offset) { return LoadI32(bytes.data() + offset); }

Bytes ReadFileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteFileBytes(const std::string& path, const Bytes& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

TempFolder::TempFolder() {
  std::string pattern = "/tmp/vxp-storage-test-XXXXXX";
  if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
  path_ = pattern;
}

TempFolder::~TempFolder() {
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

std::vector<std::string> TempFolder::EntriesStartingWith(const std::string& prefix) const {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(path_)) {
    const std::string name = entry.path().filename().string();
    if (name.rfind(prefix, 0) == 0) names.push_back(name);
  }
  std::sort(names.begin(), names.end());
  return names;
}

ScopedEnv::ScopedEnv(const char* name, const char* value) : name_(name) {
  if (const char* old = std::getenv(name)) previous_ = old;
  if (value == nullptr) unsetenv(name);
  else setenv(name, value, 1);
}

ScopedEnv::~ScopedEnv() {
  if (previous_) setenv(name_.c_str(), previous_->c_str(), 1);
  else unsetenv(name_.c_str());
}

}  // namespace vx::test
