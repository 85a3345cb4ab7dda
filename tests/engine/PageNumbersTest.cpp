// Page ids: typed ids and their checks, the page-range edits and size labels.
#include <gtest/gtest.h>

#include "engine/VLMXGbl/PageNumbers.h"
#include "engine/VLMXGbl/Run.h"
#include "framework/Forms.h"
#include "framework/StdCtrls.h"
#include "framework/headless/Printers.h"
#include "tests/support/HeadlessFixture.h"

namespace {

class PageNumbersTest : public HeadlessTest {
protected:
  void TearDown() override {
    Headless::ResetPrinters();
    HeadlessTest::TearDown();
  }

  TvlxRun FRun;
  TvlxRunScope FScope{FRun};
  TvlxReportSettings& FSettings = FRun.Settings;
  TvlxPrintSettings& FPS = FRun.State;
};

const std::string InvalidOneAcross = "Page number is invalid\rExamples:\r4";
const std::string InvalidSeveralAcross = "Page number is invalid\rExamples:\r4\r1-3\r5-2";
const std::string OrderMessage = "\"From Page#\" must be less than or equal \"To Page#\"";

}  // namespace

TEST(PageIds, PartsParseAndValidate) {
  // Position: {page across, vertical page} when valid.
  const struct { const char* Text; bool Valid; TPoint Position; const char* Before; const char* After; } Cases[] = {
      {"5", true, {0, 5}, "5", ""},     {"5-2", true, {2, 5}, "5", "2"},
      {"5-", true, {0, 5}, "5", ""},    {"-2", false, {}, "", "2"},
      {"a", false, {}, "a", ""},        {"5-x", false, {}, "5", "x"},
      {"3-1-2", false, {}, "3", "1-2"}, {"", false, {}, "", ""},
      {" 12-3", true, {3, 12}, " 12", "3"}, {"3--2", false, {}, "3", "-2"},
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Text);
    std::string S;
    PageNoPart(C.Text, true, S);
    EXPECT_EQ(S, C.Before);
    PageNoPart(C.Text, false, S);
    EXPECT_EQ(S, C.After);
    EXPECT_EQ(IsValidPageNo(C.Text), C.Valid);
    if (!C.Valid) continue;
    TPoint P{-1, -1};
    ParsePageNo(C.Text, P);
    EXPECT_EQ(P, C.Position);
  }
}

TEST_F(PageNumbersTest, RangeEditsAreCheckedInOrderAndInPageOrder) {
  TForm Form(nullptr);
  auto* From = new TEdit(&Form);
  auto* To = new TEdit(&Form);
  From->SetParent(&Form);
  To->SetParent(&Form);
  Form.Show();
  // Message empty: none.
  const struct { const char* From; const char* To; int PagesAcross; bool Check, Valid; std::string Message;
                 TEdit* Focus; } Cases[] = {
      {"2-1", "2-2", 3, true, true, "", nullptr},   {"2-2", "2-1", 3, true, false, OrderMessage, From},
      {"4", "4", 1, true, true, "", nullptr},
      {"x", "y", 1, true, false, InvalidOneAcross, From},  // the To edit is not looked at then
      {"1", "-2", 3, true, false, InvalidSeveralAcross, To},
      {"x", "y", 1, false, true, "", nullptr},
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE(testing::Message() << C.From << " .. " << C.To);
    Headless::Reset();
    Form.SetActiveControl(nullptr);
    FPS.PagesAcross = C.PagesAcross;
    From->SetText(C.From);
    To->SetText(C.To);
    EXPECT_EQ(ValidatePageRangeEdits(C.Check, From, To), C.Valid);
    EXPECT_EQ(Form.ActiveControl(), C.Focus);
    if (C.Message.empty()) {
      EXPECT_TRUE(Headless::MessageBoxes().empty());
      continue;
    }
    ASSERT_EQ(Headless::MessageBoxes().size(), 1u);
    EXPECT_EQ(Headless::MessageBoxes()[0].Text, C.Message);
    EXPECT_EQ(Headless::MessageBoxes()[0].Flags, MsgBox::Ok | MsgBox::IconWarning);
    // Only the invalid id beeps first.
    EXPECT_EQ(Headless::BeepSounds(), C.Message == OrderMessage ? std::vector<unsigned>{} : std::vector<unsigned>{0});
  }
}

TEST_F(PageNumbersTest, SizeLabelsFollowTheUnitSet) {
  std::string S;
  FPS.UnitSet = usText;
  UnitSuffix(true, S);
  EXPECT_EQ(S, " Lines");
  UnitSuffix(false, S);
  EXPECT_EQ(S, " Chars");
  FmtSizeValue(66, 1, S);
  EXPECT_EQ(S, "66");

  FPS.UnitSet = usDevice;
  FPS.DevResX = 600;
  FPS.DevResY = 300;
  UnitSuffix(true, S);
  EXPECT_EQ(S, "\"");
  const struct { int Value, Axis; const char* Text; } Cases[] = {
      {1200, 0, "2.00"}, {150, 0, "0.25"}, {150, 1, "0.50"}, {-300, 0, "-0.50"}};
  for (const auto& C : Cases) {
    FmtSizeValue(C.Value, C.Axis, S);
    EXPECT_EQ(S, C.Text) << C.Value;
  }
  FPS.DevResX = 0;  // no resolution yet
  FmtSizeValue(1200, 0, S);
  EXPECT_EQ(S, "0.00");
}
