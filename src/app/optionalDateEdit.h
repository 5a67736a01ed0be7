#pragma once

// A date field that can also hold no date.  It shows a blank while empty (its
// lowest value stands for "no date"); Delete empties it, and the arrows, the
// wheel, typing or the calendar start from today.

#include <QDateEdit>
#include <optional>

namespace brimlow {

class TOptionalDateEdit final : public QDateEdit {
  Q_OBJECT
  Q_DISABLE_COPY_MOVE(TOptionalDateEdit)

 public:
  explicit TOptionalDateEdit(QWidget* parent = nullptr);

  std::optional<QDate> Value() const;
  void SetValue(std::optional<QDate> value);
  bool IsEmpty() const { return date() == minimumDate(); }

  void stepBy(int steps) override;

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;

 private:
  void StartFromToday();
};

}  // namespace brimlow
