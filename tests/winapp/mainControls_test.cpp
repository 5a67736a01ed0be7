// The Windows main window's controls as the mouse, the keyboard and the
// system reach them: check-box clicks, the Tab order, the marked rows'
// colour, a change of screen resolution, and the system's dialogs.
#include <algorithm>

#include "windowTestSupport.h"

namespace brimlow::test {

namespace {

std::vector<TListEntry> ThreeDownloads() {
  return {Entry("C:\\dl\\a.bin", 1024, 2, 5), Entry("C:\\dl\\b.bin", 2048, 4, 9),
          Entry("C:\\dl\\c.bin", 4096, 2, 5)};
}

// Where a row's check box is: the point the list view's own hit test finds.
POINT CheckBoxOf(HWND list, int row) {
  RECT bounds{LVIR_BOUNDS, 0, 0, 0};
  SendMessageW(list, LVM_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&bounds));
  for (LONG x = bounds.left; x < bounds.left + 40; ++x) {
    LVHITTESTINFO hit{};
    hit.pt = {x, (bounds.top + bounds.bottom) / 2};
    SendMessageW(list, LVM_SUBITEMHITTEST, 0, reinterpret_cast<LPARAM>(&hit));
    if (hit.iItem == row && (hit.flags & LVHT_ONITEMSTATEICON)) return hit.pt;
  }
  ADD_FAILURE() << "row " << row << " shows no check box";
  return {};
}

void ClickAt(HWND control, POINT point) {
  const LPARAM at = MAKELPARAM(point.x, point.y);
  SendMessageW(control, WM_LBUTTONDOWN, MK_LBUTTON, at);
  SendMessageW(control, WM_LBUTTONUP, 0, at);
}

int ColumnWidth(HWND list, int column) {
  return static_cast<int>(SendMessageW(list, LVM_GETCOLUMNWIDTH, static_cast<WPARAM>(column), 0));
}

}  // namespace

TEST_F(WindowTest, AClickOnACheckBoxMarksTheRowAndCountsItAtOnce) {
  StartWith(ThreeDownloads());
  ClickAt(ui->treeLeft, CheckBoxOf(ui->treeLeft, 2));
  EXPECT_TRUE(IsTicked(ui->treeLeft, 2));
  EXPECT_EQ(Text(ui->labSel), L"1");
  EXPECT_EQ(Text(ui->labSizeSel), Wide(SizeToText(4096)));
  ClickAt(ui->treeLeft, CheckBoxOf(ui->treeLeft, 2));
  EXPECT_FALSE(IsTicked(ui->treeLeft, 2));
  EXPECT_EQ(Text(ui->labSel), L"0");
  // A click on the name selects the row without marking it.
  const POINT box = CheckBoxOf(ui->treeLeft, 1);
  ClickAt(ui->treeLeft, {box.x + 60, box.y});
  EXPECT_FALSE(IsTicked(ui->treeLeft, 1));
}

TEST_F(WindowTest, TabGoesThroughThePanesInReadingOrder) {
  // Of the trash actions, only the chosen one.
  const std::vector<HWND> expected = {ui->treeLeft,  ui->fileCheckBox,   ui->stateBox,
                                      ui->catBox,    ui->size1,          ui->size2,
                                      ui->date1,     ui->date2,          ui->searchText,
                                      ui->searchBox, ui->doSelectButton, ui->noSelectionButton,
                                      ui->BitBtn1,   ui->BitBtn2,        ui->BitBtn3,
                                      ui->cleanSel,  ui->treeRight,      ui->CheckBox2,
                                      ui->deleteSel, ui->recycleFiles,   ui->Button2};
  std::vector<HWND> order = {ui->treeLeft};
  for (HWND next = GetNextDlgTabItem(window->Handle(), ui->treeLeft, FALSE);
       next && next != ui->treeLeft && order.size() < 40;
       next = GetNextDlgTabItem(window->Handle(), next, FALSE))
    order.push_back(next);
  EXPECT_EQ(order, expected);
}

TEST_F(WindowTest, MarkedRowsArePaintedSkyBlue) {
  StartWith(ThreeDownloads());
  TickRows(ui->treeLeft, {1});
  NMLVCUSTOMDRAW draw{};
  draw.nmcd.hdr = {ui->treeLeft, static_cast<UINT_PTR>(ID_treeLeft),
                   static_cast<UINT>(NM_CUSTOMDRAW)};
  const auto paint = [&](DWORD stage, int row) {
    draw.nmcd.dwDrawStage = stage;
    draw.nmcd.dwItemSpec = static_cast<DWORD_PTR>(row);
    draw.clrTextBk = CLR_DEFAULT;
    return SendMessageW(window->Handle(), WM_NOTIFY, ID_treeLeft, reinterpret_cast<LPARAM>(&draw));
  };
  EXPECT_EQ(paint(CDDS_PREPAINT, 0), CDRF_NOTIFYITEMDRAW);
  EXPECT_EQ(paint(CDDS_ITEMPREPAINT, 1), CDRF_NEWFONT);
  EXPECT_EQ(draw.clrTextBk, RGB(166, 202, 240));
  EXPECT_EQ(paint(CDDS_ITEMPREPAINT, 0), CDRF_DODEFAULT);
  EXPECT_EQ(draw.clrTextBk, CLR_DEFAULT);
}

