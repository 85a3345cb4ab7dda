#include <algorithm>
#include <cctype>
#include <vector>

#include "engine/VLMXGbl/Memo.h"
#include "engine/VLMXGbl/ObjInfo.h"
#include "engine/VLMXGbl/PrintSettings.h"
#include "engine/VLMXText.h"
#include "engine/Vellumix/ReportSettings.h"
#include "framework/StdCtrls.h"

namespace {

int Len(const std::string& S) { return static_cast<int>(S.size()); }

// A control character in a text (a tab, a form feed, an escape) would move the rest of its line
// on a viewer or a text printer, or set the printer going: it prints as the blank it was
// measured as. The line-draw characters never pass here.
char PrintedChar(char C) {
  const auto U = static_cast<unsigned char>(C);
  return U < ' ' || U == 0x7F ? ' ' : C;
}

// Characters that make up a word, which wrapping keeps whole: letters (of the ANSI code page
// too), digits and "/"; a "*" only as the very first character of the text.
bool IsWordChar(char C, bool FirstOfText) {
  const auto U = static_cast<unsigned char>(C);
  if ((U >= 'A' && U <= 'Z') || (U >= 'a' && U <= 'z') || (U >= '0' && U <= '9') || C == '/') return true;
  if (U >= 0xC0 && U != 0xD7 && U != 0xF7) return true;
  return C == '*' && FirstOfText;
}

TAlignment ToAlignment(uint8_t Code) {
  return Code == 1 ? TAlignment::taRightJustify : Code == 2 ? TAlignment::taCenter : TAlignment::taLeftJustify;
}

uint8_t FromAlignment(TAlignment Value) {
  return Value == TAlignment::taRightJustify ? 1 : Value == TAlignment::taCenter ? 2 : 0;
}

// An event's rectangle brought back inside the cell area it was handed.
void ClampInto(TRect& R, const TRect& Max) {
  R.Left = std::clamp(R.Left, Max.Left, std::max(Max.Left, Max.Right));
  R.Right = std::clamp(R.Right, Max.Left, std::max(Max.Left, Max.Right));
  R.Top = std::clamp(R.Top, Max.Top, std::max(Max.Top, Max.Bottom));
  if (R.Left > R.Right) R.Left = Max.Right;
  R.Bottom = std::min(R.Bottom, Max.Bottom);
}

// One layout of a text into the text rectangle of the run, line by line.
class TTextLayout {
public:
  TTextLayout(TvlxPrintSettings& PS, bool Measure, uint8_t AlignCode, bool Truncate, bool Plain)
      : FPS(PS), FMeasure(Measure), FAlignCode(AlignCode), FTruncate(Truncate), FPlain(Plain),
        FMacros(PS.DrawingMemo), FTop(PS.TextRect.Top), FWidth(PS.TextRect.Right - PS.TextRect.Left + 1),
        FHeight(PS.TextRect.Bottom - PS.TextRect.Top + 1) {}

  int Run(const std::string& Text);

private:
  TvlxPrintSettings& FPS;
  const bool FMeasure;
  const uint8_t FAlignCode;
  const bool FTruncate;
  const bool FPlain;  // the text is known to hold no break and no macro
  // The macros belong to the title memos: a cell's text prints as it stands, carets and all.
  const bool FMacros;
  const int FTop, FWidth, FHeight;
  const std::string* FText = nullptr;
  std::size_t FPos = 0;   // next character of the text
  std::string FBuf;       // the line being built
  int FWordStart = -1;    // where the open word begins in FBuf; -1 none
  bool FJustified = false;  // the line was laid into the full width for an aligned macro
  int FLines = 0;
  bool FFull = false;

