#include "engine/VLMXGbl/Memo.h"

#include <algorithm>

#include "engine/VLMXGbl/ObjInfo.h"
#include "engine/VLMXGbl/PrintSettings.h"
#include "engine/VLMXGbl/RptStyles.h"
#include "engine/VLMXGbl0.h"
#include "engine/Vellumix/ReportSettings.h"
#include "framework/rtl/Exceptions.h"
#include "framework/rtl/SysUtils.h"

namespace {

// The memos of the body's top (title and header memos) and the report footer: they may run
// into the footer and are clipped or refused there. The footer block's memos never are.
bool IsBodyMemo(int Index) {
  return Index == RptTi || Index == RptHdr || Index == PgTi || Index == PgHdr || Index == RptFtr;
}

// A line width of the data band; the table holds -1 before its first computation.
int DataBandLineWidth(const TRptStyles& Styles, TLineKind Kind) {
  return std::max(0, Styles.LineWidths[bnData][Kind]);
}

// The setup error of a page too short for What, Short units more being needed.
eVlxSUError PageTooShort(const TvlxPrintSettings& PS, const std::string& What, const std::string& Advice, int Short) {
  const std::string Units = PS.UnitSet == usText ? Format("%d lines", {Short})
                                                 : Format("%f inches", {PS.PixToThousandths(Short, 1) / 1000.0});
  return eVlxSUError("*WARNING* " + What + " are too large for page size. \r\rDecrease size of " + Advice +
                     ".\rAnother " + Units + " required.");
}

}  // namespace

bool TvlxPrintSettings::PrintMemoRegion(int Index, bool Measure, bool AllowClip) {
  bool Result = Index != RptFtr || TotalRowCount() == 0;
  TvlxRptMemo* Memo = Settings().RptMemo(static_cast<unsigned>(Index));
  const bool Counts = Memo && Settings().MemoVisible(static_cast<unsigned>(Index), true);
  bool Refused = false;

  if (Counts) {
    Result = true;
    Styles().ApplyFont(false);
    unsigned Flags = DT_NOPREFIX;
    if (Measure) Flags |= DT_CALCRECT;
    if (Memo->Alignment == 1) Flags |= DT_RIGHT;
    else if (Memo->Alignment == 2) Flags |= DT_CENTER;

    // Text units count rows and columns from inclusive bounds, the first column being 1;
    // device units measure from exclusive right and bottom edges.
    const bool Text = UnitSet == usText;
    const int Inclusive = Text ? 1 : 0;
    const TRect& PageMargin = Text ? Settings().PageMarginTxt : Settings().PageMarginDev;
    const TRect& Spacing = Text ? Memo->MarginTxt : Memo->MarginDev;
    const int Usable = PageWidth - PageMargin.Left - PageMargin.Right;
    TRect R;
    R.Left = PageMargin.Left + MulDivRound(Memo->XPosPer, Usable, 100) + Inclusive;
    R.Top = CellRect.Bottom + Spacing.Top;
    R.Right = R.Left + Usable * Memo->WidPer / 100 - Inclusive;
    if (Measure) {
      R.Bottom = R.Top + 500 - Inclusive;
    } else {
      R.Bottom = R.Top + Memo->Height - Inclusive;
      const int Limit = BodyBottom - FooterReserve;
      if (IsBodyMemo(Index) && R.Bottom > Limit) {
        if (AllowClip) R.Bottom = Limit;
        else Refused = true;
      }
    }
    if (Refused) {
      Result = false;
    } else {
      if (Canvas) {
        Canvas->Brush().SetStyle(TBrushStyle::bsClear);
        Canvas->Brush().SetColor(clWhite);
      }
      TextRect = R;
      MaxRect = R;
      int Height;
      {
        DrawingMemo = true;
        struct TReset {
          bool& Flag;
          ~TReset() { Flag = false; }
        } Reset{DrawingMemo};
        Height = DrawMemoText(Memo->Text, static_cast<int>(Memo->Text.size()), false, Flags);
      }
      if (PageMode == pmPreview && !Text && ScrResY > 0) Height = MulDivRound(Height, PrtResY, ScrResY);
      if (Measure) Memo->Height = Height;
      else CellRect.Bottom = R.Top + Height + Spacing.Bottom;
    }
  }

  // The report end's position is what later pages test to know the report is finished. A page
  // before the range is laid out on its first page across alone, which stands for all of them.
  const bool LastPageAcross = CurPageAcross >= PagesAcross || PageMode == pmLayoutOnly;
  if (!Measure && !Refused && Adapter().EndOfRows && LastPageAcross) {
    if (Index == RptFtr && RptFtrPos.Y < 1) {
      RptFtrPos = CurPagePos();
      RptFtrPanel = CurPanel;
    } else if (Index == PgFtr && TotalsPage < 0) {
      TotalsPage = CurVertPage;
      PgFtrPanel = CurPanel;
    }
  }
  return Result;
}

