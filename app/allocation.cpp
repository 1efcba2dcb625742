// The global allocation functions of the executable, over the C heap.
//
// The static runtime's own operator new throws std::bad_alloc, and linking it
// drags in the unwinder, the terminate handler with its demangler and the
// standard exception classes: more than half of the executable's code. The
// installer is built without exceptions, so nothing could catch the throw;
// ending the process is what the uncaught exception would have done.
#include <cstdlib>
#include <new>

namespace {

// A zero-size request still gets a block of its own.
void* TryAllocate(std::size_t size) noexcept { return std::malloc(size != 0 ? size : 1); }

void* Allocate(std::size_t size) {
  void* block = TryAllocate(size);
  if (block == nullptr) std::abort();
  return block;
}

}  // namespace

void* operator new(std::size_t size) { return Allocate(size); }
void* operator new[](std::size_t size) { return Allocate(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept { return TryAllocate(size); }
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept { return TryAllocate(size); }
void operator delete(void* block) noexcept { std::free(block); }
void operator delete[](void* block) noexcept { std::free(block); }
void operator delete(void* block, std::size_t) noexcept { std::free(block); }
void operator delete[](void* block, std::size_t) noexcept { std::free(block); }
