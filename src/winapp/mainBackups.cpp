// TForm2: the submenu "Резервные" of the backup copies the workflow knows.
#include "platform/path.h"
#include "winapp/main.h"
#include "winapp/winText.h"
#include "workflow/menuCommands.h"

namespace brimlow {

void TForm2::BackupNamesChanged() {
  while (GetMenuItemCount(ui.N7) > 0)
    DeleteMenu(ui.N7, 0, MF_BYPOSITION);
  const std::vector<std::string>& names = FCleaner.BackupNames();
  for (size_t index = 0; index < names.size(); ++index)
    AppendMenuW(ui.N7, MF_STRING, ID_FirstBackup + index,
                Wide(EscapeAccessKeys(names[index])).c_str());
  DrawMenuBar(FHandle);
}

void TForm2::BackupMenuClick(int index) {
  // The name as the folder listed it; the caption carries shortcut marks.
  const std::vector<std::string>& names = FCleaner.BackupNames();
  if (index < 0 || static_cast<size_t>(index) >= names.size()) return;
  const std::string name = names[static_cast<size_t>(index)];
  FCleaner.OpenBackup(name);
}

}  // namespace brimlow
