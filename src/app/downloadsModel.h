#pragma once

// The one model behind both download trees.  Row i shows record i of its list,
// read when the view paints; the model keeps no copy of the records, only the
// marks (check boxes) and running sums of the sizes, so that the statistics
// after a click on a check box cost nothing.

#include <QAbstractTableModel>
#include <QLocale>
#include <cstdint>
#include <span>
#include <vector>

#include "data/download.h"

namespace brimlow {

class TCategoryList;
class TDownloadsList;

// The most characters a name is shown with.  No file system allows longer
// ones, and laying out millions of characters would take seconds at every
// paint; the record keeps the whole text.
constexpr int kMaxShownNameLength = 1000;

// The name shown for a download: the file name part of FileName (after its
// last "\" or ":", and outside Windows also "/"), or else the last part of the
// URL, at most kMaxShownNameLength characters either way.
QString DisplayName(const Tdownload& download);
// The day of a date-time in the locale's short date format; empty when the
// value is no representable day.
QString DateText(TDateTime date, const QLocale& locale);

class TDownloadsModel final : public QAbstractTableModel {
  Q_OBJECT
  Q_DISABLE_COPY_MOVE(TDownloadsModel)

 public:
  enum Column { ColumnName, ColumnState, ColumnSize, ColumnDate, ColumnCount };

  explicit TDownloadsModel(QObject* parent = nullptr);
  ~TDownloadsModel() override;

  // Shows another list (not owned; may be none); every row starts unmarked.
  void SetList(TDownloadsList* list);
  TDownloadsList* List() const { return FList; }
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

  bool IsChecked(int row) const { return FChecks[static_cast<size_t>(row)] != 0; }
  // Marks rows without announcing it as the user's change.
  void SetChecked(int row, bool checked);
  // Replaces the marks of the rows from `first` on, one per entry of `marks`.
  void SetChecks(int first, std::span<const uint8_t> marks);
  void UncheckAll();
  void UncheckRows(std::span<const int> rows);
  std::vector<int> CheckedRows() const;

  int CheckedCount() const { return FCheckedCount; }
  int64_t CheckedSize() const { return static_cast<int64_t>(FCheckedSize); }
  int64_t TotalSize() const { return static_cast<int64_t>(FTotalSize); }

  // Appends to this model's list a copy of each given record of `source`
  // (another list), in order, as new unmarked rows.
  void AppendCopies(const TDownloadsList& source, std::span<const int> rows);
  // Deletes the given rows, which ascend, from the list and the model.
  void RemoveRows(std::span<const int> ascendingRows);
  // Deletes every record and row.
  void ClearAll();

 signals:
  void checkChanged(int row);

 private:
  void Mark(size_t row, bool checked);
  void RecomputeSums();
  void EmitRowChanged(int first, int last);

  TDownloadsList* FList = nullptr;
  const TCategoryList* FCategories = nullptr;
  std::vector<uint8_t> FChecks;
  int FCheckedCount = 0;
  // Sums are kept unsigned so that extreme sizes wrap instead of overflowing.
  uint64_t FCheckedSize = 0;
  uint64_t FTotalSize = 0;
  QLocale FLocale;
};

}  // namespace brimlow
