// The window's overview of the list, a click on one of its rows setting the
// filter, "Только повторы" with its count, and the export as CSV.
#include <QAction>
#include <QDate>
#include <QFileDialog>
#include <QTabWidget>
#include <QTreeWidget>
#include <fstream>

#include "app/ansiText.h"
#include "app/optionalDateEdit.h"
#include "app/overviewForm.h"
#include "data/dateTime.h"
#include "windowTestSupport.h"

namespace brimlow::test {
namespace {

class OverviewWindowTest : public WindowTest {
 protected:
  // Five downloads: 1 to 3 of 2008 (1 and 3 from one address), 4 and 5 of
  // 2009, 5 failed.
  void ShowYears() {
    ShowDownloads({100, 200, 300, 4000, 5000});
    TDownloadsList& list = window->Downloads();
    const int years[] = {2008, 2008, 2008, 2009, 2009};
    for (int i = 0; i < list.Count(); ++i) {
      TDateTimeParts parts;
      parts.Year = years[i];
      parts.Month = 6;
      parts.Day = 1 + i;
      list[i].Date = EncodeDateTime(parts);
      list[i].State = i == 4 ? StateError : StateComplete;
      list[i].URL = "http://example.com/" + std::to_string(i == 2 ? 0 : i);
    }
    window->Cleaner().Downloads().Reset();
    window->UpdateStatistics();
  }
  TOverviewForm& Open() {
    Find<QAction>("listOverview")->trigger();
    EXPECT_NE(window->Overview(), nullptr);
    return *window->Overview();
  }
  static QStringList Column(QTreeWidget& table, int column) {
    QStringList texts;
    for (int row = 0; row < table.topLevelItemCount(); ++row)
      texts << table.topLevelItem(row)->text(column);
    return texts;
  }
};

TEST_F(OverviewWindowTest, TheOverviewShowsEachBreakdownBiggestFirst) {
  ShowYears();
  TOverviewForm& overview = Open();
  EXPECT_TRUE(overview.isVisible());
  auto& tabs = *overview.findChild<QTabWidget*>("overviewTabs");
  ASSERT_EQ(tabs.count(), 4);
  tabs.setCurrentIndex(1);
  QTreeWidget& years = overview.Table(TOverviewAxis::Year);
  EXPECT_EQ(Column(years, 0), (QStringList{"2009", "2008"}));
  EXPECT_EQ(Column(years, 1), (QStringList{"2", "3"}));
  EXPECT_EQ(Column(years, 2), (QStringList{FromAnsi(SizeToText(9000)), FromAnsi(SizeToText(600))}));
  tabs.setCurrentIndex(2);
  EXPECT_EQ(Column(overview.Table(TOverviewAxis::State), 0), (QStringList{"Ошибка", "Закачано"}));
}

TEST_F(OverviewWindowTest, ClickingARowSetsTheFilterAndRunsIt) {
  ShowYears();
  TOverviewForm& overview = Open();
  overview.findChild<QTabWidget*>("overviewTabs")->setCurrentIndex(1);
  QTreeWidget& years = overview.Table(TOverviewAxis::Year);
  ASSERT_EQ(years.topLevelItemCount(), 2);
  emit years.itemClicked(years.topLevelItem(1), 0);  // 2008
  EXPECT_EQ(Find<TOptionalDateEdit>("date1")->Value(), QDate(2008, 1, 1));
  EXPECT_EQ(Find<TOptionalDateEdit>("date2")->Value(), QDate(2008, 12, 31));
  EXPECT_EQ(window->Cleaner().Downloads().CheckedRows(), (std::vector<int>{0, 1, 2}));
  EXPECT_TRUE(overview.isVisible()) << "the overview stays open";

  overview.findChild<QTabWidget*>("overviewTabs")->setCurrentIndex(2);
  overview.ChooseRow(0);  // "Ошибка"
  EXPECT_EQ(Find<QComboBox>("stateBox")->currentText(), "Ошибка");
  EXPECT_FALSE(Find<TOptionalDateEdit>("date1")->Value()) << "the other controls are cleared";
  EXPECT_EQ(window->Cleaner().Downloads().CheckedRows(), (std::vector<int>{4}));
}

TEST_F(OverviewWindowTest, AnOpenOverviewFollowsTheListButNotTheMarks) {
  ShowYears();
  TOverviewForm& overview = Open();
  QTreeWidget& categories = overview.Table(TOverviewAxis::Category);
  ASSERT_EQ(Column(categories, 1), QStringList{"5"});
  Mark(window->LeftModel(), {3, 4});
  EXPECT_EQ(Column(categories, 1), QStringList{"5"});
  Find<QAction>("move")->trigger();
  EXPECT_EQ(Column(categories, 1), QStringList{"3"});
}

TEST_F(OverviewWindowTest, OnlyRepeatsMarksAllButTheKeptOneAndTheGroupsAreCounted) {
  ShowYears();
  EXPECT_EQ(Label("labRepeats"), "1");
  Find<QCheckBox>("duplicatesOnly")->setChecked(true);
  Find<QAction>("doSelect")->trigger();
  EXPECT_EQ(window->Cleaner().Downloads().CheckedRows(), std::vector<int>{0})
      << "the newer of the two is kept";
}

TEST_F(OverviewWindowTest, TheListAndTheTrashExportAsCsv) {
  ShowYears();
  Mark(window->LeftModel(), {4});
  Find<QAction>("move")->trigger();
  const std::string listCsv = Path("list.csv");
  const std::string trashCsv = Path("trash.csv");
  std::string answer;
  window->SetDialogRunner([&](QDialog& dialog) {
    auto& files = dynamic_cast<QFileDialog&>(dialog);
    EXPECT_EQ(files.objectName(), "csvDialog");
    files.selectFile(QString::fromStdString(answer));
    return !answer.empty();
  });
  answer = listCsv;
  Find<QAction>("exportCsv")->trigger();
  answer = trashCsv;
  Find<QAction>("exportTrashCsv")->trigger();
  answer.clear();
  Find<QAction>("exportCsv")->trigger();  // declined: nothing happens
  const auto lines = [](const std::string& file) {
    std::ifstream in(file, std::ios::binary);
    int count = 0;
    for (std::string line; std::getline(in, line);)
      ++count;
    return count;
  };
  EXPECT_EQ(lines(listCsv), 5) << "a header and four downloads";
  EXPECT_EQ(lines(trashCsv), 2);
  EXPECT_TRUE(errors.isEmpty()) << errors.join("; ").toStdString();
}

}  // namespace
}  // namespace brimlow::test
