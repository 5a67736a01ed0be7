#include "data/textLines.h"

#include <algorithm>
#include <cstring>

namespace brimlow {

namespace {

std::string_view UpToNul(std::string_view text) {
  const void* nul = std::memchr(text.data(), '\0', text.size());
  return nul ? text.substr(0, static_cast<size_t>(static_cast<const char*>(nul) - text.data()))
             : text;
}

}  // namespace

// Every LF follows a CR and every CR is followed by an LF exactly when each
// byte is an LF just where the byte before it is a CR.  One branch-free pass
// over neighbours keeps this fast on lists of many megabytes.
bool HasCrLfLines(std::string_view text) {
  if (text.empty()) return true;
  if (text.size() < 2 || text.substr(text.size() - 2) != "\r\n" || text.front() == '\n')
    return false;
  const auto* bytes = reinterpret_cast<const unsigned char*>(text.data());
  unsigned char mismatch = 0;
  for (size_t i = 1; i < text.size(); ++i)
    mismatch |= static_cast<unsigned char>((bytes[i] == '\n') != (bytes[i - 1] == '\r'));
  return mismatch == 0;
}

std::string ToCrLfLines(std::string_view text) {
  text = UpToNul(text);
  // Each line break grows by one byte at most, and a last line without one
  // gains two: reserving that much once keeps a large text from being
  // copied as it grows.
  const auto breaks =
      std::count(text.begin(), text.end(), '\n') + std::count(text.begin(), text.end(), '\r');
  std::string lines;
  lines.reserve(text.size() + static_cast<size_t>(breaks) + 2);
  size_t start = 0;
  while (start < text.size()) {
    const size_t end = text.find_first_of("\r\n", start);
    if (end == std::string_view::npos) {
      lines.append(text.substr(start)).append("\r\n");
      break;
    }
    lines.append(text.substr(start, end - start)).append("\r\n");
    start = end + 1;
    if (text[end] == '\r' && start < text.size() && text[start] == '\n') ++start;
  }
  return lines;
}

void MakeCrLfLines(std::string& text) {
  const size_t length = UpToNul(text).size();
  if (HasCrLfLines(std::string_view(text).substr(0, length)))
    text.resize(length);
  else
    text = ToCrLfLines(std::string_view(text));
}

}  // namespace brimlow
