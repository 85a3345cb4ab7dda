// Menus, short cuts, pop-up menus, speed buttons, hints, the draw grid and the message dialog
// on real windows under Wine, driven by real input: keys and clicks go through the system's
// input queue, the mouse really hovers, and the screenshots show what the screen showed.
#include <gtest/gtest.h>

#include "framework/win32/Win32Handles.h"

#include "framework/Buttons.h"
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

const char* const TestLayout = R"(TCommandsForm fmCommands
  Caption = "Versora commands test"
  Left = 40
  Top = 40
  ClientWidth = 420
  ClientHeight = 260
  BorderStyle = bsSingle
  ShowHint = true
  Menu = mmRptOpts
  TPanel paTop
    Left = 0
    Top = 0
    Width = 420
    Height = 32
    TSpeedButton sbClose
      Left = 4
      Top = 4
      Width = 50
      Height = 24
      Caption = "&Close"
      Flat = true
      Hint = "Close Window (Ctrl-Q)|Exit without printing the report"
      OnClick = ButtonClick
    TSpeedButton sbSaveOpts
      Left = 58
      Top = 4
      Width = 26
      Height = 24
      Flat = true
      Glyph = "VLXSAVE"
      Hint = "Save Report Options (Ctrl-S)|Save current report options"
      OnClick = ButtonClick
    TSpeedButton sbPrint
      Left = 88
      Top = 4
      Width = 26
      Height = 24
      Flat = true
      Glyph = "VLXPRINT"
      Hint = "Print Report (Ctrl-P)|Print the report to the Output Destination"
      OnClick = ButtonClick
    TSpeedButton sbPreview
      Left = 118
      Top = 4
      Width = 26
      Height = 24
      Flat = true
      Glyph = "VLXPREVIEW"
      OnClick = ButtonClick
    TSpeedButton sbPrinterSetup
      Left = 148
      Top = 4
      Width = 26
      Height = 24
      Flat = true
      Glyph = "VLXPRINTERSETUP"
      NumGlyphs = 2
      Enabled = false
      OnClick = ButtonClick
  TDrawGrid dgColumns
    Left = 8
    Top = 40
    Width = 404
    Height = 170
    ColCount = 6
    RowCount = 5
    DefaultRowHeight = 20
    DefaultColWidth = 80
    PopupMenu = puColumns
    Hint = "Column settings|Right click for popup menu"
    OnDrawCell = dgColumnsDrawCell
  TPanel edColumns
    Visible = false
    Color = clWindow
  TPanel paMsg
    Left = 0
    Top = 230
    Width = 420
    Height = 30
    Alignment = taLeftJustify
  TMainMenu mmRptOpts
    TMenuItem mnFile
      Caption = "&File"
      OnClick = MenuClick
      TMenuItem itmPrint
        Caption = "&Print"
        ShortCut = "Ctrl+P"
        OnClick = MenuClick
      TMenuItem itmSep2
        Caption = "-"
      TMenuItem itmSave
        Caption = "&Save Options"
        ShortCut = "Ctrl+S"
        OnClick = MenuClick
      TMenuItem itmExit
        Caption = "E&xit"
        ShortCut = "Ctrl+Q"
        Enabled = false
        OnClick = MenuClick
    TMenuItem itmHelp1
      Caption = "Help"
      OnClick = MenuClick
  TPopupMenu puColumns
    TMenuItem itmDisplayFieldNames
      Caption = "&Display Field Names"
      OnClick = MenuClick
    TMenuItem itmHideAll
      Caption = "&Hide all Columns"
      OnClick = MenuClick
)";

const char* const RowTitles[] = {"Column Name", "Visible", "Break", "Column Total", "Format String"};

