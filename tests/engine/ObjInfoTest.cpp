#include <functional>

#include "engine/VLMXGbl0.h"
#include "tests/engine/AdapterFixture.h"

// The kinds that the walk over every kind leaves out.
TEST_F(AdapterTest, ClassifiesEveryKindByItsMostDerivedClass) {
  auto* DBGrid = MakeDBGrid(MakeDataSet("ds", {{"a", 1, true}}));
  auto* OtherGrid = Make<TCustomDBGrid>("cdbg");
  OtherGrid->SetDataSource(DBGrid->DataSource());
  auto* IconView = Make<TListView>("lvi");
  IconView->Columns().Add();
  IconView->Columns().Add();
  auto* CubeSource = Make<TDecisionSource>("dsrc");
  CubeSource->SetDimensions({"Region", "City"}, {"Year"}, "Sales");
  CubeSource->AddValue({"N", "Oslo"}, {"2020"}, 5);
  auto* Cube = Make<TDecisionGrid>("dg");
  Cube->SetDecisionSource(CubeSource);
  const struct {
    TComponent* Object;
    TObjKind Kind;
    int Cols, FixedRows, FixedCols, Rows;
  } Cases[] = {
      {MakeDataSet<TQuery>("qry", {}), otQuery, 3, 1, 0, -1},
      {OtherGrid, otOtherDBGrid, 3, 1, 0, -1},
      {IconView, otListView, 1, 0, 0, 0},  // one column, no titles, whatever its columns
      {Cube, otDecisionGrid, Cube->ColCount() - 1, Cube->FixedRows(), 2, Cube->RowCount()},
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Object->Name());
    Setup(C.Object);
    EXPECT_EQ(Info->ObjType, C.Kind);
    EXPECT_EQ(Info->ColCount, C.Cols);
    EXPECT_EQ(Info->FixedRows, C.FixedRows);
    EXPECT_EQ(Info->FixedCols, C.FixedCols);
    EXPECT_EQ(Info->RowCount, C.Rows);
  }
  // The cross-tab's heading columns are the report's group-break columns.
  EXPECT_EQ(Settings->NumGrpBrkCols, 2);
  EXPECT_EQ(Info->Origin, (TPoint{-2, -Cube->FixedRows()}));
  EXPECT_EQ(Info->CurCell, (TPoint{0, 0}));
}

TEST_F(AdapterTest, SetupErrorsNameTheObjectAndTheCause) {
  EXPECT_THROW_MSG(Info->Setup(), eVlxSUError, "Vellumix! Setup Error: ObjectToPrint not assigned in Object Inspector");
  auto* Grid = Make<TDBGrid>("dbg");
  Vlx->SetObjectToPrint(Grid);
  EXPECT_THROW_MSG(Info->Setup(), eVlxSUError, "Vellumix! Setup Error: Object:dbg\r\rDataSource property is missing");
  auto* Source = Make<TDataSource>("src");
  Grid->SetDataSource(Source);
  EXPECT_THROW_MSG(Info->Setup(), eVlxSUError,
                   "Vellumix! Setup Error: Object:dbg\r\rsrc is missing the DataSet property");

  // A table that cannot open is opened by the adapter, and its own failure is shown.
  auto* Table = Make<TTable>("tbl");
  Table->FieldDefs().Add("Name", ftString);
  Source->SetDataSet(Table);
  try {
    Info->Setup();
    ADD_FAILURE() << "a table without a name opened";
  } catch (const eVlxSUError& E) {
    const std::string Msg = E.what();
    EXPECT_EQ(Msg.rfind("Vellumix! Setup Error: Object: dbg\r\rOpening Dataset: tbl\r", 0), 0u) << Msg;
    EXPECT_NE(Msg.find("Missing TableName property"), std::string::npos) << Msg;
  }
  Table->SetTableName("T");
  Info->Setup();
  EXPECT_TRUE(Table->Active());
}

TEST_F(AdapterTest, UsedExtentCutsBlankEdgesOnlyWhenAsked) {
  const struct {
    std::vector<std::pair<int, int>> Filled;  // cells with text
    bool Trim;
    int Cols, Rows;
  } Cases[] = {
      {{{2, 5}}, true, 3, 6}, {{{2, 5}}, false, 8, 10}, {{}, true, 0, 0},
      {{{0, 0}, {7, 1}, {1, 8}}, true, 8, 9}, {{{7, 9}}, true, 8, 10},
  };
  for (const auto& C : Cases) {
    Form.DestroyComponents();
    auto* Grid = MakeGrid(8, 10, [](int, int) { return std::string(); });
    Grid->SetCells(3, 3, "   ");  // blanks count as empty
    for (auto [Col, Row] : C.Filled) Grid->SetCells(Col, Row, "x");
    Settings->SetItemOpt(ioTrimGridDim, C.Trim);
    Setup(Grid);
    Info->CalcUsedExtent();
    EXPECT_EQ(Info->ColCount, C.Cols);
    EXPECT_EQ(Info->RowCount, C.Rows);
  }
  Setup(MakeList<TListBox>("lbx", {"a", "", "b", " ", ""}));
  for (auto [Trim, Rows] : {std::pair{true, 3}, {false, 5}}) {
    Settings->SetItemOpt(ioTrimGridDim, Trim);
    Info->CalcUsedExtent();
    EXPECT_EQ(Info->RowCount, Rows);
  }
}

