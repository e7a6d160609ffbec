// Large blocks on huge pages.
//
// Bulk samples (a trace's index and values in a request or a reply) run to
// hundreds of MiB. glibc maps each such block fresh, and touching it for
// the first time faults it in 4 KiB at a time: on a virtual machine some
// 25 us a fault, several times what moving the samples costs. A block of
// largeBlock bytes or more is therefore advised as worth huge pages before
// anyone touches it, and then faults in 2 MiB at a time.
//
// Linked with --wrap=_Znwm --wrap=_Znam (kelwell_large_blocks in
// idl/CMakeLists.txt), this stands in for operator new and new[] in the
// code of the library or executable it is linked into, and only there: the
// stubs' unmarshalling of sample sequences in every process, the service's
// own buffers in kelwelld. Whatever frees those blocks (operator delete,
// free) frees them as it would any other.
#include <sys/mman.h>

#include <cstddef>
#include <cstdint>

namespace {

constexpr std::size_t largeBlock = std::size_t{32} << 20;
constexpr std::uintptr_t hugePage = std::uintptr_t{2} << 20;

// Advises the whole huge pages inside [block, block + size). Only advice:
// where the kernel does not take it, the block faults in as before.
void* advisedHugePages(void* block, std::size_t size) {
  if (size < largeBlock) return block;
  const auto start = reinterpret_cast<std::uintptr_t>(block);
  const std::uintptr_t first = (start + hugePage - 1) & ~(hugePage - 1);
  const std::uintptr_t end = (start + size) & ~(hugePage - 1);
  if (end > first) madvise(reinterpret_cast<void*>(first), end - first, MADV_HUGEPAGE);
  return block;
}

} // namespace

// The C++ runtime's operator new and new[], as the linker names them.
extern "C" void* __real__Znwm(std::size_t size);
extern "C" void* __real__Znam(std::size_t size);

extern "C" __attribute__((visibility("hidden"))) void* __wrap__Znwm(std::size_t size) {
  return advisedHugePages(__real__Znwm(size), size);
}

extern "C" __attribute__((visibility("hidden"))) void* __wrap__Znam(std::size_t size) {
  return advisedHugePages(__real__Znam(size), size);
}
