#pragma once

// The application object and the program's one top-level error handler: a
// failure of a user action or of the start-up is shown with its message in a
// message box, and the window stays usable.  No exception crosses the event
// loop.

#include <QApplication>
#include <QTranslator>
#include <exception>
#include <functional>
#include <utility>

namespace brimlow {

class TBrimlowApplication final : public QApplication {
  Q_OBJECT
  Q_DISABLE_COPY_MOVE(TBrimlowApplication)

 public:
  TBrimlowApplication(int& argc, char** argv);

  // Delivers every event inside the error handler, so that a failure in any
  // handler that was not guarded on its own still ends in a message box.
  bool notify(QObject* receiver, QEvent* event) override;
};

// Loads the toolkit's own Russian texts (buttons and dialogs) into
// `translator` and installs it; false when they are not installed.
bool InstallToolkitTranslation(QApplication& application, QTranslator& translator);

// Shows the message of the exception in flight (call it from a catch block).
void HandleException(std::exception_ptr failure);

// How an error message reaches the user; tests replace the message box.
using TErrorPresenter = std::function<void(const QString& message)>;
// Installs a presenter and answers the previous one; an empty one restores
// the message box.
TErrorPresenter SetErrorPresenter(TErrorPresenter presenter);

// Runs an action of the user under the error handler.
template <typename Action>
void Guarded(Action&& action) {
  try {
    std::forward<Action>(action)();
  } catch (...) {
    HandleException(std::current_exception());
  }
}

}  // namespace brimlow
