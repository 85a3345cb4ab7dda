#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <random>
#include <set>
#include <sstream>

#include "app/BookTable.h"
#include "app/VersoraMain.h"
#include "engine/VLMXGbl/RunUI.h"
#include "framework/headless/IniFiles.h"
#include "framework/rtl/SysUtils.h"
#include "tests/support/HeadlessFixture.h"
#include "tests/support/TempDir.h"
#include "windows/ReportWindows.h"
#include "windows/VLMXMain/VLMXMain.h"

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

// Prints the sorted table through the window's own report component into a text file, then reads
// back the order of the books.
class BookPrintTest : public BookWindowTest {
protected:
  void SetUp() override {
    BookWindowTest::SetUp();
    RegisterReportWindows();
    Headless::SetWindowsDirectory(Dir.Sub("win"));
    Form->VlxVellumix1->SetReportSettingsFileName(Dir / "Books.txt");
    // The setup window opens hidden and starts the run from its message queue; any window still
    // showing afterwards is cancelled and counted.
    Headless::SetModalHandler([this](TCustomForm& F) {
      if (&F == fmVlxMain) Application->ProcessMessages();
      if (F.ModalResult() == mrNone && F.Top() != -5000) {
        Shown.push_back(F.Name());
        F.SetModalResult(mrCancel);
      }
    });
  }
  std::string PrintWith(const std::vector<std::string>& Keys) {
    const bool Export = std::find(Keys.begin(), Keys.end(), "OutputDest=2") != Keys.end();
    const std::string Out = Dir / (Export ? "out.asc" : "out.txt");
    std::filesystem::remove(Out);
    {
      std::ofstream File(Dir / "Books.txt", std::ios::binary);
      File << "[(004.116)]\r\n";
      for (const char* K :
           {"DisplayProgressWin=0", "PauseAfterPrinting=0", "DisplayReportOptionsWin=0", "PreviewFirst=0",
            "NumFixedCols=0", "OutputQuality=0", "HideColumns=~Line#", "TxtCharsPageWid=200", "IfOutputFileExists=0"})
        File << K << "\r\n";
      File << "OutputFileName=" << Out << "\r\n";
      for (const std::string& K : Keys) File << K << "\r\n";
    }
    Form->btnPrint->PeerClick();
    EXPECT_TRUE(Headless::ErrorBoxes().empty()) << Headless::ErrorBoxes().front();
    return FileBytes(Out);
  }
  TTempDir Dir;
  std::vector<std::string> Shown;
};

// The books as the data file holds them: the heading, then one row per book.
std::vector<TRow> BooksFile() {
  std::ifstream File(BOOKS_TSV);
  std::vector<TRow> Rows;
  for (std::string Line; std::getline(File, Line);) {
    TRow& Row = Rows.emplace_back();
    std::stringstream Cells(Line);
    for (std::string Cell; std::getline(Cells, Cell, '\t');) Row.push_back(Cell);
  }
  return Rows;
}

// The table's order after a sort, computed on plain rows: Hoare partitioning with the middle row's
// text as pivot, ordinal comparison, the right part looped; descending reverses the ascending
// result, so equal keys come out in the reverse of the ascending pass's order.
void ModelSort(std::vector<TRow>& Rows, int Column, bool Ascending) {
  std::function<void(int, int)> Sort = [&](int L, int R) {
    int I, J;
    do {
      I = L, J = R;
      const std::string P = Rows[(L + R) / 2][Column];
      do {
        while (CompareStr(Rows[I][Column], P) < 0) ++I;
        while (CompareStr(Rows[J][Column], P) > 0) --J;
        if (I <= J) std::swap(Rows[I++], Rows[J--]);
      } while (I <= J);
      if (L < J) Sort(L, J);
      L = I;
    } while (I < R);
  };
  Sort(1, static_cast<int>(Rows.size()) - 1);
  if (!Ascending) std::reverse(Rows.begin() + 1, Rows.end());
}

// The book names of a text report's data lines, in the order printed: the first cell of each framed
// line that names a book (continuation lines of wrapped cells have it blank).
std::vector<std::string> PrintedNames(const std::string& Text) {
  std::vector<std::string> Names;
  std::stringstream Lines(Text);
  for (std::string Line; std::getline(Lines, Line);) {
    const size_t Bar = Line.find('|');
    if (Bar == std::string::npos || Line.compare(Bar, 2, "|-") == 0) continue;
    const std::string Name = Trim(Line.substr(Bar + 1, Line.find('|', Bar + 1) - Bar - 1));
    if (!Name.empty() && Name != "NAME") Names.push_back(Name);
  }
  return Names;
}

