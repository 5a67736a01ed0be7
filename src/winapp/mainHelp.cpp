// TForm2: the help menu, the about dialog and the panes' widths.
#include "winapp/about.h"
#include "winapp/main.h"
#include "winapp/splitter.h"
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
  FDialogRunner(FAbout->Handle());
}

int TForm2::OuterWidth() const {
  RECT frame;
  GetWindowRect(FHandle, &frame);
  return frame.right - frame.left;
}

void TForm2::FormResize() {
  ApplyPaneWidths(WidthsAfterResize(OuterWidth()), TPaneAnchor::Both);
}

void TForm2::Splitter1Moved(int left) {
  ApplyPaneWidths(WidthsAfterLeftSplitter(OuterWidth(), left), TPaneAnchor::Left);
}

void TForm2::Splitter2Moved(int left) {
  RECT client;
  GetClientRect(FHandle, &client);
  const int right = client.right - left - Scaled(kSplitterWidth, DpiOf(FHandle));
  ApplyPaneWidths(WidthsAfterRightSplitter(OuterWidth(), right), TPaneAnchor::Right);
}

std::array<int, 3> TForm2::PaneWidths() const {
  return FPaneWidths;
}

void TForm2::ApplyPaneWidths(const TPaneWidths& asked, TPaneAnchor anchor) {
  // The room is the client area less the two splitters, a little less than
  // the outer width the rules speak of.
  RECT client;
  GetClientRect(FHandle, &client);
  const int room = client.right - 2 * Scaled(kSplitterWidth, DpiOf(FHandle));
  FPaneWidths = FitPanes(asked, anchor, room);
  LayoutPanes();
}

void TForm2::LayoutPanes() {
  RECT client;
  GetClientRect(FHandle, &client);
  RECT status{};
  if (IsWindowVisible(ui.statusBar)) GetWindowRect(ui.statusBar, &status);
  const int height = client.bottom - (status.bottom - status.top);
  const int dpi = DpiOf(FHandle);
  const int bar = Scaled(kSplitterWidth, dpi);
  const auto [left, middle, right] = FPaneWidths;
  MoveWindow(ui.Panel1, 0, 0, left, height, TRUE);
  MoveWindow(ui.Splitter1, left, 0, bar, height, TRUE);
  MoveWindow(ui.Panel2, left + bar, 0, middle, height, TRUE);
  MoveWindow(ui.Splitter2, left + bar + middle, 0, bar, height, TRUE);
  MoveWindow(ui.Panel3, left + 2 * bar + middle, 0, right, height, TRUE);
  LayoutListPane(ui, left, height, dpi);
  LayoutMiddlePane(ui, middle, height, dpi);
  LayoutTrashPane(ui, right, height, dpi);
  // The progress bar takes the status bar's right half.
  RECT statusClient;
  GetClientRect(ui.statusBar, &statusClient);
  MoveWindow(ui.filterProgress, statusClient.right / 2, 2, statusClient.right / 2 - 20,
             statusClient.bottom - 4, TRUE);
}

}  // namespace brimlow
