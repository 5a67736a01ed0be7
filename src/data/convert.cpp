#include "data/convert.h"

#include <charconv>
#include <limits>

namespace brimlow {

namespace {

// Parses the grammar of a decimal integer into int64_t, or fails.
bool ParseDecimal(std::string_view text, int64_t& value) {
  std::string_view digits = text;
  bool negative = false;
  if (!digits.empty() && (digits.front() == '+' || digits.front() == '-')) {
    negative = digits.front() == '-';
    digits.remove_prefix(1);
  }
  if (digits.empty()) return false;
  for (const char c : digits) {
    if (c < '0' || c > '9') return false;
  }
  // from_chars takes the minus sign itself, so that INT64_MIN parses; the
  // digits alone were checked above, so "+-1" cannot slip through.
  const char* first = negative ? digits.data() - 1 : digits.data();
  const char* last = digits.data() + digits.size();
  const auto [end, error] = std::from_chars(first, last, value);
  return error == std::errc() && end == last;
}

}  // namespace

void ThrowInvalidInteger(std::string_view text) {
  throw EConvertError("'" + std::string(text) + "' is not a valid integer value");
}

int64_t StrToInt64(std::string_view text) {
  int64_t value = 0;
  if (!ParseDecimal(text, value)) ThrowInvalidInteger(text);
  return value;
}

int32_t StrToInt32(std::string_view text) {
  int64_t value = 0;
  if (!ParseDecimal(text, value) || value < std::numeric_limits<int32_t>::min() ||
      value > std::numeric_limits<int32_t>::max())
    ThrowInvalidInteger(text);
  return static_cast<int32_t>(value);
}

uint32_t StrToDownloadID(std::string_view text) {
  int64_t value = 0;
  if (!ParseDecimal(text, value) || value < std::numeric_limits<int32_t>::min() ||
      value > std::numeric_limits<uint32_t>::max())
    ThrowInvalidInteger(text);
  return static_cast<uint32_t>(value);
}

}  // namespace brimlow
