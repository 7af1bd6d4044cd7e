// vxp2bmp for C++ programs: open a saved report (.vxp) from a file or from
// memory, ask its page count and page sizes, render a page or a metafile
// (.emf, placeable .wmf) to a bitmap at a chosen depth and resolution or pixel
// size, and encode the bitmap as BMP or PNG into memory or a file.
//
// Every failure throws vxp2bmp::Error, which carries the class name and the
// message the command-line tool would report for it (for example
// "EFOpenError" and "Cannot open file "/x.vxp". No such file or directory").
// Objects of this API may be used from several threads as long as each object
// is used by one thread at a time.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#if defined(VXP2BMP_BUILDING)
#define VXP2BMP_API __attribute__((visibility("default")))
#else
#define VXP2BMP_API
#endif

namespace vxp2bmp {

// The library's version, "major.minor.patch".
VXP2BMP_API const char* version();

class VXP2BMP_API Error : public std::runtime_error {
public:
  Error(std::string className, std::string message);
  // The error class the tool reports: EFOpenError, EReadError, EInvalidGraphic, ...
  const std::string& class_name() const { return class_name_; }
  const std::string& message() const { return message_; }

private:
  std::string class_name_;
  std::string message_;
};

enum class Format { bmp, png };

struct RenderSettings {
  int32_t resolution = 300;  // dots per inch; 0 or below: one pixel per screen pixel
  int depth = 8;             // bits per pixel: 8 (halftone palette); 24 and 32 where built
  int32_t width = 0;         // pixels; when set, replaces the resolution (0: not set)
  int32_t height = 0;        // the side not set follows the picture's aspect
};

// A page or metafile's size before rendering.
struct PageSize {
  int32_t pixel_width = 0;   // screen pixels (96 per inch): the size at resolution 0
  int32_t pixel_height = 0;
  int32_t frame_width = 0;   // 0.01 mm
  int32_t frame_height = 0;
};

class VXP2BMP_API Bitmap {
public:
  ~Bitmap();
  Bitmap(Bitmap&&) noexcept;
  Bitmap& operator=(Bitmap&&) noexcept;

  int32_t width() const;
  int32_t height() const;
  int depth() const;
  // The resolution fields of the encoded file, pixels per metre.
  int32_t pixels_per_meter_x() const;
  int32_t pixels_per_meter_y() const;

  // The file's bytes, exactly as the tool writes them (empty for a bitmap of
  // width or height 0).
  std::vector<uint8_t> encode(Format format) const;
  void save(const std::string& path, Format format) const;

private:
  struct Impl;
  explicit Bitmap(std::unique_ptr<Impl> impl);
  std::unique_ptr<Impl> impl_;
  friend class Report;
  friend Bitmap render_metafile_file(const std::string&, const RenderSettings&);
  friend Bitmap render_metafile_memory(const void*, size_t, const RenderSettings&);
};

class VXP2BMP_API Report {
public:
  static Report open_file(const std::string& path);
  // The bytes are copied; the caller's buffer may go at once.
  static Report open_memory(const void* data, size_t size);
  ~Report();
  Report(Report&&) noexcept;
  Report& operator=(Report&&) noexcept;

  int32_t page_count() const;
  // Pages count from 1.
  PageSize page_size(int32_t page) const;
  Bitmap render_page(int32_t page, const RenderSettings& settings = {}) const;

private:
  struct Impl;
  explicit Report(std::unique_ptr<Impl> impl);
  std::unique_ptr<Impl> impl_;
};

// A .emf or placeable .wmf file (the format is told by the contents).
VXP2BMP_API Bitmap render_metafile_file(const std::string& path, const RenderSettings& settings = {});
VXP2BMP_API Bitmap render_metafile_memory(const void* data, size_t size, const RenderSettings& settings = {});
VXP2BMP_API PageSize metafile_size_file(const std::string& path);
VXP2BMP_API PageSize metafile_size_memory(const void* data, size_t size);

}  // namespace vxp2bmp
