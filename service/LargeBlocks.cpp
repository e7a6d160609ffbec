// Large blocks on huge pages.
//
// The service's bulk buffers (a trace's samples arriving in a request, a
// reply being filled from the store) run to hundreds of MiB. glibc maps
// each such block fresh, and touching it for the first time faults it in
// 4 KiB at a time: on a virtual machine some 25 us a fault, several times
// what moving the samples costs. A block of largeBlock bytes or more is
// therefore advised as worth huge pages before anyone touches it, and then
// faults in 2 MiB at a time. Defined in the executable, this operator new
// serves the whole process, the ORB's unmarshalling included; the C++
// runtime's operator delete (free) releases what it returns.
#include <sys/mman.h>

#include <cstdint>
#include <cstdlib>
#include <new>

namespace {

constexpr std::size_t largeBlock = std::size_t{32} << 20;
constexpr std::uintptr_t hugePage = std::uintptr_t{2} << 20;

// Advises the whole huge pages inside [block, block + size). Only advice:
// where the kernel does not take it, the block simply faults in as before.
void adviseHugePages(void* block, std::size_t size) {
  const auto start = reinterpret_cast<std::uintptr_t>(block);
  const std::uintptr_t first = (start + hugePage - 1) & ~(hugePage - 1);
  const std::uintptr_t end = (start + size) & ~(hugePage - 1);
  if (end > first) madvise(reinterpret_cast<void*>(first), end - first, MADV_HUGEPAGE);
}

void* allocate(std::size_t size) {
  for (;;) {
    if (void* block = std::malloc(size != 0 ? size : 1)) {
      if (size >= largeBlock) adviseHugePages(block, size);
      return block;
    }
    const std::new_handler handler = std::get_new_handler();
    if (!handler) throw std::bad_alloc();
    handler();
  }
}

} // namespace

void* operator new(std::size_t size) { return allocate(size); }
void* operator new[](std::size_t size) { return allocate(size); }
