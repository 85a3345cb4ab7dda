// The password window and the one password prompt of the report windows. A password that the
// report settings hold is asked here, and a password entered correctly is kept in the cache
// for the rest of the report call, so that it is not asked again.
#pragma once
#include <string>

#include "framework/Forms.h"

class TBevel;
class TButton;
class TEdit;
class TLabel;
class TPanel;

class TfmVlxPassword : public TForm {
public:
  explicit TfmVlxPassword(TComponent* AOwner);

  TLabel* lbPWPrompt = nullptr;
  TEdit* edPassword = nullptr;
  TButton* edOk = nullptr;
  TButton* edCancel = nullptr;
  TPanel* paStatus = nullptr;
  TBevel* Bevel1 = nullptr;

  // The password the entry must match, without regard to case; empty accepts any entry.
  std::string FPassword;
  // Whether the window ended with an accepted entry.
  bool FOk = false;

private:
  void FormShow();
  void edOkClick();
  void edCancelClick();
};

// The window while it is shown; nullptr otherwise.
extern TfmVlxPassword* fmVlxPassword;

// The passwords entered correctly during one report call; the setup window's end clears them.
struct TPWInfo {
  std::string RptSetUpPW;
  std::string RptPW;
  std::string RptOptPW;
};

extern TPWInfo PasswordCache;
void ClearPasswordCache();

// Asks for Password, titled with the report and showing Prompt. Without ChangeMode no window
// shows when Password is empty or Entered (the caller's cache) already matches it; otherwise
// the result tells whether the user gave the password, and then Entered holds what was typed.
// With ChangeMode the window always shows and accepts any entry, a new password being asked.
// Three wrong entries in one showing end it with "Too many password violations".
bool AskReportPassword(const std::string& ReportTitle, const std::string& Prompt, const std::string& Password,
                       std::string& Entered, bool ChangeMode);
