#include "engine/VLMXText.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>

#include "framework/rtl/SysUtils.h"

void PadJustify(const std::string& S, int Width, unsigned char Mode, std::string& Result) {
  switch (Mode) {
    case 0: Result = Format("%-*.*s", {Width, Width, S}); break;
    case 1: Result = Format("%*.*s", {Width, Width, S}); break;
    case 2: {
      const int W = (static_cast<int>(S.size()) + Width) / 2;
      const std::string Left = Format("%-*.*s", {W, W, S});
      Result = Format("%*.*s", {Width, Width, Left});
      break;
    }
    default: break;
  }
}

void PadRightTo(const std::string& S, int N, std::string& Result) {
  if (N <= 0) {
    Result.clear();
    return;
  }
  if (static_cast<int>(S.size()) >= N) {
    Result = S.substr(0, N);
    return;
  }
  Result = S;
  // In pieces, as each stays well inside the widths a format accepts.
  constexpr int Piece = 4095;
  while (static_cast<int>(Result.size()) < N) {
    const int Blanks = std::min(Piece, N - static_cast<int>(Result.size()));
    Result += Format("%*S", {Blanks, " "});
  }
}

bool HasNoLetters(const std::string& S) {
  if (Trim(S).empty()) return false;
  return std::none_of(S.begin(), S.end(), [](char C) {
    return (C >= 'A' && C <= 'Z') || (C >= 'a' && C <= 'z');
  });
}

bool IsPlainLine(const std::string& S) {
  // Every printed cell is tested: one table look-up per character, and no branch to mispredict.
  static constexpr auto Special = [] {
    std::array<bool, 256> Table{};
    Table['\r'] = Table['\n'] = Table['^'] = true;
    return Table;
  }();
  bool Found = false;
  for (const char C : S) Found |= Special[static_cast<unsigned char>(C)];
  return !Found;
}

void ElapsedTimeStr(TDateTime Span, std::string& Result) {
  // A day fraction carries the seconds with a binary error (3725 s comes back as
  // 3724.9999...): rounded to the clock's millisecond first, truncation cannot lose a second.
  // A span beyond any real run is capped so the whole units fit their integers.
  constexpr double MaxSeconds = 1e12;
  double Seconds = std::isfinite(Span) ? std::round(Span * 24 * 60 * 60 * 1000) / 1000 : 0.0;
  Seconds = std::clamp(Seconds, -MaxSeconds, MaxSeconds);
  const int64_t Hours = static_cast<int64_t>(Seconds / 3600);
  Seconds -= static_cast<double>(Hours) * 3600;
  const int64_t Minutes = static_cast<int64_t>(Seconds / 60);
  Seconds -= static_cast<double>(Minutes) * 60;
  const int64_t Whole = static_cast<int64_t>(Seconds);
  if (Hours >= 1)
    Result = Format("%d:%.2d:%.2d hours", {Hours, Minutes, Whole});
  else if (Minutes >= 1)
    Result = Format("%d:%.2d minutes", {Minutes, Whole});
  else
    Result = Format("%2f seconds", {Seconds});
}
