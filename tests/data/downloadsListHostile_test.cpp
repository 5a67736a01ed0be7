// Lists shaped to hurt the reader: one enormous name, text or attribute
// list, deep nesting, millions of tiny elements, a megabyte of "&" or "<".
// Each loads in time linear in its size and in memory below three times it.
#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>

#include "../linearity.h"
#include "data/downloadsList.h"
#include "heapMeter.h"

using namespace brimlow;
using test::HeapMeter;
namespace fs = std::filesystem;

namespace {

constexpr size_t kMiB = 1 << 20;

std::string Repeat(std::string_view piece, size_t bytes) {
  std::string text;
  text.reserve(bytes + piece.size());
  while (text.size() < bytes)
    text += piece;
  return text;
}

// `inner` as the content of the one download of a list.
std::string InOneDownload(const std::string& inner) {
  return "<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n<DownloadList Version=\"4\" "
         "NextID=\"2\">\r\n<DownloadFile><ID>1</ID>" +
         inner + "</DownloadFile>\r\n</DownloadList>\r\n";
}

std::string ManyAttributes(size_t bytes, bool sameName) {
  std::string tag = "<Mirror";
  for (size_t i = 0; tag.size() < bytes; ++i)
    tag += " a" + (sameName ? std::string() : std::to_string(i)) + "=\"v\"";
  return tag + ">x</Mirror>";
}

constexpr int kOnePerRecord = -1;  // as many downloads as DownloadFile elements

size_t CountOf(const std::string& text, std::string_view piece) {
  size_t count = 0;
  for (size_t at = text.find(piece); at != std::string::npos; at = text.find(piece, at + 1))
    ++count;
  return count;
}

struct HostileList {
  const char* label;
  std::function<std::string(size_t bytes)> make;
  int downloads;       // what the list reads from it
  double limit = 3.0;  // the most memory a load takes, in file sizes
};

const HostileList kHostileLists[] = {
    {"a long element name",
     [](size_t n) {
       const std::string name(n / 2, 'n');
       return InOneDownload("<" + name + ">x</" + name + ">");
     },
     1},
    {"a long comment",
     [](size_t n) { return InOneDownload("<Comment>" + std::string(n, 'c') + "</Comment>"); }, 1},
    {"a long unknown element's text",
     [](size_t n) { return InOneDownload("<Mirror>" + std::string(n, 't') + "</Mirror>"); }, 1},
    {"a long URL of character references",
     [](size_t n) { return InOneDownload("<URL>" + Repeat("&#1072;", n) + "</URL>"); }, 1},
    {"many lines in a comment",
     [](size_t n) { return InOneDownload("<Comment>" + Repeat("a\r\n", n) + "</Comment>"); }, 1},
    // The list keeps the file's text with CR LF line ends for its backups;
    // a file with LF line ends is converted while its records are held, and
    // one that is nothing but line breaks outgrows the room kept for that,
    // and is copied into a text half as long again.
    {"many LF lines in a comment",
     [](size_t n) { return InOneDownload("<Comment>" + Repeat("a\n", n) + "</Comment>"); }, 1,
     3.75},
    {"distinct attributes", [](size_t n) { return InOneDownload(ManyAttributes(n, false)); }, 1},
    {"one attribute repeated", [](size_t n) { return InOneDownload(ManyAttributes(n, true)); }, 1},
    {"a long attribute value",
     [](size_t n) { return InOneDownload("<Mirror v=\"" + std::string(n, 'v') + "\">x</Mirror>"); },
     1},
    {"deep nesting",
     [](size_t n) { return InOneDownload(Repeat("<a>", n / 2) + "x" + Repeat("</a>", n / 2)); }, 1},
    {"deep nesting left open", [](size_t n) { return InOneDownload(Repeat("<a>", n)); }, 1},
    {"tiny empty elements", [](size_t n) { return InOneDownload(Repeat("<a/>", n)); }, 1},
    {"tiny elements", [](size_t n) { return InOneDownload(Repeat("<a></a>", n)); }, 1},
    {"tiny elements outside the downloads",
     [](size_t n) { return "<DownloadList>" + Repeat("<a>x</a>", n) + "</DownloadList>"; }, 0},
    {"ampersands in a comment",
     [](size_t n) { return InOneDownload("<Comment>" + Repeat("&", n) + "</Comment>"); }, 1},
    {"undeclared references",
     [](size_t n) { return InOneDownload("<Comment>" + Repeat("&x;", n) + "</Comment>"); }, 1},
    {"less-thans", [](size_t n) { return InOneDownload(Repeat("<", n)); }, 1},
    {"millions of empty downloads",
     [](size_t n) {
       return "<DownloadList>" + Repeat("<DownloadFile></DownloadFile>", n) + "</DownloadList>";
     },
     kOnePerRecord},
    // Room for a record is set aside for each DownloadFile start tag when
    // the tags are as sparse as in a real list: here none of them makes one.
    {"empty download tags between long comments",
     [](size_t n) {
       return "<DownloadList>" + Repeat("<DownloadFile/><!--" + std::string(530, 'c') + "-->", n) +
              "</DownloadList>";
     },
     0},
    {"nothing but empty download tags", [](size_t n) { return Repeat("<DownloadFile/>", n); }, 0},
    {"nothing but ampersands", [](size_t n) { return Repeat("&", n); }, 0},
    {"nothing but less-thans", [](size_t n) { return Repeat("<", n); }, 0},
    {"an unclosed comment", [](size_t n) { return InOneDownload("<!--" + Repeat("-", n)); }, 1},
    {"an unclosed CDATA section",
     [](size_t n) { return InOneDownload("<URL><![CDATA[" + Repeat("]", n)); }, 1},
};

class HostileListTest : public ::testing::Test {
 protected:
  ~HostileListTest() override { fs::remove(file); }

