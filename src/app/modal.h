#pragma once

// How the window shows a dialog modally.  Tests answer in the user's place.

#include <QDialog>
#include <functional>

namespace brimlow {

// Shows the dialog and answers whether the user accepted it.
using TModalRunner = std::function<bool(QDialog& dialog)>;

inline bool RunModal(QDialog& dialog) {
  return dialog.exec() == QDialog::Accepted;
}

}  // namespace brimlow
