#include "storage/vx_outline.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace vx {
namespace {

// Remembers every node as (parent, text).
class RecordingTree : public TVXOutlineTree {
public:
  NodeId AddChild(NodeId parent, const TVXOutlineEntry& entry) override {
    nodes.emplace_back(parent, entry.text);
    return static_cast<NodeId>(nodes.size() - 1);
  }
  std::vector<std::pair<NodeId, std::string>> nodes;
};

TVXOutlineEntry Entry(std::string text, int32_t level, int32_t key = 0, int32_t value = 0) {
  TVXOutlineEntry entry;
  entry.text = std::move(text);
  entry.level = level;
  entry.key = key;
  entry.value = value;
  entry.rect = {key, key, key + 10, key + 20};
  return entry;
}

TEST(Outline, EachEntryHangsBelowTheLatestEntryOneLevelUp) {
  TVXOutline outline;
  outline.Add(Entry("A", 1));
  outline.Add(Entry("A.1", 2));
  outline.Add(Entry("A.1.a", 3));
  outline.Add(Entry("A.2", 2));
  outline.Add(Entry("B", 1));
  outline.Add(Entry("B.1", 2));
  outline.Add(Entry("orphan", 5));
  RecordingTree tree;
  outline.FillTree(tree);
  const std::vector<std::pair<int32_t, std::string>> expected = {
      {-1, "A"}, {0, "A.1"}, {1, "A.1.a"}, {0, "A.2"}, {-1, "B"}, {4, "B.1"}, {-1, "orphan"}};
  EXPECT_EQ(tree.nodes, expected);
}

TEST(Outline, TextIsCutTo51CharactersAndLevelsKeptIn1To31) {
  TVXOutline outline;
  outline.Add(Entry(std::string(60, 'x'), 40));
  outline.Add(Entry("y", 0));
  EXPECT_EQ(outline.Entries()[0].text, std::string(51, 'x'));
  EXPECT_EQ(outline.Entries()[0].level, 31);
  EXPECT_EQ(outline.Entries()[1].level, 1);
}

TEST(Outline, LookupByKeyGivesTheFirstMatch) {
  TVXOutline outline;
  outline.Add(Entry("a", 1, 7, 100));
  outline.Add(Entry("b", 1, 7, 200));
  const auto found = outline.FindByKey(7);
  ASSERT_TRUE(found.has_value());
  EXPECT_EQ(found->value, 100);
  EXPECT_EQ(found->rect, (gdi::Rect{7, 7, 17, 27}));
  EXPECT_FALSE(outline.FindByKey(8).has_value());
  outline.Clear();
  EXPECT_FALSE(outline.FindByKey(7).has_value());
}

}  // namespace
}  // namespace vx
