#include <algorithm>
#include <random>
#include <set>

#include "engine/VLMXGbl0.h"
#include "framework/rtl/SysUtils.h"
#include "tests/engine/AdapterFixture.h"

namespace {

// The first printed column after the line number, of every row.
V FirstCells(const TRows& Rows) {
  V Out;
  for (const auto& Row : Rows) Out.push_back(Row.size() > 1 ? Row[1] : "");
  return Out;
}

}  // namespace

// Every kind of printed object, filled from a seeded generator and walked as the page composer
// walks it, prints against a model of its own: the rows the user picked (or all), in the
// object's order, each once, until the filter stops them, without those it rejects, with the
// line number and the trimmed text of every cell.
TEST_F(AdapterTest, EveryKindWalksThePickedAcceptedRowsOnceInOrderWithTheirTexts) {
  std::mt19937 Gen(20261207);
  auto Pick = [&](int N) { return static_cast<int>(Gen() % N); };
  auto Word = [&](int Tag) {
    static const char* const Words[] = {"a", "b c", "x-y", " pad ", "12.5", "$3", "o'k", "\"q\""};
    return Words[Pick(8)] + std::to_string(Tag);
  };
  enum { kGrid, kListBox, kListView, kOwnerData, kDataSet, kTable, kDBGrid, Kinds };
  const TObjKind Classified[] = {otStringGrid, otListBox, otListView, otListView, otDataSet, otTable, otDBGrid};
  for (int Round = 0; Round < 140; ++Round) {
    const int Kind = Round % Kinds, Count = Pick(6) + (Kind == kGrid), Cols = 1 + Pick(3);
    SCOPED_TRACE(testing::Message() << "round " << Round << ", kind " << Kind << ", rows " << Count);
    Settings->PrintWhat = Pick(2) ? pwSelectedRows : pwAll;
    TRows Model;      // each row's cell texts, in the object's order
    V Titles{"#"};    // empty: a kind without titles
    std::vector<bool> Picked(Count);
    int PickedCount = 0;
    for (int R = 0; R < Count; ++R) PickedCount += Picked[R] = Pick(3) == 0;
    TComponent* Object = nullptr;
    std::function<std::string()> Current;  // the first text of the row being read
    TDataSet* DS = nullptr;
    V Keys;  // each row's first text before a grid's columns reorder it

    if (Kind == kGrid) {
      auto* G = Make<TStringGrid>("grid" + std::to_string(Round));
      G->SetColCount(Cols + 1);
      G->SetRowCount(Count + 1);
      for (int R = 0; R <= Count; ++R)
        for (int C = 0; C <= Cols; ++C) G->SetCells(C, R, R == 0 ? "T" + std::to_string(C) : C == 0 ? "k" + std::to_string(R) : Word(C));
      // The selected block: its rows, its columns and the fixed one.
      const int Top = 1 + Pick(Count), Bottom = Top + Pick(Count - Top + 1), Left = 1 + Pick(Cols),
                Right = Left + Pick(Cols - Left + 1);
      G->SetSelection({Left, Top, Right, Bottom});
      const bool Block = Settings->PrintWhat == pwSelectedRows;
      PickedCount = Block ? Bottom - Top + 1 : 0;
      for (int R = 0; R <= Count; ++R) {
        V Row;
        for (int C = 0; C <= Cols; ++C)
          if (!Block || C == 0 || (C >= Left && C <= Right)) Row.push_back(Trim(G->Cells(C, R)));
        if (R == 0) Titles.insert(Titles.end(), Row.begin(), Row.end());
        else Model.push_back(Row);
        if (R > 0) Picked[R - 1] = R >= Top && R <= Bottom;
      }
      Current = [=, this] { return G->Cells(0, Info->CurCell.Y); };
      Object = G;
    } else if (Kind == kListBox) {
      auto* List = Make<TListBox>("lbx");
      List->SetMultiSelect(true);
      for (int R = 0; R < Count; ++R) {
        List->AddItem(R % 2 ? " k" + std::to_string(R) + " " : "k" + std::to_string(R));
        List->SetSelected(R, Picked[R]);
        Model.push_back({"k" + std::to_string(R)});
      }
      Titles.clear();
      Current = [=, this] { return Trim(List->Items()[Info->CurCell.Y]); };
      Object = List;
    } else if (Kind == kListView || Kind == kOwnerData) {
      auto* View = Make<TListView>("lv");
      View->SetViewStyle(vsReport);
      View->SetMultiSelect(true);
      for (int C = 0; C < Cols; ++C) {
        Titles.push_back("T" + std::to_string(C));
        View->Columns().Add()->SetCaption(Titles.back());
      }
      for (int R = 0; R < Count; ++R) {
        V Row{"k" + std::to_string(R)};
        for (int C = 1; C < Cols; ++C) Row.push_back(Word(C));
        Model.push_back(Row);
      }
      auto Fill = [Model](TObject*, TListItem* Item) {
        Item->SetCaption(Model[Item->Index()][0]);
        Item->SubItems().Clear();
        for (size_t C = 1; C < Model[Item->Index()].size(); ++C) Item->SubItems().Add(Model[Item->Index()][C]);
      };
      View->SetOwnerData(Kind == kOwnerData);
      if (Kind == kOwnerData) View->OnData = Fill, View->Items().SetCount(Count);
      else for (int R = 0; R < Count; ++R) Fill(nullptr, View->Items().Add());
      for (int R = 0; R < Count; ++R) View->Items()[R]->SetSelected(Picked[R]);
      for (auto& Row : Model)
        for (auto& Text : Row) Text = Trim(Text);
      Current = [=, this] { return View->Items()[Info->CurCell.Y]->Caption(); };
      Object = View;
    } else {
      std::vector<std::vector<TFieldValue>> Records;
      for (int R = 0; R < Count; ++R) {
        const std::string Name = std::string{char('a' + Pick(26)), char('a' + Pick(26))} + std::to_string(R);
        const int Qty = Pick(2001) - 1000, Paid = Pick(2);
        Records.push_back({Name, Qty, Paid == 1});
        Model.push_back({Name, std::to_string(Qty), Paid ? "True" : "False"});
      }
      DS = Kind == kTable ? MakeDataSet<TTable>("tbl", Records) : MakeDataSet("ds", Records);
      Titles = {"#", "Name", "Qty", "Paid"};
      std::vector<int> Order{0, 1, 2};
      if (Kind == kTable) {
        static_cast<TTable*>(DS)->SetIndexFieldNames("Name");
        std::sort(Model.begin(), Model.end());  // the names differ
      }
      Object = DS;
      if (Kind == kDBGrid) {
        auto* Grid = MakeDBGrid(DS);
        Grid->SetOptions(Grid->Options() | dgMultiSelect);
        std::shuffle(Order.begin(), Order.end(), Gen);
        for (int F : Order) Grid->Columns().Add()->SetFieldName(Titles[F + 1]);
        Titles = {"#", Titles[Order[0] + 1], Titles[Order[1] + 1], Titles[Order[2] + 1]};
        for (int R = 0; R < Count; ++R)
          if (Picked[R]) {
            DS->SetRecNo(R + 1);
            Grid->SelectedRows().SetCurrentRowSelected(true);
          }
        // A picked record deleted since is skipped, the only one among them too.
        if (PickedCount >= 1 && Pick(2)) {
          const int Gone = static_cast<int>(std::find(Picked.begin(), Picked.end(), true) - Picked.begin());
          DS->SetRecNo(Gone + 1);
          DS->Delete();
          Model.erase(Model.begin() + Gone);
          Picked.erase(Picked.begin() + Gone);
        }
        DS->First();
        Object = Grid;
      } else {
        PickedCount = 0;  // a dataset has no picked rows
      }
      for (auto& Row : Model) {
        Keys.push_back(Row[0]);
        Row = {Row[Order[0]], Row[Order[1]], Row[Order[2]]};
      }
      Current = [=] { return DS->FieldByName("Name")->AsString(); };
    }

    if (Settings->PrintWhat != pwSelectedRows) PickedCount = 0;
    for (size_t R = Keys.size(); R < Model.size(); ++R) Keys.push_back(Model[R][0]);
    // The filter rejects some rows and may stop at one; it sees each row at most once.
    std::set<std::string> Rejected, Seen;
    for (const auto& Key : Keys)
      if (Pick(4) == 0) Rejected.insert(Key);
    const std::string StopAt = !Keys.empty() && Pick(3) == 0 ? Keys[Pick(int(Keys.size()))] : "";
    // Where the user stands before the run: the run puts the object back there.
    const int Left = static_cast<int>(Keys.size()), At = Left ? Pick(Left) : 0;
    std::function<std::string()> Position;  // none for a list box or an empty object
    if (auto* View = As<TListView>(Object); View && Left) {
      View->SetItemFocused(View->Items()[At]);
      Position = [=] { return View->ItemFocused() ? View->ItemFocused()->Caption() : "none"; };
    } else if (DS && Left) {
      DS->SetRecNo(At + 1);
      Position = Current;
    } else if (auto* G = As<TStringGrid>(Object)) {
      if (!PickedCount) G->SetRow(1 + At);  // a move drops the selected block
      Position = [this] { return "k" + std::to_string(Info->CurCell.Y); };  // the grid itself never moves
    }
    const std::string Before = Kind == kGrid ? "k" + std::to_string(As<TStringGrid>(Object)->Row()) : Position ? Position() : "";
    Start(Object);
    EXPECT_EQ(Info->ObjType, Classified[Kind]);
    EXPECT_EQ(Info->SelRowCount, PickedCount);
    Info->OnFilterRecord = [&](TObject* Sender, TDataSet* Data, int, bool& Accept, bool& Stop) {
      EXPECT_EQ(Sender, Vlx.get());
      EXPECT_EQ(Data, DS);
      const std::string Key = Trim(Current());
      EXPECT_TRUE(Seen.insert(Key).second) << Key << " filtered twice";
      Accept = !Rejected.count(Key);
      Stop = Key == StopAt;
    };
    if (!Titles.empty()) {
      Info->CurCell = {Info->CurCell.X, Info->Origin.Y};
      Styles->BandInfo[bnTitles].RowNdx = Info->FixedRows - 1;
      EXPECT_EQ(RowTexts(1), Titles);
    }
    TRows Expected;
    for (size_t R = 0; R < Model.size(); ++R) {
      if (PickedCount > 0 && !Picked[R]) continue;
      if (Keys[R] == StopAt) break;
      if (Rejected.count(Keys[R])) continue;
      Expected.push_back(Model[R]);
      Expected.back().insert(Expected.back().begin(), std::to_string(Expected.size()));
    }
    EXPECT_EQ(Walk(), Expected);
    EXPECT_TRUE(Info->EndOfRows);
    EXPECT_EQ(Run->RecordCounter, static_cast<int>(Expected.size()));
    EXPECT_EQ(Styles->BandInfo[bnData].RowNdx, static_cast<int>(Expected.size()));
    if (auto* View = As<TListView>(Object); View && Count) View->SetItemFocused(View->Items()[Count - 1 - At]);
    Info->SavedPosn->Restore();
    if (Position) {
      EXPECT_EQ(Position(), Before);
    }
    NewAdapter();  // gives the object back before it goes
    Vlx->SetObjectToPrint(nullptr);
    Form.DestroyComponents();
  }
}

