// The Windows window's overview of the list: its breakdowns, a click on a row
// setting the filter controls and marking, "Только повторы" with the count
// of groups, and the export as CSV.
#include <algorithm>

#include "winapp/overviewForm.h"
#include "windowTestSupport.h"

namespace brimlow::test {

namespace {

// 1 and 3 are one file in other letter case; all of 2008 but the last.
std::vector<TListEntry> Downloads() {
  return {Entry("C:\\dl\\a.bin", 1024, 2, 5), Entry("C:\\dl\\b.bin", 2048, 4, 9),
          Entry("C:\\DL\\A.BIN", 4096, 2, 5, "03/05/2008 10:00:00"),
          Entry("C:\\dl\\d.bin", 500000, 3, 9, "06/01/2009 12:00:00")};
}

class OverviewTest : public WindowTest {
 protected:
  TOverviewForm& Open() {
    Choose(ID_listOverview);
    EXPECT_NE(window->Overview(), nullptr);
    return *window->Overview();
  }
  static std::vector<std::wstring> Column(HWND table, int column) {
    std::vector<std::wstring> texts;
    for (int row = 0; row < RowCount(table); ++row)
      texts.push_back(Cell(table, row, column));
    return texts;
  }
  // A click on a row, as the list view reports it.
  static void ClickRow(const TOverviewForm& overview, int row) {
    NMITEMACTIVATE click{};
    click.hdr.hwndFrom = overview.Table();
    click.hdr.code = NM_CLICK;
    click.iItem = row;
    SendMessageW(overview.Handle(), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&click));
  }
  std::vector<std::wstring> Marked() const {
    std::vector<std::wstring> marked;
    for (int row = 0; row < RowCount(ui->treeLeft); ++row)
      if (IsTicked(ui->treeLeft, row)) marked.push_back(Cell(ui->treeLeft, row, 0));
    return marked;
  }
  static std::wstring DateText(HWND field) {
    SYSTEMTIME time{};
    if (SendMessageW(field, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&time)) != GDT_VALID)
      return L"none";
    return std::to_wstring(time.wYear) + L"-" + std::to_wstring(time.wMonth) + L"-" +
           std::to_wstring(time.wDay);
  }
};

TEST_F(OverviewTest, EachBreakdownBiggestFirst) {
  StartWith(Downloads());
  TOverviewForm& overview = Open();
  EXPECT_TRUE(overview.IsShown());
  EXPECT_EQ(SendMessageW(overview.Tabs(), TCM_GETITEMCOUNT, 0, 0), 4);
  EXPECT_EQ(Column(overview.Table(), 0), (std::vector<std::wstring>{L"Музыка", L"Программы"}));
  EXPECT_EQ(Column(overview.Table(), 1), (std::vector<std::wstring>{L"2", L"2"}));
  overview.ShowAxis(TOverviewAxis::Year);
  EXPECT_EQ(Column(overview.Table(), 0), (std::vector<std::wstring>{L"2009", L"2008"}));
  EXPECT_EQ(Column(overview.Table(), 2),
            (std::vector<std::wstring>{Wide(SizeToText(500000)), Wide(SizeToText(7168))}));
  overview.ShowAxis(TOverviewAxis::State);
  EXPECT_EQ(Column(overview.Table(), 0),
            (std::vector<std::wstring>{L"Закачка", L"Закачано", L"Ошибка"}));
  EXPECT_TRUE(errors.empty());
}

TEST_F(OverviewTest, ClickingARowSetsTheFilterControlsAndMarks) {
  StartWith(Downloads());
  TOverviewForm& overview = Open();
  overview.ShowAxis(TOverviewAxis::Year);
  ClickRow(overview, 1);  // 2008
  EXPECT_EQ(DateText(ui->date1), L"2008-1-1");
  EXPECT_EQ(DateText(ui->date2), L"2008-12-31");
  EXPECT_EQ(Marked(), (std::vector<std::wstring>{L"a.bin", L"b.bin", L"A.BIN"}));
  EXPECT_TRUE(overview.IsShown()) << "the overview stays open";

  overview.ShowAxis(TOverviewAxis::Category);
  ClickRow(overview, 1);  // Программы
  EXPECT_EQ(SendMessageW(ui->catBox, CB_GETCURSEL, 0, 0), 1);
  EXPECT_EQ(DateText(ui->date1), L"none") << "the other controls are cleared";
  EXPECT_EQ(Marked(), (std::vector<std::wstring>{L"a.bin", L"A.BIN"}));

  overview.ShowAxis(TOverviewAxis::State);
  ClickRow(overview, 2);  // Ошибка
  EXPECT_EQ(SendMessageW(ui->stateBox, CB_GETCURSEL, 0, 0), 4);
  EXPECT_EQ(Text(ui->labSel), L"1");
  ClickRow(overview, 7);  // no such row: nothing changes
  EXPECT_EQ(Text(ui->labSel), L"1");
  EXPECT_TRUE(errors.empty());
}

TEST_F(OverviewTest, TheOverviewFollowsMovesButNotMarks) {
  StartWith(Downloads());
  TOverviewForm& overview = Open();
  EXPECT_EQ(Column(overview.Table(), 1), (std::vector<std::wstring>{L"2", L"2"}));
  TickRows(ui->treeLeft, {3});
  EXPECT_EQ(Column(overview.Table(), 1), (std::vector<std::wstring>{L"2", L"2"}));
  Click(ui->BitBtn1);
  EXPECT_EQ(Column(overview.Table(), 0), (std::vector<std::wstring>{L"Программы", L"Музыка"}));
  EXPECT_EQ(Column(overview.Table(), 1), (std::vector<std::wstring>{L"2", L"1"}));
}

TEST_F(OverviewTest, OnlyRepeatsAndTheirCount) {
  StartWith(Downloads());
  EXPECT_EQ(Text(ui->labRepeats), L"1");
  EXPECT_EQ(Text(ui->duplicatesOnly), L"Только повторы");
  SendMessageW(ui->duplicatesOnly, BM_SETCHECK, BST_CHECKED, 0);
  Click(ui->doSelectButton);
  EXPECT_EQ(Marked(), std::vector<std::wstring>{L"a.bin"}) << "the newer one is kept";
}

TEST_F(OverviewTest, TheListAndTheTrashExportAsCsv) {
  StartWith(Downloads());
  TickRows(ui->treeLeft, {1});
  Click(ui->BitBtn1);
  pickedFile = Path("list.csv");
  Choose(ID_exportCsv);
  pickedFile = Path("trash.csv");
  Choose(ID_exportTrashCsv);
  pickedFile.reset();
  Choose(ID_exportCsv);  // declined
  ASSERT_EQ(fileDialogs.size(), 3u);
  EXPECT_TRUE(fileDialogs[0].save);
  const std::string list = ReadFile(Path("list.csv"));
  const std::string trash = ReadFile(Path("trash.csv"));
  EXPECT_EQ(list.rfind("\xEF\xBB\xBFID,URL,FileName,", 0), 0u) << list;
  const auto rows = [](const std::string& text) {
    return std::count(text.begin(), text.end(), '\n');
  };
  EXPECT_EQ(rows(list), 4) << "a header and three downloads";
  EXPECT_EQ(rows(trash), 2);
  EXPECT_NE(trash.find("C:\\dl\\b.bin"), std::string::npos);
  EXPECT_TRUE(errors.empty());
}

}  // namespace

}  // namespace brimlow::test
