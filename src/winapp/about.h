#pragma once

// The about dialog: the program's icon, name, version and rights notices.
// Created hidden with the main window and shown modally.

#include <windows.h>

namespace brimlow {

class TaboutForm {
 public:
  explicit TaboutForm(HWND owner);
  ~TaboutForm();
  TaboutForm(const TaboutForm&) = delete;
  TaboutForm& operator=(const TaboutForm&) = delete;

  HWND Handle() const { return FHandle; }
  HWND Button1 = nullptr;

 private:
  HWND FHandle;
};

}  // namespace brimlow
