#include "graphics/metafile.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>

#include "base/byte_reader.h"
#include "base/errors.h"
#include "base/memory_stream.h"
#include "graphics/platform/emf/emf_header.h"
#include "support/wmf_test_data.h"
#include "support/emf_builder.h"

namespace vx {
namespace {

TMemoryStream StreamOf(const std::vector<uint8_t>& bytes) {
  TMemoryStream s;
  if (!bytes.empty()) s.Write(bytes.data(), static_cast<int32_t>(bytes.size()));
  s.SetPosition(0);
  return s;
}

void ReadBytes(TMetafile& m, const std::vector<uint8_t>& bytes) {
  TMemoryStream s = StreamOf(bytes);
  m.ReadFromStream(s);
}

// Runs the read and returns "Class: message" of the error, or "" without one.
std::string ReadError(TMetafile& m, const std::vector<uint8_t>& bytes) {
  try {
    ReadBytes(m, bytes);
  } catch (const Exception& e) {
    return std::string(e.ClassName()) + ": " + e.Message();
  }
  return "";
}

const std::string kInvalid = "EInvalidGraphic: Metafile is not valid";
const std::string kReadError = "EReadError: Stream read error";

TEST(MetafileTest, NewMetafileHasNoPictureAndWritesNothing) {
  TMetafile m;
  EXPECT_TRUE(m.Empty());
  EXPECT_TRUE(m.EnhancedFormat());
  EXPECT_EQ(m.PixelWidth(), 0);
  EXPECT_EQ(m.PixelHeight(), 0);
  EXPECT_EQ(m.FrameWidth(), 0);
  EXPECT_EQ(m.UnitsPerInch(), 0);
  TMemoryStream out;
  m.WriteToStream(out);
  EXPECT_EQ(out.Size(), 0);
  m.SetEnhancedFormat(false);
  m.WriteToStream(out);
  EXPECT_EQ(out.Size(), 0);
}

TEST(MetafileTest, EmfPixelSizeComesFromItsReferenceDevice) {
  TMetafile m;
  ReadBytes(m, test::EmfBuilder().Frame({0, 0, 21000, 12000}).Device({1024, 768}, {320, 240}).Build());
  EXPECT_EQ(m.FrameWidth(), 21000);
  EXPECT_EQ(m.FrameHeight(), 12000);
  EXPECT_EQ(m.PixelWidth(), 672);   // 21000 * 1024 / 32000
  EXPECT_EQ(m.PixelHeight(), 384);  // 12000 * 768 / 24000
  EXPECT_TRUE(m.EnhancedFormat());
  EXPECT_EQ(m.UnitsPerInch(), 0);
}

TEST(MetafileTest, EmfFrameIsRightMinusLeftWithoutPlusOne) {
  TMetafile m;
  ReadBytes(m, test::EmfBuilder().Frame({100, 50, 2640, 1320}).Build());
  EXPECT_EQ(m.FrameWidth(), 2540);
  EXPECT_EQ(m.FrameHeight(), 1270);
}

TEST(MetafileTest, EmfFollowedByOtherDataEndsRightAfterIt) {
  std::vector<uint8_t> bytes = test::MinimalEmf(2);
  const size_t n = bytes.size();
  bytes.insert(bytes.end(), 37, 0xAB);
  TMemoryStream s = StreamOf(bytes);
  TMetafile m;
  m.ReadFromStream(s);
  EXPECT_EQ(s.Position(), static_cast<int64_t>(n));
  EXPECT_EQ(m.Bytes().size(), n);
  TMemoryStream out;
  m.WriteToStream(out);
  EXPECT_EQ(out.Bytes(), std::vector<uint8_t>(bytes.begin(), bytes.begin() + n));
}

TEST(MetafileTest, EmfReadStartsAtTheStreamPosition) {
  std::vector<uint8_t> bytes(10, 0x55);
  const std::vector<uint8_t> emf = test::MinimalEmf();
  bytes.insert(bytes.end(), emf.begin(), emf.end());
  TMemoryStream s = StreamOf(bytes);
  s.SetPosition(10);
  TMetafile m;
  m.ReadFromStream(s);
  EXPECT_EQ(m.Bytes(), emf);
}

TEST(MetafileTest, ExactlyHundredBytesAreNeverAnEmf) {
  std::vector<uint8_t> bytes = test::MinimalEmf();
  bytes.resize(100);
  StoreU32(bytes.data() + 48, 100);
  TMetafile m;
  EXPECT_EQ(ReadError(m, bytes), kInvalid);  // tried as placeable WMF
}

TEST(MetafileTest, SignatureWithFirstWordNotOneIsTriedAsWmfAndRefused) {
  std::vector<uint8_t> bytes = test::MinimalEmf();
  StoreU32(bytes.data(), 2);
  TMetafile m;
  EXPECT_EQ(ReadError(m, bytes), kInvalid);
}

// Each case damages one field of a valid EMF.
struct EmfFault {
  const char* name;
  size_t offset;
  uint32_t value;
  const char* error;
};

TEST(MetafileTest, DamagedEmfHeadersAreRefused) {
  const EmfFault faults[] = {
      {"total below 100", 48, 99, "EInvalidGraphic: Metafile is not valid"},
      {"total zero", 48, 0, "EInvalidGraphic: Metafile is not valid"},
      {"total below header record", 48, 104, "EInvalidGraphic: Metafile is not valid"},
      {"total beyond data", 48, 100000, "EReadError: Stream read error"},
      {"total near 4 GiB", 48, 0xFFFFFFF0u, "EReadError: Stream read error"},
      {"header record too small", 4, 16, "EInvalidGraphic: Metafile is not valid"},
      {"total not a multiple of four", 48, 130, "EInvalidGraphic: Metafile is not valid"},
  };
  for (const auto& f : faults) {
    std::vector<uint8_t> bytes = test::MinimalEmf(5);
    StoreU32(bytes.data() + f.offset, f.value);
    TMetafile m;
    EXPECT_EQ(ReadError(m, bytes), f.error) << f.name;
    EXPECT_TRUE(m.Empty()) << f.name;
  }
}

TEST(MetafileTest, DataShorterThanPlaceableHeaderIsRefused) {
  for (size_t size : {0, 1, 21}) {
    TMetafile m;
    EXPECT_EQ(ReadError(m, std::vector<uint8_t>(size, 0)), kInvalid) << size;
  }
}

TEST(MetafileTest, FailedReadLeavesNoPicture) {
  TMetafile m;
  ReadBytes(m, test::MinimalEmf());
  ASSERT_FALSE(m.Empty());
  EXPECT_EQ(ReadError(m, std::vector<uint8_t>(40, 7)), kInvalid);
  EXPECT_TRUE(m.Empty());
  EXPECT_EQ(m.FrameWidth(), 0);
  EXPECT_EQ(m.PixelWidth(), 0);
}

TEST(MetafileTest, PlaceableWmfFrameAndPixelsFromUnitsPerInch) {
  TMetafile m;
  ReadBytes(m, test::RectangleWmf().Placeable(0, 0, 1440, 720, 1440));
  EXPECT_EQ(m.FrameWidth(), 2540);
  EXPECT_EQ(m.FrameHeight(), 1270);
  EXPECT_EQ(m.PixelWidth(), 96);
  EXPECT_EQ(m.PixelHeight(), 48);
  EXPECT_EQ(m.UnitsPerInch(), 1440);
  EXPECT_FALSE(m.EnhancedFormat());
  EXPECT_FALSE(m.Empty());
}

TEST(MetafileTest, PlaceableWmfWithRightLeftOfLeftHasNegativeWidth) {
  TMetafile m;
  ReadBytes(m, test::RectangleWmf().Placeable(1440, 0, 0, 1440, 1440));
  EXPECT_EQ(m.FrameWidth(), -2540);
  EXPECT_EQ(m.PixelWidth(), -96);
}

TEST(MetafileTest, PlaceableWmfWithUnitsPerInchZeroUsesTheReferenceDevice) {
  TMetafile m;
  ReadBytes(m, test::RectangleWmf().Placeable(0, 0, 960, 96, 0));
  EXPECT_EQ(m.UnitsPerInch(), 0);
  EXPECT_EQ(m.FrameWidth(), 25400);        // 960 units at 96 per inch
  EXPECT_EQ(m.PixelWidth(), 813);          // 25400 * 1024 / 32000 = 812.8
  EXPECT_EQ(m.PixelHeight(), 81);
}

TEST(MetafileTest, PlaceableWmfReadConsumesTheRestOfTheStream) {
  std::vector<uint8_t> bytes = test::RectangleWmf().Placeable(0, 0, 100, 100, 96);
  bytes.insert(bytes.end(), {0, 0, 0, 0});
  TMemoryStream s = StreamOf(bytes);
  TMetafile m;
  m.ReadFromStream(s);
  EXPECT_EQ(s.Position(), static_cast<int64_t>(bytes.size()));
}

TEST(MetafileTest, PlaceableWmfWithWrongKeyOrChecksumIsRefused) {
  const std::vector<uint8_t> good = test::RectangleWmf().Placeable(0, 0, 100, 100, 96);
  for (size_t offset : {0, 10, 20}) {
    std::vector<uint8_t> bytes = good;
    bytes[offset] ^= 1;
    TMetafile m;
    EXPECT_EQ(ReadError(m, bytes), kInvalid) << offset;
  }
}

TEST(MetafileTest, WindowsMetafileTheConverterRefusesIsNotValid) {
  TMetafile m;
  EXPECT_EQ(ReadError(m, test::RectangleWmf().Type(2).Placeable(0, 0, 100, 100, 96)), kInvalid);
  // A plain Windows metafile without the placeable header.
  EXPECT_EQ(ReadError(m, test::RectangleWmf().Build()), kInvalid);
}

TEST(MetafileTest, PixelSizesWithoutPictureArePending) {
  TMetafile m;
  m.SetPixelWidth(794);
  m.SetPixelHeight(1123);
  EXPECT_EQ(m.PixelWidth(), 794);
  EXPECT_EQ(m.PixelHeight(), 1123);
  EXPECT_EQ(m.FrameWidth(), 0);
  m.SetFrameWidth(5000);
  EXPECT_EQ(m.PixelWidth(), 0);  // the frame cleared the pending width
  EXPECT_EQ(m.PixelHeight(), 1123);
}

TEST(MetafileTest, PixelSettersScaleTheFrame) {
  TMetafile emf;
  ReadBytes(emf, test::EmfBuilder().Device({1024, 768}, {320, 240}).Build());
  emf.SetPixelWidth(672);
  EXPECT_EQ(emf.FrameWidth(), 21000);
  TMetafile wmf;
  ReadBytes(wmf, test::RectangleWmf().Placeable(0, 0, 1440, 1440, 1440));
  wmf.SetPixelWidth(48);
  EXPECT_EQ(wmf.FrameWidth(), 1270);
  EXPECT_EQ(wmf.PixelWidth(), 48);
}

// An EMF whose end-of-file record carries n palette entries (i, i, i).
std::vector<uint8_t> EmfWithPalette(uint32_t n) {
  gdi::EnhMetaHeader h;
  h.frame = {0, 0, 1000, 1000};
  h.device = {1024, 768};
  h.millimeters = {320, 240};
  h.palette_entries = n;
  h.micrometers = gdi::Size{320000, 240000};
  const uint32_t header_size = 108;
  const uint32_t eof_size = 20 + 4 * n;
  h.bytes = header_size + eof_size;
  h.records = 2;
  std::vector<uint8_t> out = gdi::EncodeEnhMetaHeader(h);
  ByteWriter eof;
  eof.U32(14);
  eof.U32(eof_size);
  eof.U32(n);
  eof.U32(16);
  for (uint32_t i = 0; i < n; ++i) {
    for (int c = 0; c < 3; ++c) eof.U8(uint8_t(i));
    eof.U8(0);
  }
  eof.U32(eof_size);
  out.insert(out.end(), eof.Bytes().begin(), eof.Bytes().end());
  return out;
}

TEST(MetafileTest, PaletteKeepsTheFirst256Entries) {
  TMetafile m;
  ReadBytes(m, EmfWithPalette(300));
  const auto entries = m.PaletteEntries();
  ASSERT_EQ(entries.size(), 256u);
  EXPECT_EQ(entries[255].r, 255);
  EXPECT_TRUE(m.HasPalette());
  TMetafile none;
  ReadBytes(none, test::MinimalEmf());
  EXPECT_TRUE(none.PaletteEntries().empty());
  EXPECT_FALSE(none.HasPalette());
}

TEST(MetafileTest, WriteToFileWithWmfExtensionWritesPlaceableForm) {
  TMetafile m;
  ReadBytes(m, test::EmfBuilder().Frame({0, 0, 2540, 1270}).Build());
  const auto path = std::filesystem::temp_directory_path() / "vx_metafile_test.WMF";
  m.WriteToFile(path.string());
  EXPECT_TRUE(m.EnhancedFormat());  // restored
  std::ifstream in(path, std::ios::binary);
  const std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), {});
  std::filesystem::remove(path);
  ASSERT_GE(bytes.size(), 22u + 18u);
  EXPECT_EQ(LoadU32(bytes.data()), 0x9AC6CDD7u);
  EXPECT_EQ(LoadU16(bytes.data() + 10), 96);  // right: 2540 hundredths at 96 per inch
  EXPECT_EQ(LoadU16(bytes.data() + 12), 48);
  EXPECT_EQ(LoadU16(bytes.data() + 14), 96);
  TMetafile back;
  ReadBytes(back, bytes);
  EXPECT_EQ(back.FrameWidth(), 2540);
  EXPECT_EQ(back.PixelWidth(), 96);
}