// The cross-tab's total line and column print while their dimensions show subtotals.
TEST_F(AdapterTest, CrossTabTotalsPrintWhileTheirDimensionsShowSubtotals) {
  auto* CubeSource = Make<TDecisionSource>("dsrc");
  CubeSource->SetDimensions({"Region"}, {"Year"}, "Sales");
  CubeSource->AddValue({"N"}, {"2020"}, 5);
  CubeSource->AddValue({"S"}, {"2020"}, 7);
  auto* Cube = Make<TDecisionGrid>("dg");
  Cube->SetDecisionSource(CubeSource);
  Settings->HideColumns = "0";  // a decision grid never reads it
  Start(Cube);
  EXPECT_EQ(Walk(), (TRows{{"N", "5", "5"}, {"S", "7", "7"}, {"Total", "12", "12"}}));
  CubeSource->Dimension(TDimAxis::Rows, 0).SetSubtotals(false);
  CubeSource->Dimension(TDimAxis::Columns, 0).SetSubtotals(false);
  Start(Cube);
  EXPECT_EQ(Walk(), (TRows{{"N", "5"}, {"S", "7"}}));
  // One row: its columns still print.
  auto* One = Make<TDecisionSource>("one");
  One->SetDimensions({"Region"}, {"Year"}, "Sales");
  One->AddValue({"N"}, {"2020"}, 5);
  One->Dimension(TDimAxis::Rows, 0).SetSubtotals(false);
  One->Dimension(TDimAxis::Columns, 0).SetSubtotals(false);
  Cube->SetDecisionSource(One);
  Start(Cube);
  EXPECT_EQ(Walk(), (TRows{{"N", "5"}}));
}

