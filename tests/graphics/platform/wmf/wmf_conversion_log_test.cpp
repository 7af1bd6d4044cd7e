// The notes the conversion of a Windows metafile gives for the records it
// drops, and their names.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/byte_reader.h"
#include "graphics/platform/emf/emf_record_type.h"
#include "graphics/platform/wmf/wmf_function_names.h"
#include "graphics/platform/wmf/wmf_records.h"
#include "graphics/platform/wmf/wmf_to_emf.h"
#include "support/wmf_test_data.h"

namespace vx::gdi {
namespace {

using Notes = std::vector<std::string>;

struct Converted {
  std::vector<uint8_t> emf;
  Notes notes;
};

Converted ConvertLogged(const test::WmfBuilder& b) {
  const std::vector<uint8_t> wmf = b.Build();
  Converted c;
  auto emf = ConvertWinMetaFileToEnh(wmf.data(), wmf.size(), 0, 0,
                                     [&c](const std::string& note) { c.notes.push_back(note); });
  EXPECT_TRUE(emf.has_value());
  c.emf = emf.value_or(std::vector<uint8_t>{});
  return c;
}

size_t CountOf(const std::vector<uint8_t>& emf, EmfRecord type) {
  size_t count = 0;
  for (size_t offset = 0; offset + 8 <= emf.size(); offset += LoadU32(emf.data() + offset + 4)) {
    if (LoadU32(emf.data() + offset) == TypeWord(type)) ++count;
    if (LoadU32(emf.data() + offset + 4) < 8) break;
  }
  return count;
}

TEST(WmfConversionLog, ConvertedRecordsGiveNoNotes) {
  const Converted c = ConvertLogged(test::RectangleWmf());
  EXPECT_EQ(c.notes, Notes{});
  EXPECT_EQ(CountOf(c.emf, EmfRecord::kRectangle), 1u);
}

TEST(WmfConversionLog, RecordsWithoutAnEnhancedFormAreNamedEachTime) {
  test::WmfBuilder b = test::RectangleWmf();
  b.Record(0x0105, {0})                 // META_SETRELABS
      .Record(0x0105, {0})
      .Record(0x0436, {0, 0})  // META_ANIMATEPALETTE
      .Record(0x0419, {0x00FF, 0, 5, 5})  // META_FLOODFILL
      .Record(0x0105, {0})
      .Record(0x0999, {});
  const Converted c = ConvertLogged(b);
  EXPECT_EQ(c.notes, (Notes{"skipped META_SETRELABS", "skipped META_SETRELABS", "skipped META_ANIMATEPALETTE",
                            "skipped META_FLOODFILL", "skipped META_SETRELABS",
                            "skipped WMF function 0x0999"}));
  EXPECT_EQ(CountOf(c.emf, EmfRecord::kRectangle), 1u);  // the records around them stay
}

TEST(WmfConversionLog, RecordsCutShortAreNamed) {
  test::WmfBuilder b;
  b.Record(wmf::kRectangle, {10, 10})
      .Record(wmf::kSetBkColor, {})
      .Record(wmf::kPolygon, {40, 0, 0})  // 40 points, one given
      .Record(wmf::kTextOut, {12, 'a'})
      .Record(wmf::kCreatePenIndirect, {0, 1});
  const Converted c = ConvertLogged(b);
  EXPECT_EQ(c.notes, (Notes{"META_RECTANGLE is too short; skipped", "META_SETBKCOLOR is too short; skipped",
                            "META_POLYGON is too short; skipped", "META_TEXTOUT is too short; skipped",
                            "META_CREATEPENINDIRECT is too short; skipped"}));
  EXPECT_EQ(CountOf(c.emf, EmfRecord::kRectangle), 0u);
  EXPECT_EQ(CountOf(c.emf, EmfRecord::kCreatePen), 0u);
}

TEST(WmfConversionLog, ObjectsNotConvertedAndTheirUsesAreNamed) {
  test::WmfBuilder b;
  b.Record(wmf::kCreateRegion, {0, 0, 0})  // slot 0, cut short: not converted
      .Record(wmf::kSelectObject, {0})
      .Record(wmf::kSelectObject, {7})      // no such slot
      .Record(wmf::kDeleteObject, {7})
      .Record(wmf::kSelectClipRegion, {0})  // no region: converted
      .Record(wmf::kSelectClipRegion, {1})  // a region: not converted
      .Record(wmf::kRestoreDc, {-1})        // nothing saved
      .Record(wmf::kResizePalette, {16})    // no palette selected
      .Record(wmf::kCreatePatternBrush, {0, 0})
      .Record(wmf::kDibCreatePatternBrush, {3, 0});  // BS_PATTERN: a device-dependent bitmap
  const Converted c = ConvertLogged(b);
  EXPECT_EQ(c.notes, (Notes{"META_CREATEREGION is too short; skipped", "META_SELECTOBJECT of an object not converted; skipped",
                            "META_SELECTOBJECT of no object; skipped", "META_DELETEOBJECT of no object; skipped",
                            "skipped META_SELECTCLIPREGION of a region", "META_RESTOREDC of a level not saved; skipped",
                            "META_RESIZEPALETTE without a selected palette; skipped",
                            "skipped META_CREATEPATTERNBRUSH",
                            "skipped META_DIBCREATEPATTERNBRUSH of a device-dependent bitmap"}));
  EXPECT_EQ(CountOf(c.emf, EmfRecord::kExtSelectClipRgn), 1u);
  EXPECT_EQ(CountOf(c.emf, EmfRecord::kSelectObject), 0u);
}

TEST(WmfConversionLog, BitmapsThatCannotBeReadAreNamed) {
  test::WmfBuilder b;
  // A device-independent copy whose bitmap header claims 40 bytes but stops after 4.
  b.Record(wmf::kStretchDib, {0x0020, 0x00CC, 0, 8, 8, 0, 0, 8, 8, 0, 0, 40, 0})
      .Record(wmf::kDibBitBlt, {0x0020, 0x00CC, 0, 0, 8, 8, 0, 0, 40, 0});
  const Converted c = ConvertLogged(b);
  EXPECT_EQ(c.notes, (Notes{"META_STRETCHDIB holds a bitmap that cannot be read; skipped",
                            "META_DIBBITBLT holds a bitmap that cannot be read; skipped"}));
  EXPECT_EQ(CountOf(c.emf, EmfRecord::kStretchDIBits), 0u);
  EXPECT_EQ(CountOf(c.emf, EmfRecord::kBitBlt), 0u);
}

TEST(WmfConversionLog, WithoutALogTheResultIsTheSame) {
  test::WmfBuilder b = test::RectangleWmf();
  b.Record(0x0105, {0}).Record(wmf::kRectangle, {1});
  const std::vector<uint8_t> wmf = b.Build();
  EXPECT_EQ(ConvertWinMetaFileToEnh(wmf.data(), wmf.size(), 0, 0).value(), ConvertLogged(b).emf);
}

TEST(WmfFunctionNames, EveryConvertedFunctionHasItsPublishedName) {
  const std::pair<uint16_t, const char*> names[] = {
      {wmf::kSetMapMode, "META_SETMAPMODE"},         {wmf::kSetRelAbs, "META_SETRELABS"},
      {wmf::kRectangle, "META_RECTANGLE"},           {wmf::kDibCreatePatternBrush, "META_DIBCREATEPATTERNBRUSH"},
      {wmf::kExtTextOut, "META_EXTTEXTOUT"},         {wmf::kStretchDib, "META_STRETCHDIB"},
      {wmf::kSetDibToDev, "META_SETDIBTODEV"},       {wmf::kCreateRegion, "META_CREATEREGION"},
      {wmf::kSaveDc, "META_SAVEDC"},                 {wmf::kCreatePalette, "META_CREATEPALETTE"},
      {wmf::kOffsetViewportOrg, "META_OFFSETVIEWPORTORG"}, {0x0626, "META_ESCAPE"},
      {0x0149, "META_SETLAYOUT"},                    {0x0548, "META_EXTFLOODFILL"},
  };
  for (const auto& [function, name] : names) EXPECT_EQ(WmfFunctionName(function), name);
  EXPECT_EQ(WmfFunctionName(0x0999), "WMF function 0x0999");
  EXPECT_EQ(WmfFunctionName(0xFFFF), "WMF function 0xFFFF");
}

}  // namespace
}  // namespace vx::gdi
