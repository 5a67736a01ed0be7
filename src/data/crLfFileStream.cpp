#include "data/crLfFileStream.h"

#include <cstring>
#include <stdexcept>

namespace brimlow {

namespace {

const char* Find(const char* from, const char* stop, char c) {
  const void* found = std::memchr(from, c, static_cast<size_t>(stop - from));
  return found ? static_cast<const char*>(found) : stop;
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
  // Line ends are rare: the scan between them runs at memchr speed, each
  // kind searched for again only once passed.
  const char* const begin = bytes.data();
  const char* const stop = begin + bytes.size();
  const char* cr = Find(begin + done, stop, '\r');
  const char* lf = Find(begin + done, stop, '\n');
  while (cr != stop || lf != stop) {
    if (lf < cr) {
      // A LF on its own; one after a CR is passed with its CR below.
      put(std::string_view(begin + done, static_cast<size_t>(lf - begin) - done));
      put("\r\n");
      done = static_cast<size_t>(lf - begin) + 1;
      lf = Find(lf + 1, stop, '\n');
      continue;
    }
    if (cr + 1 < stop && cr[1] == '\n') {
      lf = Find(cr + 2, stop, '\n');
      cr = Find(cr + 2, stop, '\r');
      continue;
    }
    // A CR on its own, or one whose LF may start the next block.
    put(std::string_view(begin + done, static_cast<size_t>(cr - begin) - done));
    put("\r\n");
    done = static_cast<size_t>(cr - begin) + 1;
    FAfterCr = cr + 1 == stop;
    cr = Find(cr + 1, stop, '\r');
  }
  put(bytes.substr(done));
}

}  // namespace brimlow