TEST_F(AdapterTest, EmptyCheckCountsOrEstimatesAndRaisesOnlyWhenAsked) {
  auto* Empty = MakeDataSet("ds", {});
  const struct {
    bool Count;
    int Estimate, Rows, Digits;
  } Cases[] = {{true, 0, 0, 1}, {false, 0, 9, 1}, {false, 250, 250, 3}};
  for (const auto& C : Cases) {
    Settings->CountNumRcds = C.Count;
    Settings->RcdEstimate = C.Estimate;
    Setup(Empty);
    Info->CheckEmpty();
    EXPECT_EQ(Info->RowCount, C.Rows);
    EXPECT_EQ(Info->RowNumDigits, C.Digits);
  }
  Settings->CountNumRcds = true;
  Settings->SetItemOpt(ioExceptionOnEmpty, true);
  EXPECT_THROW_MSG(Info->CheckEmpty(), eVlxSUError, "Vellumix! Setup Error: ds is empty and vlx has nothing to print.");
  Setup(Make<TListBox>("lbx"));
  EXPECT_THROW_MSG(Info->CheckEmpty(), eVlxSUError, "Vellumix! Setup Error: lbx is empty and vlx has nothing to print.");
}

TEST_F(AdapterTest, RestoreOfAPositionThatIsGoneLeavesTheObjectWhereItIs) {
  // Restored at the end of a scope, as the page loop does, where raising ends the program.
  auto ChangeThenRestore = [&](const std::function<void()>& Change) {
    TObjPosn Saved(*Info);
    struct TRestore {
      TObjPosn& Posn;
      ~TRestore() { Posn.Restore(); }
    } Restore{Saved};
    Change();
  };
  auto* DS = MakeDataSet("ds", {{"a", 1, true}, {"b", 2, false}, {"c", 3, true}});
  DS->Next();
  Start(DS);
  ChangeThenRestore([&] { DS->Delete(); });  // the start record
  EXPECT_EQ(DS->FieldByName("Name")->AsString(), "c");
  ChangeThenRestore([&] { DS->Close(); });
  EXPECT_FALSE(DS->Active());

  const struct {
    int Deleted;
    const char* Focused;  // after the restore
  } Cases[] = {{1, "c"}, {0, "b"}};  // the saved item b freed; an item before it freed
  for (const auto& C : Cases) {
    auto* View = MakeList<TListView>(std::string("lv") + C.Focused, {"a", "b", "c"});
    View->SetItemFocused(View->Items()[1]);
    Start(View);
    ChangeThenRestore([&] {
      View->SetItemFocused(View->Items()[2]);
      View->Items().Delete(C.Deleted);
    });
    ASSERT_NE(View->ItemFocused(), nullptr);
    EXPECT_EQ(View->ItemFocused()->Caption(), C.Focused);
  }
}

TEST_F(AdapterTest, DatasetControlsComeBackOnEveryPath) {
  auto* DS = MakeDataSet("ds", {{"a", 1, true}, {"b", 2, false}});
  Start(DS);
  EXPECT_TRUE(DS->ControlsDisabled());
  // A second run of the same window does not disable them twice.
  Start(DS);
  Info->EnableControls();
  EXPECT_FALSE(DS->ControlsDisabled());
  Info->EnableControls();  // once only: an extra call must not unbalance the dataset
  DS->DisableControls();
  EXPECT_TRUE(DS->ControlsDisabled());
  DS->EnableControls();

  // A run ended by an exception from the host: the adapter's end still gives them back.
  Start(DS);
  Info->OnFilterRecord = [](TObject*, TDataSet*, int, bool&, bool&) { throw Exception("host"); };
  EXPECT_THROW(Walk(), Exception);
  EXPECT_TRUE(DS->ControlsDisabled());
  NewAdapter();
  EXPECT_FALSE(DS->ControlsDisabled());
  EXPECT_EQ(ObjInfo, Info) << "the windows' reference follows the run's new adapter";
}
