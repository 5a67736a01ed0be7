#include "dom/codecs/stream.h"

#include <cstring>

namespace brimlow::codecs {

namespace {

int64_t writeInto(std::string& data, int64_t& position, const void* bytes, int64_t count) {
  if (count <= 0) return 0;
  const auto end = static_cast<size_t>(position + count);
  if (data.size() < end) data.resize(end);
  std::memcpy(data.data() + position, bytes, static_cast<size_t>(count));
  position += count;
  return count;
}

}  // namespace

int64_t TStringStream::write(const void* bytes, int64_t count) {
  return writeInto(FData, FPosition, bytes, count);
}

int64_t TWideStringStream::write(const void* bytes, int64_t count) {
  return writeInto(FBytes, FPosition, bytes, count);
}

std::u16string TWideStringStream::data() const {
  std::u16string text(FBytes.size() / 2, u'\0');
  for (size_t i = 0; i < text.size(); ++i) {
    const auto low = static_cast<unsigned char>(FBytes[2 * i]);
    const auto high = static_cast<unsigned char>(FBytes[2 * i + 1]);
    text[i] = static_cast<char16_t>(low | (high << 8));
  }
  return text;
}

}  // namespace brimlow::codecs