// Empty objects of every kind walk no row above; here a grid whose only text is in its title
// row, trimmed, and a list without lines.
TEST_F(AdapterTest, AnEmptySourcePrintsNoRow) {
  Settings->SetItemOpt(ioTrimGridDim, true);
  Start(MakeGrid(3, 4, [](int, int R) { return R == 0 ? std::string("title") : std::string(); }));
  EXPECT_EQ(Info->RowCount, 1);
  EXPECT_TRUE(Walk().empty());
  Start(Make<TListBox>("lbx"));
  EXPECT_FALSE(Info->First());
  EXPECT_EQ(Info->CurCell, (TPoint{-1, -1}));
}

TEST_F(AdapterTest, CurrentPageStartsWhereTheUserIs) {
  Settings->PrintWhat = pwCurrentPage;
  auto* Grid = MakeGrid(2, 60);
  Grid->SetTopRow(40);
  Start(Grid);
  ASSERT_TRUE(Info->First());
  EXPECT_EQ(Info->CurCell, (TPoint{1, 40}));

  auto* View = MakeList<TListView>("lv", {"a", "b", "c"});
  View->SetItemFocused(View->Items()[2]);
  Start(View);
  ASSERT_TRUE(Info->First());
  EXPECT_EQ(Info->CurCell, (TPoint{0, 0}));

  auto* List = MakeList<TListBox>("lbx", {"a", "b", "c"});
  Start(List);
  EXPECT_EQ(FirstCells(Walk()), (V{"a", "b", "c"}));  // no current line: from the first
  List->SetItemIndex(1);
  Start(List);
  EXPECT_EQ(FirstCells(Walk()), (V{"b", "c"}));

  auto* DS = MakeDataSet("ds", {{"a", 1, true}, {"b", 2, false}, {"c", 3, true}});
  DS->Next();
  Start(DS);
  DS->First();  // moved after the run began: the walk starts at the saved record
  EXPECT_EQ(FirstCells(Walk()), (V{"b", "c"}));
}

