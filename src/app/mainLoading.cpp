// TForm2: a list is read on a thread of its own while the window keeps
// painting, with the hourglass and a running progress bar: a list of
// hundreds of thousands of downloads takes seconds.  The window takes no
// input meanwhile, and the lists it shows are not touched until the new one
// is complete.
#include <QApplication>
#include <QEventLoop>
#include <QProgressBar>
#include <exception>
#include <thread>

#include "app/main.h"

namespace brimlow {

void TForm2::WhileLoading(const std::function<void()>& load) {
  FBusy = true;
  QApplication::setOverrideCursor(Qt::WaitCursor);
  QProgressBar& progress = *ui.filterProgress;
  progress.setRange(0, 0);  // no measure of the way: a running bar
  progress.show();

  std::exception_ptr failure;
  QEventLoop waiting;
  std::thread reader([&] {
    try {
      load();
    } catch (...) {
      failure = std::current_exception();
    }
    QMetaObject::invokeMethod(&waiting, &QEventLoop::quit, Qt::QueuedConnection);
  });
  waiting.exec(QEventLoop::ExcludeUserInputEvents);
  reader.join();

  progress.hide();
  QApplication::restoreOverrideCursor();
  FBusy = false;
  if (failure) std::rethrow_exception(failure);
}

}  // namespace brimlow
