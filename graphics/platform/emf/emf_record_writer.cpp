#include "graphics/platform/emf/emf_record_writer.h"

#include <utility>

namespace vx::gdi {

namespace {
constexpr uint32_t kEofRecordSize = 20;
}

void EmfRecordWriter::Add(EmfRecord type, const std::vector<uint8_t>& body) { AddParts(type, body, {}); }

void EmfRecordWriter::Add(EmfRecord type, ByteWriter& head, std::span<const uint8_t> tail) {
  AddParts(type, head.Bytes(), tail);
}

void EmfRecordWriter::AddParts(EmfRecord type, const std::vector<uint8_t>& body, std::span<const uint8_t> tail) {
  const size_t size = body.size() + tail.size();
  const size_t padded = (size + 3) & ~size_t(3);
  ByteWriter head;
  head.U32(TypeWord(type));
  head.U32(static_cast<uint32_t>(8 + padded));
  records_.insert(records_.end(), head.Bytes().begin(), head.Bytes().end());
  records_.insert(records_.end(), body.begin(), body.end());
  records_.insert(records_.end(), tail.begin(), tail.end());
  records_.resize(records_.size() + (padded - size), 0);
  ++count_;
}

std::vector<uint8_t> EmfRecordWriter::Finish(EnhMetaHeader header) && {
  const size_t header_size = EncodeEnhMetaHeader(header).size();
  header.bytes = static_cast<uint32_t>(header_size + records_.size() + kEofRecordSize);
  header.records = count_ + 2;
  const std::vector<uint8_t> head = EncodeEnhMetaHeader(header);
  ByteWriter eof;
  eof.U32(TypeWord(EmfRecord::kEof));
  eof.U32(kEofRecordSize);
  eof.U32(0);                // no palette entries
  eof.U32(16);               // where they would start
  eof.U32(kEofRecordSize);   // size of this record, read from the end
  std::vector<uint8_t> out = std::move(records_);
  out.reserve(header.bytes);
  out.insert(out.begin(), head.begin(), head.end());
  out.insert(out.end(), eof.Bytes().begin(), eof.Bytes().end());
  records_.clear();
  count_ = 0;
  return out;
}

}  // namespace vx::gdi
