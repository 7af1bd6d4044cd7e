#include "storage/file_header.h"

#include <chrono>
#include <cstring>

#include "base/byte_reader.h"

namespace vx {

namespace {

constexpr int kVersion1Offset = 0;
constexpr int kVersion2Offset = 2;
constexpr int kPageTotalOffset = 8;
constexpr int kDateOffset = 16;
constexpr int kCompressedOffset = 25;
constexpr int kCharactersOffset = 26;
constexpr int kFilledCharacters = 100;  // 26..125; byte 126 is not set

// Days from 1 January 1970 to the given civil date (proleptic Gregorian).
int64_t DaysFromCivil(int64_t year, int month, int day) {
  year -= month <= 2 ? 1 : 0;
  const int64_t era = (year >= 0 ? year : year - 399) / 400;
  const int64_t yearOfEra = year - era * 400;
  const int64_t dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
  const int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
  return era * 146097 + dayOfEra - 719468;
}

}  // namespace

TVXFileHeaderBytes TVXFileHeader::Encode() const {
  TVXFileHeaderBytes bytes{};
  StoreU16(bytes.data() + kVersion1Offset, kFirstVersion);
  StoreU16(bytes.data() + kVersion2Offset, kSecondVersion);
  StoreU32(bytes.data() + kPageTotalOffset, static_cast<uint32_t>(pageTotal));
  uint64_t dateBits = 0;
  std::memcpy(&dateBits, &date, sizeof dateBits);
  StoreU32(bytes.data() + kDateOffset, static_cast<uint32_t>(dateBits));
  StoreU32(bytes.data() + kDateOffset + 4, static_cast<uint32_t>(dateBits >> 32));
  bytes[kCompressedOffset] = compressed ? 1 : 0;
  std::memset(bytes.data() + kCharactersOffset, kFillCharacter, kFilledCharacters);
  return bytes;
}

TVXFileHeaderBytes ExpandPackedHeader(const TVXFileHeaderBytes& packed) {
  TVXFileHeaderBytes bytes{};
  std::memcpy(bytes.data(), packed.data(), 12);
  std::memcpy(bytes.data() + 16, packed.data() + 12, 8);
  bytes[24] = packed[20];
  bytes[25] = packed[21];
  std::memcpy(bytes.data() + 26, packed.data() + 22, 101);
  return bytes;
}

int32_t HeaderPageTotal(const TVXFileHeaderBytes& header) {
  return LoadI32(header.data() + kPageTotalOffset);
}

double OleAutomationDate(const std::tm& localTime, int milliseconds) {
  constexpr int64_t kDaysFrom1899To1970 = 25569;
  const int64_t days = DaysFromCivil(localTime.tm_year + 1900, localTime.tm_mon + 1,
                                     localTime.tm_mday) + kDaysFrom1899To1970;
  const double msOfDay =
      ((localTime.tm_hour * 60.0 + localTime.tm_min) * 60.0 + localTime.tm_sec) * 1000.0 +
      milliseconds;
  return static_cast<double>(days) + msOfDay / 86400000.0;
}

double CurrentOleAutomationDate() {
  using namespace std::chrono;
  const auto now = system_clock::now();
  const std::time_t seconds = system_clock::to_time_t(now);
  const auto ms = duration_cast<milliseconds>(now.time_since_epoch()).count() % 1000;
  std::tm local{};
  localtime_r(&seconds, &local);
  return OleAutomationDate(local, static_cast<int>(ms < 0 ? ms + 1000 : ms));
}

}  // namespace vx
