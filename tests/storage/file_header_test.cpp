#include "storage/file_header.h"

#include <gtest/gtest.h>

#include <ctime>

namespace vx {
namespace {

std::tm LocalTime(int year, int month, int day, int hour, int minute, int second) {
  std::tm t{};
  t.tm_year = year - 1900;
  t.tm_mon = month - 1;
  t.tm_mday = day;
  t.tm_hour = hour;
  t.tm_min = minute;
  t.tm_sec = second;
  return t;
}

TEST(OleAutomationDate, CountsDaysFrom30December1899AndTheFractionOfTheDay) {
  EXPECT_DOUBLE_EQ(OleAutomationDate(LocalTime(1899, 12, 30, 0, 0, 0), 0), 0.0);
  EXPECT_DOUBLE_EQ(OleAutomationDate(LocalTime(1900, 1, 1, 0, 0, 0), 0), 2.0);
  EXPECT_DOUBLE_EQ(OleAutomationDate(LocalTime(2000, 1, 1, 12, 0, 0), 0), 36526.5);
  EXPECT_DOUBLE_EQ(OleAutomationDate(LocalTime(2024, 2, 29, 6, 0, 0), 0), 45351.25);
  EXPECT_DOUBLE_EQ(OleAutomationDate(LocalTime(2024, 2, 29, 0, 0, 1), 500), 45351.0 + 1.5 / 86400);
}

TEST(OleAutomationDate, CurrentDateIsTodaysLocalDate) {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  const double today = OleAutomationDate(LocalTime(local.tm_year + 1900, local.tm_mon + 1,
                                                   local.tm_mday, 0, 0, 0), 0);
  const double current = CurrentOleAutomationDate();
  EXPECT_GE(current, today - 1.0 / 86400);  // a day may turn between the two calls
  EXPECT_LT(current, today + 1.0 + 1.0 / 86400);
}

TEST(FileHeader, EncodesTheWrittenFieldsAndZerosTheRest) {
  TVXFileHeader header;
  header.pageTotal = 0x01020304;
  header.date = 2.5;  // 40 04 00 00 00 00 00 00 as a little-endian double
  header.compressed = true;
  const TVXFileHeaderBytes bytes = header.Encode();
  TVXFileHeaderBytes expected{};
  expected[0] = 3;
  expected[2] = 40;
  expected[8] = 0x04, expected[9] = 0x03, expected[10] = 0x02, expected[11] = 0x01;
  expected[23] = 0x40, expected[22] = 0x04;
  expected[25] = 1;
  for (int i = 26; i <= 125; ++i) expected[i] = 0x48;
  EXPECT_EQ(bytes, expected);
}

TEST(FileHeader, PackedFormMovesTheFieldsBehindTheDate) {
  TVXFileHeaderBytes packed{};
  for (int i = 0; i < kPackedHeaderLength; ++i) packed[i] = static_cast<uint8_t>(i + 1);
  const TVXFileHeaderBytes expanded = ExpandPackedHeader(packed);
  for (int i = 0; i < 12; ++i) EXPECT_EQ(expanded[i], i + 1);
  for (int i = 12; i < 16; ++i) EXPECT_EQ(expanded[i], 0);
  for (int i = 16; i < 24; ++i) EXPECT_EQ(expanded[i], i - 4 + 1);
  EXPECT_EQ(expanded[24], 21);
  EXPECT_EQ(expanded[25], 22);
  for (int i = 26; i <= 126; ++i) EXPECT_EQ(expanded[i], i - 4 + 1);
  EXPECT_EQ(expanded[127], 0);
  EXPECT_EQ(HeaderPageTotal(expanded), HeaderPageTotal(packed));
}

}  // namespace
}  // namespace vx
