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

TEST_F(BookWindowTest, WindowColourIsDrawnBlueGreenRedBelow255FromTheClock) {
  std::set<TColor> colours;
  for (int start = 0; start < 20; ++start) {
    TColor c = TfrmVersora(nullptr).Color();
    EXPECT_FALSE(IsSystemColor(c));
    EXPECT_LT(c & 0xFF, 255);
    EXPECT_LT((c >> 8) & 0xFF, 255);
    EXPECT_LT((c >> 16) & 0xFF, 255);
    colours.insert(c);
    Headless::AdvanceClock(1000);
  }
  EXPECT_GT(colours.size(), 15u);
  RandSeed = static_cast<int32_t>(TickCount());
  int blue = Random(255), green = Random(255), red = Random(255);
  EXPECT_EQ(TfrmVersora(nullptr).Color(), RGB(red, green, blue));
}

TEST_F(BookWindowTest, HeadingReleasesSortAscendingThenDescendingPerColumnAndRowsTravelWhole) {
  std::multiset<TRow> original;
  for (int r = 1; r < Grid->RowCount(); ++r) original.insert(Row(r));
  const auto header = Row(0);
  TObject marker;
  Grid->SetObjects(2, 1, &marker);  // on Genesis

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
  EXPECT_EQ(Column(0), std::vector<std::string>(names.rbegin(), names.rend()));

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
  std::multiset<TRow> sorted;
  for (int r = 1; r < Grid->RowCount(); ++r) sorted.insert(Row(r));
  EXPECT_EQ(sorted, original) << "rows travel whole";
  int markedGenesis = 0;
  for (int r = 1; r < Grid->RowCount(); ++r) markedGenesis += Grid->Objects(2, r) == &marker && Row(r)[0] == "Genesis";
  EXPECT_EQ(markedGenesis, 1) << "cell objects travel with their rows";
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

TEST_F(HeadlessTest, CloseButtonOfTheMainWindowEndsTheProgram) {
  TfrmVersora* main = nullptr;
  Application->CreateForm(main);
  EXPECT_FALSE(main->btnClose->Cancel()) << "Esc would end the program";
  main->btnClose->PeerClick();
  EXPECT_TRUE(Application->Terminated());
  delete main;
}
