#include "app/downloadsModel.h"

#include <QBrush>
#include <QDate>
#include <algorithm>
#include <cassert>
#include <cmath>

#include "app/ansiText.h"
#include "app/icons.h"
#include "data/categories.h"
#include "data/downloadsList.h"

namespace brimlow {

namespace {

// A tip, which shows the whole path, is cut a little further than a name.
constexpr int kMaxTipLength = 4096;

QString ShownTip(const std::string& text) {
  const QString tip = FromAnsi(text);
  return tip.size() <= kMaxTipLength ? tip : tip.left(kMaxTipLength) + QChar(0x2026);
}

// What ends the folder part of a stored file name.  Outside Windows the
// host's files may also have been given POSIX paths.
#ifdef Q_OS_WIN
constexpr const char* kNameSeparators = "\\:";
#else
constexpr const char* kNameSeparators = "\\:/";
#endif
const QColor kMarkedBackground(166, 202, 240);

// Removing a few blocks of rows keeps the views' scroll position and
// selection; past this many blocks one reset is cheaper than the signals.
constexpr size_t kMaxRangedRemovals = 16;

// A day number the toolkit's date type can hold, with room to spare.
constexpr double kMaxDayMagnitude = 3.0e6;

}  // namespace

QString DisplayName(const Tdownload& download) {
  const std::string& file = download.FileName;
  const size_t separator = file.find_last_of(kNameSeparators);
  const std::string_view name = separator == std::string::npos
                                    ? std::string_view(file)
                                    : std::string_view(file).substr(separator + 1);
  if (!name.empty()) return FromAnsi(name).left(kMaxShownNameLength);
  const std::string& url = download.URL;
  const size_t slash = url.rfind('/');
  const std::string_view tail =
      slash == std::string::npos ? std::string_view(url) : std::string_view(url).substr(slash + 1);
  // Cut after the conversion, so that a character of several bytes is never
  // split.
  return FromAnsi(tail).left(kMaxShownNameLength);
}

QString DateText(TDateTime date, const QLocale& locale) {
  if (!std::isfinite(date) || std::fabs(date) > kMaxDayMagnitude) return {};
  // The integral part counts the days, toward zero also for dates before the
  // epoch, as the stored form has it.
  const auto days = static_cast<qint64>(std::trunc(date));
  const QDate day = QDate(1899, 12, 30).addDays(days);
  return day.isValid() ? locale.toString(day, QLocale::ShortFormat) : QString();
}

TDownloadsModel::TDownloadsModel(QObject* parent) : QAbstractTableModel(parent) {}

TDownloadsModel::~TDownloadsModel() = default;

void TDownloadsModel::SetList(TDownloadsList* list) {
  beginResetModel();
  FList = list;
  FChecks.assign(list ? static_cast<size_t>(list->Count()) : 0, 0);
  RecomputeSums();
  endResetModel();
}

void TDownloadsModel::SetCategories(const TCategoryList* categories) {
  FCategories = categories;
  if (rowCount() > 0)
    emit dataChanged(index(0, ColumnName), index(rowCount() - 1, ColumnName), {Qt::DecorationRole});
}

int TDownloadsModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() || !FList ? 0 : FList->Count();
}

int TDownloadsModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : ColumnCount;
}

QVariant TDownloadsModel::data(const QModelIndex& index, int role) const {
  if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
    return {};
  const int row = index.row();
  const int column = index.column();
  const Tdownload& download = (*FList)[row];
  switch (role) {
    case Qt::DisplayRole:
      switch (column) {
        case ColumnName: return DisplayName(download);
        case ColumnState: return QString::number(download.State);
        case ColumnSize: return FromAnsi(download.SizeText());
        case ColumnDate: return DateText(download.Date, FLocale);
      }
      break;
    case Qt::DecorationRole:
      if (column == ColumnName && FCategories) {
        if (const Tcategory* category = FCategories->FindByID(download.NodeID)) {
          const QIcon& icon = CategoryIcon(category->ImageIndex);
          if (!icon.isNull()) return icon;
        }
      } else if (column == ColumnState) {
        const QIcon& icon = StateIcon(download.State);
        if (!icon.isNull()) return icon;
      }
      break;
    case Qt::CheckStateRole:
      if (column == ColumnName) return IsChecked(row) ? Qt::Checked : Qt::Unchecked;
      break;
    case Qt::BackgroundRole:
      if (IsChecked(row)) return QBrush(kMarkedBackground);
      break;
    case Qt::ToolTipRole:
      if (column == ColumnName)
        return ShownTip(download.FileName.empty() ? download.URL : download.FileName);
      if (column == ColumnState) return QString::number(download.State);
      break;
    case Qt::TextAlignmentRole:
      if (column == ColumnSize) return QVariant(Qt::AlignRight | Qt::AlignVCenter);
      break;
  }
  return {};
}

QVariant TDownloadsModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
  switch (section) {
    case ColumnName: return QStringLiteral("Имя");
    case ColumnState: return QString();
    case ColumnSize: return QStringLiteral("Размер");
    case ColumnDate: return QStringLiteral("Дата");
  }
  return {};
}

Qt::ItemFlags TDownloadsModel::flags(const QModelIndex& index) const {
  if (!index.isValid()) return Qt::NoItemFlags;
  Qt::ItemFlags result = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
  if (index.column() == ColumnName) result |= Qt::ItemIsUserCheckable;
  return result;
}

