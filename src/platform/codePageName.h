#pragma once

// How the 8-bit code page is chosen from the locale variables, and the Windows
// numbers by which the rest of the program knows code pages.

#include <string>
#include <string_view>

namespace brimlow::platform {

// The locale name in force for character handling: the first non-empty of
// LC_ALL, LC_CTYPE and LANG (null pointers count as empty).
std::string_view ctypeLocaleName(const char* lcAll, const char* lcCtype, const char* lang);

// The codeset of a locale name: what follows the "." up to an "@" or the end;
// empty when the name has no ".".  "ru_RU.CP1251@euro" gives "CP1251".
std::string_view codesetOf(std::string_view localeName);

// "UTF-8" or "utf8", in any letter case.
bool isUtf8Codeset(std::string_view codeset);

// The Windows number of an 8-bit codeset ("CP1251" 1251, "KOI8-R" 20866,
// "ISO-8859-5" 28595, ...), whatever its letter case and whether its parts
// are separated by "-", "_" or nothing; 0 for a codeset without one.  UTF-8
// gives 65001.
unsigned windowsCodePageNumber(std::string_view codeset);

}  // namespace brimlow::platform
