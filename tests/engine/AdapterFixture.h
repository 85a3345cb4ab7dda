// A report run's globals (settings, run state, styles, adapter) around one printed object on a
// headless window, and the walk that the page composer makes through the adapter.
#pragma once
#include <memory>
#include <string>
#include <vector>

#include "engine/VLMXGbl/ObjInfo.h"
#include "engine/VLMXGbl/PrintSettings.h"
#include "engine/VLMXGbl/RptStyles.h"
#include "engine/Vellumix/ReportSettings.h"
#include "engine/Vellumix/Vellumix.h"
#include "framework/ComCtrls.h"
#include "framework/DBGrids.h"
#include "framework/DBTables.h"
#include "framework/DecisionGrid.h"
#include "framework/Forms.h"
#include "framework/Grids.h"
#include "framework/StdCtrls.h"
#include "tests/support/HeadlessFixture.h"

using TRows = std::vector<std::vector<std::string>>;

class AdapterTest : public HeadlessTest {
protected:
  void SetUp() override {
    HeadlessTest::SetUp();
    RptSettings = Settings.get();
    PrintSettings = Run.get();
    RptStyles = Styles.get();
    ObjInfo = Info.get();
    Vlx->SetName("vlx");
    Info->Component = Vlx.get();
  }
  void TearDown() override {
    Info.reset();
    ObjInfo = nullptr;
    RptStyles = nullptr;
    PrintSettings = nullptr;
    RptSettings = nullptr;
    HeadlessTest::TearDown();
  }

  template <class T>
  T* Make(const std::string& Name) {
    auto* C = new T(&Form);
    C->SetName(Name);
    return C;
  }

  // A grid of Rows x Cols cells filled with Text(col, row); one fixed row and column.
  TStringGrid* MakeGrid(int Cols, int Rows, std::string (*Text)(int, int)) {
    auto* Grid = Make<TStringGrid>("grid");
    Grid->SetColCount(Cols);
    Grid->SetRowCount(Rows);
    for (int R = 0; R < Rows; ++R)
      for (int C = 0; C < Cols; ++C) Grid->SetCells(C, R, Text(C, R));
    return Grid;
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

  // The start of a run, as the setup window makes it: a window, and so an adapter, per run.
  void Start(TComponent* Object) {
    Info = std::make_unique<TObjInfo>();
    ObjInfo = Info.get();
    Info->Component = Vlx.get();
    Vlx->SetObjectToPrint(Object);
    Info->Setup();
    Info->CountSelected();
    Run->SelectedRowsOnly = Settings->PrintWhat == pwSelectedRows && Info->SelRowCount > 0;
    Info->CalcUsedExtent();
    int Count = Info->ColCount;
    Info->BuildColList(Count, true);
    Info->CheckEmpty();
    StartReport();
  }

  // Counters as the report start sets them.
  void StartReport() {
    Info->ResetPrevValues();
    Info->SelRowNdx = 0;
    Run->RecordCounter = 0;
    for (auto& Band : Styles->BandInfo) Band = TBandInfo{};
  }

  // The texts of every printed column of every data row, as the page composer reads them.
  TRows Walk(bool Accumulate = false) {
    TRows Rows;
    if (!Info->First()) return Rows;
    while (!Info->EndOfRows) {
      Rows.push_back(RowTexts(2, Accumulate));
      Info->Next(2, false);
    }
    return Rows;
  }

  std::vector<std::string> RowTexts(int Level, bool Accumulate = false) {
    std::vector<std::string> Row;
    for (int C = 0; C < Info->ColsList->Count(); ++C) {
      if (!Info->ColsList->Items(C)->Printed) continue;
      std::string Text;
      Info->GetCellText(Level, C, Text, Accumulate, true);
      Row.push_back(Text);
    }
    return Row;
  }

  // Column index in the list of the column named Name.
  int Col(const std::string& Name) const { return Info->ColsList->IndexOfName(Name); }

  TForm Form{nullptr};
  std::unique_ptr<TvlxVellumix> Vlx = std::make_unique<TvlxVellumix>(nullptr);
  std::unique_ptr<TvlxReportSettings> Settings = std::make_unique<TvlxReportSettings>();
  std::unique_ptr<TvlxPrintSettings> Run = std::make_unique<TvlxPrintSettings>();
  std::unique_ptr<TRptStyles> Styles = std::make_unique<TRptStyles>();
  std::unique_ptr<TObjInfo> Info = std::make_unique<TObjInfo>();
};
