#include "app/overviewForm.h"

#include <QHeaderView>
#include <QPainter>
#include <QStyledItemDelegate>
#include <QTabWidget>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "app/ansiText.h"
#include "data/download.h"

namespace brimlow {

namespace {

enum TColumn { KeyColumn, CountColumn, SizeColumn, BarColumn };
// The share of the biggest row's size, 0 to 1, that a row's bar spans.
constexpr int kShareRole = Qt::UserRole + 1;

// The bar of a row: a filled rectangle as wide as the row's share.
class TSizeBarDelegate final : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;
  void paint(QPainter* painter, const QStyleOptionViewItem& option,
             const QModelIndex& index) const override {
    QStyledItemDelegate::paint(painter, option, index);
    const double share = index.data(kShareRole).toDouble();
    if (share <= 0) return;
    QRect bar = option.rect.adjusted(2, 3, -2, -3);
    bar.setWidth(std::max(1, static_cast<int>(bar.width() * share)));
    painter->fillRect(bar, option.palette.color(QPalette::Active, QPalette::Highlight));
  }
};

QTreeWidget* NewTable(const QString& keyHeader, QWidget* parent) {
  auto* table = new QTreeWidget(parent);
  table->setRootIsDecorated(false);
  table->setColumnCount(4);
  table->setHeaderLabels(
      {keyHeader, QStringLiteral("Закачек"), QStringLiteral("Размер"), QString()});
  table->header()->setStretchLastSection(true);
  table->setColumnWidth(KeyColumn, 160);
  table->setColumnWidth(CountColumn, 60);
  table->setColumnWidth(SizeColumn, 80);
  table->setItemDelegateForColumn(BarColumn, new TSizeBarDelegate(table));
  table->setSelectionMode(QAbstractItemView::SingleSelection);
  return table;
}

QString KeyHeader(TOverviewAxis axis) {
  switch (axis) {
    case TOverviewAxis::Category: return QStringLiteral("Категория");
    case TOverviewAxis::Year: return QStringLiteral("Год");
    case TOverviewAxis::State: return QStringLiteral("Состояние");
    case TOverviewAxis::File: return QStringLiteral("Файл");
  }
  return {};
}

}  // namespace

TOverviewForm::TOverviewForm(QWidget* parent, TOverviewSource source, TOverviewChoice choose)
    : QDialog(parent), FSource(std::move(source)), FChoose(std::move(choose)) {
  setObjectName(QStringLiteral("overviewForm"));
  setWindowTitle(QStringLiteral("Обзор списка"));
  auto* layout = new QVBoxLayout(this);
  FTabs = new QTabWidget(this);
  FTabs->setObjectName(QStringLiteral("overviewTabs"));
  layout->addWidget(FTabs);
  for (const TOverviewAxisChoice& choice : OverviewAxes()) {
    QTreeWidget* table = NewTable(KeyHeader(choice.axis), FTabs);
    table->setObjectName(QStringLiteral("overview_") + QString::fromLatin1(choice.word));
    connect(table, &QTreeWidget::itemClicked, this,
            [this, table](QTreeWidgetItem* item) { ChooseRow(table->indexOfTopLevelItem(item)); });
    FTabs->addTab(table, FromUtf8(choice.caption));
    FTables.push_back(table);
  }
  FShown.resize(FTables.size());
  FCurrent.assign(FTables.size(), false);
  connect(FTabs, &QTabWidget::currentChanged, this, [this](int tab) {
    if (tab >= 0 && !FCurrent[static_cast<size_t>(tab)]) Fill(tab);
  });
  resize(520, 340);
}

void TOverviewForm::Refresh() {
  FCurrent.assign(FTables.size(), false);
  Fill(FTabs->currentIndex());
}

TOverviewAxis TOverviewForm::ShownAxis() const {
  return OverviewAxes()[static_cast<size_t>(FTabs->currentIndex())].axis;
}

QTreeWidget& TOverviewForm::Table(TOverviewAxis axis) const {
  return *FTables[static_cast<size_t>(axis)];
}

void TOverviewForm::ChooseRow(int row) {
  const TOverview& overview = FShown[static_cast<size_t>(FTabs->currentIndex())];
  if (row < 0 || static_cast<size_t>(row) >= overview.rows.size()) return;
  if (const std::optional<TFilterInputs>& filter = overview.rows[static_cast<size_t>(row)].filter)
    FChoose(*filter);
}

void TOverviewForm::Fill(int tab) {
  const size_t index = static_cast<size_t>(tab);
  TOverview& overview = FShown[index];
  overview = FSource(OverviewAxes()[index].axis);
  FCurrent[index] = true;
  QTreeWidget& table = *FTables[index];
  table.clear();
  const int64_t biggest = overview.rows.empty() ? 0 : overview.rows.front().size;
  for (const TOverviewRow& row : overview.rows) {
    auto* item = new QTreeWidgetItem(&table);
    item->setText(KeyColumn, FromUtf8(row.caption));
    item->setText(CountColumn, QString::number(row.count));
    item->setText(SizeColumn, FromAnsi(SizeToText(row.size)));
    item->setTextAlignment(CountColumn, Qt::AlignRight | Qt::AlignVCenter);
    item->setTextAlignment(SizeColumn, Qt::AlignRight | Qt::AlignVCenter);
    const double share = biggest > 0 && row.size > 0
                             ? static_cast<double>(row.size) / static_cast<double>(biggest)
                             : 0.0;
    item->setData(BarColumn, kShareRole, share);
    if (!row.filter) item->setToolTip(KeyColumn, QStringLiteral("Фильтр не выбирает эту строку"));
  }
}

}  // namespace brimlow
