#include "engine/VLMXGbl/RptStyles.h"

#include <algorithm>
#include <charconv>

#include "engine/VLMXGbl/ObjInfo.h"
#include "engine/VLMXGbl/PrintSettings.h"
#include "engine/VLMXGbl0.h"
#include "engine/VLMXUtil.h"
#include "engine/Vellumix/ReportSettings.h"

TRptStyles* RptStyles = nullptr;

namespace {

constexpr uint8_t FirstGridRegion = 5, LastGridRegion = 13;

bool IsVerticalKind(TLineKind Kind) { return Kind <= lkRightEdge; }
// Kinds drawn along y: their widths are heights.
bool IsHorizontalKind(TLineKind Kind) { return Kind >= lkTopEdge && Kind <= lkGrpBrkRule; }

TRegionMask RegionBit(uint8_t Region) { return TRegionMask{1} << Region; }

// The three grid regions of a band or of a zone (1..3).
TRegionMask PlaneMask(uint8_t Plane, bool ByBand) {
  TRegionMask Mask = 0;
  for (uint8_t Other = 1; Other <= 3; ++Other)
    Mask |= RegionBit(ByBand ? CnvtPlaneNdxsToRegNdx(Other, Plane) : CnvtPlaneNdxsToRegNdx(Plane, Other));
  return Mask;
}

const std::string ColNdxPlAllMsg =
    " in procedure [TRptStyles.CnvtColNdxToRegNdx]: \rColNdx = plAll and is invalid";
const std::string RegNdxCalcMsg =
    "In procedure [TRptStyles.CnvtColNdxToRegNdx]: \rRegNdx is incorrectly calculated";

}  // namespace

uint8_t CnvtPlaneNdxsToRegNdx(uint8_t Zone, uint8_t Band) {
  if (Zone == plAll || Band == plAll)
    throw eVlxIntError("[CnvtPlaneNdxsToRegNdx] **\rAttempted to convert PlaneNdx=plAll");
  return static_cast<uint8_t>((Band - 1) * 3 + 4 + Zone);
}

// ---------------------------------------------------------------------------------------------
// Style lists, fonts and fills

std::string TRptStyles::MakeStyleKey(uint8_t A, uint8_t B, int C) {
  // Written into one buffer: a fill is looked up for every printed row. Each number gets room
  // for its longest text, so no separator can land past the buffer.
  char Key[3 + 1 + 3 + 1 + 11];
  char* End = std::to_chars(Key, Key + 3, static_cast<unsigned>(A)).ptr;
  *End++ = ',';
  End = std::to_chars(End, End + 3, static_cast<unsigned>(B)).ptr;
  *End++ = ',';
  End = std::to_chars(End, End + 11, C).ptr;
  return std::string(Key, End);
}

void TRptStyles::ClearLists() {
  FontStyleList.Clear();
  LineStyleList.Clear();
  FillStyleList.Clear();
}

bool TRptStyles::CharacterOutput() const { return Settings().IsTextStyleOutput(); }

bool TRptStyles::LoadStyles(std::string& StyleName) {
  ClearLists();
  if (!CharacterOutput()) return false;
  StyleName.clear();
  return true;
}

bool TRptStyles::GetTextModeFont(std::string& Name, int& Size, TFontPitch& Pitch,
                                 TFontStyles& Style, TColor& Color) const {
  if (!CharacterOutput()) return false;
  Name = Settings().TextFontName;
  Size = Settings().TextFontSize;
  Pitch = TFontPitch::fpFixed;
  Style = IntToFontStyles(Settings().TextFontStyle);
  Color = Settings().TextFontColor;
  return true;
}

bool TRptStyles::ApplyFont(bool InvertOnBrush) const {
  if (!CharacterOutput()) return false;
  TCanvas* Canvas = State().Canvas;
  if (!Canvas) return true;
  // Only what differs is set: every change makes the device pick a font again. The settings
  // are compared where they are, as GetTextModeFont would give them: this runs a few times a
  // row, and a copy of the name is an allocation each time.
  const TvlxReportSettings& S = Settings();
  TFont& Font = Canvas->Font();
  if (Font.Pitch() != TFontPitch::fpFixed) Font.SetPitch(TFontPitch::fpFixed);
  if (Font.Size() != State().WorkFontSize) Font.SetSize(State().WorkFontSize);
  const TFontStyles Style = IntToFontStyles(S.TextFontStyle);
  if (Font.Style() != Style) Font.SetStyle(Style);
  if (Font.Name() != S.TextFontName) Font.SetName(S.TextFontName);
  if (Font.Color() != S.TextFontColor) Font.SetColor(S.TextFontColor);
  if (InvertOnBrush && Canvas->Brush().Color() == Font.Color()) Font.SetColor(Font.Color() ^ 0xFFFFFF);
  return true;
}

