// A report run (settings, run state, styles, adapter), published to the windows' references,
// around one printed object on a headless window, and the walk that the page composer makes through the adapter.
#pragma once
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "engine/VLMXGbl/Run.h"
#include "engine/VLMXGbl/RunStart.h"
#include "engine/Vellumix/Vellumix.h"
#include "framework/ComCtrls.h"
#include "framework/DBGrids.h"
#include "framework/DBTables.h"
#include "framework/DecisionGrid.h"
#include "framework/Forms.h"
#include "framework/Grids.h"
#include "framework/StdCtrls.h"
#include "tests/engine/AdapterRun.h"
#include "tests/support/HeadlessFixture.h"

using V = AdapterRun::TRow;
using TRows = AdapterRun::TRows;

class AdapterTest : public HeadlessTest {
protected:
  void SetUp() override {
    HeadlessTest::SetUp();
    Vlx->SetName("vlx");
    Info->Component = Vlx.get();
  }
  void TearDown() override {
    Scope.reset();
    TheRun.reset();
    HeadlessTest::TearDown();
  }

  template <class T>
  T* Make(const std::string& Name) {
    auto* C = new T(&Form);
    C->SetName(Name);
    return C;
  }

  static std::string CellName(int C, int R) { return "c" + std::to_string(C) + "r" + std::to_string(R); }

  // A grid of Rows x Cols cells filled with Text(col, row); one fixed row and column.
  TStringGrid* MakeGrid(int Cols, int Rows, std::string (*Text)(int, int) = CellName) {
    auto* Grid = Make<TStringGrid>("grid");
    Grid->SetColCount(Cols);
    Grid->SetRowCount(Rows);
    for (int R = 0; R < Rows; ++R)
      for (int C = 0; C < Cols; ++C) Grid->SetCells(C, R, Text(C, R));
    return Grid;
  }

  // A grid holding Rows as they stand, Rows[0] the titles; no fixed column.
  TStringGrid* GridOf(const TRows& Rows) {
    auto* G = Make<TStringGrid>("grid" + std::to_string(++GridsMade));
    G->SetFixedCols(0);
    G->SetColCount(static_cast<int>(Rows[0].size()));
    G->SetRowCount(static_cast<int>(Rows.size()));
    for (int C = 0; C < G->ColCount(); ++C)
      for (int R = 0; R < G->RowCount(); ++R) G->SetCells(C, R, Rows[R][C]);
    return G;
  }

  template <class T>
  T* MakeList(const std::string& Name, const V& Lines) {
    auto* List = Make<T>(Name);
    for (const auto& S : Lines) {
      if constexpr (std::is_same_v<T, TListBox>) List->AddItem(S);
      else List->Items().Add()->SetCaption(S);
    }
    return List;
  }

  // A dataset of Name (string), Qty (integer), Paid (Boolean) with the given records.
  template <class T = TDataSet>
  T* MakeDataSet(const std::string& Name, const std::vector<std::vector<TFieldValue>>& Records) {
    auto* DS = Make<T>(Name);
    if constexpr (std::is_same_v<T, TTable>) DS->SetTableName("T");
    if constexpr (std::is_same_v<T, TQuery>) DS->SQL().Add("select * from T");
    DS->FieldDefs().Add("Name", ftString, 10);
    DS->FieldDefs().Add("Qty", ftInteger);
    DS->FieldDefs().Add("Paid", ftBoolean);
    DS->Open();
    for (const auto& R : Records) DS->AppendRecord(R);
    DS->First();
    return DS;
  }

  TDBGrid* MakeDBGrid(TDataSet* DS) {
    auto* Source = Make<TDataSource>("src");
    Source->SetDataSet(DS);
    auto* Grid = Make<TDBGrid>("dbg");
    Grid->SetDataSource(Source);
    return Grid;
  }

  void Setup(TComponent* Object) {
    Vlx->SetObjectToPrint(Object);
    Info->Setup();
  }

  // The start of a run up to its column list, or Whole with the styles, the output, the page
  // and the column scan, as the setup window makes it on the settings the test has set: a
  // window, and so an adapter, per run.
  void Start(TComponent* Object, bool Whole = false) {
    NewAdapter();
    AdapterRun::Start(*TheRun, *Vlx, Object, Whole);
  }
  void StartReport() { AdapterRun::StartReport(*TheRun); }

  // The texts of every printed column of every data row, as the page composer reads them.
  TRows Walk(bool Accumulate = false) { return AdapterRun::Walk(*Info, 0, Accumulate); }
  V RowTexts(int Level, bool Accumulate = false) { return AdapterRun::RowTexts(*Info, Level, 0, Accumulate); }

  // Column index in the list of the column named Name.
  int Col(const std::string& Name) const { return Info->ColsList->IndexOfName(Name); }
  TColsListData& Column(const std::string& Name) const { return *Info->ColsList->Items(Col(Name)); }

  std::string CellText(int Level, const std::string& Name, bool Accumulate = false, bool Real = true) {
    std::string Text;
    Info->GetCellText(Level, Col(Name), Text, Accumulate, Real);
    return Text;
  }

  // Gives the column named Name a report-level total of Kind.
  TColTotListData& SetTotal(const std::string& Name, TotalKind Kind) {
    auto& List = Column(Name).TotList;
    if (!List) List = std::make_unique<TColTotList>();
    bool Changed = false;
    List->SetKind(0, Kind, Changed);
    return *List->Items(0);
  }

  // The adapter of the last run goes, its object given back; a fresh one takes its place.
  void NewAdapter() { Info = &TheRun->RenewAdapter(); }

  TForm Form{nullptr};
  std::unique_ptr<TvlxVellumix> Vlx = std::make_unique<TvlxVellumix>(nullptr);
  std::unique_ptr<TvlxRun> TheRun = std::make_unique<TvlxRun>();
  std::optional<TvlxRunScope> Scope{std::in_place, *TheRun};
  TvlxReportSettings* Settings = &TheRun->Settings;
  TvlxPrintSettings* Run = &TheRun->State;
  TRptStyles* Styles = &TheRun->Styles;
  TObjInfo* Info = &TheRun->Adapter();
  int GridsMade = 0;
};
