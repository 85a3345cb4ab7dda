#include "engine/VLMXGbl/Borders.h"

#include "engine/VLMXGbl/LineDraw.h"
#include "engine/VLMXGbl/ObjInfo.h"
#include "engine/VLMXGbl/PrintSettings.h"
#include "engine/VLMXGbl/RptStyles.h"
#include "engine/Vellumix/ReportSettings.h"
#include "framework/headless/Printers.h"
#include "tests/engine/RunFixture.h"
#include "tests/support/HeadlessFixture.h"

namespace {

// Three body columns on one page across, as the layout places them in text units: each cell
// holds its left line and four characters, the last one also its right border.
//   column 0: characters 1..5, column 1: 6..10, column 2: 11..16.
class BordersTest : public RunTest {
protected:
  void SetUp() override {
    RunTest::SetUp();
    Settings.OutputQuality = 0;
    Settings.GridChrsAscii = DefaultGridChrsAscii;
    Settings.GridChrsIbm = DefaultGridChrsIbm;
    Settings.HorizLineFreq = 1;
    Info.KindInRange = true;
    Info.ColsList = std::make_unique<TColsList>();
    const int Widths[] = {5, 5, 6};
    int X = 1;
    for (int I = 0; I < 3; ++I) {
      auto Col = std::make_unique<TColsListData>();
      Col->Printed = true;
      Col->HorzPage = 1;
      Col->Plane = 2;
      Col->XPos = X;
      Col->CellWidth = Widths[I];
      Col->LeftLineWidth = 1;
      Col->LeftLineKind = I == 0 ? lkLeftEdge : lkColSep;
      Col->RightLineKind = I == 2 ? lkRightEdge : lkNone;
      Col->RightLineWidth = I == 2 ? 1 : 0;
      Col->FirstOnPage = Col->FirstOfZone = I == 0;
      Col->LastOnPage = Col->LastOfZone = I == 2;
      X += Widths[I];
      Info.ColsList->Add(std::move(Col));
    }
    PS->UnitSet = usText;
    PS->CurPageAcross = 1;
    PS->PagesAcross = 1;
    PS->PageWidth = 20;
    PS->RptWidth = 16;
    PS->Borders = PS->VerticalLines = PS->HorizontalLines = true;
    PS->PageTop = PS->EdgePending = true;
  }

  // One data row of one text line below its rule line at Top, every column framed as the band
  // rows frame their cells; afterwards the run's row flags move on as they do after a row.
  void FrameRow(int Top) {
    TRowEdgeChars Row;
    for (int I = 0; I < 3; ++I) {
      const TColsListData& Col = *Info.ColsList->Items(I);
      const TRect Cell{Col.XPos, Top, Col.XPos + Col.CellWidth - 1, Top + 1};
      PS->CurCol = I;
      PS->DrawCellBorders(TRect{0, 1, 0, 0}, Cell, PS->ColumnLineFlags(Col), {Col.LeftLineKind, Col.RightLineKind}, 2,
                          Row);
    }
    PS->CellRect.Bottom = Top + 1;
    PS->PageTop = PS->EdgePending = false;
    PS->PrevRowGrpHdr = PS->GrpHdrRow;
    ++PS->RowsSinceRule;
  }
  std::vector<std::string> Lines() const {
    std::vector<std::string> Result;
    for (int I = 0; I < PS->PageLines.Count(); ++I) Result.push_back(PS->PageLines[I]);
    return Result;
  }

};

using TLines = std::vector<std::string>;

}  // namespace

TEST_F(BordersTest, AGroupHeadingRowClosesTheBoxAboveAndTheNextRowOpensOne) {
  Settings.LineDrawSet = 1;
  Settings.SetItemOpt(ioColumnTitles, true);
  Info.FixedRows = 1;
  FrameRow(0);
  PS->GrpHdrRow = true;
  FrameRow(2);
  PS->GrpHdrRow = false;
  FrameRow(4);
  EXPECT_EQ(Lines()[2], "\xC0" + std::string(14, '\xC4') + "\xD9");
  EXPECT_EQ(Lines()[3], std::string(16, ' '));
  EXPECT_EQ(Lines()[4], "\xDA\xC4\xC4\xC4\xC4\xC2\xC4\xC4\xC4\xC4\xC2\xC4\xC4\xC4\xC4\xBF");
  EXPECT_EQ(Lines()[5], "\xB3    \xB3    \xB3    \xB3");
}

TEST_F(BordersTest, GroupSpansFollowTheColumnZones) {
  Info.ColsList->Items(0)->Plane = 1;
  PS->RptLeftOffset = 2;
  PS->CalcGroupSpans();
  EXPECT_EQ(PS->GroupSpans[0].Left, 2);
  EXPECT_EQ(PS->GroupSpans[0].Width, 6);
  EXPECT_EQ(PS->GroupSpans[1].Left, 8);
  EXPECT_EQ(PS->GroupSpans[1].Width, 10);
  EXPECT_EQ(PS->GroupSpans[2].Left, -1);
  EXPECT_EQ(PS->GroupSpans[3].Width, 0);
}
