// The bookmark list the preview shows beside the pages. Never stored in a file.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "graphics/platform/core/gdi_types.h"

namespace vx {

struct TVXOutlineEntry {
  static constexpr size_t kMaxTextLength = 51;
  static constexpr int32_t kMaxLevel = 31;

  std::string text;  // at most kMaxTextLength characters
  int32_t level = 1; // 1 for the top level
  gdi::Rect rect;
  int32_t value = 0;
  int32_t key = 0;
};

// Receives the outline as a tree; a node id identifies an added node.
class TVXOutlineTree {
public:
  using NodeId = int32_t;
  static constexpr NodeId kTop = -1;
  virtual ~TVXOutlineTree() = default;
  virtual NodeId AddChild(NodeId parent, const TVXOutlineEntry& entry) = 0;
};

class TVXOutline {
public:
  // Text is cut to 51 characters, the level clamped to 1..31.
  void Add(TVXOutlineEntry entry);
  void Clear() { entries_.clear(); }
  const std::vector<TVXOutlineEntry>& Entries() const { return entries_; }

  // Each entry becomes a child of the latest entry one level above it; level 1
  // entries and entries with no such parent go to the top.
  void FillTree(TVXOutlineTree& tree) const;

  struct Target {
    gdi::Rect rect;
    int32_t value = 0;
  };
  // The first entry with this key.
  std::optional<Target> FindByKey(int32_t key) const;

private:
  std::vector<TVXOutlineEntry> entries_;
};

}  // namespace vx
