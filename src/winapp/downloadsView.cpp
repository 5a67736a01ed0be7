#include "winapp/downloadsView.h"

#include <algorithm>
#include <array>
#include <string_view>

#include "data/categories.h"
#include "data/downloadsList.h"
#include "winapp/application.h"
#include "winapp/icons.h"
#include "winapp/winText.h"
#include "workflow/shownName.h"

namespace brimlow {

namespace {

constexpr int kHeaderHeight = 24;
const COLORREF kMarkedBackground = RGB(166, 202, 240);
constexpr int kUnchecked = 1;  // state image indices: 0 is none
constexpr int kChecked = 2;
// The earliest year a SYSTEMTIME holds.
constexpr int kFirstSystemYear = 1601;

std::wstring Cut(std::wstring text) {
  if (text.size() > size_t{kMaxShownNameLength}) text.resize(size_t{kMaxShownNameLength});
  return text;
}

// The header is 24 pixels high (at 96 dots per inch) whatever its font says.
LRESULT CALLBACK HeaderProc(HWND header, UINT message, WPARAM wParam, LPARAM lParam,
                            UINT_PTR /*id*/, DWORD_PTR /*data*/) {
  if (message == HDM_LAYOUT) {
    const LRESULT result = DefSubclassProc(header, message, wParam, lParam);
    auto* layout = reinterpret_cast<HDLAYOUT*>(lParam);
    const int height = Scaled(kHeaderHeight, DpiOf(header));
    layout->pwpos->cy = height;
    layout->prc->top = layout->pwpos->y + height;
    return result;
  }
  return DefSubclassProc(header, message, wParam, lParam);
}

void InsertColumns(HWND view, TTreeKind kind, int dpi) {
  for (int column = 0; column < TDownloadsView::ColumnCount; ++column) {
    std::wstring header = Wide(ColumnHeader(column));
    LVCOLUMNW info{};
    info.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT | LVCF_SUBITEM;
    info.fmt = column == TDownloadsView::ColumnSize ? LVCFMT_RIGHT : LVCFMT_LEFT;
    info.cx = Scaled(DownloadColumns(kind)[static_cast<size_t>(column)].width, dpi);
    info.pszText = header.data();
    info.iSubItem = column;
    SendMessageW(view, LVM_INSERTCOLUMNW, static_cast<WPARAM>(column),
                 reinterpret_cast<LPARAM>(&info));
  }
}

}  // namespace

std::wstring DisplayName(const Tdownload& download) {
  return Cut(Wide(ShownNamePart(download)));
}

std::wstring DateText(TDateTime date) {
  const std::optional<TCalendarDay> day = CalendarDayOf(date);
  if (!day || day->year < kFirstSystemYear) return {};
  SYSTEMTIME time{};
  time.wYear = static_cast<WORD>(day->year);
  time.wMonth = static_cast<WORD>(day->month);
  time.wDay = static_cast<WORD>(day->day);
  std::array<wchar_t, 80> text{};
  if (!GetDateFormatW(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &time, nullptr, text.data(),
                      static_cast<int>(text.size())))
    return {};
  return text.data();
}

TDownloadsView::TDownloadsView(HWND parent, int id, TTreeKind kind)
    : FKind(kind), FDpi(DpiOf(parent)) {
  FHandle =
      CreateWindowExW(WS_EX_CLIENTEDGE, WC_LISTVIEWW, L"",
                      WS_CHILD | WS_VISIBLE | WS_TABSTOP | LVS_REPORT | LVS_OWNERDATA |
                          LVS_SHOWSELALWAYS | LVS_SHAREIMAGELISTS,
                      0, 0, 100, 100, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                      GetModuleHandleW(nullptr), nullptr);
  // The control's own check boxes: with them, screen readers read each row's
  // state image as checked or not.
  SendMessageW(FHandle, LVM_SETEXTENDEDLISTVIEWSTYLE, 0,
               LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT | LVS_EX_HEADERDRAGDROP |
                   LVS_EX_SUBITEMIMAGES | LVS_EX_DOUBLEBUFFER);
  SendMessageW(FHandle, LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(DownloadImages()));
  // The check box images are asked for with the texts: the list keeps the
  // marks, not the control.
  SendMessageW(FHandle, LVM_SETCALLBACKMASK, LVIS_STATEIMAGEMASK, 0);
  InsertColumns(FHandle, kind, FDpi);
  const HWND header = reinterpret_cast<HWND>(SendMessageW(FHandle, LVM_GETHEADER, 0, 0));
  SetWindowSubclass(header, HeaderProc, 1, 0);
}

TDownloadsView::~TDownloadsView() {
  if (FList) FList->SetObserver(nullptr);
}

void TDownloadsView::SetList(TMarkedList* list) {
  if (FList) FList->SetObserver(nullptr);
  FList = list;
  if (FList) FList->SetObserver(this);
  Refresh();
}

void TDownloadsView::DpiChanged(int dpi) {
  // The header asks its parent about each new width; the state column,
  // which the user cannot resize, must take its new one too.
  FRescaling = true;
  for (int column = 0; column < ColumnCount; ++column)
    SendMessageW(FHandle, LVM_SETCOLUMNWIDTH, static_cast<WPARAM>(column),
                 MulDiv(ColumnWidth(column), dpi, FDpi));
  FRescaling = false;
  FDpi = dpi;
}

int TDownloadsView::ColumnWidth(int column) const {
  return static_cast<int>(
      SendMessageW(FHandle, LVM_GETCOLUMNWIDTH, static_cast<WPARAM>(column), 0));
}

int TDownloadsView::ColumnMinimum(int column) const {
  return Scaled(DownloadColumns(FKind)[static_cast<size_t>(column)].minimum, FDpi);
}

void TDownloadsView::SetCategories(const TCategoryList* categories) {
  FCategories = categories;
  InvalidateRect(FHandle, nullptr, FALSE);
}

void TDownloadsView::Refresh() {
  const int count = FList ? FList->Count() : 0;
  SendMessageW(FHandle, LVM_SETITEMCOUNT, static_cast<WPARAM>(count), LVSICF_NOSCROLL);
  InvalidateRect(FHandle, nullptr, FALSE);
}

void TDownloadsView::AfterRemove() {
  // The control keeps its selection by position; after rows left, those
  // positions show other downloads.
  // Asking the control to clear all rows at once makes it visit every row.
  LVITEMW none{};
  none.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
  for (const UINT which : {LVNI_SELECTED, LVNI_FOCUSED}) {
    for (int row = -1;;) {
      row =
          static_cast<int>(SendMessageW(FHandle, LVM_GETNEXTITEM, static_cast<WPARAM>(row), which));
      if (row < 0) break;
      SendMessageW(FHandle, LVM_SETITEMSTATE, static_cast<WPARAM>(row),
                   reinterpret_cast<LPARAM>(&none));
    }
  }
  Refresh();
}

void TDownloadsView::MarksChanged(int first, int last) {
  // Only the rows on view are painted again: invalidating rows out of view
  // costs the control time for each of them, which a filter over 100,000
  // rows would feel.
  const auto top = static_cast<int>(SendMessageW(FHandle, LVM_GETTOPINDEX, 0, 0));
  const auto page = static_cast<int>(SendMessageW(FHandle, LVM_GETCOUNTPERPAGE, 0, 0));
  const int from = std::max(first, top);
  const int to = std::min(last, top + page);
  if (from > to) return;
  SendMessageW(FHandle, LVM_REDRAWITEMS, static_cast<WPARAM>(from), to);
  // The control cannot see a mark change in the list: screen readers are
  // told of it here, child i + 1 being row i.
  for (int row = from; row <= to; ++row)
    NotifyWinEvent(EVENT_OBJECT_STATECHANGE, FHandle, OBJID_CLIENT, row + 1);
}

std::wstring TDownloadsView::CellText(int row, int column) const {
  if (!FList || row < 0 || row >= FList->Count()) return {};
  const Tdownload& download = FList->List()[row];
  switch (column) {
    case ColumnName: return DisplayName(download);
    // The 20-pixel column shows the icon alone; a code without one shows the
    // number.
    case ColumnState: return StateImage(download.State) < 0 ? std::to_wstring(download.State) : L"";
    case ColumnSize: return Wide(download.SizeText());
    case ColumnDate: return DateText(download.Date);
    default: return {};
  }
}

int TDownloadsView::CellImage(int row, int column) const {
  if (!FList || row < 0 || row >= FList->Count()) return -1;
  const Tdownload& download = FList->List()[row];
  if (column == ColumnState) return StateImage(download.State);
  if (column != ColumnName || !FCategories) return -1;
  const Tcategory* category = FCategories->FindByID(download.NodeID);
  return category ? CategoryImage(category->ImageIndex) : -1;
}

void TDownloadsView::FillItem(NMLVDISPINFOW& info) const {
  LVITEMW& item = info.item;
  if (item.mask & LVIF_TEXT && item.pszText && item.cchTextMax > 0) {
    const std::wstring text = CellText(item.iItem, item.iSubItem);
    const size_t length = std::min(text.size(), static_cast<size_t>(item.cchTextMax - 1));
    text.copy(item.pszText, length);
    item.pszText[length] = L'\0';
  }
  if (item.mask & LVIF_IMAGE) item.iImage = CellImage(item.iItem, item.iSubItem);
  if (item.mask & LVIF_STATE && item.iSubItem == 0 && FList && item.iItem < FList->Count()) {
    item.state &= ~LVIS_STATEIMAGEMASK;
    item.state |= INDEXTOSTATEIMAGEMASK(FList->IsChecked(item.iItem) ? kChecked : kUnchecked);
    item.stateMask |= LVIS_STATEIMAGEMASK;
  }
}

LRESULT TDownloadsView::CustomDraw(NMLVCUSTOMDRAW& draw) const {
  switch (draw.nmcd.dwDrawStage) {
    case CDDS_PREPAINT: return CDRF_NOTIFYITEMDRAW;
    case CDDS_ITEMPREPAINT: {
      const auto row = static_cast<int>(draw.nmcd.dwItemSpec);
      if (FList && row < FList->Count() && FList->IsChecked(row)) {
        draw.clrTextBk = kMarkedBackground;
        return CDRF_NEWFONT;
      }
      return CDRF_DODEFAULT;
    }
    default: return CDRF_DODEFAULT;
  }
}

void TDownloadsView::ToggleMark(int row) {
  if (!FList || row < 0 || row >= FList->Count()) return;
  FList->SetChecked(row, !FList->IsChecked(row));
  if (FOnChecked) FOnChecked();
}

void TDownloadsView::Clicked(const NMITEMACTIVATE& click) {
  LVHITTESTINFO hit{};
  hit.pt = click.ptAction;
  SendMessageW(FHandle, LVM_SUBITEMHITTEST, 0, reinterpret_cast<LPARAM>(&hit));
  if (hit.iItem >= 0 && hit.iSubItem == 0 && (hit.flags & LVHT_ONITEMSTATEICON))
    ToggleMark(hit.iItem);
}

void TDownloadsView::KeyDown(const NMLVKEYDOWN& key) {
  if (key.wVKey == VK_DELETE && FOnDeleteKey) return FOnDeleteKey();
  if (key.wVKey != VK_SPACE || !FList) return;
  const int focused = static_cast<int>(
      SendMessageW(FHandle, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED));
  if (focused < 0 || focused >= FList->Count()) return;
  // Every selected row takes the new mark of the focused one.
  const bool mark = !FList->IsChecked(focused);
  FList->SetChecked(focused, mark);
  for (int row = -1;;) {
    row = static_cast<int>(
        SendMessageW(FHandle, LVM_GETNEXTITEM, static_cast<WPARAM>(row), LVNI_SELECTED));
    if (row < 0 || row >= FList->Count()) break;
    FList->SetChecked(row, mark);
  }
  if (FOnChecked) FOnChecked();
}

bool TDownloadsView::RefuseWidth(const NMHEADERW& change) const {
  if (FRescaling || change.iItem < 0 || change.iItem >= ColumnCount) return false;
  if (change.iItem == ColumnState) return true;  // the state column keeps its width
  if (!change.pitem || !(change.pitem->mask & HDI_WIDTH)) return false;
  return change.pitem->cxy < ColumnMinimum(change.iItem);
}

int TDownloadsView::FindByName(const NMLVFINDITEMW& find) const {
  const LVFINDINFOW& info = find.lvfi;
  if (!FList || !(info.flags & (LVFI_STRING | LVFI_PARTIAL)) || !info.psz) return -1;
  auto lower = [](std::wstring text) {
    CharLowerBuffW(text.data(), static_cast<DWORD>(text.size()));
    return text;
  };
  const std::wstring typed = lower(info.psz);
  const int count = FList->Count();
  const int start = find.iStart >= 0 && find.iStart < count ? find.iStart : 0;
  for (int step = 0; step < count; ++step) {
    const int row = (start + step) % count;
    if (row < start && !(info.flags & LVFI_WRAP)) break;
    if (lower(DisplayName(FList->List()[row])).starts_with(typed)) return row;
  }
  return -1;
}

bool TDownloadsView::Notify(const NMHDR& header, LRESULT& result) {
  result = 0;
  if (header.hwndFrom != FHandle) {
    // The header's notifications reach the list view's parent too.
    if (header.hwndFrom != reinterpret_cast<HWND>(SendMessageW(FHandle, LVM_GETHEADER, 0, 0)))
      return false;
    switch (header.code) {
      case HDN_ITEMCHANGINGW:
      case HDN_ITEMCHANGINGA:
        result = RefuseWidth(reinterpret_cast<const NMHEADERW&>(header)) ? TRUE : FALSE;
        return true;
      case HDN_BEGINTRACKW:
      case HDN_BEGINTRACKA:
      case HDN_DIVIDERDBLCLICKW:
      case HDN_DIVIDERDBLCLICKA:
        result = reinterpret_cast<const NMHEADERW&>(header).iItem == ColumnState;
        return true;
      default: return false;
    }
  }
  switch (header.code) {
    case LVN_GETDISPINFOW:
      FillItem(reinterpret_cast<NMLVDISPINFOW&>(const_cast<NMHDR&>(header)));
      return true;
    case NM_CUSTOMDRAW:
      result = CustomDraw(reinterpret_cast<NMLVCUSTOMDRAW&>(const_cast<NMHDR&>(header)));
      return true;
    case NM_CLICK: Clicked(reinterpret_cast<const NMITEMACTIVATE&>(header)); return true;
    case LVN_KEYDOWN: KeyDown(reinterpret_cast<const NMLVKEYDOWN&>(header)); return true;
    case LVN_ODFINDITEMW:
      result = FindByName(reinterpret_cast<const NMLVFINDITEMW&>(header));
      return true;
    default: return false;
  }
}

}  // namespace brimlow
