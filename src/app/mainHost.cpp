// TForm2: while the workflow waits for the host to end, the window shows the
// hourglass and keeps painting, but takes no input.
#include <QApplication>
#include <QEventLoop>
#include <QStatusBar>
#include <QTimer>

#include "app/ansiText.h"
#include "app/main.h"

namespace brimlow {

void TForm2::HostWaitStarted() {
  FBusy = true;
  QApplication::setOverrideCursor(Qt::WaitCursor);
  statusBar()->showMessage(FromAnsi(HostWaitText()));
}

void TForm2::HostWaitPause(std::chrono::milliseconds pause) {
  // Clicks and keys wait.
  QEventLoop loop;
  QTimer::singleShot(pause, &loop, &QEventLoop::quit);
  loop.exec(QEventLoop::ExcludeUserInputEvents);
}

void TForm2::HostWaitEnded() {
  statusBar()->clearMessage();
  QApplication::restoreOverrideCursor();
  FBusy = false;
}

}  // namespace brimlow
