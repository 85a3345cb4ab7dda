// What the fuzz targets check with: a failed check stops the run (libFuzzer keeps the input),
// and a text that differs from the expected one is shown beside it first.
#pragma once
#include <cstdio>
#include <cstdlib>
#include <string>

inline void Check(bool Condition) {
  if (!Condition) std::abort();
}

inline void CheckEqual(const std::string& Actual, const std::string& Expected) {
  if (Actual == Expected) return;
  auto Escaped = [](const std::string& S) {
    std::string R;
    for (const unsigned char C : S) {
      char Buf[8];
      std::snprintf(Buf, sizeof Buf, C >= 32 && C < 127 && C != '\\' ? "%c" : "\\x%02x", C);
      R += Buf;
    }
    return R;
  };
  std::fprintf(stderr, "got:      %s\nexpected: %s\n", Escaped(Actual).c_str(), Escaped(Expected).c_str());
  std::abort();
}
