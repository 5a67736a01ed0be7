#include "platform/codePageTables.h"

#include <algorithm>

#include "platform/unicode.h"

namespace brimlow::platform {

namespace {

bool isSurrogate(char16_t c) {
  return c >= 0xD800 && c <= 0xDFFF;
}

}  // namespace

SingleByteCodePage::SingleByteCodePage(const std::array<char16_t, 256>& toWide,
                                       const LowerCaseFunction& lowerCase)
    : toWide_(toWide) {
  // Where two bytes stand for one character, the lower byte is written.
  for (int byte = 255; byte > 0; --byte) {
    fromWide_[toWide_[byte]] = static_cast<unsigned char>(byte);
  }
  fromWide_[0] = 0;
  for (int byte = 0; byte < 256; ++byte) {
    lower_[byte] = static_cast<unsigned char>(byte);
    const char32_t small = lowerCase(toWide_[byte]);
    if (small == toWide_[byte] || small > 0xFFFF) continue;
    const unsigned char mapped = fromWide_[small];
    if (mapped != 0) lower_[byte] = mapped;
  }
}

std::string SingleByteCodePage::fromWide(std::u16string_view text) const {
  std::string out;
  out.resize(text.size());
  size_t length = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    const char16_t c = text[i];
    const unsigned char byte = fromWide_[c];
    if (byte != 0 || c == 0) {
      out[length++] = static_cast<char>(byte);
      continue;
    }
    // A pair of surrogates is one character, which no 8-bit code page has.
    if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
        text[i + 1] <= 0xDFFF) {
      ++i;
    }
    out[length++] = '?';
  }
  out.resize(length);
  return out;
}

std::u16string SingleByteCodePage::toWide(std::string_view text) const {
  std::u16string out;
  out.resize(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    out[i] = toWide_[static_cast<unsigned char>(text[i])];
  }
  return out;
}

std::string SingleByteCodePage::lower(std::string_view text) const {
  std::string out;
  out.resize(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    out[i] = static_cast<char>(lower_[static_cast<unsigned char>(text[i])]);
  }
  return out;
}

Utf8CodePage::Utf8CodePage(const LowerCaseFunction& lowerCase) : lowerCase_(lowerCase) {
  for (char32_t c = 0; c < 0x10000; ++c) {
    const char32_t small = isSurrogate(static_cast<char16_t>(c)) ? c : lowerCase(c);
    // A lower case outside the basic plane, or a surrogate, would not fit the
    // table; such characters keep their case.
    lowerBmp_[c] = small <= 0xFFFF && !isSurrogate(static_cast<char16_t>(small))
                       ? static_cast<char16_t>(small)
                       : static_cast<char16_t>(c);
  }
}

std::string Utf8CodePage::fromWide(std::u16string_view text) const {
  return utf16ToUtf8(text, '?');
}

std::u16string Utf8CodePage::toWide(std::string_view text) const {
  return utf8ToUtf16(text);
}

std::string Utf8CodePage::lower(std::string_view text) const {
  // A lower case may take more bytes than its capital (U+023A, two bytes,
  // lowers to U+2C65, three), never more than half as many again.
  std::string out(text.size() + text.size() / 2, '\0');
  char* p = out.data();
  size_t i = 0;
  while (i < text.size()) {
    const auto byte = static_cast<unsigned char>(text[i]);
    if (byte < 0x80) {
      *p++ = static_cast<char>(byte >= 'A' && byte <= 'Z' ? byte + ('a' - 'A') : byte);
      ++i;
      continue;
    }
    char32_t c = 0;
    size_t length = 0;
    if (byte >= 0xC2 && byte <= 0xDF && i + 1 < text.size() &&
        (static_cast<unsigned char>(text[i + 1]) & 0xC0) == 0x80) {
      // Two bytes, as Cyrillic and the other European letters take.
      c = ((byte & 0x1Fu) << 6) | (static_cast<unsigned char>(text[i + 1]) & 0x3Fu);
      length = 2;
    } else {
      length = decodeUtf8(text.substr(i), c);
    }
    if (length == 0) {
      *p++ = static_cast<char>(byte);  // not UTF-8: passes unchanged
      ++i;
      continue;
    }
    const char32_t small = c < 0x10000 ? lowerBmp_[c] : lowerCase_(c);
    if (small == c) {
      p = std::copy_n(text.data() + i, length, p);
    } else {
      std::string encoded;
      appendUtf8(encoded, small);
      p = std::copy(encoded.begin(), encoded.end(), p);
    }
    i += length;
  }
  out.resize(static_cast<size_t>(p - out.data()));
  return out;
}

}  // namespace brimlow::platform