TEST_F(AdapterTest, MovingToTheLastRowEndsEvenWhenTheFilterRejectsIt) {
  auto* List = MakeList<TListBox>("lbx", {"a", "b", "c"});
  Start(List);
  ASSERT_TRUE(Info->First());
  Info->OnFilterRecord = [](TObject*, TDataSet*, int, bool& Accept, bool&) { Accept = false; };
  Info->Next(bnData, true);
  EXPECT_TRUE(Info->EndOfRows);
  Start(List);
  ASSERT_TRUE(Info->First());
  Info->Next(bnData, true);
  EXPECT_FALSE(Info->EndOfRows);
  EXPECT_EQ(Info->CurCell.Y, 2);
}

TEST_F(AdapterTest, OwnerDataListViewScrollsToTheRowBeingRead) {
  auto* View = Make<TListView>("lv");
  View->SetViewStyle(vsReport);
  View->Columns().Add();
  View->SetOwnerData(true);
  View->OnData = [](TObject*, TListItem* Item) { Item->SetCaption(std::to_string(Item->Index())); };
  View->Items().SetCount(100);
  View->PeerScrolled(0, 10, 17);
  Start(View);
  const TRows Rows = Walk();
  ASSERT_EQ(Rows.size(), 100u);
  EXPECT_EQ(Rows[99][1], "99");
  EXPECT_GE(View->TopIndex() + 10, 99);
}
