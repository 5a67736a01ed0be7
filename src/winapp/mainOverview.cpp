// TForm2: the list's overview, the filter controls set from one of its rows,
// and the export of the list and of the trash as CSV.
#include "winapp/main.h"
// After the main header, which brings the system header this one needs.
#include <commctrl.h>

#include <array>

#include "winapp/overviewForm.h"
#include "winapp/winText.h"
#include "workflow/csvWriter.h"
#include "workflow/downloadColumns.h"
#include "workflow/filterChoices.h"

namespace brimlow {

namespace {

void SetDay(HWND field, const std::optional<int64_t>& day) {
  const std::optional<TCalendarDay> calendar =
      day ? CalendarDayOf(static_cast<TDateTime>(*day)) : std::nullopt;
  // Some systems take GDT_NONE only with a time beside it.
  SYSTEMTIME time{};
  GetLocalTime(&time);
  if (!calendar) {
    SendMessageW(field, DTM_SETSYSTEMTIME, GDT_NONE, reinterpret_cast<LPARAM>(&time));
    return;
  }
  time.wYear = static_cast<WORD>(calendar->year);
  time.wMonth = static_cast<WORD>(calendar->month);
  time.wDay = static_cast<WORD>(calendar->day);
  SendMessageW(field, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&time));
}

void SetChoice(HWND box, int index) {
  SendMessageW(box, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

}  // namespace

void TForm2::listOverviewExecute() {
  if (!FOverview) {
    FOverview = std::make_unique<TOverviewForm>(
        FHandle, [this](TOverviewAxis axis) { return FCleaner.Overview(axis); },
        [this](const TFilterInputs& inputs) { ApplyFilterInputs(inputs); });
  }
  FOverviewRevision = FCleaner.Downloads().Revision();
  FOverview->Show();
}

void TForm2::ApplyFilterInputs(const TFilterInputs& inputs) {
  SetChoice(ui.fileCheckBox, ChoiceIndex(FileChoices(), inputs.file));
  SetChoice(ui.stateBox, ChoiceIndex(StateChoices(), inputs.state));
  // Items after "Любая" carry their category's ID.
  int category = 0;
  const auto count = static_cast<int>(SendMessageW(ui.catBox, CB_GETCOUNT, 0, 0));
  for (int item = 1; inputs.categoryId && item < count && category == 0; ++item)
    if (static_cast<int32_t>(SendMessageW(ui.catBox, CB_GETITEMDATA, static_cast<WPARAM>(item),
                                          0)) == *inputs.categoryId)
      category = item;
  SetChoice(ui.catBox, category);
  SetWindowTextW(ui.size1, Wide(inputs.sizeFrom).c_str());
  SetWindowTextW(ui.size2, Wide(inputs.sizeTo).c_str());
  SetDay(ui.date1, inputs.dayFrom);
  SetDay(ui.date2, inputs.dayTo);
  SetWindowTextW(ui.searchText, Wide(inputs.searchText).c_str());
  SetChoice(ui.searchBox, ChoiceIndex(SearchChoices(), inputs.searchIn));
  SendMessageW(ui.duplicatesOnly, BM_SETCHECK, inputs.duplicatesOnly ? BST_CHECKED : BST_UNCHECKED,
               0);
  doSelectExecute();
}

void TForm2::exportCsvExecute() {
  ExportCsv(FCleaner.Downloads().List());
}

void TForm2::exportTrashCsvExecute() {
  ExportCsv(FCleaner.Trash().List());
}

void TForm2::ExportCsv(const TDownloadsList& list) {
  std::array<wchar_t, 32768> file{};
  OPENFILENAMEW dialog{};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = FHandle;
  dialog.lpstrFilter = L"CSV (*.csv)\0*.csv\0";
  dialog.lpstrDefExt = L"csv";
  dialog.lpstrFile = file.data();
  dialog.nMaxFile = static_cast<DWORD>(file.size());
  dialog.Flags =
      OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR | OFN_HIDEREADONLY | OFN_EXPLORER | OFN_DONTADDTORECENT;
  if (!FFileDialogRunner(dialog, true) || !file[0]) return;
  SaveDownloadsCsv(list, Ansi(file.data()));
}

void TForm2::RefreshOverview() {
  if (!FOverview || !FOverview->IsShown()) return;
  if (FOverviewRevision == FCleaner.Downloads().Revision()) return;
  FOverviewRevision = FCleaner.Downloads().Revision();
  FOverview->Refresh();
}

}  // namespace brimlow
