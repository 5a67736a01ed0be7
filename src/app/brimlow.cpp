// The program entry: the application, the main window with its start-up
// sequence, the two dialogs (hidden until needed) and the message loop.
//
// BRIMLOW_SCREENSHOT=<file.png> in the environment saves a picture of the
// window shortly after start-up to that file and ends the program; the
// screenshot script uses it.  With BRIMLOW_SCREENSHOT_OF=overview the picture
// is of the list's overview, opened for it.

#include <QAction>
#include <QLocale>
#include <QTimer>
#include <QTranslator>

#include "app/about.h"
#include "app/ansiText.h"
#include "app/application.h"
#include "app/main.h"
#include "app/overviewForm.h"
#include "app/reportUnit.h"
#include "platform/platform.h"

namespace {

constexpr int kScreenshotDelayMs = 700;

// Outside Windows the toolkit's locale is where the user's decimal separator
// is known.
void TakeDecimalSeparatorFromLocale() {
#ifndef Q_OS_WIN
  const std::string separator = brimlow::ToAnsi(QLocale().decimalPoint());
  if (separator.size() == 1) brimlow::platform::setDecimalSeparator(separator.front());
#endif
}

void ScheduleScreenshot(brimlow::TForm2& window) {
  const QString file = qEnvironmentVariable("BRIMLOW_SCREENSHOT");
  if (file.isEmpty()) return;
  const bool overview = qEnvironmentVariable("BRIMLOW_SCREENSHOT_OF") == QStringLiteral("overview");
  QTimer::singleShot(kScreenshotDelayMs, &window, [&window, file, overview] {
    if (overview) window.Ui().listOverview->trigger();
    QTimer::singleShot(overview ? kScreenshotDelayMs : 0, &window, [&window, file, overview] {
      QWidget* shown = overview && window.Overview() ? static_cast<QWidget*>(window.Overview())
                                                     : static_cast<QWidget*>(&window);
      const bool saved = shown->grab().save(file);
      QApplication::exit(saved ? 0 : 1);
    });
  });
}

}  // namespace

int main(int argc, char** argv) {
  brimlow::TBrimlowApplication application(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Tarvolt Brimlow"));
  QTranslator translator;
  brimlow::InstallToolkitTranslation(application, translator);
  TakeDecimalSeparatorFromLocale();

  brimlow::TForm2 window;
  brimlow::TreportForm report(&window);
  brimlow::TaboutForm about(&window);
  window.UseDialogs(&report, &about);
  // The window is there at once; a large list then loads while it paints.
  window.show();
  QTimer::singleShot(0, &window,
                     [&window] { brimlow::Guarded([&window] { window.FormCreate(); }); });
  ScheduleScreenshot(window);
  return application.exec();
}
