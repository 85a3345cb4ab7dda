// What of the framework's controls the report windows use but their scenarios do not reach, on
// a real window under Wine: short cuts of disabled items, the menu from the keyboard, disabled
// and captioned speed buttons, hints, the pop-up menu, the up-down, Space, the arrows and Alt on
// check boxes and radio groups, a refused tab change, the memo's caret, and the message, save and
// font dialogs.
#include <gtest/gtest.h>

#include "framework/win32/Win32Handles.h"

#include <functional>
#include <string>
#include <vector>

#include "framework/Buttons.h"
#include "framework/ComCtrls.h"
#include "framework/Dialogs.h"
#include "framework/ExtCtrls.h"
#include "framework/Forms.h"
#include "framework/Grids.h"
#include "framework/Layout.h"
#include "framework/Menus.h"
#include "framework/StdCtrls.h"
#include "framework/rtl/SysUtils.h"
#include "tests/e2e/Pump.h"
#include "tests/e2e/Screenshot.h"

namespace {

const char* const TestLayout = R"(TControlsForm fmControls
  Caption = "Versora controls test"
  Left = 40
  Top = 40
  ClientWidth = 640
  ClientHeight = 330
  BorderStyle = bsSingle
  ShowHint = true
  Menu = mm
  TPanel paTop
    Width = 640
    Height = 32
    TSpeedButton sbClose
      Left = 4
      Top = 4
      Width = 50
      Height = 24
      Caption = "&Close"
      Flat = true
      OnClick = Clicked
    TSpeedButton sbSaveOpts
      Left = 58
      Top = 4
      Width = 26
      Height = 24
      Flat = true
      Glyph = "VLXSAVE"
      Hint = "Save Report Options (Ctrl-S)|Save current report options"
      OnClick = Clicked
    TSpeedButton sbPrint
      Left = 88
      Top = 4
      Width = 26
      Height = 24
      Flat = true
      Glyph = "VLXPRINT"
      OnClick = Clicked
    TSpeedButton sbPrinterSetup
      Left = 118
      Top = 4
      Width = 26
      Height = 24
      Flat = true
      Glyph = "VLXPRINTERSETUP"
      NumGlyphs = 2
      Enabled = false
      OnClick = Clicked
  TPageControl pc
    Left = 8
    Top = 40
    Width = 400
    Height = 250
    OnChanging = pcChanging
    OnChange = pcChange
    TTabSheet tsGeneral
      Caption = "General"
      TEdit edNum
        Left = 10
        Top = 10
        Width = 60
      TUpDown sp
        Max = 1000
        Thousands = false
        Associate = edNum
        OnChanging = spChanging
        OnClick = spClick
      TCheckBox cbShrink
        Left = 10
        Top = 50
        Width = 150
        Caption = "&Shrink to Page"
        OnClick = cbShrinkClick
      TGroupBox gbWhat
        Caption = "Print What?"
        Left = 180
        Top = 10
        Width = 196
        Height = 92
        TRadioButton rbAll
          Left = 10
          Top = 20
          Width = 170
          Caption = "&Entire Grid"
          Checked = true
          OnClick = rbPrintWhatClick
        TRadioButton rbPage
          Tag = 1
          Left = 10
          Top = 42
          Width = 170
          Caption = "Current &Page"
          OnClick = rbPrintWhatClick
        TRadioButton rbRows
          Tag = 7
          Left = 10
          Top = 64
          Width = 170
          Caption = "Selected &Rows"
          OnClick = rbPrintWhatClick
    TTabSheet tsHidden
      Caption = "Hidden"
      TabVisible = false
    TTabSheet tsTitles
      Caption = "Titles"
      TMemo mem
        Left = 8
        Top = 8
        Width = 300
        Height = 150
        ScrollBars = ssVertical
  TDrawGrid dg
    Left = 416
    Top = 40
    Width = 216
    Height = 250
    ColCount = 3
    RowCount = 5
    PopupMenu = pu
  TPanel paMsg
    Top = 300
    Width = 640
    Height = 30
    Alignment = taLeftJustify
  TMainMenu mm
    TMenuItem mnFile
      Caption = "&File"
      OnClick = Clicked
      TMenuItem itmPrint
        Caption = "&Print"
        ShortCut = "Ctrl+P"
        OnClick = Clicked
      TMenuItem itmSep
        Caption = "-"
      TMenuItem itmSave
        Caption = "&Save Options"
        ShortCut = "Ctrl+S"
        OnClick = Clicked
      TMenuItem itmExit
        Caption = "E&xit"
        ShortCut = "Ctrl+Q"
        Enabled = false
        OnClick = Clicked
    TMenuItem itmHelp1
      Caption = "Help"
      OnClick = Clicked
  TPopupMenu pu
    TMenuItem itmDisplayFieldNames
      Caption = "&Display Field Names"
      OnClick = Clicked
    TMenuItem itmHideAll
      Caption = "&Hide all Columns"
      OnClick = Clicked
)";

