#include "app/application.h"

#include <QLibraryInfo>
#include <QMessageBox>
#include <QWidget>
#include <stdexcept>

#include "app/ansiText.h"

namespace brimlow {

namespace {

TErrorPresenter& presenter() {
  static TErrorPresenter installed;
  return installed;
}

void ShowInMessageBox(const QString& message) {
  QWidget* owner = QApplication::activeWindow();
  QMessageBox::critical(owner, QApplication::applicationDisplayName(), message);
}

// The program's error texts are 8-bit texts of the active code page, like all
// its other texts.
QString MessageOf(std::exception_ptr failure) {
  try {
    std::rethrow_exception(failure);
  } catch (const std::exception& error) {
    return FromAnsi(error.what());
  } catch (...) {
    return QStringLiteral("Unknown error");
  }
}

}  // namespace

TBrimlowApplication::TBrimlowApplication(int& argc, char** argv) : QApplication(argc, argv) {}

bool TBrimlowApplication::notify(QObject* receiver, QEvent* event) {
  try {
    return QApplication::notify(receiver, event);
  } catch (...) {
    HandleException(std::current_exception());
    return false;
  }
}

bool InstallToolkitTranslation(QApplication& application, QTranslator& translator) {
  if (!translator.load(QStringLiteral("qtbase_ru"),
                       QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
    return false;
  return application.installTranslator(&translator);
}

void HandleException(std::exception_ptr failure) {
  if (!failure) return;
  QString message;
  try {
    message = MessageOf(failure);
  } catch (...) {
    message = QStringLiteral("Unknown error");
  }
  // The message box runs an event loop of its own; a failure while it shows
  // must not escape either.
  try {
    if (presenter())
      presenter()(message);
    else
      ShowInMessageBox(message);
  } catch (...) {
  }
}

TErrorPresenter SetErrorPresenter(TErrorPresenter replacement) {
  return std::exchange(presenter(), std::move(replacement));
}

}  // namespace brimlow
