#pragma once

// The report dialog shown after an execution of the trash action.

#include <QDialog>
#include <QString>

class QLabel;
class QLineEdit;
class QPushButton;

namespace brimlow {

struct TReport {
  int removed = 0;     // downloads that left the list
  int trashCount = 0;  // entries of the trash
  QString word;        // what happened to them
  QString backupPath;  // empty without a backup copy
  // Entries whose file could not be deleted; they are not counted as done.
  int undeletedFiles = 0;
};

class TreportForm final : public QDialog {
  Q_OBJECT
  Q_DISABLE_COPY_MOVE(TreportForm)

 public:
  explicit TreportForm(QWidget* parent = nullptr);

  // Fills the dialog; the caller shows it modally.
  void ShowReport(const TReport& report);

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
