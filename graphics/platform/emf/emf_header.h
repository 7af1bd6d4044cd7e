// The header record of an enhanced metafile (EMR_HEADER) and the checks a
// metafile must pass before it is accepted as a picture.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "graphics/platform/core/gdi_types.h"
#include "graphics/platform/emf/emf_record_type.h"

namespace vx::gdi {

inline constexpr uint32_t kEnhMetaSignature = 0x464D4520;  // " EMF"
inline constexpr uint32_t kEnhMetaVersion = 0x10000;

// Offsets of the fields a reader needs before it has parsed anything.
inline constexpr size_t kEmfSignatureOffset = 40;
inline constexpr size_t kEmfBytesOffset = 48;
inline constexpr size_t kEmfBaseHeaderSize = 88;      // up to szlMillimeters
inline constexpr size_t kEmfPixelFormatHeaderSize = 100;
inline constexpr size_t kEmfMicrometersHeaderSize = 108;

struct EnhMetaHeader {
  uint32_t type = TypeWord(EmfRecord::kHeader);
  uint32_t size = 0;                  // of the header record itself
  Rect bounds;                        // inclusive, device units
  Rect frame;                         // inclusive, 0.01 mm
  uint32_t signature = kEnhMetaSignature;
  uint32_t version = kEnhMetaVersion;
  uint32_t bytes = 0;                 // of the whole metafile
  uint32_t records = 0;
  uint16_t handles = 0;
  uint16_t reserved = 0;
  uint32_t description_chars = 0;     // UTF-16 units
  uint32_t description_offset = 0;
  uint32_t palette_entries = 0;
  Size device;                        // reference device in pixels
  Size millimeters;                   // reference device in mm
  // Present when the record is at least 100 bytes long.
  std::optional<uint32_t> pixel_format_size;
  std::optional<uint32_t> pixel_format_offset;
  std::optional<uint32_t> open_gl;
  // Present when the record is at least 108 bytes long.
  std::optional<Size> micrometers;
};

// Parses the header record at the start of data. Nothing beyond the fields'
// own layout is checked: type and signature are returned as found. Fails when
// data is shorter than the base header.
std::optional<EnhMetaHeader> ParseEnhMetaHeader(const uint8_t* data, size_t size);

// What the platform takes as an enhanced metafile: a header record of type 1
// with the signature, a record size within the total, a total size of at least
// 100 bytes (a multiple of 4) that fits the data, and a description that lies
// inside the metafile.
bool IsAcceptableEnhMetaFile(const uint8_t* data, size_t size);

// The header record's bytes: 88, 100 or 108 of them as the optional fields
// are present; size is written as that length.
std::vector<uint8_t> EncodeEnhMetaHeader(const EnhMetaHeader& header);

}  // namespace vx::gdi
