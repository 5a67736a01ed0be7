#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "data/dateTime.h"
#include "data/downloadsList.h"
#include "data/textLines.h"
#include "dom/domErrors.h"
#include "forwardingPlatform.h"
#include "platform/platform.h"

namespace brimlow {
// Failures show the records as the dump command would.
void PrintTo(const Tdownload& record, std::ostream* out) {
  *out << "{ID " << record.ID << ", URL \"" << record.URL << "\", FileName \"" << record.FileName
       << "\", State " << unsigned{record.State} << ", Size " << record.Size << ", SaveDir \""
       << record.SaveDir << "\", DownloadedSize " << record.DownloadedSize << ", LastModified \""
       << record.LastModified << "\", ResumeMode " << unsigned{record.ResumeMode} << ", Date "
       << DateTimeToText(record.Date) << ", DownloadTime " << record.DownloadTime << ", NodeID "
       << record.NodeID << ", Comment \"" << record.Comment << "\", ContentType \""
       << record.ContentType << "\", ExtraElements [";
  for (const std::string& entry : record.ExtraElements)
    *out << " \"" << entry << '"';
  *out << " ]}";
}
}  // namespace brimlow

using namespace brimlow;
namespace fs = std::filesystem;

namespace {

std::string DataPath(const std::string& name) {
  return std::string(BRIMLOW_TEST_DATA) + "/" + name;
}

std::string FileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteBytes(const std::string& path, std::string_view bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

std::string Hex(std::string_view bytes) {
  static const char digits[] = "0123456789ABCDEF";
  std::string out;
  for (unsigned char byte : bytes) {
    out += digits[byte >> 4];
    out += digits[byte & 15];
    out += ' ';
  }
  return out;
}

// Shows where two byte strings part, in text and hexadecimal.
::testing::AssertionResult SameBytes(std::string_view expected, std::string_view actual) {
  if (expected == actual) return ::testing::AssertionSuccess();
  size_t at = 0;
  while (at < expected.size() && at < actual.size() && expected[at] == actual[at])
    ++at;
  const size_t from = at < 16 ? 0 : at - 16;
  return ::testing::AssertionFailure()
         << "bytes part at " << at << "\nexpected: " << Hex(expected.substr(from, 40))
         << "\n  actual: " << Hex(actual.substr(from, 40)) << "\nwhole actual:\n"
         << actual;
}

// A text in the active code page, as the readers hand texts over.
std::string Ansi(std::u16string_view text) {
  return platform::current().wideToAnsi(text);
}

class Folder {
 public:
  Folder() {
    static int counter = 0;
    root_ = fs::temp_directory_path() /
            ("brimlow-writer-" + std::to_string(::getpid()) + "-" + std::to_string(counter++));
    fs::remove_all(root_);
    fs::create_directories(root_);
  }
  ~Folder() {
    std::error_code ignored;
    fs::remove_all(root_, ignored);
  }
  std::string path(const std::string& name) const { return (root_ / name).string(); }
  size_t entryCount() const {
    return static_cast<size_t>(std::distance(fs::directory_iterator(root_), {}));
  }

 private:
  fs::path root_;
};

const char kHead[] = "<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n";

// The lines of one written record with every field at its initial value but
// the ones a test sets; `extra` is inserted after ContentType.
std::string RecordLines(const std::string& id, const std::string& extra = {}) {
  return "  <DownloadFile>\r\n    <ID>" + id +
         "</ID>\r\n    <URL></URL>\r\n    <FileName></FileName>\r\n    <State>0</State>\r\n"
         "    <Size>0</Size>\r\n    <SaveDir></SaveDir>\r\n"
         "    <DownloadedSize>0</DownloadedSize>\r\n    <LastModified></LastModified>\r\n"
         "    <ResumeMode>0</ResumeMode>\r\n    <Date>12/30/1899 00:00:00</Date>\r\n"
         "    <DownloadTime>0</DownloadTime>\r\n    <NodeID>0</NodeID>\r\n"
         "    <Comment></Comment>\r\n    <ContentType></ContentType>\r\n" +
         extra + "  </DownloadFile>";
}

class ListWriter : public ::testing::Test {
 protected:
  std::string Saved(const TDownloadsList& list) {
    const std::string path = folder.path("out.xml");
    list.SaveToFile(path);
    return FileBytes(path);
  }
  Folder folder;
};

TEST_F(ListWriter, TheTrashIsARootWithEmptyAttributes) {
  const TDownloadsList trash;
  EXPECT_TRUE(
      SameBytes(std::string(kHead) + "<DownloadList Version=\"\" NextID=\"\"></DownloadList>\r\n",
                Saved(trash)));
}

TEST_F(ListWriter, EveryFieldIsWrittenInTheFormatsOrder) {
  TDownloadsList list;
  Tdownload& record = list.Add();
  record.ID = 4294967295u;
  record.URL = "http://example.com/get?a=1&b=<2>";
  record.FileName = "C:\\dl\\a \"b\".zip";
  record.State = 255;
  record.Size = -5368709120;
  record.SaveDir = "C:\\dl";
  record.DownloadedSize = 9223372036854775807;
  record.LastModified = "Tue, 04 Mar 2008 10:00:00 GMT";
  record.ResumeMode = 1;
  record.Date = StrToDateTime("3/7/2008 14:05");
  record.DownloadTime = -2147483647 - 1;
  record.NodeID = 2147483647;
  record.Comment = "line\rbreak";
  record.ContentType = "application/zip";
  EXPECT_TRUE(SameBytes(std::string(kHead) +
                            "<DownloadList Version=\"\" NextID=\"\">\r\n"
                            "  <DownloadFile>\r\n"
                            "    <ID>4294967295</ID>\r\n"
                            "    <URL>http://example.com/get?a=1&amp;b=&lt;2&gt;</URL>\r\n"
                            "    <FileName>C:\\dl\\a \"b\".zip</FileName>\r\n"
                            "    <State>255</State>\r\n"
                            "    <Size>-5368709120</Size>\r\n"
                            "    <SaveDir>C:\\dl</SaveDir>\r\n"
                            "    <DownloadedSize>9223372036854775807</DownloadedSize>\r\n"
                            "    <LastModified>Tue, 04 Mar 2008 10:00:00 GMT</LastModified>\r\n"
                            "    <ResumeMode>1</ResumeMode>\r\n"
                            "    <Date>03/07/2008 14:05:00</Date>\r\n"
                            "    <DownloadTime>-2147483648</DownloadTime>\r\n"
                            "    <NodeID>2147483647</NodeID>\r\n"
                            "    <Comment>line&#xD;break</Comment>\r\n"
                            "    <ContentType>application/zip</ContentType>\r\n"
                            "  </DownloadFile></DownloadList>\r\n",
                        Saved(list)));
}

TEST_F(ListWriter, ExtraElementsFollowContentTypeEachOnItsLine) {
  TDownloadsList list;
  Tdownload& first = list.Add();
  first.ID = 1;
  first.ExtraElements = {"Foo;bar", "Baz;", "Semi;a;b"};
  list.Add().ID = 2;
  EXPECT_TRUE(SameBytes(std::string(kHead) + "<DownloadList Version=\"\" NextID=\"\">\r\n" +
                            RecordLines("1",
                                        "    <Foo>bar</Foo>\r\n    <Baz></Baz>\r\n"
                                        "    <Semi>a;b</Semi>\r\n") +
                            "\r\n" + RecordLines("2") + "</DownloadList>\r\n",
                        Saved(list)));
}

// A long list goes into the document a part at a time; a refused name in
// any part, the first or a later one, leaves the old file as it was.
TEST_F(ListWriter, AnExtraNameTheTreeRefusesFailsBeforeTheFileIsTouched) {
  for (const int bad : {0, 40, 99}) {
    SCOPED_TRACE(bad);
    TDownloadsList list;
    for (int i = 0; i < 100; ++i)
      list.Add();
    list[bad].ExtraElements = {"1bad;x"};
    const std::string path = folder.path("list.xml");
    WriteBytes(path, "old");
    try {
      list.SaveToFile(path);
      FAIL() << "no error";
    } catch (const EInvalid_Character_Err& error) {
      EXPECT_STREQ(error.what(), "Invalid character error.");
    }
    EXPECT_EQ(FileBytes(path), "old");
    EXPECT_EQ(folder.entryCount(), 1u);
  }
}

TEST_F(ListWriter, ALongListIsWrittenWholeAndInOrder) {
  TDownloadsList list;
  std::string expected = std::string(kHead) + "<DownloadList Version=\"\" NextID=\"\">";
  for (int i = 1; i <= 150; ++i) {
    list.Add().ID = static_cast<uint32_t>(i);
    expected += "\r\n" + RecordLines(std::to_string(i));
  }
  expected += "</DownloadList>\r\n";
  EXPECT_TRUE(SameBytes(expected, Saved(list)));
}

TEST_F(ListWriter, VersionAndNextIdAreWrittenEscapedAndReadBackTheSame) {
  const std::string path = folder.path("list.xml");
  WriteBytes(path,
             "<DownloadList Version=\"a&amp;b&lt;c&quot;d&gt;e\" NextID=\"'1'\"></DownloadList>");
  const TDownloadsList list(path);
  ASSERT_EQ(list.Version(), "a&b<c\"d>e");
  list.Save();
  EXPECT_TRUE(SameBytes(std::string(kHead) +
                            "<DownloadList Version=\"a&amp;b&lt;c&quot;d>e\" NextID=\"'1'\">"
                            "</DownloadList>\r\n",
                        FileBytes(path)));
  const TDownloadsList again(path);
  EXPECT_EQ(again.Version(), list.Version());
  EXPECT_EQ(again.NextID(), "'1'");
}

// Fault: text standing loose inside a DownloadFile was read as an entry
// named DownloadFile and written back as a nested DownloadFile element, which
// the next load took for a new download.
TEST_F(ListWriter, LooseTextInARecordDoesNotBecomeAPhantomDownload) {
  const TDownloadsList list(DataPath("list_extra_elements.xml"));
  ASSERT_EQ(list.Count(), 1);
  const std::string path = folder.path("list.xml");
  list.SaveToFile(path);
  const TDownloadsList again(path);
  ASSERT_EQ(again.Count(), 1);
  EXPECT_EQ(again.Version(), list.Version());
  EXPECT_EQ(again[0], list[0]) << "the loose text was the first entry already";
  EXPECT_NE(FileBytes(path).find("  <DownloadFile>loose text\r\n    <ID>1</ID>"),
            std::string::npos);
}

// Lists read from files, written and read again, give the same records: every
// file of a shape the reader accepts, under both code pages.  (A CDATA
// section's text goes back as plain text, which the reader then folds like
// any other; that form is not kept.)
TEST_F(ListWriter, ListsReadBackToTheSameRecords) {
  for (const char* name :
       {"list_crlf.xml", "list_lf.xml", "list_cr.xml", "list_two_downloads.xml",
        "list_utf8_cyrillic.xml", "list_entities.xml", "list_extra_elements.xml",
        "list_comment_splits_field.xml", "list_multiline_comment.xml", "list_date_forms.xml",
        "list_id_range.xml", "list_empty_fields.xml", "list_case_mismatch.xml",
        "list_state_low_bits.xml", "list_repeated_field.xml", "list_no_downloads.xml",
        "list_nul_byte.xml", "list_many_records.xml"}) {
    SCOPED_TRACE(name);
    const TDownloadsList original(DataPath(name));
    const std::string path = folder.path(std::string("again_") + name);
    original.SaveToFile(path);
    const TDownloadsList again(path);
    EXPECT_EQ(again.Version(), original.Version());
    EXPECT_EQ(again.NextID(), original.NextID());
    ASSERT_EQ(again.Count(), original.Count());
    for (int i = 0; i < original.Count(); ++i)
      EXPECT_EQ(again[i], original[i]) << "record " << i;
    // A list Brimlow wrote is written again byte for byte.
    again.SaveToFile(path + ".second");
    EXPECT_EQ(FileBytes(path + ".second"), FileBytes(path));
  }
}

// Fault: the name of an element of another name, kept as the file's own
// UTF-8 bytes, was read as text of the code page; under CP1251 "Заметка"
// became characters no name may hold, and the whole save failed.
TEST_F(ListWriter, ACyrillicElementNameIsWrittenAsTheFileHadIt) {
  const TDownloadsList list(DataPath("list_utf8_cyrillic.xml"));
  const std::string written = Saved(list);
  // The text is the code page's: it stays Cyrillic only where the code page
  // has those letters; the name is the file's own bytes under every one.
  const unsigned codePage = platform::current().activeCodePage();
  const std::string text =
      codePage == 65001 || codePage == 1251 ? "\xD1\x82\xD0\xB5\xD0\xBA\xD1\x81\xD1\x82" : "?????";
  EXPECT_NE(
      written.find("    <\xD0\x97\xD0\xB0\xD0\xBC\xD0\xB5\xD1\x82\xD0\xBA\xD0\xB0>" + text + "</"),
      std::string::npos)
      << written;
}

TEST_F(ListWriter, TextsOfEveryKindSurviveARoundTrip) {
  TDownloadsList list;
  Tdownload& record = list.Add();
  record.ID = 7;
  record.FileName = Ansi(u"D:\\Загрузки\\Отчёт №5.pdf");
  record.Comment = Ansi(u"смайлик \U0001F600 и ещё & < > \" ' конец");
  record.URL = Ansi(u"http://пример.рф/?a=1&b=2");
  record.SaveDir = Ansi(u"\u00E9t\u00E9 \u20AC");
  record.ContentType = "a\tb";
  record.ExtraElements = {Ansi(u"Referer;http://x/?q=\u0436"), "Empty;"};
  const std::string path = folder.path("list.xml");
  list.SaveToFile(path);
  const TDownloadsList again(path);
  ASSERT_EQ(again.Count(), 1);
  Tdownload expected = record;
  expected.ContentType = "a b";  // the reader folds white space, as it does for any list
  expected.ExtraElements = {record.ExtraElements[0]};  // an element without text is not an entry
  EXPECT_EQ(again[0], expected);
  if (platform::current().activeCodePage() == 65001) {
    EXPECT_NE(FileBytes(path).find("\xF0\x9F\x98\x80"), std::string::npos)
        << "a character above U+FFFF takes four bytes";
  }
}

TEST_F(ListWriter, SaveWritesTheListsOwnFile) {
  const std::string path = folder.path("own.xml");
  WriteBytes(path, FileBytes(DataPath("list_lf.xml")));
  TDownloadsList list(path);
  ASSERT_GT(list.Count(), 0);
  list.Delete(0);
  list.Save();
  const TDownloadsList again(path);
  EXPECT_EQ(again.Count(), list.Count());
  EXPECT_TRUE(FileBytes(path).starts_with(kHead));
}

TEST_F(ListWriter, TheLoadedTextIsWrittenBackWithCrLfLines) {
  const auto replaced = [](std::string text, char end) {
    std::string out;
    for (const char c : text)
      out += c == end ? std::string("\r\n") : std::string(1, c);
    return out;
  };
  const std::string crlf = FileBytes(DataPath("list_crlf.xml"));
  ASSERT_TRUE(crlf.ends_with("\r\n"));
  const struct {
    const char* file;
    std::string written;
  } cases[] = {
      {"list_crlf.xml", crlf},  // byte for byte
      {"list_lf.xml", replaced(FileBytes(DataPath("list_lf.xml")), '\n')},
      {"list_cr.xml", replaced(FileBytes(DataPath("list_cr.xml")), '\r')},
  };
  for (const auto& each : cases) {
    const TDownloadsList list(DataPath(each.file));
    const std::string path = folder.path("backup.xml");
    list.SaveLoadedText(path);
    EXPECT_TRUE(SameBytes(each.written, FileBytes(path))) << each.file;
  }
  const TDownloadsList trash;
  const std::string empty = folder.path("empty.xml");
  trash.SaveLoadedText(empty);
  EXPECT_TRUE(fs::exists(empty));
  EXPECT_EQ(FileBytes(empty), "");
}

// The serializer hands its text over in blocks of 64 KB, and a CR LF may be
// cut by a block end; it still leaves as one CR LF.
TEST_F(ListWriter, LinesEndWithOneCrLfWhereverTheBlocksEnd) {
  const std::string path = folder.path("list.xml");
  bool cutInsideCrLf = false;
  for (size_t pad = 0; pad < 40; ++pad) {
    TDownloadsList list;
    for (int i = 0; i < 200; ++i)
      list.Add().Comment = std::string(pad, 'x');
    list.SaveToFile(path);
    const std::string bytes = FileBytes(path);
    ASSERT_GT(bytes.size(), 65537u);
    cutInsideCrLf = cutInsideCrLf || (bytes[65535] == '\r' && bytes[65536] == '\n');
    EXPECT_TRUE(HasCrLfLines(bytes)) << pad;
    EXPECT_EQ(bytes.find("\r\n\r\n"), std::string::npos) << pad << ": a line end doubled";
    EXPECT_EQ(TDownloadsList(path).Count(), 200) << pad;
  }
  EXPECT_TRUE(cutInsideCrLf) << "no block ended inside a CR LF; the test no longer shows it";
}

// --- All or nothing -----------------------------------------------------------

// Fails the chosen step of the replacement the way a full disk or a lost
// folder would.
class FailingPlatform final : public test::ForwardingPlatform {
 public:
  enum class Step { None, Create, Write, Commit, Replace };
  explicit FailingPlatform(Step step) : FStep(step) {}

  platform::WriteHandle createTemporaryBeside(const std::string& target) override {
    if (FStep == Step::Create) throw platform::EFCreateError(target, "No space left on device");
    return test::ForwardingPlatform::createTemporaryBeside(target);
  }
  void writeAll(platform::WriteHandle& file, std::string_view bytes,
                const std::string& target) override {
    // The first block goes through, so that the temporary file holds part
    // of the text when the failure comes.
    if (FStep == Step::Write && FWrites++ > 0)
      throw platform::EFCreateError(target, "No space left on device");
    test::ForwardingPlatform::writeAll(file, bytes, target);
  }
  void commitAndClose(platform::WriteHandle& file, const std::string& target) override {
    test::ForwardingPlatform::commitAndClose(file, target);
    if (FStep == Step::Commit) throw platform::EFCreateError(target, "Input/output error");
  }
  void replaceWith(platform::WriteHandle& file, const std::string& target) override {
    if (FStep == Step::Replace) throw platform::EFCreateError(target, "Permission denied");
    test::ForwardingPlatform::replaceWith(file, target);
  }
  std::u16string ansiToWide(std::string_view text) override {
    // A text that comes out as an unpaired surrogate, which the serializer
    // cannot write.
    if (text == "unwritable\xFF") return std::u16string(1, char16_t{0xD800});
    return test::ForwardingPlatform::ansiToWide(text);
  }

 private:
  Step FStep;
  int FWrites = 0;
};

TEST_F(ListWriter, AFailureAtAnyStepLeavesTheOldFileAndNoTemporary) {
  TDownloadsList list;
  for (int i = 0; i < 3000; ++i)
    list.Add().Comment = "a comment long enough to fill blocks";
  const std::string path = folder.path("list.xml");
  const struct {
    FailingPlatform::Step step;
    const char* reason;
  } cases[] = {
      {FailingPlatform::Step::Create, "No space left on device"},
      {FailingPlatform::Step::Write, "No space left on device"},
      {FailingPlatform::Step::Commit, "Input/output error"},
      {FailingPlatform::Step::Replace, "Permission denied"},
  };
  for (const auto& each : cases) {
    WriteBytes(path, "the old list");
    FailingPlatform failing(each.step);
    const platform::ScopedPlatform scope(failing);
    try {
      list.SaveToFile(path);
      ADD_FAILURE() << "no error for step " << static_cast<int>(each.step);
    } catch (const platform::EFCreateError& error) {
      EXPECT_EQ(std::string(error.what()),
                "Cannot create file \"" + path + "\". " + std::string(each.reason));
    }
    EXPECT_EQ(FileBytes(path), "the old list") << static_cast<int>(each.step);
    EXPECT_EQ(folder.entryCount(), 1u) << "temporary left for step " << static_cast<int>(each.step);
  }
}

TEST_F(ListWriter, AnAbortedOutputIsNeverPutInTheListsPlace) {
  TDownloadsList list;
  list.Add().Comment = "unwritable\xFF";
  const std::string path = folder.path("list.xml");
  WriteBytes(path, "the old list");
  FailingPlatform failing(FailingPlatform::Step::None);
  const platform::ScopedPlatform scope(failing);
  try {
    list.SaveToFile(path);
    FAIL() << "no error";
  } catch (const platform::EFCreateError& error) {
    EXPECT_EQ(std::string(error.what()),
              "Cannot create file \"" + path + "\". Signal Processing Exception");
  }
  EXPECT_EQ(FileBytes(path), "the old list");
  EXPECT_EQ(folder.entryCount(), 1u);
}

TEST_F(ListWriter, AFolderThatDoesNotExistIsACreateError) {
  const std::string path = folder.path("missing/list.xml");
  const TDownloadsList trash;
  try {
    trash.SaveToFile(path);
    FAIL() << "no error";
  } catch (const platform::EFCreateError& error) {
    // The reason is the system's own text.
    const std::string start = "Cannot create file \"" + path + "\". ";
    EXPECT_TRUE(std::string(error.what()).starts_with(start)) << error.what();
    EXPECT_GT(std::string(error.what()).size(), start.size());
  }
  EXPECT_THROW(trash.SaveLoadedText(path), platform::EFCreateError);
}

TEST_F(ListWriter, ALinkedListFileIsReplacedBehindItsLink) {
#ifdef _WIN32
  GTEST_SKIP() << "symbolic links are not followed on Windows";
#endif
  const std::string real = folder.path("real.xml");
  const std::string link = folder.path("link.xml");
  WriteBytes(real, "old");
  fs::permissions(real, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  fs::create_symlink(real, link);
  const TDownloadsList trash;
  trash.SaveToFile(link);
  EXPECT_TRUE(fs::is_symlink(link));
  EXPECT_TRUE(FileBytes(real).starts_with(kHead));
  EXPECT_EQ(fs::status(real).permissions() & fs::perms::all,
            fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
}

}  // namespace
