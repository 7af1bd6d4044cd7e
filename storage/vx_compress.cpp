#include "storage/vx_compress.h"

namespace vx {

namespace {

constexpr uint8_t kBitMask[8] = {0x01, 0x02, 0x04, 0x08, 0x10, 0x20, 0x40, 0x80};
constexpr uint16_t kFirstLeaf = 256;

}  // namespace

TVXCompress::TVXCompress(TStream& stream, bool compressing)
    : bit_position_(compressing ? 0 : 7), compressing_(compressing), stream_(stream) {
  ResetTree();
}

TVXCompress::~TVXCompress() {
  try {
    Finish();
  } catch (...) {
    // A failing write here can't be reported; the owner's own error is already on its way.
  }
}

void TVXCompress::Finish() {
  if (!compressing_ || bit_position_ == 0) return;
  const uint8_t last = static_cast<uint8_t>(output_byte_);
  bit_position_ = 0;
  output_byte_ = 0;
  stream_.Write(&last, 1);
}

// A complete binary tree in heap order: values 0..254 start with 8-bit codes,
// 255 with a 9-bit code beside the never-coded leaf 512.
void TVXCompress::ResetTree() {
  parent_[0] = 0;
  for (int node = 1; node < kNodes; ++node) parent_[node] = static_cast<uint8_t>((node - 1) / 2);
  for (int node = 0; node < kInternalNodes; ++node) {
    left_child_[node] = static_cast<uint16_t>(2 * node + 1);
    right_child_[node] = static_cast<uint16_t>(2 * node + 2);
  }
}

// One semi-splaying pass: each step swaps a node with its parent's sibling and
// moves up two levels.
void TVXCompress::Splay(uint8_t value) {
  uint16_t a = static_cast<uint16_t>(value + kFirstLeaf);
  for (;;) {
    const uint16_t c = parent_[a];
    if (c == kRoot) return;
    const uint16_t d = parent_[c];
    uint16_t u = left_child_[d];
    if (u == c) {
      u = right_child_[d];
      right_child_[d] = a;
    } else {
      left_child_[d] = a;
    }
    if (left_child_[c] == a) left_child_[c] = u;
    else right_child_[c] = u;
    parent_[a] = static_cast<uint8_t>(d);
    parent_[u] = static_cast<uint8_t>(c);
    a = d;
    if (a == kRoot) return;
  }
}

void TVXCompress::EmitBit(bool bit) {
  if (bit) output_byte_ = static_cast<uint16_t>(output_byte_ | kBitMask[bit_position_]);
  if (bit_position_ == 7) {
    const uint8_t full = static_cast<uint8_t>(output_byte_);
    stream_.Write(&full, 1);
    bit_position_ = 0;
    output_byte_ = 0;
  } else {
    ++bit_position_;
  }
}

void TVXCompress::EncodeByte(uint8_t value) {
  // The path is noted leaf-first and emitted root-first; it has at most 256 branches.
  std::array<bool, kInternalNodes + 1> path;  // only the noted entries are read
  int length = 0;
  uint16_t node = static_cast<uint16_t>(value + kFirstLeaf);
  do {
    const uint16_t p = parent_[node];
    path[length++] = right_child_[p] == node;
    node = p;
  } while (node != kRoot);
  while (length > 0) EmitBit(path[--length]);
  Splay(value);
}

bool TVXCompress::NextBit() {
  if (bit_position_ == 7) {
    uint8_t next = 0;
    if (stream_.Read(&next, 1) != 1) end_reached_ = true;
    input_byte_ = next;
    bit_position_ = 0;
  } else {
    ++bit_position_;
  }
  return (input_byte_ & kBitMask[bit_position_]) != 0;
}

uint8_t TVXCompress::DecodeByte() {
  if (end_reached_) return 0;
  uint16_t node = kRoot;
  do {
    node = NextBit() ? right_child_[node] : left_child_[node];
    if (end_reached_) return 0;
  } while (node < kFirstLeaf);
  const auto value = static_cast<uint8_t>(node - kFirstLeaf);
  Splay(value);
  return value;
}

}  // namespace vx
