// The C interface: opaque handles over the C++ API, errors kept per thread.
#include "vxp2bmp/vxp2bmp.h"

#include <cstdlib>
#include <cstring>
#include <new>
#include <string>

#include "vxp2bmp/vxp2bmp.hpp"

struct vxp2bmp_report {
  vxp2bmp::Report report;
};

struct vxp2bmp_bitmap {
  vxp2bmp::Bitmap bitmap;
};

namespace {

struct TLastError {
  std::string class_name;
  std::string message;
};

thread_local TLastError lastError;

vxp2bmp_status StatusOf(const std::string& className) {
  if (className == "EFOpenError") return VXP2BMP_OPEN_ERROR;
  if (className == "EFCreateError") return VXP2BMP_CREATE_ERROR;
  if (className == "EReadError") return VXP2BMP_READ_ERROR;
  if (className == "EWriteError") return VXP2BMP_WRITE_ERROR;
  if (className == "EInvalidGraphic") return VXP2BMP_INVALID_GRAPHIC;
  if (className == "EOutOfResources") return VXP2BMP_OUT_OF_RESOURCES;
  if (className == "EInvalidOperation") return VXP2BMP_UNSUPPORTED;
  return VXP2BMP_FAILED;
}

vxp2bmp_status Fail(vxp2bmp_status status, std::string className, std::string message) {
  lastError.class_name = std::move(className);
  lastError.message = std::move(message);
  return status;
}

vxp2bmp_status InvalidArgument(const char* what) {
  return Fail(VXP2BMP_INVALID_ARGUMENT, "EInvalidOperation", what);
}

template <typename Body>
vxp2bmp_status Guarded(Body&& body) noexcept {
  try {
    body();
    return VXP2BMP_OK;
  } catch (const vxp2bmp::Error& e) {
    return Fail(StatusOf(e.class_name()), e.class_name(), e.message());
  } catch (const std::bad_alloc&) {
    return Fail(VXP2BMP_OUT_OF_RESOURCES, "EOutOfResources", "Out of system resources");
  } catch (const std::exception& e) {
    return Fail(VXP2BMP_FAILED, "Exception", e.what());
  } catch (...) {
    return Fail(VXP2BMP_FAILED, "Exception", "Unknown error");
  }
}

vxp2bmp::RenderSettings SettingsOf(const vxp2bmp_render_settings* settings) {
  vxp2bmp::RenderSettings out;
  if (settings == nullptr) return out;
  out.resolution = settings->resolution;
  out.depth = settings->depth;
  out.width = settings->width;
  out.height = settings->height;
  return out;
}

void CopySize(const vxp2bmp::PageSize& in, vxp2bmp_page_size* out) {
  out->pixel_width = in.pixel_width;
  out->pixel_height = in.pixel_height;
  out->frame_width = in.frame_width;
  out->frame_height = in.frame_height;
}

vxp2bmp::Format FormatOf(vxp2bmp_format format) {
  return format == VXP2BMP_FORMAT_PNG ? vxp2bmp::Format::png : vxp2bmp::Format::bmp;
}

bool KnownFormat(vxp2bmp_format format) { return format == VXP2BMP_FORMAT_BMP || format == VXP2BMP_FORMAT_PNG; }

}  // namespace

