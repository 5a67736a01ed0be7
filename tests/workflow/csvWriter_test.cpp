// The CSV writer: quoting as RFC 4180 has it, the byte-order mark, and a
// list's rows in UTF-8 whatever the code page.
#include "workflow/csvWriter.h"

#include <gtest/gtest.h>

#include "data/downloadsList.h"
#include "platform/platform.h"
#include "platform/unicode.h"
#include "workflow/workflowText.h"

namespace brimlow {
namespace {

const std::string kBom = "\xEF\xBB\xBF";

TEST(CsvWriter, QuotesOnlyTheFieldsThatNeedIt) {
  const struct {
    std::vector<std::string> fields;
    std::string row;
  } cases[] = {
      {{"plain", "", "12"}, "plain,,12\r\n"},
      {{"a,b"}, "\"a,b\"\r\n"},
      {{"say \"hi\""}, "\"say \"\"hi\"\"\"\r\n"},
      {{"two\nlines", "cr\rhere"}, "\"two\nlines\",\"cr\rhere\"\r\n"},
      {{"\""}, "\"\"\"\"\r\n"},
      {{"Привет, мир"}, "\"Привет, мир\"\r\n"},
  };
  for (const auto& c : cases) {
    TCsvWriter csv;
    csv.Row(c.fields);
    EXPECT_EQ(csv.Text(), kBom + c.row);
  }
}

// True when the active code page holds Cyrillic letters (it does not under
// a Latin one, where they become "?").
bool CodePageHasCyrillic() {
  const std::string ansi = AnsiText("ж");
  return platform::utf16ToUtf8(platform::current().ansiToWide(ansi)) == "ж";
}

TEST(CsvWriter, AListGetsAHeaderAndOneRowPerDownloadInUtf8) {
  if (!CodePageHasCyrillic()) GTEST_SKIP() << "the code page has no Cyrillic letters";
  TDownloadsList list;
  Tdownload& d = list.Add();
  d.ID = 7;
  d.URL = "http://a.org/x,y";
  d.FileName = AnsiText("C:\\Загрузки\\отчет.pdf");
  d.Size = -5;
  d.Comment = AnsiText("с \"кавычками\"");
  d.ExtraElements = {"Extra;1", "More;2"};
  const std::string csv = DownloadsCsv(list);
  const std::string header =
      "ID,URL,FileName,State,Size,SaveDir,DownloadedSize,LastModified,ResumeMode,Date,"
      "DownloadTime,NodeID,Comment,ContentType,ExtraElements\r\n";
  EXPECT_EQ(csv, kBom + header +
                     "7,\"http://a.org/x,y\",C:\\Загрузки\\отчет.pdf,0,-5,,0,,0,"
                     "12/30/1899 00:00:00,0,0,\"с \"\"кавычками\"\"\",,\"Extra;1\nMore;2\"\r\n");
  EXPECT_EQ(DownloadsCsv(TDownloadsList()), kBom + header);
}

}  // namespace
}  // namespace brimlow
