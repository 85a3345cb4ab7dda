#include "windows/VLMXPw/VLMXPw.h"

#include "framework/Dialogs.h"
#include "framework/ExtCtrls.h"
#include "framework/StdCtrls.h"
#include "framework/rtl/SysUtils.h"

TfmVlxPassword* fmVlxPassword = nullptr;
TPWInfo PasswordCache;

namespace {

// The OK presses of the current showing; the third wrong one ends it.
int FailedTries = 0;
constexpr int MaxTries = 3;

}  // namespace

TfmVlxPassword::TfmVlxPassword(TComponent* AOwner) : TForm(AOwner) {
  Published(lbPWPrompt, "lbPWPrompt");
  Published(edPassword, "edPassword");
  Published(edOk, "edOk");
  Published(edCancel, "edCancel");
  Published(paStatus, "paStatus");
  Published(Bevel1, "Bevel1");
  PublishedMethod("FormShow", TNotifyEvent([this](TObject*) { FormShow(); }));
  PublishedMethod("edOkClick", TNotifyEvent([this](TObject*) { edOkClick(); }));
  PublishedMethod("edCancelClick", TNotifyEvent([this](TObject*) { edCancelClick(); }));
  CreateFromLayout("TfmVlxPassword");
}

void TfmVlxPassword::FormShow() {
  FailedTries = 0;
  FOk = false;
  edPassword->SetText("");
  paStatus->SetColor(clBtnFace);
}

void TfmVlxPassword::edOkClick() {
  ++FailedTries;
  if (!FPassword.empty() && !SameText(edPassword->Text(), FPassword)) {
    paStatus->SetColor(clRed);
    paStatus->Font().SetColor(clWhite);
    paStatus->SetCaption("Password is Incorrect");
    Beep();
    // The next try starts from an empty edit, not after the hidden wrong one.
    edPassword->SetText("");
    edPassword->SetFocus();
    if (FailedTries < MaxTries) return;
    MessageDlg("Too many password violations", TMsgDlgType::mtWarning, mbCancel, 0);
    FOk = false;
  } else {
    FOk = true;
  }
  Close();
}

void TfmVlxPassword::edCancelClick() {
  FOk = false;
  Close();
}

void ClearPasswordCache() { PasswordCache = TPWInfo{}; }

bool AskReportPassword(const std::string& ReportTitle, const std::string& Prompt, const std::string& Password,
                       std::string& Entered, bool ChangeMode) {
  if (!ChangeMode && (Password.empty() || SameText(Password, Entered))) return true;
  TFreeWindowOnExit<TfmVlxPassword> Release(fmVlxPassword);
  fmVlxPassword = new TfmVlxPassword(Application);
  TfmVlxPassword& Form = *fmVlxPassword;
  Form.lbPWPrompt->SetCaption(Prompt);
  Form.SetCaption("Report: " + ReportTitle);
  Form.FPassword = ChangeMode ? std::string() : Password;
  Form.paStatus->SetCaption(ChangeMode ? "Leave blank to remove password" : "");
  Form.ShowModal();
  if (Form.FOk) Entered = Form.edPassword->Text();
  return Form.FOk;
}
