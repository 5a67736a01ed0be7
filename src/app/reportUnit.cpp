#include "app/reportUnit.h"

namespace brimlow {

namespace {
constexpr int kClientWidth = 342;
constexpr int kClientHeight = 142;
}  // namespace

TreportForm::TreportForm(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("reportForm"));
  setWindowTitle(QStringLiteral("Отчёт"));
  setFixedSize(kClientWidth, kClientHeight);
}

}  // namespace brimlow
