#include "workflow/menuCommands.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace brimlow {
namespace {

void CollectNames(std::span<const TMenuEntry> entries, std::multiset<std::string>& names,
                  std::multiset<int>& commands) {
  for (const TMenuEntry& entry : entries) {
    if (entry.kind == TMenuEntryKind::Separator) continue;
    names.insert(std::string(entry.name));
    EXPECT_FALSE(entry.caption.empty()) << entry.name;
    if (entry.kind == TMenuEntryKind::Command) commands.insert(static_cast<int>(entry.command));
    if (entry.kind == TMenuEntryKind::Submenu) CollectNames(entry.entries, names, commands);
  }
}

TEST(MenuCommandsTest, EveryCommandStandsInTheMenuOnceUnderANameOfItsOwn) {
  std::multiset<std::string> names;
  std::multiset<int> commands;
  CollectNames(MainMenu(), names, commands);
  for (int i = 0; i < kCommandCount; ++i) {
    EXPECT_EQ(commands.count(i), 1U) << i;
    EXPECT_EQ(CommandEntry(static_cast<TCommand>(i)).command, static_cast<TCommand>(i));
  }
  for (const std::string& name : names)
    EXPECT_EQ(names.count(name), 1U) << name;
}

TEST(MenuCommandsTest, OnlyTheListsReadDeleteAndItNeverStandsForAFileAction) {
  EXPECT_EQ(CommandEntry(TCommand::move).scope, TShortcutScope::DownloadsList);
  EXPECT_EQ(CommandEntry(TCommand::moveBack).scope, TShortcutScope::TrashList);
  for (int i = 0; i < kCommandCount; ++i) {
    const TMenuEntry& entry = CommandEntry(static_cast<TCommand>(i));
    const bool deletes = entry.shortcut == "Del" || entry.alternateShortcut == "Shift+Del";
    EXPECT_EQ(deletes, entry.scope != TShortcutScope::Window) << entry.name;
  }
}

TEST(MenuCommandsTest, AccessKeyMarksComeOffAndNamesAreEscaped) {
  const struct {
    std::string_view caption;
    std::string plain;
  } captions[] = {{"&Открыть...", "Открыть..."},
                  {"Перенести &обратно", "Перенести обратно"},
                  {"R&&D", "R&D"},
                  {"конец&", "конец&"},
                  {"", ""}};
  for (const auto& c : captions)
    EXPECT_EQ(PlainCaption(c.caption), c.plain) << c.caption;

  for (const std::string name : {"list_2009_03_07.xml", "A&B_1.xml", "&&", ""})
    EXPECT_EQ(PlainCaption(EscapeAccessKeys(name)), name) << name;
  EXPECT_EQ(EscapeAccessKeys("A&B"), "A&&B");
}

}  // namespace
}  // namespace brimlow
