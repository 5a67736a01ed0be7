#pragma once

// The controls of the main window, built in one place.  Each control and
// menu item is known by its name here; its identifier carries the same name.

#include <windows.h>

#include "workflow/menuCommands.h"

namespace brimlow {

// Menu items and buttons that share an action share its identifier, so both
// reach the same handler.
enum TCommandId : int {
  ID_openDefault = 100,
  ID_OpenWithDialog,
  ID_move,
  ID_doCopy,
  ID_moveBack,
  ID_doSelect,
  ID_noSelection,
  ID_N6,
  ID_N10,
  ID_N11,
  ID_online1,
  ID_N13,
  ID_N14,
  ID_N16,
  ID_undoExecution,
  ID_listOverview,
  ID_exportCsv,
  ID_exportTrashCsv,
  ID_Button2 = 150,
  ID_treeLeft = 200,
  ID_treeRight,
  ID_fileCheckBox,
  ID_stateBox,
  ID_catBox,
  ID_size1,
  ID_size2,
  ID_date1,
  ID_date2,
  ID_searchText,
  ID_searchBox,
  ID_cleanSel,
  ID_CheckBox2,
  ID_saveSel,
  ID_deleteSel,
  ID_delSelWithFiles,
  ID_delSelFiles,
  ID_recycleFiles,
  ID_labZak,
  ID_labSel,
  ID_labSizeSel,
  ID_labSize,
  ID_labUnreachable,
  ID_labSelCount,
  ID_labSelTotal,
  ID_statusBar,
  ID_filterProgress,
  ID_FirstBackup = 1000,  // the items of "Резервные", one per copy
};

// The identifier of a menu command: the table's order of the commands.
constexpr int CommandId(TCommand command) {
  return ID_openDefault + static_cast<int>(command);
}
static_assert(CommandId(TCommand::N16) == ID_N16 && CommandId(TCommand::move) == ID_move &&
              CommandId(TCommand::exportTrashCsv) == ID_exportTrashCsv);

struct TForm2Ui {
  HMENU MainMenu1 = nullptr;
  HMENU N7 = nullptr;  // "Резервные"
  HACCEL accelerators = nullptr;

  HWND Panel1 = nullptr;
  HWND Panel2 = nullptr;
  HWND Panel3 = nullptr;
  HWND Splitter1 = nullptr;
  HWND Splitter2 = nullptr;

  // Left pane: the list and the filter.
  HWND GroupBox5 = nullptr;
  HWND treeLeft = nullptr;
  HWND GroupBox4 = nullptr;
  HWND fileCheckBox = nullptr;
  HWND stateBox = nullptr;
  HWND catBox = nullptr;
  HWND size1 = nullptr;
  HWND size2 = nullptr;
  HWND date1 = nullptr;
  HWND date2 = nullptr;
  HWND searchText = nullptr;
  HWND searchBox = nullptr;
  HWND doSelectButton = nullptr;
  HWND noSelectionButton = nullptr;

  // Middle pane: the transfer buttons and the statistics.
  HWND GroupBox2 = nullptr;
  HWND BitBtn1 = nullptr;
  HWND BitBtn2 = nullptr;
  HWND BitBtn3 = nullptr;
  HWND cleanSel = nullptr;
  HWND GroupBox1 = nullptr;
  HWND labZak = nullptr;
  HWND labSel = nullptr;
  HWND labSizeSel = nullptr;
  HWND labSize = nullptr;
  HWND labUnreachable = nullptr;
  HWND labSelCount = nullptr;
  HWND labSelTotal = nullptr;

  // Right pane: the trash and its action.
  HWND GroupBox3 = nullptr;
  HWND treeRight = nullptr;
  HWND GroupBox6 = nullptr;
  HWND CheckBox2 = nullptr;
  HWND saveSel = nullptr;
  HWND deleteSel = nullptr;
  HWND delSelWithFiles = nullptr;
  HWND delSelFiles = nullptr;
  HWND recycleFiles = nullptr;  // the file actions recycle instead of erasing
  HWND Button2 = nullptr;

  HWND statusBar = nullptr;
  HWND filterProgress = nullptr;
};

// Builds the menu, the panes with every control, the splitters and the
// status bar into `window`; the list views are made by the caller into the
// two panes' groups.
void BuildForm2Ui(HWND window, TForm2Ui& ui);
// Places the controls of each pane for its size.
void LayoutListPane(const TForm2Ui& ui, int width, int height, int dpi);
void LayoutMiddlePane(const TForm2Ui& ui, int width, int height, int dpi);
void LayoutTrashPane(const TForm2Ui& ui, int width, int height, int dpi);
// The header captions of the statistics are drawn in their own colour.
bool IsHeaderCaption(HWND control);

}  // namespace brimlow
