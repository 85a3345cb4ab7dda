// Binary resources compiled into a headless program, found by type and name as the Windows
// build finds those of its resource script.
#pragma once
#include <cstddef>

struct TLinkedResource {
  const char* Type;
  const char* Name;
  const unsigned char* Data;
  std::size_t Size;
};

extern const TLinkedResource GLinkedResources[];
extern const int GLinkedResourceCount;
