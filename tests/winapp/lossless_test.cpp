// Texts outside the Cyrillic code page survive the window: the program's
// manifest makes UTF-8 the process's code page.
#include "windowTestSupport.h"

namespace brimlow::test {

TEST_F(WindowTest, CharactersOutsideCodePage1251SurviveLoadMoveAndExecution) {
  ASSERT_EQ(GetACP(), 65001u) << "the manifest's activeCodePage was not honoured";
  // UTF-8 in the file: Chinese, an emoji (beyond 16 bits), Greek.
  const std::vector<std::string> names = {
      "\xE4\xB8\xAD\xE6\x96\x87.txt", "\xF0\x9F\x98\x80.bin",
      "\xCE\x95\xCE\xBB\xCE\xBB\xCE\xB7\xCE\xBD\xCE\xB9\xCE\xBA\xCE\xAC.zip"};
  std::vector<TListEntry> entries;
  for (const std::string& name : names)
    entries.push_back(Entry("C:\\dl\\" + name, 1, 2, 5, "03/01/2008 14:05:09", name));
  StartWith(entries);
  EXPECT_EQ(Names(ui->treeLeft),
            (std::vector<std::wstring>{L"\u4E2D\u6587.txt", L"\U0001F600.bin",
                                       L"\u0395\u03BB\u03BB\u03B7\u03BD\u03B9\u03BA\u03AC.zip"}));
  TickRows(ui->treeLeft, {0, 1, 2});
  Click(ui->BitBtn1);
  TickRows(ui->treeRight, {0, 1, 2});
  Click(ui->BitBtn3);
  Click(ui->CheckBox2);  // no backup copy
  Click(ui->Button2);
  const std::string written = ReadFile(ListPath());
  for (const std::string& name : names) {
    EXPECT_NE(written.find("<FileName>C:\\dl\\" + name + "</FileName>"), std::string::npos) << name;
    EXPECT_NE(written.find("<Comment>" + name + "</Comment>"), std::string::npos) << name;
  }
  EXPECT_TRUE(errors.empty());
}

}  // namespace brimlow::test
