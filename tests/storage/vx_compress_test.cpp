#include "storage/vx_compress.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

#include "base/memory_stream.h"
#include "storage/page_store_fixtures.h"

namespace vx {
namespace {

using test::Bytes;

Bytes FromText(const std::string& text) { return Bytes(text.begin(), text.end()); }

// Decodes count bytes from code followed by trailing bytes that must stay unread.
Bytes Decode(const Bytes& code, size_t count, int64_t* consumed = nullptr) {
  TMemoryStream in;
  in.WriteBuffer(code.data(), static_cast<int64_t>(code.size()));
  in.WriteBuffer("\xEE\xEE\xEE\xEE", 4);
  in.Seek(0, soBeginning);
  Bytes out;
  TVXCompress decoder(in, false);
  for (size_t i = 0; i < count; ++i) out.push_back(decoder.DecodeByte());
  EXPECT_FALSE(decoder.EndReached());
  if (consumed != nullptr) *consumed = in.Position();
  return out;
}

struct KnownAnswer {
  Bytes input;
  Bytes code;
};

class CodecKnownAnswer : public ::testing::TestWithParam<KnownAnswer> {};

TEST_P(CodecKnownAnswer, EncodesToTheExpectedBytes) {
  EXPECT_EQ(test::Encode(GetParam().input), GetParam().code);
}

TEST_P(CodecKnownAnswer, DecodesBackConsumingExactlyTheCode) {
  int64_t consumed = -1;
  EXPECT_EQ(Decode(GetParam().code, GetParam().input.size(), &consumed), GetParam().input);
  EXPECT_EQ(consumed, static_cast<int64_t>(GetParam().code.size()));
}

INSTANTIATE_TEST_SUITE_P(
    WorkedExamples, CodecKnownAnswer,
    ::testing::Values(KnownAnswer{FromText("abc"), {0x46, 0x3D, 0x01}},
                      KnownAnswer{FromText("aaaa"), {0x46, 0x45}},
                      KnownAnswer{{0x00}, {0x80}},
                      KnownAnswer{{0xFF}, {0x00, 0x00}},
                      KnownAnswer{{}, {}}));

void ExpectRoundTrip(const Bytes& input) {
  const Bytes code = test::Encode(input);
  int64_t consumed = -1;
  EXPECT_EQ(Decode(code, input.size(), &consumed), input);
  EXPECT_EQ(consumed, static_cast<int64_t>(code.size()));
}

TEST(CodecRoundTrip, AllByteValuesInARow) {
  Bytes input;
  for (int v = 0; v < 256; ++v) input.push_back(static_cast<uint8_t>(v));
  ExpectRoundTrip(input);
  std::reverse(input.begin(), input.end());
  ExpectRoundTrip(input);
}

TEST(CodecRoundTrip, LongRunsShrinkToAboutOneBitPerByte) {
  const Bytes run(100000, 'x');
  const Bytes code = test::Encode(run);
  EXPECT_LT(code.size(), run.size() / 7);
  ExpectRoundTrip(run);
  Bytes runs(50000, 0x00);
  runs.insert(runs.end(), 50000, 0xFF);
  ExpectRoundTrip(runs);
}

TEST(CodecRoundTrip, RandomDataOfManyLengths) {
  std::mt19937 random(20240229);
  for (size_t length : {1u, 2u, 7u, 8u, 9u, 255u, 4096u, 65537u}) {
    Bytes input(length);
    for (auto& b : input) b = static_cast<uint8_t>(random());
    ExpectRoundTrip(input);
    // Skewed data, as in metafiles: few distinct values.
    for (auto& b : input) b = static_cast<uint8_t>(random() % 4 == 0 ? random() : 0);
    ExpectRoundTrip(input);
  }
}

TEST(CodecRoundTrip, AFreshCodecCodesTheSameDataTheSameWay) {
  const Bytes page = test::PageEmf(3);
  EXPECT_EQ(test::Encode(page), test::Encode(page));
}

TEST(CodecEncoder, FinishWritesThePartialByteOnceAndDestructionNothingMore) {
  TMemoryStream out;
  {
    TVXCompress encoder(out, true);
    encoder.EncodeByte('a');
    encoder.EncodeByte('b');
    encoder.EncodeByte('c');
    encoder.Finish();
    EXPECT_EQ(out.Bytes(), (Bytes{0x46, 0x3D, 0x01}));
  }
  EXPECT_EQ(out.Size(), 3);
}

TEST(CodecDecoder, StreamEndIsReportedInsteadOfReadingOn) {
  const Bytes code = test::Encode(FromText("abc"));
  TMemoryStream in;
  in.WriteBuffer(code.data(), 2);  // the last code byte is missing
  in.Seek(0, soBeginning);
  TVXCompress decoder(in, false);
  EXPECT_EQ(decoder.DecodeByte(), 'a');
  EXPECT_EQ(decoder.DecodeByte(), 'b');
  EXPECT_FALSE(decoder.EndReached());
  decoder.DecodeByte();
  EXPECT_TRUE(decoder.EndReached());
  EXPECT_EQ(decoder.DecodeByte(), 0);
  EXPECT_EQ(in.Position(), 2);
}

}  // namespace
}  // namespace vx
