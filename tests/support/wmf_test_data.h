// Small Windows metafiles for tests: records given as 16-bit words, wrapped
// in the standard header and optionally the placeable one.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <vector>

#include "base/byte_reader.h"
#include "graphics/platform/wmf/wmf_placeable.h"
#include "graphics/platform/wmf/wmf_records.h"

namespace vx::test {

class WmfBuilder {
public:
  WmfBuilder& Record(uint16_t function, std::initializer_list<int16_t> words) {
    body_.U32(3 + static_cast<uint32_t>(words.size()));
    body_.U16(function);
    for (const int16_t w : words) body_.I16(w);
    return *this;
  }
  WmfBuilder& RecordBytes(uint16_t function, std::vector<uint8_t> params) {
    if (params.size() % 2) params.push_back(0);
    body_.U32(3 + static_cast<uint32_t>(params.size() / 2));
    body_.U16(function);
    body_.Append(params.data(), params.size());
    return *this;
  }
  WmfBuilder& Raw(const std::vector<uint8_t>& bytes) {
    body_.Append(bytes.data(), bytes.size());
    return *this;
  }
  WmfBuilder& Type(uint16_t type) { type_ = type; return *this; }
  WmfBuilder& Version(uint16_t version) { version_ = version; return *this; }
  WmfBuilder& HeaderWords(uint16_t words) { header_words_ = words; return *this; }

  // The standard header, the records and the end-of-file record.
  std::vector<uint8_t> Build() const {
    ByteWriter out;
    out.U16(type_);
    out.U16(header_words_);
    out.U16(version_);
    out.U32(static_cast<uint32_t>((18 + body_.Size() + 6) / 2));
    out.U16(4);
    out.U32(64);
    out.U16(0);
    auto& body = const_cast<ByteWriter&>(body_).Bytes();
    out.Append(body.data(), body.size());
    out.U32(3);
    out.U16(0);
    return std::move(out.Bytes());
  }

  std::vector<uint8_t> Placeable(int16_t left, int16_t top, int16_t right, int16_t bottom,
                                 uint16_t units_per_inch) const {
    gdi::PlaceableHeader h;
    h.left = left;
    h.top = top;
    h.right = right;
    h.bottom = bottom;
    h.units_per_inch = units_per_inch;
    std::vector<uint8_t> out = gdi::EncodePlaceableHeader(h);
    const std::vector<uint8_t> wmf = Build();
    out.insert(out.end(), wmf.begin(), wmf.end());
    return out;
  }

private:
  ByteWriter body_;
  uint16_t type_ = 1;
  uint16_t header_words_ = 9;
  uint16_t version_ = 0x300;
};

// A rectangle in a 100 x 100 window: the smallest picture worth drawing.
inline WmfBuilder RectangleWmf() {
  WmfBuilder b;
  b.Record(gdi::wmf::kSetMapMode, {8}).Record(gdi::wmf::kSetWindowOrg, {0, 0}).Record(gdi::wmf::kSetWindowExt, {100, 100}).Record(gdi::wmf::kRectangle, {80, 80, 20, 20});
  return b;
}

}  // namespace vx::test
