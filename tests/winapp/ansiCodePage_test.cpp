// Where the system ignores the manifest's UTF-8 code page, the window works
// in the system's ANSI code page.  This program's manifest asks for none, and
// it runs under a Russian locale, whose code page is 1251.
#include "windowTestSupport.h"

namespace brimlow::test {

namespace {

// A UTF-8 text of the test in the active code page, as the program holds it.
std::string InCodePage(const std::string& utf8) {
  std::wstring wide(utf8.size(), L'\0');
  wide.resize(static_cast<size_t>(MultiByteToWideChar(CP_UTF8, 0, utf8.data(),
                                                      static_cast<int>(utf8.size()), wide.data(),
                                                      static_cast<int>(wide.size()))));
  return Ansi(wide);
}

}  // namespace

TEST_F(WindowTest, CyrillicNamesAndFoldersSurviveInCodePage1251) {
  ASSERT_EQ(GetACP(), 1251u) << "the run must not have the UTF-8 code page";
  // UTF-8 in the file; "ё", "№" and the dash are in code page 1251 too.
  const std::vector<std::string> names = {"Отчёт за март.pdf", "Фото №1.jpg", "песня — ремикс.mp3"};
  std::vector<TListEntry> entries;
  for (const std::string& name : names)
    entries.push_back(Entry("C:\\Загрузки\\Разное\\" + name, 1, 2, 5, "03/01/2008 14:05:09", name));
  for (const char* made : {"Списки", "Программа"})
    std::filesystem::create_directories(std::filesystem::path(Wide(Path(InCodePage(made)))));
  fake.programFile = Path(InCodePage("Программа\\brimlow.exe"));  // the backups go beside it
  StartWith({});
  const std::string list = Path(InCodePage("Списки\\мой список.xml"));
  WriteList(list, entries);
  const std::string original = ReadFile(list);
  pickedFile = list;
  Choose(ID_OpenWithDialog);
  EXPECT_EQ(Title(), L"Tarvolt Brimlow - мой список.xml");
  EXPECT_EQ(Names(ui->treeLeft), (std::vector<std::wstring>{L"Отчёт за март.pdf", L"Фото №1.jpg",
                                                            L"песня — ремикс.mp3"}));

  TickRows(ui->treeLeft, {0, 1, 2});
  Click(ui->BitBtn1);
  TickRows(ui->treeRight, {0, 1, 2});
  Click(ui->BitBtn3);
  Click(ui->Button2);
  const std::string written = ReadFile(list);
  for (const std::string& name : names) {
    EXPECT_NE(written.find("<FileName>C:\\Загрузки\\Разное\\" + name + "</FileName>"),
              std::string::npos)
        << name;
    EXPECT_NE(written.find("<Comment>" + name + "</Comment>"), std::string::npos) << name;
  }
  EXPECT_EQ(ReadFile(Path(InCodePage("Программа\\backup\\default_2009_03_07.xml"))), original);
  EXPECT_TRUE(errors.empty());
}

TEST_F(WindowTest, AListWithCharactersCodePage1251LacksIsNotRewritten) {
  ASSERT_EQ(GetACP(), 1251u) << "the run must not have the UTF-8 code page";
  StartWith({});
  const std::string list = Path("lost.xml");
  WriteList(list, {Entry("C:\\Загрузки\\中文.zip", 1, 2, 5), Entry("C:\\a.zip", 1, 2, 5)});
  const std::string original = ReadFile(list);
  pickedFile = list;
  Choose(ID_OpenWithDialog);
  TickRows(ui->treeLeft, {1});
  Click(ui->BitBtn1);
  Click(ui->Button2);
  EXPECT_EQ(ReadFile(list), original) << "the names would have become \"??\"";
  ASSERT_EQ(errors.size(), 1u);
  EXPECT_NE(errors[0].find(L"нет в кодовой странице системы"), std::wstring::npos) << errors[0];
  EXPECT_EQ(Names(ui->treeRight), (std::vector<std::wstring>{L"a.zip"})) << "the trash stays";
}

}  // namespace brimlow::test
