// The bytes live through operator new in a benchmark program, and their peak since it was last
// reset: every engine container and string allocates through it. Single-threaded.
#pragma once
#include <cstddef>

namespace Heap {
extern std::size_t Live;
extern std::size_t Peak;
}  // namespace Heap
