#include "app/main.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QFileDialog>
#include <QGroupBox>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSplitter>
#include <QSplitterHandle>
#include <QStyleOptionViewItem>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <fstream>

#include "app/ansiText.h"
#include "app/optionalDateEdit.h"
#include "data/categories.h"
#include "windowTestSupport.h"
#include "workflow/filterChoices.h"
#include "workflow/menuCommands.h"
#include "workflow/workflowErrors.h"

namespace brimlow {
namespace {

using test::WindowTest;

const std::string kHostKey = "Software\\Kelvane\\Tarvolt";
const std::string kCategoryFile = std::string(BRIMLOW_TEST_DATA) + "/nodes_three_kept.xml";

TEST(TitleAfterLoad, ReplacesOnlyWhatFollowsTheFirstDash) {
  const struct {
    const char* label;
    QString caption;
    QString file;
    QString title;
  } cases[] = {
      {"the design caption", "Tarvolt Brimlow - ", "default.xml", "Tarvolt Brimlow - default.xml"},
      {"a name with a dash of its own", "Tarvolt Brimlow - default.xml", "a - b.xml",
       "Tarvolt Brimlow - a - b.xml"},
      {"the next load cuts at the first dash", "Tarvolt Brimlow - a - b.xml", "c.xml",
       "Tarvolt Brimlow - c.xml"},
      {"a caption without a dash is kept whole", "Brimlow", "c.xml", "Brimlow - c.xml"},
      {"a dash needs a blank before it", "Tarvolt-Brimlow", "c.xml", "Tarvolt-Brimlow - c.xml"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(TitleAfterLoad(c.caption, c.file), c.title) << c.label;
}

TEST_F(WindowTest, EveryControlCarriesItsNameAndCaption) {
  for (int i = 0; i < kCommandCount; ++i) {
    const TMenuEntry& entry = CommandEntry(static_cast<TCommand>(i));
    const QAction* action = Find<QAction>(std::string(entry.name).c_str());
    ASSERT_NE(action, nullptr) << entry.name;
    EXPECT_EQ(action->text(), QString::fromUtf8(PlainCaption(entry.caption))) << entry.name;
    EXPECT_EQ(action->shortcut(), QKeySequence(QString::fromUtf8(entry.shortcut))) << entry.name;
  }
  const struct {
    const char* name;
    QString title;
  } groups[] = {{"GroupBox5", "Список закачек"}, {"GroupBox4", "Фильтр"},
                {"GroupBox2", "Выделенное"},     {"GroupBox1", "Статистика"},
                {"GroupBox3", "Корзина"},        {"GroupBox6", "Что делать с корзиной"}};
  for (const auto& g : groups) {
    ASSERT_NE(Find<QGroupBox>(g.name), nullptr) << g.name;
    EXPECT_EQ(Find<QGroupBox>(g.name)->title(), g.title) << g.name;
  }
  EXPECT_EQ(Find<QPushButton>("BitBtn1")->text(), "Перенести");
  EXPECT_EQ(Find<QPushButton>("BitBtn2")->text(), "Скопировать");
  EXPECT_EQ(Find<QPushButton>("BitBtn3")->text(), "Перенести обратно");
  EXPECT_EQ(Find<QPushButton>("Button2")->text(), "Выполнить");
  EXPECT_EQ(Find<QCheckBox>("cleanSel")->text(), "Убрать выделение после выполнения");
  EXPECT_FALSE(Find<QCheckBox>("cleanSel")->isChecked());
  EXPECT_EQ(Find<QCheckBox>("CheckBox2")->text(), "Сохранить резервную копию исходного списка");
  EXPECT_TRUE(Find<QCheckBox>("CheckBox2")->isChecked());
  EXPECT_TRUE(Find<QRadioButton>("deleteSel")->isChecked());
  for (const char* name : {"saveSel", "delSelWithFiles", "delSelFiles"})
    EXPECT_FALSE(Find<QRadioButton>(name)->isChecked()) << name;
  EXPECT_EQ(Find<QMenu>("N7")->title(), "Резервные");
  for (const char* name : {"treeLeft", "treeRight"})
    EXPECT_NE(Find<QTreeView>(name), nullptr) << name;
  for (const char* name : {"Panel1", "Panel2", "Panel3"})
    EXPECT_NE(Find<QWidget>(name), nullptr) << name;
  for (const char* name : {"Splitter1", "Splitter2"})
    EXPECT_NE(Find<QSplitterHandle>(name), nullptr) << name;
  for (const char* name : {"openDialog", "saveDialog"})
    EXPECT_NE(Find<QFileDialog>(name), nullptr) << name;
  EXPECT_EQ(window->windowTitle(), "Tarvolt Brimlow - ");
}

// The captions of a group's labels, top to bottom and left to right.
QStringList CaptionsIn(const QWidget& group) {
  QList<QLabel*> labels = group.findChildren<QLabel*>();
  labels.removeIf([](const QLabel* label) { return !label->objectName().isEmpty(); });
  std::stable_sort(labels.begin(), labels.end(), [](const QLabel* a, const QLabel* b) {
    const QPoint pa = a->mapTo(a->window(), QPoint());
    const QPoint pb = b->mapTo(b->window(), QPoint());
    return pa.y() != pb.y() ? pa.y() < pb.y() : pa.x() < pb.x();
  });
  QStringList texts;
  for (const QLabel* label : labels)
    texts << label->text();
  return texts;
}

TEST_F(WindowTest, LabelsCarryTheirCaptions) {
  window->show();
  EXPECT_EQ(
      CaptionsIn(*Find<QGroupBox>("GroupBox1")),
      QStringList({"Список закачек", "Закачек", "Отмечено", "Размер отмеченных", "Размер всех",
                   "На недоступных дисках", "Групп повторов", "Выделенное", "Закачек", "Размер"}));
  EXPECT_EQ(CaptionsIn(*Find<QGroupBox>("GroupBox4")),
            QStringList({"Состояние", "Категория", "Размер (КБ)", "от", "до", "Дата", "от", "до",
                         "Содержит", "в"}));
  for (const char* name : {"labZak", "labSel", "labSizeSel", "labSize", "labUnreachable",
                           "labSelCount", "labSelTotal"})
    EXPECT_GE(Find<QLabel>(name)->width(), 55) << name;
}

TEST_F(WindowTest, FilterChoicesAreThoseOfTheFilter) {
  const auto items = [this](const char* name) {
    QStringList texts;
    const QComboBox* box = Find<QComboBox>(name);
    for (int i = 0; i < box->count(); ++i)
      texts << box->itemText(i);
    EXPECT_EQ(box->currentIndex(), 0) << name;
    return texts;
  };
  QStringList fileChoices;
  for (const TFileChoice& choice : FileChoices())
    fileChoices << QString::fromUtf8(choice.caption);
  EXPECT_EQ(items("fileCheckBox"), fileChoices);
  EXPECT_EQ(fileChoices.size(), 4) << "the last for drives that are not there";
  EXPECT_EQ(items("stateBox"),
            QStringList({"Любое", "Пауза", "Закачано", "Закачка", "Ошибка", "Запланировано"}));
  EXPECT_EQ(items("searchBox"),
            QStringList({"Любом месте", "Имени файла", "Ссылке", "Папке", "Комментарии"}));
  EXPECT_EQ(items("catBox"), QStringList({"Любая"}));
}

// Any text may be typed; the filter counts what is no whole number as 0, and
// the field's tip says so.
TEST_F(WindowTest, SizeFieldsAreFreeText) {
  for (const char* name : {"size1", "size2"}) {
    QLineEdit* size = Find<QLineEdit>(name);
    EXPECT_EQ(size->validator(), nullptr) << name;
    EXPECT_FALSE(size->toolTip().isEmpty()) << name;
  }
  Find<QLineEdit>("size1")->setText("12a");
  EXPECT_EQ(window->ReadFilterInputs().sizeFrom, "12a");
}

TEST_F(WindowTest, StartUpWithTheHostsRegistryValues) {
  fake.registry[kHostKey] = {{"DefaultDownloadList", "D:\\l\\my.xml"},
                             {"ExeFile", "D:\\t\\tarvolt.exe"}};
  fake.environment["APPDATA"] = "C:\\u\\AppData";
  window->FormCreate();
  EXPECT_TRUE(errors.isEmpty()) << errors.join('\n').toStdString();
  EXPECT_EQ(window->windowTitle(), "Tarvolt Brimlow - my.xml");
  EXPECT_EQ(Label("labZak"), "0");
  EXPECT_EQ(Label("labSize"), FromAnsi(SizeToText(0)));
}

TEST_F(WindowTest, StartUpFillsTheCategoryChoiceFromTheCategoryFile) {
  // The list lies in <folder>/lists/, its categories in <folder>/nodelist.xml.
  std::filesystem::create_directories(folder / "lists");
  std::filesystem::copy_file(kCategoryFile, folder / "nodelist.xml");
  std::filesystem::copy_file(std::string(BRIMLOW_TEST_DATA) + "/list_two_downloads.xml",
                             folder / "lists" / "default.xml");
  fake.registry[kHostKey] = {{"DefaultDownloadList", Path("lists/default.xml")}};
  window->FormCreate();
  ASSERT_TRUE(errors.isEmpty()) << errors.join('\n').toStdString();
  const QComboBox* box = Find<QComboBox>("catBox");
  ASSERT_EQ(box->count(), 4);
  EXPECT_EQ(box->itemText(0), "Любая");
  EXPECT_EQ(box->itemText(1), FromAnsi(window->Categories()[0].Name));
  EXPECT_EQ(box->currentIndex(), 0);
  Find<QComboBox>("catBox")->setCurrentIndex(2);
  EXPECT_EQ(window->ReadFilterInputs().categoryId, window->Categories()[1].ID)
      << "item k stands for category k - 1";
  Find<QComboBox>("catBox")->setCurrentIndex(0);
  EXPECT_EQ(Label("labZak"), "2");
  EXPECT_FALSE(window->LeftModel().index(0, 0).data(Qt::DecorationRole).isNull())
      << "the list tree shows the categories' icons";
}

TEST_F(WindowTest, AnEndlessCategoryNameIsCutForShowing) {
  std::filesystem::create_directories(folder / "lists");
  std::ofstream(folder / "nodelist.xml") << "<Nodes><MyNode><ID>7</ID><ParentID>2</ParentID><Name>"
                                         << std::string(200'000, 'k') << "</Name></MyNode></Nodes>";
  fake.registry[kHostKey] = {{"DefaultDownloadList", Path("lists/default.xml")}};
  window->FormCreate();
  const QComboBox* box = Find<QComboBox>("catBox");
  ASSERT_EQ(box->count(), 2);
  EXPECT_EQ(box->itemText(1), QString(1000, QLatin1Char('k')));
  EXPECT_EQ(window->Categories()[0].Name.size(), 200'000u) << "the record keeps it whole";
}

TEST_F(WindowTest, ARegistryValueOfAnotherTypeEndsTheStartUp) {
  fake.registry[kHostKey] = {};
  fake.nonTextValues.insert({kHostKey, "DefaultDownloadList"});
  Guarded([this] { window->FormCreate(); });
  ASSERT_EQ(errors, QStringList({"Invalid data type for 'DefaultDownloadList'"}));
  EXPECT_EQ(window->windowTitle(), "Tarvolt Brimlow - ") << "no list was loaded";
  EXPECT_EQ(window->Downloads().Count(), 0);
  EXPECT_FALSE(window->HasListFile());
  EXPECT_EQ(Find<QComboBox>("catBox")->count(), 1);

  // The window stays usable, but an execution must not write anything.
  Find<QPushButton>("Button2")->click();
  ASSERT_EQ(errors.size(), 2);
  EXPECT_EQ(errors[1], FromAnsi(ENoListFile().what()));
  Find<QAction>("move")->trigger();
  EXPECT_EQ(errors.size(), 2) << "moving nothing is no error";
}

TEST_F(WindowTest, LoadingAMissingFileShowsAnEmptyList) {
  ShowDownloads({100, 200});
  window->LoadList(Path("missing.xml"));
  EXPECT_EQ(Find<QTreeView>("treeLeft")->model()->rowCount(), 0);
  EXPECT_EQ(Label("labZak"), "0");
  EXPECT_EQ(Label("labSize"), FromAnsi(SizeToText(0)));
  EXPECT_EQ(window->windowTitle(), "Tarvolt Brimlow - missing.xml");
}

// A load that fails leaves the window as it was.
TEST_F(WindowTest, FailedLoadLeavesTheWindowAsItWas) {
  ShowDownloads({1024, 2048, 4096});
  Mark(window->LeftModel(), {0, 2});
  window->moveExecute();
  Mark(window->LeftModel(), {0});
  const QString titleBefore = window->windowTitle();
  const std::string locked = Path("locked.xml");
  fake.unreadableFiles.insert(locked);
  EXPECT_THROW(window->LoadList(locked), platform::EFOpenError);
  EXPECT_TRUE(window->LeftModel().IsChecked(0)) << "the marks stay";
  EXPECT_EQ(window->windowTitle(), titleBefore);
  EXPECT_TRUE(RowsShowRecords(*Find<QTreeView>("treeLeft"), window->Downloads()));
  EXPECT_TRUE(RowsShowRecords(*Find<QTreeView>("treeRight"), window->Trash()));
}

TEST_F(WindowTest, FailedOpenActionIsShownAndTheWindowStaysUsable) {
  const std::string locked = Path("default.xml");
  fake.unreadableFiles.insert(locked);
  fake.registry[kHostKey] = {{"DefaultDownloadList", locked}};
  Find<QAction>("openDefault")->trigger();
  ASSERT_EQ(errors.size(), 1);
  EXPECT_TRUE(errors[0].startsWith(QStringLiteral("Cannot open file \"") + FromAnsi(locked)))
      << errors[0].toStdString();
  EXPECT_FALSE(window->HasListFile());
  EXPECT_EQ(window->windowTitle(), "Tarvolt Brimlow - ");
  Find<QAction>("doSelect")->trigger();
  EXPECT_EQ(errors.size(), 1);
  EXPECT_TRUE(window->isEnabled());
}

TEST_F(WindowTest, CancelledOpenDialogChangesNothing) {
  ShowDownloads({1, 2});
  Mark(window->LeftModel(), {1});
  std::string offered;
  window->SetDialogRunner([&](QDialog& dialog) {
    offered = ToAnsi(dialog.objectName());
    return false;
  });
  Find<QAction>("OpenWithDialog")->trigger();
  EXPECT_EQ(offered, "openDialog");
  EXPECT_EQ(window->Downloads().Count(), 2);
  EXPECT_TRUE(window->LeftModel().IsChecked(1));
  EXPECT_EQ(window->windowTitle(), "Tarvolt Brimlow - list.xml");
}

TEST_F(WindowTest, OpenDialogLoadsThePickedFile) {
  const std::string picked = Path("picked.xml");
  std::ofstream(picked) << "<?xml version=\"1.0\"?><DownloadList/>";
  window->SetDialogRunner([&](QDialog& dialog) {
    static_cast<QFileDialog&>(dialog).selectFile(QString::fromStdString(picked));
    return true;
  });
  Find<QAction>("OpenWithDialog")->trigger();
  EXPECT_TRUE(errors.isEmpty()) << errors.join('\n').toStdString();
  EXPECT_EQ(window->Downloads().FileName(), picked);
  EXPECT_EQ(window->windowTitle(), "Tarvolt Brimlow - picked.xml");
}

TEST_F(WindowTest, MovingMarkedDownloadsToTheTrash) {
  ShowDownloads({1000, 2000, 3000, 4000, 5000});
  Mark(window->LeftModel(), {1, 3});
  Find<QPushButton>("BitBtn1")->click();
  EXPECT_EQ(Label("labZak"), "3");
  EXPECT_EQ(Label("labSelCount"), "2");
  EXPECT_EQ(Label("labSel"), "0");
  EXPECT_EQ(Label("labSize"), FromAnsi(SizeToText(9000)));
  EXPECT_EQ(Label("labSelTotal"), FromAnsi(SizeToText(6000)));
  EXPECT_TRUE(RowsShowRecords(*Find<QTreeView>("treeLeft"), window->Downloads()));
  EXPECT_TRUE(RowsShowRecords(*Find<QTreeView>("treeRight"), window->Trash()));

  // Back again: after the last download of the list.
  Mark(window->RightModel(), {0, 1});
  Find<QAction>("moveBack")->trigger();
  EXPECT_EQ(Label("labSelCount"), "0");
  EXPECT_EQ(Label("labSelTotal"), FromAnsi(SizeToText(0)));
  EXPECT_TRUE(RowsShowRecords(*Find<QTreeView>("treeLeft"), window->Downloads()));
}

// The menu bar shows the table's menus, in order, with the items of each.
void ExpectMenuAsTable(const QList<QAction*>& shown, std::span<const TMenuEntry> entries) {
  ASSERT_EQ(shown.size(), static_cast<qsizetype>(entries.size()));
  for (size_t i = 0; i < entries.size(); ++i) {
    const TMenuEntry& entry = entries[i];
    const QAction& item = *shown[static_cast<qsizetype>(i)];
    EXPECT_EQ(item.isSeparator(), entry.kind == TMenuEntryKind::Separator) << i;
    if (entry.kind == TMenuEntryKind::Separator) continue;
    EXPECT_EQ(item.text(), QString::fromUtf8(PlainCaption(entry.caption))) << entry.name;
    const QMenu* submenu = item.menu();
    EXPECT_EQ(submenu != nullptr,
              entry.kind == TMenuEntryKind::Submenu || entry.kind == TMenuEntryKind::BackupCopies)
        << entry.name;
    const QObject& named = submenu ? static_cast<const QObject&>(*submenu) : item;
    EXPECT_EQ(named.objectName(), QString::fromUtf8(entry.name));
    if (entry.kind == TMenuEntryKind::Submenu) ExpectMenuAsTable(submenu->actions(), entry.entries);
  }
}

TEST_F(WindowTest, TheMenuBarIsBuiltFromTheCommandTable) {
  ExpectMenuAsTable(Find<QMenuBar>("MainMenu1")->actions(), MainMenu());
}

TEST_F(WindowTest, DeleteInAListMovesItsMarkedRowsToTheOtherList) {
  ShowDownloads({1000, 2000, 3000});
  auto* left = Find<QTreeView>("treeLeft");
  auto* right = Find<QTreeView>("treeRight");
  window->show();
  window->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
  Mark(window->LeftModel(), {0, 2});
  left->setFocus();
  QTest::keyClick(left, Qt::Key_Delete);
  EXPECT_EQ(Label("labZak"), "1");
  EXPECT_EQ(Label("labSelCount"), "2");

  Mark(window->RightModel(), {1});
  right->setFocus();
  QTest::keyClick(right, Qt::Key_Delete, Qt::ShiftModifier);
  EXPECT_EQ(Label("labZak"), "2");
  EXPECT_EQ(Label("labSelCount"), "1");

  // In a filter field Delete edits the text and moves nothing.
  Mark(window->LeftModel(), {0});
  auto* search = Find<QLineEdit>("searchText");
  search->setText("ab");
  search->setFocus();
  search->setCursorPosition(0);
  QTest::keyClick(search, Qt::Key_Delete);
  EXPECT_EQ(search->text(), "b");
  EXPECT_EQ(Label("labZak"), "2");
}

TEST_F(WindowTest, CopyingClearsTheMarksOnlyWhenCleanSelIsTicked) {
  ShowDownloads({1, 2, 3});
  Mark(window->LeftModel(), {0, 2});
  Find<QPushButton>("BitBtn2")->click();
  EXPECT_EQ(Label("labSelCount"), "2");
  EXPECT_EQ(Label("labSel"), "2") << "the marks stay";
  Find<QCheckBox>("cleanSel")->setChecked(true);
  window->doCopyExecute();
  EXPECT_EQ(Label("labSelCount"), "4");
  EXPECT_EQ(Label("labSel"), "0");
  EXPECT_TRUE(RowsShowRecords(*Find<QTreeView>("treeRight"), window->Trash()));
}

TEST_F(WindowTest, StatisticsFollowEveryMarkInTheListTree) {
  ShowDownloads({1024, 2048, 512});
  Mark(window->LeftModel(), {0, 1});
  EXPECT_EQ(Label("labSel"), "2");
  EXPECT_EQ(Label("labSizeSel"), FromAnsi(SizeToText(3072)));
  EXPECT_EQ(Label("labSize"), FromAnsi(SizeToText(3584)));
}

TEST_F(WindowTest, MarkedRowsAreSkyBlueAcrossBothTrees) {
  ShowDownloads({1, 2, 3});
  Mark(window->LeftModel(), {0, 1});
  window->doCopyExecute();  // trash: records 1 and 2
  Mark(window->RightModel(), {1});
  // Wide enough that every column of both trees is in view.
  window->resize(1200, 600);
  window->show();
  const QColor skyBlue(166, 202, 240);
  for (const char* name : {"treeLeft", "treeRight"}) {
    QTreeView* tree = Find<QTreeView>(name);
    const int markedRow = std::string(name) == "treeLeft" ? 0 : 1;
    const int plainRow = std::string(name) == "treeLeft" ? 2 : 0;
    const QImage image = tree->viewport()->grab().toImage();
    for (int column = 0; column < 4; ++column) {
      // A point near the right end of the cell, clear of text and icons.
      const auto colourAt = [&](int row) {
        const QRect cell = tree->visualRect(tree->model()->index(row, column));
        return image.pixelColor(cell.right() - 1, cell.center().y());
      };
      EXPECT_EQ(colourAt(markedRow), skyBlue) << name << " column " << column;
      EXPECT_NE(colourAt(plainRow), skyBlue) << name << " column " << column;
    }
  }
}

TEST_F(WindowTest, ClickingACheckBoxInTheListUpdatesTheStatisticsAtOnce) {
  ShowDownloads({1024, 2048});
  window->show();
  QTreeView* tree = Find<QTreeView>("treeLeft");
  QStyleOptionViewItem option;
  option.initFrom(tree->viewport());
  option.rect = tree->visualRect(tree->model()->index(1, 0));
  option.features = QStyleOptionViewItem::HasCheckIndicator | QStyleOptionViewItem::HasDisplay;
  const QRect box =
      tree->style()->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &option, tree);
  QTest::mouseClick(tree->viewport(), Qt::LeftButton, Qt::NoModifier, box.center());
  EXPECT_TRUE(window->LeftModel().IsChecked(1));
  EXPECT_EQ(Label("labSel"), "1");
  EXPECT_EQ(Label("labSizeSel"), FromAnsi(SizeToText(2048)));
  QTest::mouseDClick(tree->viewport(), Qt::LeftButton, Qt::NoModifier,
                     tree->visualRect(tree->model()->index(0, 2)).center());
  EXPECT_FALSE(window->LeftModel().IsChecked(0)) << "a double click changes no mark";
}

TEST_F(WindowTest, FilterMarksExactlyTheMatchingRows) {
  ShowDownloads({1024, 4096, 2048, 100});
  Mark(window->LeftModel(), {3});
  Find<QLineEdit>("size1")->setText("2");
  Find<QAction>("doSelect")->trigger();
  EXPECT_EQ(window->LeftModel().CheckedRows(), (std::vector<int>{1, 2}))
      << "the earlier mark of row 3 is replaced";
  EXPECT_EQ(Label("labSel"), "2");
  EXPECT_EQ(Label("labSizeSel"), FromAnsi(SizeToText(6144)));

  EXPECT_TRUE(window->isEnabled());
  EXPECT_TRUE(Find<QProgressBar>("filterProgress")->isHidden());
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_F(WindowTest, WhileTheFilterRunsTheWindowIsBusyAndShowsHowFarItIs) {
  std::vector<int64_t> sizes(1000, 1);
  ShowDownloads(sizes);
  window->show();
  auto* progress = Find<QProgressBar>("filterProgress");
  struct Seen {
    bool enabled;
    bool progressShown;
    int value;
    int maximum;
    bool hourglass;
  };
  std::vector<Seen> seen;
  // Runs whenever the filter lets pending events through.
  QTimer probe;
  probe.setInterval(0);
  QObject::connect(&probe, &QTimer::timeout, [&] {
    const QCursor* cursor = QApplication::overrideCursor();
    seen.push_back({window->isEnabled(), !progress->isHidden(), progress->value(),
                    progress->maximum(), cursor && cursor->shape() == Qt::WaitCursor});
  });
  probe.start();
  window->doSelectExecute();
  probe.stop();

  ASSERT_GE(seen.size(), 3u) << "the filter let events through while it ran";
  for (const Seen& s : seen) {
    EXPECT_FALSE(s.enabled);
    EXPECT_TRUE(s.progressShown);
    EXPECT_TRUE(s.hourglass);
    EXPECT_EQ(s.maximum, 1000);
  }
  EXPECT_LT(seen.front().value, seen.back().value) << "the bar moves on";
  EXPECT_TRUE(window->isEnabled());
  EXPECT_TRUE(progress->isHidden());
  EXPECT_EQ(window->LeftModel().CheckedCount(), 1000);
}

TEST_F(WindowTest, FilterReadsEveryControl) {
  Find<QComboBox>("fileCheckBox")->setCurrentIndex(2);
  Find<QComboBox>("stateBox")->setCurrentIndex(3);
  Find<QLineEdit>("size1")->setText("-4");
  Find<QLineEdit>("size2")->setText("9");
  Find<TOptionalDateEdit>("date1")->SetValue(QDate(2008, 3, 1));
  Find<QLineEdit>("searchText")->setText("Setup");
  Find<QComboBox>("searchBox")->setCurrentIndex(4);
  const TFilterInputs inputs = window->ReadFilterInputs();
  EXPECT_EQ(inputs.file, TFilePresence::Present);
  EXPECT_EQ(inputs.state, StateDownloading);
  EXPECT_EQ(inputs.categoryId, std::nullopt) << "\"Любая\" is no category";
  EXPECT_EQ(inputs.sizeFrom, "-4");
  EXPECT_EQ(inputs.sizeTo, "9");
  EXPECT_EQ(inputs.dayFrom, 39508);
  EXPECT_EQ(inputs.dayTo, std::nullopt) << "an empty date field holds no date";
  EXPECT_EQ(inputs.searchText, "Setup");
  EXPECT_EQ(inputs.searchIn, TSearchField::Comment);
}

TEST_F(WindowTest, ClearingMarksEmptiesTheMarkedStatistics) {
  ShowDownloads({1, 2, 3});
  Mark(window->LeftModel(), {0, 1, 2});
  Find<QAction>("noSelection")->trigger();
  EXPECT_EQ(window->LeftModel().CheckedCount(), 0);
  EXPECT_EQ(Label("labSel"), "0");
  EXPECT_EQ(Label("labSizeSel"), FromAnsi(SizeToText(0)));
}

TEST_F(WindowTest, ExitClosesTheWindow) {
  window->show();
  Find<QAction>("N6")->trigger();
  EXPECT_FALSE(window->isVisible());
  EXPECT_TRUE(errors.isEmpty());
}

}  // namespace
}  // namespace brimlow
