#pragma once

// Counts the heap memory the program holds, and the most it held since the
// last Restart, by replacing the global allocation operators.  Include it in
// one source file of a test program only.

#include <malloc.h>

#include <atomic>
#include <cstdlib>
#include <new>

namespace brimlow::test {

inline std::size_t BlockSize(void* block) {
#ifdef _WIN32
  return ::_msize(block);
#else
  return ::malloc_usable_size(block);
#endif
}

class HeapMeter {
 public:
  // Makes the memory held now the starting point.
  static void Restart() { peak_ = held_ = 0; }
  // The most held beyond the starting point since Restart; memory freed that
  // was held before it counts as less.
  static long long Peak() { return peak_; }

  static void* Allocate(std::size_t size) {
    void* block = std::malloc(size == 0 ? 1 : size);
    if (block == nullptr) throw std::bad_alloc();
    Count(static_cast<long long>(BlockSize(block)));
    return block;
  }
  static void Free(void* block) noexcept {
    if (block == nullptr) return;
    Count(-static_cast<long long>(BlockSize(block)));
    std::free(block);
  }

 private:
  static void Count(long long bytes) {
    const long long now = held_ += bytes;
    long long peak = peak_;
    while (now > peak && !peak_.compare_exchange_weak(peak, now)) {
    }
  }
  inline static std::atomic<long long> held_{0};
  inline static std::atomic<long long> peak_{0};
};

}  // namespace brimlow::test

void* operator new(std::size_t size) {
  return brimlow::test::HeapMeter::Allocate(size);
}
void* operator new[](std::size_t size) {
  return brimlow::test::HeapMeter::Allocate(size);
}
void operator delete(void* block) noexcept {
  brimlow::test::HeapMeter::Free(block);
}
void operator delete[](void* block) noexcept {
  brimlow::test::HeapMeter::Free(block);
}
void operator delete(void* block, std::size_t) noexcept {
  brimlow::test::HeapMeter::Free(block);
}
void operator delete[](void* block, std::size_t) noexcept {
  brimlow::test::HeapMeter::Free(block);
}
