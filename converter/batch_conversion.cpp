#include "converter/batch_conversion.h"

#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <exception>
#include <mutex>
#include <optional>
#include <system_error>
#include <thread>
#include <vector>

#include "base/errors.h"
#include "converter/batch_list.h"
#include "converter/command_line.h"
#include "converter/conversion_driver.h"
#include "converter/error_report.h"
#include "converter/file_names.h"
#include "converter/resolution.h"
#include "converter/worker_count.h"

namespace vx {

namespace {

void WriteStandardErrorLine(std::string_view line) {
  std::string text(line);
  text += '\n';
  std::string_view rest = text;
  while (!rest.empty()) {
    const ssize_t written = ::write(STDERR_FILENO, rest.data(), rest.size());
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return;  // nowhere left to tell
    rest.remove_prefix(static_cast<size_t>(written));
  }
}

// Line ends inside a message would split the one line an item gets.
std::string OnOneLine(std::string text) {
  std::replace_if(text.begin(), text.end(), [](char c) { return c == '\r' || c == '\n'; }, ' ');
  return text;
}

void ConvertItem(const TBatchItem& item, const TConversionOptions& options) {
  if (!item.fault.empty()) throw Exception(item.fault);
  const int32_t resolution =
      item.resolution_text.empty() ? DefaultResolution : ParseResolution(item.resolution_text);
  switch (DetectSourceKind(item.source)) {
    case skReport:
      ConvertReportFile(item.source, item.destination, resolution, options);
      return;
    case skWindowsMetafile:
    case skEnhancedMetafile:
      ConvertMetafileFile(item.source, item.destination, resolution, options);
      return;
    case skUnsupported:
      break;
  }
  throw Exception(kUnsupportedSourceMessage);
}

std::string FailureLine(const TBatchItem& item, std::exception_ptr error) {
  const TErrorDescription description = DescribeError(std::move(error));
  return OnOneLine("batch line " + std::to_string(item.line) + ": " + item.source + ": " +
                   description.ClassName + ": " + description.Message);
}

// Items are taken in list order by whichever worker is free; their failure
// lines go out in list order as soon as every earlier item has finished.
class TBatchRun {
public:
  TBatchRun(const std::vector<TBatchItem>& items, const TConversionOptions& itemOptions,
            const TLineWriter& writeError)
      : items_(items), item_options_(itemOptions), write_error_(writeError), outcomes_(items.size()) {}

  void Work() noexcept {
    for (;;) {
      const size_t index = next_item_.fetch_add(1);
      if (index >= items_.size()) return;
      std::string failure;
      try {
        ConvertItem(items_[index], item_options_);
      } catch (...) {
        try {
          failure = FailureLine(items_[index], std::current_exception());
        } catch (...) {
          failure = "batch line " + std::to_string(items_[index].line) + ": failed";
        }
      }
      Finish(index, std::move(failure));
    }
  }

  bool AnyFailed() const { return any_failed_; }

private:
  void Finish(size_t index, std::string failure) noexcept {
    std::lock_guard guard(report_lock_);
    if (!failure.empty()) any_failed_ = true;
    outcomes_[index] = std::move(failure);
    for (; next_report_ < outcomes_.size() && outcomes_[next_report_]; ++next_report_) {
      if (outcomes_[next_report_]->empty()) continue;
      try {
        write_error_(*outcomes_[next_report_]);
      } catch (...) {
        // A line that cannot be shown still counts as a failure in the status.
      }
      outcomes_[next_report_]->clear();
    }
  }

  const std::vector<TBatchItem>& items_;
  const TConversionOptions item_options_;
  const TLineWriter& write_error_;
  std::atomic<size_t> next_item_ = 0;
  std::mutex report_lock_;
  std::vector<std::optional<std::string>> outcomes_;  // empty string: converted
  size_t next_report_ = 0;
  bool any_failed_ = false;
};

}  // namespace

int RunBatchConversion(const std::string& list_path, const TConversionOptions& options) {
  return RunBatchConversion(list_path, options, WriteStandardErrorLine);
}

int RunBatchConversion(const std::string& list_path, const TConversionOptions& options,
                       const TLineWriter& writeError) {
  const std::vector<TBatchItem> items = ReadBatchListFile(list_path);
  if (items.empty()) return 0;
  const int workers = WorkerCount(options.jobs);
  const int itemWorkers = static_cast<int>(std::min<size_t>(static_cast<size_t>(workers), items.size()));
  TConversionOptions itemOptions = options;
  itemOptions.jobs = std::max(1, workers / itemWorkers);  // spare workers go to the pages

  TBatchRun run(items, itemOptions, writeError);
  std::vector<std::thread> helpers;
  for (int i = 1; i < itemWorkers; ++i) {
    try {
      helpers.emplace_back([&run] { run.Work(); });
    } catch (const std::system_error&) {
      break;
    }
  }
  run.Work();
  for (std::thread& helper : helpers) helper.join();
  return run.AnyFailed() ? 1 : 0;
}

}  // namespace vx
