#include "platform/temporaryName.h"

#include <charconv>

namespace brimlow::platform {

namespace {

// Consumes a run of decimal digits that fits 64 bits; none when there is
// none, it overflows, or it has a leading zero that the writer never puts.
std::optional<uint64_t> takeNumber(std::string_view& text) {
  uint64_t value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  const auto length = static_cast<size_t>(end - text.data());
  if (error != std::errc() || length == 0 || (length > 1 && text.front() == '0'))
    return std::nullopt;
  text.remove_prefix(length);
  return value;
}

}  // namespace

std::string temporaryPrefix(std::string_view targetName) {
  return "." + std::string(targetName) + ".";
}

std::string temporaryName(std::string_view targetName, uint64_t process, unsigned n,
                          std::string_view ending) {
  return temporaryPrefix(targetName) + std::to_string(process) + "-" + std::to_string(n) +
         std::string(ending);
}

std::optional<uint64_t> temporaryOwner(std::string_view rest) {
  const std::optional<uint64_t> process = takeNumber(rest);
  if (!process || !rest.starts_with('-')) return std::nullopt;
  rest.remove_prefix(1);
  if (!takeNumber(rest) || rest != kTemporaryEnding) return std::nullopt;
  return process;
}

}  // namespace brimlow::platform