TEST(MetafileTest, PlaceableRoundTripKeepsUnitsPerInchAndFrame) {
  TMetafile m;
  ReadBytes(m, test::RectangleWmf().Placeable(0, 0, 1440, 720, 1440));
  TMemoryStream out;
  m.WriteToStream(out);
  EXPECT_EQ(LoadU16(out.Memory() + 10), 1440);
  EXPECT_EQ(LoadU16(out.Memory() + 12), 720);
  TMetafile back;
  ReadBytes(back, out.Bytes());
  EXPECT_EQ(back.FrameWidth(), 2540);
  EXPECT_EQ(back.FrameHeight(), 1270);
}

TEST(MetafileTest, InstallTakesTheFrameOfTheHeaderAndClearsPendingSizes) {
  TMetafile m;
  m.SetPixelWidth(10);
  m.InstallEnhMetaFile(test::EmfBuilder().Frame({0, 0, 24813, 35094}).Build());
  EXPECT_EQ(m.FrameWidth(), 24813);
  EXPECT_EQ(m.FrameHeight(), 35094);
  EXPECT_EQ(m.PixelWidth(), 794);
  EXPECT_THROW(m.InstallEnhMetaFile(std::vector<uint8_t>(50, 0)), EInvalidGraphic);
}

// Every corpus metafile reads or fails with one of the system's errors.
TEST(MetafileCorpusTest, EveryCorpusMetafileReadsOrFailsCleanly) {
  const std::filesystem::path root = std::filesystem::path(VXP_SHARED_DIR) / "corpus";
  if (!std::filesystem::is_directory(root)) GTEST_SKIP() << "no corpus at " << root;
  size_t read = 0, refused = 0;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(root)) {
    if (!entry.is_regular_file()) continue;
    std::string ext = entry.path().extension().string();
    for (auto& c : ext) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (ext != ".wmf" && ext != ".emf") continue;
    TMetafile m;
    try {
      m.ReadFromFile(entry.path().string());
      (void)m.PixelWidth();
      TMemoryStream out;
      m.WriteToStream(out);
      ++read;
    } catch (const Exception&) {
      ++refused;
    }
  }
  EXPECT_GT(read, 0u);
  RecordProperty("read", static_cast<int>(read));
  RecordProperty("refused", static_cast<int>(refused));
}

}  // namespace
}  // namespace vx

namespace vx {
namespace {

// The first of the two conversions a placeable WMF goes through only sizes
// the picture: each dropped record is counted once.
TEST(MetafileReadNotes, APlaceableWmfKeepsWhatItsConversionDroppedWithCounts) {
  test::WmfBuilder b = test::RectangleWmf();
  b.Record(0x0105, {0}).Record(0x0105, {0}).Record(0x0436, {0, 0}).Record(0x0105, {0});
  TMetafile m;
  ReadBytes(m, b.Placeable(0, 0, 100, 100, 96));
  EXPECT_EQ(m.ReadNotes(),
            (TCountedNotes{{"skipped META_SETRELABS", 3}, {"skipped META_ANIMATEPALETTE", 1}}));
}

TEST(MetafileReadNotes, AnEnhancedMetafileOrANewPictureHasNone) {
  test::WmfBuilder b = test::RectangleWmf();
  b.Record(0x0105, {0});
  TMetafile m;
  ReadBytes(m, b.Placeable(0, 0, 100, 100, 96));
  ASSERT_EQ(m.ReadNotes().size(), 1u);
  ReadBytes(m, test::EmfBuilder().Build());
  EXPECT_TRUE(m.ReadNotes().empty());
}

}  // namespace
}  // namespace vx
