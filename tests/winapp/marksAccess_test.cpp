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

// The state image index the control answers for a row: 1 clear, 2 ticked.
UINT StateImageOf(HWND list, int row) {
  LVITEMW item{};
  item.mask = LVIF_STATE;
  item.iItem = row;
  item.stateMask = LVIS_STATEIMAGEMASK;
  SendMessageW(list, LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item));
  return (item.state & LVIS_STATEIMAGEMASK) >> 12;
}

std::vector<UINT> StateImages(HWND list) {
  std::vector<UINT> images;
  const auto count = static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
  for (int row = 0; row < count; ++row)
    images.push_back(StateImageOf(list, row));
  return images;
}

// The state-change events of the marks received on this thread.
struct TStateEvent {
  HWND window;
  LONG object;
  LONG child;
  bool operator==(const TStateEvent&) const = default;
};
std::vector<TStateEvent> gEvents;

void CALLBACK Record(HWINEVENTHOOK, DWORD event, HWND window, LONG object, LONG child, DWORD,
                     DWORD) {
  if (event == EVENT_OBJECT_STATECHANGE) gEvents.push_back({window, object, child});
}

void Pump() {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
    DispatchMessageW(&message);
}

}  // namespace

TEST_F(WindowTest, EachRowsCheckBoxAnswersTheMarkOfItsList) {
  StartWith(FourDownloads());
  for (HWND list : {ui->treeLeft, ui->treeRight}) {
    const auto style = SendMessageW(list, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0);
    EXPECT_TRUE(style & LVS_EX_CHECKBOXES) << "the control's own check boxes";
  }
  EXPECT_EQ(StateImages(ui->treeLeft), (std::vector<UINT>{1, 1, 1, 1}));
  TickRows(ui->treeLeft, {1, 3});
  EXPECT_EQ(StateImages(ui->treeLeft), (std::vector<UINT>{1, 2, 1, 2}));
  // Moved into the trash the rows come unmarked; copied back they keep the
  // list's marks apart from the trash's.
  Click(ui->BitBtn1);
  EXPECT_EQ(StateImages(ui->treeLeft), (std::vector<UINT>{1, 1}));
  EXPECT_EQ(StateImages(ui->treeRight), (std::vector<UINT>{1, 1}));
  TickRows(ui->treeRight, {0});
  EXPECT_EQ(StateImages(ui->treeRight), (std::vector<UINT>{2, 1}));
  EXPECT_EQ(StateImages(ui->treeLeft), (std::vector<UINT>{1, 1}));
  // Marks the program sets (here: clearing them all) are answered at once.
  Click(ui->noSelectionButton);
  EXPECT_EQ(StateImages(ui->treeLeft), (std::vector<UINT>{1, 1}));
}

TEST_F(WindowTest, ScreenReadersAreToldOfEachChangedMarkOnView) {
  StartWith(FourDownloads());
  const HWINEVENTHOOK hook =
      SetWinEventHook(EVENT_OBJECT_STATECHANGE, EVENT_OBJECT_STATECHANGE, nullptr, Record,
                      GetCurrentProcessId(), 0, WINEVENT_OUTOFCONTEXT);
  ASSERT_NE(hook, nullptr);
  Pump();
  gEvents.clear();
  TickRows(ui->treeLeft, {2});
  Pump();
  UnhookWinEvent(hook);
  // Child i + 1 is row i.
  const TStateEvent row2{ui->treeLeft, OBJID_CLIENT, 3};
  EXPECT_NE(std::find(gEvents.begin(), gEvents.end(), row2), gEvents.end());
  for (const TStateEvent& event : gEvents)
    EXPECT_NE(event.child, 1) << "an unchanged row is not announced";
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
  if (rows) {
    for (int row = 0; row < 4; ++row) {
      ASSERT_EQ(stateOf(row + 1, state), S_OK) << row;
      ASSERT_EQ(state.vt, VT_I4);
      EXPECT_EQ((state.lVal & STATE_SYSTEM_CHECKED) != 0, row == 1) << row;
    }
  }
  access->Release();
  CoUninitialize();
  // Wine's accessibility layer has no object for a list view's rows: it
  // gives every window the generic client object, whose only children are
  // its child windows.
  if (!rows) GTEST_SKIP() << "this system gives the list view no accessible rows";
}

}  // namespace brimlow::test
