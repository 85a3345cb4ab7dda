// The user of the report windows, played from a thread timer: Print blocks the test inside the
// windows' modal loops, and the timer's callback runs from whichever loop is running. Each step
// acts or waits and returns true once done; a step that waits too long, or throws, stops the
// script, and every modal window is then cancelled until the run ends. System message boxes are
// closed as they come up and their texts kept.
#pragma once
#include "framework/win32/Win32Handles.h"

#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "app/VersoraMain.h"
#include "engine/VLMXGbl/RunUI.h"
#include "engine/Vellumix/ReportSettings.h"
#include "engine/Vellumix/Vellumix.h"
#include "framework/ComCtrls.h"
#include "framework/Forms.h"
#include "framework/Menus.h"
#include "framework/StdCtrls.h"
#include "tests/e2e/Pump.h"
#include "tests/e2e/Screenshot.h"

class TUserScript {
public:
  using TStep = std::function<bool()>;
  explicit TUserScript(unsigned StepMs = 30000) : FStepMs(StepMs), FSince(GetTickCount()) {
    Current = this;
    FTimer = SetTimer(nullptr, 0, 50, Tick);
  }
  ~TUserScript() {
    KillTimer(nullptr, FTimer);
    Current = nullptr;
  }
  TUserScript(const TUserScript&) = delete;
  TUserScript& operator=(const TUserScript&) = delete;

  void Step(std::string Name, TStep Done) { FSteps.push_back({std::move(Name), std::move(Done)}); }
  // Unnamed steps, numbered in order.
  void Steps(std::vector<TStep> List) {
    for (TStep& Done : List) Step("step " + std::to_string(FSteps.size() + 1), std::move(Done));
  }
  bool Done() const { return FAt == FSteps.size(); }
  // The step that did not finish (with what it threw), or empty.
  std::string Stuck() const { return Done() ? "" : FStuck.empty() ? "waiting at " + FSteps[FAt].first : FStuck; }
  bool Stopped() const { return !FStuck.empty(); }
  // Pumps until every step is done or one is stuck; Stuck().
  std::string Run() {
    PumpUntil([&] { return Done() || !FStuck.empty(); }, 600000);
    return Stuck();
  }

  std::vector<std::string> Boxes;

private:
  static inline TUserScript* Current = nullptr;
  std::vector<std::pair<std::string, TStep>> FSteps;
  size_t FAt = 0;
  unsigned FStepMs;
  DWORD FSince;
  UINT_PTR FTimer = 0;
  bool FBusy = false;
  std::string FStuck;

  static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
    if (Current && !Current->FBusy) {
      Current->FBusy = true;
      Current->Advance();
      Current->FBusy = false;
    }
  }

  void Advance() {
    // A message box; a common dialog (with an edit or a list of its own) is a step's to answer.
    HWND Box = FindWindowA("#32770", nullptr);
    if (Box && IsWindowVisible(Box) && !FindWindowExA(Box, nullptr, "Edit", nullptr) &&
        !FindWindowExA(Box, nullptr, "ComboBox", nullptr)) {
      char Text[1024] = {};
      GetDlgItemTextA(Box, 0xFFFF, Text, sizeof Text);
      Boxes.push_back(Text);
      PostMessageA(Box, WM_COMMAND, IDOK, 0);
      return;
    }
    if (FStuck.empty() && !Done()) {
      try {
        if (FSteps[FAt].second()) {
          ++FAt;
          FSince = GetTickCount();
        } else if (GetTickCount() - FSince > FStepMs) {
          FStuck = FSteps[FAt].first;
        }
      } catch (const std::exception& E) {
        FStuck = FSteps[FAt].first + ": " + E.what();
      }
      if (FStuck.empty()) return;
      SaveWindowScreenshot(GetForegroundWindow(), "stuck");
    }
    if (FStuck.empty()) return;
    // Ends whatever modal window the run waits in, with no question about unsaved options.
    if (RptSettings) RptSettings->Modified = false;
    for (int I = 0; I < Screen->FormCount(); ++I)
      if (Screen->Forms(I)->Visible()) Screen->Forms(I)->SetModalResult(mrCancel);
  }
};

// Writes the component's settings file: its report's section holding Keys.
inline void WriteSettings(TvlxVellumix& Vlx, const std::string& File, const std::string& Keys) {
  Vlx.SetReportSettingsFileName(File);
  std::ofstream(File, std::ios::binary | std::ios::trunc) << "[" << Vlx.ReportId() << "]\r\n" << Keys;
}

