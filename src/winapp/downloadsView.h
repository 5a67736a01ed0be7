#pragma once

// A list view in owner-data mode showing one marked list (the opened list or
// the trash): the control asks for the text and images of the rows it paints
// and holds nothing itself, so 100,000 rows cost nothing to add.  The marks
// are the control's check boxes, their state asked of the list like the
// texts, so that screen readers read them; marked rows are painted sky blue
// through custom draw.

#include <windows.h>
// After the system header it needs.
#include <commctrl.h>

#include <functional>
#include <string>

#include "data/dateTime.h"
#include "workflow/downloadColumns.h"
#include "workflow/markedList.h"

namespace brimlow {

class TCategoryList;
struct Tdownload;

// What the name column shows: the file name part of FileName, or else the
// last part of URL, at most 1000 characters.
std::wstring DisplayName(const Tdownload& download);
// The date in the user's short date format, date only.
std::wstring DateText(TDateTime date);

class TDownloadsView final : public TMarkedListObserver {
 public:
  enum Column { ColumnName, ColumnState, ColumnSize, ColumnDate, ColumnCount };

  TDownloadsView(HWND parent, int id, TTreeKind kind);
  ~TDownloadsView() override;
  TDownloadsView(const TDownloadsView&) = delete;
  TDownloadsView& operator=(const TDownloadsView&) = delete;

  HWND Handle() const { return FHandle; }
  void SetList(TMarkedList* list);
  void SetCategories(const TCategoryList* categories);
  // Runs after the user changed a mark.
  void OnChecked(std::function<void()> handler) { FOnChecked = std::move(handler); }
  // Delete (with or without Shift) in the list.
  void OnDeleteKey(std::function<void()> handler) { FOnDeleteKey = std::move(handler); }

  // Handles a notification of the control or its header; true when handled,
  // with the result in `result`.
  bool Notify(const NMHDR& header, LRESULT& result);
  // Ticks or clears the row's mark as a click on its check box does.
  void ToggleMark(int row);

  // The cell's text as the control shows it.
  std::wstring CellText(int row, int column) const;
  int CellImage(int row, int column) const;
  int ColumnWidth(int column) const;
  int ColumnMinimum(int column) const;

  // The window moved to a screen of another resolution: the columns keep
  // their size in design units, and their minimums follow.
  void DpiChanged(int dpi);

  void BeforeReset() override {}
  void AfterReset() override { Refresh(); }
  void AfterInsert() override { Refresh(); }
  void AfterRemove() override;
  void MarksChanged(int first, int last) override;

 private:
  void Refresh();
  void FillItem(NMLVDISPINFOW& info) const;
  LRESULT CustomDraw(NMLVCUSTOMDRAW& draw) const;
  void Clicked(const NMITEMACTIVATE& click);
  void KeyDown(const NMLVKEYDOWN& key);
  bool RefuseWidth(const NMHEADERW& change) const;
  // Typing in the list goes to the first row from `find.iStart` on whose
  // name begins with the typed text; -1 when none does.
  int FindByName(const NMLVFINDITEMW& find) const;

  HWND FHandle;
  TTreeKind FKind;
  int FDpi;
  bool FRescaling = false;
  TMarkedList* FList = nullptr;
  const TCategoryList* FCategories = nullptr;
  std::function<void()> FOnChecked;
  std::function<void()> FOnDeleteKey;
};

}  // namespace brimlow
