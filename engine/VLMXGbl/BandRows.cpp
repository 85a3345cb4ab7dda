// One row of a row band (column titles, data, totals) at the current line of the page being
// composed: its height, the fit above the footer reserve, the rule above it, and per printed
// column the region's font and brush, the cell's borders and its text.
#include <algorithm>

#include "engine/VLMXGbl/Memo.h"
#include "engine/VLMXGbl/ObjInfo.h"
#include "engine/VLMXGbl/PrintSettings.h"
#include "engine/VLMXGbl/RptStyles.h"
#include "engine/VLMXText.h"
#include "engine/Vellumix/ReportSettings.h"

namespace {

constexpr uint8_t TotalsRegion = 12;
constexpr int TextColumnKind = 1;   // string field
constexpr int MemoColumnKind = 16;  // memo field
const std::string BookmarkFailedText = "*ERROR* Unable to retrieve record. Record deleted?";

int Len(const std::string& S) { return static_cast<int>(S.size()); }

int BandLineWidth(const TRptStyles& Styles, uint8_t Band, TLineKind Kind) {
  return std::max(0, Styles.LineWidths[Band][Kind]);
}

const TRect& CellMargin(const TvlxPrintSettings& PS) {
  return PS.UnitSet == usText ? PS.Settings().CellMarginTxt : PS.Settings().CellMarginDev;
}

uint8_t RegionOf(uint8_t Zone, uint8_t Band) {
  return CnvtPlaneNdxsToRegNdx(Zone == plAll ? 2 : Zone, Band);
}

// Calls Visit(index, column) for the printed columns of the page across in print order: the
// leading fixed columns, then those of the page across up to the last column. The current
// column is left on the column where the walk stopped, where the next page across begins.
// EveryPageAcross walks the printed columns of all pages across.
template <class TVisit>
void ForEachRowColumn(TvlxPrintSettings& PS, TVisit Visit, bool EveryPageAcross = false) {
  if (!PS.Adapter().ColsList) return;
  const TColsList& Cols = *PS.Adapter().ColsList;
  const int Last = std::min(PS.LastCol, Cols.Count() - 1);
  for (int I = 0; I <= Last; ++I) {
    TColsListData* Col = Cols.Items(I);
    if (!Col || !Col->Printed) continue;
    const bool Fixed = EveryPageAcross || PS.IsRepeatedCol(I);
    if (!Fixed && Col->HorzPage > PS.CurPageAcross) {
      PS.CurCol = I;
      return;
    }
    if (!Fixed && Col->HorzPage < PS.CurPageAcross) continue;
    PS.CurCol = I;
    if (!Visit(I, *Col)) return;
  }
  PS.CurCol = Last + 1;
}

// Right end of the rightmost printed column of the page across.
int RowRightEdge(TvlxPrintSettings& PS) {
  const int Col = PS.CurCol;
  int Right = PS.RptLeftOffset;
  ForEachRowColumn(PS, [&](int, const TColsListData& C) {
    Right = std::max(Right, PS.RptLeftOffset + C.XPos + C.CellWidth - 1);
    return true;
  });
  PS.CurCol = Col;
  return Right;
}

// The column that carries a group heading's text: the group-break column of its level.
bool IsHeadingColumn(const TvlxPrintSettings& PS, const TColsListData& Col, bool FirstPrinted) {
  return Col.SourceColNdx == PS.GrpLevel || (FirstPrinted && PS.GrpLevel < 0);
}

}  // namespace

int TvlxPrintSettings::TotalRowCount() const {
  return Styles().IsRegionPresent(TotalsRegion) ? std::max(0, Adapter().TotalLines) : 0;
}

unsigned TvlxPrintSettings::GetCellAlignment(uint8_t Band, uint8_t Alignment) const {
  if (Band == bnTitles) Alignment = Settings().ColTitleAlignment;
  return Alignment == 1 ? DT_RIGHT : Alignment == 2 ? DT_CENTER : DT_LEFT;
}

void TvlxPrintSettings::BlankRect(const TRect& Rect) {
  if (UnitSet == usText || !Canvas) return;
  Canvas->FillRect(Rect.Left, Rect.Top, Rect.Right + 1, Rect.Bottom + 1);
}

