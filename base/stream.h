// Abstract byte stream and its whole-buffer helpers.
#pragma once

#include <cstdint>

namespace vx {

enum TSeekOrigin : int { soBeginning = 0, soCurrent = 1, soEnd = 2 };

class TStream {
public:
  virtual ~TStream() = default;

  // Virtual operations in their fixed slot order.
  virtual int64_t GetSize();                             // slot 0
  virtual void SetSize(int32_t newSize);                 // slot 1: does nothing here
  virtual void SetSize64(int64_t newSize);               // slot 2: forwards to slot 1
  virtual int32_t Read(void* buffer, int32_t count) = 0;          // slot 3
  virtual int32_t Write(const void* buffer, int32_t count) = 0;   // slot 4
  virtual int32_t Seek(int32_t offset, int origin) = 0;           // slot 5
  virtual int64_t Seek64(int64_t offset, int origin);             // slot 6

  int64_t Position() { return Seek64(0, soCurrent); }
  void SetPosition(int64_t position) { Seek64(position, soBeginning); }
  int64_t Size() { return GetSize(); }

  // Whole-buffer transfers: raise EReadError / EWriteError on a short count.
  void ReadBuffer(void* buffer, int64_t count);
  void WriteBuffer(const void* buffer, int64_t count);
};

}  // namespace vx
