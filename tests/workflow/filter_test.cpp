#include "workflow/filter.h"

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <limits>

#include "data/categories.h"
#include "fakePlatform.h"
#include "workflow/filterChoices.h"

namespace brimlow {
namespace {

using std::chrono::day;
using std::chrono::month;
using std::chrono::sys_days;
using std::chrono::year;
using std::chrono::year_month_day;

// Days since 30 December 1899, the origin of every date-time.
int64_t Serial(int y, unsigned m, unsigned d) {
  const sys_days origin = year_month_day(year(1899), month(12), day(30));
  const sys_days date = year_month_day(year(y), month(m), day(d));
  return (date - origin).count();
}

// A text of the active code page from UTF-16 source text.
std::string Ansi(std::u16string_view text) {
  return platform::current().wideToAnsi(text);
}

const std::string kCategoryFile = std::string(BRIMLOW_TEST_DATA) + "/nodes_three_kept.xml";

TEST(KilobyteFieldBytes, ReadsWholeSignedKilobytes) {
  constexpr int64_t kMax = std::numeric_limits<int64_t>::max();
  constexpr int64_t kMin = std::numeric_limits<int64_t>::min();
  const struct {
    const char* label;
    const char* text;
    int64_t bytes;
  } cases[] = {
      {"empty text counts as 0", "", 0},
      {"plain number of kilobytes", "100", 102400},
      {"plus sign", "+5", 5120},
      {"minus sign", "-3", -3072},
      {"letters count as 0", "abc", 0},
      {"trailing garbage counts as 0", "1a", 0},
      {"a sign alone counts as 0", "-", 0},
      {"two signs count as 0", "--1", 0},
      {"a leading blank counts as 0", " 1", 0},
      {"beyond 64 bits counts as 0", "99999999999999999999", 0},
      {"a product past the top stops there", "9223372036854775807", kMax},
      {"a product past the bottom stops there", "-9223372036854775808", kMin},
      {"the largest product that fits", "9007199254740991", 9007199254740991LL * 1024},
  };
  for (const auto& c : cases)
    EXPECT_EQ(KilobyteFieldBytes(c.text), c.bytes) << c.label;
}

class FilterTest : public ::testing::Test {
 protected:
  FilterTest() : scoped(fake), categories(kCategoryFile) {}

  bool Passes(const TFilterInputs& inputs, const Tdownload& download) {
    return Matches(MakeCriteria(inputs), download);
  }