void TvlxPrintSettings::CellCharPos(int Top, int Level, TRect& Rect) const {
  const int Outdent = Settings().GrpBrkOutdentChars;
  const int Levels = std::max(Settings().NumGrpBrkCols - 1, 0);
  const bool Panels = PanelsAcrossPage >= 2;
  const int Room = Panels ? PanelGap - 1 : RptLeftOffset - LeftMargin;
  const int Wanted = Outdent * Levels + 1;
  const int Start = Room >= Wanted ? RptLeftOffset - Wanted : RptLeftOffset - std::max(Room, 0);
  const int PanelWidth = Panels ? PanelStep - PanelGap : PageRptWidth;
  Rect.Left = Start + Outdent * std::max(Level, 0);
  Rect.Top = Top;
  Rect.Right = RptLeftOffset + PanelWidth;
  Rect.Bottom = Top + std::max(Settings().MaxGrpBrkLines, 1) - 1;
}

int TvlxPrintSettings::CalcBandRowHeight(uint8_t Band) {
  const bool Text = UnitSet == usText;
  const TRect& Margin = CellMargin(*this);
  if (Band == bnData && GrpHdrRow) {
    int Height = 0;
    const int Col = CurCol;
    bool First = true;
    ForEachRowColumn(*this, [&](int I, const TColsListData& C) {
      if (!IsHeadingColumn(*this, C, First)) {
        First = false;
        return true;
      }
      std::string Heading;
      Adapter().GetCellText(bnData, I, Heading, false, true);
      CellCharPos(CellRect.Bottom + 1, GrpLevel, TextRect);
      TextRect.Bottom = TextRect.Top + (Text ? 500 : 50000);
      Height = DrawMemoText(Heading, Len(Heading), false, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
      return false;
    });
    CurCol = Col;
    return std::max(Height, Text ? 1 : 0);
  }

  const int Base = std::max(Styles().BandInfo[Band].LineHeight, Text ? 1 : 0);
  if (Settings().MaxStringLines <= 1 && Band != bnTotals) return Base;

  // In device units the line limits become heights in the band's font.
  const int LineStep = Text ? 1 : std::max(Styles().BandInfo[Band].LineHeight, 1);
  const int StringLimit = std::max(Settings().MaxStringLines, 1) * LineStep;
  const int MemoLimit = std::max(Settings().MaxMemoLines, 1) * LineStep;
  const int Stop = std::max(StringLimit, MemoLimit);
  int StringHeight = Base, MemoHeight = Base;
  int Zone = -1;
  const int Col = CurCol;
  const TRect SavedText = TextRect;
  std::string CellText;
  const bool InPlace = Text && Band == bnData && Adapter().CanJudgeDataInPlace();
  // A data row of a wide report is as high on every page across as its tallest cell on any:
  // the later pages replay the height the first one recorded, and their rows stay level.
  ForEachRowColumn(*this, [&](int I, const TColsListData& C) {
    const bool Memo = Band == bnData && C.DataType == MemoColumnKind;
    const bool String = Band != bnData || C.DataType == TextColumnKind;
    const int Limit = Memo ? MemoLimit : StringLimit;
    if (!Memo && !String) return true;
    if (Limit <= LineStep && Band != bnTotals) return true;
    // Most cells are one short line: in characters that is known from the object's text alone,
    // without the full read and layout, which the print does anyway, and without the zone's
    // font, which the print puts on before it draws.
    const int Width = C.CellWidth - Margin.Left - Margin.Right - C.LeftLineWidth - C.RightLineWidth;
    int Lines = 1;
    if (InPlace && Adapter().IsOneLineDataCell(I, Width, CellText)) {
      if (I < static_cast<int>(OneLineCells.size())) OneLineCells[I] = 1;
    } else {
      if (C.Plane != Zone) {
        Zone = C.Plane;
        Styles().ApplyFont(false);
      }
      Adapter().GetCellText(Band, I, CellText, false, true);
      TextRect.Left = RptLeftOffset + C.XPos + Margin.Left + C.LeftLineWidth;
      TextRect.Right = RptLeftOffset + C.XPos + C.CellWidth - 1 - Margin.Right - C.RightLineWidth;
      TextRect.Top = 0;
      TextRect.Bottom = Limit;
      Lines = DrawMemoText(CellText, Len(CellText), false, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
    }
    const int Height = std::min(Lines, Limit);
    int& Class = Memo ? MemoHeight : StringHeight;
    Class = std::max(Class, Height);
    return Class < Stop;
  }, Band == bnData && PagesAcross > 1);
  TextRect = SavedText;
  CurCol = Col;
  return std::max(StringHeight, MemoHeight);
}

bool TvlxPrintSettings::PrintBandRow(uint8_t Band, int Height) {
  if (!Adapter().ColsList) return false;
  // Only this row's height check may vouch for its cells.
  OneLineCells.assign(Adapter().ColsList->Count(), 0);
  if (Height < 0) Height = CalcBandRowHeight(Band);
  const int Top = CellRect.Bottom + 1;
  const bool Text = UnitSet == usText;
  const TRect& Margin = CellMargin(*this);

  int Extra = 0;
  if (Text && Band == bnData) {
    Extra = Margin.Bottom > 0 ? Margin.Bottom : Margin.Top > 0 ? Margin.Top : 0;
    if (GrpHdrRow && Borders && !ShareAdjBorders) Extra += 2;
  }
  if (Band == bnData) RowsSinceRule = GrpHdrRow ? 0 : RowsSinceRule + 1;
  if (PrevRowGrpHdr && !GrpHdrRow) EdgePending = true;

  const int BreakCol = GrpBrkCol;
  int Rule = 0;
  const bool FirstOfBand = Band == bnData || Styles().BandInfo[Band].RowNdx <= 0;
  if (Borders && (EdgePending || Adapter().RuleEveryRow || (GrpHdrRow && !PrevRowGrpHdr))) {
    Rule = BandLineWidth(Styles(), Band, lkTopEdge);
  } else if (FirstOfBand) {
    // A replayed row keeps the break its first print found, whichever columns show here.
    if (Settings().NumGrpBrkCols > 0 && !(ReplayingRows && Band == bnData)) GrpBrkCol = FindGroupBreakColumn(Band);
    if (IsHorzLineRow()) Rule += BandLineWidth(Styles(), Band, lkRowRule);
    else if (IsGroupBreakRow(Band)) Rule += BandLineWidth(Styles(), Band, lkGrpBrkRule);
  }

  // The cell takes its lines, both margins and the rule above it, all above the body's bottom;
  // a row of text units keeps the line below it free as well unless both margins take room.
  const int Limit = BodyBottom - FooterReserve;
  const int Frame = Margin.Top + Margin.Bottom + Rule;
  if (Top + std::max(Height + Frame - 1, Height + Extra) > Limit) {
    // The first row below the titles fits no other page better: rather than moving on page
    // after page, it prints here, its text cut to the body (marked with the truncation symbol).
    const int Room = Limit - Top + 1 - Frame;
    if (!BodyTop || Band == bnTitles) {
      GrpBrkCol = BreakCol;
      return false;
    }
    const int OneLine = std::max(Styles().BandInfo[Band].LineHeight, Text ? 1 : 0);
    if (Room < OneLine) RaiseRowTooLarge(OneLine - Room);
    Height = std::min(Height, Room);
  }

  const int RowRight = BookmarkFailed ? RowRightEdge(*this) : 0;
  int Zone = -1;
  bool First = true;
  TRowEdgeChars RowEdges;
  ForEachRowColumn(*this, [&](int I, TColsListData& C) {
    if (C.Plane != Zone) {
      Zone = C.Plane;
      const uint8_t Region = RegionOf(C.Plane, Band);
      Styles().ApplyBrush(true, Region, Band, true);
      Styles().ApplyFont(false);
    }
    CellRect.Left = RptLeftOffset + C.XPos;
    CellRect.Right = BookmarkFailed ? RowRight : CellRect.Left + C.CellWidth - 1;
    CellRect.Top = Top;
    CellRect.Bottom = Top + Height - 1 + Margin.Top + Margin.Bottom + Rule;
    BlankRect(CellRect);

    DrawCellBorders(TRect{C.LeftLineWidth, Rule, C.RightLineWidth, 0}, CellRect, ColumnLineFlags(C),
                    TCellLineKinds{C.LeftLineKind, C.RightLineKind}, Band, RowEdges);

    TextRect.Left = CellRect.Left + Margin.Left + C.LeftLineWidth;
    TextRect.Right = CellRect.Right - Margin.Right - C.RightLineWidth;
    TextRect.Top = CellRect.Top + Margin.Top + Rule;
    TextRect.Bottom = CellRect.Bottom - Margin.Bottom;
    const bool Heading = Band == bnData && GrpHdrRow;
    if (Heading) {
      if (IsHeadingColumn(*this, C, First)) {
        CellCharPos(TextRect.Top, GrpLevel, TextRect);
        TextRect.Bottom = std::min(TextRect.Bottom, TextRect.Top + Height - 1);
        PrintCell(Band, C.DataType);
      }
    } else {
      PrintCell(Band, C.DataType);
    }
    First = false;
    return !BookmarkFailed;
  });

  PrevGrpBrkCol = GrpBrkCol;
  PageTop = false;
  if (Band == bnData) BodyTop = false;
  EdgePending = false;
  PrevRowGrpHdr = GrpHdrRow;
  return true;
}

void TvlxPrintSettings::PrintCell(uint8_t Band, uint8_t ColumnKind) {
  TColsListData* Col = Adapter().ColsList ? Adapter().ColsList->Items(CurCol) : nullptr;
  if (!Col) return;
  std::string Text;
  if (BookmarkFailed) {
    Text = BookmarkFailedText;
  } else {
    // The column titles above do not end the page's top for the data: a repeated group value
    // on the first data row of a page is marked, not left out.
    const bool RowsAbove = PageTop;
    if (Band == bnData) PageTop = BodyTop;
    Adapter().GetCellText(Band, CurCol, Text, Band == bnData && !ReplayingRows, true);
    PageTop = RowsAbove;
  }
  const TvlxFieldInfo& Field = *Adapter().FieldInfo;
  MaxRect = TextRect;

  const bool Heading = Band == bnData && GrpHdrRow;
  const bool NumericTotals = Band == bnTotals && HasNoLetters(Text);
  const bool Numeric = (Band == bnData && IsPrintableFieldType(ColumnKind)) || NumericTotals;
  int InsetLeft = 0, InsetRight = 0;
  if (Numeric && !Heading && !BookmarkFailed) {
    InsetLeft = std::max(0, std::min(Col->LeftOffset, TextRect.Right - TextRect.Left));
    TextRect.Left += InsetLeft;
    InsetRight = std::max(0, std::min(Col->RightOffset, TextRect.Right - TextRect.Left));
    TextRect.Right -= InsetRight;
  }

  // Text and memo columns wrap: only the page-top mark of a repeated value may widen them.
  const bool Wraps = ColumnKind == TextColumnKind || ColumnKind == MemoColumnKind;
  if (UnitSet == usText && (Band == bnData || Band == bnTotals) && !Heading && !BookmarkFailed && (!Wraps || Field.Repeated)) {
    const TRect& Margin = Settings().CellMarginTxt;
    auto Need = [&] { return Len(Text) - (TextRect.Right - TextRect.Left + 1); };
    auto Grow = [&](int& Edge, int Room, int Sign) {
      const int By = std::clamp(Need(), 0, std::max(Room, 0));
      Edge += Sign * By;
    };
    Grow(TextRect.Left, InsetLeft, -1);
    Grow(TextRect.Right, InsetRight, 1);
    Grow(TextRect.Left, Margin.Left, -1);
    Grow(TextRect.Right, Margin.Right, 1);
    if (Need() > 0 && !Wraps) Text.assign(std::max(0, TextRect.Right - TextRect.Left + 1), '*');
  }

  unsigned Flags;
  if (Heading) Flags = GetCellAlignment(Band, 0);
  else if (Band == bnTitles) Flags = GetCellAlignment(bnTitles, 0);
  else if (Band == bnTotals && !NumericTotals && !IsPrintableFieldType(ColumnKind) && !Col->Numeric) Flags = DT_LEFT;
  else if (Band == bnData && !Field.SuppressedText.empty()) Flags = DT_CENTER;
  else Flags = GetCellAlignment(Band, Col->Alignment);
  // The height check's one plain line stays one: trimming, a page-top mark, a repeated value's
  // text (vouched for too) or a row of "*" adds no break and no macro.
  const bool Plain = Band == bnData && CurCol < static_cast<int>(OneLineCells.size()) && OneLineCells[CurCol];
  DrawMemoText(Text, Len(Text), true, Flags | DT_NOPREFIX | DT_WORDBREAK, Plain);
}
