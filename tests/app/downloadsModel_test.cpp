#include "app/downloadsModel.h"

#include <gtest/gtest.h>

#include <QAbstractItemModelTester>
#include <QBrush>
#include <QDate>
#include <QIcon>
#include <QSignalSpy>
#include <memory>
#include <numeric>

#include "app/ansiText.h"
#include "app/icons.h"
#include "appTestSupport.h"
#include "data/categories.h"
#include "data/downloadsList.h"

namespace brimlow {
namespace {

const std::string kCategoryFile = std::string(BRIMLOW_TEST_DATA) + "/nodes_three_kept.xml";
const QColor kSkyBlue(166, 202, 240);

Tdownload Download(std::string fileName, std::string url = {}) {
  Tdownload download;
  download.FileName = std::move(fileName);
  download.URL = std::move(url);
  return download;
}

TEST(DisplayName, FileNamePartOrElseTheUrlsLastPart) {
  const struct {
    const char* label;
    Tdownload download;
    QString name;
  } cases[] = {
      {"the part after the last backslash", Download("C:\\dl\\setup.exe"), "setup.exe"},
      {"a colon separates as well", Download("C:setup.exe"), "setup.exe"},
      {"no separator: the whole FileName", Download("setup.exe"), "setup.exe"},
      {"empty FileName: the URL's last part", Download("", "http://h/files/a.zip"), "a.zip"},
      {"FileName ending in a separator: the URL", Download("C:\\dl\\", "http://h/b.rar"), "b.rar"},
      {"URL without a slash: the whole URL", Download("", "magnet:xyz"), "magnet:xyz"},
      {"URL ending in a slash gives no name", Download("", "http://h/dir/"), ""},
      {"both empty give no name", Download("", ""), ""},
#ifndef Q_OS_WIN
      {"outside Windows a slash separates too", Download("/home/u/dl/a.zip"), "a.zip"},
#endif
  };
  for (const auto& c : cases)
    EXPECT_EQ(DisplayName(c.download), c.name) << c.label;
}

TEST(DisplayName, LongUrlWithoutSlashIsCutAt1000Characters) {
  const std::string url(1500, 'u');
  EXPECT_EQ(DisplayName(Download("", url)), QString(1000, QLatin1Char('u')));
  EXPECT_EQ(DisplayName(Download("", "http://h/" + url)).size(), 1000);
}

// Fault: a list with a name of millions of characters froze the window for
// seconds at every paint of its row.  What is shown is cut; the record is not.
TEST(DisplayName, AFileNameLongerThanAnyFileSystemAllowsIsCutForShowing) {
  const std::string name(3'000'000, 'f');
  EXPECT_EQ(DisplayName(Download("C:\\dl\\" + name)), QString(1000, QLatin1Char('f')));
  EXPECT_EQ(DisplayName(Download(std::string(255, 'g'))), QString(255, QLatin1Char('g')))
      << "the longest real name is shown whole";

  TMarkedList marked(std::make_unique<TDownloadsList>());
  TDownloadsList& list = marked.List();
  list.Add().FileName = "C:\\dl\\" + name;
  list.Add().URL = "http://h/" + std::string(5000, 'u');
  marked.Reset();
  TDownloadsModel model;
  model.SetList(&marked);
  const QString tip = model.index(0, TDownloadsModel::ColumnName).data(Qt::ToolTipRole).toString();
  EXPECT_EQ(tip.size(), 4097);
  EXPECT_TRUE(tip.startsWith("C:\\dl\\fff"));
  EXPECT_TRUE(tip.endsWith(QChar(0x2026)));
  EXPECT_EQ(model.index(1, TDownloadsModel::ColumnName).data(Qt::ToolTipRole).toString().size(),
            4097);
  EXPECT_EQ(list[0].FileName.size(), name.size() + 6) << "the record keeps it whole";
}

TEST(DateText, TheDayInTheLocalesShortFormat) {
  const QLocale locale(QLocale::English, QLocale::UnitedStates);
  const auto shortText = [&](int y, int m, int d) {
    return locale.toString(QDate(y, m, d), QLocale::ShortFormat);
  };
  EXPECT_EQ(DateText(0, locale), shortText(1899, 12, 30)) << "Date 0 is the origin";
  EXPECT_EQ(DateText(39508.75, locale), shortText(2008, 3, 1)) << "the time is not shown";
  EXPECT_EQ(DateText(39508.999, locale), shortText(2008, 3, 1)) << "no rounding up";
  EXPECT_EQ(DateText(-1.5, locale), shortText(1899, 12, 29)) << "before the origin";
  EXPECT_TRUE(DateText(std::numeric_limits<double>::quiet_NaN(), locale).isEmpty());
  EXPECT_TRUE(DateText(1e300, locale).isEmpty()) << "no day, no text, no crash";
}

class DownloadsModelTest : public ::testing::Test {
 protected:
  DownloadsModelTest() : categories(kCategoryFile) {
    test::App();
    model.SetCategories(&categories);
    model.SetList(&marked);
    tester = std::make_unique<QAbstractItemModelTester>(
        &model, QAbstractItemModelTester::FailureReportingMode::Fatal);
  }

