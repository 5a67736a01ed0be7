#include "app/wrappingCheckBox.h"

#include <QPainter>
#include <QStyleOptionButton>
#include <QStylePainter>
#include <algorithm>

namespace brimlow {

namespace {
// The caption's width in the size hint, in average characters.
constexpr int kPreferredCharacters = 22;
}  // namespace

TWrappingCheckBox::TWrappingCheckBox(const QString& text, QWidget* parent)
    : QCheckBox(text, parent) {
  QSizePolicy policy(QSizePolicy::Preferred, QSizePolicy::Preferred);
  policy.setHeightForWidth(true);
  setSizePolicy(policy);
}

int TWrappingCheckBox::IndicatorWidth() const {
  return style()->pixelMetric(QStyle::PM_IndicatorWidth, nullptr, this) +
         style()->pixelMetric(QStyle::PM_CheckBoxLabelSpacing, nullptr, this) + 2;
}

int TWrappingCheckBox::TextHeight(int textWidth) const {
  const QRect bounds = fontMetrics().boundingRect(QRect(0, 0, std::max(textWidth, 1), 100000),
                                                  Qt::TextWordWrap | Qt::AlignLeft, text());
  const int indicator = style()->pixelMetric(QStyle::PM_IndicatorHeight, nullptr, this);
  return std::max(bounds.height(), indicator) + 2;
}

QSize TWrappingCheckBox::sizeHint() const {
  const int wanted = fontMetrics().averageCharWidth() * kPreferredCharacters;
  const int natural = fontMetrics().horizontalAdvance(text());
  const int textWidth = std::min(wanted, natural);
  return {IndicatorWidth() + textWidth, TextHeight(textWidth)};
}

QSize TWrappingCheckBox::minimumSizeHint() const {
  int longestWord = 0;
  for (const QString& word : text().split(QLatin1Char(' '), Qt::SkipEmptyParts))
    longestWord = std::max(longestWord, fontMetrics().horizontalAdvance(word));
  return {IndicatorWidth() + longestWord, TextHeight(longestWord)};
}

int TWrappingCheckBox::heightForWidth(int width) const {
  return TextHeight(width - IndicatorWidth());
}

void TWrappingCheckBox::paintEvent(QPaintEvent*) {
  QStylePainter painter(this);
  QStyleOptionButton option;
  initStyleOption(&option);
  const QString caption = option.text;
  option.text.clear();
  // The indicator alone, centred on the first line.
  const int lineHeight = fontMetrics().height();
  const int indicatorHeight = style()->pixelMetric(QStyle::PM_IndicatorHeight, nullptr, this);
  option.rect.setHeight(std::max(lineHeight, indicatorHeight) + 2);
  painter.drawControl(QStyle::CE_CheckBox, option);
  const QRect textRect = rect().adjusted(IndicatorWidth(), 1, 0, 0);
  painter.setPen(
      palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::WindowText));
  painter.drawText(textRect, Qt::TextWordWrap | Qt::AlignLeft | Qt::AlignTop, caption);
}

bool TWrappingCheckBox::hitButton(const QPoint& position) const {
  return rect().contains(position);
}

}  // namespace brimlow