class TControlsForm : public TForm {
public:
  explicit TControlsForm(TComponent* AOwner) : TForm(AOwner) {
    auto log = [this](const std::string& S) { Log += S + " "; };
    PublishedMethod("Clicked", TNotifyEvent([log](TObject* Sender) { log(As<TComponent>(Sender)->Name()); }));
    PublishedMethod("pcChanging", TTabChangingEvent([this, log](TObject*, bool& Allow) {
      log("changing");
      Allow = AllowTab;
    }));
    PublishedMethod("pcChange", TNotifyEvent([log](TObject*) { log("change"); }));
    PublishedMethod("spChanging", TTabChangingEvent([this](TObject*, bool& Allow) { Allow = AllowSpin; }));
    PublishedMethod("spClick", TUDClickEvent([log](TObject*, TUDBtnType B) { log(B == TUDBtnType::btNext ? "up" : "down"); }));
    PublishedMethod("cbShrinkClick", TNotifyEvent([log](TObject* Sender) {
      log(As<TCheckBox>(Sender)->Checked() ? "shrink-on" : "shrink-off");
    }));
    PublishedMethod("rbPrintWhatClick", TNotifyEvent([log](TObject* Sender) {
      log("what" + std::to_string(As<TComponent>(Sender)->Tag));
    }));
    ReadLayoutText(this, TestLayout);
  }

  template <class T>
  T* Find(const char* Name) { return As<T>(FindComponent(Name)); }
  HWND Handle(const char* Name) { return PeerHandle(*Find<TControl>(Name)); }

  std::string Log;
  bool AllowTab = true;
  bool AllowSpin = true;
};

// Runs the program's own message loop until Done holds.
bool RunUntil(const std::function<bool()>& Done, unsigned TimeoutMs = 5000) {
  const DWORD start = GetTickCount();
  while (!Done()) {
    if (GetTickCount() - start >= TimeoutMs) return false;
    Application->WaitAndProcess(20);
  }
  return true;
}
void Wait(unsigned Ms) { RunUntil([] { return false; }, Ms); }

void Type(HWND Window, const std::string& Text) {
  for (char c : Text) PostMessageA(Window, WM_CHAR, static_cast<unsigned char>(c), 1);
}

void PressKey(HWND Window, WPARAM Key) {
  LPARAM scan = 1 | (MapVirtualKeyA(static_cast<UINT>(Key), MAPVK_VK_TO_VSC) << 16);
  PostMessageA(Window, WM_KEYDOWN, Key, scan);
  PostMessageA(Window, WM_KEYUP, Key, scan | 0xC0000000);
}

// The visible tooltip's current tool, or nullptr when no tip shows.
HWND ShownTipTool() {
  HWND tip = nullptr;
  while ((tip = FindWindowExA(nullptr, tip, TOOLTIPS_CLASSA, nullptr)))
    if (IsWindowVisible(tip)) {
      TOOLINFOA info{};
      info.cbSize = sizeof(info);
      if (SendMessageA(tip, TTM_GETCURRENTTOOLA, 0, reinterpret_cast<LPARAM>(&info)))
        return reinterpret_cast<HWND>(info.uId);
    }
  return nullptr;
}

}  // namespace

