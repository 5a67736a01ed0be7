// TForm2: while a list is read, the window keeps painting, with the hourglass
// and a running progress bar, but takes no input; the lists it shows are not
// touched until the new one is complete.
#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QProgressBar>
#include <exception>

#include "app/main.h"
#include "workflow/listLoader.h"

namespace brimlow {

void TForm2::WhileLoading(const std::function<void()>& load) {
  FBusy = true;
  QApplication::setOverrideCursor(Qt::WaitCursor);
  QProgressBar& progress = *ui.filterProgress;
  progress.setRange(0, 0);  // no measure of the way: a running bar
  progress.show();

  QAbstractEventDispatcher* dispatcher = QAbstractEventDispatcher::instance();
  const TListLoader loader(
      [] {
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents |
                                        QEventLoop::WaitForMoreEvents);
      },
      [dispatcher] { dispatcher->wakeUp(); });
  std::exception_ptr failure;
  try {
    loader.Run(load);
  } catch (...) {
    failure = std::current_exception();
  }
  progress.hide();
  QApplication::restoreOverrideCursor();
  FBusy = false;
  if (failure) std::rethrow_exception(failure);
}

}  // namespace brimlow
