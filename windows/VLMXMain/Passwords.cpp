// The Setup page's security boxes: changing or removing the report, report-options and
// setup-page passwords, and making the settings read-only. A password is only ever replaced
// after the current one was given and the new one typed twice alike.
#include "engine/VLMXUtil.h"
#include "engine/Vellumix/ReportSettings.h"
#include "framework/Dialogs.h"
#include "framework/ExtCtrls.h"
#include "framework/StdCtrls.h"
#include "framework/rtl/SysUtils.h"
#include "windows/VLMXMain/VLMXMain.h"
#include "windows/VLMXPw/VLMXPw.h"

namespace {

constexpr size_t MaxPasswordLength = 10;
constexpr int ReadOnlyNoticeSeconds = 5;

// Sets the box without running its click handler, which would ask for the password again.
void SetCheckedSilently(TCheckBox& Box, bool Checked) {
  TNotifyEvent Saved = std::move(Box.OnClick);
  Box.OnClick = nullptr;
  struct TPutBack {
    TCheckBox& Box;
    TNotifyEvent& Saved;
    ~TPutBack() { Box.OnClick = std::move(Saved); }
  } PutBack{Box, Saved};
  Box.SetChecked(Checked);
}

}  // namespace

bool TfmVlxMain::ChangePassword(const std::string& Label, std::string& Password) {
  const std::string& Title = RptSettings->ReportTitle;
  const auto NotChanged = [&] {
    MessageDlg(Label + " password not changed", TMsgDlgType::mtInformation, mbOK, 0);
    return false;
  };
  std::string Current;
  if (!Password.empty() && !AskReportPassword(Title, "Enter current " + Label + ":", Password, Current, false))
    return NotChanged();
  std::string First;
  bool HaveFirst = false;
  for (;;) {
    std::string Typed;
    const std::string Prefix = HaveFirst ? "Verify " : "Enter ";
    if (!AskReportPassword(Title, Prefix + " New " + Label + ":", "", Typed, true)) return NotChanged();
    Typed = Trim(Typed);
    if (Typed.size() > MaxPasswordLength) {
      MessageDlg("Password cannot be more than 10 characters. Please try again.", TMsgDlgType::mtWarning, mbOK, 0);
      continue;
    }
    if (!HaveFirst && Typed.empty()) {
      MessageDlg(Label + " password has been removed.", TMsgDlgType::mtInformation, mbOK, 0);
      Password.clear();
      break;
    }
    if (!HaveFirst) {
      First = Typed;
      HaveFirst = true;
      continue;
    }
    if (SameText(Typed, First)) {
      MessageDlg("New " + Label + " is now active", TMsgDlgType::mtInformation, mbOK, 0);
      Password = Typed;
      break;
    }
    if (MessageDlg("Passwords do not agree -- try again", TMsgDlgType::mtError, mbOKCancel, 0) != mrOk)
      return NotChanged();
    First.clear();
    HaveFirst = false;
  }
  RptSettings->Modified = true;
  return true;
}

void TfmVlxMain::cbSettingsReadOnlyClick(TObject*) {
  if (FSuppressEvents) return;
  RptSettings->Modified = true;
  if (cbSettingsReadOnly->Checked()) {
    ShowStatusMsg(paMsg, "Report Options will be set to ReadOnly the next time report is run", smkWhite, Timer1,
                  ReadOnlyNoticeSeconds);
    return;
  }
  ShowOutputDestOptions(nullptr, true);
  RptSettings->SettingsReadOnly = false;
  FSettingsReadOnly = false;
}

void TfmVlxMain::BindPasswordHandlers() {
  // Each box: its label, its settings field and the cache field that spares asking again.
  struct TPasswordBox {
    const char* Handler;
    TCheckBox* TfmVlxMain::*Box;
    const char* Label;
    std::string TvlxReportSettings::*Field;
    std::string TPWInfo::*Cached;
  };
  static const TPasswordBox Boxes[] = {
      {"cbRptPWClick", &TfmVlxMain::cbRptPW, "Report Password", &TvlxReportSettings::RptPW, &TPWInfo::RptPW},
      {"cbRptOptPWClick", &TfmVlxMain::cbRptOptPW, "Report Options Password", &TvlxReportSettings::RptOptPW,
       &TPWInfo::RptOptPW},
      {"cbRptSetupPWClick", &TfmVlxMain::cbRptSetupPW, "Setup Page Password", &TvlxReportSettings::RptSetUpPW,
       &TPWInfo::RptSetUpPW},
  };
  for (const TPasswordBox& Row : Boxes)
    PublishedMethod(Row.Handler, TNotifyEvent([this, &Row](TObject*) {
                      if (FSuppressEvents) return;
                      std::string& Password = (*RptSettings).*Row.Field;
                      if (ChangePassword(Row.Label, Password)) PasswordCache.*Row.Cached = Password;
                      SetCheckedSilently(*(this->*Row.Box), !Password.empty());
                    }));
  PublishedMethod("cbSettingsReadOnlyClick",
                  TNotifyEvent([this](TObject* Sender) { cbSettingsReadOnlyClick(Sender); }));
}
