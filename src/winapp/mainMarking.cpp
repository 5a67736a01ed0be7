// TForm2: marking with the filter, moving between the list and the trash,
// and the statistics.
#include "winapp/main.h"
// After the main header, which brings the system header this one needs.
#include <commctrl.h>
#include "winapp/winText.h"
#include "workflow/downloadColumns.h"
#include "workflow/filterChoices.h"

namespace brimlow {

namespace {

int Choice(HWND box) {
  return static_cast<int>(SendMessageW(box, CB_GETCURSEL, 0, 0));
}

std::optional<int64_t> DayNumber(HWND field) {
  SYSTEMTIME time{};
  if (SendMessageW(field, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&time)) != GDT_VALID)
    return std::nullopt;
  return DayNumberOf({time.wYear, time.wMonth, time.wDay});
}

// While the filter runs: the hourglass, a disabled window and the progress
// bar; everything returns as it was however the run ends.
class TFilterScope {
 public:
  TFilterScope(HWND window, HWND progress, int total) : FWindow(window), FProgress(progress) {
    SendMessageW(FProgress, PBM_SETRANGE32, 0, std::max(total, 1));
    SendMessageW(FProgress, PBM_SETPOS, 0, 0);
    ShowWindow(FProgress, SW_SHOW);
    EnableWindow(FWindow, FALSE);
  }
  ~TFilterScope() {
    EnableWindow(FWindow, TRUE);
    ShowWindow(FProgress, SW_HIDE);
  }
  TFilterScope(const TFilterScope&) = delete;
  TFilterScope& operator=(const TFilterScope&) = delete;

 private:
  HWND FWindow;
  HWND FProgress;
};

}  // namespace

TFilterInputs TForm2::ReadFilterInputs() const {
  TFilterInputs inputs;
  inputs.file = ChoiceValue(FileChoices(), Choice(ui.fileCheckBox));
  inputs.state = ChoiceValue(StateChoices(), Choice(ui.stateBox));
  // Items after "Любая" carry their category's ID.
  if (const int category = Choice(ui.catBox); category > 0)
    inputs.categoryId = static_cast<int32_t>(
        SendMessageW(ui.catBox, CB_GETITEMDATA, static_cast<WPARAM>(category), 0));
  inputs.sizeFrom = WindowTextOf(ui.size1);
  inputs.sizeTo = WindowTextOf(ui.size2);
  inputs.dayFrom = DayNumber(ui.date1);
  inputs.dayTo = DayNumber(ui.date2);
  inputs.searchText = WindowTextOf(ui.searchText);
  inputs.searchIn = ChoiceValue(SearchChoices(), Choice(ui.searchBox));
  inputs.duplicatesOnly = SendMessageW(ui.duplicatesOnly, BM_GETCHECK, 0, 0) == BST_CHECKED;
  return inputs;
}

void TForm2::doSelectExecute() {
  if (FBusy) return;
  const TFilterInputs inputs = ReadFilterInputs();
  SetBusy(true, nullptr);
  try {
    TFilterScope scope(FHandle, ui.filterProgress, FCleaner.Downloads().Count());
    // The window keeps painting between blocks; it is disabled, so clicks
    // cannot reach it.
    FCleaner.RunFilter(inputs, [this](int done, int) {
      SendMessageW(ui.filterProgress, PBM_SETPOS, static_cast<WPARAM>(done), 0);
      PumpMessages();
    });
  } catch (...) {
    SetBusy(false, nullptr);
    throw;
  }
  SetBusy(false, nullptr);
}

void TForm2::noSelectionExecute() {
  FCleaner.ClearMarks();
}

void TForm2::moveExecute() {
  FCleaner.Move();
}

void TForm2::doCopyExecute() {
  FCleaner.Copy(SendMessageW(ui.cleanSel, BM_GETCHECK, 0, 0) == BST_CHECKED);
}

void TForm2::moveBackExecute() {
  FCleaner.MoveBack();
}

void TForm2::treeLeftChecked() {
  FCleaner.UpdateStatistics();
}

void TForm2::ShowStatistics(const TStatistics& statistics) {
  const TStatisticsTexts texts = statistics.Texts();
  const std::pair<HWND, const std::string*> labels[] = {{ui.labZak, &texts.labZak},
                                                        {ui.labSel, &texts.labSel},
                                                        {ui.labSizeSel, &texts.labSizeSel},
                                                        {ui.labSize, &texts.labSize},
                                                        {ui.labUnreachable, &texts.labUnreachable},
                                                        {ui.labSelCount, &texts.labSelCount},
                                                        {ui.labSelTotal, &texts.labSelTotal},
                                                        {ui.labRepeats, &texts.labRepeats}};
  for (const auto& [label, text] : labels)
    SetWindowTextW(label, Wide(*text).c_str());
  // The statistics follow every load and execution, and so does what can
  // be undone.
  EnableMenuItem(ui.MainMenu1, ID_undoExecution,
                 MF_BYCOMMAND | (FCleaner.CanUndo() ? MF_ENABLED : MF_GRAYED));
  RefreshOverview();
}

}  // namespace brimlow