TBrush* TRptStyles::GetBrush(bool UseFill, uint8_t Region, uint8_t Plane, bool AllowFallback) const {
  if (!UseFill) return nullptr;
  if (TFillStyleEntry* Entry = FillStyleList.Find(MakeStyleKey(Region, 1, Plane))) {
    if (!Entry->FillOn) Entry->Brush.SetStyle(TBrushStyle::bsClear);
    return &Entry->Brush;
  }
  return AllowFallback && Plane != plAll ? GetBrush(true, Region, plAll, false) : nullptr;
}

void TRptStyles::ApplyBrush(bool UseFill, uint8_t Region, uint8_t Plane, bool AllowFallback) const {
  TCanvas* Canvas = State().Canvas;
  if (!Canvas) return;
  if (!UseFill) {
    Canvas->Brush().SetStyle(TBrushStyle::bsClear);
    return;
  }
  if (const TBrush* Brush = GetBrush(UseFill, Region, Plane, AllowFallback)) Canvas->Brush() = *Brush;
}

// ---------------------------------------------------------------------------------------------
// Lines

bool TRptStyles::IsLineKindOn(uint8_t Band, TLineKind& Kind, bool AsBorder) const {
  const TvlxPrintSettings& PS = State();
  if (Kind == lkRowRule && PS.EdgePending && PS.Borders && (!PS.ShareAdjBorders || PS.PageTop))
    Kind = lkTopEdge;
  switch (Kind) {
    case lkLeftEdge:
    case lkRightEdge:
    case lkTopEdge:
    case lkBottomEdge:
      return PS.Borders;
    case lkColSep:
      return PS.VerticalLines || (AsBorder && PS.Borders);
    case lkRowRule:
      if ((PS.GrpBrkRow || PS.IsHorzLineRow()) && Band == bnData && !PS.PageTop) return true;
      return PS.Borders && PS.ShareAdjBorders && PS.EdgePending && Band != bnTitles;
    case lkGrpBrkRule:
      return PS.GrpBrkRow && !PS.PageTop;
    default:
      return false;
  }
}

int TRptStyles::GetLineWidth(uint8_t Region, TLineKind Kind, bool& Found) const {
  Found = true;
  uint8_t Band = 0;
  if (!RegionToPlane(Region, true, Band) || !IsLineKindOn(Band, Kind, false)) return 0;
  if (CharacterOutput()) return 1;
  const TLineStyleEntry* Entry = LineStyleList.Find(MakeStyleKey(Region, 2, Kind));
  Found = Entry != nullptr;
  if (!Entry || !Entry->LineOn) return 0;
  return State().ToUnits(Entry->Width, State().UnitSet == usText, true,
                                IsHorizontalKind(Kind) ? 1 : 0);
}

TRegionMask TRptStyles::GetKindRegionMask(uint8_t Region, TLineKind Kind, uint8_t& Plane) {
  const bool ByBand = !IsVerticalKind(Kind);
  for (uint8_t P = 1; P <= 3; ++P) {
    const TRegionMask Mask = PlaneMask(P, ByBand);
    if (Region < RegionCount && (Mask & RegionBit(Region))) {
      Plane = P;
      return Mask;
    }
  }
  Plane = plAll;
  return Region < RegionCount ? RegionBit(Region) : 0;
}

void TRptStyles::FillLineWidths(int Value) {
  for (auto& Plane : LineWidths) Plane.fill(Value);
}

bool TRptStyles::RegionToPlane(uint8_t Region, bool ByBand, uint8_t& Plane) {
  if (Region < FirstGridRegion || Region > LastGridRegion) return false;
  const int Cell = Region - FirstGridRegion;
  Plane = static_cast<uint8_t>((ByBand ? Cell / 3 : Cell % 3) + 1);
  return true;
}

int TRptStyles::CalcMaxLineWidth(bool LineOn, uint8_t Region, uint8_t& Plane, TLineKind Kind) const {
  const TRegionMask Mask = GetKindRegionMask(Region, Kind, Plane);
  if (!LineOn) return 0;
  int Widest = 0;
  bool Found = false;
  for (uint8_t R = 0; R < RegionCount; ++R)
    if (Mask & RegionBit(R)) Widest = std::max(Widest, GetLineWidth(R, Kind, Found));
  return Widest;
}

