// The C++ API over the converter's parts: the page list for reports, the
// metafile, the page rasterizer and the two encoders. Internal errors become
// vxp2bmp::Error with the same class name and message.
#include "vxp2bmp/vxp2bmp.hpp"

#include <algorithm>
#include <limits>
#include <new>

#include "base/errors.h"
#include "base/memory_stream.h"
#include "converter/conversion_options.h"
#include "converter/page_rasterizer.h"
#include "graphics/bitmap.h"
#include "graphics/metafile.h"
#include "graphics/png_file.h"
#include "storage/vx_page_list.h"
#include "storage/vx_stream.h"

#ifndef VXP2BMP_VERSION
#define VXP2BMP_VERSION "0.0.0"
#endif

namespace vxp2bmp {

namespace {

// Runs body and turns every error into vxp2bmp::Error.
template <typename Body>
auto Guarded(Body&& body) -> decltype(body()) {
  try {
    return body();
  } catch (const Error&) {
    throw;
  } catch (const vx::Exception& e) {
    throw Error(e.ClassName(), e.Message());
  } catch (const std::bad_alloc&) {
    throw Error("EOutOfResources", vx::msg::kOutOfResources);
  } catch (const std::exception& e) {
    throw Error("Exception", e.what());
  }
}

[[noreturn]] void FailSettings(const std::string& message) { throw Error("EInvalidOperation", message); }

vx::TConversionOptions OptionsFor(const RenderSettings& settings) {
  if (settings.depth != 8 && settings.depth != 24 && settings.depth != 32)
    FailSettings("Pixel depth " + std::to_string(settings.depth) + " is not supported");
  if (settings.width < 0 || settings.height < 0) FailSettings("A pixel width or height is below 0");
  vx::TConversionOptions options;
  options.depth = settings.depth;
  options.width = settings.width;
  options.height = settings.height;
  return options;
}

PageSize SizeOf(const vx::TMetafile& metafile) {
  return {metafile.PixelWidth(), metafile.PixelHeight(), metafile.FrameWidth(), metafile.FrameHeight()};
}

std::unique_ptr<vx::TMetafile> MetafileFromMemory(const void* data, size_t size) {
  if (data == nullptr && size > 0) FailSettings("No metafile data");
  if (size > static_cast<size_t>(std::numeric_limits<int64_t>::max())) throw Error("EOutOfResources", vx::msg::kOutOfResources);
  vx::TMemoryStream stream;
  stream.WriteBuffer(data, static_cast<int64_t>(size));
  stream.SetPosition(0);
  auto metafile = std::make_unique<vx::TMetafile>();
  metafile->ReadFromStream(stream);
  return metafile;
}

std::unique_ptr<vx::TMetafile> MetafileFromFile(const std::string& path) {
  auto metafile = std::make_unique<vx::TMetafile>();
  metafile->ReadFromFile(path);
  return metafile;
}

}  // namespace

const char* version() { return VXP2BMP_VERSION; }

Error::Error(std::string className, std::string message)
    : std::runtime_error(className + ": " + message), class_name_(std::move(className)), message_(std::move(message)) {}

struct Bitmap::Impl {
  vx::TBitmap bitmap;
};

Bitmap::Bitmap(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}
Bitmap::~Bitmap() = default;
Bitmap::Bitmap(Bitmap&&) noexcept = default;
Bitmap& Bitmap::operator=(Bitmap&&) noexcept = default;

int32_t Bitmap::width() const { return impl_->bitmap.PixelWidth(); }
int32_t Bitmap::height() const { return impl_->bitmap.PixelHeight(); }
int Bitmap::depth() const { return impl_->bitmap.PixelDepth(); }
int32_t Bitmap::pixels_per_meter_x() const { return impl_->bitmap.HeldHeader().x_pels_per_meter; }
int32_t Bitmap::pixels_per_meter_y() const { return impl_->bitmap.HeldHeader().y_pels_per_meter; }

std::vector<uint8_t> Bitmap::encode(Format format) const {
  return Guarded([&] {
    if (format == Format::png) return vx::EncodePng(impl_->bitmap);
    vx::TMemoryStream stream;
    impl_->bitmap.WriteToStream(stream);
    return stream.Bytes();
  });
}

void Bitmap::save(const std::string& path, Format format) const {
  Guarded([&] {
    vx::WriteBitmapFile(impl_->bitmap, path, format == Format::png ? vx::TOutputFormat::Png : vx::TOutputFormat::Bmp);
  });
}

struct Report::Impl {
  vx::TVXPageList pages;