  struct Loaded {
    int downloads;
    long long peakBytes;
    double seconds;
  };
  Loaded Load(const std::string& text) {
    std::ofstream(file, std::ios::binary) << text;
    HeapMeter::Restart();
    const auto start = std::chrono::steady_clock::now();
    const TDownloadsList list(file);
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
    return {list.Count(), HeapMeter::Peak(), took.count()};
  }

  const std::string file =
      (fs::temp_directory_path() / ("brimlow-hostile-" + std::to_string(::getpid()) + ".xml"))
          .string();
};

// Beside the file sizes, a load may take a fixed 64 KiB (buffers, the
// scanner), and every download its record, however little of the file it
// took: a list of millions of empty downloads is still that many records.
TEST_F(HostileListTest, MemoryStaysBelowThreeTimesTheFile) {
  for (const HostileList& row : kHostileLists) {
    SCOPED_TRACE(row.label);
    const std::string text = row.make(2 * kMiB);
    const Loaded loaded = Load(text);
    EXPECT_EQ(loaded.downloads, row.downloads == kOnePerRecord
                                    ? static_cast<int>(CountOf(text, "<DownloadFile>"))
                                    : row.downloads);
    // The collection doubles as it grows, so for a moment it holds the old
    // records and room for twice as many.  The text's room for its CR LF
    // form is counted here, though the system gives it only when written.
    const double records = 3.0 * sizeof(Tdownload) * static_cast<double>(loaded.downloads);
    const double limit =
        (row.limit + TDownloadsList::kLineEndRoom) * static_cast<double>(text.size()) + 65536 +
        records;
    EXPECT_LT(static_cast<double>(loaded.peakBytes), limit)
        << loaded.peakBytes << " bytes at most for a file of " << text.size() << " ("
        << static_cast<double>(loaded.peakBytes) / static_cast<double>(text.size()) << " times)";
  }
}

TEST_F(HostileListTest, TimeGrowsLinearlyWithTheFile) {
  for (const HostileList& row : kHostileLists) {
    SCOPED_TRACE(row.label);
    const test::Growth growth =
        test::MeasureGrowth([this](const std::string& text) { return Load(text).seconds; },
                            row.make(kMiB / 2), row.make(2 * kMiB));
    EXPECT_LT(growth.ratio, 10.0) << growth.measured;
  }
}

}  // namespace
