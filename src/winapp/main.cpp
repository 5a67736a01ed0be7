#include "winapp/main.h"

#include <commctrl.h>

#include <array>

#include "data/categories.h"
#include "platform/path.h"
#include "platform/platform.h"
#include "winapp/about.h"
#include "winapp/downloadsView.h"
#include "winapp/overviewForm.h"
#include "winapp/reportUnit.h"
#include "winapp/splitter.h"
#include "winapp/winText.h"
#include "workflow/filterChoices.h"

namespace brimlow {

namespace {

constexpr const wchar_t* kWindowClass = L"TForm2";
constexpr int kDesignWidth = 793;
constexpr int kDesignHeight = 597;

void InitControls() {
  INITCOMMONCONTROLSEX classes{sizeof classes, ICC_LISTVIEW_CLASSES | ICC_DATE_CLASSES |
                                                   ICC_BAR_CLASSES | ICC_PROGRESS_CLASS |
                                                   ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&classes);
}

// The size of the window whose client area has the design size.
SIZE OuterSize(int dpi) {
  RECT frame{0, 0, Scaled(kDesignWidth, dpi), Scaled(kDesignHeight, dpi)};
  AdjustWindowRectExForDpi(&frame, WS_OVERLAPPEDWINDOW, TRUE, 0, static_cast<UINT>(dpi));
  return {frame.right - frame.left, frame.bottom - frame.top};
}

}  // namespace

bool RunFileDialog(OPENFILENAMEW& dialog, bool save) {
  return save ? GetSaveFileNameW(&dialog) : GetOpenFileNameW(&dialog);
}

TForm2::TForm2() : FCleaner(this) {
  InitControls();
  RegisterWindowClass(kWindowClass, FormWindowProc<TForm2>, GetSysColorBrush(COLOR_BTNFACE));
  FHandle = CreateWindowExW(0, kWindowClass, Wide(FCaption).c_str(),
                            WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, CW_USEDEFAULT, CW_USEDEFAULT,
                            CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr,
                            GetModuleHandleW(nullptr), this);
  BuildForm2Ui(FHandle, ui);
  FLeftView = std::make_unique<TDownloadsView>(ui.Panel1, ID_treeLeft, TTreeKind::List);
  FRightView = std::make_unique<TDownloadsView>(ui.Panel3, ID_treeRight, TTreeKind::Trash);
  ui.treeLeft = FLeftView->Handle();
  ui.treeRight = FRightView->Handle();
  // In the tab order each list comes right after its group's caption.
  SetWindowPos(ui.treeLeft, ui.GroupBox5, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  SetWindowPos(ui.treeRight, ui.GroupBox3, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  FLeftView->SetList(&FCleaner.Downloads());
  FRightView->SetList(&FCleaner.Trash());
  FLeftView->SetCategories(&FCleaner.Categories());
  FRightView->SetCategories(&FCleaner.Categories());
  // Marks changed in the trash trigger nothing.
  FLeftView->OnChecked([this] { treeLeftChecked(); });
  FLeftView->OnDeleteKey([this] { ListKey(TShortcutScope::DownloadsList); });
  FRightView->OnDeleteKey([this] { ListKey(TShortcutScope::TrashList); });
  FReport = std::make_unique<TreportForm>(FHandle);
  FAbout = std::make_unique<TaboutForm>(FHandle);

  const int dpi = DpiOf(FHandle);
  SetFontOfChildren(FHandle, ProgramFont(dpi));
  const SIZE outer = OuterSize(dpi);
  SetWindowPos(FHandle, nullptr, 0, 0, outer.cx, outer.cy, SWP_NOMOVE | SWP_NOZORDER);
}

TForm2::~TForm2() {
  FOverview.reset();
  FLeftView->SetList(nullptr);
  FRightView->SetList(nullptr);
  FCleaner.SetFrontEnd(nullptr);
  if (IsWindow(FHandle)) {
    SetWindowLongPtrW(FHandle, GWLP_USERDATA, 0);
    DestroyWindow(FHandle);
  }
}

void TForm2::FormCreate() {
  FCleaner.StartUp();
}

void TForm2::ListLocated(const std::string& listName) {
  // The dialogs show this system's folders; a host path is mapped onto them.
  FSaveFolder = platform::localPathOf(platform::ExtractFileDir(listName));
}

void TForm2::CategoriesChanged() {
  FLeftView->SetCategories(&FCleaner.Categories());
  FRightView->SetCategories(&FCleaner.Categories());
  FillCategoryBox();
}

void TForm2::ListLoaded(const std::string& fileName) {
  SetCaption(platform::ExtractFileName(fileName));
}

void TForm2::FillCategoryBox() {
  SendMessageW(ui.catBox, CB_RESETCONTENT, 0, 0);
  SendMessageW(ui.catBox, CB_ADDSTRING, 0,
               reinterpret_cast<LPARAM>(WideFromUtf8(kAnyCategoryCaption).c_str()));
  // Each category's item carries its ID, which the filter compares.
  const TCategoryList& categories = FCleaner.Categories();
  for (int index = 0; index < categories.Count(); ++index) {
    const std::wstring name = Wide(categories[index].Name).substr(0, 1000);
    const auto item =
        SendMessageW(ui.catBox, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
    SendMessageW(ui.catBox, CB_SETITEMDATA, static_cast<WPARAM>(item),
                 static_cast<LPARAM>(categories[index].ID));
  }
  SendMessageW(ui.catBox, CB_SETCURSEL, 0, 0);
}

void TForm2::SetCaption(const std::string& fileName) {
  FCaption = TitleAfterLoad(FCaption, fileName);
  SetWindowTextW(FHandle, Wide(FCaption).c_str());
}

void TForm2::LoadList(const std::string& fileName) {
  FCleaner.LoadList(fileName);
}

void TForm2::openDefaultExecute() {
  FCleaner.OpenDefault();
}

void TForm2::OpenWithDialogExecute() {
  // The dialog starts in the current list's folder with the list chosen.
  std::array<wchar_t, 32768> file{};
  const std::wstring current = Wide(platform::localPathOf(FCleaner.GetDefaultListName()));
  current.copy(file.data(), std::min(current.size(), file.size() - 1));
  OPENFILENAMEW dialog{};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = FHandle;
  dialog.lpstrFilter = L"XML\0*.xml\0";
  dialog.lpstrFile = file.data();
  dialog.nMaxFile = static_cast<DWORD>(file.size());
  dialog.Flags = OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR | OFN_DONTADDTORECENT |
                 OFN_HIDEREADONLY | OFN_EXPLORER;
  if (!FFileDialogRunner(dialog, false) || !file[0]) return;
  LoadList(Ansi(file.data()));
}

void TForm2::N6Click() {
  SendMessageW(FHandle, WM_CLOSE, 0, 0);
}

void TForm2::FormClose() {
  FCleaner.ControlHost(true);
}

void TForm2::SetDialogRunner(TModalRunner runner) {
  FDialogRunner = runner ? std::move(runner) : TModalRunner(RunModal);
}

void TForm2::SetFileDialogRunner(TFileDialogRunner runner) {
  FFileDialogRunner = runner ? std::move(runner) : TFileDialogRunner(RunFileDialog);
}

bool TForm2::Ready() const {
  return ui.Panel3 != nullptr;
}

LRESULT TForm2::Dispatch(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND: Command(LOWORD(wParam)); return 0;
    case WM_NOTIFY: return Notify(*reinterpret_cast<const NMHDR*>(lParam));
    case WM_SIZE:
      SendMessageW(ui.statusBar, WM_SIZE, 0, 0);
      FormResize();
      return 0;
    case WM_SPLITTER_MOVED:
      if (reinterpret_cast<HWND>(GetDlgItem(FHandle, static_cast<int>(wParam))) == ui.Splitter1)
        Splitter1Moved(static_cast<int>(lParam));
      else
        Splitter2Moved(static_cast<int>(lParam));
      return 0;
    case WM_CTLCOLORSTATIC:
      if (IsHeaderCaption(reinterpret_cast<HWND>(lParam))) {
        const HDC dc = reinterpret_cast<HDC>(wParam);
        SetTextColor(dc, GetSysColor(COLOR_HIGHLIGHT));
        SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
        SelectObject(dc, PixelFont(MulDiv(8, DpiOf(FHandle), 72), true));
        return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
      }
      return DefWindowProcW(FHandle, message, wParam, lParam);
    case WM_SETCURSOR:
      if (FBusy) {
        SetCursor(LoadCursorW(nullptr, IDC_WAIT));
        return TRUE;
      }
      return DefWindowProcW(FHandle, message, wParam, lParam);
    case WM_DPICHANGED: {
      const auto* suggested = reinterpret_cast<const RECT*>(lParam);
      SetFontOfChildren(FHandle, ProgramFont(HIWORD(wParam)));
      FLeftView->DpiChanged(HIWORD(wParam));
      FRightView->DpiChanged(HIWORD(wParam));
      SetWindowPos(FHandle, nullptr, suggested->left, suggested->top,
                   suggested->right - suggested->left, suggested->bottom - suggested->top,
                   SWP_NOZORDER | SWP_NOACTIVATE);
      return 0;
    }
    case WM_CLOSE:
      // A list loads or the filter runs: closing now would pull the lists
      // from under it.
      if (FBusy) return 0;
      Guarded([this] { FormClose(); });
      DestroyWindow(FHandle);
      return 0;
    case WM_DESTROY:
      if (FQuitOnDestroy) PostQuitMessage(0);
      return 0;
    default: return DefWindowProcW(FHandle, message, wParam, lParam);
  }
}

void TForm2::Command(int id) {
  if (id >= ID_FirstBackup) return BackupMenuClick(id - ID_FirstBackup);
  switch (id) {
    case ID_openDefault: return openDefaultExecute();
    case ID_OpenWithDialog: return OpenWithDialogExecute();
    case ID_N6: return N6Click();
    case ID_move: return moveExecute();
    case ID_doCopy: return doCopyExecute();
    case ID_moveBack: return moveBackExecute();
    case ID_doSelect: return doSelectExecute();
    case ID_noSelection: return noSelectionExecute();
    case ID_Button2: return Button2Click();
    case ID_N10: return N10Click();
    case ID_N11: return N11Click();
    case ID_online1: return online1Click();
    case ID_N13: return N13Click();
    case ID_N14: return N14Click();
    case ID_N16: return N16Click();
    case ID_undoExecution: return undoExecutionClick();
    case ID_listOverview: return listOverviewExecute();
    case ID_exportCsv: return exportCsvExecute();
    case ID_exportTrashCsv: return exportTrashCsvExecute();
    default: return;
  }
}

void TForm2::ListKey(TShortcutScope list) {
  for (int i = 0; i < kCommandCount; ++i)
    if (CommandEntry(static_cast<TCommand>(i)).scope == list)
      SendMessageW(FHandle, WM_COMMAND, static_cast<WPARAM>(CommandId(static_cast<TCommand>(i))),
                   0);
}

LRESULT TForm2::Notify(const NMHDR& header) {
  // A list view notifies while it is being made, before its view is kept.
  LRESULT result = 0;
  for (TDownloadsView* view : {FLeftView.get(), FRightView.get()})
    if (view && view->Notify(header, result)) return result;
  return 0;
}

void TForm2::SetBusy(bool busy, const wchar_t* status) {
  FBusy = busy;
  SendMessageW(ui.statusBar, SB_SETTEXTW, 0, reinterpret_cast<LPARAM>(status ? status : L""));
  SetCursor(LoadCursorW(nullptr, busy ? IDC_WAIT : IDC_ARROW));
}

}  // namespace brimlow
