// Error classes. The class name is part of what the user sees in the top-level
// error report, so every class reports its own name.
#pragma once

#include <cstdint>
#include <exception>
#include <string>

namespace vx {

class Exception : public std::exception {
public:
  explicit Exception(std::string message);
  const char* what() const noexcept override { return message_.c_str(); }
  const std::string& Message() const { return message_; }
  virtual const char* ClassName() const { return "Exception"; }
  // Code address that raised the error, relative to the start of its module.
  uintptr_t RaiseOffset() const { return raise_offset_; }

private:
  std::string message_;
  uintptr_t raise_offset_ = 0;
};

#define VX_DECLARE_ERROR(Name, Base)                                       \
  class Name : public Base {                                               \
  public:                                                                  \
    using Base::Base;                                                      \
    const char* ClassName() const override { return #Name; }               \
  }

VX_DECLARE_ERROR(EConvertError, Exception);
VX_DECLARE_ERROR(EStreamError, Exception);
VX_DECLARE_ERROR(EFilerError, EStreamError);
VX_DECLARE_ERROR(EReadError, EFilerError);
VX_DECLARE_ERROR(EWriteError, EFilerError);
VX_DECLARE_ERROR(EFileStreamError, EStreamError);
VX_DECLARE_ERROR(EFOpenError, EFileStreamError);
VX_DECLARE_ERROR(EFCreateError, EFileStreamError);
VX_DECLARE_ERROR(EInvalidGraphic, Exception);
VX_DECLARE_ERROR(EInvalidOperation, Exception);
VX_DECLARE_ERROR(EOutOfResources, Exception);
VX_DECLARE_ERROR(EOSError, Exception);
VX_DECLARE_ERROR(EPrinter, Exception);
VX_DECLARE_ERROR(EVXError, Exception);
VX_DECLARE_ERROR(EInOutError, Exception);
VX_DECLARE_ERROR(EOptionError, Exception);  // a long option the program cannot take

#undef VX_DECLARE_ERROR

// The system's own message texts, kept in one place.
namespace msg {
inline constexpr const char* kStreamRead = "Stream read error";
inline constexpr const char* kStreamWrite = "Stream write error";
inline constexpr const char* kFOpen = "Cannot open file \"%s\". %s";
inline constexpr const char* kFCreate = "Cannot create file \"%s\". %s";
inline constexpr const char* kInvalidMetafile = "Metafile is not valid";
inline constexpr const char* kInvalidBitmap = "Bitmap image is not valid";
inline constexpr const char* kOutOfResources = "Out of system resources";
inline constexpr const char* kCanvasNoDrawing = "Canvas does not allow drawing";
}  // namespace msg

// printf-style formatting of messages with %s and %d placeholders.
std::string Format(const char* pattern, const std::string& a);
std::string Format(const char* pattern, const std::string& a, const std::string& b);

}  // namespace vx
