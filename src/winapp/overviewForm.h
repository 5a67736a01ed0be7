#pragma once

// "Обзор списка": the list broken down four ways, one tab each, in a list
// view whose last column draws a bar in proportion to each row's size.
// Clicking a row hands its filter setting to the main window; the window
// stays open (closing it only hides it).

#include <windows.h>
// After the system header it needs.
#include <commctrl.h>

#include <functional>
#include <vector>

#include "workflow/overview.h"

namespace brimlow {

using TOverviewSource = std::function<TOverview(TOverviewAxis axis)>;
using TOverviewChoice = std::function<void(const TFilterInputs& inputs)>;

class TOverviewForm {
 public:
  TOverviewForm(HWND owner, TOverviewSource source, TOverviewChoice choose);
  ~TOverviewForm();
  TOverviewForm(const TOverviewForm&) = delete;
  TOverviewForm& operator=(const TOverviewForm&) = delete;

  HWND Handle() const { return FHandle; }
  HWND Tabs() const { return FTabs; }
  HWND Table() const { return FTable; }
  bool IsShown() const { return IsWindowVisible(FHandle) != FALSE; }

  void Show();
  // Computes the shown breakdown anew; the others when they are next shown.
  void Refresh();
  void ShowAxis(TOverviewAxis axis);
  TOverviewAxis ShownAxis() const;
  // Clicking row `row` of the shown breakdown.
  void ChooseRow(int row);

 private:
  template <typename Form>
  friend LRESULT CALLBACK FormWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  // True once the controls exist, so that messages reach Dispatch.
  bool Ready() const;
  LRESULT Dispatch(UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT Notify(const NMHDR& header);
  LRESULT CustomDraw(NMLVCUSTOMDRAW& draw) const;
  void Fill();
  void Layout();

  TOverviewSource FSource;
  TOverviewChoice FChoose;
  HWND FHandle = nullptr;
  HWND FTabs = nullptr;
  HWND FTable = nullptr;
  std::vector<TOverview> FShown;
  std::vector<bool> FCurrent;
};

}  // namespace brimlow
