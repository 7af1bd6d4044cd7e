#include "converter/page_output.h"

#include <chrono>
#include <map>
#include <tuple>

#include "base/note_tally.h"
#include "converter/metafile_survey.h"
#include "converter/page_rasterizer.h"
#include "graphics/bitmap.h"
#include "graphics/metafile.h"
#include "graphics/platform/text/font_resolver.h"

namespace vx {

namespace {

constexpr int32_t kBoldWeight = 550;  // heavier asks for a bold file

std::string Utf8(const std::u16string& text) {
  std::string out;
  for (char16_t c : text) {
    if (c < 0x80) {
      out += static_cast<char>(c);
    } else if (c < 0x800) {
      out += static_cast<char>(0xC0 | (c >> 6));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
      out += static_cast<char>(0xE0 | (c >> 12));
      out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  return out;
}

std::string FileNameOf(const std::string& path) {
  const size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

// Each face and style once, in the order the metafile first asks for it.
std::vector<TFontMapping> MapFonts(const std::vector<gdi::LogFont>& fonts) {
  std::vector<TFontMapping> mappings;
  std::map<std::tuple<std::u16string, bool, bool>, bool> seen;
  for (const gdi::LogFont& font : fonts) {
    const bool bold = font.weight > kBoldWeight;
    if (!seen.emplace(std::make_tuple(font.face_name, bold, font.italic), true).second) continue;
    const gdi::ResolvedFace resolved = gdi::ResolveFontFace(font);
    TFontMapping mapping;
    mapping.face = Utf8(font.face_name);
    mapping.bold = bold;
    mapping.italic = font.italic;
    if (!resolved.path.empty()) {
      mapping.family = resolved.family;
      mapping.file = FileNameOf(resolved.path);
    }
    mappings.push_back(std::move(mapping));
  }
  return mappings;
}

// Renders with the playback notes, time and size recorded when verbose.
std::unique_ptr<TBitmap> RenderWithDiagnostics(TMetafile& metafile, int32_t page, int32_t resolution,
                                               const TConversionOptions& options,
                                               TPageDiagnostics* diagnostics) {
  if (diagnostics == nullptr) return RenderMetafile(metafile, resolution, options);
  const auto start = std::chrono::steady_clock::now();
  TNoteTally notes;
  notes.Add(metafile.ReadNotes());  // records dropped when the picture was read
  metafile.SetPlaybackLog([&notes](const std::string& note) { notes.Add(note); });
  std::unique_ptr<TBitmap> bitmap;
  try {
    bitmap = RenderMetafile(metafile, resolution, options);
  } catch (...) {
    metafile.SetPlaybackLog(nullptr);
    throw;
  }
  metafile.SetPlaybackLog(nullptr);
  diagnostics->seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  diagnostics->page = page;
  diagnostics->width = bitmap->PixelWidth();
  diagnostics->height = bitmap->PixelHeight();
  diagnostics->notes = notes.Take();
  DescribePageContent(metafile, *diagnostics);
  return bitmap;
}

// Writes the file and tells the reporter, the writing time added to the page's.
void WriteWithDiagnostics(TBitmap& bitmap, const std::string& fileName, TOutputFormat format,
                          TPageDiagnostics diagnostics, bool verbose, TConversionReporter& reporter) {
  if (!verbose) {
    WriteBitmapFile(bitmap, fileName, format);
    reporter.PageDone({});
    return;
  }
  const auto start = std::chrono::steady_clock::now();
  WriteBitmapFile(bitmap, fileName, format);
  diagnostics.seconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  diagnostics.file = fileName;
  reporter.PageDone(diagnostics);
}

}  // namespace

void DescribePageContent(const TMetafile& metafile, TPageDiagnostics& diagnostics) {
  const TMetafileSurvey survey = SurveyMetafile(metafile.Bytes().data(), metafile.Bytes().size());
  diagnostics.fonts = MapFonts(survey.fonts);
  diagnostics.emf_plus_records = survey.emf_plus_records;
  diagnostics.emf_plus_dual = survey.emf_plus_dual;
}

void TPageDiagnosticsBoard::Put(int32_t page, TPageDiagnostics diagnostics) {
  const std::lock_guard<std::mutex> hold(lock_);
  pages_[page] = std::move(diagnostics);
}

TPageDiagnostics TPageDiagnosticsBoard::Take(int32_t page) {
  const std::lock_guard<std::mutex> hold(lock_);
  const auto it = pages_.find(page);
  if (it == pages_.end()) return {};
  TPageDiagnostics diagnostics = std::move(it->second);
  pages_.erase(it);
  return diagnostics;
}

std::unique_ptr<TBitmap> RenderPage(TMetafile& metafile, int32_t page, int32_t resolution,
                                    const TConversionOptions& options, TPageDiagnosticsBoard& board) {
  if (!board.Verbose()) return RenderMetafile(metafile, resolution, options);
  TPageDiagnostics diagnostics;
  std::unique_ptr<TBitmap> bitmap = RenderWithDiagnostics(metafile, page, resolution, options, &diagnostics);
  board.Put(page, std::move(diagnostics));
  return bitmap;
}

void WriteRenderedPage(TBitmap& bitmap, const std::string& fileName, int32_t page, TOutputFormat format,
                       TPageDiagnosticsBoard& board, TConversionReporter& reporter) {
  WriteWithDiagnostics(bitmap, fileName, format, board.Verbose() ? board.Take(page) : TPageDiagnostics{},
                       board.Verbose(), reporter);
}

void RenderPageFile(TMetafile& metafile, const std::string& fileName, int32_t page, int32_t resolution,
                    const TConversionOptions& options, TConversionReporter& reporter) {
  TPageDiagnostics diagnostics;
  const bool verbose = reporter.Verbose();
  const std::unique_ptr<TBitmap> bitmap =
      RenderWithDiagnostics(metafile, page, resolution, options, verbose ? &diagnostics : nullptr);
  WriteWithDiagnostics(*bitmap, fileName, options.format, std::move(diagnostics), verbose, reporter);
}

}  // namespace vx