bool TDownloadsModel::setData(const QModelIndex& index, const QVariant& value, int role) {
  if (role != Qt::CheckStateRole || index.column() != ColumnName ||
      !checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
    return false;
  // Only "checked" marks a row; the mixed state counts as unmarked.
  const bool checked = value.toInt() == Qt::Checked;
  const int row = index.row();
  if (checked != IsChecked(row)) {
    Mark(static_cast<size_t>(row), checked);
    EmitRowChanged(row, row);
  }
  emit checkChanged(row);
  return true;
}

void TDownloadsModel::SetChecked(int row, bool checked) {
  if (checked == IsChecked(row)) return;
  Mark(static_cast<size_t>(row), checked);
  EmitRowChanged(row, row);
}

void TDownloadsModel::SetChecks(int first, std::span<const uint8_t> marks) {
  if (marks.empty()) return;
  assert(first >= 0 && first + static_cast<int>(marks.size()) <= rowCount());
  for (size_t i = 0; i < marks.size(); ++i)
    Mark(static_cast<size_t>(first) + i, marks[i] != 0);
  EmitRowChanged(first, first + static_cast<int>(marks.size()) - 1);
}

void TDownloadsModel::UncheckAll() {
  std::fill(FChecks.begin(), FChecks.end(), 0);
  FCheckedCount = 0;
  FCheckedSize = 0;
  if (rowCount() > 0) EmitRowChanged(0, rowCount() - 1);
}

void TDownloadsModel::UncheckRows(std::span<const int> rows) {
  for (int row : rows)
    Mark(static_cast<size_t>(row), false);
  if (!rows.empty())
    EmitRowChanged(*std::min_element(rows.begin(), rows.end()),
                   *std::max_element(rows.begin(), rows.end()));
}

std::vector<int> TDownloadsModel::CheckedRows() const {
  std::vector<int> rows;
  rows.reserve(static_cast<size_t>(FCheckedCount));
  for (size_t row = 0; row < FChecks.size(); ++row)
    if (FChecks[row]) rows.push_back(static_cast<int>(row));
  return rows;
}

void TDownloadsModel::AppendCopies(const TDownloadsList& source, std::span<const int> rows) {
  if (rows.empty() || !FList) return;
  assert(&source != FList);
  const int first = FList->Count();
  beginInsertRows({}, first, first + static_cast<int>(rows.size()) - 1);
  for (int row : rows) {
    Tdownload& copy = FList->Add();
    copy.AssignFrom(source[row]);
    FTotalSize += static_cast<uint64_t>(copy.Size);
  }
  FChecks.resize(static_cast<size_t>(FList->Count()), 0);
  endInsertRows();
}

void TDownloadsModel::RemoveRows(std::span<const int> ascendingRows) {
  if (ascendingRows.empty() || !FList) return;
  for (int row : ascendingRows) {
    Mark(static_cast<size_t>(row), false);
    FTotalSize -= static_cast<uint64_t>((*FList)[row].Size);
  }
  // The contiguous blocks of the rows, each as [first, last].
  std::vector<std::pair<int, int>> blocks;
  for (int row : ascendingRows) {
    if (!blocks.empty() && blocks.back().second + 1 == row)
      blocks.back().second = row;
    else
      blocks.emplace_back(row, row);
  }
  if (blocks.size() > kMaxRangedRemovals) {
    beginResetModel();
    FList->DeleteMany(ascendingRows);
    size_t kept = 0;
    size_t next = 0;
    for (size_t row = 0; row < FChecks.size(); ++row) {
      if (next < ascendingRows.size() && static_cast<size_t>(ascendingRows[next]) == row) {
        ++next;
        continue;
      }
      FChecks[kept++] = FChecks[row];
    }
    FChecks.resize(kept);
    endResetModel();
    return;
  }
  // The last block first, so that the rows of the earlier ones keep their
  // numbers.
  std::vector<int> positions;
  for (auto block = blocks.rbegin(); block != blocks.rend(); ++block) {
    const auto [first, last] = *block;
    beginRemoveRows({}, first, last);
    positions.resize(static_cast<size_t>(last - first + 1));
    for (size_t i = 0; i < positions.size(); ++i)
      positions[i] = first + static_cast<int>(i);
    FList->DeleteMany(positions);
    FChecks.erase(FChecks.begin() + first, FChecks.begin() + last + 1);
    endRemoveRows();
  }
}

void TDownloadsModel::ClearAll() {
  if (!FList) return;
  beginResetModel();
  FList->Clear();
  FChecks.clear();
  RecomputeSums();
  endResetModel();
}

void TDownloadsModel::Mark(size_t row, bool checked) {
  uint8_t& mark = FChecks[row];
  if ((mark != 0) == checked) return;
  mark = checked ? 1 : 0;
  const auto size = static_cast<uint64_t>((*FList)[static_cast<int>(row)].Size);
  if (checked) {
    ++FCheckedCount;
    FCheckedSize += size;
  } else {
    --FCheckedCount;
    FCheckedSize -= size;
  }
}

void TDownloadsModel::RecomputeSums() {
  FCheckedCount = 0;
  FCheckedSize = 0;
  FTotalSize = 0;
  if (!FList) return;
  for (int row = 0; row < FList->Count(); ++row) {
    const auto size = static_cast<uint64_t>((*FList)[row].Size);
    FTotalSize += size;
    if (FChecks[static_cast<size_t>(row)]) {
      ++FCheckedCount;
      FCheckedSize += size;
    }
  }
}

void TDownloadsModel::EmitRowChanged(int first, int last) {
  emit dataChanged(index(first, 0), index(last, ColumnCount - 1),
                   {Qt::CheckStateRole, Qt::BackgroundRole});
}

}  // namespace brimlow
