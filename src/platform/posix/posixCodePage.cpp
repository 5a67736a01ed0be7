// The 8-bit code page stands in for Windows' ANSI code page: the codeset of
// the locale in force, when it is one byte per character, and UTF-8 otherwise.
// Single-byte tables are read from iconv once; the rest is table look-ups.
#include "platform/posix/posixCodePage.h"

#include <iconv.h>
#include <langinfo.h>
#include <locale.h>
#include <wctype.h>

#include <array>
#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <mutex>
#include <optional>
#include <vector>

#include "platform/codePageName.h"
#include "platform/codePageTables.h"
#include "platform/overrides.h"
#include "platform/posix/posixPlatform.h"

namespace brimlow::platform {

namespace {

struct LocaleChoice {
  std::unique_ptr<CodePage> codePage;
  unsigned number = 65001;
  char decimalSeparator = '.';
};

// Full Unicode case mapping, whatever locale the process runs in.
char32_t lowerOf(char32_t c) {
  static const locale_t utf8 = ::newlocale(LC_CTYPE_MASK, "C.UTF-8", nullptr);
  if (utf8 == nullptr) return c >= U'A' && c <= U'Z' ? c + (U'a' - U'A') : c;
  return static_cast<char32_t>(::towlower_l(static_cast<wint_t>(c), utf8));
}

// What each byte of an iconv codeset stands for; none when the codeset is
// unknown, needs more than one byte for some characters, or does not keep
// ASCII as it is (the markup the readers look for is ASCII).
std::optional<std::array<char16_t, 256>> singleByteTable(const std::string& codeset) {
  const iconv_t converter = ::iconv_open("UTF-16LE", codeset.c_str());
  if (converter == reinterpret_cast<iconv_t>(-1)) return std::nullopt;
  std::array<char16_t, 256> table{};
  bool single = true;
  for (int byte = 0; byte < 256 && single; ++byte) {
    char in = static_cast<char>(byte);
    unsigned char out[8] = {};
    char* inPointer = &in;
    char* outPointer = reinterpret_cast<char*>(out);
    size_t inLeft = 1;
    size_t outLeft = sizeof out;
    ::iconv(converter, nullptr, nullptr, nullptr, nullptr);
    const size_t done = ::iconv(converter, &inPointer, &inLeft, &outPointer, &outLeft);
    const size_t written = sizeof out - outLeft;
    if (done == static_cast<size_t>(-1) && errno == EINVAL) {
      single = false;  // the byte begins a longer sequence
    } else if (done != static_cast<size_t>(-1) && written == 2) {
      table[byte] = static_cast<char16_t>(out[0] | (out[1] << 8));
    } else {
      table[byte] = static_cast<char16_t>(byte);  // undefined in the code page
    }
    if (byte < 0x80 && table[byte] != byte) single = false;
  }
  ::iconv_close(converter);
  if (!single) return std::nullopt;
  return table;
}

char radixCharacter() {
  // "" takes LC_ALL, LC_NUMERIC and LANG from the environment, without
  // touching the process's global locale.
  const locale_t numeric = ::newlocale(LC_NUMERIC_MASK, "", nullptr);
  if (numeric == nullptr) return '.';
  const char* radix = ::nl_langinfo_l(RADIXCHAR, numeric);
  const char separator = radix != nullptr && std::strlen(radix) == 1 ? radix[0] : '.';
  ::freelocale(numeric);
  return separator;
}

std::unique_ptr<LocaleChoice> chooseFromEnvironment() {
  auto choice = std::make_unique<LocaleChoice>();
  const std::string codeset(codesetOf(
      ctypeLocaleName(std::getenv("LC_ALL"), std::getenv("LC_CTYPE"), std::getenv("LANG"))));
  if (!codeset.empty() && !isUtf8Codeset(codeset)) {
    if (const auto table = singleByteTable(codeset)) {
      choice->codePage = std::make_unique<SingleByteCodePage>(*table, lowerOf);
      choice->number = windowsCodePageNumber(codeset);
    }
  }
  if (!choice->codePage) choice->codePage = std::make_unique<Utf8CodePage>(lowerOf);
  choice->decimalSeparator = radixCharacter();
  return choice;
}

std::atomic<const LocaleChoice*> chosen{nullptr};
std::mutex choosing;
// Every choice made stays alive to the end, so that a reference taken before
// rereadLocaleEnvironment() never dangles.
std::vector<std::unique_ptr<LocaleChoice>> made;

const LocaleChoice& choice() {
  if (const LocaleChoice* current = chosen.load(std::memory_order_acquire)) return *current;
  std::lock_guard lock(choosing);
  if (const LocaleChoice* current = chosen.load(std::memory_order_relaxed)) return *current;
  made.push_back(chooseFromEnvironment());
  chosen.store(made.back().get(), std::memory_order_release);
  return *made.back();
}

}  // namespace

void rereadLocaleEnvironment() {
  std::lock_guard lock(choosing);
  chosen.store(nullptr, std::memory_order_release);
}

std::string PosixPlatform::wideToAnsi(std::u16string_view text) {
  return choice().codePage->fromWide(text);
}

std::u16string PosixPlatform::ansiToWide(std::string_view text) {
  return choice().codePage->toWide(text);
}

std::string PosixPlatform::lowerCase(std::string_view text) {
  return choice().codePage->lower(text);
}

unsigned PosixPlatform::activeCodePage() {
  return choice().number;
}

char PosixPlatform::decimalSeparator() {
  return decimalSeparatorOverride().value_or(choice().decimalSeparator);
}

}  // namespace brimlow::platform