TEST(ControlsE2E, MenusButtonsHintsPopupCheckBoxesRadiosUpDownTabsMemoAndDialogsAnswerRealInput) {
  Application->SetHintPause(100);
  auto* form = new TControlsForm(Application);
  auto* msg = form->Find<TPanel>("paMsg");
  std::vector<std::string> hints;
  Application->OnHint = [&](TObject*) {
    hints.push_back(Application->Hint());
    msg->SetCaption(" " + Application->Hint());
  };
  form->Show();
  HWND window = PeerHandle(*form);
  ASSERT_NE(window, nullptr);
  SetForegroundWindow(window);
  ASSERT_TRUE(RunUntil([&] { return GetForegroundWindow() == window; }));

  // A short cut from the keyboard clicks its item; a disabled item's does nothing. Alt+F opens
  // File (its click), S chooses Save Options; the top-level Help item is a command of the bar.
  PressWith(VK_CONTROL, 'P');
  PressWith(VK_CONTROL, 'Q');
  EXPECT_TRUE(RunUntil([&] { return form->Log.find("itmPrint") != std::string::npos; })) << form->Log;
  Wait(300);
  PressWith(VK_MENU, 'F');
  Press('S');
  EXPECT_TRUE(RunUntil([&] { return form->Log.find("itmSave") != std::string::npos; })) << form->Log;
  PostMessageA(window, WM_COMMAND, GetMenuItemID(GetMenu(window), 1), 0);
  EXPECT_TRUE(RunUntil([&] { return form->Log.find("itmHelp1") != std::string::npos; })) << form->Log;
  EXPECT_EQ(form->Log, "mnFile itmPrint mnFile mnFile itmSave itmHelp1 ");

  // The disabled speed button clicks nothing; Alt and the underlined letter click the one with
  // that caption.
  form->Log.clear();
  PostClick(form->Handle("sbPrinterSetup"), 10, 10);
  Wait(300);
  PressWith(VK_MENU, 'C');
  RunUntil([&] { return !form->Log.empty(); });
  EXPECT_EQ(form->Log, "sbClose ");

  // The mouse over a speed button: its long hint reaches OnHint, its short one pops up.
  HWND save = form->Handle("sbSaveOpts");
  RECT r;
  GetWindowRect(save, &r);
  SetCursorPos((r.left + r.right) / 2, (r.top + r.bottom) / 2);
  PostMessageA(save, WM_MOUSEMOVE, 0, MAKELPARAM((r.right - r.left) / 2, (r.bottom - r.top) / 2));
  EXPECT_TRUE(RunUntil([&] { return ShownTipTool() == save; })) << "no tooltip over the button";
  EXPECT_EQ(hints.empty() ? "" : hints.back(), "Save current report options");
  EXPECT_EQ(msg->Caption(), " Save current report options");
  Wait(200);
  SaveWindowScreenshot(window, "controls-hint");

  // A right click on the grid opens its pop-up menu at the mouse; Down and Enter choose.
  form->Log.clear();
  bool popupShown = false;
  RunInsideNextLoop([&] {
    HWND menu = FindWindowA("#32768", nullptr);
    if (!menu || !IsWindowVisible(menu)) return false;
    popupShown = true;
    SaveWindowScreenshot(window, "controls-popup");
    Press(VK_DOWN);
    Press(VK_DOWN);
    Press(VK_RETURN);
    return true;
  });
  HWND grid = form->Handle("dg");
  PostMessageA(grid, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(120, 60));
  PostMessageA(grid, WM_RBUTTONUP, 0, MAKELPARAM(120, 60));
  EXPECT_TRUE(RunUntil([&] { return !form->Log.empty(); })) << "nothing chosen in the pop-up";
  EXPECT_TRUE(popupShown);
  EXPECT_EQ(form->Log, "itmHideAll ");

  // The hidden page has no tab; the up-down writes its position into its edit and steps from
  // the number typed there, unless it is refused.
  form->Log.clear();
  auto* pc = form->Find<TPageControl>("pc");
  auto* edNum = form->Find<TEdit>("edNum");
  auto* sp = form->Find<TUpDown>("sp");
  HWND tabs = PeerHandle(*pc), num = PeerHandle(*edNum), spin = PeerHandle(*sp);
  EXPECT_EQ(SendMessageA(tabs, TCM_GETITEMCOUNT, 0, 0), 2);
  EXPECT_EQ(edNum->Text(), "0");
  SetFocus(num);
  SendMessageA(num, EM_SETSEL, 0, -1);
  Type(num, "75");
  EXPECT_TRUE(PumpUntil([&] { return edNum->Text() == "75"; })) << edNum->Text();
  RECT arrows{};
  GetClientRect(spin, &arrows);
  PostClick(spin, arrows.right / 2, 3);
  EXPECT_TRUE(PumpUntil([&] { return sp->Position() == 76; })) << sp->Position();
  EXPECT_EQ(WindowText(num), "76");
  form->AllowSpin = false;
  PostClick(spin, arrows.right / 2, arrows.bottom - 3);
  PumpUntil([] { return false; }, 300);
  EXPECT_EQ(sp->Position(), 76);
  form->AllowSpin = true;
  PostClick(spin, arrows.right / 2, arrows.bottom - 3);
  EXPECT_TRUE(PumpUntil([&] { return sp->Position() == 75; }));

  // Space, a click, the arrow keys and Alt with the underlined letter reach the model once each;
  // the windows show what the model decided.
  auto* cbShrink = form->Find<TCheckBox>("cbShrink");
  auto* rbAll = form->Find<TRadioButton>("rbAll");
  auto* rbPage = form->Find<TRadioButton>("rbPage");
  auto* rbRows = form->Find<TRadioButton>("rbRows");
  auto shown = [](TWinControl* C) { return SendMessageA(PeerHandle(*C), BM_GETCHECK, 0, 0) == BST_CHECKED; };
  HWND box = PeerHandle(*cbShrink);
  SetFocus(box);
  PressKey(box, VK_SPACE);
  EXPECT_TRUE(PumpUntil([&] { return cbShrink->Checked(); }));
  EXPECT_TRUE(shown(cbShrink));
  PostClick(PeerHandle(*rbPage), 6, 8);
  EXPECT_TRUE(PumpUntil([&] { return rbPage->Checked(); }));
  EXPECT_FALSE(rbAll->Checked() || shown(rbAll));
  PressKey(PeerHandle(*rbPage), VK_DOWN);
  EXPECT_TRUE(PumpUntil([&] { return rbRows->Checked(); }));
  EXPECT_EQ(form->ActiveControl(), rbRows);
  PressKey(PeerHandle(*rbRows), VK_DOWN);
  EXPECT_TRUE(PumpUntil([&] { return rbAll->Checked(); })) << "the arrows go round the group";
  PostMessageA(PeerHandle(*rbAll), WM_SYSCHAR, 's', 1 << 29);
  EXPECT_TRUE(PumpUntil([&] { return !cbShrink->Checked(); }));
  EXPECT_EQ(form->ActiveControl(), cbShrink);
  PumpUntil([] { return false; }, 200);
  EXPECT_TRUE(shown(rbAll));
  EXPECT_FALSE(shown(rbPage) || shown(rbRows) || shown(cbShrink));

  // A tab click asks first: refused, then allowed.
  form->AllowTab = false;
  PostClick(tabs, TabPoint(tabs, 1));
  PumpUntil([] { return false; }, 300);
  EXPECT_EQ(pc->ActivePage()->Name(), "tsGeneral");
  form->AllowTab = true;
  PostClick(tabs, TabPoint(tabs, 1));
  EXPECT_TRUE(PumpUntil([&] { return pc->ActivePage()->Name() == "tsTitles"; }));
  EXPECT_FALSE(IsWindowVisible(PeerHandle(*form->Find<TTabSheet>("tsGeneral"))));
  EXPECT_EQ(form->Log,
            "up down shrink-on what1 what7 what0 shrink-off changing changing change ");

  // Typing into the memo: its lines and the caret.
  auto* mem = form->Find<TMemo>("mem");
  HWND memo = PeerHandle(*mem);
  SetFocus(memo);
  Type(memo, "Hello");
  PressKey(memo, VK_RETURN);
  PumpUntil([&] { return mem->Lines().Count() == 2; });
  Type(memo, "World");
  EXPECT_TRUE(PumpUntil([&] { return mem->Text() == "Hello\r\nWorld"; })) << mem->Text();
  EXPECT_TRUE(mem->Modified());
  EXPECT_EQ(mem->CaretPos(), (TPoint{5, 1}));

  // The message dialog: exactly Abort and Retry, F1 asks for its help context, a real click
  // on Retry answers.
  std::vector<int> help;
  Application->OnHelp = [&](int Context, bool& CallHelp) {
    help.push_back(Context);
    CallHelp = false;
  };
  std::vector<std::string> buttons;
  int ticks = 0;
  RunInsideNextLoop([&] {
    HWND dialog = FindWindowA(nullptr, "Warning");
    if (!dialog || !IsWindowVisible(dialog) || GetForegroundWindow() != dialog) return false;
    if (buttons.empty()) {
      for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        char cls[32] = {};
        GetClassNameA(child, cls, sizeof cls);
        if (lstrcmpiA(cls, "Button") == 0) buttons.push_back(WindowText(child));
      }
      Press(VK_F1);
      return false;
    }
    if (help.empty() && ++ticks < 20) return false;
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
      if (WindowText(child) == "&Retry") {
        PostClick(child, 20, 10);
        return true;
      }
    return false;
  });
  EXPECT_EQ(MessageDlg("The file is busy.\r Do you want to retry?", TMsgDlgType::mtWarning, mbAbort | mbRetry, 700),
            mrRetry);
  EXPECT_EQ(buttons, (std::vector<std::string>{"&Abort", "&Retry"}));
  EXPECT_EQ(help, (std::vector<int>{700}));

  // The save dialog: a name typed without extension gets the default one.
  auto* saveDialog = new TSaveDialog(form);
  saveDialog->SetDefaultExt("TXT");
  saveDialog->SetFilter("Text files (*.txt)|*.txt|All files (*.*)|*.*");
  saveDialog->SetOptions(ofOverwritePrompt | ofHideReadOnly);
  int saveTicks = 0;
  RunInsideNextLoop([&] {
    HWND dialog = GetActiveWindow();
    if (!dialog || dialog == window) return false;
    HWND name = GetDlgItem(dialog, 0x480);      // the file name box
    if (!name) name = GetDlgItem(dialog, 0x47C);  // or its combo box
    if (!name) {
      if (++saveTicks < 50) return false;
      PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);  // a failure, not a hang
      return true;
    }
    SetWindowTextA(name, "Z:\\tmp\\ctl-report");
    PostMessageA(dialog, WM_COMMAND, IDOK, 0);
    return true;
  });
  EXPECT_TRUE(saveDialog->Execute());
  EXPECT_TRUE(SameText(saveDialog->FileName(), "Z:\\tmp\\ctl-report.txt")) << saveDialog->FileName();

  // The font dialog lists fixed-pitch fonts only, offers the font it is given and hands back
  // the one confirmed.
  auto* fonts = new TFontDialog(form);
  fonts->SetOptions(fdFixedPitchOnly);
  fonts->Font().SetName("DejaVu Sans Mono");
  fonts->Font().SetSize(10);
  RunInsideNextLoop([&] {
    HWND dialog = GetActiveWindow();
    if (!dialog || dialog == window || !IsWindowVisible(dialog)) return false;
    SaveWindowScreenshot(dialog, "controls-font-dialog");
    PostMessageA(dialog, WM_COMMAND, IDOK, 0);
    return true;
  });
  EXPECT_TRUE(fonts->Execute());
  EXPECT_EQ(fonts->Font().Name(), "DejaVu Sans Mono");
  EXPECT_EQ(fonts->Font().Size(), 10);

  Application->OnHint = nullptr;
  Application->OnHelp = nullptr;
  delete form;
  Application->ProcessMessages();
}
