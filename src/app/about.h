#pragma once

// The about dialog.

#include <QDialog>

namespace brimlow {

class TaboutForm final : public QDialog {
  Q_OBJECT
  Q_DISABLE_COPY_MOVE(TaboutForm)

 public:
  explicit TaboutForm(QWidget* parent = nullptr);
};

}  // namespace brimlow
