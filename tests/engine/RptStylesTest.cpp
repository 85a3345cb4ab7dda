#include "engine/VLMXGbl/RptStyles.h"

#include "engine/VLMXGbl/ObjInfo.h"
#include "engine/VLMXGbl/PrintSettings.h"
#include "engine/VLMXGbl0.h"
#include "engine/Vellumix/ReportSettings.h"
#include "framework/headless/Printers.h"
#include "tests/engine/RunFixture.h"
#include "tests/support/HeadlessFixture.h"

namespace {

// The styles of a run drawing on a canvas of its own, in character output.
class StylesTest : public RunTest {
protected:
  void SetUp() override {
    RunTest::SetUp();
    PS->Canvas = &Canvas;
    Settings.OutputQuality = 0;
  }
};

}  // namespace

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

  Settings.OutputQuality = 2;  // drawn output keeps the canvas font
  Canvas.Font().SetName("Arial");
  EXPECT_FALSE(Styles.ApplyFont(false));
  EXPECT_EQ(Canvas.Font().Name(), "Arial");
}
