#include "winapp/overviewForm.h"
// After the system header it needs.
#include <commctrl.h>

#include <algorithm>

#include "data/download.h"
#include "winapp/application.h"
#include "winapp/winText.h"

namespace brimlow {

namespace {

constexpr const wchar_t* kOverviewClass = L"BrimlowOverview";
enum TColumn { KeyColumn, CountColumn, SizeColumn, BarColumn };
constexpr int kDesignWidth = 520;
constexpr int kDesignHeight = 340;

const wchar_t* KeyHeader(TOverviewAxis axis) {
  switch (axis) {
    case TOverviewAxis::Category: return L"Категория";
    case TOverviewAxis::Year: return L"Год";
    case TOverviewAxis::State: return L"Состояние";
    case TOverviewAxis::File: return L"Файл";
  }
  return L"";
}

void SetColumn(HWND table, int column, const wchar_t* title, int width, int format, bool insert) {
  LVCOLUMNW info{};
  info.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
  info.fmt = format;
  info.cx = Scaled(width, DpiOf(table));
  info.pszText = const_cast<wchar_t*>(title);
  SendMessageW(table, insert ? LVM_INSERTCOLUMNW : LVM_SETCOLUMNW, static_cast<WPARAM>(column),
               reinterpret_cast<LPARAM>(&info));
}

void SetCell(HWND table, int row, int column, const std::wstring& text) {
  LVITEMW item{};
  item.iItem = row;
  item.iSubItem = column;
  item.mask = LVIF_TEXT;
  item.pszText = const_cast<wchar_t*>(text.c_str());
  SendMessageW(table, column == 0 ? LVM_INSERTITEMW : LVM_SETITEMW, 0,
               reinterpret_cast<LPARAM>(&item));
}

}  // namespace

TOverviewForm::TOverviewForm(HWND owner, TOverviewSource source, TOverviewChoice choose)
    : FSource(std::move(source)), FChoose(std::move(choose)) {
  RegisterWindowClass(kOverviewClass, FormWindowProc<TOverviewForm>,
                      GetSysColorBrush(COLOR_BTNFACE));
  const int dpi = DpiOf(owner);
  FHandle = CreateWindowExW(WS_EX_DLGMODALFRAME, kOverviewClass, L"Обзор списка",
                            WS_OVERLAPPEDWINDOW & ~WS_MINIMIZEBOX, CW_USEDEFAULT, CW_USEDEFAULT,
                            Scaled(kDesignWidth, dpi), Scaled(kDesignHeight, dpi), owner, nullptr,
                            GetModuleHandleW(nullptr), this);
  FTabs = CreateWindowExW(0, WC_TABCONTROLW, L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP, 0, 0, 10, 10,
                          FHandle, nullptr, GetModuleHandleW(nullptr), nullptr);
  for (const TOverviewAxisChoice& choice : OverviewAxes()) {
    const std::wstring caption = WideFromUtf8(choice.caption);
    TCITEMW tab{};
    tab.mask = TCIF_TEXT;
    tab.pszText = const_cast<wchar_t*>(caption.c_str());
    SendMessageW(FTabs, TCM_INSERTITEMW, static_cast<WPARAM>(choice.axis),
                 reinterpret_cast<LPARAM>(&tab));
  }
  FTable = CreateWindowExW(
      WS_EX_CLIENTEDGE, WC_LISTVIEWW, L"",
      WS_CHILD | WS_VISIBLE | WS_TABSTOP | LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS, 0, 0, 10,
      10, FHandle, nullptr, GetModuleHandleW(nullptr), nullptr);
  SendMessageW(FTable, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LVS_EX_FULLROWSELECT | LVS_EX_DOUBLEBUFFER);
  SetColumn(FTable, KeyColumn, KeyHeader(TOverviewAxis::Category), 170, LVCFMT_LEFT, true);
  SetColumn(FTable, CountColumn, L"Закачек", 72, LVCFMT_RIGHT, true);
  SetColumn(FTable, SizeColumn, L"Размер", 80, LVCFMT_RIGHT, true);
  SetColumn(FTable, BarColumn, L"", 158, LVCFMT_LEFT, true);
  SetFontOfChildren(FHandle, ProgramFont(dpi));
  FShown.resize(OverviewAxes().size());
  FCurrent.assign(FShown.size(), false);
  Layout();
}

TOverviewForm::~TOverviewForm() {
  if (IsWindow(FHandle)) {
    SetWindowLongPtrW(FHandle, GWLP_USERDATA, 0);
    DestroyWindow(FHandle);
  }
}

void TOverviewForm::Show() {
  ShowWindow(FHandle, SW_SHOWNORMAL);
  SetForegroundWindow(FHandle);
  Refresh();
}

void TOverviewForm::Refresh() {
  FCurrent.assign(FShown.size(), false);
  Fill();
}

void TOverviewForm::ShowAxis(TOverviewAxis axis) {
  SendMessageW(FTabs, TCM_SETCURSEL, static_cast<WPARAM>(axis), 0);
  Fill();
}

TOverviewAxis TOverviewForm::ShownAxis() const {
  const auto tab =
      static_cast<size_t>(std::max<LRESULT>(0, SendMessageW(FTabs, TCM_GETCURSEL, 0, 0)));
  return OverviewAxes()[std::min(tab, OverviewAxes().size() - 1)].axis;
}

void TOverviewForm::ChooseRow(int row) {
  const TOverview& overview = FShown[static_cast<size_t>(ShownAxis())];
  if (row < 0 || static_cast<size_t>(row) >= overview.rows.size()) return;
  if (const std::optional<TFilterInputs>& filter = overview.rows[static_cast<size_t>(row)].filter)
    FChoose(*filter);
}

void TOverviewForm::Fill() {
  const TOverviewAxis axis = ShownAxis();
  const auto index = static_cast<size_t>(axis);
  if (!FCurrent[index]) {
    FShown[index] = FSource(axis);
    FCurrent[index] = true;
  }
  SetColumn(FTable, KeyColumn, KeyHeader(axis), 170, LVCFMT_LEFT, false);
  SendMessageW(FTable, WM_SETREDRAW, FALSE, 0);
  SendMessageW(FTable, LVM_DELETEALLITEMS, 0, 0);
  const TOverview& overview = FShown[index];
  for (size_t i = 0; i < overview.rows.size(); ++i) {
    const TOverviewRow& row = overview.rows[i];
    const int at = static_cast<int>(i);
    SetCell(FTable, at, KeyColumn, WideFromUtf8(row.caption));
    SetCell(FTable, at, CountColumn, std::to_wstring(row.count));
    SetCell(FTable, at, SizeColumn, Wide(SizeToText(row.size)));
  }
  SendMessageW(FTable, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(FTable, nullptr, TRUE);
}

void TOverviewForm::Layout() {
  RECT client{};
  GetClientRect(FHandle, &client);
  const int margin = Scaled(6, DpiOf(FHandle));
  MoveWindow(FTabs, margin, margin, client.right - 2 * margin, client.bottom - 2 * margin, TRUE);
  RECT inside{0, 0, client.right - 2 * margin, client.bottom - 2 * margin};
  SendMessageW(FTabs, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&inside));
  MoveWindow(FTable, margin + inside.left, margin + inside.top, inside.right - inside.left,
             inside.bottom - inside.top, TRUE);
  SetWindowPos(FTable, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

bool TOverviewForm::Ready() const {
  return FTable != nullptr;
}

LRESULT TOverviewForm::Dispatch(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_NOTIFY: return Notify(*reinterpret_cast<const NMHDR*>(lParam));
    case WM_SIZE: Layout(); return 0;
    case WM_CLOSE: ShowWindow(FHandle, SW_HIDE); return 0;
    case WM_KEYDOWN:
      if (wParam == VK_ESCAPE) ShowWindow(FHandle, SW_HIDE);
      return 0;
    default: return DefWindowProcW(FHandle, message, wParam, lParam);
  }
}

LRESULT TOverviewForm::Notify(const NMHDR& header) {
  if (header.hwndFrom == FTabs && header.code == TCN_SELCHANGE) {
    Fill();
    return 0;
  }
  if (header.hwndFrom != FTable) return 0;
  switch (header.code) {
    case NM_CUSTOMDRAW:
      return CustomDraw(reinterpret_cast<NMLVCUSTOMDRAW&>(const_cast<NMHDR&>(header)));
    case NM_CLICK: ChooseRow(reinterpret_cast<const NMITEMACTIVATE&>(header).iItem); return 0;
    default: return 0;
  }
}

LRESULT TOverviewForm::CustomDraw(NMLVCUSTOMDRAW& draw) const {
  switch (draw.nmcd.dwDrawStage) {
    case CDDS_PREPAINT: return CDRF_NOTIFYITEMDRAW;
    case CDDS_ITEMPREPAINT: return CDRF_NOTIFYSUBITEMDRAW;
    case CDDS_ITEMPREPAINT | CDDS_SUBITEM:
      return draw.iSubItem == BarColumn ? CDRF_NOTIFYPOSTPAINT : CDRF_DODEFAULT;
    case CDDS_ITEMPOSTPAINT | CDDS_SUBITEM: {
      const TOverview& overview = FShown[static_cast<size_t>(ShownAxis())];
      const auto row = static_cast<size_t>(draw.nmcd.dwItemSpec);
      if (draw.iSubItem != BarColumn || row >= overview.rows.size()) return CDRF_DODEFAULT;
      const int64_t biggest = overview.rows.front().size;
      const int64_t size = overview.rows[row].size;
      if (biggest <= 0 || size <= 0) return CDRF_DODEFAULT;
      RECT cell{};
      cell.top = BarColumn;
      cell.left = LVIR_BOUNDS;
      SendMessageW(FTable, LVM_GETSUBITEMRECT, static_cast<WPARAM>(row),
                   reinterpret_cast<LPARAM>(&cell));
      InflateRect(&cell, -2, -3);
      const double share = static_cast<double>(size) / static_cast<double>(biggest);
      cell.right = cell.left + std::max(1, static_cast<int>((cell.right - cell.left) * share));
      FillRect(draw.nmcd.hdc, &cell, GetSysColorBrush(COLOR_HIGHLIGHT));
      return CDRF_DODEFAULT;
    }
    default: return CDRF_DODEFAULT;
  }
}

}  // namespace brimlow
