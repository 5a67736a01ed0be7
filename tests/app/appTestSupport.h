#pragma once

// The application object the window's tests run under: one for the whole
// test program, on the off-screen platform unless another is asked for.

#include <QApplication>
#include <QByteArray>

#include "app/application.h"

namespace brimlow::test {

inline QApplication& App() {
  static int argc = 1;
  static char name[] = "brimlow_app_test";
  static char* argv[] = {name, nullptr};
  if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  // Never destroyed: at exit the toolkit's own globals may already be gone.
  static auto* application = new TBrimlowApplication(argc, argv);
  return *application;
}

// A first base of fixtures whose members are widgets: the application must
// exist before they do.
struct WithApplication {
  WithApplication() { App(); }
};

}  // namespace brimlow::test
