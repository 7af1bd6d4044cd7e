#include "converter/metafile_survey.h"

#include "base/byte_reader.h"

namespace vx {

namespace {

constexpr uint32_t kEmrEof = 14;
constexpr uint32_t kEmrGdiComment = 70;
constexpr uint32_t kEmrExtCreateFontIndirectW = 82;
constexpr uint32_t kEmfPlusIdentifier = 0x2B464D45;  // "EMF+"
constexpr uint16_t kEmfPlusHeaderType = 0x4001;
constexpr uint16_t kEmfPlusDualFlag = 0x0001;
constexpr int kFaceNameLength = 32;

// The LOGFONTW after the record's handle index.
bool ReadFont(ByteReader& r, gdi::LogFont& font) {
  r.U32();
  font.height = r.I32();
  font.width = r.I32();
  font.escapement = r.I32();
  font.orientation = r.I32();
  font.weight = r.I32();
  font.italic = r.U8() != 0;
  font.underline = r.U8() != 0;
  font.strike_out = r.U8() != 0;
  font.char_set = r.U8();
  font.out_precision = r.U8();
  font.clip_precision = r.U8();
  font.quality = r.U8();
  font.pitch_and_family = r.U8();
  for (int i = 0; i < kFaceNameLength; ++i) {
    const uint16_t c = r.U16();
    if (!r.Ok() || c == 0) break;
    font.face_name.push_back(char16_t(c));
  }
  return r.Ok();
}

void ReadComment(ByteReader& r, TMetafileSurvey& survey) {
  const uint32_t dataSize = r.U32();
  if (!r.Ok() || dataSize < 4 || r.U32() != kEmfPlusIdentifier || !r.Ok()) return;
  if (survey.emf_plus_records++ > 0) return;
  // The first EMF+ record of a metafile is its header.
  const uint16_t type = r.U16();
  const uint16_t flags = r.U16();
  if (r.Ok() && type == kEmfPlusHeaderType) survey.emf_plus_dual = (flags & kEmfPlusDualFlag) != 0;
}

}  // namespace

TMetafileSurvey SurveyMetafile(const uint8_t* data, size_t size) {
  TMetafileSurvey survey;
  size_t offset = 0;
  while (data != nullptr && offset <= size && size - offset >= 8) {
    const uint32_t type = LoadU32(data + offset);
    const uint32_t recordSize = LoadU32(data + offset + 4);
    if (recordSize < 8 || recordSize > size - offset) break;
    ByteReader r(data + offset, recordSize);
    r.Seek(8);
    if (type == kEmrExtCreateFontIndirectW) {
      gdi::LogFont font;
      if (ReadFont(r, font)) survey.fonts.push_back(std::move(font));
    } else if (type == kEmrGdiComment) {
      ReadComment(r, survey);
    } else if (type == kEmrEof) {
      break;
    }
    offset += recordSize;
  }
  return survey;
}

}  // namespace vx
