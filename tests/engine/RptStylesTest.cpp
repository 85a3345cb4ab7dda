#include "engine/VLMXGbl/RptStyles.h"

#include "engine/VLMXGbl/ObjInfo.h"
#include "engine/VLMXGbl/PrintSettings.h"
#include "engine/VLMXGbl0.h"
#include "engine/Vellumix/ReportSettings.h"
#include "framework/headless/Printers.h"
#include "tests/engine/RunFixture.h"
#include "tests/support/HeadlessFixture.h"

namespace {

// Styles of a run of a 10-column object: 2 fixed columns, 1 trailing column, title rows, one
// totals line, character output.
class StylesTest : public RunTest {
protected:
  void SetUp() override {
    RunTest::SetUp();
    PS->Canvas = &Canvas;
    Info.ColsList = std::make_unique<TColsList>();
    for (int I = 0; I < 10; ++I) Info.ColsList->Add(std::make_unique<TColsListData>());
    PS->FixedColCount = 2;
    Info.TrailingCols = 1;
    Info.FixedRows = 1;
    Info.TotalLines = 1;
    Settings.OutputQuality = 0;  // character output
  }
  void DrawnOutput() { Settings.OutputQuality = 2; }

};

}  // namespace

TEST_F(StylesTest, ColumnsFallIntoTheirZones) {
  struct Case { int Col; uint8_t Band, Region; };
  const Case Cases[] = {{0, 1, 5}, {1, 2, 8}, {2, 2, 9}, {8, 1, 6}, {9, 3, 13}, {-1, 2, 10}};
  for (const Case& C : Cases) {
    uint8_t Region = 0;
    Styles.CnvtColNdxToRegNdx(C.Col, C.Band, Region);
    EXPECT_EQ(Region, C.Region) << C.Col;
  }
  const std::pair<int, int> Zones[] = {{-7, -7}, {0, 1}, {2, 8}, {9, 9}};  // zone 0: left alone
  for (uint8_t Zone = 0; Zone <= 3; ++Zone) {
    int First = -7, Last = -7;
    Styles.GetZoneColumns(Zone, First, Last);
    EXPECT_EQ(std::make_pair(First, Last), Zones[Zone]) << int(Zone);
  }
}

TEST_F(StylesTest, FillsFallBackToTheRegionsCatchAll) {
  TFillStyleEntry& CatchAll = Styles.FillStyleList.Add(TRptStyles::MakeStyleKey(12, 1, 0));
  CatchAll.FillOn = true;
  CatchAll.Brush.SetColor(clYellow);
  EXPECT_EQ(Styles.GetBrush(true, 12, 3, true), &CatchAll.Brush);
  EXPECT_EQ(Styles.GetBrush(true, 12, 3, false), nullptr);
  EXPECT_EQ(Styles.GetBrush(false, 12, 0, true), nullptr);
  EXPECT_EQ(Styles.GetBrush(true, 9, 0, true), nullptr);

  Styles.ApplyBrush(true, 12, 2, true);
  EXPECT_EQ(Canvas.Brush().Color(), clYellow);
  EXPECT_EQ(Canvas.Brush().Style(), TBrushStyle::bsSolid);
  Styles.ApplyBrush(false, 12, 2, true);
  EXPECT_EQ(Canvas.Brush().Style(), TBrushStyle::bsClear);

  CatchAll.FillOn = false;  // an entry without fill paints nothing
  EXPECT_EQ(Styles.GetBrush(true, 12, 0, false)->Style(), TBrushStyle::bsClear);

  std::string StyleName = "Corporate";
  EXPECT_TRUE(Styles.LoadStyles(StyleName));
  EXPECT_EQ(StyleName, "");
  EXPECT_EQ(Styles.FillStyleList.Count(), 0);
  DrawnOutput();
  EXPECT_FALSE(Styles.LoadStyles(StyleName));
}

