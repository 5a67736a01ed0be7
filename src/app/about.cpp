#include "app/about.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/icons.h"

namespace brimlow {

namespace {

constexpr int kClientWidth = 290;
constexpr int kClientHeight = 171;
constexpr int kIconSize = 33;
constexpr int kTitlePixels = 22;
constexpr int kTextPixels = 13;

QLabel* Text(const char* name, const QString& text, int pixels, bool bold = false) {
  auto* label = new QLabel(text);
  label->setObjectName(QString::fromLatin1(name));
  QFont font = label->font();
  font.setPixelSize(pixels);
  font.setBold(bold);
  label->setFont(font);
  return label;
}

}  // namespace

TaboutForm::TaboutForm(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("aboutForm"));
  setWindowTitle(QStringLiteral("О программе"));
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowCloseButtonHint);
  QFont font(QStringLiteral("Tahoma"));
  font.setFamilies({QStringLiteral("Tahoma"), QStringLiteral("DejaVu Sans"),
                    QStringLiteral("Liberation Sans"), QStringLiteral("Arial")});
  setFont(font);

  auto* icon = new QLabel;
  icon->setObjectName(QStringLiteral("programIcon"));
  icon->setPixmap(ProgramIcon().pixmap(kIconSize, kIconSize));
  icon->setFixedSize(kIconSize, kIconSize);
  auto* top = new QHBoxLayout;
  top->addWidget(icon);
  top->addWidget(Text("titleLabel", QStringLiteral("Brimlow"), kTitlePixels, true));
  top->addStretch();

  Button1 = new QPushButton(QStringLiteral("Закрыть"));
  Button1->setObjectName(QStringLiteral("Button1"));
  Button1->setFixedSize(75, 25);
  Button1->setDefault(true);
  connect(Button1, &QPushButton::clicked, this, &TaboutForm::Button1Click);
  auto* bottom = new QHBoxLayout;
  bottom->addStretch();
  bottom->addWidget(Button1);
  bottom->addStretch();

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(12, 8, 12, 8);
  layout->setSpacing(2);
  layout->addLayout(top);
  layout->addWidget(Text("forLabel", QStringLiteral("для Tarvolt"), kTextPixels, true));
  layout->addWidget(Text("versionLabel", QStringLiteral("Brimlow 1.0"), kTextPixels));
  layout->addWidget(Text("makerRights", QStringLiteral("Tarvolt © Kelvane"), kTextPixels));
  layout->addWidget(Text("authorRights", QStringLiteral("Brimlow © авторы Brimlow."), kTextPixels));
  layout->addStretch();
  layout->addLayout(bottom);
  setFixedSize(kClientWidth, kClientHeight);
}

void TaboutForm::Button1Click() {
  accept();
}

}  // namespace brimlow