void TRptStyles::CalcLineWidths() {
  FillLineWidths(0);
  TvlxPrintSettings& PS = State();
  // The widths are measured as if every rule could be drawn; the row being composed keeps its
  // own flags.
  struct TRowFlags {
    TvlxPrintSettings& PS;
    bool GrpBrkRow = PS.GrpBrkRow, EdgePending = PS.EdgePending, PageTop = PS.PageTop;
    ~TRowFlags() {
      PS.GrpBrkRow = GrpBrkRow;
      PS.EdgePending = EdgePending;
      PS.PageTop = PageTop;
    }
  } Saved{PS};
  PS.GrpBrkRow = true;
  PS.EdgePending = false;
  PS.PageTop = false;

  // The vertical kinds along the title band's regions (one per zone), the horizontal kinds
  // along the fixed zone's regions (one per band).
  for (const bool Vertical : {true, false}) {
    const TRegionMask Regions = PlaneMask(1, Vertical);
    for (uint8_t R = 0; R < RegionCount; ++R) {
      uint8_t Band = 0;
      if (!(Regions & RegionBit(R)) || !RegionToPlane(R, true, Band)) continue;
      for (TLineKind K = lkLeftEdge; K < lkNone; K = static_cast<TLineKind>(K + 1)) {
        if (IsVerticalKind(K) != Vertical) continue;
        const bool LineOn = (PS.Borders && (K == lkLeftEdge || K == lkRightEdge || K == lkTopEdge ||
                                            K == lkBottomEdge)) ||
                            (PS.VerticalLines && K == lkColSep) ||
                            (PS.HorizontalLines && K == lkRowRule && Band != bnTitles) ||
                            (K == lkGrpBrkRule && Band == bnData);
        uint8_t Plane = 0;
        const int Width = CalcMaxLineWidth(LineOn, R, Plane, K);
        LineWidths[Plane][K] = Width;
      }
    }
  }
}

// ---------------------------------------------------------------------------------------------
// Columns and regions

void TRptStyles::CnvtColNdxToRegNdx(int ColNdx, uint8_t Band, uint8_t& Region) const {
  if (Band == plAll) throw eVlxIntError(ColNdxPlAllMsg);
  if (Band > bnTotals) throw eVlxIntError(RegNdxCalcMsg);
  const int F = State().FixedColCount;
  const int N = Adapter().ColsList ? Adapter().ColsList->Count() : 0;
  const int T = Adapter().TrailingCols;
  uint8_t Zone = 3;
  if (ColNdx >= 0 && ColNdx <= F - 1) Zone = 1;
  else if (ColNdx >= F && ColNdx <= N - 1 - T) Zone = 2;
  Region = CnvtPlaneNdxsToRegNdx(Zone, Band);
}

void TRptStyles::GetZoneColumns(uint8_t Zone, int& First, int& Last) const {
  const int F = State().FixedColCount;
  const int N = Adapter().ColsList ? Adapter().ColsList->Count() : 0;
  const int T = Adapter().TrailingCols;
  switch (Zone) {
    case 1: First = 0; Last = F - 1; break;
    case 2: First = F; Last = N - 1 - T; break;
    case 3: First = N - T; Last = N - 1; break;
    default: break;
  }
}

void TRptStyles::GetColumnLineFlags(int ColNdx, bool FirstOnPanel, TLineKind& LeftKind,
                                    TLineKind& RightKind) const {
  const TColsListData* Col = Adapter().ColsList ? Adapter().ColsList->Items(ColNdx) : nullptr;
  const bool Borders = State().Borders;
  const bool Shared = State().ShareAdjBorders;
  LeftKind = FirstOnPanel || (Col && Col->FirstOfZone && Borders) ? lkLeftEdge : lkColSep;
  RightKind = Col && (Col->LastOnPage || (Col->LastOfZone && !Shared)) ? lkRightEdge : lkNone;
}

bool TRptStyles::IsRegionPresent(uint8_t Region) const {
  if (Region == 9) return true;
  if (Region == 0 || Region >= RegionCount) return false;
  if (Region < FirstGridRegion || Region > LastGridRegion)
    return Settings().MemoVisible(TvlxReportSettings::CnvTRegNdxToRptMemoNdx(Region), true);
  const bool Fixed = State().FixedColCount > 0;
  const bool Titles = Adapter().FixedRows > 0;
  const bool Trailing = Adapter().TrailingCols > 0;
  const bool Totals = Adapter().TotalLines > 0;
  const bool TotalsShown = Totals && (Settings().ItemOpt(ioColumnTotals) || State().PageMode == pmLayoutOnly);
  switch (Region) {
    case 5: return Fixed && Titles;
    case 6: return Titles && Settings().ItemOpt(ioColumnTitles);
    case 7: return Titles && Trailing;
    case 8: return Fixed;
    case 10: return Trailing;
    case 11: return Fixed && Totals && Settings().ItemOpt(ioColumnTotals);
    case 12: return TotalsShown;
    default: return TotalsShown && Trailing;  // 13
  }
}