TEST_F(WindowTest, ColumnsAndTheirMinimumsFollowTheScreenResolution) {
  const auto narrowTo = [&](HWND list, int width) {
    HDITEMW item{};
    item.mask = HDI_WIDTH;
    item.cxy = width;
    NMHEADERW change{};
    change.hdr = {reinterpret_cast<HWND>(SendMessageW(list, LVM_GETHEADER, 0, 0)), 0,
                  static_cast<UINT>(HDN_ITEMCHANGINGW)};
    change.iItem = TDownloadsView::ColumnName;
    change.pitem = &item;
    return SendMessageW(window->Handle(), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&change)) == FALSE;
  };
  EXPECT_TRUE(narrowTo(ui->treeLeft, 150));
  RECT suggested{0, 0, 1600, 1200};
  SendMessageW(window->Handle(), WM_DPICHANGED, MAKEWPARAM(192, 192),
               reinterpret_cast<LPARAM>(&suggested));
  for (const auto& [list, kind] :
       {std::pair{ui->treeLeft, TTreeKind::List}, std::pair{ui->treeRight, TTreeKind::Trash}})
    for (int column = 0; column < TDownloadsView::ColumnCount; ++column)
      EXPECT_EQ(ColumnWidth(list, column),
                2 * DownloadColumns(kind)[static_cast<size_t>(column)].width)
          << column;
  EXPECT_FALSE(narrowTo(ui->treeLeft, 150)) << "the name's minimum is 200 pixels now";
  EXPECT_TRUE(narrowTo(ui->treeRight, 200));
}

TEST_F(WindowTest, TheFileDialogsStartWhereTheListIs) {
  StartWith(ThreeDownloads());
  Choose(ID_OpenWithDialog);
  TickRows(ui->treeLeft, {0});
  Click(ui->BitBtn1);
  Click(ui->saveSel);
  Click(ui->Button2);
  ASSERT_EQ(fileDialogs.size(), 2u);
  EXPECT_FALSE(fileDialogs[0].save);
  EXPECT_EQ(fileDialogs[0].file, Wide(ListPath()));
  EXPECT_TRUE(fileDialogs[1].save);
  EXPECT_EQ(fileDialogs[1].file, L"");
  EXPECT_EQ(fileDialogs[1].folder, Wide(Path("Tarvolt\\lists\\")));
}

namespace {

// The title and text of the program's message box, read and the box closed
// from a timer that runs in its loop.
std::wstring shownTitle;
std::wstring shownMessage;

void CALLBACK CloseMessageBox(HWND, UINT, UINT_PTR timer, DWORD) {
  const HWND box = FindWindowW(L"#32770", nullptr);
  if (!box) return;
  constexpr int kMessageText = 0xFFFF;
  shownTitle = WideWindowText(box);
  shownMessage = WideWindowText(GetDlgItem(box, kMessageText));
  KillTimer(nullptr, timer);
  PostMessageW(box, WM_COMMAND, IDOK, 0);
}

}  // namespace

TEST_F(WindowTest, AnErrorIsShownInAMessageBox) {
  StartWith(ThreeDownloads());
  SetErrorPresenter(nullptr);  // the program's own: a message box
  fake.unreadableFiles.insert(Path("held.xml"));
  pickedFile = Path("held.xml");
  shownMessage.clear();
  SetTimer(nullptr, 0, 50, CloseMessageBox);
  Choose(ID_OpenWithDialog);
  EXPECT_EQ(shownTitle, kApplicationTitle);
  EXPECT_NE(shownMessage.find(L"Cannot open file"), std::wstring::npos) << Ansi(shownMessage);
  EXPECT_EQ(Title(), L"Tarvolt Brimlow - default.xml");
}

// The texts of a dialog's visible labels.
std::vector<std::wstring> VisibleTexts(HWND dialog) {
  std::vector<std::wstring> texts;
  for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
    if (IsWindowVisible(child)) texts.push_back(WideWindowText(child));
  return texts;
}

int ClientHeight(HWND window) {
  RECT client;
  GetClientRect(window, &client);
  return client.bottom;
}

TEST_F(WindowTest, TheReportShowsEveryFileLineAndGrowsByThem) {
  TreportForm report(window->Handle());
  ShowWindow(report.Handle(), SW_SHOWNA);
  TExecutionReportTexts texts = TExecutionReport().Texts();
  texts.fileLines = {{Ansi(L"Файлы:"), Ansi(L"в корзине 3")}};
  report.ShowReport(texts);
  const int oneLineHeight = ClientHeight(report.Handle());
  texts.fileLines = {
      {Ansi(L"Файлы:"), Ansi(L"в корзине 3")}, {Ansi(L"Стёрто:"), "2"}, {Ansi(L"Оставлено:"), "1"}};
  report.ShowReport(texts);
  const std::vector<std::wstring> shown = VisibleTexts(report.Handle());
  for (const TReportLine& line : texts.fileLines)
    for (const std::string& part : {line.caption, line.text})
      EXPECT_NE(std::find(shown.begin(), shown.end(), Wide(part)), shown.end()) << part;
  EXPECT_GT(ClientHeight(report.Handle()), oneLineHeight);

  texts.fileLines.resize(1);
  report.ShowReport(texts);
  const std::vector<std::wstring> after = VisibleTexts(report.Handle());
  EXPECT_EQ(std::find(after.begin(), after.end(), L"Стёрто:"), after.end());
  EXPECT_EQ(ClientHeight(report.Handle()), oneLineHeight);
}

}  // namespace brimlow::test
