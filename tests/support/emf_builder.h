// Builds small, valid enhanced metafiles for tests: a 108-byte header record,
// any records the test appends, and the end-of-file record.
#pragma once

#include <cstdint>
#include <vector>

#include "graphics/platform/core/gdi_types.h"
#include "graphics/platform/emf/emf_record_type.h"

namespace vx::test {

class EmfBuilder {
public:
  // Bounds in device pixels (inclusive), frame in 0.01 mm (inclusive).
  EmfBuilder& Bounds(const gdi::Rect& bounds);
  EmfBuilder& Frame(const gdi::Rect& frame);
  // The reference device, in pixels and in millimetres.
  EmfBuilder& Device(const gdi::Size& pixels, const gdi::Size& millimetres);
  EmfBuilder& Handles(uint16_t count);
  // A record of the given type; parameters are padded with zeros to 4 bytes.
  EmfBuilder& Record(uint32_t type, const std::vector<uint8_t>& parameters = {});
  // A record whose parameters are 32-bit little-endian words.
  EmfBuilder& RecordWords(uint32_t type, const std::vector<int32_t>& words);
  EmfBuilder& Record(gdi::EmfRecord type, const std::vector<uint8_t>& parameters = {}) {
    return Record(gdi::TypeWord(type), parameters);
  }
  EmfBuilder& RecordWords(gdi::EmfRecord type, const std::vector<int32_t>& words) {
    return RecordWords(gdi::TypeWord(type), words);
  }

  std::vector<uint8_t> Build() const;

private:
  gdi::Rect bounds_{0, 0, 99, 49};
  gdi::Rect frame_{0, 0, 2645, 1322};
  gdi::Size device_pixels_{1024, 768};
  gdi::Size device_millimetres_{320, 240};
  uint16_t handles_ = 1;
  std::vector<std::vector<uint8_t>> records_;
};

inline constexpr uint32_t kEmfHeaderSize = 108;
inline constexpr uint32_t kEmfEofSize = 20;

// The smallest valid EMF with n filler records (EMR_SAVEDC, 8 bytes each), so
// pages of different lengths are easy to make.
std::vector<uint8_t> MinimalEmf(int fillerRecords = 0);

}  // namespace vx::test
