// Text parts, references in text, and the translation of text into the
// program's code page.
#include "xml/xmlTokenizer.h"

#include <algorithm>
#include <bit>
#include <cstring>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

#include "platform/platform.h"
#include "xml/xmlChars.h"
#include "xml/xmlUtf8.h"

namespace brimlow {

namespace {

// The first "<" or "&" in [p, end), or `end`.  Many bytes are looked at
// at a time; text is the bulk of a document.
TPosition FindTextStop(TPosition p, TPosition end) {
  constexpr uint64_t kOnes = 0x0101010101010101ULL;
  constexpr uint64_t kHighs = 0x8080808080808080ULL;
  constexpr uint64_t kLess = kOnes * '<';
  constexpr uint64_t kAmpersand = kOnes * '&';
  const auto hasZeroByte = [](uint64_t v) { return ((v - kOnes) & ~v & kHighs) != 0; };
#ifdef __SSE2__
  // Sixteen bytes at a time, then eight, then one.
  while (end - p >= 16) {
    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
    const unsigned stops = static_cast<unsigned>(_mm_movemask_epi8(_mm_or_si128(
        _mm_cmpeq_epi8(v, _mm_set1_epi8('<')), _mm_cmpeq_epi8(v, _mm_set1_epi8('&')))));
    if (stops != 0) return p + std::countr_zero(stops);
    p += 16;
  }
#endif
  while (end - p >= 8) {
    uint64_t word;
    std::memcpy(&word, p, 8);
    if (hasZeroByte(word ^ kLess) || hasZeroByte(word ^ kAmpersand)) break;
    p += 8;
  }
  while (p < end && *p != '<' && *p != '&')
    ++p;
  return p;
}

constexpr uint32_t kTooLarge = 0x110000;  // names no character

int DigitValue(char c, int base) {
  if (c >= '0' && c <= '9') return c - '0';
  if (base == 16 && c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (base == 16 && c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

}  // namespace

namespace xmlrefs {

// The number written in `digits`, which must be plain digits of the base and
// at least one of them; values too large for any character saturate.
bool ParseNumber(std::string_view digits, int base, uint32_t& value) {
  if (digits.empty()) return false;
  uint32_t result = 0;
  for (const char c : digits) {
    const int digit = DigitValue(c, base);
    if (digit < 0) return false;
    result = result >= kTooLarge ? kTooLarge : result * static_cast<uint32_t>(base) + digit;
  }
  value = result > kTooLarge ? kTooLarge : result;
  return true;
}

// The character of the predefined entity `name`, or 0.
char Predefined(std::string_view name) {
  if (name == "lt") return '<';
  if (name == "gt") return '>';
  if (name == "amp") return '&';
  if (name == "apos") return '\'';
  if (name == "quot") return '"';
  return 0;
}

}  // namespace xmlrefs

void TXmlTokenizer::AppendCharacter(uint32_t codePoint, bool forTranslation, std::string& out) {
  // The character 0, surrogates and numbers beyond U+10FFFF name no
  // character: they stand as the replacement character, which a single-byte
  // code page shows as its default character.
  if (codePoint == 0 || (codePoint >= 0xD800 && codePoint <= 0xDFFF) || codePoint > 0x10FFFF) {
    codePoint = utf8::kReplacement;
  }
  if (codePoint < 0x80) {
    out += static_cast<char>(codePoint);
    return;
  }
  if (forTranslation) {
    // Text that translation will still decode carries the character as UTF-8.
    utf8::AppendUtf8(codePoint, out);
    return;
  }
  FWide.clear();
  utf8::AppendUtf16(codePoint, FWide);
  AppendInCodePage(FWide, out);
}

void TXmlTokenizer::AppendInCodePage(std::u16string_view wide, std::string& out) {
  platform::Platform& os = platform::current();
  const size_t start = out.size();
  out += os.wideToAnsi(wide);
  // Under UTF-8 every character has its bytes.  Under another code page, one
  // it lacks became the default character, and the text no longer converts
  // back to what it was.  The replacement character stands for nothing the
  // document held, so it is not missed.
  if (FCharactersLost || FCodePage == 65001) return;
  const std::u16string back = os.ansiToWide(std::string_view(out).substr(start));
  FCharactersLost = !std::equal(wide.begin(), wide.end(), back.begin(), back.end(),
                                [](char16_t original, char16_t converted) {
                                  return original == converted || original == utf8::kReplacement;
                                });
}

void TXmlTokenizer::TranslateText(std::string_view text, std::string& out) {
  // With UTF-8 as the code page, well-formed text converts to itself (the
  // check passes ASCII at full speed); under any other code page ASCII does.
  if (!FUtf8 || (FCodePage == 65001 ? utf8::IsValid(text) : utf8::IsAscii(text))) {
    out.append(text);
    return;
  }
  FWide.clear();
  utf8::DecodeLenient(text, FWide);
  AppendInCodePage(FWide, out);
}

TPosition TXmlTokenizer::FindSemicolon(TPosition from) {
  // The first ";" found last time is still the first one for every later
  // position up to it, so each text is searched once from end to end.
  if (FNextSemicolon == nullptr || FNextSemicolon < from) {
    const void* found = std::memchr(from, ';', static_cast<std::size_t>(FTextEnd - from));
    FNextSemicolon = found ? static_cast<TPosition>(found) : FTextEnd;
  }
  return FNextSemicolon == FTextEnd ? nullptr : FNextSemicolon;
}

void TXmlTokenizer::ReadText() {
  FPartKind = TPartKind::Text;
  FPartContent.clear();
  TPosition p = FindTextStop(FPartStart, FTextEnd);
  // The white space between tags, most text parts of an indented document,
  // normalises to nothing: it is passed over without being copied.
  if (FNormalize && (*p == '<' || (*p == 0 && FEntityStack.Empty())) &&
      xmlchars::IsAllWhite(FPartStart, p)) {
    FPartEnd = p - 1;
    FNextStart = p;
    FReportable = false;
    return;
  }
  TPosition run = FPartStart;
  TPosition last = FPartStart;  // the last character that belongs to the part
  const auto flush = [&] {
    if (p > run) {
      TranslateText(std::string_view(run, static_cast<std::size_t>(p - run)), FPartContent);
      last = p - 1;
    }
  };
  for (;;) {
    if (*p == '<') break;
    if (*p == 0) {
      if (FEntityStack.Empty()) break;
      flush();
      p = FEntityStack.Pop();
      // Back in the enclosing text, the reference that opened the finished
      // replacement is the last character read so far.
      last = p - 1;
      run = p;
    } else {
      flush();
      ReadReference(p, last);
      run = p;
    }
    p = FindTextStop(p, FTextEnd);
  }
  flush();
  FPartEnd = last;
  FNextStart = p;
  if (FNormalize) {
    xmlchars::TrimAndPackWhitespace(FPartContent);
    if (FPartContent.empty()) FReportable = false;
  }
}

void TXmlTokenizer::ReadReference(TPosition& p, TPosition& last) {
  const TPosition semicolon = FindSemicolon(p);
  if (semicolon == nullptr) {
    // A lone "&" is dropped.
    last = p;
    ++p;
    return;
  }
  const std::string_view name(p + 1, static_cast<std::size_t>(semicolon - p - 1));
  last = semicolon;
  p = semicolon + 1;
  if (!name.empty() && name[0] == '#') {
    uint32_t value = ' ';
    const bool hex = name.size() > 1 && (name[1] == 'x' || name[1] == 'X');
    if (!xmlrefs::ParseNumber(name.substr(hex ? 2 : 1), hex ? 16 : 10, value)) value = ' ';
    AppendCharacter(value, false, FPartContent);
    return;
  }
  if (const char c = xmlrefs::Predefined(name)) {
    FPartContent += c;
    return;
  }
  const TEntityDef* entity = FGeneralEntities.Empty() ? nullptr : FGeneralEntities.Find(name);
  if (entity == nullptr) {
    TranslateText(name, FPartContent);
    return;
  }
  // An entity already being read is not opened inside itself, nesting is
  // bounded, and so is the replacement text of the whole scan.
  if (FEntityStack.IsOpen(entity) || FEntityStack.Count() >= kMaxEntityDepth) return;
  if (!entity->Value.empty()) {
    if (!ChargeExpansion(entity->Value.size())) return;
    FEntityStack.Push(p, entity);
    p = entity->Value.c_str();
    EnterText(p);
    return;
  }
  if (!ChargeExternalOpen()) return;
  std::unique_ptr<TXmlTokenizer> document =
      OpenExternalEntity(entity->SystemId, entity->PublicId, entity->NotationId);
  if (!document) return;
  const TPosition text = document->DocumentText();
  if (!ChargeExpansion(std::strlen(text))) return;
  FEntityStack.Push(std::move(document), p, entity);
  p = text;
  EnterText(p);
}

}  // namespace brimlow
