// The Windows main window driven through its controls: start-up, marks,
// filter, moves, execution with its report, backups, errors and layout.
#include <algorithm>
#include <tuple>

#include "data/download.h"
#include "winapp/about.h"
#include "windowTestSupport.h"
#include "workflow/helpTargets.h"
#include "workflow/menuCommands.h"
#include "workflow/paneLayout.h"

namespace brimlow::test {

namespace {

std::vector<TListEntry> FiveDownloads() {
  return {Entry("C:\\dl\\a.bin", 1024, 2, 5), Entry("C:\\dl\\b.bin", 2048, 4, 9),
          Entry("C:\\dl\\c.bin", 4096, 2, 5),
          Entry("C:\\dl\\d.bin", 0, 0, 9, "12/31/2008 23:59:59"),
          Entry("C:\\dl\\e.bin", 102400, 3, 5, "03/02/2008 00:00:00", "отчет")};
}

std::wstring MenuText(HMENU menu, UINT item, UINT by) {
  wchar_t text[128]{};
  GetMenuStringW(menu, item, text, 128, by);
  std::wstring shown = text;
  shown.erase(std::remove(shown.begin(), shown.end(), L'&'), shown.end());
  return shown.substr(0, shown.find(L'\t'));
}

}  // namespace

TEST_F(WindowTest, MenusAndControlsCarryTheirCaptions) {
  for (int i = 0; i < kCommandCount; ++i) {
    const TMenuEntry& entry = CommandEntry(static_cast<TCommand>(i));
    const auto id = static_cast<UINT>(CommandId(entry.command));
    EXPECT_EQ(MenuText(ui->MainMenu1, id, MF_BYCOMMAND), WideFromUtf8(PlainCaption(entry.caption)))
        << entry.name;
  }
  for (size_t i = 0; i < MainMenu().size(); ++i)
    EXPECT_EQ(MenuText(ui->MainMenu1, static_cast<UINT>(i), MF_BYPOSITION),
              WideFromUtf8(PlainCaption(MainMenu()[i].caption)));
  EXPECT_EQ(MenuText(GetSubMenu(ui->MainMenu1, 0), 2, MF_BYPOSITION), L"Резервные");

  const std::vector<std::pair<HWND, std::wstring>> controls = {
      {ui->GroupBox5, L"Список закачек"},
      {ui->GroupBox4, L"Фильтр"},
      {ui->GroupBox2, L"Выделенное"},
      {ui->GroupBox1, L"Статистика"},
      {ui->GroupBox3, L"Корзина"},
      {ui->GroupBox6, L"Что делать с корзиной"},
      {ui->BitBtn1, L"Перенести"},
      {ui->BitBtn2, L"Скопировать"},
      {ui->BitBtn3, L"Перенести обратно"},
      {ui->cleanSel, L"Убрать выделение после выполнения"},
      {ui->CheckBox2, L"Сохранить резервную копию исходного списка"},
      {ui->saveSel, L"Сохранить в отдельный список"},
      {ui->deleteSel, L"Удалить"},
      {ui->delSelWithFiles, L"Удалить вместе с файлами"},
      {ui->delSelFiles, L"Удалить только файлы"},
      {ui->Button2, L"Выполнить"},
      {ui->doSelectButton, L"Выделить"},
      {ui->noSelectionButton, L"Снять выделение"}};
  for (const auto& [control, caption] : controls)
    EXPECT_EQ(Text(control), caption);
  EXPECT_EQ(SendMessageW(ui->CheckBox2, BM_GETCHECK, 0, 0), BST_CHECKED);
  EXPECT_EQ(SendMessageW(ui->deleteSel, BM_GETCHECK, 0, 0), BST_CHECKED);
  EXPECT_EQ(SendMessageW(ui->cleanSel, BM_GETCHECK, 0, 0), BST_UNCHECKED);
  EXPECT_EQ(SendMessageW(ui->searchBox, CB_GETCOUNT, 0, 0), 5);
  EXPECT_EQ(SendMessageW(ui->stateBox, CB_GETCOUNT, 0, 0), 6);
}

TEST_F(WindowTest, StartUpShowsTheListOfAppDataWithItsCategories) {
  StartWith(FiveDownloads());
  EXPECT_EQ(Title(), L"Tarvolt Brimlow - default.xml");
  EXPECT_EQ(Names(ui->treeLeft),
            (std::vector<std::wstring>{L"a.bin", L"b.bin", L"c.bin", L"d.bin", L"e.bin"}));
  // Sizes in the user's decimal separator.
  EXPECT_EQ(Cell(ui->treeLeft, 0, TDownloadsView::ColumnSize), Wide(SizeToText(1024)));
  EXPECT_EQ(window->LeftView().CellImage(0, TDownloadsView::ColumnName), 12);
  EXPECT_EQ(SendMessageW(ui->catBox, CB_GETCOUNT, 0, 0), 3);  // "Любая" and two categories
  EXPECT_EQ(Text(ui->labZak), L"5");
  EXPECT_EQ(Text(ui->labSel), L"0");
  EXPECT_EQ(RowCount(ui->treeRight), 0);
}

TEST_F(WindowTest, TheRegistryNamesTheListAndTheHost) {
  WriteList(Path("my list.xml"), FiveDownloads());
  fake.registry["Software\\Kelvane\\Tarvolt"] = {{"DefaultDownloadList", Path("my list.xml")},
                                                 {"ExeFile", "D:\\t\\tarvolt.exe"}};
  fake.processSnapshots = {std::vector<std::string>{"C:\\t\\TARVOLT.EXE"}};
  window->FormCreate();
  EXPECT_EQ(Title(), L"Tarvolt Brimlow - my list.xml");
  EXPECT_EQ(RowCount(ui->treeLeft), 5);
  ASSERT_FALSE(fake.startedCommands.empty());
  EXPECT_EQ(fake.startedCommands.front(), "D:\\t\\tarvolt.exe -exit");
  SendMessageW(window->Handle(), WM_CLOSE, 0, 0);
  EXPECT_EQ(fake.startedCommands.back(), "D:\\t\\tarvolt.exe");
}

TEST_F(WindowTest, SpaceTicksARowAndOnlyTheListUpdatesTheStatistics) {
  StartWith(FiveDownloads());
  TickRows(ui->treeLeft, {0, 1});
  EXPECT_TRUE(IsTicked(ui->treeLeft, 0));
  EXPECT_TRUE(IsTicked(ui->treeLeft, 1));
  EXPECT_FALSE(IsTicked(ui->treeLeft, 2));
  EXPECT_EQ(Text(ui->labSel), L"2");
  EXPECT_EQ(Text(ui->labSizeSel), Wide(SizeToText(3072)));
  TickRows(ui->treeLeft, {0});
  EXPECT_EQ(Text(ui->labSel), L"1");
  // Typing a name's beginning: the list asks its parent for the row.
  NMLVFINDITEMW find{};
  find.hdr = {ui->treeLeft, static_cast<UINT_PTR>(ID_treeLeft), LVN_ODFINDITEMW};
  find.iStart = 1;
  find.lvfi.flags = LVFI_STRING | LVFI_PARTIAL | LVFI_WRAP;
  for (const auto& [typed, row] : {std::pair{L"D", 3}, std::pair{L"a.", 0}, std::pair{L"x", -1}}) {
    find.lvfi.psz = typed;
    EXPECT_EQ(
        SendMessageW(window->Handle(), WM_NOTIFY, ID_treeLeft, reinterpret_cast<LPARAM>(&find)),
        row)
        << Ansi(typed);
  }
}

struct FilterCase {
  const char* shows;
  std::function<void(const TForm2Ui&)> set;
  std::vector<std::wstring> marked;
};

TEST_F(WindowTest, EveryFilterControlMarksItsRows) {
  SYSTEMTIME march2{2008, 3, 0, 2, 0, 0, 0, 0};
  const std::vector<FilterCase> cases = {
      {"nothing set marks all",
       [](const TForm2Ui&) {},
       {L"a.bin", L"b.bin", L"c.bin", L"d.bin", L"e.bin"}},
      {"files missing on disk",
       [](const TForm2Ui& u) { Select(u.fileCheckBox, 1); },
       {L"a.bin", L"b.bin", L"c.bin", L"d.bin", L"e.bin"}},
      {"files present on disk", [](const TForm2Ui& u) { Select(u.fileCheckBox, 2); }, {}},
      {"state Ошибка", [](const TForm2Ui& u) { Select(u.stateBox, 4); }, {L"b.bin"}},
      {"category Музыка", [](const TForm2Ui& u) { Select(u.catBox, 2); }, {L"b.bin", L"d.bin"}},
      {"size from 2 KB",
       [](const TForm2Ui& u) { SetText(u.size1, L"2"); },
       {L"b.bin", L"c.bin", L"e.bin"}},
      {"size up to 2 KB",
       [](const TForm2Ui& u) { SetText(u.size2, L"2"); },
       {L"a.bin", L"b.bin", L"d.bin"}},
      {"date from 2 March 2008",
       [&](const TForm2Ui& u) {
         SendMessageW(u.date1, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&march2));
       },
       {L"d.bin", L"e.bin"}},
      {"date up to 2 March 2008",
       [&](const TForm2Ui& u) {
         SendMessageW(u.date2, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&march2));
       },
       {L"a.bin", L"b.bin", L"c.bin", L"e.bin"}},
      {"text in any field", [](const TForm2Ui& u) { SetText(u.searchText, L"ОТЧЕТ"); }, {L"e.bin"}},
      {"text in the file name only",
       [](const TForm2Ui& u) {
         SetText(u.searchText, L"ОТЧЕТ");
         Select(u.searchBox, 1);
       },
       {}},
  };
  StartWith(FiveDownloads());
  for (const FilterCase& row : cases) {
    SCOPED_TRACE(row.shows);
    MakeWindow();  // every case starts with the controls as created
    window->FormCreate();
    row.set(*ui);
    Click(ui->doSelectButton);
    std::vector<std::wstring> marked;
    for (int index = 0; index < RowCount(ui->treeLeft); ++index)
      if (IsTicked(ui->treeLeft, index)) marked.push_back(Cell(ui->treeLeft, index, 0));
    EXPECT_EQ(marked, row.marked);
    EXPECT_EQ(Text(ui->labSel), std::to_wstring(row.marked.size()));
    Click(ui->noSelectionButton);
    EXPECT_EQ(Text(ui->labSel), L"0");
  }
  EXPECT_TRUE(errors.empty());
}

