#include "engine/VLMXCols.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "framework/rtl/SysUtils.h"

namespace {

constexpr long double MaxStart = -1.1E+4932L;
constexpr long double NoResult = -999.0L;

template <class T>
T* SlotAt(const std::vector<std::unique_ptr<T>>& Items, int Index) {
  if (Index < 0 || Index >= static_cast<int>(Items.size())) return nullptr;
  return Items[Index].get();
}

// Slot by slot, so that empty slots of Source empty the same slots here and entries beyond
// Source's end stay as they are.
template <class T>
void AssignSlots(std::vector<std::unique_ptr<T>>& Items,
                 const std::vector<std::unique_ptr<T>>& Source) {
  if (&Items == &Source) return;
  if (Items.size() < Source.size()) Items.resize(Source.size());
  for (size_t I = 0; I < Source.size(); ++I) {
    if (!Source[I]) {
      Items[I].reset();
      continue;
    }
    if (!Items[I]) Items[I] = std::make_unique<T>();
    Items[I]->Assign(*Source[I]);
  }
}

// A total in the general float format: fifteen significant digits, as for any number.
std::string GeneralText(long double Value) { return FloatToStrF(Value, ffGeneral, 15, 0); }

}  // namespace

// ---- TColTotListData -------------------------------------------------------------------------

void TColTotListData::Reset(bool Clear) {
  if (Clear) {
    Count = 0;
    Accum.fill(0.0L);
    if (Kind == tkMin) Accum[0] = std::numeric_limits<long double>::infinity();
    if (Kind == tkMax) Accum[0] = MaxStart;
  }
  Printed = false;
  PagePrinted = -1;
}

void TColTotListData::Assign(const TColTotListData& Source) {
  if (this != &Source) *this = Source;
}

void TColTotListData::AddValue(const TvlxFieldValue& Value) {
  if (Printed) return;
  ++Count;
  const long double V = Value.Value;
  switch (Kind) {
    case tkSum:
    case tkAverage: Accum[0] += V; break;
    case tkCount: Accum[0] += 1.0L; break;
    case tkMin: if (V < Accum[0]) Accum[0] = V; break;
    case tkMax: if (V > Accum[0]) Accum[0] = V; break;
    case tkStdDevSample:
    case tkVarianceSample:
    case tkStdDevPopulation:
    case tkVariancePopulation: {
      Accum[1] += V * V;
      Accum[2] += V;
      // Welford's update: the same result as sum of squares less square of sum over count
      // for exact values, without the cancellation that loses a large mean's small spread.
      const long double Delta = V - Accum[3];
      Accum[3] += Delta / Count;
      Accum[4] += Delta * (V - Accum[3]);
      break;
    }
    default: break;
  }
}

void TColTotListData::GetResult(long double& Value, bool& Ok) const {
  Value = NoResult;
  Ok = true;
  switch (Kind) {
    case tkNone: case tkText: case tkSum: case tkCount: case tkMin: case tkMax:
      Value = Accum[0];
      break;
    case tkAverage:
      Value = Count == 0 ? 0.0L : Accum[0] / Count;
      break;
    case tkStdDevSample: case tkVarianceSample:
    case tkStdDevPopulation: case tkVariancePopulation: {
      const int N = Kind == tkStdDevSample || Kind == tkVarianceSample ? Count - 1 : Count;
      if (N < 1) {
        Ok = false;
        return;
      }
      long double Variance = Accum[4] / N;
      if (Variance < 0.0L) Variance = 0.0L;  // rounding of an all-equal run
      Value = Kind == tkStdDevSample || Kind == tkStdDevPopulation ? std::sqrt(Variance)
                                                                   : Variance;
      break;
    }
    default:
      return;
  }
  // Infinite values that cancel (+INF and -INF summed, an infinite spread) have no total.
  if (std::isnan(Value)) {
    Value = NoResult;
    Ok = false;
  }
}

// ---- TColTotList -----------------------------------------------------------------------------

TColTotListData* TColTotList::Items(int Level) const { return SlotAt(FItems, Level); }

void TColTotList::Assign(const TColTotList& Source) { AssignSlots(FItems, Source.FItems); }

void TColTotList::EnsureLevel(int Level, bool Create, bool& Changed) {
  if (Level < 0) return;
  if (Create) {
    if (Level >= Count()) FItems.resize(Level + 1);
    if (!FItems[Level]) {
      FItems[Level] = std::make_unique<TColTotListData>();
      Changed = true;
    }
    return;
  }
  TColTotListData* Entry = Items(Level);
  if (!Entry) return;
  if (Level == 0) {
    Entry->Printed = true;
  } else {
    FItems[Level].reset();
    Changed = true;
  }
}

void TColTotList::SetKind(int Level, TotalKind Kind, bool& Changed) {
  bool Created = false;
  EnsureLevel(Level, Kind != tkNone, Created);
  if (TColTotListData* Entry = Items(Level)) {
    if (Entry->Kind != Kind) {
      Entry->Kind = Kind;
      Entry->KindChanged = true;
      Changed = true;
    }
    Entry->Reset(Created);
  }
  if (Created) Changed = true;
}