  test::FakePlatform fake;
  platform::ScopedPlatform scoped;
  TCategoryList categories;
};

struct FilterCase {
  const char* label;
  std::function<void(TFilterInputs&)> inputs;
  std::function<void(Tdownload&)> download;
  bool passes;
};

TEST_F(FilterTest, EachCriterionAsTheControlsDescribeIt) {
  const double march1 = static_cast<double>(Serial(2008, 3, 1));
  const double lastSecond = 86399.0 / 86400.0;
  auto none = [](auto&) {};
  auto sizeRange = [](const char* from, const char* to) {
    return [=](TFilterInputs& in) {
      in.sizeFrom = from;
      in.sizeTo = to;
    };
  };
  auto size = [](int64_t bytes) { return [=](Tdownload& d) { d.Size = bytes; }; };
  auto march1Both = [&](TFilterInputs& in) { in.dayFrom = in.dayTo = Serial(2008, 3, 1); };
  auto dated = [](double date) { return [=](Tdownload& d) { d.Date = date; }; };
  auto state = [](uint8_t code) { return [=](Tdownload& d) { d.State = code; }; };
  auto stateChoice = [](int choice) {
    return [=](TFilterInputs& in) { in.state = ChoiceValue(StateChoices(), choice); };
  };
  auto category = [this](int item) {
    return [=, this](TFilterInputs& in) { in.categoryId = categories[item].ID; };
  };
  auto node = [](int32_t id) { return [=](Tdownload& d) { d.NodeID = id; }; };
  auto search = [](std::u16string text, int choice) {
    return [=](TFilterInputs& in) {
      in.searchText = Ansi(text);
      in.searchIn = ChoiceValue(SearchChoices(), choice);
    };
  };

  const FilterCase cases[] = {
      {"every control at its first choice passes everything", none, size(-5), true},

      {"only 'от' 100: exactly 100 KB passes", sizeRange("100", ""), size(102400), true},
      {"only 'от' 100: one byte less fails", sizeRange("100", ""), size(102399), false},
      {"only 'от' 100: no upper bound", sizeRange("100", ""), size(int64_t{1} << 50), true},
      {"only 'до' 100: exactly 100 KB passes", sizeRange("", "100"), size(102400), true},
      {"only 'до' 100: one byte more fails", sizeRange("", "100"), size(102401), false},
      {"only 'до' 100: zero passes", sizeRange("", "100"), size(0), true},
      {"only 'до' 100: a negative size is below the lower bound 0", sizeRange("", "100"), size(-1),
       false},
      {"'до' abc is an upper bound of 0: size 0 passes", sizeRange("", "abc"), size(0), true},
      {"'до' abc is an upper bound of 0: size 1 fails", sizeRange("", "abc"), size(1), false},
      {"a negative 'от' lets negative sizes pass", sizeRange("-10", ""), size(-1), true},
      {"a huge 'до' does not wrap round", sizeRange("", "9223372036854775807"),
       size(int64_t{1} << 60), true},

      {"1 March in both: midnight passes", march1Both, dated(march1), true},
      {"1 March in both: the day's last second passes", march1Both, dated(march1 + lastSecond),
       true},
      {"1 March in both: noon passes", march1Both, dated(march1 + 0.5), true},
      {"1 March in both: the next midnight fails", march1Both, dated(march1 + 1), false},
      {"1 March in both: the evening before fails", march1Both, dated(march1 - 0.01), false},
      {"30 December 1899 counts as no date", [](TFilterInputs& in) { in.dayFrom = 0; }, dated(-100),
       true},

      {"'Закачано' takes state 2", stateChoice(2), state(2), true},
      {"'Закачано' leaves state 3", stateChoice(2), state(3), false},
      {"'Пауза' takes state 0", stateChoice(1), state(0), true},
      {"'Запланировано' takes state 6", stateChoice(5), state(6), true},
      {"'Ошибка' does not take state 5", stateChoice(4), state(5), false},
      {"no state chosen is no criterion", stateChoice(-1), state(5), true},

      {"the first category takes its ID", category(0), node(5), true},
      {"a category below it does not pass", category(0), node(7), false},
      {"the second category takes the second ID", category(1), node(9), true},

      {"capitals match small letters of FileName", search(u"ОТЧЕТ", 1),
       [](Tdownload& d) { d.FileName = Ansi(u"C:\\dl\\годовой отчет.pdf"); }, true},
      {"'Любом месте' passes on a match in Comment alone", search(u"важно", 0),
       [](Tdownload& d) { d.Comment = Ansi(u"Очень ВАЖНО"); }, true},
      {"'Имени файла' searches the whole stored path", search(u"C:\\", 1),
       [](Tdownload& d) { d.FileName = "C:\\dl\\setup.exe"; }, true},
      {"'Ссылке' ignores FileName", search(u"setup", 2),
       [](Tdownload& d) { d.FileName = "C:\\dl\\setup.exe"; }, false},
      {"'Папке' searches SaveDir", search(u"dl", 3), [](Tdownload& d) { d.SaveDir = "C:\\DL"; },
       true},
      {"'Комментарии' ignores URL", search(u"x", 4), [](Tdownload& d) { d.URL = "http://x/"; },
       false},
      {"blanks count as text", search(u" ", 2), [](Tdownload& d) { d.URL = "nospace"; }, false},
      {"an empty search text is no criterion", search(u"", 1), none, true},

      {"'Отсутствует файл на диске' passes a missing file",
       [](TFilterInputs& in) { in.file = TFilePresence::Missing; },
       [](Tdownload& d) { d.FileName = "C:\\gone\\a.zip"; }, true},
      {"'Присутствует файл на диске' fails a missing file",
       [](TFilterInputs& in) { in.file = TFilePresence::Present; },
       [](Tdownload& d) { d.FileName = "C:\\gone\\a.zip"; }, false},
      {"'Присутствует файл на диске' passes an existing file",
       [](TFilterInputs& in) { in.file = TFilePresence::Present; },
       [](Tdownload& d) { d.FileName = "C:\\here\\a.zip"; }, true},
  };
  fake.existingFiles.insert("C:\\here\\a.zip");
  ASSERT_EQ(categories.Count(), 3) << "the category file keeps 5, 9 and 11";
  for (const FilterCase& c : cases) {
    TFilterInputs inputs;
    c.inputs(inputs);
    Tdownload download;
    c.download(download);
    EXPECT_EQ(Passes(inputs, download), c.passes) << c.label;
  }
}

TEST_F(FilterTest, AllCriteriaMustPass) {
  TFilterInputs inputs;
  inputs.state = StateComplete;
  inputs.sizeFrom = "1";
  inputs.searchText = "zip";
  Tdownload download;
  download.State = StateComplete;
  download.Size = 2048;
  download.URL = "http://host/a.zip";
  EXPECT_TRUE(Passes(inputs, download));
  download.URL = "http://host/a.rar";
  EXPECT_FALSE(Passes(inputs, download)) << "the text fails although state and size pass";
  download.URL = "http://host/a.zip";
  download.State = StateError;
  EXPECT_FALSE(Passes(inputs, download)) << "the state fails although text and size pass";
}

// Counts the lower-case conversions, which cost most when a list is long.
class CountingPlatform : public test::FakePlatform {
 public:
  std::string lowerCase(std::string_view text) override {
    ++lowered;
    return FakePlatform::lowerCase(text);
  }
  int lowered = 0;
};

TEST(FilterOrder, TextIsNotSearchedOnceAnEarlierCriterionFails) {
  CountingPlatform counting;
  platform::ScopedPlatform scoped(counting);
  TFilterInputs inputs;
  inputs.state = StatePaused;
  inputs.searchText = "A";
  const TFilterCriteria criteria = MakeCriteria(inputs);
  EXPECT_EQ(criteria.searchLower, "a");
  EXPECT_EQ(counting.lowered, 1) << "the search text is lower-cased once";
  Tdownload download;
  download.State = StateComplete;
  download.FileName = "a";
  EXPECT_FALSE(Matches(criteria, download));
  EXPECT_EQ(counting.lowered, 1) << "a failed state ends the test before the text";
}

}  // namespace
}  // namespace brimlow
