#include "framework/Graphics.h"

#include <cmath>

namespace {
const struct { const char* Name; TColor Color; } ColorNames[] = {
    {"clBlack", clBlack},         {"clMaroon", clMaroon},     {"clGreen", clGreen},
    {"clNavy", clNavy},           {"clPurple", clPurple},     {"clRed", clRed},
    {"clBlue", clBlue},           {"clYellow", clYellow},     {"clWhite", clWhite},
    {"clGray", clGray},           {"clSilver", clSilver},     {"clNone", clNone},
    {"clBtnFace", clBtnFace},     {"clWindow", clWindow},     {"clWindowText", clWindowText},
    {"clHighlight", clHighlight}, {"clHighlightText", clHighlightText},
    {"clBtnText", clBtnText},
};
}  // namespace

bool IdentToColor(const std::string& Ident, TColor& Color) {
  for (auto& c : ColorNames)
    if (Ident == c.Name) { Color = c.Color; return true; }
  return false;
}

void TBitmap::SetSize(int Width, int Height, std::uint32_t Fill) {
  FWidth = Width < 0 ? 0 : Width;
  FHeight = Height < 0 ? 0 : Height;
  FPixels.assign(static_cast<std::size_t>(FWidth) * FHeight, Fill);
}

void TFont::SetName(const std::string& Value) { if (FName != Value) { FName = Value; Changed(); } }
void TFont::SetHeight(int Value) { if (FHeight != Value) { FHeight = Value; Changed(); } }
void TFont::SetStyle(TFontStyles Value) { if (FStyle != Value) { FStyle = Value; Changed(); } }
void TFont::SetColor(TColor Value) { if (FColor != Value) { FColor = Value; Changed(); } }
void TFont::SetPitch(TFontPitch Value) { if (FPitch != Value) { FPitch = Value; Changed(); } }
void TFont::SetCharSet(int Value) { if (FCharSet != Value) { FCharSet = Value; Changed(); } }

int TFont::Size() const {
  return static_cast<int>(std::lround(-FHeight * 72.0 / FPixelsPerInch));
}

void TFont::SetSize(int Value) {
  SetHeight(-static_cast<int>(std::lround(Value * FPixelsPerInch / 72.0)));
}

void TFont::SetPixelsPerInch(int Value) {
  if (Value <= 0 || Value == FPixelsPerInch) return;
  const int Points = Size();
  FPixelsPerInch = Value;
  SetSize(Points);
}

void TFont::Assign(const TFont& Source) {
  if (*this == Source && FPixelsPerInch == Source.FPixelsPerInch) return;
  FName = Source.FName;
  FHeight = FPixelsPerInch == Source.FPixelsPerInch
                ? Source.FHeight
                : -static_cast<int>(std::lround(Source.Size() * FPixelsPerInch / 72.0));
  FStyle = Source.FStyle;
  FColor = Source.FColor;
  FPitch = Source.FPitch;
  FCharSet = Source.FCharSet;
  Changed();
}

bool TFont::operator==(const TFont& O) const {
  return FName == O.FName && FHeight == O.FHeight && FStyle == O.FStyle && FColor == O.FColor &&
         FPitch == O.FPitch && FCharSet == O.FCharSet;
}

