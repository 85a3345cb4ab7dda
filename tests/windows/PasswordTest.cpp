#include "windows/VLMXPw/VLMXPw.h"

#include <random>
#include <vector>

#include "framework/Dialogs.h"
#include "framework/ExtCtrls.h"
#include "framework/StdCtrls.h"
#include "engine/VLMXGbl/RunUI.h"
#include "framework/Buttons.h"
#include "framework/headless/Printers.h"
#include "tests/support/HeadlessFixture.h"
#include "windows/VLMXMain/VLMXMain.h"
#include "windows/VLMXPrev/VLMXPrev.h"
#include "tests/support/ReportHostFixture.h"

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
        // Clicked, Ok has the focus; a wrong password hands it back to the edit for the next try.
        W.edOk->SetFocus();
        W.edOk->PeerClick();
        Seen.Status.push_back(W.paStatus->Caption());
        Seen.Red = Seen.Red || (W.paStatus->Color() == clRed && W.paStatus->Font().Color() == clWhite);
        if (W.ModalResult() != mrNone) return;
        EXPECT_EQ(W.ActiveControl(), W.edPassword);
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

// ---- Every way into a print, crossed with every answer at each prompt ------------------------

namespace {

enum class TAnswer { Right, ThreeWrong, Cancel, Close };
enum TKind { Rpt, Opt };

}  // namespace

class PasswordPathsTest : public ReportHostTest {};

// A model of the start decides which prompts come, in which order, and how the call ends; the
// real windows must ask exactly those, print what was allowed, and leave nothing open.
TEST_F(PasswordPathsTest, EachPasswordIsAskedWhereItGuardsAndOncePerPrint) {
  Grid->SetColCount(2);
  Grid->SetRowCount(3);
  for (int R = 0; R < 3; ++R)
    for (int C = 0; C < 2; ++C) Grid->SetCells(C, R, std::to_string(R * 10 + C));
  const std::string Prompt[] = {"Enter Report Password:", "Enter Report Options Password:"};
  const std::string Violation[] = {"Vellumix! Setup Error: Report Password Violation",
                                   "Vellumix! Setup Error: Report Options Password Violation"};
  const std::string DueToErrors = "Vellumix! Setup Error: Due to errors, the report: \"Books\" cannot be printed.";
  std::mt19937 Random(26);
  for (int Trial = 0; Trial < 160; ++Trial) {
    const auto Coin = [&] { return Random() % 2 == 1; };
    const bool Pw[] = {Coin(), Coin()}, ShowOpts = Coin(), PreviewFirst = Coin(), CtrlShift = Coin(),
               BadField = Coin();
    std::vector<TAnswer> Answers;
    for (int I = 0; I < 6; ++I) Answers.push_back(static_cast<TAnswer>(Random() % 4));
    const std::string Name = "trial " + std::to_string(Trial);

    // The model.
    std::vector<std::string> Prompts, Warnings, Errors;
    bool Cached[] = {false, false};
    size_t Next = 0;
    const auto Ask = [&](TKind K) {
      if (!Pw[K] || Cached[K]) return true;
      Prompts.push_back(Prompt[K]);
      return Cached[K] = Answers[Next++] == TAnswer::Right;
    };
    size_t Documents = 0;
    bool WindowShown = false;
    [&] {
      const auto Stop = [&](TKind K) {
        Warnings.push_back(Violation[K]);
        Errors.push_back(DueToErrors);
      };
      if (BadField && !Ask(Opt)) return Stop(Opt);
      const bool First = PreviewFirst && !CtrlShift && !BadField;
      if (First && !Ask(Rpt)) return Stop(Rpt);
      if (First) return;  // the preview is closed without asking for the options
      if (ShowOpts || CtrlShift || BadField) {
        if (!Ask(Opt)) return Stop(Opt);
        WindowShown = true;
        for (int Click = 0; Click < 2; ++Click) {
          if (!Ask(Rpt)) Errors.push_back(Violation[Rpt] + ".");  // the error box ends its sentence
          else if (!BadField) ++Documents;
        }
        return;
      }
      if (!Ask(Rpt)) return Stop(Rpt);
      ++Documents;
    }();

    // The real windows.
    Headless::Reset();
    Headless::SetKeyboardShiftState(CtrlShift ? ssCtrl | ssShift : 0);
    std::vector<std::string> Lines = {"DisplayProgressWin=0", "PauseAfterPrinting=0", "NumFixedCols=0",
                                      "OutputQuality=0", "TxtCharsPageWid=80", "CloseWinAfterPrinting=0"};
    Lines.push_back(std::string("DisplayReportOptionsWin=") + (ShowOpts ? "1" : "0"));
    Lines.push_back(std::string("PreviewFirst=") + (PreviewFirst ? "1" : "0"));
    if (Pw[Rpt]) Lines.push_back("RptPW=secret");
    if (Pw[Opt]) Lines.push_back("RptOptPW=Opens");
    if (BadField) Lines.push_back("MaxStringLines=21000");
    Section(Lines);
    std::vector<std::string> Seen;
    size_t Given = 0;
    bool Shown = false;
    Headless::SetModalHandler([&](TCustomForm& Form) {
      if (fmVlxPassword && &Form == fmVlxPassword) {
        TfmVlxPassword& W = *fmVlxPassword;
        Seen.push_back(W.lbPWPrompt->Caption());
        const TAnswer A = Given < Answers.size() ? Answers[Given++] : TAnswer::Cancel;
        const std::string Right = Seen.back() == Prompt[Rpt] ? "SECRET" : "opens";
        switch (A) {
          case TAnswer::Right:
            W.edPassword->PeerTextEdited(Right);
            return W.edOk->PeerClick();
          case TAnswer::ThreeWrong:
            for (int I = 0; I < 3 && W.ModalResult() == mrNone; ++I) {
              W.edPassword->PeerTextEdited(Right + " ");
              W.edOk->PeerClick();
            }
            return;
          case TAnswer::Cancel: return W.edCancel->PeerClick();
          case TAnswer::Close: return W.PeerCloseRequested();
        }
      }
      if (&Form != fmVlxMain) return Form.SetModalResult(mrCancel);
      Application->ProcessMessages();
      if (Form.ModalResult() != mrNone || Form.Top() == -5000) return;
      Shown = true;
      for (int Click = 0; Click < 2; ++Click) {
        fmVlxMain->sbPrint->PeerClick();
        Application->ProcessMessages();
      }
      if (Form.ModalResult() == mrNone) {
        RptSettings->Modified = false;
        Form.SetModalResult(mrCancel);
      }
    });
    Vlx->Print();
    EXPECT_EQ(Seen, Prompts) << Name;
    EXPECT_EQ(Shown, WindowShown) << Name;
    EXPECT_EQ(Headless::PrintedDocuments().size(), Documents) << Name;
    std::vector<std::string> Warned;
    for (const auto& Box : Headless::MessageBoxes())
      if (Box.Flags == MsgBox::IconWarning && Box.Text != "Too many password violations") Warned.push_back(Box.Text);
    EXPECT_EQ(Warned, Warnings) << Name;
    EXPECT_EQ(Headless::ErrorBoxes(), Errors) << Name;
    EXPECT_EQ(fmVlxMain, nullptr) << Name;
    EXPECT_EQ(fmVlxPassword, nullptr) << Name;
    EXPECT_EQ(PasswordCache.RptPW + PasswordCache.RptOptPW + PasswordCache.RptSetUpPW, "") << Name;
  }
}
