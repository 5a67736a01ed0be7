#include "data/downloadsList.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <memory>

#include "data/convert.h"
#include "data/dateTime.h"
#include "forwardingPlatform.h"
#include "platform/platform.h"

using namespace brimlow;

namespace {

std::string DataPath(const std::string& name) {
  return std::string(BRIMLOW_TEST_DATA) + "/" + name;
}

std::string FileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::unique_ptr<TDownloadsList> Open(const std::string& name) {
  return std::make_unique<TDownloadsList>(DataPath(name));
}

// A UTF-8 text as the readers hand it over: in the active code page.
std::string Ansi(std::u16string_view text) {
  return platform::current().wideToAnsi(text);
}

// --- The collection ---------------------------------------------------------

std::vector<uint32_t> Ids(const TDownloadsList& list) {
  std::vector<uint32_t> ids;
  for (int i = 0; i < list.Count(); ++i)
    ids.push_back(list[i].ID);
  return ids;
}

void Fill(TDownloadsList& list, int count) {
  for (int i = 0; i < count; ++i)
    list.Add().ID = static_cast<uint32_t>(i);
}

TEST(TDownloadsList, TrashHasNoFileAndStartsEmpty) {
  TDownloadsList trash;
  EXPECT_EQ(trash.Count(), 0);
  EXPECT_TRUE(trash.FileName().empty());
  EXPECT_TRUE(trash.LoadedText().empty());
  Tdownload& added = trash.Add();
  EXPECT_EQ(added, Tdownload());
  EXPECT_EQ(trash.Count(), 1);
}

TEST(TDownloadsList, DeleteMovesLaterRecordsDown) {
  TDownloadsList list;
  Fill(list, 4);
  list.Delete(1);
  EXPECT_EQ(Ids(list), (std::vector<uint32_t>{0, 2, 3}));
  EXPECT_THROW(list.Delete(3), std::out_of_range);
  EXPECT_THROW(list.Delete(-1), std::out_of_range);
  list.Clear();
  EXPECT_EQ(list.Count(), 0);
}

struct DeleteManyCase {
  const char* label;
  std::vector<int> positions;
  std::vector<uint32_t> remaining;
};

const DeleteManyCase kDeleteManyCases[] = {
    {"nothing", {}, {0, 1, 2, 3, 4, 5}},
    {"first and last", {0, 5}, {1, 2, 3, 4}},
    {"a run in the middle", {2, 3, 4}, {0, 1, 5}},
    {"every other", {1, 3, 5}, {0, 2, 4}},
    {"all", {0, 1, 2, 3, 4, 5}, {}},
    {"a repeated position counts once", {2, 2}, {0, 1, 3, 4, 5}},
};

TEST(TDownloadsList, DeleteManyKeepsTheOthersInOrder) {
  for (const DeleteManyCase& row : kDeleteManyCases) {
    SCOPED_TRACE(row.label);
    TDownloadsList list;
    Fill(list, 6);
    list[3].Comment = "moved intact";
    list.DeleteMany(row.positions);
    EXPECT_EQ(Ids(list), row.remaining);
    for (int i = 0; i < list.Count(); ++i)
      EXPECT_EQ(list[i].Comment, list[i].ID == 3 ? "moved intact" : "");
  }
}

TEST(TDownloadsList, DeleteManyWithABadPositionDeletesNothing) {
  for (const std::vector<int>& positions :
       {std::vector<int>{1, 6}, std::vector<int>{3, 1}, std::vector<int>{-1, 2}}) {
    TDownloadsList list;
    Fill(list, 6);
    EXPECT_THROW(list.DeleteMany(positions), std::out_of_range);
    EXPECT_EQ(list.Count(), 6);
  }
}

// --- Reading ----------------------------------------------------------------

TEST(TDownloadsListLoad, ReadsEveryFieldOfTheHostsFormat) {
  const auto list = Open("list_crlf.xml");
  EXPECT_EQ(list->Version(), "5");
  EXPECT_EQ(list->NextID(), "12");
  ASSERT_EQ(list->Count(), 2);

  const Tdownload& first = (*list)[0];
  EXPECT_EQ(first.ID, 11u);
  EXPECT_EQ(first.URL, "http://example.com/files/a.zip?x=1&y=2");
  EXPECT_EQ(first.FileName, "C:\\Downloads\\a.zip");
  EXPECT_EQ(first.State, 2);
  EXPECT_EQ(first.Size, 5368709120);
  EXPECT_EQ(first.SaveDir, "C:\\Downloads");
  EXPECT_EQ(first.DownloadedSize, 5368709120);
  EXPECT_EQ(first.LastModified, "Tue, 04 Mar 2008 10:00:00 GMT");
  EXPECT_EQ(first.ResumeMode, 1);
  EXPECT_EQ(DateTimeToText(first.Date), "03/07/2008 14:05:09");
  EXPECT_EQ(first.DownloadTime, 3600);
  EXPECT_EQ(first.NodeID, 5);
  EXPECT_EQ(first.Comment, "first <one>");
  EXPECT_EQ(first.ContentType, "application/zip");
  // Baz has no text, so it leaves no entry.
  EXPECT_EQ(first.ExtraElements, std::vector<std::string>{"Foo;bar"});

  const Tdownload& second = (*list)[1];
  EXPECT_EQ(second.State, 5) << "an unnamed state code is carried";
  EXPECT_EQ(second.Size, -1);
  EXPECT_EQ(second.DownloadTime, -7);
  EXPECT_EQ(second.Date, 0.0);
  EXPECT_TRUE(second.SaveDir.empty());
}

TEST(TDownloadsListLoad, LoadedTextIsTheFileWithCrLfLineEnds) {
  EXPECT_EQ(Open("list_crlf.xml")->LoadedText(), FileBytes(DataPath("list_crlf.xml")));
  const std::string crlf = FileBytes(DataPath("list_lf.xml"));
  std::string expected;
  for (const char c : crlf)
    expected += c == '\n' ? std::string("\r\n") : std::string(1, c);
  EXPECT_EQ(Open("list_lf.xml")->LoadedText(), expected);
  EXPECT_EQ(Open("list_cr.xml")->LoadedText(), expected);
  EXPECT_EQ(Open("list_lf.xml")->Count(), 1);
  EXPECT_EQ(Open("list_cr.xml")->Count(), 1);
}

TEST(TDownloadsListLoad, TextAndRecordsEndAtANulByte) {
  const auto list = Open("list_nul_byte.xml");
  const std::string bytes = FileBytes(DataPath("list_nul_byte.xml"));
  EXPECT_EQ(list->LoadedText(), bytes.substr(0, bytes.find('\0')) + "\r\n");
  ASSERT_EQ(list->Count(), 1);
  EXPECT_EQ((*list)[0].ID, 1u);
}

TEST(TDownloadsListLoad, MissingFileGivesAnEmptyListKeepingItsName) {
  const auto list = Open("no_such_list.xml");
  EXPECT_EQ(list->Count(), 0);
  EXPECT_EQ(list->FileName(), DataPath("no_such_list.xml"));
  EXPECT_TRUE(list->LoadedText().empty());
  EXPECT_TRUE(list->Version().empty());
}

struct RecordlessCase {
  const char* label;
  const char* file;
  const char* version;
};

const RecordlessCase kRecordlessCases[] = {
    {"a list without downloads", "list_no_downloads.xml", "5"},
    {"a root of another name (case differs)", "list_root_misnamed.xml", ""},
    {"an empty-element root starts no list", "list_root_empty_tag.xml", ""},
    {"empty-element downloads are invisible", "list_download_empty_tag.xml", "5"},
};

TEST(TDownloadsListLoad, YieldsNoRecords) {
  for (const RecordlessCase& row : kRecordlessCases) {
    SCOPED_TRACE(row.label);
    const auto list = Open(row.file);
    EXPECT_EQ(list->Count(), 0);
    EXPECT_EQ(list->Version(), row.version);
  }
}

TEST(TDownloadsListLoad, EmptyOrBlankElementsLeaveInitialValues) {
  const auto list = Open("list_empty_fields.xml");
  ASSERT_EQ(list->Count(), 1);
  Tdownload expected;
  expected.ID = 1;
  EXPECT_EQ((*list)[0], expected);
}

TEST(TDownloadsListLoad, DownloadFileInAnotherCaseFeedsThePreviousRecord) {
  const auto list = Open("list_case_mismatch.xml");
  ASSERT_EQ(list->Count(), 1);
  EXPECT_EQ((*list)[0].ID, 2u);
  EXPECT_EQ((*list)[0].Comment, "second");
  EXPECT_EQ((*list)[0].ExtraElements, std::vector<std::string>{"Extra;x"});
}

TEST(TDownloadsListLoad, UnknownElementsBecomeExtraEntriesInOrder) {
  const auto list = Open("list_extra_elements.xml");
  ASSERT_EQ(list->Count(), 1);
  const Tdownload& record = (*list)[0];
  EXPECT_EQ(record.ExtraElements,
            (std::vector<std::string>{"DownloadFile;loose text", "Foo;bar", "Inner;deep",
                                      "Inner;tail", "Foo;again", "Later;late"}));
  // Content after the record's end tag still goes to it.
  EXPECT_EQ(record.Comment, "after the end");
}

TEST(TDownloadsListLoad, WhiteSpaceRunsInTextBecomeOneBlank) {
  const auto list = Open("list_multiline_comment.xml");
  ASSERT_EQ(list->Count(), 1);
  EXPECT_EQ((*list)[0].Comment, "first line second line third line");
}

TEST(TDownloadsListLoad, CDataIsTakenUnchangedAndAnEmptyOneEmptiesAText) {
  const auto list = Open("list_cdata_fields.xml");
  ASSERT_EQ(list->Count(), 1);
  EXPECT_EQ((*list)[0].Comment, "  line one\r\n  <b>two</b> &amp; ");
  EXPECT_EQ((*list)[0].URL, "");
}

TEST(TDownloadsListLoad, TextBrokenByACommentArrivesInPieces) {
  const auto list = Open("list_comment_splits_field.xml");
  ASSERT_EQ(list->Count(), 1);
  EXPECT_EQ((*list)[0].Comment, "after");
  EXPECT_EQ((*list)[0].ExtraElements, (std::vector<std::string>{"Note;one", "Note;two"}));
}

TEST(TDownloadsListLoad, StateAndResumeModeKeepTheLowEightBits) {
  const auto list = Open("list_state_low_bits.xml");
  ASSERT_EQ(list->Count(), 2);
  EXPECT_EQ((*list)[0].State, 44);
  EXPECT_EQ((*list)[0].ResumeMode, 255);
  EXPECT_EQ((*list)[1].State, 5);
  EXPECT_EQ((*list)[1].ResumeMode, 0);
}

TEST(TDownloadsListLoad, DatesInTheirShortForms) {
  const auto list = Open("list_date_forms.xml");
  ASSERT_EQ(list->Count(), 3);
  EXPECT_EQ(DateTimeToText((*list)[0].Date), "12/31/2008 23:59:59");
  EXPECT_EQ(DateTimeToText((*list)[1].Date), "12/31/2008 00:00:00");
  EXPECT_EQ(DateTimeToText((*list)[2].Date), "03/07/2008 14:05:00");
}

// Regression: IDs above 2147483648 were refused although the writer prints
// them, so a list Brimlow had written could not be opened again.
TEST(TDownloadsListLoad, EveryIdTheWriterPrintsReadsBack) {
  const auto list = Open("list_id_range.xml");
  EXPECT_EQ(Ids(*list), (std::vector<uint32_t>{4294967295u, 4294967295u, 2147483648u, 0}));
}

TEST(TDownloadsListLoad, ALaterValueReplacesAnEarlierOne) {
  const auto list = Open("list_repeated_field.xml");
  ASSERT_EQ(list->Count(), 1);
  EXPECT_EQ((*list)[0].Size, 20);
  EXPECT_EQ((*list)[0].Comment, "new");
}

TEST(TDownloadsListLoad, ReferencesAreResolved) {
  const auto list = Open("list_entities.xml");
  EXPECT_EQ(list->Version(), "a&b");
  EXPECT_EQ(list->NextID(), "12");
  ASSERT_EQ(list->Count(), 1);
  EXPECT_EQ((*list)[0].URL, "http://example.com/get?a=1&b=2&c=<3>");
  EXPECT_EQ((*list)[0].Comment, "\"quoted\" 'single' " + Ansi(u"П"));
}

TEST(TDownloadsListLoad, TextsArriveInTheActiveCodePage) {
  const auto list = Open("list_utf8_cyrillic.xml");
  EXPECT_EQ(list->Version(), Ansi(u"Версия"));
  ASSERT_EQ(list->Count(), 1);
  const Tdownload& record = (*list)[0];
  EXPECT_EQ(record.FileName, Ansi(u"C:\\Загрузки\\отчёт.pdf"));
  EXPECT_EQ(record.Comment, Ansi(u"Привет, мир"));
  // Characters the code page lacks are replaced; element names stay raw.
  EXPECT_EQ(record.URL, Ansi(u"http://example.com/中文"));
  EXPECT_EQ(record.ExtraElements,
            std::vector<std::string>{"\xD0\x97\xD0\xB0\xD0\xBC\xD0\xB5\xD1\x82\xD0\xBA\xD0\xB0;" +
                                     Ansi(u"текст")});
}

TEST(TDownloadsListLoad, MalformedMarkupIsReadWithoutError) {
  std::unique_ptr<TDownloadsList> list;
  ASSERT_NO_THROW(list = Open("list_malformed.xml"));
  ASSERT_GE(list->Count(), 1);
  EXPECT_EQ((*list)[0].ID, 1u);
}

struct FailureCase {
  const char* label;
  const char* file;
  const char* message;
};

const FailureCase kFailureCases[] = {
    {"a state that is no number", "list_state_invalid.xml", "'x' is not a valid integer value"},
    {"an empty CDATA section in a number", "list_cdata_empty_number.xml",
     "'' is not a valid integer value"},
    {"an ID beyond 32 bits", "list_id_out_of_range.xml",
     "'4294967296' is not a valid integer value"},
    {"a size beyond 64 bits", "list_size_out_of_range.xml",
     "'9223372036854775808' is not a valid integer value"},
    {"month 13", "list_date_invalid_month.xml",
     "'13/01/2008 10:00:00' is not a valid date and time"},
};

TEST(TDownloadsListLoad, ABadValueFailsTheWholeLoad) {
  for (const FailureCase& row : kFailureCases) {
    SCOPED_TRACE(row.label);
    try {
      Open(row.file);
      ADD_FAILURE() << "loaded";
    } catch (const EConvertError& error) {
      EXPECT_EQ(error.what(), std::string(row.message));
    }
  }
}

// The file is there, but opening it fails.
class UnreadablePlatform final : public test::ForwardingPlatform {
 public:
  std::string readFile(const std::string& path) override {
    throw platform::EFOpenError(path, "Permission denied");
  }
};

TEST(TDownloadsListLoad, AnUnreadableFileFailsConstruction) {
  UnreadablePlatform fake;
  platform::ScopedPlatform installed(fake);
  try {
    Open("list_crlf.xml");
    ADD_FAILURE() << "loaded";
  } catch (const platform::EFOpenError& error) {
    EXPECT_EQ(error.what(),
              "Cannot open file \"" + DataPath("list_crlf.xml") + "\". Permission denied");
  }
}

}  // namespace
