#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "app/BookTable.h"
#include "app/VersoraMain.h"
#include "framework/rtl/SysUtils.h"
#include "tests/support/HeadlessFixture.h"

namespace {

using TRow = std::vector<std::string>;

class BookWindowTest : public HeadlessTest {
protected:
  void SetUp() override {
    HeadlessTest::SetUp();
    Form = new TfrmVersora(nullptr);
    Grid = Form->strgrd;
  }
  void TearDown() override {
    delete Form;
    HeadlessTest::TearDown();
  }

  TRow Row(int R) const {
    TRow row;
    for (int c = 0; c < Grid->ColCount(); ++c) row.push_back(Grid->Cells(c, R));
    return row;
  }
  std::vector<std::string> Column(int C) const {
    std::vector<std::string> out;
    for (int r = 1; r < Grid->RowCount(); ++r) out.push_back(Grid->Cells(C, r));
    return out;
  }
  std::multiset<TRow> AllRows() const {
    std::multiset<TRow> rows;
    for (int r = 1; r < Grid->RowCount(); ++r) rows.insert(Row(r));
    return rows;
  }
  // A mouse release over the middle of a cell, as the window reports it.
  void Release(int Col, int RowIndex, TMouseButton Button = TMouseButton::mbLeft) {
    TRect r = Grid->CellRect(Col, RowIndex);
    ASSERT_GT(r.Width(), 0) << "cell not visible";
    Grid->PeerMouseUp(Button, 0, (r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2);
  }
  static bool Ordered(const std::vector<std::string>& V, bool Ascending) {
    for (size_t i = 1; i < V.size(); ++i) {
      int cmp = CompareStr(V[i - 1], V[i]);
      if (Ascending ? cmp > 0 : cmp < 0) return false;
    }
    return true;
  }

  TfrmVersora* Form = nullptr;
  TStringGrid* Grid = nullptr;
};

}  // namespace

TEST_F(BookWindowTest, WindowIsLaidOutAsAFixedDialogWithTheBookTable) {
  EXPECT_EQ(Form->Caption(), "Versora - click on columns to sort");
  EXPECT_EQ(Form->BorderStyle(), TFormBorderStyle::bsDialog);
  EXPECT_EQ(Form->Position(), TPosition::poScreenCenter);
  EXPECT_EQ(Form->ClientWidth(), 592);
  EXPECT_EQ(Form->ClientHeight(), 576);
  EXPECT_EQ(Form->Constraints().MinWidth, Form->Width());
  EXPECT_EQ(Form->Constraints().MaxWidth, Form->Width());
  EXPECT_EQ(Form->Constraints().MinHeight, Form->Height());
  EXPECT_EQ(Form->Constraints().MaxHeight, Form->Height());
  EXPECT_EQ(Form->Font().Name(), "MS Sans Serif");
  EXPECT_EQ(Form->Font().Height(), -11);
  EXPECT_TRUE(Form->Scaled());
  EXPECT_FALSE(Form->AutoScroll());

  EXPECT_EQ(Grid->BoundsRect(), (TRect{0, 0, 592, 541}));
  EXPECT_EQ(Grid->ColCount(), 5);
  EXPECT_EQ(Grid->RowCount(), 67);
  EXPECT_EQ(Grid->FixedRows(), 1);
  EXPECT_EQ(Grid->FixedCols(), 0);
  EXPECT_EQ(Grid->ScrollBars(), TScrollStyle::ssVertical);
  EXPECT_EQ((std::vector<int>{Grid->ColWidths(0), Grid->ColWidths(1), Grid->ColWidths(2), Grid->ColWidths(3),
                              Grid->ColWidths(4)}),
            (std::vector<int>{115, 115, 123, 115, 115}));

  EXPECT_EQ(Form->Label1->Caption(), "a. = after, b. = before, c. = circa");
  EXPECT_EQ(Form->Label2->Caption(), "Note: In BCE, the years count down");
  EXPECT_EQ(Form->Label1->BoundsRect(), (TRect{3, 541, 216, 557}));
  EXPECT_EQ(Form->Label2->BoundsRect(), (TRect{1, 557, 242, 573}));
  for (TLabel* l : {Form->Label1, Form->Label2}) {
    EXPECT_EQ(l->Font().Height(), -13);
    EXPECT_EQ(l->Font().Style(), unsigned(fsBold));
    EXPECT_TRUE(l->Transparent());
  }
  EXPECT_EQ(Form->Label1->Font().Color(), clWindowText);
  EXPECT_EQ(Form->Label2->Font().Color(), clPurple);
  EXPECT_EQ(Form->btnPrint->Caption(), "&Print");
  EXPECT_EQ(Form->btnPrint->BoundsRect(), (TRect{388, 548, 463, 573}));
  EXPECT_EQ(Form->btnClose->Kind(), TBitBtnKind::bkClose);
  EXPECT_EQ(Form->btnClose->BoundsRect(), (TRect{511, 548, 586, 573}));

  EXPECT_EQ(Form->VlxVellumix1->ObjectToPrint(), Grid);
  EXPECT_EQ(Form->VlxVellumix1->ReportId(), "(004.116)");

  EXPECT_EQ(Row(0), (TRow{"NAME", "WRITER(S)", "PLACE WRITTEN", "WRITING COMPLETED", "TIME COVERED"}));
  EXPECT_EQ(Row(1), (TRow{"Genesis", "Moses", "Wilderness", "BCE 1513", "\"In the beginning\" to 1657 BCE"}));
  EXPECT_EQ(Row(9), (TRow{"1 Samuel", "Samuel; Gad; Nathan", "Israel", "BCE 1077 c.", "BCE 1180 c.-1077"}));
  EXPECT_EQ(Row(66), (TRow{"Revelation", "Apostle John", "Patmos", "CE 96 c.", "CE (unknown)"}));
  for (int r = 45; r <= 66; ++r) EXPECT_EQ(Grid->Cells(4, r), "CE (unknown)") << r;
}

TEST_F(BookWindowTest, WindowColourIsDrawnBlueGreenRedBelow255) {
  std::set<TColor> colours;
  for (int start = 0; start < 20; ++start) {
    TfrmVersora other(nullptr);
    TColor c = other.Color();
    EXPECT_FALSE(IsSystemColor(c));
    EXPECT_LT(c & 0xFF, 255);
    EXPECT_LT((c >> 8) & 0xFF, 255);
    EXPECT_LT((c >> 16) & 0xFF, 255);
    colours.insert(c);
    Headless::AdvanceClock(1000);
  }
  EXPECT_GT(colours.size(), 15u);

  // Seeded from the clock, the draws come blue, then green, then red.
  RandSeed = static_cast<int32_t>(TickCount());
  int blue = Random(255), green = Random(255), red = Random(255);
  TfrmVersora again(nullptr);
  EXPECT_EQ(again.Color(), RGB(red, green, blue));

}

TEST_F(BookWindowTest, HeadingReleasesSortAscendingThenDescendingPerColumn) {
  const auto original = AllRows();
  const auto header = Row(0);

  Release(0, 0);
  auto names = Column(0);
  EXPECT_TRUE(Ordered(names, true));
  EXPECT_EQ(std::vector<std::string>(names.begin(), names.begin() + 9),
            (std::vector<std::string>{"1 Chronicles", "1 Corinthians", "1 John", "1 Kings", "1 Peter",
                                      "1 Samuel", "1 Thessalonians", "1 Timothy", "2 Chronicles"}));
  auto acts = std::find(names.begin(), names.end(), "Acts");
  auto john3 = std::find(names.begin(), names.end(), "3 John");
  EXPECT_EQ(acts - john3, 1) << "every name with a digit sorts before Acts";

  Release(0, 0);
  auto descending = Column(0);
  EXPECT_EQ(descending, std::vector<std::string>(names.rbegin(), names.rend()));

  // Another column starts ascending whatever the first one's direction.
  Release(3, 0);
  auto completed = Column(3);
  EXPECT_TRUE(Ordered(completed, true));
  auto firstCE = std::find_if(completed.begin(), completed.end(), [](auto& s) { return s.starts_with("CE"); });
  EXPECT_TRUE(std::all_of(completed.begin(), firstCE, [](auto& s) { return s.starts_with("BCE"); }));
  EXPECT_TRUE(std::all_of(firstCE, completed.end(), [](auto& s) { return s.starts_with("CE"); }));
  auto pos = [&](const char* text) { return std::find(completed.begin(), completed.end(), text) - completed.begin(); };
  EXPECT_LT(pos("BCE 1000 b."), pos("BCE 443 a.")) << "texts, not years, are compared";

  // Right and middle buttons sort too; column 0 goes on from descending to ascending.
  Release(0, 0, TMouseButton::mbRight);
  EXPECT_EQ(Column(0), names);
  Release(3, 0, TMouseButton::mbMiddle);
  EXPECT_TRUE(Ordered(Column(3), false));

  EXPECT_EQ(Row(0), header);
  EXPECT_EQ(AllRows(), original) << "rows travel whole";
}

TEST_F(BookWindowTest, ReleasesOutsideTheHeadingDoNothingAndASortRestoresCursorAndRedraw) {
  const auto before = Column(0);
  Release(0, 5);
  Release(2, 30);
  Grid->PeerMouseUp(TMouseButton::mbLeft, 0, 5, 5000);
  EXPECT_EQ(Column(0), before);
  EXPECT_TRUE(Headless::CursorChanges().empty());

  Grid->SetRowHeights(3, 40);
  Release(1, 0);
  EXPECT_EQ(Headless::CursorChanges(), (std::vector<TCursor>{crHourGlass, crDefault}));
  EXPECT_FALSE(Grid->RedrawLocked());
  EXPECT_EQ(Grid->RowHeights(3), Grid->DefaultRowHeight());
}

TEST_F(BookWindowTest, CellObjectsTravelWithTheirRows) {
  TObject marker;
  int genesis = 1;
  Grid->SetObjects(2, genesis, &marker);
  Release(0, 0);
  Release(0, 0);
  int found = -1;
  for (int r = 1; r < Grid->RowCount(); ++r)
    if (Grid->Objects(2, r) == &marker) found = r;
  ASSERT_NE(found, -1);
  EXPECT_EQ(Grid->Cells(0, found), "Genesis");
}

TEST_F(BookWindowTest, PrintButtonReachesTheComponentAndItsErrorsReachTheErrorBox) {
  Form->VlxVellumix1->SetObjectToPrint(nullptr);
  Form->btnPrint->PeerClick();
  ASSERT_EQ(Headless::ErrorBoxes().size(), 1u);
  EXPECT_EQ(Headless::ErrorBoxes()[0],
            "Vellumix! Setup Error: VlxVellumix1.ObjectToPrint not assigned. Report cannot continue.");
  EXPECT_EQ(Row(1)[0], "Genesis") << "the table is unchanged";
}

TEST_F(HeadlessTest, CloseButtonOfTheMainWindowEndsTheProgram) {
  TfrmVersora* main = nullptr;
  Application->CreateForm(main);
  EXPECT_EQ(Application->MainForm(), main);
  main->btnClose->PeerClick();
  EXPECT_TRUE(Application->Terminated());
  delete main;
}