  // Appends records with sizes 1000, 2000, ... and IDs 1, 2, ...
  static void Fill(TDownloadsList& target, int count) {
    for (int i = 0; i < count; ++i) {
      Tdownload& d = target.Add();
      d.ID = static_cast<uint32_t>(target.Count());
      d.Size = 1000 * d.ID;
      d.FileName = "C:\\dl\\file" + std::to_string(d.ID) + ".bin";
    }
  }

  void Show(int count) {
    Fill(list, count);
    marked.Reset();
  }

  QVariant Data(int row, int column, int role = Qt::DisplayRole) const {
    return model.data(model.index(row, column), role);
  }

  // Row i shows record i: the name of every row is that of its record.
  ::testing::AssertionResult RowsShowTheirRecords(const TDownloadsModel& shown,
                                                  const TDownloadsList& records) const {
    if (shown.rowCount() != records.Count())
      return ::testing::AssertionFailure()
             << shown.rowCount() << " rows for " << records.Count() << " records";
    for (int row = 0; row < records.Count(); ++row) {
      const QString name = shown.data(shown.index(row, 0), Qt::DisplayRole).toString();
      if (name != DisplayName(records[row]))
        return ::testing::AssertionFailure() << "row " << row << " shows " << name.toStdString();
    }
    return ::testing::AssertionSuccess();
  }

  std::vector<uint32_t> Ids(const TDownloadsList& records) const {
    std::vector<uint32_t> ids;
    for (int i = 0; i < records.Count(); ++i)
      ids.push_back(records[i].ID);
    return ids;
  }

