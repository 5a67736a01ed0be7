#include "app/about.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/icons.h"
#include "workflow/aboutDesign.h"

namespace brimlow {

namespace {

const TAboutDesign& kDesign = kAboutDesign;

QLabel* Text(const TAboutLine& line) {
  auto* label = new QLabel(QString::fromUtf8(line.text));
  label->setObjectName(QString::fromUtf8(line.name));
  QFont font = label->font();
  font.setPixelSize(line.pixels);
  font.setBold(line.bold);
  label->setFont(font);
  return label;
}

}  // namespace

TaboutForm::TaboutForm(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("aboutForm"));
  setWindowTitle(QString::fromUtf8(kDesign.caption));
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowCloseButtonHint);
  QFont font(QStringLiteral("Tahoma"));
  font.setFamilies({QStringLiteral("Tahoma"), QStringLiteral("DejaVu Sans"),
                    QStringLiteral("Liberation Sans"), QStringLiteral("Arial")});
  setFont(font);

  auto* icon = new QLabel;
  icon->setObjectName(QStringLiteral("programIcon"));
  icon->setPixmap(ProgramIcon().pixmap(kDesign.iconSize, kDesign.iconSize));
  icon->setFixedSize(kDesign.iconSize, kDesign.iconSize);
  auto* top = new QHBoxLayout;
  top->addWidget(icon);
  top->addWidget(Text(kDesign.lines.front()));
  top->addStretch();

  Button1 = new QPushButton(QString::fromUtf8(kDesign.closeCaption));
  Button1->setObjectName(QStringLiteral("Button1"));
  Button1->setFixedSize(kDesign.buttonWidth, kDesign.buttonHeight);
  Button1->setDefault(true);
  connect(Button1, &QPushButton::clicked, this, &TaboutForm::Button1Click);
  auto* bottom = new QHBoxLayout;
  bottom->addStretch();
  bottom->addWidget(Button1);
  bottom->addStretch();

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(kDesign.iconLeft, kDesign.iconTop, kDesign.iconLeft, kDesign.iconTop);
  layout->setSpacing(2);
  layout->addLayout(top);
  for (size_t i = 1; i < kDesign.lines.size(); ++i)
    layout->addWidget(Text(kDesign.lines[i]));
  layout->addStretch();
  layout->addLayout(bottom);
  setFixedSize(kDesign.clientWidth, kDesign.clientHeight);
}

void TaboutForm::Button1Click() {
  accept();
}

}  // namespace brimlow
