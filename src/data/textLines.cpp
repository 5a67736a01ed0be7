#include "data/textLines.h"

#include <bit>
#include <cstdint>
#include <cstring>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace brimlow {

namespace {

// Lists of many megabytes are counted sixteen bytes at a time: each lane of
// three accumulators counts the bytes of its place, up to 255 blocks, before
// the lanes are summed.  The marker's places are found by its first and last
// byte together, and only there compared whole.  With `toNul`, counting
// stops at the first NUL, which then ends the text.
TLineEnds Count(std::string_view text, bool toNul, std::string_view marker) {
  TLineEnds counts;
  const char* p = text.data();
  const char* const end = p + text.size();
  const size_t reach = marker.size() > 1 ? marker.size() - 1 : 1;  // bytes read past a block
  const auto markerAt = [&](const char* at) {
    return static_cast<size_t>(end - at) >= marker.size() &&
           std::memcmp(at, marker.data(), marker.size()) == 0;
  };
#ifdef __SSE2__
  const __m128i lf = _mm_set1_epi8('\n');
  const __m128i cr = _mm_set1_epi8('\r');
  const __m128i zero = _mm_setzero_si128();
  const __m128i first = _mm_set1_epi8(marker.empty() ? '\0' : marker.front());
  const __m128i last = _mm_set1_epi8(marker.empty() ? '\0' : marker.back());
  const auto total = [&zero](__m128i lanes) {
    const __m128i sums = _mm_sad_epu8(lanes, zero);
    return static_cast<size_t>(_mm_cvtsi128_si32(sums)) +
           static_cast<size_t>(_mm_cvtsi128_si32(_mm_unpackhi_epi64(sums, sums)));
  };
  const auto load = [](const char* at) {
    return _mm_loadu_si128(reinterpret_cast<const __m128i*>(at));
  };
  while (static_cast<size_t>(end - p) >= 16 + reach) {
    __m128i feeds = zero;
    __m128i returns = zero;
    __m128i pairs = zero;
    __m128i nuls = zero;
    size_t markers = 0;
    const char* const chunk = p;
    for (int blocks = 0; blocks < 255 && static_cast<size_t>(end - p) >= 16 + reach;
         ++blocks, p += 16) {
      const __m128i here = load(p);
      const __m128i isReturn = _mm_cmpeq_epi8(here, cr);
      // A match is all ones, minus one: subtracting it adds one.
      feeds = _mm_sub_epi8(feeds, _mm_cmpeq_epi8(here, lf));
      returns = _mm_sub_epi8(returns, isReturn);
      pairs = _mm_sub_epi8(pairs, _mm_and_si128(isReturn, _mm_cmpeq_epi8(load(p + 1), lf)));
      nuls = _mm_or_si128(nuls, _mm_cmpeq_epi8(here, zero));
      if (marker.empty()) continue;
      auto candidates = static_cast<unsigned>(_mm_movemask_epi8(_mm_and_si128(
          _mm_cmpeq_epi8(here, first), _mm_cmpeq_epi8(load(p + marker.size() - 1), last))));
      for (; candidates != 0; candidates &= candidates - 1)
        markers += markerAt(p + std::countr_zero(candidates)) ? 1 : 0;
    }
    if (toNul && _mm_movemask_epi8(nuls) != 0) {
      p = chunk;  // the chunk with the NUL is counted again byte by byte
      break;
    }
    counts.lineFeeds += total(feeds);
    counts.returns += total(returns);
    counts.pairs += total(pairs);
    counts.markers += markers;
  }
#endif
  for (; p < end && !(toNul && *p == 0); ++p) {
    if (*p == '\n') ++counts.lineFeeds;
    if (*p == '\r') {
      ++counts.returns;
      if (p + 1 < end && p[1] == '\n') ++counts.pairs;
    }
    if (!marker.empty() && markerAt(p)) ++counts.markers;
  }
  counts.length = static_cast<size_t>(p - text.data());
  return counts;
}

bool IsCrLfForm(std::string_view text, const TLineEnds& counts) {
  if (text.empty()) return true;
  return text.size() >= 2 && text.substr(text.size() - 2) == "\r\n" &&
         counts.lineFeeds == counts.pairs && counts.returns == counts.pairs;
}

// The first CR or LF in [p, end), or `end`.
const char* FindBreak(const char* p, const char* end) {
#ifdef __SSE2__
  for (; end - p >= 16; p += 16) {
    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
    const auto breaks = static_cast<unsigned>(_mm_movemask_epi8(_mm_or_si128(
        _mm_cmpeq_epi8(v, _mm_set1_epi8('\n')), _mm_cmpeq_epi8(v, _mm_set1_epi8('\r')))));
    if (breaks != 0) return p + std::countr_zero(breaks);
  }
#endif
  while (p < end && *p != '\n' && *p != '\r')
    ++p;
  return p;
}

}  // namespace

// Every LF follows a CR and every CR is followed by an LF exactly when the
// text holds as many CR LF pairs as CRs and as LFs.
bool HasCrLfLines(std::string_view text) {
  if (text.size() >= 2 && text.substr(text.size() - 2) != "\r\n") return false;
  return IsCrLfForm(text, Count(text, false, {}));
}

