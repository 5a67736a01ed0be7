#include "app/mainPanes.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTreeView>
#include <QVBoxLayout>

#include "app/ansiText.h"
#include "app/mainUi.h"
#include "app/optionalDateEdit.h"
#include "app/wrappingCheckBox.h"
#include "workflow/filterChoices.h"
#include "workflow/statistics.h"

namespace brimlow {

namespace {

template <typename Widget, typename... Arguments>
Widget* Named(const char* name, Arguments&&... arguments) {
  auto* widget = new Widget(std::forward<Arguments>(arguments)...);
  widget->setObjectName(QString::fromLatin1(name));
  return widget;
}

QGroupBox* Group(const char* name, const QString& title) {
  return Named<QGroupBox>(name, title);
}

QWidget* Pane(const char* name) {
  QWidget* pane = Named<QWidget>(name);
  auto* layout = new QVBoxLayout(pane);
  layout->setContentsMargins(2, 2, 2, 2);
  return pane;
}

// A button that shares an action's caption, state and handler.
QPushButton* ActionButton(const char* name, QAction* action) {
  auto* button = Named<QPushButton>(name, action->text());
  QObject::connect(button, &QPushButton::clicked, action, &QAction::trigger);
  QObject::connect(action, &QAction::changed, button, [button, action] {
    button->setText(action->text());
    button->setEnabled(action->isEnabled());
  });
  return button;
}

template <typename Value>
QStringList CaptionsOf(std::span<const TChoice<Value>> choices) {
  QStringList captions;
  for (const TChoice<Value>& choice : choices)
    captions << FromUtf8(choice.caption);
  return captions;
}

QComboBox* ChoiceList(const char* name, const QStringList& choices) {
  auto* box = Named<QComboBox>(name);
  box->addItems(choices);
  // Long choices must not widen the pane; the open list shows them whole.
  box->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
  box->setMinimumContentsLength(6);
  box->setCurrentIndex(0);
  return box;
}

// A free text field: what is not a whole number of kilobytes counts as 0,
// and the tip says so.
QLineEdit* SizeField(const char* name) {
  auto* field = Named<QLineEdit>(name);
  field->setToolTip(QStringLiteral("Целое число килобайт; другой текст считается нулём"));
  return field;
}

QLabel* Caption(const QString& text, QWidget* buddy = nullptr) {
  auto* label = new QLabel(text);
  if (buddy) label->setBuddy(buddy);
  return label;
}

QLabel* HeaderCaption(const QString& text) {
  QLabel* label = Caption(text);
  QPalette palette = label->palette();
  palette.setColor(QPalette::WindowText, palette.color(QPalette::Active, QPalette::Highlight));
  label->setPalette(palette);
  QFont font = label->font();
  font.setBold(true);
  label->setFont(font);
  return label;
}

QLabel* ValueLabel(const char* name) {
  auto* label = Named<QLabel>(name, QStringLiteral("0"));
  label->setMinimumWidth(55);
  return label;
}

QGroupBox* FilterGroup(TForm2Ui& ui) {
  QGroupBox* group = Group("GroupBox4", QStringLiteral("Фильтр"));
  auto* grid = new QGridLayout(group);
  grid->setContentsMargins(4, 4, 4, 4);
  grid->setVerticalSpacing(3);
  // Close columns keep the group within the left pane's half of the design width.
  grid->setHorizontalSpacing(4);

  ui.fileCheckBox = ChoiceList("fileCheckBox", CaptionsOf(FileChoices()));
  grid->addWidget(ui.fileCheckBox, 0, 0, 1, 5);

  ui.stateBox = ChoiceList("stateBox", CaptionsOf(StateChoices()));
  grid->addWidget(Caption(QStringLiteral("Состояние"), ui.stateBox), 1, 0);
  grid->addWidget(ui.stateBox, 1, 1, 1, 4);

  ui.catBox = ChoiceList("catBox", {FromUtf8(kAnyCategoryCaption)});
  grid->addWidget(Caption(QStringLiteral("Категория"), ui.catBox), 2, 0);
  grid->addWidget(ui.catBox, 2, 1, 1, 4);

  ui.size1 = SizeField("size1");
  ui.size2 = SizeField("size2");
  grid->addWidget(Caption(QStringLiteral("Размер (КБ)"), ui.size1), 3, 0);
  grid->addWidget(Caption(QStringLiteral("от"), ui.size1), 3, 1);
  grid->addWidget(ui.size1, 3, 2);
  grid->addWidget(Caption(QStringLiteral("до"), ui.size2), 3, 3);
  grid->addWidget(ui.size2, 3, 4);

  ui.date1 = Named<TOptionalDateEdit>("date1");
  ui.date2 = Named<TOptionalDateEdit>("date2");
  grid->addWidget(Caption(QStringLiteral("Дата"), ui.date1), 4, 0);
  grid->addWidget(Caption(QStringLiteral("от"), ui.date1), 4, 1);
  grid->addWidget(ui.date1, 4, 2);
  grid->addWidget(Caption(QStringLiteral("до"), ui.date2), 4, 3);
  grid->addWidget(ui.date2, 4, 4);

  ui.searchText = Named<QLineEdit>("searchText");
  ui.searchBox = ChoiceList("searchBox", CaptionsOf(SearchChoices()));
  grid->addWidget(Caption(QStringLiteral("Содержит"), ui.searchText), 5, 0);
  grid->addWidget(ui.searchText, 5, 1, 1, 2);
  grid->addWidget(Caption(QStringLiteral("в"), ui.searchBox), 5, 3);
  grid->addWidget(ui.searchBox, 5, 4);

  ui.duplicatesOnly = Named<QCheckBox>("duplicatesOnly", QStringLiteral("Только повторы"));
  ui.duplicatesOnly->setToolTip(
      QStringLiteral("Из каждой группы закачек с одной ссылкой или одним файлом отмечаются все, "
                     "кроме оставляемой"));
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(ui.duplicatesOnly);
  buttons->addStretch();
  buttons->addWidget(ActionButton("doSelectButton", ui.doSelect));
  buttons->addWidget(ActionButton("noSelectionButton", ui.noSelection));
  grid->addLayout(buttons, 6, 0, 1, 5);
  grid->setColumnStretch(2, 1);
  grid->setColumnStretch(4, 1);
  return group;
}

QGroupBox* StatisticsGroup(TForm2Ui& ui) {
  QGroupBox* group = Group("GroupBox1", QStringLiteral("Статистика"));
  auto* grid = new QGridLayout(group);
  grid->setContentsMargins(4, 4, 4, 4);
  ui.labZak = ValueLabel("labZak");
  ui.labSel = ValueLabel("labSel");
  ui.labSizeSel = ValueLabel("labSizeSel");
  ui.labSize = ValueLabel("labSize");
  ui.labSelCount = ValueLabel("labSelCount");
  ui.labSelTotal = ValueLabel("labSelTotal");
  ui.labUnreachable = ValueLabel("labUnreachable");
  ui.labRepeats = ValueLabel("labRepeats");
  QLabel* markedSize = Caption(QStringLiteral("Размер отмеченных"));
  markedSize->setWordWrap(true);

  int row = 0;
  grid->addWidget(HeaderCaption(QStringLiteral("Список закачек")), row++, 0, 1, 2);
  grid->addWidget(Caption(QStringLiteral("Закачек")), row, 0);
  grid->addWidget(ui.labZak, row++, 1);
  grid->addWidget(Caption(QStringLiteral("Отмечено")), row, 0);
  grid->addWidget(ui.labSel, row++, 1);
  grid->addWidget(markedSize, row, 0);
  grid->addWidget(ui.labSizeSel, row++, 1);
  grid->addWidget(Caption(QStringLiteral("Размер всех")), row, 0);
  grid->addWidget(ui.labSize, row++, 1);
  QLabel* unreachable = Caption(QString::fromUtf8(kUnreachableCaption));
  unreachable->setWordWrap(true);
  grid->addWidget(unreachable, row, 0);
  grid->addWidget(ui.labUnreachable, row++, 1);
  grid->addWidget(Caption(QStringLiteral("Групп повторов")), row, 0);
  grid->addWidget(ui.labRepeats, row++, 1);
  grid->addWidget(HeaderCaption(QStringLiteral("Выделенное")), row++, 0, 1, 2);
  grid->addWidget(Caption(QStringLiteral("Закачек")), row, 0);
  grid->addWidget(ui.labSelCount, row++, 1);
  grid->addWidget(Caption(QStringLiteral("Размер")), row, 0);
  grid->addWidget(ui.labSelTotal, row++, 1);
  grid->setRowStretch(row, 1);
  return group;
}

}  // namespace

QWidget* BuildListPane(TForm2Ui& ui) {
  QWidget* pane = Pane("Panel1");
  QGroupBox* listGroup = Group("GroupBox5", QStringLiteral("Список закачек"));
  auto* listLayout = new QVBoxLayout(listGroup);
  listLayout->setContentsMargins(2, 2, 2, 2);
  ui.treeLeft = Named<QTreeView>("treeLeft");
  listLayout->addWidget(ui.treeLeft);
  pane->layout()->addWidget(listGroup);
  pane->layout()->addWidget(FilterGroup(ui));
  static_cast<QVBoxLayout*>(pane->layout())->setStretch(0, 1);
  return pane;
}

QWidget* BuildMiddlePane(TForm2Ui& ui) {
  QWidget* pane = Pane("Panel2");
  QGroupBox* selected = Group("GroupBox2", QStringLiteral("Выделенное"));
  auto* layout = new QVBoxLayout(selected);
  layout->setContentsMargins(4, 4, 4, 4);
  layout->addWidget(ActionButton("BitBtn1", ui.move));
  layout->addWidget(ActionButton("BitBtn2", ui.doCopy));
  layout->addWidget(ActionButton("BitBtn3", ui.moveBack));
  ui.cleanSel =
      Named<TWrappingCheckBox>("cleanSel", QStringLiteral("Убрать выделение после выполнения"));
  layout->addWidget(ui.cleanSel);
  pane->layout()->addWidget(selected);
  pane->layout()->addWidget(StatisticsGroup(ui));
  static_cast<QVBoxLayout*>(pane->layout())->addStretch(1);
  return pane;
}

QWidget* BuildTrashPane(TForm2Ui& ui) {
  QWidget* pane = Pane("Panel3");
  QGroupBox* trashGroup = Group("GroupBox3", QStringLiteral("Корзина"));
  auto* trashLayout = new QVBoxLayout(trashGroup);
  trashLayout->setContentsMargins(2, 2, 2, 2);
  ui.treeRight = Named<QTreeView>("treeRight");
  trashLayout->addWidget(ui.treeRight);

  QGroupBox* action = Group("GroupBox6", QStringLiteral("Что делать с корзиной"));
  auto* layout = new QVBoxLayout(action);
  layout->setContentsMargins(4, 4, 4, 4);
  ui.CheckBox2 = Named<TWrappingCheckBox>(
      "CheckBox2", QStringLiteral("Сохранить резервную копию исходного списка"));
  ui.CheckBox2->setChecked(true);
  ui.saveSel = Named<QRadioButton>("saveSel", QStringLiteral("Сохранить в отдельный список"));
  ui.deleteSel = Named<QRadioButton>("deleteSel", QStringLiteral("Удалить"));
  ui.delSelWithFiles =
      Named<QRadioButton>("delSelWithFiles", QStringLiteral("Удалить вместе с файлами"));
  ui.delSelFiles = Named<QRadioButton>("delSelFiles", QStringLiteral("Удалить только файлы"));
  ui.deleteSel->setChecked(true);
  ui.Button2 = Named<QPushButton>("Button2", QStringLiteral("Выполнить"));
  layout->addWidget(ui.CheckBox2);
  for (QRadioButton* choice : {ui.saveSel, ui.deleteSel, ui.delSelWithFiles, ui.delSelFiles})
    layout->addWidget(choice);
  // Unticked: the file actions erase for good unless the user asks for the
  // bin.  "Корзина" alone would be the trash pane.
  ui.recycleFiles =
      Named<TWrappingCheckBox>("recycleFiles", QStringLiteral("Файлы — в корзину рабочего стола"));
  layout->addWidget(ui.recycleFiles);
  auto* buttonRow = new QHBoxLayout;
  buttonRow->addStretch();
  buttonRow->addWidget(ui.Button2);
  layout->addLayout(buttonRow);

  pane->layout()->addWidget(trashGroup);
  pane->layout()->addWidget(action);
  static_cast<QVBoxLayout*>(pane->layout())->setStretch(0, 1);
  return pane;
}

}  // namespace brimlow
