#pragma once

// Byte classes of the XML reader.  Only tab, line feed, carriage return and
// space are white space; names are read up to a terminator set that depends
// on where the name stands.

#include <array>
#include <cstring>
#include <string>
#include <string_view>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

#include "xml/xmlNameValue.h"

namespace brimlow::xmlchars {

inline bool IsWhite(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

// A set of bytes, built at compile time from a list of characters.
class ByteSet {
 public:
  consteval ByteSet(std::string_view members, bool withWhite) : FBits{} {
    for (const char c : members)
      FBits[static_cast<unsigned char>(c)] = true;
    if (withWhite) {
      for (const char c : {' ', '\t', '\n', '\r'})
        FBits[static_cast<unsigned char>(c)] = true;
    }
    FBits[0] = true;  // the end of a text always terminates
    FBits[static_cast<unsigned char>('>')] = true;
  }
  bool Contains(char c) const { return FBits[static_cast<unsigned char>(c)]; }

 private:
  std::array<bool, 256> FBits;
};

// ":", letters, "_" and the bytes 192-214, 216-246, 248-255.
inline bool IsNameStart(char c) {
  const auto b = static_cast<unsigned char>(c);
  if (b >= 'a' && b <= 'z') return true;
  if (b >= 'A' && b <= 'Z') return true;
  if (b == ':' || b == '_') return true;
  return b >= 192 && b != 215 && b != 247;
}

// The end of the name at `p`: its first character is taken whatever it is,
// except a byte 0 or ">", which end every name; then every character up to
// the first terminator.
inline TPosition NameEnd(TPosition p, const ByteSet& terminators) {
  if (*p == 0 || *p == '>') return p;
  ++p;
  while (!terminators.Contains(*p))
    ++p;
  return p;
}

// Terminator sets by place.
inline constexpr ByteSet kTagNameEnd{"/", true};
inline constexpr ByteSet kAttrNameEnd{"/=", true};
inline constexpr ByteSet kPITargetEnd{"?", true};

// Every white-space character becomes a space.
inline void FoldWhitespace(std::string& text) {
  for (char& c : text) {
    if (IsWhite(c)) c = ' ';
  }
}

// True when [from, to) holds white space only.
inline bool IsAllWhite(const char* from, const char* to) {
  for (; from < to; ++from) {
    if (!IsWhite(*from)) return false;
  }
  return true;
}

#ifdef __SSE2__
// Whether one of the sixteen bytes at `p` is 20 hexadecimal or less: white
// space, a space or a control character.
inline bool HasByteUpToSpace(const char* p) {
  const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
  return _mm_movemask_epi8(_mm_cmpeq_epi8(_mm_min_epu8(v, _mm_set1_epi8(0x20)), v)) != 0;
}
#endif

// TrimWhitespace, then FoldWhitespace with packing: no white space at either
// end, and each inner run of it one space.
inline void TrimAndPackWhitespace(std::string& text) {
  // Most texts need nothing: no white space at either end, and inside only
  // single spaces.  Find the first place that needs a change, if any.
  const std::size_t size = text.size();
  std::size_t start = 0;
  if (size > 0 && !IsWhite(text[0]) && !IsWhite(text[size - 1])) {
    while (start < size) {
#ifdef __SSE2__
      // Sixteen bytes at a time while none is a space or below it.
      while (start + 16 <= size && !HasByteUpToSpace(text.data() + start))
        start += 16;
      if (start >= size) break;
#endif
      const char c = text[start];
      if (static_cast<unsigned char>(c) > ' ') {
        ++start;
      } else if (c == ' ' && !IsWhite(text[start + 1])) {
        start += 2;  // a lone space, and the character after it is kept
      } else if (!IsWhite(c)) {
        ++start;
      } else {
        break;
      }
    }
    if (start >= size) return;
  }
  // Packed from the first change on; what lies before it stays as it is.
  std::size_t write = start;
  std::size_t read = start;
  bool pendingSpace = false;
  for (; read < size; ++read) {
    const char c = text[read];
    if (IsWhite(c)) {
      pendingSpace = write > 0;
    } else {
      if (pendingSpace) text[write++] = ' ';
      pendingSpace = false;
      text[write++] = c;
    }
  }
  text.resize(write);
}

inline bool StartsWith(TPosition p, std::string_view prefix) {
  return std::strncmp(p, prefix.data(), prefix.size()) == 0;
}

}  // namespace brimlow::xmlchars
