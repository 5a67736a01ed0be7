#include "workflow/backupNames.h"

#include <algorithm>
#include <cstdio>
#include <unordered_set>

namespace brimlow {

namespace {

char AsciiLower(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

}  // namespace

std::string BackupStem(const platform::LocalDate& date) {
  char stem[64];
  std::snprintf(stem, sizeof stem, "default_%4d_%.02d_%.02d", date.year, date.month, date.day);
  return stem;
}

bool IsBackupFileName(std::string_view name) {
  constexpr std::string_view kExtension = ".xml";
  if (name.size() < kExtension.size()) return false;
  const std::string_view tail = name.substr(name.size() - kExtension.size());
  return std::equal(tail.begin(), tail.end(), kExtension.begin(),
                    [](char a, char b) { return AsciiLower(a) == b; });
}

std::string FreeBackupName(const std::string& stem, const std::vector<std::string>& taken) {
  // Letter case is compared as the code page has it, Cyrillic included.
  platform::Platform& os = platform::current();
  std::unordered_set<std::string> lowered;
  for (const std::string& name : taken)
    lowered.insert(os.lowerCase(name));
  std::string candidate = stem + ".xml";
  for (int n = 1; lowered.count(os.lowerCase(candidate)) != 0; ++n)
    candidate = stem + "[" + std::to_string(n) + "].xml";
  return candidate;
}

}  // namespace brimlow
