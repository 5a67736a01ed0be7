#pragma once

// The content of the three panes of the main window.

class QWidget;

namespace brimlow {

struct TForm2Ui;

QWidget* BuildListPane(TForm2Ui& ui);    // Panel1: the list and the filter
QWidget* BuildMiddlePane(TForm2Ui& ui);  // Panel2: the transfer buttons, the statistics
QWidget* BuildTrashPane(TForm2Ui& ui);   // Panel3: the trash and its action

}  // namespace brimlow
