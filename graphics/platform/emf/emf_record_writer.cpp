#include "graphics/platform/emf/emf_record_writer.h"

namespace vx::gdi {

namespace {
constexpr uint32_t kEofRecordSize = 20;
}

void EmfRecordWriter::Add(EmfRecord type, const std::vector<uint8_t>& body) {
  const size_t padded = (body.size() + 3) & ~size_t(3);
  ByteWriter head;
  head.U32(TypeWord(type));
  head.U32(static_cast<uint32_t>(8 + padded));
  records_.insert(records_.end(), head.Bytes().begin(), head.Bytes().end());
  records_.insert(records_.end(), body.begin(), body.end());
  records_.resize(records_.size() + (padded - body.size()), 0);
  ++count_;
}

std::vector<uint8_t> EmfRecordWriter::Finish(EnhMetaHeader header) const {
  const size_t header_size = EncodeEnhMetaHeader(header).size();
  header.bytes = static_cast<uint32_t>(header_size + records_.size() + kEofRecordSize);
  header.records = count_ + 2;
  std::vector<uint8_t> out = EncodeEnhMetaHeader(header);
  out.insert(out.end(), records_.begin(), records_.end());
  ByteWriter eof;
  eof.U32(TypeWord(EmfRecord::kEof));
  eof.U32(kEofRecordSize);
  eof.U32(0);                // no palette entries
  eof.U32(16);               // where they would start
  eof.U32(kEofRecordSize);   // size of this record, read from the end
  out.insert(out.end(), eof.Bytes().begin(), eof.Bytes().end());
  return out;
}

}  // namespace vx::gdi