int TvlxPrintSettings::GetMemoHeight(int Index, bool WithSpacing) const {
  if (Index < 0 || !Settings().MemoVisible(static_cast<unsigned>(Index), true)) return 0;
  const TvlxRptMemo& Memo = *Settings().RptMemo(static_cast<unsigned>(Index));
  if (!WithSpacing) return Memo.Height;
  const TRect& Spacing = UnitSet == usText ? Memo.MarginTxt : Memo.MarginDev;
  return Memo.Height + Spacing.Top + Spacing.Bottom;
}

int TvlxPrintSettings::CalcHeaderHeight(bool WithRules, bool FirstPage) const {
  const int TopMargin = UnitSet == usText ? Settings().PageMarginTxt.Top : Settings().PageMarginDev.Top;
  int Height = GetMemoHeight(PgTi, true) + TopMargin + GetMemoHeight(PgHdr, true);
  if (FirstPage) Height += GetMemoHeight(RptTi, true) + GetMemoHeight(RptHdr, true);
  if (WithRules)
    Height += std::max(DataBandLineWidth(Styles(), lkTopEdge), DataBandLineWidth(Styles(), lkRowRule));
  return Height;
}

int TvlxPrintSettings::CalcFooterHeight(bool WithTotals) {
  const int BottomMargin =
      UnitSet == usText ? Settings().PageMarginTxt.Bottom : Settings().PageMarginDev.Bottom;
  int Height = GetMemoHeight(PgNum, true) + BottomMargin + GetMemoHeight(PgFtr, true) +
               GetMemoHeight(Copyright, true);
  if (WithTotals)
    Height += std::max(DataBandLineWidth(Styles(), lkRowRule), DataBandLineWidth(Styles(), lkBottomEdge));
  FooterReserve = 0;
  return Height;
}

void TvlxPrintSettings::CheckMemosFitPage() {
  for (int Index = 0; Index < RptMemoCount; ++Index) PrintMemoRegion(Index, true, true);
  BodyBottom = PageHeight - CalcFooterHeight(true) - 1;
  // The body runs from the first unit below the header to the body bottom, both included.
  const int BodyTop = CalcHeaderHeight(Borders, CurVertPage < 2);
  const int Room = BodyBottom - BodyTop + 1 - 5 - FooterReserve;
  if (Room < 0) throw PageTooShort(*this, "Report Memos", "Titles & Memos or select a larger paper size", -Room);
  CheckRowFitsPage();
}

void TvlxPrintSettings::CheckRowFitsPage() const {
  // Below the first page's memos the column titles and one data row of one line, each cell with
  // both its margins and the rule above it: a page that cannot hold them holds no row at all,
  // and the run would go on adding pages of titles.
  const bool Text = UnitSet == usText;
  const TRect& Margin = Text ? Settings().CellMarginTxt : Settings().CellMarginDev;
  auto Width = [&](uint8_t Band, TLineKind Kind) { return std::max(0, Styles().LineWidths[Band][Kind]); };
  auto Line = [&](uint8_t Band) { return std::max(Styles().BandInfo[Band].LineHeight, Text ? 1 : 0); };
  int Top = CalcHeaderHeight(false, CurVertPage < 2);
  if (Adapter().KindInRange && Adapter().ColsList && Settings().ItemOpt(ioColumnTitles) && Adapter().FixedRows > 0) {
    Top += Adapter().FixedRows * (Line(bnTitles) + Margin.Top + Margin.Bottom) + (Borders ? Width(bnTitles, lkTopEdge) : 0);
    if (Borders && !ShareAdjBorders) ++Top;
  }
  const int Rule = Borders ? Width(bnData, lkTopEdge) : HorizontalLines ? Width(bnData, lkRowRule) : 0;
  const int Short = Top + Line(bnData) + Margin.Top + Margin.Bottom + Rule - 1 - (BodyBottom - FooterReserve);
  if (Short > 0) RaiseRowTooLarge(Short);
}

void TvlxPrintSettings::RaiseRowTooLarge(int Short) const {
  throw PageTooShort(*this, "Report Rows",
                     std::string("Cell Top Margin + Cell Bottom Margin, Titles & Memos or ") +
                         (UnitSet == usText ? "increase Lines Per Page" : "select a larger paper size"),
                     Short);
}

void TvlxPrintSettings::PrintReportTitleMemos() {
  PrintMemoRegion(RptTi, false, true);
  PrintMemoRegion(RptHdr, false, true);
}

void TvlxPrintSettings::MakeRunDateTexts() {
  const TDateTime When = Now();
  Settings().RunDateTime = When;
  RunDateText = FormatMemoDateTime(Settings().MemoDateFormatStr, "ddddd", When);
  RunTimeText = FormatMemoDateTime(Settings().MemoTimeFormatStr, "t", When);
}

std::string FormatMemoDateTime(const std::string& Fmt, const std::string& Default, TDateTime When) {
  try {
    return FormatDateTime(Fmt.empty() ? Default : Fmt, When);
  } catch (const EConvertError&) {
  }
  try {
    return FormatDateTime(Default, When);
  } catch (const EConvertError&) {
    return std::string();
  }
}