// ---- TColsListData ---------------------------------------------------------------------------

void TColsListData::Assign(const TColsListData& Source) {
  if (this == &Source) return;
  static_cast<TColsListFields&>(*this) = Source;
  // A copy that kept its own totals where Source has none would bring back totals the user
  // removed when a saved list is restored.
  if (!Source.TotList) {
    TotList.reset();
    return;
  }
  if (!TotList) TotList = std::make_unique<TColTotList>();
  TotList->Assign(*Source.TotList);
}

// ---- TColsList -------------------------------------------------------------------------------

int TColsList::Add(std::unique_ptr<TColsListData> Item) {
  FItems.push_back(std::move(Item));
  return Count() - 1;
}

void TColsList::Insert(int Index, std::unique_ptr<TColsListData> Item) {
  FItems.insert(FItems.begin() + std::clamp(Index, 0, Count()), std::move(Item));
}

void TColsList::Delete(int Index) {
  if (Index >= 0 && Index < Count()) FItems.erase(FItems.begin() + Index);
}

void TColsList::Move(int CurIndex, int NewIndex) {
  if (CurIndex < 0 || CurIndex >= Count() || NewIndex < 0 || NewIndex >= Count()) return;
  auto Item = std::move(FItems[CurIndex]);
  FItems.erase(FItems.begin() + CurIndex);
  FItems.insert(FItems.begin() + NewIndex, std::move(Item));
}

void TColsList::Assign(const TColsList* Source) {
  if (!Source || Source == this) return;
  CurLevel = Source->CurLevel;
  AssignSlots(FItems, Source->FItems);
}

int TColsList::IndexOfName(const std::string& Name) const {
  for (int I = 0; I < Count(); ++I)
    if (FItems[I] && AnsiSameText(FItems[I]->FieldName, Name)) return I;
  return -1;
}

void TColsList::GetTotalText(int Col, bool FieldFormat, std::string& S) const {
  const TColsListData* Column = Items(Col);
  const TColTotListData* Total =
      Column && Column->TotList ? Column->TotList->Items(CurLevel) : nullptr;
  if (!Total || Total->Kind == tkNone) {
    S.clear();
    return;
  }
  const std::string& Text = Column->TotalText;
  if (Total->Kind == tkText) {
    S = Text;
    return;
  }
  long double Value = 0.0L;
  bool Ok = false;
  Total->GetResult(Value, Ok);
  if (!Ok) {
    S = "n/a";
    return;
  }
  // With the field format on, a text without a "%" is a label before the value; with it off,
  // only the part before a "%" is, and a text without one is not shown at all.
  const size_t Percent = Text.find('%');
  if (Percent == std::string::npos) {
    S = (FieldFormat ? Text : std::string()) + GeneralText(Value);
    return;
  }
  if (FieldFormat) {
    // The format is typed by the user: one it cannot apply to a single number (a string or a
    // second argument asked for, a bad specifier) shows the label and the plain value instead
    // of ending the run.
    try {
      S = Format(Text, {Value});
      return;
    } catch (const EConvertError&) {
    }
  }
  S = Text.substr(0, Percent) + GeneralText(Value);
}

void TColsList::MarkPageTotals(int Page) {
  for (const auto& Column : FItems) {
    if (!Column || !Column->TotList || Column->HorzPage != Page) continue;
    if (TColTotListData* Entry = Column->TotList->Items(CurLevel < 0 ? 0 : CurLevel)) {
      Entry->PagePrinted = Page;
      Entry->Printed = true;
    }
  }
}

void TColsList::ResetTotals(bool Clear) {
  for (const auto& Column : FItems) {
    if (!Column) continue;
    Column->HasTotals = false;
    if (!Column->TotList) continue;
    for (int L = 0; L < Column->TotList->Count(); ++L) {
      TColTotListData* Entry = Column->TotList->Items(L);
      if (!Entry) continue;
      Entry->Reset(Clear);
      if (Entry->Kind != tkNone && Entry->Kind != tkCount) Column->HasTotals = true;
    }
  }
}

void TColsList::AddValue(int Col, const TvlxFieldValue& Value, int UpToLevel) {
  const TColsListData* Column = Items(Col);
  if (!Column || !Column->TotList || UpToLevel < 0) return;
  for (int L = 0; L <= UpToLevel && L < Column->TotList->Count(); ++L)
    if (TColTotListData* Entry = Column->TotList->Items(L)) Entry->AddValue(Value);
}

int TColsList::NextTotalsPage(int HorzPage, int PagesAcross) const {
  if (HorzPage > PagesAcross) return -1;
  for (const auto& Column : FItems)
    if (Column && Column->TotList && Column->HorzPage >= HorzPage) return Column->HorzPage;
  return -1;
}
