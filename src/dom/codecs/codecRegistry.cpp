#include "dom/codecs/codecRegistry.h"

#include <algorithm>

namespace brimlow::codecs {

namespace {

// Only the encodings this program writes are registered; every other name
// answers none.
constexpr TCodecClass registry[] = {
    &TUtf8Codec::classInfo,
    &TUtf16BECodec::classInfo,
    &TUtf16LECodec::classInfo,
    &TUsAsciiCodec::classInfo,
};

char asciiUpper(char c) {
  return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

bool equalIgnoringAsciiCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return asciiUpper(x) == asciiUpper(y);
         });
}

}  // namespace

std::span<const TCodecClass> registeredCodecClasses() {
  return registry;
}

TCodecClass findCodecClass(std::u16string_view encodingName) {
  if (encodingName.empty()) return nullptr;
  const std::string name = TUsAsciiCodec().encodeString(encodingName);
  for (TCodecClass codecClass : registry) {
    const TEncodingDescription* description = codecClass->description;
    if (!description) continue;
    for (int i = 0; i < description->nameCount(); ++i)
      if (equalIgnoringAsciiCase(name, description->name(i))) return codecClass;
  }
  return nullptr;
}

std::string_view byteOrderMark(TCodecClass codecClass, TByteOrderMarkSet marks) {
  if (codecClass == &TUtf8Codec::classInfo && marks.contains(bomUTF8)) return "\xEF\xBB\xBF";
  if (codecClass == &TUtf16BECodec::classInfo && marks.contains(bomUTF16)) return "\xFE\xFF";
  if (codecClass == &TUtf16LECodec::classInfo && marks.contains(bomUTF16)) return "\xFF\xFE";
  return {};
}

}  // namespace brimlow::codecs