extern "C" {

const char* vxp2bmp_version(void) { return vxp2bmp::version(); }

vxp2bmp_render_settings vxp2bmp_default_settings(void) {
  const vxp2bmp::RenderSettings defaults;
  return {defaults.resolution, defaults.depth, defaults.width, defaults.height};
}

const char* vxp2bmp_error_class(void) { return lastError.class_name.c_str(); }
const char* vxp2bmp_error_message(void) { return lastError.message.c_str(); }

vxp2bmp_status vxp2bmp_report_open_file(const char* path, vxp2bmp_report** report) {
  if (path == nullptr || report == nullptr) return InvalidArgument("No file name or no place for the report");
  *report = nullptr;
  return Guarded([&] { *report = new vxp2bmp_report{vxp2bmp::Report::open_file(path)}; });
}

vxp2bmp_status vxp2bmp_report_open_memory(const void* data, size_t size, vxp2bmp_report** report) {
  if ((data == nullptr && size > 0) || report == nullptr) return InvalidArgument("No data or no place for the report");
  *report = nullptr;
  return Guarded([&] { *report = new vxp2bmp_report{vxp2bmp::Report::open_memory(data, size)}; });
}

void vxp2bmp_report_free(vxp2bmp_report* report) { delete report; }

vxp2bmp_status vxp2bmp_report_page_count(const vxp2bmp_report* report, int32_t* count) {
  if (report == nullptr || count == nullptr) return InvalidArgument("No report or no place for the count");
  *count = report->report.page_count();
  return VXP2BMP_OK;
}

vxp2bmp_status vxp2bmp_report_page_size(const vxp2bmp_report* report, int32_t page, vxp2bmp_page_size* size) {
  if (report == nullptr || size == nullptr) return InvalidArgument("No report or no place for the size");
  if (page < 1 || page > report->report.page_count())
    return Fail(VXP2BMP_INVALID_ARGUMENT, "EInvalidOperation", "There is no page " + std::to_string(page));
  return Guarded([&] { CopySize(report->report.page_size(page), size); });
}

vxp2bmp_status vxp2bmp_report_render_page(const vxp2bmp_report* report, int32_t page,
                                          const vxp2bmp_render_settings* settings, vxp2bmp_bitmap** bitmap) {
  if (report == nullptr || bitmap == nullptr) return InvalidArgument("No report or no place for the bitmap");
  *bitmap = nullptr;
  if (page < 1 || page > report->report.page_count())
    return Fail(VXP2BMP_INVALID_ARGUMENT, "EInvalidOperation", "There is no page " + std::to_string(page));
  return Guarded([&] { *bitmap = new vxp2bmp_bitmap{report->report.render_page(page, SettingsOf(settings))}; });
}

vxp2bmp_status vxp2bmp_render_metafile_file(const char* path, const vxp2bmp_render_settings* settings,
                                            vxp2bmp_bitmap** bitmap) {
  if (path == nullptr || bitmap == nullptr) return InvalidArgument("No file name or no place for the bitmap");
  *bitmap = nullptr;
  return Guarded([&] { *bitmap = new vxp2bmp_bitmap{vxp2bmp::render_metafile_file(path, SettingsOf(settings))}; });
}

vxp2bmp_status vxp2bmp_render_metafile_memory(const void* data, size_t size, const vxp2bmp_render_settings* settings,
                                              vxp2bmp_bitmap** bitmap) {
  if ((data == nullptr && size > 0) || bitmap == nullptr) return InvalidArgument("No data or no place for the bitmap");
  *bitmap = nullptr;
  return Guarded(
      [&] { *bitmap = new vxp2bmp_bitmap{vxp2bmp::render_metafile_memory(data, size, SettingsOf(settings))}; });
}

vxp2bmp_status vxp2bmp_metafile_size_file(const char* path, vxp2bmp_page_size* size) {
  if (path == nullptr || size == nullptr) return InvalidArgument("No file name or no place for the size");
  return Guarded([&] { CopySize(vxp2bmp::metafile_size_file(path), size); });
}

vxp2bmp_status vxp2bmp_metafile_size_memory(const void* data, size_t size, vxp2bmp_page_size* page_size) {
  if ((data == nullptr && size > 0) || page_size == nullptr) return InvalidArgument("No data or no place for the size");
  return Guarded([&] { CopySize(vxp2bmp::metafile_size_memory(data, size), page_size); });
}

void vxp2bmp_bitmap_free(vxp2bmp_bitmap* bitmap) { delete bitmap; }

int32_t vxp2bmp_bitmap_width(const vxp2bmp_bitmap* bitmap) { return bitmap ? bitmap->bitmap.width() : 0; }
int32_t vxp2bmp_bitmap_height(const vxp2bmp_bitmap* bitmap) { return bitmap ? bitmap->bitmap.height() : 0; }
int32_t vxp2bmp_bitmap_depth(const vxp2bmp_bitmap* bitmap) { return bitmap ? bitmap->bitmap.depth() : 0; }

vxp2bmp_status vxp2bmp_bitmap_encode(const vxp2bmp_bitmap* bitmap, vxp2bmp_format format, uint8_t** data,
                                     size_t* size) {
  if (bitmap == nullptr || data == nullptr || size == nullptr) return InvalidArgument("No bitmap or no place for the data");
  if (!KnownFormat(format)) return InvalidArgument("Unknown file format");
  *data = nullptr;
  *size = 0;
  return Guarded([&] {
    const std::vector<uint8_t> bytes = bitmap->bitmap.encode(FormatOf(format));
    if (bytes.empty()) return;
    auto* copy = static_cast<uint8_t*>(std::malloc(bytes.size()));
    if (copy == nullptr) throw std::bad_alloc();
    std::memcpy(copy, bytes.data(), bytes.size());
    *data = copy;
    *size = bytes.size();
  });
}

vxp2bmp_status vxp2bmp_bitmap_save(const vxp2bmp_bitmap* bitmap, vxp2bmp_format format, const char* path) {
  if (bitmap == nullptr || path == nullptr) return InvalidArgument("No bitmap or no file name");
  if (!KnownFormat(format)) return InvalidArgument("Unknown file format");
  return Guarded([&] { bitmap->bitmap.save(path, FormatOf(format)); });
}

void vxp2bmp_buffer_free(uint8_t* data) { std::free(data); }

}  // extern "C"
