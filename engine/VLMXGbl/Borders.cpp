// The grid of text-style output drawn with line-draw characters into the page lines: which
// character of the set in use serves each edge, and where the run of characters goes.
#include "engine/VLMXGbl/Borders.h"

#include <algorithm>

#include "engine/VLMXGbl/ObjInfo.h"
#include "engine/VLMXGbl/PrintSettings.h"
#include "engine/VLMXGbl/RptStyles.h"
#include "engine/Vellumix/ReportSettings.h"
#include "framework/rtl/SysUtils.h"

namespace {

constexpr char Blank = ' ';

// Character i of row r of the line-draw set in use.
char LineChar(const TvlxReportSettings& S, int Row, int Pos) {
  const auto& Rows = S.LineDrawSet == 1 ? S.GridChrsIbm : S.GridChrsAscii;
  return Rows[Row][Pos];
}

// Calls Visit(index, column) for every printed column of the page across, in list order: the
// leading fixed columns first even when they belong to an earlier page across.
template <class TVisit>
void ForEachPageColumn(const TvlxPrintSettings& PS, TVisit Visit) {
  if (!PS.Adapter().ColsList) return;
  const TColsList& Cols = *PS.Adapter().ColsList;
  for (int I = 0; I < Cols.Count(); ++I) {
    const TColsListData* Col = Cols.Items(I);
    if (!Col || !Col->Printed) continue;
    if (Col->HorzPage > PS.CurPageAcross) break;
    if (Col->HorzPage < PS.CurPageAcross && !PS.IsRepeatedCol(I)) continue;
    Visit(I, *Col);
  }
}

// A vertical edge on page lines FirstRow..LastRow at column Col (from 1). A row's edges after
// its first find their line there already: the one character goes straight in.
void PutEdgeChars(TvlxPrintSettings& PS, char Start, char Fill, char End, int FirstRow, int LastRow, int Col) {
  if (FirstRow == LastRow && FirstRow >= 0 && FirstRow < PS.PageLines.Count() && Col >= 1) {
    std::string& Line = PS.PageLines.EditStrings(FirstRow);
    if (static_cast<int>(Line.size()) >= Col) {
      Line[Col - 1] = End != Blank ? End : Start;
      return;
    }
  }
  PS.PutLineChars(Start, Fill, End, FirstRow, LastRow, Col, Col);
}

// Start, Fill and End where the edge of kind Kind of Cell lies.
void PutFrameChars(TvlxPrintSettings& PS, TLineKind Kind, char Start, char Fill, char End, const TRect& Inset,
                   const TRect& Cell) {
  // The rule of a row lies on its first line; its vertical edges run below it.
  const int EdgeTop = Cell.Top + Inset.Top;
  switch (Kind) {
    case lkLeftEdge:
    case lkColSep:
      PutEdgeChars(PS, Start, Fill, End, EdgeTop, Cell.Bottom, Cell.Left);
      break;
    case lkRightEdge:
      PutEdgeChars(PS, Start, Fill, End, EdgeTop, Cell.Bottom, Cell.Right);
      break;
    case lkTopEdge:
    case lkRowRule:
    case lkBottomEdge:
      PS.PutLineChars(Start, Fill, End, Cell.Top, Cell.Top, Cell.Left, Cell.Right);
      break;
    default:
      break;
  }
}

void DrawRuleOn(TvlxPrintSettings& PS, uint8_t Band, TLineKind Kind, int Row) {
  TLineKind On = Kind;
  if (!PS.Styles().IsLineKindOn(Band, On, false)) return;
  ForEachPageColumn(PS, [&](int, const TColsListData& Col) {
    TRect Cell;
    Cell.Left = PS.RptLeftOffset + Col.XPos;
    Cell.Right = Cell.Left + Col.CellWidth - 1;
    Cell.Top = Cell.Bottom = Row;
    PS.DrawTextFrame(Band, lkBottomEdge, TRect{}, Cell, PS.ColumnLineFlags(Col));
  });
}

}  // namespace

