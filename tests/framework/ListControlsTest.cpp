// List boxes, list views and the cross-tab grid, walked the way the report engine walks them.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/ComCtrls.h"
#include "framework/DecisionGrid.h"
#include "framework/Forms.h"
#include "framework/StdCtrls.h"
#include "tests/support/HeadlessFixture.h"

namespace {

// A printed list box's selection survives lines coming and going; only the user's choice clicks.
TEST_F(HeadlessTest, ListBoxKeepsSelectionWithItsLines) {
  TForm form(nullptr);
  auto* list = new TListBox(&form);
  for (const char* s : {"a", "b", "c", "d", "e"}) list->Items().Add(s);
  int clicks = 0;
  list->OnClick = [&](TObject*) { ++clicks; };
  list->SetItemIndex(9);
  EXPECT_EQ(list->ItemIndex(), -1) << "no line of that index";
  list->SetSelected(4, true);
  list->SetMultiSelect(true);
  EXPECT_EQ(list->SelCount(), 1) << "the current line stays selected";
  for (int i : {1, 3, 3}) list->SetSelected(i, true);
  list->Items().Delete(1);
  EXPECT_EQ(list->SelCount(), 2);
  EXPECT_TRUE(list->Selected(2)) << "d moved up with its state";
  EXPECT_EQ(list->ItemIndex(), 3) << "the current line moved up too";
  list->Items().Insert(0, "z");
  EXPECT_TRUE(list->Selected(3));
  EXPECT_EQ(list->ItemIndex(), 4);
  EXPECT_EQ(clicks, 0);
  list->PeerSelectionChanged({false, true, true, false, false}, 2);
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(list->SelCount(), 2);
  list->Clear();
  EXPECT_EQ(list->SelCount(), 0);
  EXPECT_EQ(list->ItemIndex(), -1);
}

class ListViewTest : public HeadlessTest {
protected:
  TForm Form{nullptr};
  TListView* View = new TListView(&Form);

  void FillReport(int Count) {
    View->SetViewStyle(vsReport);
    for (const char* c : {"Name", "Writer", "Place"}) View->Columns().Add()->SetCaption(c);
    for (int i = 0; i < Count; ++i) {
      TListItem* item = View->Items().Add();
      item->SetCaption("Book " + std::to_string(i));
      item->SubItems().Add("Writer " + std::to_string(i));
      if (i % 2 == 0) item->SubItems().Add("Place " + std::to_string(i));
    }
  }

  std::vector<int> SelectedIndexes() {
    std::vector<int> out;
    for (TListItem* it = View->Selected(); it; it = View->GetNextItem(it, sdAll, isSelected))
      out.push_back(it->Index());
    return out;
  }
};

TEST_F(ListViewTest, ItemsKeepSelectionAndFocusByPosition) {
  FillReport(50);
  View->SetMultiSelect(true);
  for (int i : {3, 7, 12, 40}) View->Items()[i]->SetSelected(true);
  View->Items()[7]->SetFocused(true);
  EXPECT_EQ(View->GetNextItem(View->Items()[12], sdAbove, isSelected)->Index(), 7);
  EXPECT_EQ(View->PeerItemText(3, 2), "") << "an item with fewer sub-items";

  View->Items().Delete(5);
  EXPECT_EQ(SelectedIndexes(), (std::vector<int>{3, 6, 11, 39}));
  EXPECT_EQ(View->ItemFocused()->Caption(), "Book 7");

  // The window reports states for a range, or for every item at once.
  View->PeerStatesChanged(20, 22, isSelected, isSelected);
  EXPECT_EQ(View->SelCount(), 7);
  View->PeerStatesChanged(-1, -1, 0, isSelected);
  EXPECT_EQ(View->SelCount(), 0);
  EXPECT_EQ(View->Selected(), nullptr);

  View->SetMultiSelect(false);
  View->Items()[1]->SetSelected(true);
  View->Items()[2]->SetSelected(true);
  EXPECT_EQ(SelectedIndexes(), (std::vector<int>{2})) << "one selected item without MultiSelect";
  View->SetSelected(View->Items()[9]);
  EXPECT_EQ(SelectedIndexes(), (std::vector<int>{9}));
}

TEST_F(ListViewTest, OwnerDataAsksForEveryItemAndPagesThroughIt) {
  View->SetViewStyle(vsReport);
  View->SetOwnerData(true);
  View->SetMultiSelect(true);
  View->SetHeight(4 + 19 + 17 * 10);
  int asked = 0;
  View->OnData = [&](TObject* Sender, TListItem* Item) {
    EXPECT_EQ(Sender, View);
    ++asked;
    Item->SetCaption("Row " + std::to_string(Item->Index()));
    Item->SubItems().Add(std::to_string(Item->Index() * 2));
  };
  EXPECT_THROW(View->Items().Add(), EListError);
  View->Items().SetCount(1000000);
  EXPECT_EQ(asked, 0) << "nothing is asked until read";
  EXPECT_EQ(View->Items()[123456]->SubItems()[0], "246912");
  View->Items()[500]->SetSelected(true);
  View->Items()[20]->SetSelected(true);

  View->Scroll(0, 1 << 30);
  EXPECT_EQ(View->TopIndex(), 1000000 - 10) << "the last page still fills the window";

  View->Items().SetCount(300);
  EXPECT_EQ(SelectedIndexes(), (std::vector<int>{20})) << "states beyond the new end go";
  View->SetOwnerData(false);
  EXPECT_EQ(View->Items().Count(), 0);
  EXPECT_EQ(View->SelCount(), 0);
}

// Sales by region and product (rows) and year (columns).
class DecisionGridTest : public HeadlessTest {
protected:
  void SetUp() override {
    HeadlessTest::SetUp();
    Source = new TDecisionSource(&Form);
    Source->SetDimensions({"Region", "Product"}, {"Year"}, "Sum of Sales");
    Source->AddValue({"North", "Pears"}, {"2023"}, 5);
    Source->AddValue({"North", "Apples"}, {"2023"}, 10);
    Source->AddValue({"North", "Apples"}, {"2024"}, 2.5);
    Source->AddValue({"South", "Apples"}, {"2024"}, 7);
    Source->AddValue({"north", "apples"}, {"2023"}, 1);
    Grid = new TDecisionGrid(&Form);
    Grid->SetDecisionSource(Source);
  }

