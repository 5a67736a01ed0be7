// The active ANSI code page and the user's locale.  Conversions are the
// system's own (WideCharToMultiByte, MultiByteToWideChar) except under the
// UTF-8 code page, where the program's UTF-8 rules keep every byte (the
// system would put U+FFFD in place of bytes that are not UTF-8).  The lower
// case of a single-byte code page is a table of its 256 bytes made once by
// CharLowerBuffA.
#include <windows.h>

#include <array>
#include <climits>
#include <memory>

#include "platform/codePageTables.h"
#include "platform/overrides.h"
#include "platform/win32/win32Platform.h"

namespace brimlow::platform {

namespace {

// One call converts at most this much; longer texts go in pieces.
constexpr size_t kChunk = size_t{1} << 24;

char32_t lowerOf(char32_t c) {
  wchar_t units[2];
  DWORD count = 1;
  if (c < 0x10000) {
    units[0] = static_cast<wchar_t>(c);
  } else {
    units[0] = static_cast<wchar_t>(0xD800 + ((c - 0x10000) >> 10));
    units[1] = static_cast<wchar_t>(0xDC00 + ((c - 0x10000) & 0x3FF));
    count = 2;
  }
  ::CharLowerBuffW(units, count);
  if (count == 1) return units[0];
  return 0x10000 + ((static_cast<char32_t>(units[0]) - 0xD800) << 10) +
         (static_cast<char32_t>(units[1]) - 0xDC00);
}

struct CodePageChoice {
  unsigned number = 0;
  bool singleByte = true;
  std::array<unsigned char, 256> lower{};
  std::unique_ptr<Utf8CodePage> utf8;
  DWORD toAnsiFlags = WC_NO_BEST_FIT_CHARS;
  char decimalSeparator = '.';
};

char localeDecimalSeparator() {
  char text[8] = {};
  const int length = ::GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, text, sizeof text);
  // The length counts the terminating zero.
  return length == 2 ? text[0] : '.';
}

CodePageChoice choose() {
  CodePageChoice choice;
  choice.number = ::GetACP();
  CPINFO info{};
  choice.singleByte = ::GetCPInfo(CP_ACP, &info) && info.MaxCharSize == 1;
  if (choice.number == CP_UTF8) {
    choice.singleByte = false;
    choice.utf8 = std::make_unique<Utf8CodePage>(lowerOf);
  }
  if (choice.singleByte) {
    for (int byte = 0; byte < 256; ++byte)
      choice.lower[static_cast<size_t>(byte)] = static_cast<unsigned char>(byte);
    // Byte 0 would end the text for some callers; it has no case anyway.
    ::CharLowerBuffA(reinterpret_cast<char*>(choice.lower.data() + 1), 255);
  }
  // Best-fit replacements would turn a character the code page lacks into a
  // different one ("＼" into "\"); a code page that refuses the flag has
  // none to make.
  if (::WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, L"a", 1, nullptr, 0, nullptr, nullptr) ==
      0)
    choice.toAnsiFlags = 0;
  choice.decimalSeparator = localeDecimalSeparator();
  return choice;
}

const CodePageChoice& choice() {
  static const CodePageChoice chosen = choose();
  return chosen;
}

// The length of a piece of at most kChunk units that does not split a
// surrogate pair.
size_t widePiece(std::u16string_view text) {
  if (text.size() <= kChunk) return text.size();
  const size_t end = kChunk;
  return text[end - 1] >= 0xD800 && text[end - 1] <= 0xDBFF ? end - 1 : end;
}

// The length of a piece of at most kChunk bytes that does not split a
// double-byte character.
size_t ansiPiece(std::string_view text, bool singleByte) {
  if (text.size() <= kChunk) return text.size();
  if (singleByte) return kChunk;
  size_t i = 0;
  while (i < kChunk) {
    const size_t step = ::IsDBCSLeadByte(static_cast<BYTE>(text[i])) ? 2 : 1;
    if (i + step > kChunk) break;
    i += step;
  }
  return i;
}

}  // namespace

std::string Win32Platform::wideToAnsi(std::u16string_view text) {
  const CodePageChoice& page = choice();
  if (page.utf8) return page.utf8->fromWide(text);
  std::string out;
  while (!text.empty()) {
    const size_t piece = widePiece(text);
    const auto* units = reinterpret_cast<const wchar_t*>(text.data());
    const int size = static_cast<int>(piece);
    const int bytes =
        ::WideCharToMultiByte(CP_ACP, page.toAnsiFlags, units, size, nullptr, 0, nullptr, nullptr);
    if (bytes > 0) {
      const size_t at = out.size();
      out.resize(at + static_cast<size_t>(bytes));
      ::WideCharToMultiByte(CP_ACP, page.toAnsiFlags, units, size, out.data() + at, bytes, nullptr,
                            nullptr);
    }
    text.remove_prefix(piece);
  }
  return out;
}

std::u16string Win32Platform::ansiToWide(std::string_view text) {
  const CodePageChoice& page = choice();
  if (page.utf8) return page.utf8->toWide(text);
  std::u16string out;
  while (!text.empty()) {
    const size_t piece = ansiPiece(text, page.singleByte);
    const int size = static_cast<int>(piece);
    const int units = ::MultiByteToWideChar(CP_ACP, 0, text.data(), size, nullptr, 0);
    if (units > 0) {
      const size_t at = out.size();
      out.resize(at + static_cast<size_t>(units));
      ::MultiByteToWideChar(CP_ACP, 0, text.data(), size,
                            reinterpret_cast<wchar_t*>(out.data() + at), units);
    }
    text.remove_prefix(piece);
  }
  return out;
}

std::string Win32Platform::lowerCase(std::string_view text) {
  const CodePageChoice& page = choice();
  if (page.utf8) return page.utf8->lower(text);
  std::string out(text);
  if (page.singleByte) {
    for (char& c : out)
      c = static_cast<char>(page.lower[static_cast<unsigned char>(c)]);
    return out;
  }
  // A double-byte code page: the system lowers the text as a whole.
  for (size_t at = 0; at < out.size();) {
    const size_t piece = ansiPiece(std::string_view(out).substr(at), false);
    ::CharLowerBuffA(out.data() + at, static_cast<DWORD>(piece));
    at += piece;
  }
  return out;
}

unsigned Win32Platform::activeCodePage() {
  return choice().number;
}

char Win32Platform::decimalSeparator() {
  return decimalSeparatorOverride().value_or(choice().decimalSeparator);
}

}  // namespace brimlow::platform
