#include "engine/VLMXGbl/PageNumbers.h"

#include <algorithm>

#include "engine/VLMXGbl/ObjInfo.h"
#include "engine/VLMXGbl/PrintSettings.h"
#include "engine/VLMXGbl/RunUI.h"
#include "engine/VLMXUtil.h"
#include "engine/Vellumix/ReportSettings.h"
#include "framework/Forms.h"
#include "framework/StdCtrls.h"
#include "framework/rtl/SysUtils.h"

namespace {

bool TextUnits() { return PrintSettings && PrintSettings->UnitSet == usText; }
bool SeveralPagesAcross() { return PrintSettings && PrintSettings->PagesAcross >= 2; }

void Warn(const std::string& Text) {
  RunUI().ShowMessage(Text, MsgBox::Ok | MsgBox::IconWarning);
}

// A hidden or disabled edit cannot take the focus; the message has been shown all the same.
void FocusIfPossible(TCustomEdit* Edit) {
  if (Edit && Edit->CanFocus()) Edit->SetFocus();
}

}  // namespace

int ComparePageNo(TPoint A, TPoint B) {
  if (A.Y != B.Y) return A.Y > B.Y ? 1 : -1;
  if (A.X != B.X) return A.X > B.X ? 1 : -1;
  return 0;
}

namespace {

// The label of page {Across, Vertical}: the page word, read as format text so that "%%" in it
// prints one "%"; a word that is not valid format text is printed as it stands rather than
// stopping the report.
std::string PageLabel(const std::string& PageWord, int PagesAcross, int Vertical, int Across) {
  std::string Word = PageWord;
  if (!Word.empty()) Word += ' ';
  try {
    return PagesAcross < 2 ? Format(Word + "%d", {Vertical}) : Format(Word + "%d-%d", {Vertical, Across});
  } catch (const EConvertError&) {
    std::string S = Word + IntToStr(Vertical);
    if (PagesAcross >= 2) S += '-' + IntToStr(Across);
    return S;
  }
}

}  // namespace

void TvlxPrintSettings::FormatPageNo(std::string& S) const {
  S = PageLabel(Settings().MemoPageFormatStr, PagesAcross, CurVertPage, CurPageAcross);
}

void TvlxPrintSettings::FormatWidestPageNo(std::string& S) const {
  // The pages down are not known before the report is laid out, and the memos' height decides
  // them. Every page carries a data or totals row, bar a last one for the report footer: the
  // report has no more pages down than that, and a number of as many digits is as wide as any
  // page number can be. The range printed plays no part: a range's pages are the full report's.
  const TObjInfo& Info = Adapter();
  const int Rows = std::max(Info.RowCount, 1) + std::max(Info.TotalLines, 0) + 1;
  S = PageLabel(Settings().MemoPageFormatStr, PagesAcross, Rows, std::max(PagesAcross, 1));
}

TPoint TvlxPrintSettings::PrintRangeLast() const {
  return {PrintRangeTo.X == 0 ? PagesAcross : PrintRangeTo.X, PrintRangeTo.Y};
}

int TPageGeometry::PixToThousandths(int Value, int Axis) const {
  const int Dpi = Axis == 0 ? DevResX : DevResY;
  return Dpi > 0 ? MulDivRound(1000, Value, Dpi) : 0;
}

void PageNoPart(const std::string& Text, bool Part, std::string& S) {
  const std::string Dashed = Text + '-';
  const std::size_t Dash = Dashed.find('-');
  S = Part ? Dashed.substr(0, Dash) : Dashed.substr(Dash + 1, Dashed.size() - Dash - 2);
}

int PageNoPartToInt(const std::string& Text, bool Part, bool& Error) {
  std::string S;
  PageNoPart(Text, Part, S);
  if (!Part && S.empty()) {
    Error = false;
    return 0;
  }
  return StrToIntChecked(S, Error);
}

bool IsValidPageNo(const std::string& Text) {
  bool PageError = false, AcrossError = false;
  // "3--2" would be taken as page across -2: a position no page has, which the settings would
  // refuse when they are next read.
  const int Page = PageNoPartToInt(Text, true, PageError);
  const int Across = PageNoPartToInt(Text, false, AcrossError);
  return !PageError && !AcrossError && Page >= 0 && Across >= 0;
}

void ParsePageNo(const std::string& Text, TPoint& Position) {
  bool Error = false;
  Position.X = PageNoPartToInt(Text, false, Error);
  Position.Y = PageNoPartToInt(Text, true, Error);
}

void PageNoError(TCustomEdit* Edit) {
  Beep(0);
  Warn(std::string("Page number is invalid\rExamples:\r4") + (SeveralPagesAcross() ? "\r1-3\r5-2" : ""));
  FocusIfPossible(Edit);
}

bool ValidatePageRangeEdits(bool Check, TCustomEdit* FromEdit, TCustomEdit* ToEdit) {
  if (!Check) return true;
  if (!IsValidPageNo(FromEdit->Text())) {
    PageNoError(FromEdit);
    return false;
  }
  if (!IsValidPageNo(ToEdit->Text())) {
    PageNoError(ToEdit);
    return false;
  }
  TPoint From, To;
  ParsePageNo(FromEdit->Text(), From);
  ParsePageNo(ToEdit->Text(), To);
  if (ComparePageNo(From, To) > 0) {
    Warn("\"From Page#\" must be less than or equal \"To Page#\"");
    FocusIfPossible(FromEdit);
    return false;
  }
  return true;
}

void UnitSuffix(bool Vertical, std::string& S) {
  if (TextUnits()) S = Vertical ? " Lines" : " Chars";
  else S = "\"";
}

void FmtSizeValue(int Value, int Axis, std::string& S) {
  if (TextUnits()) {
    S = IntToStr(Value);
    return;
  }
  const int Thousandths = PrintSettings ? PrintSettings->PixToThousandths(Value, Axis) : 0;
  S = Trim(Format("%7.2f", {Thousandths / 1000.0}));
}