  std::string Row(int R) {
    std::string out;
    for (int c = -Grid->FixedCols(); c < Grid->ColCount() - Grid->FixedCols(); ++c) {
      std::string text;
      TDecisionDrawState state;
      EXPECT_TRUE(Grid->CellInfo(c, R, text, state));
      out += text + ((state & dsSum) ? "+" : "") + "|";
    }
    return out;
  }

  TForm Form{nullptr};
  TDecisionSource* Source = nullptr;
  TDecisionGrid* Grid = nullptr;
};

TEST_F(DecisionGridTest, SumsWithHeadingsSubtotalsAndTotals) {
  EXPECT_EQ(Grid->FixedCols(), 3);
  EXPECT_EQ(Grid->FixedRows(), 2);
  const std::vector<std::string> expected = {
      "|Region|Product|Sum of Sales|||",
      "||Year|2023|2024|Total+|",
      "|North|Apples|11|2.5|13.5+|",
      "||Pears|5||5+|",
      "||Total+|16+|2.5+|18.5+|",
      "|South|Apples||7|7+|",
      "||Total+|+|7+|7+|",
      "|Total+|+|16+|9.5+|25.5+|",
  };
  for (int r = -2; r < Grid->RowCount() - 2; ++r) {
    SCOPED_TRACE(r);
    ASSERT_LT(static_cast<size_t>(r + 2), expected.size());
    EXPECT_EQ(Row(r), expected[r + 2]);
  }
  EXPECT_EQ(Grid->RowCount(), 8);

  std::string text = "x";
  TDecisionDrawState state = 1;
  EXPECT_FALSE(Grid->CellInfo(3, 0, text, state));
  EXPECT_FALSE(Grid->CellInfo(-4, 0, text, state));
  EXPECT_EQ(text, "");
  EXPECT_EQ(state, 0u);
  Grid->CellInfo(-2, 0, text, state);
  EXPECT_EQ(state, dsHeading | dsGroupStart);
  Grid->CellInfo(-2, 1, text, state);
  EXPECT_EQ(state, unsigned{dsHeading}) << "North is shown once for its group";

  // The window draws the same cells, 0-based, sums right-aligned and totals in bold.
  TGridCellView view = Grid->CellView(4, 4);
  EXPECT_EQ(view.Text, "2.5");
  EXPECT_EQ(view.Alignment, 1);
  EXPECT_TRUE(view.Emphasis);
}

TEST_F(DecisionGridTest, DimensionsWithoutSubtotalsLoseTheirTotalLines) {
  Source->Dimension(TDimAxis::Rows, 1).SetSubtotals(false);
  EXPECT_EQ(Row(2), "|South|Apples||7|7+|") << "the Product totals went, the Region total stays";
  EXPECT_EQ(Row(3), "|Total+|+|16+|9.5+|25.5+|");
  EXPECT_THROW(Source->Dimension(TDimAxis::Rows, 2), EListError);
  EXPECT_THROW(Source->AddValue({"North"}, {"2024"}, 1), EListError);

  delete Source;
  EXPECT_EQ(Grid->DecisionSource(), nullptr);
  EXPECT_EQ(Grid->FixedCols(), 1);
  EXPECT_EQ(Grid->Cells(0, 0), "");
}

}  // namespace
