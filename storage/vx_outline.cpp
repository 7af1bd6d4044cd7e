#include "storage/vx_outline.h"

#include <algorithm>
#include <array>

namespace vx {

void TVXOutline::Add(TVXOutlineEntry entry) {
  if (entry.text.size() > TVXOutlineEntry::kMaxTextLength)
    entry.text.resize(TVXOutlineEntry::kMaxTextLength);
  entry.level = std::clamp(entry.level, 1, TVXOutlineEntry::kMaxLevel);
  entries_.push_back(std::move(entry));
}

void TVXOutline::FillTree(TVXOutlineTree& tree) const {
  // latest[k] is the most recent node of level k + 1.
  std::array<TVXOutlineTree::NodeId, TVXOutlineEntry::kMaxLevel + 1> latest;
  latest.fill(TVXOutlineTree::kTop);
  for (const TVXOutlineEntry& entry : entries_) {
    const int32_t level = std::clamp(entry.level, 1, TVXOutlineEntry::kMaxLevel);
    const TVXOutlineTree::NodeId parent = level == 1 ? TVXOutlineTree::kTop : latest[level - 2];
    latest[level - 1] = tree.AddChild(parent, entry);
  }
}

std::optional<TVXOutline::Target> TVXOutline::FindByKey(int32_t key) const {
  const auto it = std::find_if(entries_.begin(), entries_.end(),
                               [key](const TVXOutlineEntry& e) { return e.key == key; });
  if (it == entries_.end()) return std::nullopt;
  return Target{it->rect, it->value};
}

}  // namespace vx
