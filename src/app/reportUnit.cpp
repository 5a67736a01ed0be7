#include "app/reportUnit.h"

#include <algorithm>

#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>

#include "app/ansiText.h"

namespace brimlow {

namespace {

constexpr int kClientWidth = 342;
constexpr int kClientHeight = 142;
constexpr int kEditWidth = 305;
constexpr int kFontPoints = 8;

QLabel* Caption(const QString& text) {
  auto* label = new QLabel(text);
  QPalette palette = label->palette();
  palette.setColor(QPalette::WindowText, palette.color(QPalette::Active, QPalette::Highlight));
  label->setPalette(palette);
  return label;
}

QLabel* Field(const char* name) {
  auto* label = new QLabel;
  label->setObjectName(QString::fromLatin1(name));
  return label;
}

}  // namespace

TreportForm::TreportForm(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("reportForm"));
  setWindowTitle(QStringLiteral("Отчёт"));
  // A fixed dialog frame with only the close button.
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowCloseButtonHint);
  QFont font(QStringLiteral("Tahoma"), kFontPoints);
  font.setFamilies({QStringLiteral("Tahoma"), QStringLiteral("DejaVu Sans Condensed"),
                    QStringLiteral("Liberation Sans Narrow"), QStringLiteral("Arial")});
  setFont(font);

  listLabel = Field("listLabel");
  selLabel = Field("selLabel");
  filesLabel = Field("filesLabel");
  filesCaption = Caption(QStringLiteral("Файлы:"));
  Edit1 = new QLineEdit;
  Edit1->setObjectName(QStringLiteral("Edit1"));
  Edit1->setReadOnly(true);
  Edit1->setFixedWidth(kEditWidth);
  Button1 = new QPushButton(QStringLiteral("ОК"));
  Button1->setObjectName(QStringLiteral("Button1"));
  Button1->setDefault(true);
  connect(Button1, &QPushButton::clicked, this, &QDialog::accept);

  FGrid = new QGridLayout(this);
  FGrid->setContentsMargins(16, 10, 16, 10);
  FGrid->addWidget(Caption(QStringLiteral("Список закачек:")), 0, 0);
  FGrid->addWidget(listLabel, 0, 1);
  FGrid->addWidget(Caption(QStringLiteral("Выделенное:")), 1, 0);
  FGrid->addWidget(selLabel, 1, 1);
  FFileLines.emplace_back(filesCaption, filesLabel);
  FBackupCaption = Caption(QStringLiteral("Резервная копия:"));
  FButtons = new QHBoxLayout;
  FButtons->addStretch();
  FButtons->addWidget(Button1);
  FButtons->addStretch();
  FGrid->setColumnStretch(1, 1);
  ShowReport(TExecutionReport().Texts());
}

void TreportForm::ShowReport(const TExecutionReportTexts& texts) {
  listLabel->setText(FromAnsi(texts.listLabel));
  selLabel->setText(FromAnsi(texts.selLabel));
  // What became of the files is said a line each, when there is anything
  // to say.
  LayOutFileLines(texts.fileLines.size());
  for (size_t i = 0; i < FFileLines.size(); ++i) {
    const bool shown = i < texts.fileLines.size();
    FFileLines[i].first->setText(shown ? FromAnsi(texts.fileLines[i].caption) : QString());
    FFileLines[i].second->setText(shown ? FromAnsi(texts.fileLines[i].text) : QString());
  }
  Edit1->setText(FromAnsi(texts.Edit1));
  Edit1->selectAll();
  layout()->activate();
  setFixedSize(kClientWidth, std::max(kClientHeight, layout()->sizeHint().height()));
}

void TreportForm::LayOutFileLines(size_t count) {
  while (FFileLines.size() < count) {
    FFileLines.emplace_back(Caption(QString()), new QLabel);
    FFileLines.back().first->setParent(this);
    FFileLines.back().second->setParent(this);
  }
  FGrid->removeWidget(FBackupCaption);
  FGrid->removeWidget(Edit1);
  FGrid->removeItem(FButtons);
  for (size_t i = 0; i < FFileLines.size(); ++i) {
    const auto& [caption, text] = FFileLines[i];
    FGrid->removeWidget(caption);
    FGrid->removeWidget(text);
    if (i < count) {
      FGrid->addWidget(caption, 2 + static_cast<int>(i), 0);
      FGrid->addWidget(text, 2 + static_cast<int>(i), 1);
    }
    caption->setVisible(i < count);
    text->setVisible(i < count);
  }
  // One row stays for the files even when there is none.
  const int next = 2 + std::max<int>(static_cast<int>(count), 1);
  FGrid->addWidget(FBackupCaption, next, 0, 1, 2);
  FGrid->addWidget(Edit1, next + 1, 0, 1, 2);
  FGrid->addLayout(FButtons, next + 2, 0, 1, 2);
}

void TreportForm::showEvent(QShowEvent* event) {
  // Centred on the screen, not over the main window.
  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    QRect frame = frameGeometry();
    frame.moveCenter(screen->availableGeometry().center());
    move(frame.topLeft());
  }
  QDialog::showEvent(event);
}

}  // namespace brimlow
