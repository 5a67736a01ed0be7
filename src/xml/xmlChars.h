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
// The white space among the sixteen bytes at `p`, a bit for each.
inline unsigned WhiteMask(const char* p) {
  const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
  const __m128i white = _mm_or_si128(
      _mm_or_si128(_mm_cmpeq_epi8(v, _mm_set1_epi8(' ')), _mm_cmpeq_epi8(v, _mm_set1_epi8('\t'))),
      _mm_or_si128(_mm_cmpeq_epi8(v, _mm_set1_epi8('\n')), _mm_cmpeq_epi8(v, _mm_set1_epi8('\r'))));
  return static_cast<unsigned>(_mm_movemask_epi8(white));
}

// Whether the sixteen bytes at `p` stay as they are when packed: their only
// white space is single spaces, none followed by more white space.  The byte
// after the sixteen is read too.
inline bool PacksToItself(const char* p) {
  const unsigned white = WhiteMask(p);
  if (white == 0) return true;
  const unsigned spaces = static_cast<unsigned>(_mm_movemask_epi8(
      _mm_cmpeq_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p)), _mm_set1_epi8(' '))));
  return white == spaces && (spaces & WhiteMask(p + 1)) == 0;
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
#ifdef __SSE2__
    // A short text is looked at whole: its storage always holds sixteen
    // bytes (a string keeps room for fifteen and its terminating zero), of
    // which those past its end are left out.
    if (size < 16 && text.capacity() >= 15) {
      const unsigned inside = (1u << size) - 1;
      const unsigned white = WhiteMask(text.data()) & inside;
      const unsigned spaces = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(
                                  _mm_loadu_si128(reinterpret_cast<const __m128i*>(text.data())),
                                  _mm_set1_epi8(' ')))) &
                              inside;
      if (white == spaces && (spaces & (spaces >> 1)) == 0) return;
    }
    // Sixteen bytes at a time, the last sixteen together with those before;
    // the string's terminating zero follows the last byte.
    if (size >= 16) {
      while (start + 16 <= size && PacksToItself(text.data() + start))
        start += 16;
      if (start + 16 > size && PacksToItself(text.data() + size - 16)) return;
    }
#endif
    while (start < size) {
      const char c = text[start];
      if (c == ' ' && !IsWhite(text[start + 1])) {
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
  while (read < size) {
#ifdef __SSE2__
    // Sixteen bytes that begin with a character and pack to themselves move
    // down at once.  The byte after them must be a character of the text
    // too: a space at their end is then an inner one.
    if (read + 16 < size && !IsWhite(text[read]) && PacksToItself(text.data() + read)) {
      if (pendingSpace) text[write++] = ' ';
      pendingSpace = false;
      const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text.data() + read));
      _mm_storeu_si128(reinterpret_cast<__m128i*>(text.data() + write), block);
      write += 16;
      read += 16;
      continue;
    }
#endif
    // Otherwise one byte at a time, up to the end of the next run of white
    // space.
    bool afterWhite = false;
    for (; read < size; ++read) {
      const char c = text[read];
      if (IsWhite(c)) {
        pendingSpace = write > 0;
        afterWhite = true;
        continue;
      }
      if (afterWhite) break;
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
