// TForm2: while a list loads or the workflow waits for the host to end, the
// window shows the hourglass and keeps painting, but takes no input: clicks
// and keys wait in the queue.  A list is read on a thread of its own: one of
// hundreds of thousands of downloads takes seconds.
#include <exception>
#include <thread>

#include "winapp/main.h"
// After the main header, which brings the system header this one needs.
#include <commctrl.h>

#include "winapp/winText.h"

namespace brimlow {

namespace {

// Handles everything but input until `event` is set or `timeout` passes.
void WaitWithoutInput(HANDLE event, DWORD timeout) {
  const ULONGLONG deadline = GetTickCount64() + timeout;
  for (;;) {
    const ULONGLONG now = GetTickCount64();
    if (timeout != INFINITE && now >= deadline) return;
    const DWORD wait = timeout == INFINITE ? INFINITE : static_cast<DWORD>(deadline - now);
    const DWORD woken =
        MsgWaitForMultipleObjects(event ? 1 : 0, event ? &event : nullptr, FALSE, wait,
                                  QS_PAINT | QS_POSTMESSAGE | QS_SENDMESSAGE | QS_TIMER);
    if (event && woken == WAIT_OBJECT_0) return;
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0,
                        PM_REMOVE | PM_QS_PAINT | PM_QS_POSTMESSAGE | PM_QS_SENDMESSAGE)) {
      if (message.message == WM_QUIT) {
        PostQuitMessage(static_cast<int>(message.wParam));
        continue;
      }
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
  }
}

}  // namespace

void TForm2::WhileLoading(const std::function<void()>& load) {
  SetBusy(true, nullptr);
  SetWindowLongPtrW(ui.filterProgress, GWL_STYLE,
                    GetWindowLongPtrW(ui.filterProgress, GWL_STYLE) | PBS_MARQUEE);
  SendMessageW(ui.filterProgress, PBM_SETMARQUEE, TRUE, 0);
  ShowWindow(ui.filterProgress, SW_SHOW);

  std::exception_ptr failure;
  const HANDLE done = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  std::thread reader([&] {
    try {
      load();
    } catch (...) {
      failure = std::current_exception();
    }
    SetEvent(done);
  });
  WaitWithoutInput(done, INFINITE);
  reader.join();
  CloseHandle(done);

  SendMessageW(ui.filterProgress, PBM_SETMARQUEE, FALSE, 0);
  SetWindowLongPtrW(ui.filterProgress, GWL_STYLE,
                    GetWindowLongPtrW(ui.filterProgress, GWL_STYLE) & ~PBS_MARQUEE);
  ShowWindow(ui.filterProgress, SW_HIDE);
  SetBusy(false, nullptr);
  if (failure) std::rethrow_exception(failure);
}

void TForm2::HostWaitStarted() {
  SetBusy(true, Wide(HostWaitText()).c_str());
}

void TForm2::HostWaitPause(std::chrono::milliseconds pause) {
  WaitWithoutInput(nullptr, static_cast<DWORD>(pause.count()));
}

void TForm2::HostWaitEnded() {
  SetBusy(false, nullptr);
}

}  // namespace brimlow
