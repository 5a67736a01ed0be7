#pragma once

// The about dialog.

#include <QDialog>

class QPushButton;

namespace brimlow {

class TaboutForm final : public QDialog {
  Q_OBJECT
  Q_DISABLE_COPY_MOVE(TaboutForm)

 public:
  explicit TaboutForm(QWidget* parent = nullptr);

  void Button1Click();

  QPushButton* Button1 = nullptr;
};

}  // namespace brimlow
