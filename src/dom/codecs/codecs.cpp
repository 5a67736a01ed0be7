#include "dom/codecs/codecs.h"

#include "dom/codecs/codecErrors.h"

namespace brimlow::codecs {

namespace {

[[noreturn]] void throwNotUnicode(char32_t codePoint) {
  throw EConvertError("$" + upperHex(codePoint) + " is not a valid Unicode code point");
}

[[noreturn]] void throwNoEquivalent(char32_t codePoint, const char* encoding) {
  throw EConvertError("Unicode code point $" + upperHex(codePoint) + " has no equivalent in " +
                      encoding);
}

// Splits a code point into UTF-16 code units; their count.
int toUtf16(char32_t codePoint, char16_t units[2]) {
  if (codePoint > 0x10FFFF) throwNotUnicode(codePoint);
  if (codePoint < 0x10000) {
    units[0] = static_cast<char16_t>(codePoint);
    return 1;
  }
  const char32_t offset = codePoint - 0x10000;
  units[0] = static_cast<char16_t>(0xD800 + (offset >> 10));
  units[1] = static_cast<char16_t>(0xDC00 + (offset & 0x3FF));
  return 2;
}

int encodeUtf16(char32_t codePoint, bool bigEndian, uint8_t out[4]) {
  char16_t units[2];
  const int count = toUtf16(codePoint, units);
  for (int i = 0; i < count; ++i) {
    const auto high = static_cast<uint8_t>(units[i] >> 8);
    const auto low = static_cast<uint8_t>(units[i] & 0xFF);
    out[2 * i] = bigEndian ? high : low;
    out[2 * i + 1] = bigEndian ? low : high;
  }
  return 2 * count;
}

constexpr const char* utf8Names[] = {"UTF-8"};
constexpr TEncodingDescription utf8Description(utf8Names, "UTF-8", 106, "");
constexpr const char* utf16BENames[] = {"UTF-16BE"};
constexpr TEncodingDescription utf16BEDescription(utf16BENames, "UTF-16BE", 1013, "UTF-16BE");
constexpr const char* utf16LENames[] = {"UTF-16LE"};
constexpr TEncodingDescription utf16LEDescription(utf16LENames, "UTF-16LE", 1014, "UTF-16LE");
constexpr const char* usAsciiNames[] = {
    "ANSI_X3.4-1968", "iso-ir-6",  "ANSI_X3.4-1986", "ISO_646.irv:1991",
    "ASCII",          "ISO646-US", "US-ASCII",       "us",
    "IBM367",         "cp367",     "csASCII"};
constexpr TEncodingDescription usAsciiDescription(usAsciiNames, "ANSI_X3.4-1968", 3, "US-ASCII");

template <class Codec>
std::unique_ptr<TCustomCodec> create() {
  return std::make_unique<Codec>();
}

}  // namespace

const TCodecClassInfo TUtf8Codec::classInfo = {"TUtf8Codec", create<TUtf8Codec>, &utf8Description};
const TCodecClassInfo TUtf16BECodec::classInfo = {"TUtf16BECodec", create<TUtf16BECodec>,
                                                  &utf16BEDescription};
const TCodecClassInfo TUtf16LECodec::classInfo = {"TUtf16LECodec", create<TUtf16LECodec>,
                                                  &utf16LEDescription};
const TCodecClassInfo TUsAsciiCodec::classInfo = {"TUsAsciiCodec", create<TUsAsciiCodec>,
                                                  &usAsciiDescription};

std::string_view TEncodingDescription::name(int index) const {
  if (index < 0 || index >= nameCount()) throw EAccessViolation("Index out of range");
  return FNames[static_cast<size_t>(index)];
}

int TCustomCodec::emit(const uint8_t* bytes, int count) {
  if (FOnByteOutput) FOnByteOutput(FByteOutputContext, bytes, count);
  return count;
}

std::string TCustomCodec::encodeString(std::u16string_view text) {
  std::string bytes;
  const TByteOutputEvent savedEvent = FOnByteOutput;
  void* const savedContext = FByteOutputContext;
  setByteOutput(
      [](void* context, const uint8_t* data, int count) {
        static_cast<std::string*>(context)->append(reinterpret_cast<const char*>(data),
                                                   static_cast<size_t>(count));
      },
      &bytes);
  try {
    for (char16_t unit : text)
      encodeCharacter(unit);
  } catch (...) {
    setByteOutput(savedEvent, savedContext);
    throw;
  }
  setByteOutput(savedEvent, savedContext);
  return bytes;
}

int TCustomCodec::writeCharacter(char32_t codePoint) {
  if (codePoint != U'\n') return encodeCharacter(codePoint);
  switch (FLineFeedOption) {
    case lwLF: return encodeCharacter(U'\n');
    case lwCR: return encodeCharacter(U'\r');
    case lwCRLF: {
      const int first = encodeCharacter(U'\r');
      return first + encodeCharacter(U'\n');
    }
  }
  return 0;
}

int encodeUtf8(char32_t c, uint8_t out[4]) {
  if (c < 0x80) {
    out[0] = static_cast<uint8_t>(c);
    return 1;
  }
  if (c < 0x800) {
    out[0] = static_cast<uint8_t>(0xC0 + (c >> 6));
    out[1] = static_cast<uint8_t>(0x80 + (c & 0x3F));
    return 2;
  }
  if (c <= 0xFFFF) {
    out[0] = static_cast<uint8_t>(0xE0 + (c >> 12));
    out[1] = static_cast<uint8_t>(0x80 + ((c >> 6) & 0x3F));
    out[2] = static_cast<uint8_t>(0x80 + (c & 0x3F));
    return 3;
  }
  if (c <= 0x1FFFFF) {
    out[0] = static_cast<uint8_t>(0xF0 + (c >> 18));
    out[1] = static_cast<uint8_t>(0x80 + ((c >> 12) & 0x3F));
    out[2] = static_cast<uint8_t>(0x80 + ((c >> 6) & 0x3F));
    out[3] = static_cast<uint8_t>(0x80 + (c & 0x3F));
    return 4;
  }
  throwNotUnicode(c);
}

int TUtf8Codec::encodeCharacter(char32_t codePoint) {
  uint8_t bytes[4];
  return emit(bytes, encodeUtf8(codePoint, bytes));
}

int TUtf8Codec::writeCharacter(char32_t codePoint) {
  if (codePoint != U'\n') return encodeCharacter(codePoint);
  static constexpr uint8_t crlf[] = {0x0D, 0x0A};
  switch (lineFeedOption()) {
    case lwLF: return emit(crlf + 1, 1);
    case lwCR: return emit(crlf, 1);
    case lwCRLF: return emit(crlf, 2);
  }
  return 0;
}

int TUtf16BECodec::encodeCharacter(char32_t codePoint) {
  uint8_t bytes[4];
  return emit(bytes, encodeUtf16(codePoint, true, bytes));
}

int TUtf16LECodec::encodeCharacter(char32_t codePoint) {
  uint8_t bytes[4];
  return emit(bytes, encodeUtf16(codePoint, false, bytes));
}

int TUsAsciiCodec::encodeCharacter(char32_t codePoint) {
  if (codePoint >= 0x80) throwNoEquivalent(codePoint, "US-ASCII");
  const auto byte = static_cast<uint8_t>(codePoint);
  return emit(&byte, 1);
}

}  // namespace brimlow::codecs