// Random runs of heading releases, each checked against the model sort of the data file; after each,
// the report prints in the order shown: the whole table to a text file and as an export (every row
// whole), the current page from the top row shown, and a block selected after the sort. The current
// cell and the selection stay where they were: a sort moves the books, not the cursor.
TEST_F(BookPrintTest, HeadingReleasesSortLikeTheModelAndEveryPrintFollowsTheShownOrder) {
  const std::vector<TRow> File = BooksFile();
  ASSERT_EQ(File.size(), 67u);
  std::mt19937 Random(1729);
  std::vector<TRow> Model = File;
  std::vector<bool> Asc(5, false);
  const auto Table = [&] {
    std::vector<TRow> Rows;
    for (int R = 0; R < Grid->RowCount(); ++R) Rows.push_back(Row(R));
    return Rows;
  };
  ASSERT_EQ(Table(), File);
  for (int Step = 0; Step < 24; ++Step) {
    const int Column = static_cast<int>(Random() % 5);
    const TMouseButton Button = Step % 3 == 0   ? TMouseButton::mbLeft
                                : Step % 3 == 1 ? TMouseButton::mbRight
                                                : TMouseButton::mbMiddle;
    const int CurRow = 1 + static_cast<int>(Random() % 66), CurCol = static_cast<int>(Random() % 5);
    Grid->SetCol(CurCol);
    Grid->SetRow(CurRow);
    const TGridRect Selection = Grid->Selection();
    Release(Column, 0, Button);
    Asc[Column] = !Asc[Column];
    ModelSort(Model, Column, Asc[Column]);
    SCOPED_TRACE("step " + std::to_string(Step) + " column " + std::to_string(Column) +
                 (Asc[Column] ? " asc" : " desc"));
    ASSERT_EQ(Table(), Model);
    EXPECT_EQ(Grid->Row(), CurRow);
    EXPECT_EQ(Grid->Col(), CurCol);
    EXPECT_EQ(Grid->Selection().Top, Selection.Top);
    EXPECT_EQ(Grid->Selection().Bottom, Selection.Bottom);

    std::vector<std::string> Names;
    for (int R = 1; R < 67; ++R) Names.push_back(Model[R][0]);
    switch (Step % 4) {
      case 0:
        EXPECT_EQ(PrintedNames(PrintWith({"OutputDest=1"})), Names);
        break;
      case 1: {
        std::string Expected;
        for (int R = 0; R < 67; ++R) {
          for (int C = 0; C < 5; ++C) {
            const std::string& Cell = Model[R][C];
            Expected += (C ? "\t" : "") + (R == 0 ? "\"" + Cell + "\"" : Cell);
          }
          Expected += "\r\n";
        }
        EXPECT_EQ(PrintWith({"OutputDest=2"}), Expected);
        break;
      }
      case 2: {
        Grid->SetTopRow(1 + static_cast<int>(Random() % 50));
        const int Top = Grid->TopRow();
        const auto Printed = PrintedNames(PrintWith({"OutputDest=1", "PrintWhat=1"}));
        ASSERT_FALSE(Printed.empty());
        ASSERT_LE(Printed.size(), Names.size() - (Top - 1));
        EXPECT_EQ(Printed,
                  std::vector<std::string>(Names.begin() + (Top - 1), Names.begin() + (Top - 1) + Printed.size()));
        EXPECT_TRUE(Printed.size() == Names.size() - (Top - 1) || Printed.size() > 20) << "one full page";
        break;
      }
      case 3: {
        const int Top = 1 + static_cast<int>(Random() % 60), Bottom = Top + static_cast<int>(Random() % 6);
        Grid->SetSelection(TGridRect{0, Top, 4, Bottom});
        EXPECT_EQ(PrintedNames(PrintWith({"OutputDest=1", "PrintWhat=7"})),
                  std::vector<std::string>(Names.begin() + (Top - 1), Names.begin() + Bottom));
        break;
      }
    }
    EXPECT_EQ(Table(), Model) << "printing leaves the table as it was";
  }
  EXPECT_TRUE(Shown.empty()) << Shown.front();
  std::multiset<TRow> Whole(Model.begin(), Model.end()), Original(File.begin(), File.end());
  EXPECT_EQ(Whole, Original) << "every book once, its cells together";
}
