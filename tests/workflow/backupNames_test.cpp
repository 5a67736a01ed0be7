#include "workflow/backupNames.h"

#include <gtest/gtest.h>

namespace brimlow {
namespace {

TEST(BackupStem, YearPaddedWithBlanksMonthAndDayWithZeros) {
  const struct {
    platform::LocalDate date;
    const char* stem;
  } cases[] = {
      {{2009, 3, 7}, "default_2009_03_07"},
      {{2024, 12, 31}, "default_2024_12_31"},
      {{987, 1, 1}, "default_ 987_01_01"},
      {{12345, 10, 5}, "default_12345_10_05"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(BackupStem(c.date), c.stem);
}

TEST(IsBackupFileName, AnyNameEndingInDotXmlWhateverTheCase) {
  const struct {
    const char* name;
    bool listed;
  } cases[] = {
      {"default_2009_03_07.xml", true},
      {"old.XML", true},
      {"a.Xml", true},
      {".xml", true},
      {"notes.txt", false},
      {"xml", false},
      {"list.xml.bak", false},
      {"list.xmll", false},
      {"", false},
  };
  for (const auto& c : cases)
    EXPECT_EQ(IsBackupFileName(c.name), c.listed) << c.name;
}

TEST(FreeBackupName, TheFirstFreeNameLetterCaseIgnored) {
  const std::string stem = "default_2009_03_07";
  const struct {
    const char* label;
    std::vector<std::string> taken;
    const char* name;
  } cases[] = {
      {"an empty folder", {}, "default_2009_03_07.xml"},
      {"the plain name taken", {"default_2009_03_07.xml"}, "default_2009_03_07[1].xml"},
      {"taken in capitals", {"DEFAULT_2009_03_07.XML"}, "default_2009_03_07[1].xml"},
      {"a gap is filled",
       {"default_2009_03_07.xml", "default_2009_03_07[2].xml"},
       "default_2009_03_07[1].xml"},
      {"the next after a run",
       {"default_2009_03_07[1].xml", "default_2009_03_07.xml", "default_2009_03_07[2].xml"},
       "default_2009_03_07[3].xml"},
      {"other days do not count", {"default_2009_03_06.xml"}, "default_2009_03_07.xml"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(FreeBackupName(stem, c.taken), c.name) << c.label;
}

}  // namespace
}  // namespace brimlow
