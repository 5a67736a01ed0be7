// The host process: recognised by its executable's name, asked to exit by
// starting its executable once more with " -exit", and started again when the
// window closes.
#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QStatusBar>
#include <QTimer>
#include <algorithm>

#include "app/main.h"
#include "platform/commandLine.h"
#include "platform/platform.h"

namespace brimlow {

namespace {

const std::string kHostProcess = "tarvolt.exe";
const std::string kExitArgument = " -exit";

// Only the letters a to z change.
std::string AsciiUpper(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(), [](char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
  });
  return text;
}

// While the window waits for the host: the hourglass, and a window that
// repaints but takes no input; everything returns as it was however the
// wait ends.
class TWaitScope {
 public:
  TWaitScope(QMainWindow& window, bool& busy) : FWindow(window), FBusy(busy) {
    FBusy = true;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    FWindow.statusBar()->showMessage(QStringLiteral("Ожидание завершения Tarvolt..."));
  }
  ~TWaitScope() {
    FWindow.statusBar()->clearMessage();
    QApplication::restoreOverrideCursor();
    FBusy = false;
  }
  TWaitScope(const TWaitScope&) = delete;
  TWaitScope& operator=(const TWaitScope&) = delete;

 private:
  QMainWindow& FWindow;
  bool& FBusy;
};

}  // namespace

bool IsProcessRunning(const std::string& exeName) {
  const std::optional<std::vector<std::string>> texts = platform::current().runningProcessTexts();
  if (!texts) return false;
  const std::string wanted = AsciiUpper(exeName);
  // Every entry is looked at, as the snapshot is walked to its end.
  bool found = false;
  for (const std::string& text : *texts)
    if (AsciiUpper(platform::executableFileNamePart(text)) == wanted || AsciiUpper(text) == wanted)
      found = true;
  return found;
}

void TForm2::ControlHost(bool restart) {
  if (!restart && !IsProcessRunning(kHostProcess)) return;
  // Without the executable's path there is nothing to start.
  if (FHostExeFile.empty()) return;
  platform::current().startCommandLine(restart ? FHostExeFile : FHostExeFile + kExitArgument);
  if (!restart) WaitForHostToEnd();
}

void TForm2::SetHostExitWait(std::chrono::milliseconds timeout, std::chrono::milliseconds poll) {
  FHostExitTimeout = timeout;
  FHostExitPoll = std::max(poll, std::chrono::milliseconds(1));
}

void TForm2::WaitForHostToEnd() {
  // The host writes its own files as it ends; whatever this program writes
  // must come after that, or the host would write over it.
  TWaitScope busy(*this, FBusy);
  QElapsedTimer elapsed;
  elapsed.start();
  while (IsProcessRunning(kHostProcess) && elapsed.elapsed() < FHostExitTimeout.count()) {
    // The window keeps painting; clicks and keys wait.
    QEventLoop pause;
    QTimer::singleShot(FHostExitPoll, &pause, &QEventLoop::quit);
    pause.exec(QEventLoop::ExcludeUserInputEvents);
  }
}

}  // namespace brimlow