  bool TextLeftAfter(std::size_t From) const;
  void AddMacro(std::string Value);
  void BreakOverlong();
  void EndLine();
  bool WriteLine(const std::string& Line, bool TextLeft);
};

bool TTextLayout::TextLeftAfter(std::size_t From) const {
  for (std::size_t I = From; I < FText->size(); ++I)
    if ((*FText)[I] != '\r' && (*FText)[I] != '\n') return true;
  return false;
}

int TTextLayout::Run(const std::string& Text) {
  if (FWidth < 1) return 0;
  // A text no wider than the area needs one line per line break, unless a macro may widen it.
  if (FMeasure && Len(Text) <= FWidth && (!FMacros || Text.find('^') == std::string::npos)) {
    return static_cast<int>(std::count(Text.begin(), Text.end(), '\r')) + 1;
  }
  if (FHeight < 1) return 0;
  // Most cells are one line that fits and holds no break or macro: it is written as it stands.
  const bool OneLine =
      FPlain || (FMacros ? IsPlainLine(Text) : Text.find_first_of("\r\n") == std::string::npos);
  if (!Text.empty() && Len(Text) <= FWidth && OneLine) {
    WriteLine(Text, false);
    return FLines;
  }
  FText = &Text;
  const std::size_t N = Text.size();
  while (FPos < N && !FFull) {
    const std::size_t At = FPos;
    char C = Text[FPos++];
    if (C == '\n') continue;
    if (C == '\r') {
      FWordStart = -1;
      EndLine();
      continue;
    }
    if (FMacros && C == '^' && FPos < N) {
      const char Letter = Text[FPos++];
      if (Letter == 'D' || Letter == 'T' || Letter == 'P') {
        FWordStart = -1;
        std::string Value;
        if (Letter == 'D') Value = FPS.RunDateText;
        else if (Letter == 'T') Value = FPS.RunTimeText;
        // Measured with the widest label of the report, so that no page's label is cut.
        else if (FMeasure) FPS.FormatWidestPageNo(Value);
        else FPS.FormatPageNo(Value);
        AddMacro(Value);
        BreakOverlong();
        continue;
      }
    }
    if (IsWordChar(C, At == 0)) {
      if (FWordStart < 0) FWordStart = Len(FBuf);
    } else {
      FWordStart = -1;
    }
    FBuf += C;
    BreakOverlong();
  }
  if (!FFull && !FBuf.empty()) WriteLine(FBuf, false);
  return FLines;
}

// A macro value, placed by the alignment letter that may follow it.
void TTextLayout::AddMacro(std::string Value) {
  const std::string& Text = *FText;
  if (FPos >= Text.size()) {
    FBuf += Value;
    return;
  }
  const char Letter = static_cast<char>(std::toupper(static_cast<unsigned char>(Text[FPos])));
  if (Letter != 'C' && Letter != 'L' && Letter != 'R') {
    FBuf += Value;
    return;
  }
  ++FPos;
  if (!FJustified) {
    std::string Laid = FBuf;
    PadJustify(FBuf, FWidth, FAlignCode, Laid);
    FBuf = Laid;
    FJustified = true;
  }
  const int W = FWidth;
  std::string Squeezed;
  if (Letter == 'L') {
    Value += ' ';
    const int Room = std::max(0, W - Len(Value));
    SqueezeSpaces(FBuf, W - Len(Value), 2, Squeezed, 0);
    FBuf = Value + Squeezed.substr(0, Room);
  } else if (Letter == 'R') {
    Value = ' ' + Value;
    const int Room = std::max(0, W - Len(Value));
    SqueezeSpaces(FBuf, W - Len(Value), 2, Squeezed, 1);
    FBuf = Squeezed.substr(0, Room) + Value;
  } else {
    Value = ' ' + Value + ' ';
    const int P = std::max(0, (W - Len(Value)) / 2);
    SqueezeSpaces(FBuf, W - Len(Value) / 2, 2, Squeezed, 0);
    SqueezeSpaces(Squeezed, W - Len(Value), 2, FBuf, 1);
    if (Len(FBuf) + Len(Value) > W) FBuf.erase(std::min<std::size_t>(P, FBuf.size()), Value.size());
    const std::string Head = FBuf.substr(0, std::min<std::size_t>(P, FBuf.size()));
    const std::string Tail = Len(FBuf) > P ? FBuf.substr(P, std::max(0, W - P)) : std::string();
    FBuf = Head + Value + Tail;
  }
}

// Writes lines while the line being built is wider than the area: at the open word when one
// began after the first column, else hard after the area's width. The blanks before a word
// that moves on stay at the end of the line, so that aligned lines keep their place; a blank
// that merely overflows a full line ends it and does not open the next one.
void TTextLayout::BreakOverlong() {
  while (!FFull && Len(FBuf) > FWidth) {
    std::string Line, Rest;
    if (FWordStart > 0) {
      Line = FBuf.substr(0, FWordStart);
      Rest = FBuf.substr(FWordStart);
      FWordStart = 0;
    } else {
      Line = FBuf.substr(0, FWidth);
      Rest = FBuf.substr(FWidth);
      if (FWordStart < 0 && Rest.find_first_not_of(' ') == std::string::npos) Rest.clear();
    }
    FBuf = Rest;
    FJustified = false;
    FFull = !WriteLine(Line, !FBuf.empty() || TextLeftAfter(FPos));
  }
}

void TTextLayout::EndLine() {
  const std::string Line = FBuf;
  FBuf.clear();
  FJustified = false;
  FFull = !WriteLine(Line, TextLeftAfter(FPos));
}

// False when the area is full after this line (or was already).
bool TTextLayout::WriteLine(const std::string& Line, bool TextLeft) {
  if (FLines >= FHeight) return false;
  TvlxFieldInfo* FieldInfo = FPS.Adapter().FieldInfo.get();
  const int Row = FTop + FLines;
  int Column = 0, Width = 0;
  const bool Drawn = !FMeasure && Row >= 0;
  if (Drawn) {
    TStringList& Lines = FPS.PageLines;
    while (Lines.Count() <= Row) FPS.AddPageLine();
    const std::string* Text = &Line;
    std::string Edited;  // the event's own copy of the line, which it may change
    bool AlignField = true;
    uint8_t Alignment = FAlignCode;
    // Every line starts from the cell's rectangle: the event's change holds for its line only.
    TRect Data = FPS.TextRect;
    if (!FPS.DrawingMemo && FPS.Adapter().OnFieldAlign) {
      Edited = Line;
      Text = &Edited;
      TAlignment Value = ToAlignment(Alignment);
      TObjInfo& Info = FPS.Adapter();
      Info.OnFieldAlign(Info.Component, Edited, AlignField, Value, Data, FPS.MaxRect, FieldInfo);
      ClampInto(Data, FPS.MaxRect);
      Alignment = FromAlignment(Value);
    }
    Column = std::max(1, Data.Left);
    Width = Data.Right - Data.Left + 1;
    PlaceTextInLine(Lines.EditStrings(Row), *Text, Column, Alignment, AlignField, Width);
  }
  const bool Uncounted = !FMeasure && !FPS.DrawingMemo && FieldInfo && FieldInfo->Repeated &&
                         FPS.EdgePending &&
                         FPS.Settings().CellMarginTxt.Left + FPS.Settings().CellMarginTxt.Right >= 1;
  if (!Uncounted) ++FLines;
  if (FLines < FHeight) return true;
  const std::string& Symbol = FPS.Settings().TextTruncSymbol;
  if (Drawn && TextLeft && FTruncate && !Symbol.empty() && Width > 0) {
    const int Shown = std::min(Len(Symbol), Width);
    FPS.PageLines.EditStrings(Row).replace(Column - 1 + Width - Shown, Shown, Symbol, 0, Shown);
  }
  return false;
}

// Lines of Text as the system's text drawing breaks them: at CR LF, CR or LF, and with
// DT_WORDBREAK also at the last blank that keeps a line inside Width.
std::vector<std::string> DeviceLines(TCanvas& Canvas, const std::string& Text, int Width, bool WordBreak) {
  std::vector<std::string> Lines;
  std::string Line;
  auto Finish = [&] {
    if (WordBreak) {
      while (Canvas.TextWidth(Line) > Width) {
        std::size_t Cut = Line.size();
        while (Cut > 0 && Cut != std::string::npos && Canvas.TextWidth(Line.substr(0, Cut)) > Width)
          Cut = Line.rfind(' ', Cut - 1);
        if (Cut == 0 || Cut == std::string::npos) break;  // one word wider than the area
        Lines.push_back(Line.substr(0, Cut));
        Line.erase(0, Cut + 1);
      }
    }
    Lines.push_back(Line);
    Line.clear();
  };
  for (std::size_t I = 0; I < Text.size(); ++I) {
    if (Text[I] == '\r' || Text[I] == '\n') {
      if (Text[I] == '\r' && I + 1 < Text.size() && Text[I + 1] == '\n') ++I;
      Finish();
    } else {
      Line += PrintedChar(Text[I]);
    }
  }
  if (!Line.empty()) Finish();
  return Lines;
}

// The device-unit side of DrawMemoText. Kept out of it: the text-unit report calls it for
// every cell, and should not pay for this part's frame.
[[gnu::noinline]] int DrawDeviceText(TvlxPrintSettings& PS, const std::string& Text, bool Measure,
                                     unsigned Flags) {
  TCanvas* Canvas = PS.Canvas;
  if (!Canvas) return 0;
  // Device units: the text as stored, with its line breaks; macros are a text-unit feature.
  const TRect R = PS.TextRect;
  const std::vector<std::string> Lines = DeviceLines(*Canvas, Text, R.Right - R.Left, (Flags & DT_WORDBREAK) != 0);
  int LineStep = Canvas->TextMetrics().tmHeight;
  if (LineStep <= 0) LineStep = Canvas->TextHeight("Wg");
  int Y = R.Top;
  for (const std::string& Line : Lines) {
    if (!Measure && Y + LineStep <= R.Bottom) {
      int X = R.Left;
      const uint8_t Alignment = AlignToCode(Flags);
      if (Alignment == 1) X = R.Right - Canvas->TextWidth(Line);
      else if (Alignment == 2) X = R.Left + (R.Right - R.Left - Canvas->TextWidth(Line)) / 2;
      Canvas->TextOut(X, Y, Line);
    }
    Y += LineStep;
  }
  return Y - R.Top;
}

}  // namespace