std::string& TvlxPrintSettings::AddPageLine() {
  std::string& Line = PageLines.EditStrings(PageLines.Add(std::string()));
  if (!SpareLines.empty()) {
    Line.swap(SpareLines.back());
    SpareLines.pop_back();
    Line.clear();
  }
  return Line;
}

void TvlxPrintSettings::ClearPageLines() {
  // Taken from the last line down, so that the first line added takes the first line's storage.
  for (int I = PageLines.Count() - 1; I >= 0; --I) SpareLines.push_back(std::move(PageLines.EditStrings(I)));
  PageLines.Clear();
}

void TvlxPrintSettings::PutLineChars(char Start, char Fill, char End, int FirstRow, int LastRow,
                                     int FirstCol, int LastCol) {
  if (FirstRow < 0 || FirstCol < 1 || LastRow < FirstRow || LastCol < FirstCol) return;
  const int Width = std::max(0, std::min(RptLeftOffset + PageRptWidth, PageWidth));
  // Each new line is filled where it lies: a blank line handed to Add would be copied again.
  while (PageLines.Count() <= LastRow) AddPageLine().assign(Width, Blank);
  const char Last = End != Blank ? End : (LastCol > FirstCol ? Fill : Start);
  for (int Row = FirstRow; Row <= LastRow; ++Row) {
    std::string& Line = PageLines.EditStrings(Row);
    if (static_cast<int>(Line.size()) < LastCol) Line.resize(LastCol, Blank);
    Line[FirstCol - 1] = Start;
    if (LastCol - FirstCol > 1) Line.replace(FirstCol, LastCol - FirstCol - 1, LastCol - FirstCol - 1, Fill);
    Line[LastCol - 1] = Last;
  }
}

TLineFlags TvlxPrintSettings::ColumnLineFlags(const TColsListData& Col) const {
  TLineFlags Flags;
  Flags.EdgeStart = Borders && (Col.FirstOnPage || (Col.FirstOfZone && !ShareAdjBorders)) && Col.LeftLineWidth > 0;
  Flags.Joint = Col.FirstOfZone && Borders && ShareAdjBorders;
  Flags.EdgeEnd = Col.RightLineWidth > 0 && (Col.LastOnPage || (Col.LastOfZone && !ShareAdjBorders));
  Flags.FirstOnPage = Col.FirstOnPage;
  return Flags;
}

