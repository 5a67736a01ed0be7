#include "data/crLfFileStream.h"

#include <stdexcept>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace brimlow {

namespace {

// Where the first line break from `from` on stands that is not half of a CR
// LF pair inside `bytes`: a LF without its CR, or a CR without its LF (also
// one at the very end, whose LF may start the next block); the size when
// there is none.  The byte before `from` is taken as no CR.
size_t FindLoneBreak(std::string_view bytes, size_t from) {
  size_t at = from;
  bool afterCr = false;
#ifdef __SSE2__
  // The serializer's own lines are all CR LF: sixteen bytes at a time are
  // checked for a CR before every LF and a LF after every CR.
  const __m128i cr = _mm_set1_epi8('\r');
  const __m128i lf = _mm_set1_epi8('\n');
  for (; at + 16 < bytes.size(); at += 16) {
    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes.data() + at));
    const unsigned crs = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(v, cr)));
    const unsigned lfs = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(v, lf)));
    const bool lastIsCr = (crs & 0x8000u) != 0;
    if (lfs != (((crs << 1) | unsigned{afterCr}) & 0xFFFFu)) break;
    if (lastIsCr && bytes[at + 16] != '\n') break;
    afterCr = lastIsCr;
  }
#endif
  for (; at < bytes.size(); ++at) {
    const char c = bytes[at];
    if (c == '\n' && !afterCr) return at;
    if (c == '\r' && (at + 1 == bytes.size() || bytes[at + 1] != '\n')) return at;
    afterCr = c == '\r';
  }
  return bytes.size();
}

}  // namespace

void TCrLfFileStream::setPosition(int64_t position) {
  if (position != FPosition) throw std::logic_error("the list file is written in order");
}

int64_t TCrLfFileStream::write(const void* bytes, int64_t count) {
  try {
    writeLines(std::string_view(static_cast<const char*>(bytes), static_cast<size_t>(count)));
  } catch (...) {
    if (!FFailure) FFailure = std::current_exception();
    throw;
  }
  FPosition += count;
  return count;
}

void TCrLfFileStream::finish() {
  if (FFailure) std::rethrow_exception(FFailure);
  if (!FAtLineStart) put("\r\n");
}

void TCrLfFileStream::put(std::string_view bytes) {
  if (bytes.empty()) return;
  FOs.writeAll(FFile, bytes, FTarget);
  FAtLineStart = bytes.back() == '\n';
}

void TCrLfFileStream::writeLines(std::string_view bytes) {
  if (bytes.empty()) return;
  size_t done = 0;
  if (FAfterCr && bytes.front() == '\n') done = 1;  // the LF of a CR LF cut by the block end
  FAfterCr = false;
  for (size_t at = FindLoneBreak(bytes, done); at < bytes.size(); at = FindLoneBreak(bytes, done)) {
    put(bytes.substr(done, at - done));
    put("\r\n");
    done = at + 1;
    FAfterCr = bytes[at] == '\r' && done == bytes.size();
  }
  put(bytes.substr(done));
}

}  // namespace brimlow
