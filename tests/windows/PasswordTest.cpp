#include "windows/VLMXPw/VLMXPw.h"

#include <vector>

#include "framework/Dialogs.h"
#include "framework/ExtCtrls.h"
#include "framework/StdCtrls.h"
#include "tests/support/HeadlessFixture.h"

namespace {

// What the user does in the window: type Text then press Ok, press Cancel, or close it.
enum class TPress { Ok, Cancel, Close };
struct TStep {
  const char* Text;
  TPress Press;
};

// What the window showed, read while it was up.
struct TSeen {
  std::string Caption, Prompt, StatusBefore;
  std::vector<std::string> Status;  // after each Ok
  bool Red = false;                 // the status line turned red with white text
};

}  // namespace

class PasswordTest : public HeadlessTest {};

TEST_F(PasswordTest, AskReportPasswordOnEveryPath) {
  struct Case {
    const char* Name;
    const char* Password;
    const char* Cached;
    bool ChangeMode;
    std::vector<TStep> Steps;  // empty: no window may show
    bool Result;
    const char* CachedAfter;
    std::vector<std::string> Status;
    int Beeps;
    bool TooMany;
  };
  const std::string Wrong = "Password is Incorrect";
  const Case Cases[] = {
      {"no password set", "", "", false, {}, true, "", {}, 0, false},
      {"cache matches in another case", "Secret", "sECRET", false, {}, true, "sECRET", {}, 0, false},
      {"right one in another case", "Secret", "", false, {{"SECRET", TPress::Ok}}, true, "SECRET", {""}, 0, false},
      {"stale cache is asked again", "Secret", "old", false, {{"secret", TPress::Ok}}, true, "secret", {""}, 0, false},
      {"wrong then right", "Secret", "", false, {{"nope", TPress::Ok}, {"Secret", TPress::Ok}}, true, "Secret",
       {Wrong, Wrong}, 1, false},
      {"trailing blank is wrong", "Secret", "", false, {{"Secret ", TPress::Ok}, {"", TPress::Cancel}}, false, "",
       {Wrong}, 1, false},
      {"cancel", "Secret", "", false, {{"Secret", TPress::Cancel}}, false, "", {}, 0, false},
      {"closed", "Secret", "", false, {{"Secret", TPress::Close}}, false, "", {}, 0, false},
      {"right at the third try", "Secret", "x", false, {{"a", TPress::Ok}, {"b", TPress::Ok}, {"Secret", TPress::Ok}},
       true, "Secret", {Wrong, Wrong, Wrong}, 2, false},
      {"too many", "Secret", "x", false, {{"a", TPress::Ok}, {"b", TPress::Ok}, {"c", TPress::Ok}}, false, "x",
       {Wrong, Wrong, Wrong}, 3, true},
      {"change mode takes a blank", "Secret", "Secret", true, {{"", TPress::Ok}}, true, "", {"Leave blank to remove password"},
       0, false},
      {"change mode takes anything", "", "", true, {{" New1 ", TPress::Ok}}, true, " New1 ",
       {"Leave blank to remove password"}, 0, false},
  };
  const int FormsBefore = Screen->FormCount();
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.Name);
    Headless::Reset();
    std::string Entered = C.Cached;
    int Shown = 0;
    TSeen Seen;
    Headless::SetModalHandler([&](TCustomForm& Form) {
      ++Shown;
      ASSERT_EQ(&Form, fmVlxPassword);
      TfmVlxPassword& W = *fmVlxPassword;
      Seen.Caption = W.Caption();
      Seen.Prompt = W.lbPWPrompt->Caption();
      Seen.StatusBefore = W.paStatus->Caption();
      for (const TStep& S : C.Steps) {
        W.edPassword->PeerTextEdited(S.Text);
        if (S.Press == TPress::Cancel) W.edCancel->PeerClick();
        if (S.Press == TPress::Close) W.PeerCloseRequested();
        if (S.Press != TPress::Ok) return;
        W.edOk->PeerClick();
        Seen.Status.push_back(W.paStatus->Caption());
        Seen.Red = Seen.Red || (W.paStatus->Color() == clRed && W.paStatus->Font().Color() == clWhite);
        if (W.ModalResult() != mrNone) return;
      }
    });
    EXPECT_EQ(AskReportPassword("Books", "Enter Report Password:", C.Password, Entered, C.ChangeMode), C.Result);
    EXPECT_EQ(Entered, C.CachedAfter);
    EXPECT_EQ(Shown, C.Steps.empty() ? 0 : 1);
    if (Shown) {
      EXPECT_EQ(Seen.Caption, "Report: Books");
      EXPECT_EQ(Seen.Prompt, "Enter Report Password:");
      EXPECT_EQ(Seen.StatusBefore, C.ChangeMode ? "Leave blank to remove password" : "");
    }
    EXPECT_EQ(Seen.Status, C.Status);
    EXPECT_EQ(Seen.Red, C.Beeps > 0);
    EXPECT_EQ(Headless::BeepCount(), C.Beeps);
    const auto& Boxes = Headless::MessageBoxes();
    ASSERT_EQ(Boxes.size(), C.TooMany ? 1u : 0u);
    if (C.TooMany) {
      EXPECT_EQ(Boxes[0].Text, "Too many password violations");
      EXPECT_EQ(Boxes[0].Buttons, unsigned(mbCancel));
      EXPECT_EQ(Boxes[0].HelpContext, 0);
    }
    EXPECT_EQ(fmVlxPassword, nullptr);
    EXPECT_EQ(Screen->FormCount(), FormsBefore);
    // Once given, the password is not asked again in the same call.
    if (C.Result && !C.ChangeMode) {
      Shown = 0;
      EXPECT_TRUE(AskReportPassword("Books", "Enter Report Password:", C.Password, Entered, false));
      EXPECT_EQ(Shown, 0);
    }
  }
}
