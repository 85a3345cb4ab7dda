// Colours, fonts and cursors as the controls hold them.
#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

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
// Size in points, derived from Height at the font's pixels per inch: the screen's 96, or the
// device's on a printer canvas.
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
  int PixelsPerInch() const { return FPixelsPerInch; }
  // Keeps the Size: Height is scaled to the new resolution.
  void SetPixelsPerInch(int Value);

  // From a font of another resolution the Size is taken, so a screen font prints as large.
  void Assign(const TFont& Source);
  bool operator==(const TFont& Other) const;

private:
  void Changed() { if (OnChange) OnChange(); }
  std::string FName = "MS Sans Serif";
  int FHeight = -11;
  TFontStyles FStyle = 0;
  TColor FColor = clWindowText;
  TFontPitch FPitch = TFontPitch::fpDefault;
  int FCharSet = 1;  // the default character set
  int FPixelsPerInch = 96;
};

// ---- Drawing surfaces ------------------------------------------------------------------------

struct TSize {
  int cx = 0, cy = 0;
  bool operator==(const TSize&) const = default;
};

// The metrics of a font on a device, in device pixels, named as the system names them.
struct TTextMetric {
  int tmHeight = 0, tmAscent = 0, tmDescent = 0, tmInternalLeading = 0, tmExternalLeading = 0,
      tmAveCharWidth = 0, tmMaxCharWidth = 0;
};

enum class TBrushStyle { bsSolid, bsClear };

class TBrush {
public:
  TColor Color() const { return FColor; }
  void SetColor(TColor Value) { FColor = Value; }
  TBrushStyle Style() const { return FStyle; }
  void SetStyle(TBrushStyle Value) { FStyle = Value; }

private:
  TColor FColor = clWhite;
  TBrushStyle FStyle = TBrushStyle::bsSolid;
};

class TPen {
public:
  TColor Color() const { return FColor; }
  void SetColor(TColor Value) { FColor = Value; }
  int Width() const { return FWidth; }
  void SetWidth(int Value) { FWidth = Value; }

private:
  TColor FColor = clBlack;
  int FWidth = 1;
};

// A picture in memory, as the system's device-independent bitmaps hold one: Width x Height
// pixels, rows from the top, each pixel 0x00RRGGBB (bytes blue, green, red, unused).
class TBitmap {
public:
  int Width() const { return FWidth; }
  int Height() const { return FHeight; }
  // Every pixel becomes Fill; a size below 0 counts as 0.
  void SetSize(int Width, int Height, std::uint32_t Fill = 0xFFFFFF);
  std::uint32_t* ScanLine(int Row) { return FPixels.data() + static_cast<std::size_t>(Row) * FWidth; }
  const std::uint32_t* Bits() const { return FPixels.data(); }

private:
  int FWidth = 0, FHeight = 0;
  std::vector<std::uint32_t> FPixels;
};

// What a canvas draws on and measures with: a printer's device (framework/Printers.h) or a
// recorder standing in for one. The canvas hands it the font and brush of each call.
class TCanvasDevice {
public:
  virtual ~TCanvasDevice() = default;
  virtual void TextOut(int X, int Y, const std::string& Text, const TFont& Font,
                       const TBrush& Brush) = 0;
  virtual TSize TextExtent(const std::string& Text, const TFont& Font) = 0;
  virtual TTextMetric TextMetrics(const TFont& Font) = 0;
  virtual int PixelsPerInch() const = 0;
  // Bitmap stretched onto the rectangle at X, Y of Width x Height device pixels. A device that
  // only measures text has no surface and draws nothing.
  virtual void StretchDraw(int /*X*/, int /*Y*/, int /*Width*/, int /*Height*/, const TBitmap& /*Bitmap*/) {}
  // Solid Brush over Left..Right x Top..Bottom, right and bottom excluded, no outline.
  virtual void FillRect(int /*Left*/, int /*Top*/, int /*Right*/, int /*Bottom*/, const TBrush& /*Brush*/) {}
};

// Text drawing with a current font, brush and pen. Without a device nothing is drawn and every
// measure is 0.
class TCanvas {
public:
  TFont& Font() { return FFont; }
  const TFont& Font() const { return FFont; }
  TBrush& Brush() { return FBrush; }
  TPen& Pen() { return FPen; }

  void TextOut(int X, int Y, const std::string& Text) {
    if (FDevice) FDevice->TextOut(X, Y, Text, FFont, FBrush);
  }
  TSize TextExtent(const std::string& Text) {
    return FDevice ? FDevice->TextExtent(Text, FFont) : TSize{};
  }
  void StretchDraw(int X, int Y, int Width, int Height, const TBitmap& Bitmap) {
    if (FDevice && Width > 0 && Height > 0 && Bitmap.Width() > 0 && Bitmap.Height() > 0)
      FDevice->StretchDraw(X, Y, Width, Height, Bitmap);
  }
  // The current brush over the rectangle; a clear brush paints nothing.
  void FillRect(int Left, int Top, int Right, int Bottom) {
    if (FDevice && FBrush.Style() != TBrushStyle::bsClear && Right > Left && Bottom > Top)
      FDevice->FillRect(Left, Top, Right, Bottom, FBrush);
  }
  int TextWidth(const std::string& Text) { return TextExtent(Text).cx; }
  int TextHeight(const std::string& Text) { return TextExtent(Text).cy; }
  // The current font's metrics on the device (the system's GetTextMetrics).
  TTextMetric TextMetrics() { return FDevice ? FDevice->TextMetrics(FFont) : TTextMetric{}; }

  // The owner of the device attaches it; the font takes the device's resolution.
  void SetDevice(TCanvasDevice* Device) {
    FDevice = Device;
    if (Device) FFont.SetPixelsPerInch(Device->PixelsPerInch());
  }

private:
  TCanvasDevice* FDevice = nullptr;
  TFont FFont;
  TBrush FBrush;
  TPen FPen;
};

using TCursor = int;
constexpr TCursor crDefault = 0;
constexpr TCursor crArrow = -2;
constexpr TCursor crIBeam = -4;
constexpr TCursor crHourGlass = -11;
constexpr TCursor crHandPoint = -21;
