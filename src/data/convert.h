#pragma once

// Text to number conversions of the list readers.  A failure is an
// EConvertError naming the text, so the user sees which value is wrong.

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

namespace brimlow {

class EConvertError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// "'%s' is not a valid integer value"
[[noreturn]] void ThrowInvalidInteger(std::string_view text);

// A decimal integer is an optional "+" or "-" followed by one or more digits,
// with nothing before or after, in the range of the result type.
int32_t StrToInt32(std::string_view text);
int64_t StrToInt64(std::string_view text);

// A download's ID: 0 to 4294967295, or -2147483648 to -1 kept as the same
// 32-bit pattern, so that every value the writer prints (unsigned) and every
// value a signed writer may have printed read back.
uint32_t StrToDownloadID(std::string_view text);

}  // namespace brimlow
