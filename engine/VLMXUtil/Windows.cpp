// Window placement, window sizes kept in an INI file, the wait that keeps the windows alive
// and the coloured status message.
#include <algorithm>
#include <cstdint>

#include "engine/VLMXGbl0.h"
#include "engine/VLMXUtil.h"
#include "framework/ExtCtrls.h"
#include "framework/Forms.h"
#include "framework/IniFiles.h"
#include "framework/rtl/DateUtils.h"

namespace {

// The window class our development environment registers for its main window; a user's
// machine has none.
const char* const DesignEnvClassName = "VersoraDesignEnvironment";

constexpr TColor clAqua = 0xFFFF00;

// Puts one coordinate and its extent inside 0..Screen. The sum is taken in 64 bits: both come
// from an INI file that anyone may edit.
void ClampSpan(int& Start, int& Extent, int Screen) {
  const int64_t S = Start, E = Extent;
  if (S + E <= Screen) return;
  const int64_t NewStart = Screen - E;
  if (NewStart < 0) {
    Extent = static_cast<int>(std::max<int64_t>(E + NewStart, 0));
    Start = 0;
  } else {
    Start = static_cast<int>(NewStart);
  }
}

std::string FormSection(const TCustomForm& Form, const std::string& UserName) {
  return "Form:" + Form.Name() + " User:" + UserName;
}

// Puts a detached handler back however the scope ends.
class THandlerGuard {
public:
  explicit THandlerGuard(TNotifyEvent& Handler) : FHandler(Handler), FSaved(std::move(Handler)) {
    FHandler = nullptr;
  }
  ~THandlerGuard() { FHandler = std::move(FSaved); }
  THandlerGuard(const THandlerGuard&) = delete;
  THandlerGuard& operator=(const THandlerGuard&) = delete;

private:
  TNotifyEvent& FHandler;
  TNotifyEvent FSaved;
};

const struct {
  StatusMsgKind Kind;
  unsigned Sound;  // 0: none
  TColor Color;
  TFontStyles Style;
} StatusLooks[] = {
    {smkWarning, MsgBox::IconInformation, clYellow, fsBold},
    {smkError, MsgBox::IconStop, clRed, fsBold},
    {smkNormal, 0, clBtnFace, 0},
    {smkHighlight, 0, clAqua, 0},
    {smkWhite, 0, clWhite, 0},
};

}  // namespace

void ClampWindowRect(int& Top, int& Left, int& Width, int& Height) {
  const int W = Screen->Width(), H = Screen->Height();
  if (Top < 1) Top = H / 4;
  if (Left < 1) Left = W / 4;
  if (Width < 1) Width = W / 2;
  if (Height < 1) Height = H / 2;
  ClampSpan(Top, Height, H);
  ClampSpan(Left, Width, W);
}

void PlaceForm(TCustomForm* Form, bool Show) {
  if (!Form) return;
  if (!Show) {
    if (Form->Tag > 0) Form->Tag = Form->Top();
    Form->SetTop(-5000);
    return;
  }
  const int W = Screen->Width(), H = Screen->Height();
  if (Form->Tag > 0 && Form->Tag + Form->Top() < H) {
    Form->SetTop(Form->Tag);
    return;
  }
  Form->SetBounds(std::max((W - Form->Width()) / 2, 0), std::max((H - Form->Height()) / 2, 0),
                  Form->Width(), Form->Height());
  Form->Tag = Form->Top();
}

void IniLoadFormSize(const std::string& IniFileName, TCustomForm* Form, const std::string& UserName) {
  if (!Form) return;
  if (IniFileName.empty())
    throw eVlxIntError("[IniLoadFormSize] IniFileName is blank");
  const TIniFile Ini(IniFileName);
  const std::string Section = FormSection(*Form, UserName);
  int Top = Ini.ReadInteger(Section, "Window Top", -1);
  int Left = Ini.ReadInteger(Section, "Window Left", -1);
  int Width = Ini.ReadInteger(Section, "Window Width", -1);
  int Height = Ini.ReadInteger(Section, "Window Height", -1);
  const bool Maximized = Ini.ReadBool(Section, "Window Maximized", false);
  ClampWindowRect(Top, Left, Width, Height);
  {
    THandlerGuard Detached(Form->OnResize);
    Form->SetTop(Top);
    Form->SetLeft(Left);
    Form->SetWidth(Width);
    Form->SetHeight(Height);
    Form->SetWindowState(Maximized ? TWindowState::wsMaximized : TWindowState::wsNormal);
  }
  if (Form->OnResize) Form->OnResize(Form);
}

void IniSaveFormSize(const std::string& IniFileName, TCustomForm* Form, const std::string& UserName) {
  if (!Form) return;
  TIniFile Ini(IniFileName);
  const std::string Section = FormSection(*Form, UserName);
  if (Form->WindowState() == TWindowState::wsNormal) {
    Ini.WriteInteger(Section, "Window Top", Form->Top());
    Ini.WriteInteger(Section, "Window Left", Form->Left());
    Ini.WriteInteger(Section, "Window Width", Form->Width());
    Ini.WriteInteger(Section, "Window Height", Form->Height());
  }
  Ini.WriteBool(Section, "Window Maximized", Form->WindowState() == TWindowState::wsMaximized);
}

bool IsDesignEnvRunning() { return TopLevelWindowExists(DesignEnvClassName); }

void DelayMs(int Ms) {
  const unsigned Start = TickCount();
  long long Elapsed = 0;
  do {
    // Up to one past the limit, since the wait ends when the difference exceeds Ms.
    Application->WaitAndProcess(Elapsed <= Ms ? static_cast<unsigned>(Ms - Elapsed + 1) : 0);
    Elapsed = TickCount() - Start;  // unsigned: right across the wrap of the count
  } while (Elapsed <= Ms);
}

void ShowStatusMsg(TPanel* Panel, const std::string& Text, StatusMsgKind Kind, TTimer* Timer, int Seconds) {
  if (!Panel) return;
  if (Kind == smkNormal && Panel->Color() != clBtnFace && Seconds >= 0) return;
  for (auto& Look : StatusLooks) {
    if (Look.Kind != Kind) continue;
    if (Look.Sound) Beep(Look.Sound);
    Panel->SetColor(Look.Color);
    Panel->Font().SetColor(clBlack);
    Panel->Font().SetStyle(Look.Style);
  }
  Panel->SetCaption("  " + Text);
  Panel->Repaint();
  if (!Timer) return;
  Timer->SetEnabled(false);
  if (Seconds >= 1) {
    Timer->SetInterval(static_cast<unsigned>(Seconds) * 1000);
    Timer->SetEnabled(true);
  }
}
