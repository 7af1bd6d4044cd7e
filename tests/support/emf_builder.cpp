#include "support/emf_builder.h"

#include "base/byte_reader.h"

namespace vx::test {

namespace {

constexpr uint32_t kSignature = 0x464D4520;  // " EMF"
constexpr uint32_t kVersion = 0x10000;

void PutRect(ByteWriter& out, const gdi::Rect& r) {
  out.I32(r.left);
  out.I32(r.top);
  out.I32(r.right);
  out.I32(r.bottom);
}

}  // namespace

EmfBuilder& EmfBuilder::Bounds(const gdi::Rect& bounds) {
  bounds_ = bounds;
  return *this;
}

EmfBuilder& EmfBuilder::Frame(const gdi::Rect& frame) {
  frame_ = frame;
  return *this;
}

EmfBuilder& EmfBuilder::Device(const gdi::Size& pixels, const gdi::Size& millimetres) {
  device_pixels_ = pixels;
  device_millimetres_ = millimetres;
  return *this;
}

EmfBuilder& EmfBuilder::Handles(uint16_t count) {
  handles_ = count;
  return *this;
}

EmfBuilder& EmfBuilder::Record(uint32_t type, const std::vector<uint8_t>& parameters) {
  ByteWriter record;
  const size_t padded = (parameters.size() + 3) / 4 * 4;
  record.U32(type);
  record.U32(static_cast<uint32_t>(8 + padded));
  record.Append(parameters.data(), parameters.size());
  while (record.Size() < 8 + padded) record.U8(0);
  records_.push_back(std::move(record.Bytes()));
  return *this;
}

EmfBuilder& EmfBuilder::RecordWords(uint32_t type, const std::vector<int32_t>& words) {
  ByteWriter parameters;
  for (const int32_t word : words) parameters.I32(word);
  return Record(type, parameters.Bytes());
}

std::vector<uint8_t> EmfBuilder::Build() const {
  uint32_t total = kEmfHeaderSize + kEmfEofSize;
  for (const auto& record : records_) total += static_cast<uint32_t>(record.size());
  const auto recordCount = static_cast<uint32_t>(records_.size() + 2);

  ByteWriter out;
  out.U32(gdi::TypeWord(gdi::EmfRecord::kHeader));
  out.U32(kEmfHeaderSize);
  PutRect(out, bounds_);
  PutRect(out, frame_);
  out.U32(kSignature);
  out.U32(kVersion);
  out.U32(total);
  out.U32(recordCount);
  out.U16(handles_);
  out.U16(0);  // reserved
  out.U32(0);  // description length
  out.U32(0);  // description offset
  out.U32(0);  // palette entries
  out.I32(device_pixels_.cx);
  out.I32(device_pixels_.cy);
  out.I32(device_millimetres_.cx);
  out.I32(device_millimetres_.cy);
  out.U32(0);  // pixel format size
  out.U32(0);  // pixel format offset
  out.U32(0);  // OpenGL
  out.I32(device_millimetres_.cx * 1000);
  out.I32(device_millimetres_.cy * 1000);
  for (const auto& record : records_) out.Append(record.data(), record.size());
  out.U32(gdi::TypeWord(gdi::EmfRecord::kEof));
  out.U32(kEmfEofSize);
  out.U32(0);   // palette entries
  out.U32(16);  // palette offset
  out.U32(kEmfEofSize);
  return std::move(out.Bytes());
}

std::vector<uint8_t> MinimalEmf(int fillerRecords) {
  EmfBuilder builder;
  for (int i = 0; i < fillerRecords; ++i) builder.Record(gdi::EmfRecord::kSaveDC);
  return builder.Build();
}

}  // namespace vx::test
