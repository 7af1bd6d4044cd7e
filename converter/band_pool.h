// A fixed number of band buffers shared by the workers that draw pages band
// by band: the memory for bands stays at that many buffers whatever the page
// count, and a buffer's memory, once touched, serves every later band.
#pragma once

#include <condition_variable>
#include <memory>
#include <mutex>
#include <vector>

#include "graphics/bitmap_band.h"

namespace vx {

class TBandPool {
public:
  explicit TBandPool(int count);
  ~TBandPool();
  TBandPool(const TBandPool&) = delete;
  TBandPool& operator=(const TBandPool&) = delete;

  // Gives the buffer back to the pool when it goes.
  struct TGiveBack {
    TBandPool* pool = nullptr;
    void operator()(TBitmapBand* band) const;
  };
  using TLease = std::unique_ptr<TBitmapBand, TGiveBack>;

  // A free buffer; waits until one is given back when all are lent.
  TLease Take();

private:
  void GiveBack(TBitmapBand* band);

  std::vector<std::unique_ptr<TBitmapBand>> bands_;
  std::vector<TBitmapBand*> free_;
  std::mutex lock_;
  std::condition_variable returned_;
};

}  // namespace vx
