#include "converter/conversion_report.h"

#include <unistd.h>

#include <cerrno>
#include <cmath>

namespace vx {

void WriteStandardError(std::string_view text) {
  while (!text.empty()) {
    const ssize_t written = ::write(STDERR_FILENO, text.data(), text.size());
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return;
    text.remove_prefix(static_cast<size_t>(written));
  }
}

std::string FormatPageDiagnostics(const TPageDiagnostics& page) {
  std::string text = page.page > 0 ? "page " + std::to_string(page.page) + ": " : std::string();
  text += page.file + ": " + std::to_string(page.width) + " x " + std::to_string(page.height) + " pixels, " +
          std::to_string(std::llround(page.seconds * 1000)) + " ms\n";
  for (const auto& [note, count] : page.notes) text += "  " + note + " (" + std::to_string(count) + "x)\n";
  for (const TFontMapping& font : page.fonts) {
    std::string style = font.bold ? (font.italic ? " bold italic" : " bold") : (font.italic ? " italic" : "");
    text += "  font \"" + font.face + "\"" + style + " -> ";
    text += font.family.empty() ? std::string("no installed font") : font.family + " (" + font.file + ")";
    text += "\n";
  }
  if (page.emf_plus_records > 0) {
    text += "  EMF+ content not drawn: " + std::to_string(page.emf_plus_records) + " comment records; ";
    text += page.emf_plus_dual ? "the EMF records of the same picture were drawn\n"
                               : "no EMF records of the same picture are declared\n";
  }
  return text;
}

TConversionReporter::TConversionReporter(const TConversionOptions& options, int64_t pageCount,
                                         TDiagnosticWriter writer)
    : verbose_(options.verbose), progress_(options.progress), page_count_(pageCount), writer_(std::move(writer)) {}

TConversionReporter::~TConversionReporter() {
  try {
    Finish();
  } catch (...) {
  }
}

void TConversionReporter::PageDone(const TPageDiagnostics& page) {
  if (Silent()) return;
  std::lock_guard guard(lock_);
  ++pages_done_;
  std::string text;
  if (verbose_) text = FormatPageDiagnostics(page);
  if (progress_) {
    const std::string count = std::to_string(pages_done_) + "/" + std::to_string(page_count_) + " pages";
    // Beside the per-page lines the count gets lines of its own.
    if (verbose_) {
      text += count + "\n";
    } else {
      text += "\r" + count;
      line_open_ = true;
    }
  }
  writer_(text);
}

void TConversionReporter::Finish() {
  std::lock_guard guard(lock_);
  if (!line_open_) return;
  line_open_ = false;
  writer_("\n");
}

}  // namespace vx
