#include "engine/VLMXGbl/PrintSettings.h"

#include <cstdint>

TvlxPrintSettings* PrintSettings = nullptr;

int MulDiv(int Value, int Multiplier, int Divisor) {
  if (Divisor == 0) return -1;
  int64_t Product = static_cast<int64_t>(Value) * Multiplier;
  int64_t D = Divisor;
  if (D < 0) {
    Product = -Product;
    D = -D;
  }
  const int64_t R = Product >= 0 ? (Product + D / 2) / D : (Product - D / 2) / D;
  if (R > INT32_MAX || R < -INT32_MAX) return -1;
  return static_cast<int>(R);
}

int TvlxPrintSettings::ToUnits(int Value, bool TextUnits, bool AtLeastOne, int Axis) const {
  const bool Vertical = Axis == 1;
  if (TextUnits) {
    if (Value < 1) return 0;
    if (AtLeastOne) return 1;
    return MulDiv(Value, Vertical ? PrtResY : PrtResX, 1000 * (Vertical ? LineHeight : CharWidth));
  }
  const int R = MulDiv((Vertical ? DevResY : DevResX) * ZoomPercent, Value, 10000) / 10;
  return AtLeastOne && Value > 0 && R == 0 ? 1 : R;
}
