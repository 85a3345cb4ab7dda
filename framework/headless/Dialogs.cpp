// Headless dialogs, menus and hints: the test's script answers the message dialogs, common
// dialogs and pop-up menus; help requests are recorded; no menu bar or tooltip exists.
#include <deque>

#include "framework/Dialogs.h"
#include "framework/Menus.h"
#include "framework/headless/Headless.h"

namespace {

struct TDialogState {
  std::deque<std::function<bool(TCommonDialog&)>> Answers;
  std::vector<std::string> Shown;
  std::deque<TMenuItem*> PopupChoices;
  std::vector<int> Help;
};

TDialogState& State() {
  static TDialogState state;
  return state;
}

bool Answer(TCommonDialog& Dialog) {
  auto& s = State();
  s.Shown.push_back(Dialog.Name());
  if (s.Answers.empty()) return false;
  auto answer = std::move(s.Answers.front());
  s.Answers.pop_front();
  return answer(Dialog);
}

// The modal result of each button, in the order a dialog shows them.
constexpr std::pair<TMsgDlgBtn, int> ButtonResults[] = {
    {mbYes, mrYes}, {mbNo, mrNo},       {mbOK, mrOk},         {mbCancel, mrCancel},
    {mbAbort, mrAbort}, {mbRetry, mrRetry}, {mbIgnore, mrIgnore}, {mbAll, mrAll},
};

unsigned Icon(TMsgDlgType DlgType) {
  switch (DlgType) {
    case TMsgDlgType::mtWarning: return MsgBox::IconWarning;
    case TMsgDlgType::mtError: return MsgBox::IconStop;
    case TMsgDlgType::mtInformation: return MsgBox::IconInformation;
    case TMsgDlgType::mtConfirmation: return MsgBox::IconQuestion;
    default: return 0;
  }
}

}  // namespace

namespace Headless {
void QueueDialogAnswer(std::function<bool(TCommonDialog&)> Answer) { State().Answers.push_back(std::move(Answer)); }
const std::vector<std::string>& DialogsShown() { return State().Shown; }
void QueuePopupChoice(TMenuItem* Item) { State().PopupChoices.push_back(Item); }
const std::vector<int>& HelpRequests() { return State().Help; }
void ResetDialogs() { State() = {}; }
}  // namespace Headless

namespace Backend {

int MessageDlg(const std::string& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons, int HelpCtx) {
  int first = mrCancel;
  for (auto [button, result] : ButtonResults)
    if (Buttons & button) { first = result; break; }
  const int answer = Headless::TakeAnswer(first);
  bool offered = answer == mrCancel;  // the close box
  for (auto [button, result] : ButtonResults) offered |= (Buttons & button) && result == answer;
  if (!offered)
    throw EAssertionFailed("The message dialog has no button for the answer " + std::to_string(answer) + ": " + Msg);
  Headless::RecordBox({Msg, MessageDlgCaption(DlgType), Icon(DlgType), answer, Buttons, HelpCtx});
  return answer;
}

bool ExecuteFontDialog(TFontDialog& Dialog) { return Answer(Dialog); }
bool ExecuteSaveDialog(TSaveDialog& Dialog) { return Answer(Dialog); }
bool ExecutePrinterSetupDialog(TPrinterSetupDialog& Dialog) { return Answer(Dialog); }

void ShowHelp(const std::string& /*HelpFile*/, int Context) { State().Help.push_back(Context); }
void HintSettingsChanged() {}

std::unique_ptr<TMenuPeer> CreateMainMenuPeer(TMainMenu&, TCustomForm&) { return nullptr; }

TMenuItem* TrackPopupMenu(TPopupMenu& /*Menu*/, int /*X*/, int /*Y*/) {
  auto& choices = State().PopupChoices;
  if (choices.empty()) return nullptr;
  TMenuItem* item = choices.front();
  choices.pop_front();
  return item;
}

int MenuBarHeight() { return 19; }

}  // namespace Backend
