// The promise a fuzz target checks beyond not crashing: a broken one names its line on the
// standard error, then aborts so that the fuzzer keeps the input.
#pragma once
#include <cstdio>
#include <cstdlib>

inline void FuzzCheck(bool Condition, int Line) {
  if (Condition) return;
  std::fprintf(stderr, "check failed at line %d\n", Line);
  std::abort();
}
#define CHECK(Condition) FuzzCheck(Condition, __LINE__)
