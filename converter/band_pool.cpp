#include "converter/band_pool.h"

#include <algorithm>

namespace vx {

TBandPool::TBandPool(int count) {
  for (int i = 0; i < std::max(count, 1); ++i) {
    bands_.push_back(std::make_unique<TBitmapBand>());
    free_.push_back(bands_.back().get());
  }
}

TBandPool::~TBandPool() = default;

void TBandPool::TGiveBack::operator()(TBitmapBand* band) const {
  if (pool != nullptr && band != nullptr) pool->GiveBack(band);
}

TBandPool::TLease TBandPool::Take() {
  std::unique_lock lock(lock_);
  returned_.wait(lock, [this] { return !free_.empty(); });
  TBitmapBand* band = free_.back();
  free_.pop_back();
  return TLease(band, TGiveBack{this});
}

void TBandPool::GiveBack(TBitmapBand* band) {
  {
    std::lock_guard guard(lock_);
    free_.push_back(band);
  }
  returned_.notify_one();
}

}  // namespace vx
