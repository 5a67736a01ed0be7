#include "app/downloadsModel.h"

#include <QBrush>
#include <QDate>
#include <algorithm>
#include <cassert>

#include "app/ansiText.h"
#include "app/icons.h"
#include "data/categories.h"
#include "data/downloadsList.h"
#include "workflow/downloadColumns.h"

namespace brimlow {

namespace {

// A tip, which shows the whole path, is cut a little further than a name.
constexpr int kMaxTipLength = 4096;

QString ShownTip(const std::string& text) {
  const QString tip = FromAnsi(text);
  return tip.size() <= kMaxTipLength ? tip : tip.left(kMaxTipLength) + QChar(0x2026);
}

const QColor kMarkedBackground(166, 202, 240);

}  // namespace

QString DisplayName(const Tdownload& download) {
  // Cut after the conversion, so that a character of several bytes is never
  // split.
  return FromAnsi(ShownNamePart(download)).left(kMaxShownNameLength);
}

QString DateText(TDateTime date, const QLocale& locale) {
  const std::optional<TCalendarDay> day = CalendarDayOf(date);
  if (!day) return {};
  return locale.toString(QDate(day->year, static_cast<int>(day->month), static_cast<int>(day->day)),
                         QLocale::ShortFormat);
}

TDownloadsModel::TDownloadsModel(QObject* parent) : QAbstractTableModel(parent) {}

TDownloadsModel::~TDownloadsModel() {
  if (FList) FList->SetObserver(nullptr);
}

void TDownloadsModel::SetList(TMarkedList* list) {
  beginResetModel();
  if (FList) FList->SetObserver(nullptr);
  FList = list;
  if (FList) FList->SetObserver(this);
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
  const Tdownload& download = FList->List()[row];
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
  return FromAnsi(ColumnHeader(section));
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
  const int row = index.row();
  FList->SetChecked(row, value.toInt() == Qt::Checked);
  emit checkChanged(row);
  return true;
}

void TDownloadsModel::BeforeReset() {
  beginResetModel();
}

void TDownloadsModel::AfterReset() {
  endResetModel();
}

void TDownloadsModel::BeforeInsert(int first, int last) {
  beginInsertRows({}, first, last);
}

void TDownloadsModel::AfterInsert() {
  endInsertRows();
}

void TDownloadsModel::BeforeRemove(int first, int last) {
  beginRemoveRows({}, first, last);
}

void TDownloadsModel::AfterRemove() {
  endRemoveRows();
}

void TDownloadsModel::MarksChanged(int first, int last) {
  emit dataChanged(index(first, 0), index(last, ColumnCount - 1),
                   {Qt::CheckStateRole, Qt::BackgroundRole});
}

}  // namespace brimlow
