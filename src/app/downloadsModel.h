#pragma once

// The one model behind both download trees.  Row i shows record i of its list,
// read when the view paints; the model keeps no copy of the records, and the
// marks (check boxes) with their sums are the list's own.

#include <QAbstractTableModel>
#include <QLocale>
#include <cstdint>
#include <span>
#include <vector>

#include "data/download.h"
#include "workflow/markedList.h"
#include "workflow/shownName.h"

namespace brimlow {

class TCategoryList;

// The name shown for a download: the file name part of FileName (after its
// last "\" or ":", and outside Windows also "/"), or else the last part of the
// URL, at most kMaxShownNameLength characters either way.
QString DisplayName(const Tdownload& download);
// The day of a date-time in the locale's short date format; empty when the
// value is no representable day.
QString DateText(TDateTime date, const QLocale& locale);

class TDownloadsModel final : public QAbstractTableModel, private TMarkedListObserver {
  Q_OBJECT
  Q_DISABLE_COPY_MOVE(TDownloadsModel)

 public:
  enum Column { ColumnName, ColumnState, ColumnSize, ColumnDate, ColumnCount };

  explicit TDownloadsModel(QObject* parent = nullptr);
  ~TDownloadsModel() override;

  // Shows another list with its marks (not owned; may be none) and follows
  // its changes.
  void SetList(TMarkedList* list);
  TMarkedList* List() const { return FList; }
  // The categories that choose the icons of column 0 (not owned; may be none).
  void SetCategories(const TCategoryList* categories);

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;
  // The check box of column 0 is the only editable value; a change made here
  // (the user's click) is announced by checkChanged.
  bool setData(const QModelIndex& index, const QVariant& value, int role) override;

  // The marks and sums of the list shown (none: no marks, sums 0).
  bool IsChecked(int row) const { return FList->IsChecked(row); }
  // Marks rows without announcing it as the user's change.
  void SetChecked(int row, bool checked) { FList->SetChecked(row, checked); }
  void SetChecks(int first, std::span<const uint8_t> marks) { FList->SetChecks(first, marks); }
  void UncheckAll() { FList->UncheckAll(); }
  std::vector<int> CheckedRows() const { return FList->CheckedRows(); }
  int CheckedCount() const { return FList ? FList->CheckedCount() : 0; }
  int64_t CheckedSize() const { return FList ? FList->CheckedSize() : 0; }
  int64_t TotalSize() const { return FList ? FList->TotalSize() : 0; }
  void AppendCopies(const TDownloadsList& source, std::span<const int> rows) {
    FList->AppendCopies(source, rows);
  }
  void RemoveRows(std::span<const int> ascendingRows) { FList->RemoveRows(ascendingRows); }
  void ClearAll() { FList->ClearAll(); }

 signals:
  void checkChanged(int row);

 private:
  void BeforeReset() override;
  void AfterReset() override;
  void BeforeInsert(int first, int last) override;
  void AfterInsert() override;
  void BeforeRemove(int first, int last) override;
  void AfterRemove() override;
  void MarksChanged(int first, int last) override;

  TMarkedList* FList = nullptr;
  const TCategoryList* FCategories = nullptr;
  QLocale FLocale;
};

}  // namespace brimlow
