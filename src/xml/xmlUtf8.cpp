#include "xml/xmlUtf8.h"

#include "platform/unicode.h"

#include <cstring>

namespace brimlow::utf8 {

bool IsAscii(std::string_view text) {
  const char* p = text.data();
  std::size_t n = text.size();
  uint64_t high = 0;
  for (; n >= 8; p += 8, n -= 8) {
    uint64_t word;
    std::memcpy(&word, p, 8);
    high |= word;
  }
  for (; n > 0; ++p, --n)
    high |= static_cast<unsigned char>(*p);
  return (high & 0x8080808080808080ULL) == 0;
}

bool IsValid(std::string_view text) {
  const auto* p = reinterpret_cast<const unsigned char*>(text.data());
  const auto* end = p + text.size();
  while (p < end) {
    const unsigned char b = *p;
    if (b < 0x80) {
      // Runs of ASCII, eight bytes at a time.
      ++p;
      while (end - p >= 8) {
        uint64_t word;
        std::memcpy(&word, p, 8);
        if ((word & 0x8080808080808080ULL) != 0) break;
        p += 8;
      }
      continue;
    }
    std::size_t length;
    unsigned char low = 0x80;
    unsigned char high = 0xBF;
    if (b >= 0xC2 && b <= 0xDF) {
      length = 2;
    } else if (b >= 0xE0 && b <= 0xEF) {
      length = 3;
      if (b == 0xE0) low = 0xA0;   // no overlong forms
      if (b == 0xED) high = 0x9F;  // no surrogates
    } else if (b >= 0xF0 && b <= 0xF4) {
      length = 4;
      if (b == 0xF0) low = 0x90;   // no overlong forms
      if (b == 0xF4) high = 0x8F;  // nothing above U+10FFFF
    } else {
      return false;
    }
    if (static_cast<std::size_t>(end - p) < length) return false;
    if (p[1] < low || p[1] > high) return false;
    for (std::size_t i = 2; i < length; ++i) {
      if (p[i] < 0x80 || p[i] > 0xBF) return false;
    }
    p += length;
  }
  return true;
}

void AppendUtf16(char32_t character, std::u16string& out) {
  if (character < 0x10000) {
    out += static_cast<char16_t>(character);
  } else {
    const char32_t offset = character - 0x10000;
    out += static_cast<char16_t>(0xD800 + (offset >> 10));
    out += static_cast<char16_t>(0xDC00 + (offset & 0x3FF));
  }
}

void DecodeLenient(std::string_view text, std::u16string& out) {
  const auto* p = reinterpret_cast<const unsigned char*>(text.data());
  const auto* end = p + text.size();
  while (p < end) {
    const unsigned char b = *p;
    if (b < 0xC0 || b >= 0xF8) {
      // ASCII, or a byte that cannot begin a sequence: its own value.
      out += static_cast<char16_t>(b);
      ++p;
      continue;
    }
    const std::size_t length = b < 0xE0 ? 2 : b < 0xF0 ? 3 : 4;
    if (static_cast<std::size_t>(end - p) < length) {
      out += static_cast<char16_t>(b);
      return;  // cut short: the rest is dropped
    }
    char32_t value = b & (length == 2 ? 0x1F : length == 3 ? 0x0F : 0x07);
    bool complete = true;
    for (std::size_t i = 1; i < length; ++i) {
      if (p[i] < 0x80 || p[i] > 0xBF) {
        complete = false;
        break;
      }
      value = (value << 6) | (p[i] & 0x3F);
    }
    if (!complete) {
      out += static_cast<char16_t>(b);
      ++p;
      continue;
    }
    // Characters beyond the 16-bit range travel as surrogate pairs; a value
    // beyond U+10FFFF names no character at all.  The overlong forms of the
    // character 0 stand as the replacement character too, as a character
    // reference to 0 does: a byte 0 in a text would end the document there
    // when the text is written and read again, and take the rest with it.
    AppendUtf16(value > 0x10FFFF || value == 0 ? kReplacement : value, out);
    p += length;
  }
}

void AppendUtf8(char32_t c, std::string& out) {
  platform::appendUtf8(out, c);
}

}  // namespace brimlow::utf8
