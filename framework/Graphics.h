// Colours, fonts and cursors as the controls hold them.
#pragma once
#include <cstdint>
#include <functional>
#include <string>

#include "framework/Classes.h"

// An RGB colour as 0x00BBGGRR, or a system colour as 0x800000nn (nn the system colour index).
using TColor = std::int32_t;

constexpr TColor clBlack = 0x000000;
constexpr TColor clMaroon = 0x000080;
constexpr TColor clGreen = 0x008000;
constexpr TColor clNavy = 0x800000;
constexpr TColor clPurple = 0x800080;
constexpr TColor clRed = 0x0000FF;
constexpr TColor clBlue = 0xFF0000;
constexpr TColor clYellow = 0x00FFFF;
constexpr TColor clWhite = 0xFFFFFF;
constexpr TColor clGray = 0x808080;
constexpr TColor clSilver = 0xC0C0C0;
constexpr TColor clNone = 0x1FFFFFFF;
constexpr TColor clScrollBar = static_cast<TColor>(0x80000000);
constexpr TColor clBtnFace = static_cast<TColor>(0x8000000F);
constexpr TColor clWindow = static_cast<TColor>(0x80000005);
constexpr TColor clWindowText = static_cast<TColor>(0x80000008);
constexpr TColor clHighlight = static_cast<TColor>(0x8000000D);
constexpr TColor clHighlightText = static_cast<TColor>(0x8000000E);
constexpr TColor clBtnText = static_cast<TColor>(0x80000012);

inline constexpr TColor RGB(int R, int G, int B) { return R | (G << 8) | (B << 16); }
inline constexpr bool IsSystemColor(TColor C) { return (static_cast<std::uint32_t>(C) & 0xFF000000u) == 0x80000000u; }

// A colour's name as layouts and settings write it ("clPurple"), or its number.
bool IdentToColor(const std::string& Ident, TColor& Color);

enum TFontStyle : unsigned { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };
using TFontStyles = unsigned;

enum class TFontPitch { fpDefault, fpVariable, fpFixed };

// A font description. Height in pixels (negative: character height, as the system takes it);
// Size in points, derived from Height at the screen's 96 pixels per inch.
class TFont {
public:
  std::function<void()> OnChange;

  const std::string& Name() const { return FName; }
  void SetName(const std::string& Value);
  int Height() const { return FHeight; }
  void SetHeight(int Value);
  int Size() const;
  void SetSize(int Value);
  TFontStyles Style() const { return FStyle; }
  void SetStyle(TFontStyles Value);
  TColor Color() const { return FColor; }
  void SetColor(TColor Value);
  TFontPitch Pitch() const { return FPitch; }
  void SetPitch(TFontPitch Value);
  int CharSet() const { return FCharSet; }
  void SetCharSet(int Value);

  void Assign(const TFont& Source);
  bool operator==(const TFont& Other) const;

  // Sets a layout property "Name", "Height", "Size", "Style", "Color", "Pitch" or "CharSet".
  bool SetProperty(const std::string& PropName, const TLayoutValue& Value);

private:
  void Changed() { if (OnChange) OnChange(); }
  std::string FName = "MS Sans Serif";
  int FHeight = -11;
  TFontStyles FStyle = 0;
  TColor FColor = clWindowText;
  TFontPitch FPitch = TFontPitch::fpDefault;
  int FCharSet = 1;  // the default character set
};

using TCursor = int;
constexpr TCursor crDefault = 0;
constexpr TCursor crArrow = -2;
constexpr TCursor crIBeam = -4;
constexpr TCursor crHourGlass = -11;
constexpr TCursor crHandPoint = -21;