namespace {

bool EndsOpen(std::string_view text) {
  return !text.empty() && text.back() != '\n' && text.back() != '\r';
}

// The length of the CR LF form of `text`, which has `counts`: each lone CR or
// LF grows by one byte, and a last line without an end gains two.
size_t CrLfLength(std::string_view text, const TLineEnds& counts) {
  return text.size() + (counts.lineFeeds - counts.pairs) + (counts.returns - counts.pairs) +
         (EndsOpen(text) ? 2 : 0);
}

// The CR LF form of `text`, which holds no NUL and has `counts`.
std::string CrLfLinesOf(std::string_view text, const TLineEnds& counts) {
  // The result is sized once and filled in one pass.
  const bool openLastLine = EndsOpen(text);
  const size_t size = CrLfLength(text, counts);
  // Sixteen bytes are copied at a time, up to a line end among them; the
  // last copy may reach sixteen bytes past the end, which are cut off again.
  std::string lines(size + 16, '\0');
  char* out = lines.data();
  const char* p = text.data();
  const char* const end = p + text.size();
#ifdef __SSE2__
  while (end - p >= 16) {
    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out), v);
    const auto breaks = static_cast<unsigned>(_mm_movemask_epi8(_mm_or_si128(
        _mm_cmpeq_epi8(v, _mm_set1_epi8('\n')), _mm_cmpeq_epi8(v, _mm_set1_epi8('\r')))));
    if (breaks == 0) {
      p += 16;
      out += 16;
      continue;
    }
    const int at = std::countr_zero(breaks);
    out += at;
    p += at;
    p += p[0] == '\r' && p + 1 < end && p[1] == '\n' ? 2 : 1;
    *out++ = '\r';
    *out++ = '\n';
  }
#endif
  while (p < end) {
    const char* lineEnd = FindBreak(p, end);
    std::memcpy(out, p, static_cast<size_t>(lineEnd - p));
    out += lineEnd - p;
    if (lineEnd == end) break;
    // CR LF, a lone CR and a lone LF each end one line.
    p = lineEnd + (lineEnd[0] == '\r' && lineEnd + 1 < end && lineEnd[1] == '\n' ? 2 : 1);
    *out++ = '\r';
    *out++ = '\n';
  }
  if (openLastLine) {
    *out++ = '\r';
    *out++ = '\n';
  }
  lines.resize(size);
  return lines;
}

// The last CR or LF in [begin, end), or `begin - 1` when there is none.
const char* FindBreakBackward(const char* begin, const char* end) {
#ifdef __SSE2__
  for (; end - begin >= 16; end -= 16) {
    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(end - 16));
    const auto breaks = static_cast<unsigned>(_mm_movemask_epi8(_mm_or_si128(
        _mm_cmpeq_epi8(v, _mm_set1_epi8('\n')), _mm_cmpeq_epi8(v, _mm_set1_epi8('\r')))));
    if (breaks != 0) return end - 16 + (31 - std::countl_zero(breaks));
  }
#endif
  const char* p = end - 1;
  while (p >= begin && *p != '\n' && *p != '\r')
    --p;
  return p;
}

// The CR LF form of the first `length` bytes of `text` (no NUL among them),
// made in the storage `text` already has, which holds `size` bytes.  The text
// is moved from its end backward: every byte goes to the same place or a
// later one, after it was read.
void MakeCrLfLinesInPlace(std::string& text, size_t length, size_t size) {
  const bool openLastLine = EndsOpen(std::string_view(text).substr(0, length));
  text.resize(size);
  char* const begin = text.data();
  char* out = begin + size;
  if (openLastLine) {
    *--out = '\n';
    *--out = '\r';
  }
  const char* end = begin + length;
  while (end > begin) {
    const char* const lineEnd = FindBreakBackward(begin, end);
    const char* const lineStart = lineEnd + 1;
    out -= end - lineStart;
    std::memmove(out, lineStart, static_cast<size_t>(end - lineStart));
    if (lineEnd < begin) break;
    end = lineEnd[0] == '\n' && lineEnd > begin && lineEnd[-1] == '\r' ? lineEnd - 1 : lineEnd;
    *--out = '\n';
    *--out = '\r';
  }
}

}  // namespace

TLineEnds CountLineEnds(std::string_view text, std::string_view marker) {
  return Count(text, true, marker);
}

std::string ToCrLfLines(std::string_view text) {
  const TLineEnds counts = CountLineEnds(text);
  return CrLfLinesOf(text.substr(0, counts.length), counts);
}

void MakeCrLfLines(std::string& text) {
  MakeCrLfLines(text, CountLineEnds(text));
}

void MakeCrLfLines(std::string& text, const TLineEnds& counts) {
  // The count tells whether anything changes.
  const std::string_view lines = std::string_view(text).substr(0, counts.length);
  if (IsCrLfForm(lines, counts)) {
    text.resize(lines.size());
    return;
  }
  // Where the text has room for its longer form, it grows where it is, so a
  // large text is not held twice.
  const size_t size = CrLfLength(lines, counts);
  if (size <= text.capacity())
    MakeCrLfLinesInPlace(text, lines.size(), size);
  else
    text = CrLfLinesOf(lines, counts);
}

}  // namespace brimlow
