#pragma once

// The report dialog shown after an execution of the trash action.

#include <QDialog>

namespace brimlow {

class TreportForm final : public QDialog {
  Q_OBJECT
  Q_DISABLE_COPY_MOVE(TreportForm)

 public:
  explicit TreportForm(QWidget* parent = nullptr);
};

}  // namespace brimlow
