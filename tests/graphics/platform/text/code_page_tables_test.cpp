// The built-in code-page tables against the C library's converter, for every
// byte and every lead-and-trail pair of every page: a wrong table entry shows
// here rather than as a wrong glyph in some report.
#include <gtest/gtest.h>
#include <iconv.h>

#include <string>
#include <vector>

#include "graphics/platform/text/code_page_names.h"
#include "graphics/platform/text/code_page_tables.h"
#include "graphics/platform/text/code_page_text.h"

namespace vx::gdi {
namespace {

class Converter {
public:
  explicit Converter(const char* name) : handle_(iconv_open("UTF-16LE", name)) {}
  ~Converter() {
    if (Usable()) iconv_close(handle_);
  }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;
  bool Usable() const { return handle_ != reinterpret_cast<iconv_t>(-1); }

  // The UTF-16 units of bytes converted from the initial state to the end;
  // empty when the converter refuses them.
  std::u16string Convert(const std::vector<uint8_t>& bytes) {
    iconv(handle_, nullptr, nullptr, nullptr, nullptr);
    char buffer[16];
    std::vector<uint8_t> copy = bytes;
    char* src = reinterpret_cast<char*>(copy.data());
    char* dst = buffer;
    size_t in_left = copy.size(), out_left = sizeof buffer;
    if (iconv(handle_, &src, &in_left, &dst, &out_left) == size_t(-1) || in_left != 0) return {};
    if (iconv(handle_, nullptr, nullptr, &dst, &out_left) == size_t(-1)) return {};  // a letter held for a mark
    std::u16string out;
    for (size_t i = 0; i + 1 < sizeof buffer - out_left; i += 2)
      out.push_back(char16_t(uint8_t(buffer[i]) | (uint8_t(buffer[i + 1]) << 8)));
    return out;
  }

private:
  iconv_t handle_;
};

std::u16string Decode(std::vector<uint8_t> bytes, uint32_t code_page, std::vector<uint8_t>& sizes) {
  return DecodeCodePageText(bytes.data(), bytes.size(), code_page, &sizes);
}

TEST(CodePageTables, EveryPageHasATable) {
  for (const CodePageName& name : kCodePageNames) {
    const CodePageTable* table = FindCodePageTable(name.code_page);
    ASSERT_NE(table, nullptr) << name.code_page;
    EXPECT_EQ(table->leads != nullptr, name.double_byte) << name.code_page;
  }
  EXPECT_EQ(FindCodePageTable(1252), nullptr);  // read by its own rule
}

TEST(CodePageTables, EveryByteReadsAsTheConverterReadsIt) {
  for (const CodePageName& name : kCodePageNames) {
    Converter converter(name.converter_name);
    ASSERT_TRUE(converter.Usable()) << name.converter_name;
    int leads = 0;
    for (int c = 0; c < 256; ++c) {
      const uint8_t byte = uint8_t(c);
      const std::u16string alone = converter.Convert({byte});
      std::vector<uint8_t> sizes;
      const std::u16string decoded = Decode({byte}, name.code_page, sizes);
      ASSERT_EQ(decoded.size(), 1u);
      EXPECT_EQ(sizes, std::vector<uint8_t>{1});
      if (c < 0x80) {
        EXPECT_EQ(decoded[0], char16_t(c)) << name.code_page << " byte " << c;
      } else if (alone.size() == 1) {
        EXPECT_EQ(decoded[0], alone[0]) << name.code_page << " byte " << c;
      } else if (name.double_byte) {
        ++leads;  // a lead byte without its trail byte
        EXPECT_EQ(decoded[0], kUnmappedDoubleByte) << name.code_page << " byte " << c;
      } else {
        EXPECT_EQ(decoded[0], char16_t(c)) << name.code_page << " unassigned byte " << c;
      }
    }
    if (name.double_byte) {
      EXPECT_GT(leads, 60) << name.code_page;
    }
  }
}

TEST(CodePageTables, EveryLeadAndTrailPairReadsAsTheConverterReadsIt) {
  for (const CodePageName& name : kCodePageNames) {
    if (!name.double_byte) continue;
    Converter converter(name.converter_name);
    ASSERT_TRUE(converter.Usable()) << name.converter_name;
    int mapped = 0;
    for (int lead = 0x80; lead < 0x100; ++lead) {
      if (converter.Convert({uint8_t(lead)}).size() == 1) {
        // Not a lead byte: it and the next byte are two characters.
        std::vector<uint8_t> sizes;
        EXPECT_EQ(Decode({uint8_t(lead), 'A'}, name.code_page, sizes).size(), 2u);
        continue;
      }
      for (int trail = 0; trail < 256; ++trail) {
        const std::u16string pair = converter.Convert({uint8_t(lead), uint8_t(trail)});
        const char16_t expected = pair.size() == 1 ? pair[0] : kUnmappedDoubleByte;
        if (pair.size() == 1) ++mapped;
        std::vector<uint8_t> sizes;
        const std::u16string decoded = Decode({uint8_t(lead), uint8_t(trail)}, name.code_page, sizes);
        ASSERT_EQ(decoded.size(), 1u) << name.code_page << " " << lead << " " << trail;
        EXPECT_EQ(decoded[0], expected) << name.code_page << " lead " << lead << " trail " << trail;
        EXPECT_EQ(sizes, std::vector<uint8_t>{2});
      }
    }
    EXPECT_GT(mapped, 5000) << name.code_page;
  }
}

TEST(CodePageTables, PagesWithoutATableKeepEveryByte) {
  std::vector<uint8_t> sizes;
  EXPECT_EQ(Decode({'a', 0x80, 0xE9, 0xFF}, 20127, sizes), u"a\u0080\u00E9\u00FF");
  EXPECT_EQ(sizes, (std::vector<uint8_t>{1, 1, 1, 1}));
}

TEST(CodePageTables, KnownCharactersOfEachKindOfPage) {
  std::vector<uint8_t> sizes;
  EXPECT_EQ(Decode({0x82, 0xA0, 0xB1}, 932, sizes), u"\u3042\uFF71");  // hiragana a, half-width katakana a
  EXPECT_EQ(sizes, (std::vector<uint8_t>{2, 1}));
  EXPECT_EQ(Decode({0xB0, 0xA1}, 949, sizes), u"\uAC00");  // Hangul syllable ga
  EXPECT_EQ(Decode({0xC0, 0xE0}, 1251, sizes), u"\u0410\u0430");
  EXPECT_EQ(Decode({0x8A, 0x9A}, 1250, sizes), u"\u0160\u0161");
  // Letters the Hebrew and Vietnamese pages may combine with a following mark.
  EXPECT_EQ(Decode({0xE0, 0xF7}, 1255, sizes), u"\u05D0\u05E7");  // alef, qof
  EXPECT_EQ(Decode({0xC3, 0xD5, 0xE3}, 1258, sizes), u"\u0102\u01A0\u0103");
}

}  // namespace
}  // namespace vx::gdi
