// Counts equal diagnostic notes, keeping the order in which each first
// appeared: "skipped META_SETRELABS" three times is one note with count 3.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace vx {

using TCountedNotes = std::vector<std::pair<std::string, int64_t>>;

class TNoteTally {
public:
  void Add(const std::string& note, int64_t count = 1) {
    const auto [it, added] = index_.emplace(note, notes_.size());
    if (added)
      notes_.emplace_back(note, count);
    else
      notes_[it->second].second += count;
  }
  void Add(const TCountedNotes& notes) {
    for (const auto& [note, count] : notes) Add(note, count);
  }
  bool Empty() const { return notes_.empty(); }
  TCountedNotes Take() {
    index_.clear();
    return std::move(notes_);
  }

private:
  std::map<std::string, size_t> index_;
  TCountedNotes notes_;
};

}  // namespace vx
