// TForm2: "Выполнить": the chosen action handed to the workflow, and its
// report shown.
#include <array>

#include "winapp/main.h"
#include "winapp/reportUnit.h"
#include "winapp/winText.h"

namespace brimlow {

namespace {

bool IsChecked(HWND button) {
  return SendMessageW(button, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

}  // namespace

TTrashAction TForm2::ChosenAction() const {
  if (IsChecked(ui.saveSel)) return TTrashAction::SaveSeparately;
  if (IsChecked(ui.delSelWithFiles)) return TTrashAction::DeleteWithFiles;
  if (IsChecked(ui.delSelFiles)) return TTrashAction::DeleteFilesOnly;
  return TTrashAction::Delete;
}

void TForm2::Button2Click() {
  TExecutionRequest request;
  request.action = ChosenAction();
  request.makeBackup = IsChecked(ui.CheckBox2);
  request.recycle = IsChecked(ui.recycleFiles);
  if (const std::optional<TExecutionReport> report = FCleaner.Execute(request))
    ShowReportTexts(report->Texts());
}

void TForm2::undoExecutionClick() {
  // The accelerator reaches here even while the item is greyed.
  if (!FCleaner.CanUndo()) return;
  ShowReportTexts(FCleaner.UndoLastExecution().Texts());
}

std::optional<std::string> TForm2::AskSeparateListName() {
  std::array<wchar_t, 32768> file{};
  const std::wstring folder = Wide(FSaveFolder);
  OPENFILENAMEW dialog{};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = FHandle;
  dialog.lpstrFilter = L"*.xml\0*.xml\0";
  dialog.lpstrDefExt = L"xml";
  dialog.lpstrInitialDir = folder.empty() ? nullptr : folder.c_str();
  dialog.lpstrFile = file.data();
  dialog.nMaxFile = static_cast<DWORD>(file.size());
  // An existing file is replaced without a question.
  dialog.Flags =
      OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR | OFN_HIDEREADONLY | OFN_EXPLORER | OFN_DONTADDTORECENT;
  if (!FFileDialogRunner(dialog, true) || !file[0]) return std::nullopt;
  return Ansi(file.data());
}

void TForm2::ShowReportTexts(const TExecutionReportTexts& texts) {
  FReport->ShowReport(texts);
  FDialogRunner(FReport->Handle());
}

}  // namespace brimlow