  std::unique_ptr<vx::TMetafile> Page(int32_t n) {
    std::unique_ptr<vx::TMetafile> page;
    if (n >= 1 && n <= pages.StoredPages()) page = pages.FetchPage(n);
    if (!page)
      throw Error("EInvalidOperation", "There is no page " + std::to_string(n) + "; the report has " +
                                           std::to_string(pages.StoredPages()) + " pages");
    return page;
  }
};

Report::Report(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}
Report::~Report() = default;
Report::Report(Report&&) noexcept = default;
Report& Report::operator=(Report&&) noexcept = default;

Report Report::open_file(const std::string& path) {
  return Guarded([&] {
    auto impl = std::make_unique<Impl>();
    impl->pages.OpenFile(path);
    return Report(std::move(impl));
  });
}

Report Report::open_memory(const void* data, size_t size) {
  return Guarded([&] {
    if (data == nullptr && size > 0) FailSettings("No report data");
    // Resident however large: a report opened from memory makes no temporary file.
    auto stream = vx::TVXStream::CreateInMemory(std::numeric_limits<int32_t>::max());
    const auto* bytes = static_cast<const uint8_t*>(data);
    for (size_t done = 0; done < size;) {
      const size_t chunk = std::min<size_t>(size - done, size_t(1) << 30);
      stream->WriteBuffer(bytes + done, static_cast<int64_t>(chunk));
      done += chunk;
    }
    auto impl = std::make_unique<Impl>();
    impl->pages.OpenStream(std::move(stream));
    return Report(std::move(impl));
  });
}

int32_t Report::page_count() const { return impl_->pages.StoredPages(); }

PageSize Report::page_size(int32_t page) const {
  return Guarded([&] { return SizeOf(*impl_->Page(page)); });
}

Bitmap Report::render_page(int32_t page, const RenderSettings& settings) const {
  return Guarded([&] {
    const vx::TConversionOptions options = OptionsFor(settings);
    auto impl = std::make_unique<Bitmap::Impl>();
    vx::RenderMetafileToBitmap(*impl_->Page(page), impl->bitmap, settings.resolution, options);
    return Bitmap(std::move(impl));
  });
}

Bitmap render_metafile_file(const std::string& path, const RenderSettings& settings) {
  return Guarded([&] {
    const vx::TConversionOptions options = OptionsFor(settings);
    auto impl = std::make_unique<Bitmap::Impl>();
    vx::RenderMetafileToBitmap(*MetafileFromFile(path), impl->bitmap, settings.resolution, options);
    return Bitmap(std::move(impl));
  });
}

Bitmap render_metafile_memory(const void* data, size_t size, const RenderSettings& settings) {
  return Guarded([&] {
    const vx::TConversionOptions options = OptionsFor(settings);
    auto impl = std::make_unique<Bitmap::Impl>();
    vx::RenderMetafileToBitmap(*MetafileFromMemory(data, size), impl->bitmap, settings.resolution, options);
    return Bitmap(std::move(impl));
  });
}

PageSize metafile_size_file(const std::string& path) {
  return Guarded([&] { return SizeOf(*MetafileFromFile(path)); });
}

PageSize metafile_size_memory(const void* data, size_t size) {
  return Guarded([&] { return SizeOf(*MetafileFromMemory(data, size)); });
}

}  // namespace vxp2bmp
