#include "workflow/menuCommands.h"

#include <stdexcept>

namespace brimlow {

namespace {

constexpr TMenuEntry Item(TCommand command, std::string_view name, std::string_view caption,
                          std::string_view shortcut = {},
                          TShortcutScope scope = TShortcutScope::Window,
                          std::string_view alternateShortcut = {}) {
  return {TMenuEntryKind::Command, name, caption, shortcut, alternateShortcut, scope, command, {}};
}

constexpr TMenuEntry Menu(std::string_view name, std::string_view caption,
                          std::span<const TMenuEntry> entries) {
  return {TMenuEntryKind::Submenu, name, caption, {}, {}, {}, TCommand::openDefault, entries};
}

constexpr TMenuEntry kSeparator{};

constexpr TMenuEntry kFileMenu[] = {
    Item(TCommand::openDefault, "openDefault", "Открыть &текущий"),
    Item(TCommand::OpenWithDialog, "OpenWithDialog", "&Открыть...", "Ctrl+O"),
    {TMenuEntryKind::BackupCopies, "N7", "&Резервные", {}, {}, {}, TCommand::openDefault, {}},
    kSeparator,
    Item(TCommand::exportCsv, "exportCsv", "&Экспорт в CSV..."),
    Item(TCommand::exportTrashCsv, "exportTrashCsv", "Экспорт &корзины в CSV..."),
    kSeparator,
    Item(TCommand::N6, "N6", "&Выход"),
};

constexpr TMenuEntry kFilterMenu[] = {
    Item(TCommand::doSelect, "doSelect", "&Выделить"),
    Item(TCommand::noSelection, "noSelection", "&Снять выделение"),
};

constexpr TMenuEntry kSelectedMenu[] = {
    // Delete moves the marked downloads between the lists and never touches a
    // file; Shift+Delete does the same, so that the habit of a file manager
    // loses nothing.
    Item(TCommand::move, "move", "&Перенести", "Del", TShortcutScope::DownloadsList, "Shift+Del"),
    Item(TCommand::doCopy, "doCopy", "&Скопировать"),
    Item(TCommand::moveBack, "moveBack", "Перенести &обратно", "Del", TShortcutScope::TrashList,
         "Shift+Del"),
};

constexpr TMenuEntry kEditMenu[] = {
    // Enabled while the last execution of this run can be undone.
    Item(TCommand::undoExecution, "undoExecution", "&Отменить выполнение", "Ctrl+Z"),
    kSeparator,
    Menu("filterMenu", "&Фильтр", kFilterMenu),
    Menu("selectedMenu", "В&ыделенные", kSelectedMenu),
    Item(TCommand::listOverview, "listOverview", "Об&зор списка..."),
};

constexpr TMenuEntry kHelpMenu[] = {
    Item(TCommand::N10, "N10", "&Содержание", "F1"),
    Item(TCommand::N11, "N11", "&Домашнаяя страница"),
    Item(TCommand::online1, "online1", "&Поддержка online"),
    kSeparator,
    Item(TCommand::N13, "N13", "Сообщить об &ошибке"),
    Item(TCommand::N14, "N14", "&Форум"),
    kSeparator,
    Item(TCommand::N16, "N16", "О п&рограмме"),
};

constexpr TMenuEntry kMainMenu[] = {
    Menu("fileMenu", "&Файл", kFileMenu),
    Menu("editMenu", "&Правка", kEditMenu),
    Menu("helpMenu", "&Справка", kHelpMenu),
};

const TMenuEntry* FindCommand(std::span<const TMenuEntry> entries, TCommand command) {
  for (const TMenuEntry& entry : entries) {
    if (entry.kind == TMenuEntryKind::Command && entry.command == command) return &entry;
    if (entry.kind == TMenuEntryKind::Submenu)
      if (const TMenuEntry* found = FindCommand(entry.entries, command)) return found;
  }
  return nullptr;
}

}  // namespace

std::span<const TMenuEntry> MainMenu() {
  return kMainMenu;
}

const TMenuEntry& CommandEntry(TCommand command) {
  if (const TMenuEntry* entry = FindCommand(kMainMenu, command)) return *entry;
  throw std::logic_error("a command without a menu entry");
}

std::string PlainCaption(std::string_view caption) {
  std::string plain;
  for (size_t i = 0; i < caption.size(); ++i) {
    if (caption[i] == '&' && i + 1 < caption.size()) ++i;
    plain += caption[i];
  }
  return plain;
}

std::string EscapeAccessKeys(std::string_view text) {
  std::string escaped;
  for (const char c : text) {
    if (c == '&') escaped += '&';
    escaped += c;
  }
  return escaped;
}

}  // namespace brimlow
