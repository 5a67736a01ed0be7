#include "app/reportUnit.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

#include "appTestSupport.h"

namespace brimlow {
namespace {

struct ReportTest : test::WithApplication, ::testing::Test {
  TreportForm form;
};

TEST_F(ReportTest, TheDialogAsItIsDesigned) {
  EXPECT_EQ(form.windowTitle(), "Отчёт");
  EXPECT_EQ(form.Button1->text(), "ОК");
  EXPECT_EQ(form.Edit1->width(), 305);
  EXPECT_EQ(form.size(), QSize(342, 142));
  QStringList captions;
  for (const QLabel* label : form.findChildren<QLabel*>())
    if (label->objectName().isEmpty()) captions << label->text();
  EXPECT_TRUE(captions.contains("Список закачек:"));
  EXPECT_TRUE(captions.contains("Выделенное:"));
  EXPECT_TRUE(captions.contains("Резервная копия:"));
}

TEST_F(ReportTest, FieldsFollowTheExecution) {
  const struct {
    const char* label;
    TExecutionReport report;
    QString list;
    QString selected;
    QString files;  // empty: the line is hidden
  } cases[] = {
      {"nothing to do",
       {0, 0, TTrashAction::Delete, "/b/default_2009_03_07.xml", 0},
       "удалено 0 закачек",
       "удалено 0 закачек",
       ""},
      {"one download: still закачек",
       {1, 1, TTrashAction::Delete, "", 0},
       "удалено 1 закачек",
       "удалено 1 закачек",
       ""},
      {"saved separately",
       {2, 2, TTrashAction::SaveSeparately, "", 0},
       "удалено 2 закачек",
       "cохранено в отдельный список 2 закачек",
       ""},
      {"files that stayed are not counted as deleted",
       {0, 5, TTrashAction::DeleteWithFiles, "", 2},
       "удалено 0 закачек",
       "удалено вместе с файлами 3 закачек",
       "не удалось удалить файлы 2 закачек"},
  };
  form.show();
  for (const auto& c : cases) {
    form.ShowReport(c.report.Texts());
    EXPECT_EQ(form.listLabel->text(), c.list) << c.label;
    EXPECT_EQ(form.selLabel->text(), c.selected) << c.label;
    EXPECT_EQ(form.filesLabel->isVisible(), !c.files.isEmpty()) << c.label;
    if (!c.files.isEmpty()) {
      EXPECT_EQ(form.filesLabel->text(), c.files) << c.label;
      EXPECT_GE(form.height(), 142) << c.label;
    }
    const QString backup = QString::fromStdString(c.report.backupPath);
    EXPECT_EQ(form.Edit1->text(), backup) << c.label;
    EXPECT_EQ(form.Edit1->selectedText(), backup) << "all of it selected";
  }
}

TEST_F(ReportTest, EveryFileLineIsShownAndTheDialogGrowsByThem) {
  const auto visibleTexts = [this] {
    QStringList shown;
    for (const QLabel* label : form.findChildren<QLabel*>())
      if (label->isVisible()) shown << label->text();
    return shown;
  };
  form.show();
  TExecutionReportTexts texts = TExecutionReport().Texts();
  texts.fileLines = {{"Файлы:", "в корзине 3"}};
  form.ShowReport(texts);
  const int oneLineHeight = form.height();
  texts.fileLines = {{"Файлы:", "в корзине 3"}, {"Стёрто:", "2"}, {"Оставлено:", "1"}};
  form.ShowReport(texts);
  for (const TReportLine& line : texts.fileLines) {
    EXPECT_TRUE(visibleTexts().contains(QString::fromStdString(line.caption))) << line.caption;
    EXPECT_TRUE(visibleTexts().contains(QString::fromStdString(line.text))) << line.text;
  }
  EXPECT_GT(form.height(), oneLineHeight);
  EXPECT_GT(form.Edit1->y(), form.filesLabel->y() + 2 * form.filesLabel->height());

  texts.fileLines.resize(1);
  form.ShowReport(texts);
  EXPECT_FALSE(visibleTexts().contains(QStringLiteral("Стёрто:")));
  EXPECT_EQ(form.height(), oneLineHeight);
}

TEST_F(ReportTest, OkClosesTheDialogAccepted) {
  QTimer::singleShot(0, form.Button1, &QPushButton::click);
  EXPECT_EQ(form.exec(), QDialog::Accepted);
}

}  // namespace
}  // namespace brimlow