void TvlxPrintSettings::PickLineDrawChars(uint8_t Band, TLineKind Kind, const TLineFlags& Flags,
                                          char& Start, char& Fill, char& End) const {
  Start = Fill = End = Blank;
  const auto c = [&S = Settings()](int Row, int Pos) { return LineChar(S, Row, Pos); };
  const bool E = Flags.EdgeStart, Last = Flags.EdgeEnd, Joint = Flags.Joint;
  const bool Heading = GrpHdrRow, AfterHeading = PrevRowGrpHdr;
  if (Kind == lkRowRule && Heading != AfterHeading) Kind = lkTopEdge;
  switch (Kind) {
    case lkLeftEdge:
      if (!Borders || Heading) break;
      Start = E ? c(1, 0) : c(2, 2);
      Fill = End = c(1, 0);
      break;
    case lkColSep:
      Start = HorizontalLines ? c(1, 5) : Heading ? Blank : c(1, 2);
      End = Last && Borders ? c(1, 6) : Blank;
      break;
    case lkRightEdge:
      if (Borders && !Heading) Start = Fill = End = c(1, 6);
      break;
    case lkTopEdge: {
      if (!Borders) break;
      const bool TitleRows = Adapter().FixedRows > 0;
      const bool TitlesOn = Settings().ItemOpt(ioColumnTitles);
      if (E)
        Start = !Heading ? c(0, 0) : AfterHeading ? Blank : c(3, 0);
      else if (Heading && ShareAdjBorders)
        Start = VerticalLines ? c(3, 2) : c(0, 4);
      else if (!VerticalLines && !Joint)
        Start = c(0, 4);
      else if (Band == bnTitles || !TitleRows || (Band == bnData && !TitlesOn))
        Start = c(0, 5);
      else if (AfterHeading)
        Start = c(0, 2);
      else
        Start = ShareAdjBorders ? c(2, 5) : Heading ? c(0, 4) : c(0, 2);
      Fill = c(0, 1);
      End = !Last ? c(0, 1) : !Heading ? c(0, 6) : AfterHeading ? Blank : c(3, 6);
      break;
    }
    case lkRowRule: {
      const bool BreakLine = GrpBrkRow;
      if (E)
        Start = !Borders ? c(2, 4) : BreakLine && CurCol < GrpBrkCol ? c(1, 0) : c(2, 0);
      else if (!Flags.FirstOnPage && (VerticalLines || Joint) && !Heading)
        Start = BreakLine && CurCol == GrpBrkCol ? c(2, 0)
                : BreakLine && CurCol < GrpBrkCol ? (VerticalLines ? c(1, 2) : Blank)
                                                  : c(2, 5);
      else
        Start = Flags.FirstOnPage ? c(1, 7) : CurCol >= GrpBrkCol ? c(2, 4) : Blank;
      const bool OpenRule = !HorizontalLines && !(BreakLine && CurCol >= GrpBrkCol) &&
                            !(EdgePending && Borders) && GrpBrkCol >= 0;
      Fill = OpenRule ? c(2, 7) : c(2, 1);
      End = Last && Borders ? c(2, 6) : Blank;
      break;
    }
    case lkBottomEdge:
      if (!Borders) break;
      Start = E ? c(3, 0) : AfterHeading ? c(3, 4) : VerticalLines || Joint ? c(3, 5) : c(3, 4);
      Fill = c(3, 1);
      End = Last ? c(3, 6) : c(3, 1);
      break;
    default:
      break;
  }
}

void TvlxPrintSettings::DrawTextFrame(uint8_t Band, TLineKind Kind, const TRect& Inset,
                                      const TRect& Cell, const TLineFlags& Flags) {
  if (UnitSet != usText || !Styles().IsLineKindOn(Band, Kind, Flags.Joint)) return;
  char Start, Fill, End;
  PickLineDrawChars(Band, Kind, Flags, Start, Fill, End);
  PutFrameChars(*this, Kind, Start, Fill, End, Inset, Cell);
}

void TvlxPrintSettings::DrawCellBorders(const TRect& Inset, const TRect& Cell, const TLineFlags& Flags,
                                        const TCellLineKinds& Kinds, uint8_t Band, TRowEdgeChars& Row) {
  if (Row.RuleOn < 0) {
    GrpBrkRow = IsGroupBreakRow(Band);
    TLineKind Rule = lkRowRule;
    Row.RuleOn = UnitSet == usText && Styles().IsLineKindOn(Band, Rule, false);
  }
  if (UnitSet != usText) return;
  if (Row.RuleOn) DrawTextFrame(Band, lkRowRule, Inset, Cell, Flags);
  // The vertical edges depend on the row's flags and the cell's, never on its column.
  const auto DrawEdge = [&](TLineKind Kind, const TLineFlags& Edge) {
    if (Kind > lkRightEdge) return DrawTextFrame(Band, Kind, Inset, Cell, Edge);
    TRowEdgeChars::TEdge& Chars = Row.Edges[Kind][Edge.EdgeStart][Edge.EdgeEnd][Edge.Joint];
    if (Chars.On < 0) {
      TLineKind On = Kind;
      Chars.On = Styles().IsLineKindOn(Band, On, Edge.Joint);
      if (Chars.On) PickLineDrawChars(Band, Kind, Edge, Chars.Start, Chars.Fill, Chars.End);
    }
    if (Chars.On) PutFrameChars(*this, Kind, Chars.Start, Chars.Fill, Chars.End, Inset, Cell);
  };
  TLineFlags Edge = Flags;
  Edge.EdgeEnd = false;
  // A heading row runs across the whole page: only its first column has a left line.
  if (!GrpHdrRow || Flags.FirstOnPage) DrawEdge(Kinds.Left, Edge);
  Edge.EdgeStart = false;
  if (Kinds.Right == lkRightEdge) DrawEdge(lkRightEdge, Edge);
}

