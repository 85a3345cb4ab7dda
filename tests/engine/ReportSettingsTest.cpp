#include <gtest/gtest.h>

#include "engine/VLMXGbl/Run.h"
#include "engine/VLMXGbl0.h"
#include "engine/Vellumix/ReportSettings.h"
#include "tests/support/HeadlessFixture.h"

using RS = TvlxReportSettings;

TEST(ReportSettings, MemoNamesSnapshotSizesAndPageTexts) {
  for (unsigned Memo = 0; Memo < RptMemoCount; ++Memo)
    EXPECT_EQ(RS::CnvTRegNdxToRptMemoNdx(RS::CnvTRptMemoNdxToRegNdx(Memo)), Memo) << Memo;
  EXPECT_THROW(RS::CnvTRptMemoNdxToRegNdx(8), eVlxIntError);
  for (unsigned Region : {0u, 5u, 13u, 18u}) EXPECT_THROW(RS::CnvTRegNdxToRptMemoNdx(Region), eVlxIntError);
  EXPECT_EQ(RptMemoIndexOfName(RptMemoName(PgNum)), PgNum);
  EXPECT_EQ(RptMemoIndexOfName("Draft"), RptTi);
  EXPECT_EQ(RptMemoName(RptMemoCount), "");

  for (const char* Code : {"CT", "CP", "CS", "MT", "MP", "MS"})
    EXPECT_EQ(RS::PreviewSizeCodeFromText(RS::PreviewSizeText(Code)), Code);
  EXPECT_EQ(RS::PreviewSizeText("M"), "Maximize Window with Print To Fit");
  for (const char* Other : {"", "xq"}) EXPECT_EQ(RS::PreviewSizeText(Other), "Current Window Size with Print To Fit");
  EXPECT_EQ(RS::PreviewSizeCodeFromText("  Single  "), "S?");

  EXPECT_EQ(RS::PairToText({0, 7}), "7");
  EXPECT_EQ(RS::PairToText({2, 7}), "7-2");
  EXPECT_EQ(RS::PairToText({-1, 12}), "12");
}

TEST(ReportSettings, ClampFontSizeAppliesOnlyTheSwitchedOnLimit) {
  RS S;
  S.SmallestFontSize = 6;
  S.LargestFontSize = 20;
  struct Case { bool Shrink, Expand; int Size, Expected; };
  const Case Cases[] = {{false, false, 2, 2}, {false, false, 40, 40}, {true, false, 2, 6}, {true, false, 40, 40},
                        {false, true, 2, 2},   {false, true, 40, 20},   {true, true, 6, 6},  {true, true, 21, 20}};
  for (const Case& C : Cases) {
    S.ShrinkToPage = C.Shrink;
    S.ExpandToPage = C.Expand;
    EXPECT_EQ(S.ClampFontSize(C.Size), C.Expected) << C.Shrink << C.Expand << " " << C.Size;
  }
}

TEST(ReportSettings, MemoVisibleNeedsTextAndOptionallyTheFlag) {
  RS S;
  TvlxRptMemo& Memo = *S.RptMemo(PgHdr);
  Memo.Visible = true;
  EXPECT_FALSE(S.MemoVisible(PgHdr, true));
  Memo.Text = "Header";
  Memo.Visible = false;
  EXPECT_FALSE(S.MemoVisible(PgHdr, true));
  EXPECT_TRUE(S.MemoVisible(PgHdr, false));
  EXPECT_FALSE(S.MemoVisible(RptMemoCount, false));
  S.RptMemos[PgHdr].reset();
  EXPECT_FALSE(S.MemoVisible(PgHdr, false));
}

TEST(ReportSettings, ConvertMarginsToDeviceNeedsARunState) {
  RS S;
  S.PageMarginThous = {250, 500, 1000, 100};
  S.CellMarginThous = {10, 20, 30, 40};
  S.MaxMemoColWidThous = 2000;
  S.MaxStringColWidThous = 1500;
  S.InterPanelGapThous = 250;
  S.RptMemo(PgFtr)->MarginThous = {0, 1000, 0, 500};
  S.ConvertMarginsToDevice();
  EXPECT_EQ(S.PageMarginDev, (TRect{0, 0, 0, 0}));

  TvlxRun Run;
  Run.State.DevResX = 600;
  Run.State.DevResY = 300;
  {
    TvlxRunScope Scope(Run);
    S.ConvertMarginsToDevice();
  }
  // Across at the horizontal resolution, down at the vertical one.
  EXPECT_EQ(S.PageMarginDev, (TRect{150, 150, 600, 30}));
  EXPECT_EQ(S.CellMarginDev, (TRect{6, 6, 18, 12}));
  EXPECT_EQ(S.MaxMemoColWidDev, 1200);
  EXPECT_EQ(S.MaxStringColWidDev, 900);
  EXPECT_EQ(S.InterPanelGapDev, 150);
  EXPECT_EQ(S.RptMemo(PgFtr)->MarginDev, (TRect{0, 300, 0, 150}));
}
