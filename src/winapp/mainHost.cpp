// TForm2: while a list loads or the workflow waits for the host to end, the
// window shows the hourglass and keeps painting, but takes no input: clicks
// and keys wait in the queue.
#include <exception>

#include "winapp/main.h"
// After the main header, which brings the system header this one needs.
#include <commctrl.h>

#include "winapp/winText.h"
#include "workflow/listLoader.h"

namespace brimlow {

namespace {

// Waits up to `timeout` for a message, then handles every pending one but
// input.
void PumpWithoutInput(DWORD timeout) {
  MsgWaitForMultipleObjects(0, nullptr, FALSE, timeout,
                            QS_PAINT | QS_POSTMESSAGE | QS_SENDMESSAGE | QS_TIMER);
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

void ShowMarquee(HWND progress, bool shown) {
  const LONG_PTR style = GetWindowLongPtrW(progress, GWL_STYLE);
  SetWindowLongPtrW(progress, GWL_STYLE, shown ? style | PBS_MARQUEE : style & ~PBS_MARQUEE);
  SendMessageW(progress, PBM_SETMARQUEE, shown, 0);
  ShowWindow(progress, shown ? SW_SHOW : SW_HIDE);
}

}  // namespace

void TForm2::WhileLoading(const std::function<void()>& load) {
  SetBusy(true, nullptr);
  ShowMarquee(ui.filterProgress, true);
  const DWORD windowThread = GetCurrentThreadId();
  // The marquee moves on timer messages; the wait wakes for them too.
  const TListLoader loader([] { PumpWithoutInput(INFINITE); },
                           [windowThread] { PostThreadMessageW(windowThread, WM_NULL, 0, 0); });
  std::exception_ptr failure;
  try {
    loader.Run(load);
  } catch (...) {
    failure = std::current_exception();
  }
  ShowMarquee(ui.filterProgress, false);
  SetBusy(false, nullptr);
  if (failure) std::rethrow_exception(failure);
}

void TForm2::HostWaitStarted() {
  SetBusy(true, Wide(HostWaitText()).c_str());
}

void TForm2::HostWaitPause(std::chrono::milliseconds pause) {
  const ULONGLONG deadline = GetTickCount64() + static_cast<ULONGLONG>(pause.count());
  for (ULONGLONG now = GetTickCount64(); now < deadline; now = GetTickCount64())
    PumpWithoutInput(static_cast<DWORD>(deadline - now));
}

void TForm2::HostWaitEnded() {
  SetBusy(false, nullptr);
}

}  // namespace brimlow
