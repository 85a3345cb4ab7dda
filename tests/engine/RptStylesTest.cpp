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