class TCommandsForm : public TForm {
public:
  explicit TCommandsForm(TComponent* AOwner) : TForm(AOwner) {
    PublishedMethod("MenuClick", TNotifyEvent([this](TObject* Sender) { Log += static_cast<TComponent*>(Sender)->Name() + " "; }));
    PublishedMethod("ButtonClick", TNotifyEvent([this](TObject* Sender) { Log += static_cast<TComponent*>(Sender)->Name() + " "; }));
    PublishedMethod("dgColumnsDrawCell", TDrawCellEvent([this](TObject*, int C, int R, const TRect& Rect, TGridDrawState State) {
      TCanvas& canvas = Grid->Canvas();
      std::string text = C == 0 ? RowTitles[R] : R == 0 ? "Col " + std::to_string(C) : R == 1 ? "X" : "";
      if (State & gdFixed) canvas.Font().SetStyle(fsBold);
      canvas.Brush().SetStyle(TBrushStyle::bsClear);
      canvas.TextOut(Rect.Left + 5, Rect.Top + 4, text);
      ++Painted;
    }));
    ReadLayoutText(this, TestLayout);
    Grid = static_cast<TDrawGrid*>(FindComponent("dgColumns"));
  }
  TDrawGrid* Grid = nullptr;
  std::string Log;
  int Painted = 0;
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

HWND Handle(TForm& Form, const char* Name) { return PeerHandle(*static_cast<TControl*>(Form.FindComponent(Name))); }

POINT ScreenCentre(HWND Window) {
  RECT r;
  GetWindowRect(Window, &r);
  return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
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

TEST(ControlsBE2E, MenusShortCutsSpeedButtonsHintsGridPopupAndMessageDialogAnswerRealInput) {
  RegisterComponentClass<TCommandsForm>("TCommandsForm");
  Application->SetHintPause(100);
  std::vector<std::string> hints;
  Application->OnHint = [&](TObject*) { hints.push_back(Application->Hint()); };
  auto* form = new TCommandsForm(Application);
  auto* msg = static_cast<TPanel*>(form->FindComponent("paMsg"));
  Application->OnHint = [&](TObject*) {
    hints.push_back(Application->Hint());
    msg->SetCaption(" " + Application->Hint());
  };
  form->Show();
  HWND window = PeerHandle(*form);
  ASSERT_NE(window, nullptr);
  SetForegroundWindow(window);
  ASSERT_TRUE(RunUntil([&] { return form->Painted > 0 && GetForegroundWindow() == window; }));
  ASSERT_NE(GetMenu(window), nullptr) << "no menu bar";
  RECT client;
  GetClientRect(window, &client);
  EXPECT_EQ(client.bottom, 260) << "the menu bar took the client area's height";

  // A short cut from the keyboard clicks its item; a disabled item's does nothing.
  PressWith(VK_CONTROL, 'P');
  PressWith(VK_CONTROL, 'Q');
  EXPECT_TRUE(RunUntil([&] { return form->Log.find("itmPrint") != std::string::npos; })) << form->Log;
  RunUntil([] { return false; }, 300);
  EXPECT_EQ(form->Log, "mnFile itmPrint mnFile ");

  // The menu from the keyboard: Alt+F opens File (its click), S chooses Save Options.
  form->Log.clear();
  PressWith(VK_MENU, 'F');
  Press('S');
  EXPECT_TRUE(RunUntil([&] { return form->Log.find("itmSave") != std::string::npos; })) << form->Log;
  EXPECT_EQ(form->Log, "mnFile itmSave ");
  // The top-level Help item is a command of the bar itself.
  form->Log.clear();
  PostMessageA(window, WM_COMMAND, GetMenuItemID(GetMenu(window), 1), 0);
  EXPECT_TRUE(RunUntil([&] { return form->Log == "itmHelp1 "; })) << form->Log;

  // A click on a speed button; the disabled one shows its disabled image and clicks nothing;
  // Alt and the underlined letter click the one with that caption.
  form->Log.clear();
  PostClick(Handle(*form, "sbPrint"), 10, 10);
  PostClick(Handle(*form, "sbPrinterSetup"), 10, 10);
  RunUntil([] { return false; }, 300);
  PressWith(VK_MENU, 'C');
  RunUntil([&] { return form->Log.find("sbClose") != std::string::npos; });
  EXPECT_EQ(form->Log, "sbPrint sbClose ");

  // An editor placed over a cell shows above the grid (a panel stands in for the edit box).
  auto* editor = static_cast<TPanel*>(form->FindComponent("edColumns"));
  TRect cell = form->Grid->CellRect(2, 3);
  editor->SetBounds(form->Grid->Left() + cell.Left + 3, form->Grid->Top() + cell.Top + 3, cell.Width(), cell.Height());
  editor->SetCaption("%8.2F");
  editor->Show();
  POINT inCell{form->Grid->Left() + cell.Left + 10, form->Grid->Top() + cell.Top + 10};
  EXPECT_EQ(ChildWindowFromPointEx(window, inCell, CWP_SKIPINVISIBLE), PeerHandle(*editor));

  // The mouse over a speed button: its long hint reaches OnHint, its short one pops up.
  HWND save = Handle(*form, "sbSaveOpts");
  POINT at = ScreenCentre(save);
  SetCursorPos(at.x, at.y);
  POINT local = at;
  ScreenToClient(save, &local);
  PostMessageA(save, WM_MOUSEMOVE, 0, MAKELPARAM(local.x, local.y));
  EXPECT_TRUE(RunUntil([&] { return ShownTipTool() == save; })) << "no tooltip over the button";
  EXPECT_EQ(hints.empty() ? "" : hints.back(), "Save current report options");
  EXPECT_EQ(msg->Caption(), " Save current report options");
  RunUntil([] { return false; }, 200);
  SaveWindowScreenshot(window, "controls-form-hint");

  // A right click on the grid opens its pop-up menu at the mouse; Down and Enter choose.
  form->Log.clear();
  HWND grid = PeerHandle(*form->Grid);
  bool popupShown = false;
  RunInsideNextLoop([&] {
    HWND menu = FindWindowA("#32768", nullptr);
    if (!menu || !IsWindowVisible(menu)) return false;
    popupShown = true;
    SaveWindowScreenshot(window, "controls-form-popup");
    Press(VK_DOWN);
    Press(VK_DOWN);
    Press(VK_RETURN);
    return true;
  });
  PostMessageA(grid, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(120, 60));
  PostMessageA(grid, WM_RBUTTONUP, 0, MAKELPARAM(120, 60));
  EXPECT_TRUE(RunUntil([&] { return !form->Log.empty(); })) << "nothing chosen in the pop-up";
  EXPECT_TRUE(popupShown);
  EXPECT_EQ(form->Log, "itmHideAll ");

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
    HWND retry = nullptr;
    if (buttons.empty()) {
      for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        char cls[32] = {};
        GetClassNameA(child, cls, sizeof cls);
        if (lstrcmpiA(cls, "Button") == 0) buttons.push_back(WindowText(child));
      }
      SaveWindowScreenshot(dialog, "controls-message-dialog");
      Press(VK_F1);
      return false;
    }
    if (help.empty() && ++ticks < 20) return false;
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
      if (WindowText(child) == "&Retry") retry = child;
    if (!retry) return false;
    PostClick(retry, 20, 10);
    return true;
  });
  const int answer = MessageDlg("ReportSettings Lock File \"C:\\RptSet.~LK\" is busy.\r Do you want to retry?",
                                TMsgDlgType::mtWarning, mbAbort | mbRetry, 700);
  EXPECT_EQ(answer, mrRetry);
  EXPECT_EQ(buttons, (std::vector<std::string>{"&Abort", "&Retry"}));
  EXPECT_EQ(help, (std::vector<int>{700}));

  // The save dialog: a name typed without extension gets the default one.
  auto* saveDialog = new TSaveDialog(form);
  saveDialog->SetDefaultExt("TXT");
  saveDialog->SetFilter("Text files (*.txt)|*.txt|All files (*.*)|*.*");
  saveDialog->SetOptions(ofOverwritePrompt | ofHideReadOnly);
  bool saveShown = false;
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
    saveShown = true;
    SetWindowTextA(name, "Z:\\tmp\\ctlB-report");
    PostMessageA(dialog, WM_COMMAND, IDOK, 0);
    return true;
  });
  EXPECT_TRUE(saveDialog->Execute());
  EXPECT_TRUE(saveShown);
  EXPECT_TRUE(SameText(saveDialog->FileName(), "Z:\\tmp\\ctlB-report.txt")) << saveDialog->FileName();

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