TEST_F(StylesTest, LineKindsFollowTheRowBeingComposed) {
  struct Case {
    bool Borders, Shared, Vertical, GrpBrkRow, PageTop, EdgePending;
    uint8_t Band;
    TLineKind Kind;
    bool AsBorder, On;
    TLineKind KindAfter;
  };
  // A row rule at the top of a page turns into the band's top edge; sharing borders, only the
  // page top turns it.
  const Case Cases[] = {
      {true, false, false, false, true, true, 2, lkRowRule, false, true, lkTopEdge},
      {false, false, false, false, true, true, 2, lkRowRule, false, false, lkRowRule},
      {true, true, false, false, false, true, 2, lkRowRule, false, true, lkRowRule},
      {false, false, false, true, false, false, 2, lkRowRule, false, true, lkRowRule},
      {false, false, false, true, false, false, 2, lkGrpBrkRule, false, true, lkGrpBrkRule},
      {false, false, false, true, true, false, 2, lkGrpBrkRule, false, false, lkGrpBrkRule},
      {true, false, false, false, false, false, 1, lkColSep, true, true, lkColSep},
  };
  for (const Case& C : Cases) {
    const int Row = static_cast<int>(&C - Cases);
    PS->Borders = C.Borders;
    PS->ShareAdjBorders = C.Shared;
    PS->VerticalLines = C.Vertical;
    PS->GrpBrkRow = C.GrpBrkRow;
    PS->PageTop = C.PageTop;
    PS->EdgePending = C.EdgePending;
    TLineKind Kind = C.Kind;
    EXPECT_EQ(Styles.IsLineKindOn(C.Band, Kind, C.AsBorder), C.On) << "case " << Row;
    EXPECT_EQ(Kind, C.KindAfter) << "case " << Row;
  }
}

TEST_F(StylesTest, RegionsArePresentWhenTheObjectHasThem) {
  const auto Present = [&] {
    std::string Regions;
    for (uint8_t Region = 0; Region <= 18; ++Region)
      if (Styles.IsRegionPresent(Region)) Regions += std::to_string(Region) + " ";
    return Regions;
  };
  EXPECT_EQ(Present(), "5 7 8 9 10 ");
  Settings.SetItemOpt(ioColumnTitles, true);
  EXPECT_EQ(Present(), "5 6 7 8 9 10 ");
  PS->PageMode = pmLayoutOnly;  // shows the totals line without the option
  EXPECT_EQ(Present(), "5 6 7 8 9 10 12 13 ");
  PS->PageMode = pmPrint;
  Settings.SetItemOpt(ioColumnTotals, true);
  EXPECT_EQ(Present(), "5 6 7 8 9 10 11 12 13 ");
  // The report footer memo is region 17.
  Settings.RptMemo(RptFtr)->Text = "The end";
  Settings.RptMemo(RptFtr)->Visible = true;
  EXPECT_EQ(Present(), "5 6 7 8 9 10 11 12 13 17 ");

  // An object without rows, fixed or trailing columns still has its data body.
  PS->FixedColCount = 0;
  Info.FixedRows = Info.TrailingCols = Info.TotalLines = 0;
  Info.ColsList.reset();
  EXPECT_EQ(Present(), "9 17 ");
}

TEST_F(StylesTest, ApplyFontPutsTheTextFontOnTheCanvas) {
  Settings.TextFontName = "Letter Gothic Line";
  Settings.TextFontSize = 12;
  Settings.TextFontStyle = 8 | 4;
  Settings.TextFontColor = clNavy;
  PS->WorkFontSize = 9;  // the run's size, not the stored one
  ASSERT_TRUE(Styles.ApplyFont(false));
  const TFont& Font = Canvas.Font();
  EXPECT_EQ(Font.Name(), "Letter Gothic Line");
  EXPECT_EQ(Font.Size(), 9);
  EXPECT_EQ(Font.Pitch(), TFontPitch::fpFixed);
  EXPECT_EQ(Font.Style(), fsBold | fsItalic);
  EXPECT_EQ(Font.Color(), clNavy);

  // Text on a brush of its own colour is inverted so that it shows.
  Canvas.Brush().SetColor(clNavy);
  ASSERT_TRUE(Styles.ApplyFont(true));
  EXPECT_EQ(Canvas.Font().Color(), clNavy ^ 0xFFFFFF);

  DrawnOutput();
  Canvas.Font().SetName("Arial");
  EXPECT_FALSE(Styles.ApplyFont(false));
  EXPECT_EQ(Canvas.Font().Name(), "Arial");
}