TEST_F(WindowTest, MoveCopyAndMoveBack) {
  StartWith(FiveDownloads());
  TickRows(ui->treeLeft, {1, 3});
  Click(ui->BitBtn1);
  EXPECT_EQ(Names(ui->treeLeft), (std::vector<std::wstring>{L"a.bin", L"c.bin", L"e.bin"}));
  EXPECT_EQ(Names(ui->treeRight), (std::vector<std::wstring>{L"b.bin", L"d.bin"}));
  EXPECT_EQ(Text(ui->labZak), L"3");
  EXPECT_EQ(Text(ui->labSelCount), L"2");
  EXPECT_EQ(Text(ui->labSel), L"0");

  TickRows(ui->treeLeft, {0});
  Click(ui->BitBtn2);  // copying keeps the mark while "cleanSel" is clear
  EXPECT_TRUE(IsTicked(ui->treeLeft, 0));
  Click(ui->cleanSel);
  Click(ui->BitBtn2);
  EXPECT_FALSE(IsTicked(ui->treeLeft, 0));
  EXPECT_EQ(RowCount(ui->treeRight), 4);
  EXPECT_EQ(Text(ui->labZak), L"3");

  TickRows(ui->treeRight, {0});
  EXPECT_EQ(Text(ui->labSel), L"0");  // the trash's marks count nowhere
  Click(ui->BitBtn3);
  EXPECT_EQ(Names(ui->treeLeft),
            (std::vector<std::wstring>{L"a.bin", L"c.bin", L"e.bin", L"b.bin"}));
  EXPECT_EQ(RowCount(ui->treeRight), 3);
}

