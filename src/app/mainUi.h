#pragma once

// The controls of the main window, built in one place.  Every control, action
// and menu carries its name as its object name, so that tests and
// accessibility tools find it.

class QAction;
class QCheckBox;
class QComboBox;
class QFileDialog;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMainWindow;
class QMenu;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QSplitter;
class QTreeView;
class QWidget;

namespace brimlow {

class TOptionalDateEdit;

struct TForm2Ui {
  // The action list.
  QAction* openDefault = nullptr;
  QAction* OpenWithDialog = nullptr;
  QAction* move = nullptr;
  QAction* doCopy = nullptr;
  QAction* moveBack = nullptr;
  QAction* doSelect = nullptr;
  QAction* noSelection = nullptr;

  // Menu items with handlers of their own.
  QMenu* N7 = nullptr;  // "Резервные"
  QAction* N6 = nullptr;
  QAction* N10 = nullptr;
  QAction* N11 = nullptr;
  QAction* online1 = nullptr;
  QAction* N13 = nullptr;
  QAction* N14 = nullptr;
  QAction* N16 = nullptr;
  QAction* undoExecution = nullptr;
  QAction* listOverview = nullptr;
  QAction* exportCsv = nullptr;
  QAction* exportTrashCsv = nullptr;

  // Panes.
  QSplitter* panes = nullptr;
  QWidget* Panel1 = nullptr;
  QWidget* Panel2 = nullptr;
  QWidget* Panel3 = nullptr;

  // Left pane: the list and the filter.
  QTreeView* treeLeft = nullptr;
  QComboBox* fileCheckBox = nullptr;
  QComboBox* stateBox = nullptr;
  QComboBox* catBox = nullptr;
  QLineEdit* size1 = nullptr;
  QLineEdit* size2 = nullptr;
  TOptionalDateEdit* date1 = nullptr;
  TOptionalDateEdit* date2 = nullptr;
  QLineEdit* searchText = nullptr;
  QComboBox* searchBox = nullptr;
  QCheckBox* duplicatesOnly = nullptr;  // "Только повторы"

  // Middle pane: the transfer buttons and the statistics.
  QCheckBox* cleanSel = nullptr;
  QLabel* labZak = nullptr;
  QLabel* labSel = nullptr;
  QLabel* labSizeSel = nullptr;
  QLabel* labSize = nullptr;
  QLabel* labUnreachable = nullptr;
  QLabel* labSelCount = nullptr;
  QLabel* labSelTotal = nullptr;
  QLabel* labRepeats = nullptr;

  // Right pane: the trash and its action.
  QTreeView* treeRight = nullptr;
  QCheckBox* CheckBox2 = nullptr;
  QCheckBox* recycleFiles = nullptr;  // the file actions recycle instead of erasing
  QRadioButton* saveSel = nullptr;
  QRadioButton* deleteSel = nullptr;
  QRadioButton* delSelWithFiles = nullptr;
  QRadioButton* delSelFiles = nullptr;
  QPushButton* Button2 = nullptr;

  QProgressBar* filterProgress = nullptr;
  QFileDialog* openDialog = nullptr;
  QFileDialog* saveDialog = nullptr;
  QFileDialog* csvDialog = nullptr;
};

// Builds every control of the main window into `window`.
void BuildForm2Ui(QMainWindow& window, TForm2Ui& ui);

}  // namespace brimlow
