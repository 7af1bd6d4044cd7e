#include "converter/long_options.h"

#include <cstdint>
#include <limits>
#include <optional>

#include "base/errors.h"

#ifndef VXP2BMP_VERSION
#define VXP2BMP_VERSION "0.0.0"
#endif

namespace vx {

namespace {

constexpr const char* kBadValueMessage = "'%s' is not a valid value for %s";
constexpr const char* kUnknownMessage = "Unknown option \"%s\"";
constexpr const char* kNeedsValueMessage = "Option \"%s\" needs a value";
constexpr const char* kTakesNoValueMessage = "Option \"%s\" takes no value";

struct TOptionText {
  std::string name;                  // with its two dashes
  std::optional<std::string> value;  // after the first '='
};

TOptionText SplitOption(const std::string& arg) {
  const size_t equals = arg.find('=');
  if (equals == std::string::npos) return {arg, std::nullopt};
  return {arg.substr(0, equals), arg.substr(equals + 1)};
}

[[noreturn]] void FailValue(const TOptionText& option) {
  throw EConvertError(Format(kBadValueMessage, *option.value, option.name));
}

std::string AsciiLower(std::string text) {
  for (char& c : text)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return text;
}

// Decimal digits only: no sign, no blanks, no prefix.
std::optional<int64_t> ParseDecimal(const std::string& text, int64_t min, int64_t max) {
  if (text.empty() || text.size() > 10) return std::nullopt;
  int64_t value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + (c - '0');
  }
  if (value < min || value > max) return std::nullopt;
  return value;
}

int32_t ParseCount(const TOptionText& option, int64_t min, int64_t max) {
  const std::optional<int64_t> value = ParseDecimal(*option.value, min, max);
  if (!value) FailValue(option);
  return static_cast<int32_t>(*value);
}

enum class TValueKind { None, Required };

struct TOptionRule {
  const char* name;
  TValueKind kind;
  void (*apply)(const TOptionText& option, TLongOptions& into);
};

constexpr int64_t kMaxInt32 = std::numeric_limits<int32_t>::max();

const TOptionRule kRules[] = {
    {"--help", TValueKind::None, [](const TOptionText&, TLongOptions& o) { o.help = true; }},
    {"--version", TValueKind::None, [](const TOptionText&, TLongOptions& o) { o.version = true; }},
    {"--verbose", TValueKind::None, [](const TOptionText&, TLongOptions& o) { o.conversion.verbose = true; }},
    {"--progress", TValueKind::None, [](const TOptionText&, TLongOptions& o) { o.conversion.progress = true; }},
    {"--format", TValueKind::Required,
     [](const TOptionText& t, TLongOptions& o) {
       const std::string format = AsciiLower(*t.value);
       if (format == "bmp")
         o.conversion.format = TOutputFormat::Bmp;
       else if (format == "png")
         o.conversion.format = TOutputFormat::Png;
       else
         FailValue(t);
     }},
    {"--depth", TValueKind::Required,
     [](const TOptionText& t, TLongOptions& o) {
       const std::optional<int64_t> depth = ParseDecimal(*t.value, 8, 32);
       if (!depth || (*depth != 8 && *depth != 24 && *depth != 32)) FailValue(t);
       o.conversion.depth = static_cast<int>(*depth);
     }},
    {"--pages", TValueKind::Required,
     [](const TOptionText& t, TLongOptions& o) {
       try {
         o.conversion.pages = ParsePageList(*t.value);
       } catch (const EConvertError&) {
         FailValue(t);
       }
     }},
    {"--width", TValueKind::Required,
     [](const TOptionText& t, TLongOptions& o) { o.conversion.width = ParseCount(t, 1, kMaxInt32); }},
    {"--height", TValueKind::Required,
     [](const TOptionText& t, TLongOptions& o) { o.conversion.height = ParseCount(t, 1, kMaxInt32); }},
    {"--jobs", TValueKind::Required,
     [](const TOptionText& t, TLongOptions& o) { o.conversion.jobs = ParseCount(t, 0, kMaxJobs); }},
    {"--band-rows", TValueKind::Required,
     [](const TOptionText& t, TLongOptions& o) { o.conversion.band_rows = ParseCount(t, 1, kMaxInt32); }},
    {"--batch", TValueKind::Required,
     [](const TOptionText& t, TLongOptions& o) {
       if (t.value->empty()) FailValue(t);
       o.conversion.batch_list = *t.value;
     }},
};

void ApplyOption(const std::string& arg, TLongOptions& into) {
  const TOptionText option = SplitOption(arg);
  for (const TOptionRule& rule : kRules) {
    if (option.name != rule.name) continue;
    if (rule.kind == TValueKind::None && option.value)
      throw EOptionError(Format(kTakesNoValueMessage, option.name));
    if (rule.kind == TValueKind::Required && !option.value)
      throw EOptionError(Format(kNeedsValueMessage, option.name));
    rule.apply(option, into);
    return;
  }
  throw EOptionError(Format(kUnknownMessage, option.name));
}

}  // namespace

bool IsLongOption(const std::string& arg) { return arg.size() > 2 && arg[0] == '-' && arg[1] == '-'; }

TLongOptions ReadLongOptions(const std::vector<std::string>& args, std::vector<std::string>& others) {
  TLongOptions options;
  others.clear();
  for (const std::string& arg : args) {
    if (IsLongOption(arg))
      ApplyOption(arg, options);
    else
      others.push_back(arg);
  }
  return options;
}

std::vector<TPageRange> ParsePageList(const std::string& text) {
  std::vector<TPageRange> ranges;
  size_t start = 0;
  for (;;) {
    const size_t comma = text.find(',', start);
    const std::string item = text.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
    const size_t dash = item.find('-');
    const auto first = ParseDecimal(item.substr(0, dash), 1, kMaxInt32);
    const auto last = dash == std::string::npos ? first : ParseDecimal(item.substr(dash + 1), 1, kMaxInt32);
    if (!first || !last || *last < *first) throw EConvertError(Format(kBadValueMessage, text, "--pages"));
    ranges.push_back({static_cast<int32_t>(*first), static_cast<int32_t>(*last)});
    if (comma == std::string::npos) break;
    start = comma + 1;
  }
  return ranges;
}

const std::vector<std::string>& LongOptionHelpLines() {
  static const std::vector<std::string> lines = {
      "",
      "Long options (they may stand anywhere and do not count as arguments):",
      "   --format=bmp|png  file format of the result (default bmp); report pages",
      "                     then end in .png",
      "   --pages=LIST      only these pages of a report, such as 1,3-5",
      "   --width=PX        width of the result in pixels; the height follows",
      "   --height=PX       height of the result in pixels; the width follows",
      "   --depth=8|24|32   bits per pixel of the result (default 8)",
      "   --jobs=N          pages rendered at the same time (0: one per core)",
      "   --batch=LIST      runs the conversions listed in the file LIST",
      "   --band-rows=N     draws and writes 8-bit BMP pages in bands of N rows",
      "                     (default: large pages, and pages shared by workers)",
      "   --verbose         per page on standard error: size, time, records",
      "                     skipped, fonts used, EMF+ content not drawn",
      "   --progress        a progress count of the pages on standard error",
      "   --help            shows this help information",
      "   --version         shows the version",
  };
  return lines;
}

std::string VersionLine() { return std::string("vxp2bmp ") + VXP2BMP_VERSION; }

}  // namespace vx
