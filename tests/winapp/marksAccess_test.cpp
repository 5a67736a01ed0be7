// What a screen reader reads of the marks: each row's check box state as the
// list view answers it, the event that tells of a changed mark, and the
// list view's accessible object where the system gives one per row.
#include <oleacc.h>

#include "windowTestSupport.h"

namespace brimlow::test {

namespace {

std::vector<TListEntry> FourDownloads() {
  return {Entry("C:\\dl\\a.bin", 1024, 2, 5), Entry("C:\\dl\\b.bin", 2048, 4, 9),
          Entry("C:\\dl\\c.bin", 4096, 2, 5), Entry("C:\\dl\\d.bin", 8192, 3, 5)};
}

// The state-change events received on this thread, as (window, child).
std::vector<std::pair<HWND, LONG>> gEvents;

void CALLBACK Record(HWINEVENTHOOK, DWORD, HWND window, LONG object, LONG child, DWORD, DWORD) {
  if (object == OBJID_CLIENT) gEvents.emplace_back(window, child);
}

void Pump() {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
    DispatchMessageW(&message);
}

}  // namespace

TEST_F(WindowTest, EachListHasTheControlsCheckBoxesAndTellsOfChangedMarksOnView) {
  StartWith(FourDownloads());
  for (HWND list : {ui->treeLeft, ui->treeRight})
    EXPECT_TRUE(SendMessageW(list, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0) & LVS_EX_CHECKBOXES);
  const HWINEVENTHOOK hook =
      SetWinEventHook(EVENT_OBJECT_STATECHANGE, EVENT_OBJECT_STATECHANGE, nullptr, Record,
                      GetCurrentProcessId(), 0, WINEVENT_OUTOFCONTEXT);
  ASSERT_NE(hook, nullptr);
  Pump();
  gEvents.clear();
  TickRows(ui->treeLeft, {2});
  Pump();
  UnhookWinEvent(hook);
  EXPECT_TRUE(IsTicked(ui->treeLeft, 2));
  // Child i + 1 is row i.
  EXPECT_NE(std::find(gEvents.begin(), gEvents.end(), std::pair(ui->treeLeft, 3L)), gEvents.end());
  EXPECT_EQ(std::find(gEvents.begin(), gEvents.end(), std::pair(ui->treeLeft, 1L)), gEvents.end())
      << "an unchanged row is not announced";
}

TEST_F(WindowTest, AccessibleRowsReadAsCheckedWhereTheSystemGivesRows) {
  StartWith(FourDownloads());
  TickRows(ui->treeLeft, {1});
  ASSERT_EQ(CoInitialize(nullptr), S_OK);
  IAccessible* access = nullptr;
  ASSERT_EQ(AccessibleObjectFromWindow(ui->treeLeft, static_cast<DWORD>(OBJID_CLIENT),
                                       __uuidof(IAccessible), reinterpret_cast<void**>(&access)),
            S_OK);
  const auto stateOf = [&](LONG child, VARIANT& state) {
    VARIANT id;
    VariantInit(&id);
    id.vt = VT_I4;
    id.lVal = child;
    VariantInit(&state);
    return access->get_accState(id, &state);
  };
  VARIANT state;
  const bool rows = SUCCEEDED(stateOf(1, state));
  for (int row = 0; rows && row < 4; ++row) {
    ASSERT_EQ(stateOf(row + 1, state), S_OK) << row;
    EXPECT_EQ(state.vt == VT_I4 && (state.lVal & STATE_SYSTEM_CHECKED), row == 1) << row;
  }
  access->Release();
  CoUninitialize();
  // Wine's accessibility layer has no object for a list view's rows: it
  // gives every window the generic client object, whose only children are
  // its child windows.
  if (!rows) GTEST_SKIP() << "this system gives the list view no accessible rows";
}

}  // namespace brimlow::test
