#include <gtest/gtest.h>

#include <array>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "base/byte_reader.h"
#include "graphics/platform/emf/emf_header.h"
#include "graphics/platform/emf/emf_record_table.h"
#include "graphics/platform/wmf/wmf_to_emf.h"

namespace vx::gdi {
namespace {

// The compiler spells a template's enumerator argument in the function's own
// name ("... V = vx::gdi::EmfRecord::kPolygon16]"); a value without an
// enumerator comes out as a cast number instead.
template <EmfRecord V>
constexpr std::string_view FunctionName() {
  return __PRETTY_FUNCTION__;
}

std::string EnumeratorSpelling(std::string_view function) {
  const std::string_view marker = "EmfRecord::k";
  const size_t at = function.find(marker);
  if (at == std::string_view::npos) return {};
  const size_t start = at + marker.size();
  const size_t end = function.find_first_of(";]", start);
  return std::string(function.substr(start, end - start));
}

template <size_t... I>
std::array<std::string, sizeof...(I)> SpellingsOf(std::index_sequence<I...>) {
  return {EnumeratorSpelling(FunctionName<static_cast<EmfRecord>(kFirstEmfRecord + I)>())...};
}

// kPolyPolygon16 is EMR_POLYPOLYGON16; kReserved69 is EMR_RESERVED_69.
std::string PublishedName(const std::string& spelling) {
  std::string name = "EMR_";
  for (const char c : spelling) name.push_back(static_cast<char>(std::toupper(static_cast<unsigned char>(c))));
  const std::string reserved = "EMR_RESERVED";
  if (name.compare(0, reserved.size(), reserved) == 0) name.insert(reserved.size(), "_");
  return name;
}

TEST(EmfRecordTableTest, HoldsEveryTypeOnceInTypeOrder) {
  const auto table = EmfRecordTable();
  ASSERT_EQ(table.size(), kLastEmfRecord - kFirstEmfRecord + 1);
  std::set<uint32_t> seen;
  for (size_t i = 0; i < table.size(); ++i) {
    EXPECT_TRUE(seen.insert(TypeWord(table[i].type)).second) << "duplicate " << table[i].name;
    EXPECT_EQ(TypeWord(table[i].type), kFirstEmfRecord + i) << table[i].name;
  }
}

TEST(EmfRecordTableTest, EveryRowIsNamedAfterItsEnumerator) {
  const auto spellings = SpellingsOf(std::make_index_sequence<kLastEmfRecord - kFirstEmfRecord + 1>());
  for (const EmfRecordRow& row : EmfRecordTable()) {
    const std::string& spelling = spellings[TypeWord(row.type) - kFirstEmfRecord];
    ASSERT_FALSE(spelling.empty()) << "type " << TypeWord(row.type) << " has no enumerator";
    EXPECT_EQ(row.name, PublishedName(spelling));
    EXPECT_EQ(EmfRecordName(TypeWord(row.type)), row.name);
  }
  EXPECT_EQ(EmfRecordName(0), "record type 0");
  EXPECT_EQ(EmfRecordName(123), "record type 123");
}

TEST(EmfRecordTableTest, MinimumSizesHoldTheTypeAndSizeFields) {
  for (const EmfRecordRow& row : EmfRecordTable()) {
    EXPECT_GE(row.minimum_size, 8u) << row.name;
    if (row.handler == nullptr) {
      EXPECT_EQ(row.minimum_size, 8u) << row.name;
    }
  }
}

TEST(EmfRecordTableTest, IgnoredTypesHaveNoHandlerAndAReason) {
  std::set<uint32_t> seen;
  for (const IgnoredEmfRecord& ignored : IgnoredEmfRecords()) {
    const uint32_t type = TypeWord(ignored.type);
    EXPECT_TRUE(seen.insert(type).second) << EmfRecordName(type) << " listed twice";
    EXPECT_EQ(FindEmfRecordRow(type)->handler, nullptr) << EmfRecordName(type);
    EXPECT_GT(std::string_view(ignored.reason).size(), 10u) << EmfRecordName(type);
    EXPECT_TRUE(IsIgnoredEmfRecord(type));
  }
  EXPECT_FALSE(IsIgnoredEmfRecord(TypeWord(EmfRecord::kRectangle)));
  EXPECT_FALSE(IsIgnoredEmfRecord(TypeWord(EmfRecord::kExtFloodFill)));
}

std::vector<uint8_t> ReadAll(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Counts the record types of an EMF, walking as playback does.
void CountTypes(const std::vector<uint8_t>& emf, const std::string& file,
                std::map<uint32_t, std::string>& first_file) {
  if (!IsAcceptableEnhMetaFile(emf.data(), emf.size())) return;
  const size_t total = std::min<size_t>(LoadU32(emf.data() + kEmfBytesOffset), emf.size());
  size_t offset = 0;
  while (offset + 8 <= total) {
    const uint32_t type = LoadU32(emf.data() + offset);
    const uint32_t size = LoadU32(emf.data() + offset + 4);
    if (size < 8 || size % 4 != 0 || size > total - offset) break;
    first_file.emplace(type, file);
    if (type == TypeWord(EmfRecord::kEof)) break;
    offset += size;
  }
}

// A placeable WMF converts into records of the types our converter writes.
std::vector<uint8_t> ConvertedPlaceable(const std::vector<uint8_t>& data) {
  constexpr uint32_t kPlaceableKey = 0x9AC6CDD7;
  constexpr size_t kPlaceableSize = 22;
  if (data.size() <= kPlaceableSize || LoadU32(data.data()) != kPlaceableKey) return {};
  return ConvertWinMetaFileToEnh(data.data() + kPlaceableSize, data.size() - kPlaceableSize, 0, 0)
      .value_or(std::vector<uint8_t>{});
}

TEST(EmfRecordTableTest, EveryTypeInTheCorpusIsHandledOrIgnoredWithAReason) {
  const std::filesystem::path root = std::filesystem::path(VXP_SHARED_DIR) / "corpus" / "files";
  if (!std::filesystem::is_directory(root)) GTEST_SKIP() << "no corpus at " << root;
  std::map<uint32_t, std::string> first_file;  // type -> a file that holds it
  size_t files = 0;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(root)) {
    if (!entry.is_regular_file()) continue;
    const std::vector<uint8_t> data = ReadAll(entry.path());
    const std::string file = entry.path().lexically_relative(root).string();
    CountTypes(data, file, first_file);
    CountTypes(ConvertedPlaceable(data), file + " (converted)", first_file);
    ++files;
  }
  ASSERT_GT(files, 0u);
  ASSERT_FALSE(first_file.empty());
  size_t handled = 0, ignored = 0;
  for (const auto& [type, file] : first_file) {
    const EmfRecordRow* row = FindEmfRecordRow(type);
    if (row != nullptr && row->handler != nullptr) {
      ++handled;
    } else if (IsIgnoredEmfRecord(type)) {
      ++ignored;
    } else {
      ADD_FAILURE() << EmfRecordName(type) << " (in " << file << ") is neither handled nor ignored";
    }
  }
  RecordProperty("types", static_cast<int>(first_file.size()));
  RecordProperty("handled", static_cast<int>(handled));
  RecordProperty("ignored", static_cast<int>(ignored));
}

}  // namespace
}  // namespace vx::gdi
