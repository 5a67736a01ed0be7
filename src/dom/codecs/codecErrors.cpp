#include "dom/codecs/codecErrors.h"

#include <charconv>

namespace brimlow::codecs {

std::string upperHex(unsigned long long value) {
  char digits[20];
  auto [end, error] = std::to_chars(digits, digits + sizeof digits, value, 16);
  (void)error;
  std::string text(digits, end);
  for (char& c : text)
    if (c >= 'a' && c <= 'f') c = static_cast<char>(c - 'a' + 'A');
  return text;
}

}  // namespace brimlow::codecs