uint8_t AlignToCode(unsigned Flags) {
  if (Flags & DT_RIGHT) return 1;
  if (Flags & DT_CENTER) return 2;
  return 0;
}

void PlaceTextInLine(std::string& Line, const std::string& Text, int Column, uint8_t Alignment,
                     bool Erase, int Width) {
  if (Width < 1) return;
  Column = std::max(1, Column);
  const std::size_t FieldEnd = static_cast<std::size_t>(Column) + Width - 1;
  if (Line.size() < FieldEnd) Line.resize(FieldEnd, ' ');
  // The field lies inside the line now: its characters are overwritten, none moves.
  int Start = Column;
  if (Len(Text) < Width && Erase) {
    std::fill_n(Line.begin() + (Column - 1), Width, ' ');
    if (Alignment == 1) Start += Width - Len(Text);
    else if (Alignment == 2) Start += (Width - Len(Text)) / 2;
  }
  const std::size_t Count = std::min<std::size_t>({Text.size(), static_cast<std::size_t>(Width),
                                                   Line.size() - (Start - 1)});
  std::transform(Text.begin(), Text.begin() + static_cast<std::ptrdiff_t>(Count), Line.begin() + (Start - 1),
                 PrintedChar);
}

void SqueezeSpaces(const std::string& S, int MaxLength, int MinRun, std::string& R, int Direction) {
  MinRun = std::max(1, MinRun);
  if (Direction == 2) {
    const std::size_t Half = S.size() / 2;
    std::string Left, Right;
    SqueezeSpaces(S.substr(0, Half), MaxLength / 2, MinRun, Left, 0);
    SqueezeSpaces(S.substr(Half), MaxLength - MaxLength / 2, MinRun, Right, 1);
    R = Left + Right;
    return;
  }
  R = S;
  while (Len(R) > MaxLength) {
    // The blank to delete: the last of the first qualifying run (from the start), or the
    // first of the last one (from the end).
    std::size_t Found = std::string::npos;
    if (Direction == 0) {
      int Run = 0;
      for (std::size_t I = 0; I < R.size(); ++I) {
        Run = R[I] == ' ' ? Run + 1 : 0;
        if (Run >= MinRun) {
          Found = I;
          break;
        }
      }
    } else {
      int Run = 0;
      for (std::size_t I = R.size(); I-- > 0;) {
        Run = R[I] == ' ' ? Run + 1 : 0;
        if (Run >= MinRun) {
          Found = I;
          break;
        }
      }
    }
    if (Found == std::string::npos) return;
    R.erase(Found, 1);
  }
}

int TvlxPrintSettings::CountMemoLines(bool Measure, const std::string& Text, uint8_t AlignCode,
                                      bool Truncate, bool Plain) {
  return TTextLayout(*this, Measure, AlignCode, Truncate, Plain).Run(Text);
}

int TvlxPrintSettings::DrawMemoText(const std::string& Text, int Length, bool Truncate, unsigned Flags,
                                    bool Plain) {
  if (Length <= 0) return 0;
  // Callers mostly draw a whole text: only a shorter length costs a copy.
  if (static_cast<std::size_t>(Length) < Text.size())
    return DrawMemoText(Text.substr(0, static_cast<std::size_t>(Length)), Length, Truncate, Flags, Plain);
  const bool Measure = (Flags & DT_CALCRECT) != 0;
  if (UnitSet == usText) return CountMemoLines(Measure, Text, AlignToCode(Flags), Truncate, Plain);
  return DrawDeviceText(*this, Text, Measure, Flags);
}
