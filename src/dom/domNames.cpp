#include "dom/domNames.h"

namespace brimlow {

namespace {

bool isNameStartChar(char16_t c) {
  return c == u':' || (c >= u'A' && c <= u'Z') || c == u'_' || (c >= u'a' && c <= u'z') ||
         (c >= 0xC0 && c <= 0xD6) || (c >= 0xD8 && c <= 0xF6) || (c >= 0xF8 && c <= 0x2FF) ||
         (c >= 0x370 && c <= 0x37D) || (c >= 0x37F && c <= 0x1FFF) ||
         (c >= 0x200C && c <= 0x200D) || (c >= 0x2070 && c <= 0x218F) ||
         (c >= 0x2C00 && c <= 0x2FEF) || (c >= 0x3001 && c <= 0xD7FF) ||
         (c >= 0xF900 && c <= 0xFDCF) || (c >= 0xFDF0 && c <= 0xFFFD);
}

bool isNameChar(char16_t c) {
  return isNameStartChar(c) || c == u'-' || c == u'.' || (c >= u'0' && c <= u'9') || c == 0xB7 ||
         (c >= 0x300 && c <= 0x36F) || (c >= 0x203F && c <= 0x2040);
}

bool isHighSurrogate(char16_t c) {
  return c >= 0xD800 && c <= 0xDBFF;
}
bool isLowSurrogate(char16_t c) {
  return c >= 0xDC00 && c <= 0xDFFF;
}

}  // namespace

bool isXmlName(std::u16string_view name) {
  if (name.empty()) return false;
  for (size_t i = 0; i < name.size(); ++i) {
    const char16_t c = name[i];
    if (isHighSurrogate(c)) {
      if (i + 1 >= name.size() || !isLowSurrogate(name[i + 1])) return false;
      ++i;
      continue;
    }
    if (!(i == 0 ? isNameStartChar(c) : isNameChar(c))) return false;
  }
  return true;
}

}  // namespace brimlow
