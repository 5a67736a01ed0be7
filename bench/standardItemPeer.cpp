#include "standardItemPeer.h"

#include <QLocale>

#include "app/ansiText.h"
#include "app/downloadsModel.h"
#include "app/icons.h"
#include "data/categories.h"
#include "data/downloadsList.h"

namespace brimlow::bench {

void FillStandardModel(QStandardItemModel& model, const TDownloadsList& list,
                       const TCategoryList* categories) {
  const QLocale locale;
  model.clear();
  model.setHorizontalHeaderLabels(
      {QStringLiteral("Имя"), QString(), QStringLiteral("Размер"), QStringLiteral("Дата")});
  for (int i = 0; i < list.Count(); ++i) {
    const Tdownload& download = list[i];
    auto* name = new QStandardItem(DisplayName(download));
    name->setCheckable(true);
    name->setCheckState(Qt::Unchecked);
    name->setData(QVariant::fromValue<qlonglong>(download.Size), kSizeRole);
    if (categories) {
      if (const Tcategory* category = categories->FindByID(download.NodeID))
        name->setIcon(CategoryIcon(category->ImageIndex));
    }
    auto* state = new QStandardItem(StateIcon(download.State), QString::number(download.State));
    auto* size = new QStandardItem(FromAnsi(download.SizeText()));
    auto* date = new QStandardItem(DateText(download.Date, locale));
    model.appendRow({name, state, size, date});
  }
}

StandardStatistics ScanStandardModel(const QStandardItemModel& model) {
  StandardStatistics statistics;
  for (int row = 0; row < model.rowCount(); ++row) {
    const QStandardItem* name = model.item(row, 0);
    const int64_t size = name->data(kSizeRole).toLongLong();
    statistics.totalSize += size;
    if (name->checkState() == Qt::Checked) {
      ++statistics.checked;
      statistics.checkedSize += size;
    }
  }
  return statistics;
}

}  // namespace brimlow::bench
