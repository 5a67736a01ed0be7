#pragma once

// The report dialog shown after an execution of the trash action.

#include <QDialog>
#include <QString>
#include <utility>
#include <vector>

#include "workflow/executionReport.h"

class QGridLayout;
class QHBoxLayout;
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
  // The first line of what became of the files; the dialog grows by a line
  // for each further one.
  QLabel* filesCaption = nullptr;
  QLabel* filesLabel = nullptr;
  QLineEdit* Edit1 = nullptr;
  QPushButton* Button1 = nullptr;

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  // Makes the file lines' labels, shows `count` of them and puts what follows
  // below the last.
  void LayOutFileLines(size_t count);

  QGridLayout* FGrid = nullptr;
  QLabel* FBackupCaption = nullptr;
  QHBoxLayout* FButtons = nullptr;
  std::vector<std::pair<QLabel*, QLabel*>> FFileLines;  // caption and text
};

}  // namespace brimlow
