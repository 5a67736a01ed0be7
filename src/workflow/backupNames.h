#pragma once

// The names of the backup copies of the list: dated, in the folder "backup"
// next to the program file.

#include <string>
#include <string_view>
#include <vector>

#include "platform/platform.h"

namespace brimlow {

// "default_%4d_%.02d_%.02d" of the date: the year at least four characters
// (blanks in front), month and day two digits.
std::string BackupStem(const platform::LocalDate& date);

// True for a name that matches "*.xml", letter case ignored.
bool IsBackupFileName(std::string_view name);

// The stem followed by ".xml", or else by "[n].xml" with the smallest n from
// 1 up, that is none of `taken` (letter case ignored).
std::string FreeBackupName(const std::string& stem, const std::vector<std::string>& taken);

}  // namespace brimlow
