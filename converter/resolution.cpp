#include "converter/resolution.h"

#include <optional>
#include <string_view>

#include "base/errors.h"

namespace vx {

namespace {

constexpr const char* kNotAnInteger = "'%s' is not a valid integer value";

std::optional<uint32_t> HexDigitValue(char c) {
  if (c >= '0' && c <= '9') return static_cast<uint32_t>(c - '0');
  if (c >= 'a' && c <= 'f') return static_cast<uint32_t>(c - 'a' + 10);
  if (c >= 'A' && c <= 'F') return static_cast<uint32_t>(c - 'A' + 10);
  return std::nullopt;
}

// Length of the hexadecimal prefix at the start of text, 0 when there is none.
size_t HexPrefixLength(std::string_view text) {
  if (text.starts_with("0x") || text.starts_with("0X")) return 2;
  if (text.starts_with('$') || text.starts_with('x') || text.starts_with('X')) return 1;
  return 0;
}

// A bit pattern of at most eight significant hexadecimal digits.
std::optional<uint32_t> ParseHexDigits(std::string_view digits) {
  if (digits.empty()) return std::nullopt;
  uint32_t value = 0;
  for (const char c : digits) {
    const std::optional<uint32_t> digit = HexDigitValue(c);
    if (!digit || value > 0x0FFFFFFFu) return std::nullopt;
    value = (value << 4) | *digit;
  }
  return value;
}

// A decimal magnitude; 2147483648 is let through so that the sign can take it.
std::optional<uint32_t> ParseDecimalDigits(std::string_view digits, bool negative) {
  if (digits.empty()) return std::nullopt;
  const uint64_t limit = negative ? 2147483648u : 2147483647u;
  uint64_t value = 0;
  for (const char c : digits) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + static_cast<uint64_t>(c - '0');
    if (value > limit) return std::nullopt;
  }
  return static_cast<uint32_t>(value);
}

std::optional<int32_t> TryParseResolution(std::string_view text) {
  while (text.starts_with(' ')) text.remove_prefix(1);
  bool negative = false;
  if (text.starts_with('+') || text.starts_with('-')) {
    negative = text.front() == '-';
    text.remove_prefix(1);
  }
  const size_t prefix = HexPrefixLength(text);
  const std::optional<uint32_t> magnitude = prefix > 0
      ? ParseHexDigits(text.substr(prefix))
      : ParseDecimalDigits(text, negative);
  if (!magnitude) return std::nullopt;
  // Two's complement negation in unsigned arithmetic: -$80000000 stays -2147483648.
  const uint32_t pattern = negative ? 0u - *magnitude : *magnitude;
  return static_cast<int32_t>(pattern);
}

}  // namespace

int32_t ParseResolution(const std::string& text) {
  const std::optional<int32_t> value = TryParseResolution(text);
  if (!value) throw EConvertError(Format(kNotAnInteger, text));
  return *value;
}

}  // namespace vx
