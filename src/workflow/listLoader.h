#pragma once

// The reading of a list on a thread of its own while the window that asked
// keeps painting: a list of hundreds of thousands of downloads takes seconds.
// The window hands over two callables: a pump, run on its own thread, that
// handles its pending events (paint, not input) and then waits for more, and
// a wake, run on the reading thread when the reading has ended, that ends
// the pump's wait.  What the reading throws is thrown again on the window's
// thread, once the reading thread has ended.

#include <functional>

namespace brimlow {

class TListLoader {
 public:
  using TPump = std::function<void()>;
  using TWake = std::function<void()>;

  TListLoader(TPump pump, TWake wake) : FPump(std::move(pump)), FWake(std::move(wake)) {}

  // Runs `load` on a thread of its own and pumps until it has ended.
  void Run(const std::function<void()>& load) const;

 private:
  TPump FPump;
  TWake FWake;
};

}  // namespace brimlow
