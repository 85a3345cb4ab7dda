#include "windows/VLMXPrev/PrvwPageList.h"

#include <iterator>
#include <limits>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "framework/DB.h"
#include "framework/rtl/StringList.h"
#include "tests/engine/RunFixture.h"
#include "tests/support/GoldenReports.h"
#include "tests/support/TempDir.h"

namespace {

using TPage = std::pair<int, int>;  // {page across, vertical page}

class RestartPointsTest : public RunTest {
protected:
  void SetUp() override {
    RunTest::SetUp();
    Info.ObjType = otStringGrid;
    Info.RowsInMemory = true;
  }
  // A restart point of page Y recorded with the run standing on row Row.
  void AddAt(TPrvwPageList& List, int X, int Y, int Row) {
    Info.CurCell = {0, Row};
    PS->RecordCounter = Row * 10;
    Info.SelRowNdx = Row + 100;
    List.AddPage({X, Y}, false);
  }
};

TEST_F(RestartPointsTest, FindsAndAddsOnePointPerPage) {
  TPrvwPageList List;
  for (int Page : {1, 2, 4, 4}) AddAt(List, 1, Page, Page);
  const struct {
    int Page;
    bool NearestBelow;
    int Index;
  } Cases[] = {{5, true, 2}, {5, false, -1}, {3, true, 1}, {3, false, -1}, {4, false, 2},
               {2, true, 1}, {1, true, 0},   {0, true, -1}, {std::numeric_limits<int>::max(), true, 2}};
  for (const auto& C : Cases)
    EXPECT_EQ(List.FindPage(C.Page, C.NearestBelow), C.Index) << C.Page << " " << C.NearestBelow;
  EXPECT_EQ(TPrvwPageList().FindPage(1, true), -1);

  // Looking up first keeps one point per page; the point of a page not composed across yet has
  // no highest page across.
  Info.CurCell = {0, 99};
  List.AddPage({2, 2}, true);
  ASSERT_EQ(List.Count(), 4);
  EXPECT_EQ(List.Items(1)->SavedCell.Y, 2);
  List.AddPage({-1, 6}, true);
  ASSERT_EQ(List.Count(), 5);
  EXPECT_EQ(List.Items(4)->HighestPanel, -1);
  EXPECT_EQ(List.Items(0)->HighestPanel, 1);
}

TEST_F(RestartPointsTest, KeepsPreviousValuesAndBookmarksOnlyWhereThereAreAny) {
  const TPrevValues North = {{true, "North", 3}, {true, "Hill", 3}};
  const TPrevValues Later = {{true, "West", 40}, {}};
  auto* DataSet = new TDataSet(nullptr);
  std::unique_ptr<TDataSet> Owned(DataSet);
  DataSet->FieldDefs().Add("Name", ftString, 10);
  DataSet->Open();
  for (const char* Name : {"a", "b", "c"}) DataSet->AppendRecord({std::string(Name)});
  for (const int GrpBrkCols : {0, 2}) {
    for (const bool OnDataSet : {false, true}) {
      Settings.NumGrpBrkCols = GrpBrkCols;
      Info.DataSet = OnDataSet ? DataSet : nullptr;
      Info.RowsInMemory = !OnDataSet;
      TPrvwPageList List;
      Info.PrevValues = North;
      DataSet->First();
      DataSet->Next();
      List.AddPage({1, 1}, false);
      EXPECT_EQ(List.Items(0)->PrevValues.has_value(), GrpBrkCols > 0);
      EXPECT_EQ(List.Items(0)->Bookmark.empty(), !OnDataSet);

      Info.PrevValues = Later;
      DataSet->Last();
      TPoint Page{1, 1};
      bool Exact = false;
      ASSERT_TRUE(List.RestorePage(Page, false, Exact));
      EXPECT_EQ(Info.PrevValues, GrpBrkCols > 0 ? North : Later);
      EXPECT_EQ(DataSet->FieldByName("Name")->AsString(), OnDataSet ? "b" : "c");
    }
  }
}

// The same page, composed once in a run through the whole report and once alone from its
// restart point, reads the same: the restart point holds everything a page is composed from.
// The pages are the preview's: its run composes one page at a time and goes back over them.
class RestartCompositionTest : public HeadlessTest {
protected:
  // What the preview's text box shows: the lines of the page last composed.
  class TPageText : public TvlxPreviewText {
  public:
    std::string Text;
    void ShowPage(const TStrings& Lines) override { Text = Lines.Text(); }
  };

  // The preview's moves over the report: the run restarted, and a page composed on every move.
  class TPreview {
  public:
    explicit TPreview(GoldenReports::TReport& R) : Report(R), Run(R.Run) {
      Run.Sink = PreviewPageSink(Shown);
      Run.PageMode = pmPreview;
      PreviewStartReport();
    }
    ~TPreview() { Run.Sink.reset(); }

