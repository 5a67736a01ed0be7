#include "platform/unicode.h"

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace brimlow::platform {

namespace {

bool isHighSurrogate(char32_t c) {
  return c >= 0xD800 && c <= 0xDBFF;
}
bool isLowSurrogate(char32_t c) {
  return c >= 0xDC00 && c <= 0xDFFF;
}

}  // namespace

void appendUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (c >> 18));
    out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

size_t decodeUtf8(std::string_view bytes, char32_t& c) {
  if (bytes.empty()) return 0;
  const auto lead = static_cast<unsigned char>(bytes[0]);
  if (lead < 0x80) {
    c = lead;
    return 1;
  }
  size_t length = 0;
  char32_t value = 0;
  char32_t smallest = 0;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2, value = lead & 0x1F, smallest = 0x80;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3, value = lead & 0x0F, smallest = 0x800;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4, value = lead & 0x07, smallest = 0x10000;
  } else {
    return 0;
  }
  if (bytes.size() < length) return 0;
  for (size_t i = 1; i < length; ++i) {
    const auto next = static_cast<unsigned char>(bytes[i]);
    if ((next & 0xC0) != 0x80) return 0;
    value = (value << 6) | (next & 0x3F);
  }
  if (value < smallest || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) return 0;
  c = value;
  return length;
}

std::string utf16ToUtf8(std::u16string_view text, char unpaired) {
  // Written through a pointer into room for the longest result (three bytes
  // per unit; a pair of units takes four): this runs for every text a reader
  // converts.
  std::string out(text.size() * 3, '\0');
  char* p = out.data();
  for (size_t i = 0; i < text.size(); ++i) {
    char32_t c = text[i];
    if (c < 0x80) {
      *p++ = static_cast<char>(c);
    } else if (c < 0x800) {
      *p++ = static_cast<char>(0xC0 | (c >> 6));
      *p++ = static_cast<char>(0x80 | (c & 0x3F));
    } else if (!isHighSurrogate(c) && !isLowSurrogate(c)) {
      *p++ = static_cast<char>(0xE0 | (c >> 12));
      *p++ = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      *p++ = static_cast<char>(0x80 | (c & 0x3F));
    } else if (isHighSurrogate(c) && i + 1 < text.size() && isLowSurrogate(text[i + 1])) {
      c = 0x10000 + ((c - 0xD800) << 10) + (text[++i] - 0xDC00);
      *p++ = static_cast<char>(0xF0 | (c >> 18));
      *p++ = static_cast<char>(0x80 | ((c >> 12) & 0x3F));
      *p++ = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      *p++ = static_cast<char>(0x80 | (c & 0x3F));
    } else {
      *p++ = unpaired;
    }
  }
  out.resize(static_cast<size_t>(p - out.data()));
  return out;
}

std::u16string utf8ToUtf16(std::string_view bytes) {
  // Never more code units than bytes: the text is written in place and cut
  // to its length at the end.
  std::u16string out(bytes.size(), u'\0');
  char16_t* const begin = out.data();
  char16_t* to = begin;
  size_t i = 0;
  while (i < bytes.size()) {
    const auto byte = static_cast<unsigned char>(bytes[i]);
    if (byte < 0x80) {
      *to++ = byte;
      ++i;
      continue;
    }
    // Two bytes, as in Cyrillic, Greek and the like, without the general path.
    if (byte >= 0xC2 && byte <= 0xDF && i + 1 < bytes.size()) {
      const auto next = static_cast<unsigned char>(bytes[i + 1]);
      if ((next & 0xC0) == 0x80) {
        *to++ = static_cast<char16_t>(((byte & 0x1F) << 6) | (next & 0x3F));
        i += 2;
        continue;
      }
    }
    char32_t c = 0;
    const size_t length = decodeUtf8(bytes.substr(i), c);
    if (length == 0) {
      *to++ = byte;
      ++i;
    } else if (c < 0x10000) {
      *to++ = static_cast<char16_t>(c);
      i += length;
    } else {
      *to++ = static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10));
      *to++ = static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF));
      i += length;
    }
  }
  out.resize(static_cast<size_t>(to - begin));
  return out;
}

bool widenAscii(std::string_view bytes, char16_t* out) {
  size_t i = 0;
#ifdef __SSE2__
  // Sixteen bytes at a time: a path or an address is mostly such runs.
  const __m128i zero = _mm_setzero_si128();
  for (; i + 16 <= bytes.size(); i += 16) {
    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes.data() + i));
    if (_mm_movemask_epi8(v) != 0) return false;
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i), _mm_unpacklo_epi8(v, zero));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i + 8), _mm_unpackhi_epi8(v, zero));
  }
#endif
  for (; i < bytes.size(); ++i) {
    const auto byte = static_cast<unsigned char>(bytes[i]);
    if (byte >= 0x80) return false;
    out[i] = byte;
  }
  return true;
}

}  // namespace brimlow::platform
