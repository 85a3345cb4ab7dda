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
  if (Room >= 0) return;
  const std::string Short = UnitSet == usText
                                ? Format("%d lines", {-Room})
                                : Format("%f inches", {PixToThousandths(-Room, 1) / 1000.0});
  throw eVlxSUError(
      "*WARNING* Report Memos are too large for page size. \r\r"
      "Decrease size of Titles & Memos or select a larger paper size.\rAnother " +
      Short + " required.");
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
