#include "platform/codePageName.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <initializer_list>
#include <utility>

namespace brimlow::platform {

namespace {

// Upper case without the separators that spellings of one codeset differ by.
std::string canonical(std::string_view codeset) {
  std::string key;
  for (const char c : codeset) {
    if (c == '-' || c == '_' || c == ' ') continue;
    key += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  }
  return key;
}

struct KnownCodeset {
  std::string_view key;  // canonical spelling
  unsigned number;
};

constexpr std::array<KnownCodeset, 40> kKnown = {{
    {"UTF8", 65001},       {"CP1250", 1250},      {"CP1251", 1251},      {"CP1252", 1252},
    {"CP1253", 1253},      {"CP1254", 1254},      {"CP1255", 1255},      {"CP1256", 1256},
    {"CP1257", 1257},      {"CP1258", 1258},      {"CP874", 874},        {"CP437", 437},
    {"CP850", 850},        {"CP852", 852},        {"CP855", 855},        {"CP866", 866},
    {"IBM866", 866},       {"KOI8R", 20866},      {"KOI8U", 21866},      {"ISO88591", 28591},
    {"ISO88592", 28592},   {"ISO88593", 28593},   {"ISO88594", 28594},   {"ISO88595", 28595},
    {"ISO88596", 28596},   {"ISO88597", 28597},   {"ISO88598", 28598},   {"ISO88599", 28599},
    {"ISO885913", 28603},  {"ISO885915", 28605},  {"WINDOWS1250", 1250}, {"WINDOWS1251", 1251},
    {"WINDOWS1252", 1252}, {"WINDOWS1253", 1253}, {"WINDOWS1254", 1254}, {"WINDOWS1255", 1255},
    {"WINDOWS1256", 1256}, {"WINDOWS1257", 1257}, {"WINDOWS1258", 1258}, {"TIS620", 874},
}};

}  // namespace

std::string_view ctypeLocaleName(const char* lcAll, const char* lcCtype, const char* lang) {
  for (const char* name : {lcAll, lcCtype, lang}) {
    if (name != nullptr && *name != '\0') return name;
  }
  return {};
}

std::string_view codesetOf(std::string_view localeName) {
  const auto dot = localeName.find('.');
  if (dot == std::string_view::npos) return {};
  const std::string_view rest = localeName.substr(dot + 1);
  return rest.substr(0, rest.find('@'));
}

bool isUtf8Codeset(std::string_view codeset) {
  return canonical(codeset) == "UTF8";
}

unsigned windowsCodePageNumber(std::string_view codeset) {
  const std::string key = canonical(codeset);
  const auto known = std::find_if(kKnown.begin(), kKnown.end(),
                                  [&](const KnownCodeset& entry) { return entry.key == key; });
  return known == kKnown.end() ? 0 : known->number;
}

}  // namespace brimlow::platform
