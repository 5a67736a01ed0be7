#include "winapp/reportUnit.h"

#include <algorithm>

#include "winapp/dialogWindow.h"
#include "winapp/winText.h"

namespace brimlow {

namespace {

constexpr int kClientWidth = 342;
constexpr int kClientHeight = 142;
constexpr int kFirstFileLine = 44;
constexpr int kLineHeight = 18;

HWND Caption(HWND dialog, const wchar_t* text, RECT box) {
  const HWND label = DialogControl(dialog, L"STATIC", text, SS_LEFT, 0, box);
  MarkAsCaption(label);
  return label;
}

}  // namespace

TreportForm::TreportForm(HWND owner)
    : FHandle(CreateDialogWindow(owner, L"Отчёт", kClientWidth, kClientHeight)) {
  Caption(FHandle, L"Список закачек:", {16, 8, 110, 24});
  listLabel = DialogControl(FHandle, L"STATIC", L"", SS_LEFT | SS_NOPREFIX, 0, {112, 8, 330, 24});
  Caption(FHandle, L"Выделенное:", {16, 26, 110, 42});
  selLabel = DialogControl(FHandle, L"STATIC", L"", SS_LEFT | SS_NOPREFIX, 0, {112, 26, 330, 42});
  filesCaption = Caption(FHandle, L"Файлы:", {16, 44, 110, 60});
  filesLabel = DialogControl(FHandle, L"STATIC", L"", SS_LEFT | SS_NOPREFIX, 0, {112, 44, 330, 60});
  FFileLines.emplace_back(filesCaption, filesLabel);
  FBackupCaption = Caption(FHandle, L"Резервная копия:", {16, 62, 330, 78});
  Edit1 = DialogControl(FHandle, L"EDIT", L"", WS_TABSTOP | ES_AUTOHSCROLL | ES_READONLY, 0,
                        {16, 80, 321, 101}, WS_EX_CLIENTEDGE);
  Button1 = DialogControl(FHandle, L"BUTTON", L"ОК", WS_TABSTOP | BS_DEFPUSHBUTTON, IDOK,
                          {133, 110, 208, 135});
}

TreportForm::~TreportForm() {
  if (IsWindow(FHandle)) DestroyWindow(FHandle);
}

void TreportForm::ShowReport(const TExecutionReportTexts& texts) {
  SetWindowTextW(listLabel, Wide(texts.listLabel).c_str());
  SetWindowTextW(selLabel, Wide(texts.selLabel).c_str());
  // What became of the files is said a line each, when there is anything
  // to say.
  LayOutFileLines(texts.fileLines.size());
  for (size_t i = 0; i < FFileLines.size(); ++i) {
    const bool shown = i < texts.fileLines.size();
    SetWindowTextW(FFileLines[i].first, shown ? Wide(texts.fileLines[i].caption).c_str() : L"");
    SetWindowTextW(FFileLines[i].second, shown ? Wide(texts.fileLines[i].text).c_str() : L"");
  }
  SetWindowTextW(Edit1, Wide(texts.Edit1).c_str());
  SendMessageW(Edit1, EM_SETSEL, 0, -1);
  // Centred on the screen.
  RECT frame;
  GetWindowRect(FHandle, &frame);
  RECT work;
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  SetWindowPos(FHandle, nullptr, (work.left + work.right - (frame.right - frame.left)) / 2,
               (work.top + work.bottom - (frame.bottom - frame.top)) / 2, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  SetFocus(Button1);
}

void TreportForm::LayOutFileLines(size_t count) {
  while (FFileLines.size() < count) {
    const int top = kFirstFileLine + kLineHeight * static_cast<int>(FFileLines.size());
    FFileLines.emplace_back(Caption(FHandle, L"", {16, top, 110, top + 16}),
                            DialogControl(FHandle, L"STATIC", L"", SS_LEFT | SS_NOPREFIX, 0,
                                          {112, top, 330, top + 16}));
  }
  for (size_t i = 0; i < FFileLines.size(); ++i) {
    ShowWindow(FFileLines[i].first, i < count ? SW_SHOW : SW_HIDE);
    ShowWindow(FFileLines[i].second, i < count ? SW_SHOW : SW_HIDE);
  }
  // One line stays free for the files even when there is none.
  const int extra = kLineHeight * (std::max<int>(static_cast<int>(count), 1) - 1);
  PlaceDialogControl(FBackupCaption, {16, 62 + extra, 330, 78 + extra});
  PlaceDialogControl(Edit1, {16, 80 + extra, 321, 101 + extra});
  PlaceDialogControl(Button1, {133, 110 + extra, 208, 135 + extra});
  ResizeDialog(FHandle, kClientWidth, kClientHeight + extra);
}

}  // namespace brimlow
