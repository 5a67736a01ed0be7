#include "app/reportUnit.h"

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

  auto* grid = new QGridLayout(this);
  grid->setContentsMargins(16, 10, 16, 10);
  grid->addWidget(Caption(QStringLiteral("Список закачек:")), 0, 0);
  grid->addWidget(listLabel, 0, 1);
  grid->addWidget(Caption(QStringLiteral("Выделенное:")), 1, 0);
  grid->addWidget(selLabel, 1, 1);
  grid->addWidget(filesCaption, 2, 0);
  grid->addWidget(filesLabel, 2, 1);
  grid->addWidget(Caption(QStringLiteral("Резервная копия:")), 3, 0, 1, 2);
  grid->addWidget(Edit1, 4, 0, 1, 2);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(Button1);
  buttons->addStretch();
  grid->addLayout(buttons, 5, 0, 1, 2);
  grid->setColumnStretch(1, 1);
  ShowReport(TExecutionReport().Texts());
}

void TreportForm::ShowReport(const TExecutionReportTexts& texts) {
  listLabel->setText(FromAnsi(texts.listLabel));
  selLabel->setText(FromAnsi(texts.selLabel));
  // What became of the files is said on a line of its own when there is
  // anything to say.
  const bool files = !texts.fileLines.empty();
  filesCaption->setText(files ? FromAnsi(texts.fileLines.front().caption) : QString());
  filesLabel->setText(files ? FromAnsi(texts.fileLines.front().text) : QString());
  filesCaption->setVisible(files);
  filesLabel->setVisible(files);
  Edit1->setText(FromAnsi(texts.Edit1));
  Edit1->selectAll();
  layout()->activate();
  setFixedSize(kClientWidth, std::max(kClientHeight, layout()->sizeHint().height()));
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
