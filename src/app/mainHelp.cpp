// TForm2: the help menu, the about dialog and the panes' widths.
#include <QResizeEvent>
#include <QSplitter>

#include "app/about.h"
#include "app/application.h"
#include "app/main.h"
#include "workflow/helpTargets.h"

namespace brimlow {

void TForm2::N10Click() {
  OpenHelp(TCommand::N10);
}

void TForm2::N11Click() {
  OpenHelp(TCommand::N11);
}

void TForm2::online1Click() {
  OpenHelp(TCommand::online1);
}

void TForm2::N13Click() {
  OpenHelp(TCommand::N13);
}

void TForm2::N14Click() {
  OpenHelp(TCommand::N14);
}

void TForm2::N16Click() {
  if (!FAbout) FAbout = new TaboutForm(this);
  FDialogRunner(*FAbout);
}

void TForm2::resizeEvent(QResizeEvent* event) {
  QMainWindow::resizeEvent(event);
  Guarded([this] { FormResize(); });
}

void TForm2::FormResize() {
  ApplyPaneWidths(WidthsAfterResize(frameGeometry().width()), TPaneAnchor::Both);
}

void TForm2::Splitter1Moved() {
  ApplyPaneWidths(WidthsAfterLeftSplitter(frameGeometry().width(), ui.Panel1->width()),
                  TPaneAnchor::Left);
}

void TForm2::Splitter2Moved() {
  ApplyPaneWidths(WidthsAfterRightSplitter(frameGeometry().width(), ui.Panel3->width()),
                  TPaneAnchor::Right);
}

void TForm2::ApplyPaneWidths(const TPaneWidths& asked, TPaneAnchor anchor) {
  // The middle pane takes no share of what the splitter hands out (its
  // stretch is 0): only these widths change it.  The room is the splitter's
  // less its two handles, a little less than the outer width W.
  QSplitter& panes = *ui.panes;
  const int room = panes.width() - panes.handleWidth() * 2;
  const std::array<int, 3> sizes = FitPanes(asked, anchor, room);
  panes.setSizes({sizes[0], sizes[1], sizes[2]});
}

}  // namespace brimlow
