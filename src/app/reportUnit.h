#pragma once

// The report dialog shown after an execution of the trash action.

#include <QDialog>
#include <QString>

#include "workflow/executionReport.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace brimlow {

class TreportForm final : public QDialog {
  Q_OBJECT
  Q_DISABLE_COPY_MOVE(TreportForm)

 public:
  explicit TreportForm(QWidget* parent = nullptr);

  // Fills the dialog; the caller shows it modally.
  void ShowReport(const TExecutionReportTexts& texts);

  QLabel* listLabel = nullptr;
  QLabel* selLabel = nullptr;
  QLabel* filesCaption = nullptr;
  QLabel* filesLabel = nullptr;
  QLineEdit* Edit1 = nullptr;
  QPushButton* Button1 = nullptr;

 protected:
  void showEvent(QShowEvent* event) override;
};

}  // namespace brimlow
