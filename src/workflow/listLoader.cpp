#include "workflow/listLoader.h"

#include <atomic>
#include <exception>
#include <thread>

namespace brimlow {

void TListLoader::Run(const std::function<void()>& load) const {
  std::exception_ptr failure;
  std::atomic<bool> done = false;
  std::thread reader([&] {
    try {
      load();
    } catch (...) {
      failure = std::current_exception();
    }
    done = true;
    // A wake before the pump waits is kept by the window's queue, so the
    // pump does not sleep through it.
    if (FWake) FWake();
  });
  try {
    while (!done)
      FPump();
  } catch (...) {
    // The reading uses what the caller holds: it must end before the
    // pump's failure leaves.
    reader.join();
    throw;
  }
  reader.join();
  if (failure) std::rethrow_exception(failure);
}

}  // namespace brimlow