// Delete in a list, as the list view reports a key to its parent.
void PressDelete(HWND window, HWND list, int id) {
  NMLVKEYDOWN key{};
  key.hdr = {list, static_cast<UINT_PTR>(id), LVN_KEYDOWN};
  key.wVKey = VK_DELETE;
  SendMessageW(window, WM_NOTIFY, static_cast<WPARAM>(id), reinterpret_cast<LPARAM>(&key));
}

TEST_F(WindowTest, DeleteInAListMovesItsMarkedRowsToTheOtherList) {
  StartWith(FiveDownloads());
  TickRows(ui->treeLeft, {0, 2});
  PressDelete(window->Handle(), ui->treeLeft, ID_treeLeft);
  EXPECT_EQ(Names(ui->treeLeft), (std::vector<std::wstring>{L"b.bin", L"d.bin", L"e.bin"}));
  EXPECT_EQ(Names(ui->treeRight), (std::vector<std::wstring>{L"a.bin", L"c.bin"}));

  TickRows(ui->treeRight, {1});
  PressDelete(window->Handle(), ui->treeRight, ID_treeRight);
  EXPECT_EQ(Names(ui->treeRight), (std::vector<std::wstring>{L"a.bin"}));
  EXPECT_EQ(RowCount(ui->treeLeft), 4);
}