// The path with the backslashes that the program's file checks expect.
inline std::string WindowsPath(std::string Path) {
  for (char& C : Path)
    if (C == '/') C = '\\';
  return Path;
}

inline void ClickMiddle(const TControl& Control) {
  PostClick(PeerHandle(Control), Control.Width() / 2, Control.Height() / 2);
}

inline void ClickTab(const TPageControl& Pages, int Index) {
  const HWND Tabs = PeerHandle(Pages);
  PostClick(Tabs, TabPoint(Tabs, Index));
}

// Whether the focus is in the control (or in an edit of its own, as a combo box's).
inline bool HasFocus(const TControl& Control) {
  const HWND Own = PeerHandle(Control), Focus = GetFocus();
  return Own && (Focus == Own || IsChild(Own, Focus));
}

// The form once it is on the screen where the user can see it, else nullptr.
template <class T>
T* Showing(T* Form) {
  return Form && Form->Visible() && PeerHandle(*Form) && IsWindowVisible(PeerHandle(*Form)) && Form->Top() != -5000
             ? Form
             : nullptr;
}

// The program's message dialog on the screen, or nullptr; its text; a click on its button.
inline TCustomForm* MessageDialog() {
  for (int I = 0; I < Screen->FormCount(); ++I)
    if (Screen->Forms(I)->Name() == "MessageDialog" && Showing(Screen->Forms(I))) return Screen->Forms(I);
  return nullptr;
}
// The text as the user reads it: a static window without SS_NOPREFIX shows "&" as an underline.
inline std::string MessageText(TCustomForm& Dialog) {
  auto* Label = dynamic_cast<TLabel*>(Dialog.FindComponent("Message"));
  if (!Label) return "";
  const HWND Shown = PeerHandle(*Label);
  return Shown && !(GetWindowLongA(Shown, GWL_STYLE) & SS_NOPREFIX) ? StripHotkey(Label->Caption()) : Label->Caption();
}
inline void ClickDialogButton(TCustomForm& Dialog, const std::string& Name) {
  if (auto* Button = dynamic_cast<TControl*>(Dialog.FindComponent(Name))) ClickMiddle(*Button);
}

// Types Text as the keyboard does, shifted characters with Shift held.
inline void TypeText(const std::string& Text) {
  for (char C : Text) {
    const SHORT Code = VkKeyScanA(C);
    if (Code & 0x100) PressWith(VK_SHIFT, LOBYTE(Code));
    else Press(LOBYTE(Code));
  }
}

// Replaces the text of the focused edit as the keyboard does: everything selected, then typed.
inline void Retype(const std::string& Text) {
  Press(VK_END);
  PressWith(VK_SHIFT, VK_HOME);
  TypeText(Text);
}

// Steps: a click into the edit once it shows, then Text typed anew and Then pressed.
inline void TypeInto(TUserScript& Script, std::function<TControl*()> Edit, const std::string& Text, WORD Then = 0) {
  Script.Step("a click into the edit", [Edit] {
    if (!IsWindowVisible(PeerHandle(*Edit()))) return false;
    PostClick(PeerHandle(*Edit()), 5, 5);
    return true;
  });
  Script.Step("typed: " + Text, [Edit, Text, Then] {
    if (GetFocus() != PeerHandle(*Edit())) return false;
    Retype(Text);
    if (Then) Press(Then);
    return true;
  });
}

inline std::string ClipboardText() {
  std::string Text;
  if (!OpenClipboard(nullptr)) return Text;
  if (HANDLE Data = GetClipboardData(CF_TEXT)) {
    Text = static_cast<const char*>(GlobalLock(Data));
    GlobalUnlock(Data);
  }
  CloseClipboard();
  return Text;
}

