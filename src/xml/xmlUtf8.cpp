#include "xml/xmlUtf8.h"

#include "platform/unicode.h"

#include <bit>
#include <cstring>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace brimlow::utf8 {

namespace {

// The first byte in [p, end) with its high bit set, or `end`.  Most text is
// ASCII, and most of a text's bytes are passed here many at a time.
const unsigned char* SkipAscii(const unsigned char* p, const unsigned char* end) {
#ifdef __SSE2__
  while (end - p >= 16) {
    const auto mask = static_cast<unsigned>(
        _mm_movemask_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p))));
    if (mask != 0) return p + std::countr_zero(mask);
    p += 16;
  }
#endif
  while (end - p >= 8) {
    uint64_t word;
    std::memcpy(&word, p, 8);
    word &= 0x8080808080808080ULL;
    static_assert(std::endian::native == std::endian::little, "the first byte is the lowest");
    if (word != 0) return p + std::countr_zero(word) / 8;
    p += 8;
  }
  while (p < end && *p < 0x80)
    ++p;
  return p;
}

// The first place in [p, end) from which ASCII and well-formed two-byte
// characters (lead bytes C2 to DF) no longer fill whole blocks of sixteen
// bytes, or `end`; always the first byte of a character.  Cyrillic text is
// such a mix.
const unsigned char* SkipAsciiAndTwoByte(const unsigned char* p, const unsigned char* end) {
#ifdef __SSE2__
  // A lead byte last in a block wants a continuation byte first in the next.
  unsigned carry = 0;
  while (end - p >= 16) {
    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
    const auto high = static_cast<unsigned>(_mm_movemask_epi8(v));
    if ((high | carry) == 0) {
      p += 16;
      continue;
    }
    // Signed, the continuation bytes 80 to BF are -128 to -65 and the lead
    // bytes C2 to DF are -62 to -33.
    const auto continuations =
        static_cast<unsigned>(_mm_movemask_epi8(_mm_cmplt_epi8(v, _mm_set1_epi8(-64))));
    const auto leads = static_cast<unsigned>(_mm_movemask_epi8(_mm_and_si128(
        _mm_cmpgt_epi8(v, _mm_set1_epi8(-63)), _mm_cmplt_epi8(v, _mm_set1_epi8(-32)))));
    const unsigned expected = ((leads << 1) | carry) & 0xFFFF;
    if (high != (continuations | leads) || continuations != expected) break;
    carry = leads >> 15;
    p += 16;
  }
  return p - carry;  // an unfinished character begins at its lead byte
#else
  (void)end;
  return p;
#endif
}

}  // namespace

bool IsAscii(std::string_view text) {
  const auto* p = reinterpret_cast<const unsigned char*>(text.data());
  return SkipAscii(p, p + text.size()) == p + text.size();
}

bool IsValid(std::string_view text) {
  const auto* p = reinterpret_cast<const unsigned char*>(text.data());
  const auto* end = p + text.size();
  for (;;) {
    p = SkipAsciiAndTwoByte(p, end);
    p = SkipAscii(p, end);
    // Two-byte characters, most of the rest of most texts, go in a row.
    while (end - p >= 2 && p[0] >= 0xC2 && p[0] <= 0xDF && (p[1] & 0xC0) == 0x80)
      p += 2;
    if (p == end) return true;
    const unsigned char b = *p;
    if (b < 0x80) continue;
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
  // No byte gives more than one unit, except a four-byte sequence, which
  // gives two: room for one unit per byte is enough.  The units are written
  // in place and the text cut to what was written.
  const std::size_t start = out.size();
  out.resize(start + text.size());
  char16_t* w = out.data() + start;
  const auto* p = reinterpret_cast<const unsigned char*>(text.data());
  const auto* end = p + text.size();
  while (p < end) {
#ifdef __SSE2__
    // Sixteen ASCII bytes become sixteen units at once.
    if (end - p >= 16) {
      const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
      if (_mm_movemask_epi8(v) == 0) {
        const __m128i zero = _mm_setzero_si128();
        _mm_storeu_si128(reinterpret_cast<__m128i*>(w), _mm_unpacklo_epi8(v, zero));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(w + 8), _mm_unpackhi_epi8(v, zero));
        p += 16;
        w += 16;
        continue;
      }
    }
#endif
    const unsigned char b = *p;
    if (b < 0xC0 || b >= 0xF8) {
      // ASCII, or a byte that cannot begin a sequence: its own value.
      *w++ = static_cast<char16_t>(b);
      ++p;
      continue;
    }
    const std::size_t length = b < 0xE0 ? 2 : b < 0xF0 ? 3 : 4;
    if (static_cast<std::size_t>(end - p) < length) {
      *w++ = static_cast<char16_t>(b);
      break;  // cut short: the rest is dropped
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
      *w++ = static_cast<char16_t>(b);
      ++p;
      continue;
    }
    // Characters beyond the 16-bit range travel as surrogate pairs; a value
    // beyond U+10FFFF names no character at all.  The overlong forms of the
    // character 0 stand as the replacement character too, as a character
    // reference to 0 does: a byte 0 in a text would end the document there
    // when the text is written and read again, and take the rest with it.
    if (value > 0x10FFFF || value == 0) value = kReplacement;
    if (value < 0x10000) {
      *w++ = static_cast<char16_t>(value);
    } else {
      const char32_t offset = value - 0x10000;
      *w++ = static_cast<char16_t>(0xD800 + (offset >> 10));
      *w++ = static_cast<char16_t>(0xDC00 + (offset & 0x3FF));
    }
    p += length;
  }
  out.resize(static_cast<std::size_t>(w - out.data()));
}

void AppendUtf8(char32_t c, std::string& out) {
  platform::appendUtf8(out, c);
}

}  // namespace brimlow::utf8