  TCategoryList categories;
  TMarkedList marked{std::make_unique<TDownloadsList>()};
  TDownloadsList& list = marked.List();
  TDownloadsModel model;
  std::unique_ptr<QAbstractItemModelTester> tester;
};

TEST_F(DownloadsModelTest, ColumnsShowNameStateSizeAndDate) {
  Tdownload& d = list.Add();
  d.FileName = "C:\\dl\\setup.exe";
  d.State = 5;
  d.Size = 1572864;
  d.Date = 39508.5;
  marked.Reset();
  EXPECT_EQ(model.columnCount(), 4);
  EXPECT_EQ(model.headerData(0, Qt::Horizontal, Qt::DisplayRole).toString(), "Имя");
  EXPECT_EQ(model.headerData(1, Qt::Horizontal, Qt::DisplayRole).toString(), "");
  EXPECT_EQ(model.headerData(2, Qt::Horizontal, Qt::DisplayRole).toString(), "Размер");
  EXPECT_EQ(model.headerData(3, Qt::Horizontal, Qt::DisplayRole).toString(), "Дата");
  EXPECT_EQ(Data(0, 0).toString(), "setup.exe");
  EXPECT_EQ(Data(0, 1).toString(), "5") << "an unnamed state shows its number";
  EXPECT_EQ(Data(0, 2).toString(), FromAnsi(SizeToText(1572864)));
  EXPECT_EQ(Data(0, 3).toString(), QLocale().toString(QDate(2008, 3, 1), QLocale::ShortFormat));
}

TEST_F(DownloadsModelTest, TextsFollowTheRecordWithoutACache) {
  Show(1);
  list[0].FileName = "C:\\other.txt";
  EXPECT_EQ(Data(0, 0).toString(), "other.txt");
}

TEST_F(DownloadsModelTest, CategoryIconComesFromTheKeptCategorysImageIndex) {
  const struct {
    const char* label;
    int32_t nodeId;
    int imageIndex;  // -1: no icon
  } cases[] = {
      {"a kept category shows its image", 5, 12},          {"the last image of the list", 9, 54},
      {"an image index past the list shows none", 11, -1}, {"a dropped category shows none", 7, -1},
      {"an unknown category shows none", 1234, -1},
  };
  for (const auto& c : cases) {
    list.Add().NodeID = c.nodeId;
  }
  marked.Reset();
  for (int row = 0; row < list.Count(); ++row) {
    const auto& c = cases[row];
    const QVariant icon = Data(row, 0, Qt::DecorationRole);
    if (c.imageIndex < 0) {
      EXPECT_FALSE(icon.isValid()) << c.label;
    } else {
      ASSERT_TRUE(icon.canConvert<QIcon>()) << c.label;
      EXPECT_EQ(icon.value<QIcon>().cacheKey(), CategoryIcon(c.imageIndex).cacheKey()) << c.label;
    }
  }
  EXPECT_FALSE(Data(0, 2, Qt::DecorationRole).isValid()) << "other columns have no icon";
}

TEST_F(DownloadsModelTest, StateIconUpTo28AndNoneAbove) {
  for (int state : {0, 28, 29, 255})
    list.Add().State = static_cast<uint8_t>(state);
  marked.Reset();
  EXPECT_EQ(Data(0, 1, Qt::DecorationRole).value<QIcon>().cacheKey(), StateIcon(0).cacheKey());
  EXPECT_EQ(Data(1, 1, Qt::DecorationRole).value<QIcon>().cacheKey(), StateIcon(28).cacheKey());
  EXPECT_FALSE(Data(2, 1, Qt::DecorationRole).isValid());
  EXPECT_EQ(Data(2, 1).toString(), "29");
  EXPECT_EQ(Data(3, 1).toString(), "255");
}

TEST_F(DownloadsModelTest, MarkedRowsAreSkyBlueInEveryColumn) {
  Show(2);
  EXPECT_TRUE(model.flags(model.index(0, 0)) & Qt::ItemIsUserCheckable);
  EXPECT_FALSE(model.flags(model.index(0, 1)) & Qt::ItemIsUserCheckable);
  EXPECT_EQ(Data(0, 0, Qt::CheckStateRole).toInt(), Qt::Unchecked) << "new rows are unmarked";
  EXPECT_FALSE(Data(1, 1, Qt::CheckStateRole).isValid()) << "only column 0 has a check box";
  ASSERT_TRUE(model.setData(model.index(1, 0), Qt::Checked, Qt::CheckStateRole));
  for (int column = 0; column < 4; ++column) {
    EXPECT_EQ(Data(1, column, Qt::BackgroundRole).value<QBrush>().color(), kSkyBlue) << column;
    EXPECT_FALSE(Data(0, column, Qt::BackgroundRole).isValid()) << column;
  }
}

TEST_F(DownloadsModelTest, ClickingACheckBoxKeepsTheSumsAndAnnouncesIt) {
  Show(3);
  QSignalSpy clicked(&model, &TDownloadsModel::checkChanged);
  EXPECT_EQ(model.TotalSize(), 6000);
  model.setData(model.index(0, 0), Qt::Checked, Qt::CheckStateRole);
  model.setData(model.index(2, 0), Qt::Checked, Qt::CheckStateRole);
  EXPECT_EQ(model.CheckedCount(), 2);
  EXPECT_EQ(model.CheckedSize(), 4000);
  model.setData(model.index(0, 0), Qt::PartiallyChecked, Qt::CheckStateRole);
  EXPECT_EQ(model.CheckedCount(), 1) << "the mixed state counts as unmarked";
  EXPECT_EQ(model.CheckedSize(), 3000);
  EXPECT_EQ(clicked.count(), 3);
  EXPECT_FALSE(model.setData(model.index(0, 2), Qt::Checked, Qt::CheckStateRole));
  model.SetChecked(1, true);
  EXPECT_EQ(clicked.count(), 3) << "a mark set by the program is not the user's click";
  EXPECT_EQ(model.CheckedRows(), (std::vector<int>{1, 2}));
}

TEST_F(DownloadsModelTest, ExtremeSizesDoNotOverflowTheSums) {
  list.Add().Size = std::numeric_limits<int64_t>::max();
  list.Add().Size = std::numeric_limits<int64_t>::max();
  list.Add().Size = 5;
  marked.Reset();
  model.SetChecked(0, true);
  model.SetChecked(1, true);
  model.SetChecked(2, true);
  model.SetChecked(0, false);
  model.SetChecked(1, false);
  EXPECT_EQ(model.CheckedSize(), 5) << "the sum comes back exactly after wrapping";
}

TEST_F(DownloadsModelTest, SetChecksReplacesARangeOfMarks) {
  Show(5);
  model.SetChecked(0, true);
  const uint8_t marks[] = {0, 1, 1};
  model.SetChecks(0, marks);
  EXPECT_EQ(model.CheckedRows(), (std::vector<int>{1, 2}));
  EXPECT_EQ(model.CheckedSize(), 5000);
  model.UncheckAll();
  EXPECT_EQ(model.CheckedCount(), 0);
  EXPECT_EQ(model.CheckedSize(), 0);
}

TEST_F(DownloadsModelTest, AppendAndRemoveKeepRowIShowingRecordI) {
  TMarkedList trashMarked(std::make_unique<TDownloadsList>());
  TDownloadsList& trash = trashMarked.List();
  TDownloadsModel trashModel;
  QAbstractItemModelTester trashTester(&trashModel,
                                       QAbstractItemModelTester::FailureReportingMode::Fatal);
  trashModel.SetList(&trashMarked);
  Show(5);

  // Records 2 and 4 of five go to the trash.
  const std::vector<int> rows = {1, 3};
  trashModel.AppendCopies(list, rows);
  model.RemoveRows(rows);
  EXPECT_EQ(Ids(list), (std::vector<uint32_t>{1, 3, 5}));
  EXPECT_EQ(Ids(trash), (std::vector<uint32_t>{2, 4}));
  EXPECT_TRUE(RowsShowTheirRecords(model, list));
  EXPECT_TRUE(RowsShowTheirRecords(trashModel, trash));
  EXPECT_EQ(model.TotalSize(), 9000);
  EXPECT_EQ(trashModel.TotalSize(), 6000);

  // And back: appended after the last download.
  const std::vector<int> all = {0, 1};
  model.AppendCopies(trash, all);
  trashModel.RemoveRows(all);
  EXPECT_EQ(Ids(list), (std::vector<uint32_t>{1, 3, 5, 2, 4}));
  EXPECT_EQ(trash.Count(), 0);
  EXPECT_TRUE(RowsShowTheirRecords(model, list));
  EXPECT_EQ(trashModel.TotalSize(), 0);
}

TEST_F(DownloadsModelTest, RemovingManyScatteredRowsKeepsTheRestAndTheirMarks) {
  Show(200);
  std::vector<int> every3rd;
  for (int row = 0; row < 200; row += 3)
    every3rd.push_back(row);
  model.SetChecked(1, true);  // a kept row keeps its mark
  for (int row : every3rd)
    model.SetChecked(row, true);
  model.RemoveRows(every3rd);
  EXPECT_EQ(list.Count(), 200 - static_cast<int>(every3rd.size()));
  EXPECT_TRUE(RowsShowTheirRecords(model, list));
  EXPECT_EQ(model.CheckedRows(), (std::vector<int>{0})) << "record 2 is now row 0";
  EXPECT_EQ(list[0].ID, 2u);
  EXPECT_EQ(model.CheckedSize(), 2000);
  int64_t total = 0;
  for (int i = 0; i < list.Count(); ++i)
    total += list[i].Size;
  EXPECT_EQ(model.TotalSize(), total);
}

TEST_F(DownloadsModelTest, ClearAllEmptiesListAndRows) {
  Show(3);
  model.SetChecked(0, true);
  model.ClearAll();
  EXPECT_EQ(list.Count(), 0);
  EXPECT_EQ(model.rowCount(), 0);
  EXPECT_EQ(model.CheckedCount(), 0);
  EXPECT_EQ(model.TotalSize(), 0);
}

TEST_F(DownloadsModelTest, NoListShowsNoRows) {
  model.SetList(nullptr);
  EXPECT_EQ(model.rowCount(), 0);
  EXPECT_EQ(model.TotalSize(), 0);
}

}  // namespace
}  // namespace brimlow