// The texts that the shown controls of Window cut off: each control's text measured in the font
// the control draws it with, against the room the control leaves it. Edits are held to it for
// numbers only (a file name scrolls); word-wrapped labels and memos are not measured.
inline std::vector<std::string> ClippedTexts(HWND Window) {
  std::vector<std::string> Clipped;
  const std::function<void(HWND)> Visit = [&](HWND Control) {
    if (!IsWindowVisible(Control)) return;
    char Class[64] = {};
    GetClassNameA(Control, Class, sizeof Class);
    const std::string Kind = Class;
    const LONG Style = GetWindowLongA(Control, GWL_STYLE);
    std::string Text(GetWindowTextLengthA(Control) + 1, '\0');
    Text.resize(GetWindowTextA(Control, Text.data(), static_cast<int>(Text.size())));
    RECT Room{};
    GetClientRect(Control, &Room);
    int Used = 0;  // what the control draws besides its text
    bool Accelerators = true;
    if (Kind == "Button") {
      const LONG Type = Style & BS_TYPEMASK;
      if (Type == BS_GROUPBOX) Used = 16;
      else if (Type == BS_CHECKBOX || Type == BS_AUTOCHECKBOX || Type == BS_RADIOBUTTON ||
               Type == BS_AUTORADIOBUTTON || Type == BS_3STATE || Type == BS_AUTO3STATE)
        Used = GetSystemMetrics(SM_CXMENUCHECK) + 4;
      else Used = 8;
    } else if (Kind == "Static") {
      // Under Wine a static control draws its text a few pixels wider than it measures.
      if ((Style & SS_TYPEMASK) > SS_RIGHT) return;
      Used = 4;
    } else if (Kind == "Edit") {
      // A combo box's edit shows one of its items; any other edit is held to it for numbers.
      char Owner[64] = {};
      GetClassNameA(GetParent(Control), Owner, sizeof Owner);
      if (Style & (ES_MULTILINE | ES_PASSWORD) ||
          (std::string(Owner) != "ComboBox" && Text.find_first_not_of("0123456789-") != std::string::npos))
        return;
      const LRESULT Margins = SendMessageA(Control, EM_GETMARGINS, 0, 0);
      Used = LOWORD(Margins) + HIWORD(Margins) + 2;
      Accelerators = false;
    } else if (Kind == "VersoraPanel" || Kind == "VersoraSpeedButton") {
      Used = 4;
    } else {
      return;
    }
    if (Accelerators) {
      std::string Shown;
      for (size_t I = 0; I < Text.size(); ++I)
        if (Text[I] != '&' || (I + 1 < Text.size() && Text[++I] == '&')) Shown += Text[I];
      Text = Shown;
    }
    if (Text.empty()) return;
    HDC Dc = GetDC(Control);
    HGDIOBJ Old = SelectObject(Dc, reinterpret_cast<HFONT>(SendMessageA(Control, WM_GETFONT, 0, 0)));
    SIZE Size{};
    GetTextExtentPoint32A(Dc, Text.c_str(), static_cast<int>(Text.size()), &Size);
    TEXTMETRICA Metrics{};
    GetTextMetricsA(Dc, &Metrics);
    SelectObject(Dc, Old);
    ReleaseDC(Control, Dc);
    // A label as high as two lines wraps its words.
    if (Kind == "Static" && Room.bottom >= 2 * Metrics.tmHeight) return;
    if (Size.cx + Used > Room.right)
      Clipped.push_back(Kind + " \"" + Text + "\": " + std::to_string(Size.cx + Used) + " > " + std::to_string(Room.right));
  };
  EnumChildWindows(
      Window,
      [](HWND Control, LPARAM Call) CALLBACK -> BOOL {
        (*reinterpret_cast<const std::function<void(HWND)>*>(Call))(Control);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&Visit));
  return Clipped;
}

// The book-table program's window up, in front and with the focus.
class BookTableTest : public ::testing::Test {
protected:
  void SetUp() override {
    Application->CreateForm(frmVersora);
    Application->MainForm()->Show();
    Window = PeerHandle(*frmVersora);
    ASSERT_NE(Window, nullptr);
    SetForegroundWindow(Window);
    ASSERT_TRUE(PumpUntil([&] { return IsWindowVisible(Window) && GetFocus() != nullptr; }));
  }
  void TearDown() override {
    delete frmVersora;
    frmVersora = nullptr;
    Application->ProcessMessages();
  }
  // Clicks "&Print" and pumps until Script is over and the setup window gone.
  void PrintAndPlay(TUserScript& Script) {
    PostClick(PeerHandle(*frmVersora->btnPrint), 10, 10);
    EXPECT_TRUE(PumpUntil([&] { return (Script.Done() || Script.Stopped()) && !fmVlxMain; }, 150000));
    EXPECT_EQ(Script.Stuck(), "");
  }
  HWND Window = nullptr;
};