void TvlxPrintSettings::DrawBandRule(uint8_t Band, TLineKind Kind) { DrawRuleOn(*this, Band, Kind, CellRect.Bottom); }

void TvlxPrintSettings::DrawBandEndRule(uint8_t Band, int& Line) {
  // A box is open under the last row printed on the page: a data row's, or column titles that
  // share their bottom border with the rows (unshared, they closed their own box). An object
  // without a data row shows its titles closed all the same.
  const bool Open = Band == bnData ? !BodyTop || (!PageTop && ShareAdjBorders) : !PageTop;
  if (Borders && Adapter().KindInRange && Open) {
    // The box is closed whatever follows: totals that fit below with shared borders draw their
    // own top rule over this line, and totals that do not fit (a range's end on a full page)
    // leave the box closed, as a full print has it there.
    DrawRuleOn(*this, Band, lkBottomEdge, Line);
  }
  ++Line;
}

bool TvlxPrintSettings::IsHorzLineRow() const {
  if (Adapter().RuleEveryRow) return true;
  if (!HorizontalLines) return false;
  const int Freq = Settings().HorizLineFreq;
  return Freq > 0 && (RowsSinceRule - 1) % Freq == 0;
}

bool TvlxPrintSettings::IsGroupBreakRow(uint8_t Band) const {
  if (HorizontalLines || !GrpBrkLines || Settings().NumGrpBrkCols < 1 ||
      EdgePending || Band != bnData || GrpBrkCol < 0)
    return false;
  if (GrpBrkCol > Settings().AdjGrpBrkLines && GrpBrkCol >= PrevGrpBrkCol) return false;
  return GrpBrkCol <= Settings().NumGrpBrkCols;
}

int TvlxPrintSettings::FindGroupBreakColumn(uint8_t Band) const {
  if (!Adapter().ColsList) return -1;
  if (Settings().NumGrpBrkCols < 1 && !(Adapter().IsDecisionGrid() && GrpBrkLines)) return -1;
  const TColsList& Cols = *Adapter().ColsList;
  const std::string& SameValue = Settings().GrpBrkSameValue;
  // A data row's print reads every cell again: here its text is looked at in place where it can be.
  const bool InPlace = Band == bnData && Adapter().CanJudgeDataInPlace();
  std::string Text;
  for (int I = 0; I < Cols.Count(); ++I) {
    const TColsListData* Col = Cols.Items(I);
    if (!Col || !Col->Printed || AnsiSameText(Col->FieldName, LineNoColName)) continue;
    const std::optional<bool> Same = InPlace ? Adapter().IsDataCellText(I, SameValue) : std::nullopt;
    if (Same) {
      if (!*Same) return I;
      continue;
    }
    Adapter().GetCellText(Band, I, Text, false, true);
    TrimInPlace(Text);
    if (!AnsiSameText(Text, SameValue)) return I;
  }
  return -1;
}

void TvlxPrintSettings::CalcGroupSpans() {
  GroupSpans.fill(TGroupSpan{-1, 0});
  GroupSpans[0].Left = RptLeftOffset;
  int Span = 0;
  int Zone = -1;
  ForEachPageColumn(*this, [&](int, const TColsListData& Col) {
    if (Zone >= 0 && Col.Plane != Zone && Span + 1 < static_cast<int>(GroupSpans.size())) {
      const int Left = RptLeftOffset + Col.XPos;
      GroupSpans[Span].Width = Left - GroupSpans[Span].Left;
      GroupSpans[++Span].Left = Left;
    }
    Zone = Col.Plane;
  });
  const int PanelWidth = PanelsAcrossPage >= 2 ? PanelStep - PanelGap : PageRptWidth;
  GroupSpans[Span].Width = RptLeftOffset + PanelWidth - GroupSpans[Span].Left;
}
