#include "app/about.h"

namespace brimlow {

namespace {
constexpr int kClientWidth = 290;
constexpr int kClientHeight = 171;
}  // namespace

TaboutForm::TaboutForm(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("aboutForm"));
  setWindowTitle(QStringLiteral("О программе"));
  setFixedSize(kClientWidth, kClientHeight);
}

}  // namespace brimlow