struct ExecuteCase {
  HWND TForm2Ui::*choice;
  std::wstring listLine;
  std::wstring selLine;
  bool filesGone;
  bool trashBackInList;  // "Удалить только файлы" keeps the entries
};

TEST_F(WindowTest, EveryTrashActionWithAndWithoutBackup) {
  const std::vector<ExecuteCase> cases = {
      {&TForm2Ui::deleteSel, L"удалено 2 закачек", L"удалено 2 закачек", false, false},
      {&TForm2Ui::delSelWithFiles, L"удалено 2 закачек", L"удалено вместе с файлами 2 закачек",
       true, false},
      {&TForm2Ui::saveSel, L"удалено 2 закачек", L"cохранено в отдельный список 2 закачек", false,
       false},
      {&TForm2Ui::delSelFiles, L"удалено 0 закачек", L"удалены только файлы 2 закачек", true, true},
  };
  for (const ExecuteCase& row : cases)
    for (const bool backup : {true, false}) {
      SCOPED_TRACE(Ansi(row.selLine) + (backup ? " with backup" : " without backup"));
      std::vector<TListEntry> entries = FiveDownloads();
      for (TListEntry& entry : entries) {
        entry.fileName = Path(entry.fileName.substr(6));
        std::ofstream(std::filesystem::path(Wide(entry.fileName))) << "x";
      }
      std::filesystem::remove_all(folder / "bin" / "backup");
      std::filesystem::remove(Path("old.xml"));
      MakeWindow();
      pickedFile = Path("old.xml");
      StartWith(entries);
      reportLines.clear();
      TickRows(ui->treeLeft, {1, 3});
      Click(ui->BitBtn1);
      Click(ui->*row.choice);
      if (!backup) Click(ui->CheckBox2);
      Click(ui->Button2);

      ASSERT_EQ(reportLines.size(), 3u);
      EXPECT_EQ(reportLines[0], row.listLine);
      EXPECT_EQ(reportLines[1], row.selLine);
      const std::string backupCopy = Path("bin\\backup\\default_2009_03_07.xml");
      EXPECT_EQ(reportLines[2], backup ? Wide(backupCopy) : L"");
      EXPECT_EQ(std::filesystem::exists(std::filesystem::path(Wide(backupCopy))), backup);
      EXPECT_EQ(GetMenuItemCount(ui->N7), backup ? 1 : 0);
      const std::string list = ReadFile(ListPath());
      EXPECT_EQ(list.find("b.bin") != std::string::npos, row.trashBackInList);
      EXPECT_NE(list.find("c.bin"), std::string::npos);
      EXPECT_EQ(std::filesystem::exists(std::filesystem::path(Wide(Path("b.bin")))),
                !row.filesGone);
      const bool separate = row.choice == &TForm2Ui::saveSel;
      EXPECT_EQ(ReadFile(Path("old.xml")).find("d.bin") != std::string::npos, separate);
      EXPECT_EQ(RowCount(ui->treeRight), 0);
      EXPECT_TRUE(errors.empty());
    }
}

TEST_F(WindowTest, TheRecycleBoxAndTheUndoOfTheExecution) {
  std::vector<TListEntry> entries = FiveDownloads();
  for (TListEntry& entry : entries) {
    entry.fileName = Path(entry.fileName.substr(6));
    std::ofstream(std::filesystem::path(Wide(entry.fileName))) << "x";
  }
  std::filesystem::create_directories(folder / "recycled");
  fake.recycleBin = folder / "recycled";
  MakeWindow();
  StartWith(entries);
  const auto undoGreyed = [this] {
    return (GetMenuState(ui->MainMenu1, ID_undoExecution, MF_BYCOMMAND) & MF_GRAYED) != 0;
  };
  EXPECT_EQ(Text(ui->recycleFiles), L"Файлы — в Корзину Windows");
  EXPECT_EQ(SendMessageW(ui->recycleFiles, BM_GETCHECK, 0, 0), BST_UNCHECKED);
  EXPECT_EQ(SendMessageW(ui->fileCheckBox, CB_GETCOUNT, 0, 0), 4);
  EXPECT_EQ(Text(ui->labUnreachable), L"0");
  EXPECT_TRUE(undoGreyed());

  TickRows(ui->treeLeft, {1, 3});
  Click(ui->BitBtn1);
  Click(ui->delSelWithFiles);
  Click(ui->recycleFiles);
  Click(ui->Button2);
  const std::filesystem::path file = Wide(Path("b.bin"));
  EXPECT_FALSE(std::filesystem::exists(file));
  EXPECT_EQ(fake.binned, 2);
  EXPECT_FALSE(undoGreyed());

  reportLines.clear();
  Choose(ID_undoExecution);
  ASSERT_EQ(reportLines.size(), 3u);
  EXPECT_EQ(reportLines[0], L"возвращён из резервной копии");
  EXPECT_TRUE(std::filesystem::exists(file));
  EXPECT_EQ(RowCount(ui->treeLeft), 5);
  EXPECT_TRUE(undoGreyed());
  EXPECT_TRUE(errors.empty());
}