    std::string GoToPage(TPreviewMove Move) {
      PreviewGoToPage(PageList, Move, LastTotalsRow, Exact);
      return Shown.Text;
    }

    TPageText Shown;
    GoldenReports::TReport& Report;
    TvlxPrintSettings& Run;
    TPrvwPageList PageList;
    bool Exact = false;
    int LastTotalsRow = 0;
  };
};

TEST_F(RestartCompositionTest, EveryPageComposedAloneFromItsRestartPoint) {
  // Three pages across, two group-break columns repeated on each, totals at every break level.
  const GoldenReports::TCase Case{
      "restart",
      GoldenReports::TSource::Numbers,
      {"OutputQuality=0", "PauseAfterPrinting=0", "DisplayProgressWin=0", "HideColumns=",
       "TxtCharsPageWid=40", "NumFixedCols=3", "LinesPerpage=30", "NumGrpBrkCols=2"},
      {{PgTi, "BRANCH SALES"}, {PgNum, "\r^P"}},
      {{"Col#3", 0, tkSum}, {"Col#5", 0, tkSum}, {"Col#3", 1, tkSum}, {"Col#5", 2, tkSum}}};
  GoldenReports::TReport Report(Case);
  TTempDir Dir;
  // The setup window's start and the columns measured, as before the preview opens.
  ASSERT_EQ(Report.Print(Dir / "report.txt"), 1);
  ASSERT_GE(Report.Run.PagesAcross, 3);

  TPreview Preview(Report);
  std::map<TPage, std::string> Pages;
  std::vector<TPage> Order;
  while (!PreviewAtReportEnd() && Order.size() < 200) {
    const std::string Text = Preview.GoToPage(gpNext);
    Order.emplace_back(Report.Run.CurPageAcross, Report.Run.CurVertPage);
    Pages[Order.back()] = Text;
  }
  ASSERT_TRUE(PreviewAtReportEnd());
  const int LastPage = Order.back().second;
  ASSERT_GE(LastPage, 4);
  EXPECT_EQ(Preview.PageList.Count(), LastPage);
  // The report really breaks groups at a page's top and prints its totals at the end.
  const std::string& SecondPage = Pages[{1, 2}];
  EXPECT_NE(SecondPage.find("| *"), std::string::npos) << SecondPage;
  std::string LastSheets;
  for (int Across = 1; Across <= Report.Run.PagesAcross; ++Across) LastSheets += Pages[{Across, LastPage}];
  EXPECT_NE(LastSheets.find("18810.37"), std::string::npos) << LastSheets;

  // Backwards from the last page with the preview's Previous, then each page again by number.
  for (auto Page = std::next(Order.rbegin()); Page != Order.rend(); ++Page) {
    EXPECT_EQ(Preview.GoToPage(gpPrevious), Pages[*Page]) << "page " << Page->first << "-" << Page->second;
    EXPECT_EQ(TPage(Report.Run.CurPageAcross, Report.Run.CurVertPage), *Page);
  }
  for (const TPage& Page : Order) {
    Report.Run.CurPageAcross = Page.first;
    Report.Run.CurVertPage = Page.second;
    EXPECT_EQ(Preview.GoToPage(gpSame), Pages[Page]) << "page " << Page.first << "-" << Page.second;
    EXPECT_TRUE(Preview.Exact);
  }
  // The first page and the last-page search go to the nearest known page at or below theirs.
  for (const auto& [Asked, Found] : {std::pair{1, 1}, std::pair{std::numeric_limits<int>::max(), LastPage}}) {
    TPoint Page{1, Asked};
    bool Exact = false;
    ASSERT_TRUE(Preview.PageList.RestorePage(Page, true, Exact));
    EXPECT_EQ(Report.Run.CurVertPage, Found);
    EXPECT_EQ(Preview.GoToPage(gpSame), (Pages[{1, Found}]));
  }

  // A page printed from the preview starts on its restart point and prints what the preview
  // showed: the repeat marks of its first row and the totals of the whole report.
  Report.Settings.PrintWhat = pwPageRange;
  Report.Settings.OutputFileName = Dir / "preview-range.txt";
  for (const TPoint Page : {TPoint{1, LastPage}, TPoint{2, LastPage}}) {
    SetPreviewPageRange(&Preview.PageList, pwPageRange, Page, Page);
    EXPECT_FALSE(Report.Run.AllPages);
    ASSERT_EQ(Report.Run.Execute(false), 1);
    std::string Printed = FileBytes(Dir / "preview-range.txt");
    std::erase(Printed, '\f');
    EXPECT_EQ(Printed, Pages[TPage(Page.X, Page.Y)] + "\r\n") << Page.X;
  }
}

}  // namespace
