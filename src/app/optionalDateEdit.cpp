#include "app/optionalDateEdit.h"

#include <QCalendarWidget>
#include <QKeyEvent>

namespace brimlow {

namespace {
// The date every date-time counts from; the filter ignores it and everything
// before, so it serves as the empty value.
const QDate kNoDate(1899, 12, 30);
}  // namespace

TOptionalDateEdit::TOptionalDateEdit(QWidget* parent) : QDateEdit(parent) {
  setMinimumDate(kNoDate);
  setMaximumDate(QDate(9999, 12, 31));
  setSpecialValueText(QStringLiteral(" "));
  setCalendarPopup(true);
  setDate(kNoDate);
}

std::optional<QDate> TOptionalDateEdit::Value() const {
  if (IsEmpty()) return std::nullopt;
  return date();
}

void TOptionalDateEdit::SetValue(std::optional<QDate> value) {
  setDate(value && value->isValid() && *value > kNoDate ? *value : kNoDate);
}

void TOptionalDateEdit::stepBy(int steps) {
  if (IsEmpty()) {
    StartFromToday();
    return;
  }
  QDateEdit::stepBy(steps);
}

void TOptionalDateEdit::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Delete) {
    SetValue(std::nullopt);
    event->accept();
    return;
  }
  // Typing into an empty field edits today's date.
  if (IsEmpty() && !event->text().isEmpty() && event->text().front().isDigit()) {
    StartFromToday();
    setCurrentSectionIndex(0);
  }
  QDateEdit::keyPressEvent(event);
}

void TOptionalDateEdit::mousePressEvent(QMouseEvent* event) {
  // The calendar of an empty field opens on the current month, not on 1899.
  if (IsEmpty())
    calendarWidget()->setCurrentPage(QDate::currentDate().year(), QDate::currentDate().month());
  QDateEdit::mousePressEvent(event);
}

void TOptionalDateEdit::StartFromToday() {
  setDate(QDate::currentDate());
}

}  // namespace brimlow