TEST_F(WindowTest, ABackupCopyReopensFromItsSubmenu) {
  StartWith(FiveDownloads());
  TickRows(ui->treeLeft, {0});
  Click(ui->BitBtn1);
  Click(ui->Button2);
  ASSERT_EQ(GetMenuItemCount(ui->N7), 1);
  EXPECT_EQ(MenuText(ui->N7, 0, MF_BYPOSITION), L"default_2009_03_07.xml");
  Choose(static_cast<int>(GetMenuItemID(ui->N7, 0)));
  EXPECT_EQ(Title(), L"Tarvolt Brimlow - default_2009_03_07.xml");
  EXPECT_EQ(RowCount(ui->treeLeft), 5);  // the copy holds the list as it was loaded
}

TEST_F(WindowTest, AnErrorIsShownAndTheWindowStaysUsable) {
  StartWith(FiveDownloads());
  fake.unreadableFiles.insert(Path("held.xml"));
  pickedFile = Path("held.xml");
  Choose(ID_OpenWithDialog);
  ASSERT_EQ(errors.size(), 1u);
  EXPECT_NE(errors[0].find(L"Cannot open file"), std::wstring::npos);
  EXPECT_EQ(Title(), L"Tarvolt Brimlow - default.xml");
  TickRows(ui->treeLeft, {0});
  Click(ui->BitBtn1);
  EXPECT_EQ(RowCount(ui->treeRight), 1);
}

TEST_F(WindowTest, TheHelpMenuOpensTheGuideAndThePages) {
  // The guide beside the program is a page: no compiled help file is made.
  std::ofstream(folder / "bin" / "brimlow.html") << "<html></html>";
  for (const int item : {ID_N10, ID_N11, ID_online1, ID_N13, ID_N14})
    Choose(item);
  EXPECT_EQ(fake.openedTargets,
            (std::vector<std::string>{Path("bin\\brimlow.html"), HomePageAddress(),
                                      SupportPageAddress(), SupportPageAddress(), ForumAddress()}));
}

TEST_F(WindowTest, TheAboutDialogIsShownModally) {
  Choose(ID_N16);
  ASSERT_EQ(shownDialogs.size(), 1u);
  EXPECT_EQ(shownDialogs[0], window->About().Handle());
  EXPECT_EQ(Text(shownDialogs[0]), L"О программе");
  EXPECT_EQ(Text(window->About().Button1), L"Закрыть");
}

TEST_F(WindowTest, PaneWidthsFollowResizeAndSplitters) {
  for (const int outer : {801, 1000}) {
    SetWindowPos(window->Handle(), nullptr, 0, 0, outer, 600, SWP_NOMOVE | SWP_NOZORDER);
    const auto widths = window->PaneWidths();
    EXPECT_EQ(widths[1], 170);
    EXPECT_LE(std::abs(widths[0] - widths[2]), 1);
    RECT client;
    GetClientRect(window->Handle(), &client);
    EXPECT_EQ(widths[0] + widths[1] + widths[2] + 2 * 4, client.right);
  }
  // A drag of the left splitter 40 pixels to the right, as the mouse does it.
  const auto before = window->PaneWidths();
  SendMessageW(ui->Splitter1, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(1, 10));
  SendMessageW(ui->Splitter1, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(41, 10));
  SendMessageW(ui->Splitter1, WM_LBUTTONUP, 0, MAKELPARAM(41, 10));
  const auto after = window->PaneWidths();
  EXPECT_EQ(after[0], before[0] + 40);
  EXPECT_EQ(after[1], 165);
}

}  // namespace brimlow::test
