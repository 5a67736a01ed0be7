#pragma once

// The main window's menu, once for both windows: the menus in their order,
// and each item's name (the control and handler names the windows keep),
// caption and shortcut.  A window builds its menu bar by walking MainMenu()
// and binds each command to its handler by TCommand.

#include <span>
#include <string>
#include <string_view>

namespace brimlow {

// Every command of the menu, in a fixed order that a window may number its
// items by.
enum class TCommand {
  openDefault,
  OpenWithDialog,
  move,
  doCopy,
  moveBack,
  doSelect,
  noSelection,
  N6,
  N10,
  N11,
  online1,
  N13,
  N14,
  N16,
  undoExecution,
  listOverview,
  exportCsv,
  exportTrashCsv,
};
inline constexpr int kCommandCount = static_cast<int>(TCommand::exportTrashCsv) + 1;

enum class TMenuEntryKind {
  Command,
  Submenu,
  Separator,
  // The submenu that the backup copies' names fill ("Резервные").
  BackupCopies,
};

// Where a shortcut works: anywhere in the window, or only while one of the
// two lists has the focus (Delete, which the filter's fields need for their
// own text).
enum class TShortcutScope { Window, DownloadsList, TrashList };

struct TMenuEntry {
  TMenuEntryKind kind = TMenuEntryKind::Separator;
  std::string_view name;     // the object name of the item or the submenu
  std::string_view caption;  // UTF-8; "&" stands before the access key
  // As a window's key names spell it ("Ctrl+O", "F1", "Del"); empty for none.
  std::string_view shortcut;
  std::string_view alternateShortcut;  // a second key for the same command
  TShortcutScope scope = TShortcutScope::Window;
  TCommand command = TCommand::openDefault;  // for a command
  std::span<const TMenuEntry> entries;       // for a submenu
};

// The menu bar's menus, each a submenu entry.
std::span<const TMenuEntry> MainMenu();

// The entry of a command; every command has exactly one.
const TMenuEntry& CommandEntry(TCommand command);

// A caption without its access-key marks: "&" goes, "&&" shows one "&".
std::string PlainCaption(std::string_view caption);

// A text to be shown as a menu caption as it is (a backup copy's name):
// each "&" doubled, so that none is read as an access-key mark.
std::string EscapeAccessKeys(std::string_view text);

}  // namespace brimlow
