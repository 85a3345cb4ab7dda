#include "bench/HeapCount.h"

#include <malloc.h>

#include <cstdlib>
#include <new>

namespace Heap {
size_t Live = 0;
size_t Peak = 0;
}  // namespace Heap

void* operator new(size_t Size) {
  void* P = std::malloc(Size ? Size : 1);
  if (!P) throw std::bad_alloc();
  Heap::Live += malloc_usable_size(P);
  if (Heap::Live > Heap::Peak) Heap::Peak = Heap::Live;
  return P;
}

void operator delete(void* P) noexcept {
  if (!P) return;
  Heap::Live -= malloc_usable_size(P);
  std::free(P);
}

void operator delete(void* P, size_t) noexcept { operator delete(P); }

