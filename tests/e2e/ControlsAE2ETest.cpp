// Page control, combo box, masked edit with up-down, check list, check box, radio buttons, bevel,
// group box and memo on real windows under Wine: a window read from a layout, driven with the
// messages that clicks and typing send, each reaching the model.
#include <gtest/gtest.h>

#include "framework/win32/Win32Handles.h"

#include <string>
#include <vector>

#include "framework/CheckLst.h"
#include "framework/ComCtrls.h"
#include "framework/ExtCtrls.h"
#include "framework/Forms.h"
#include "framework/Layout.h"
#include "framework/Mask.h"
#include "framework/StdCtrls.h"
#include "tests/e2e/Pump.h"
#include "tests/e2e/Screenshot.h"

namespace {

const char* const ControlsLayout = R"(TControlsForm frmControls
  Caption = "Versora controls test"
  Left = 60
  Top = 60
  ClientWidth = 480
  ClientHeight = 300
  TPageControl pc
    Left = 8
    Top = 8
    Width = 464
    Height = 284
    OnChanging = pcChanging
    OnChange = pcChange
    TTabSheet tsGeneral
      Caption = "General"
      TGroupBox gb
        Caption = "Output"
        Left = 8
        Top = 8
        Width = 220
        Height = 120
        TComboBox cbx
          Left = 10
          Top = 20
          Width = 150
          DropDownCount = 4
          Items = ["Printer", "Text File", "Export Data"]
          Text = "Printer"
          OnChange = cbxChange
          OnKeyPress = cbxKeyPress
        TMaskEdit edNum
          Left = 10
          Top = 56
          Width = 60
          OnKeyPress = NumericOnly
        TUpDown sp
          Max = 1000
          Thousands = false
          Associate = edNum
          OnChanging = spChanging
          OnClick = spClick
      TBevel bv
        Left = 236
        Top = 8
        Width = 4
        Height = 120
        Shape = bsLeftLine
      TCheckListBox lbxOpts
        Left = 248
        Top = 8
        Width = 196
        Height = 120
        Items = ["Borders", "Column Titles", "Column Totals"]
        OnClickCheck = lbxClickCheck
      TCheckBox cbShrink
        Left = 8
        Top = 140
        Width = 150
        Caption = "&Shrink to Page"
        Hint = "Shrink|Fit the report to the page"
        OnClick = cbShrinkClick
      TGroupBox gbWhat
        Caption = "Print What?"
        Left = 248
        Top = 136
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
        OnChange = memChange
)";

class TControlsForm : public TForm {
public:
  explicit TControlsForm(TComponent* AOwner) : TForm(AOwner) {
    auto log = [this](const std::string& S) { Log.push_back(S); };
    PublishedMethod("pcChanging", TTabChangingEvent([this, log](TObject*, bool& Allow) {
      log("changing");
      Allow = AllowTab;
    }));
    PublishedMethod("pcChange", TNotifyEvent([log](TObject*) { log("change"); }));
    PublishedMethod("cbxChange", TNotifyEvent([this](TObject*) { ++ComboChanges; }));
    PublishedMethod("cbxKeyPress", TKeyPressEvent([this](TObject*, char& Key) { ComboKeys += Key; }));
    PublishedMethod("NumericOnly", TKeyPressEvent([](TObject*, char& Key) {
      if ((Key < '0' || Key > '9') && Key != 8) Key = 0;
    }));
    PublishedMethod("spChanging", TTabChangingEvent([this](TObject*, bool& Allow) { Allow = AllowSpin; }));
    PublishedMethod("spClick", TUDClickEvent([log](TObject*, TUDBtnType B) {
      log(B == TUDBtnType::btNext ? "up" : "down");
    }));
    PublishedMethod("lbxClickCheck", TNotifyEvent([log](TObject*) { log("check"); }));
    PublishedMethod("memChange", TNotifyEvent([this](TObject*) { ++MemoChanges; }));
    PublishedMethod("cbShrinkClick", TNotifyEvent([this](TObject* Sender) {
      Clicks.push_back(As<TCheckBox>(Sender)->Checked() ? "shrink on" : "shrink off");
    }));
    PublishedMethod("rbPrintWhatClick", TNotifyEvent([this](TObject* Sender) {
      Clicks.push_back("what " + std::to_string(As<TComponent>(Sender)->Tag));
    }));
    ReadLayoutText(this, ControlsLayout);
  }

  template <class T>
  T* Find(const char* Name) { return As<T>(FindComponent(Name)); }

  std::vector<std::string> Log;
  bool AllowTab = true;
  bool AllowSpin = true;
  int ComboChanges = 0;
  int MemoChanges = 0;
  std::string ComboKeys;
  std::vector<std::string> Clicks;
};

void Type(HWND Window, const std::string& Text) {
  for (char c : Text) PostMessageA(Window, WM_CHAR, static_cast<unsigned char>(c), 1);
}

void PressKey(HWND Window, WPARAM Key) {
  LPARAM scan = 1 | (MapVirtualKeyA(static_cast<UINT>(Key), MAPVK_VK_TO_VSC) << 16);
  PostMessageA(Window, WM_KEYDOWN, Key, scan);
  PostMessageA(Window, WM_KEYUP, Key, scan | 0xC0000000);
}

std::string ClipboardText() {
  std::string text;
  if (!OpenClipboard(nullptr)) return text;
  if (HANDLE data = GetClipboardData(CF_TEXT)) {
    text = static_cast<const char*>(GlobalLock(data));
    GlobalUnlock(data);
  }
  CloseClipboard();
  return text;
}

}  // namespace

TEST(ControlsAE2E, TabsComboSpinnerCheckListAndMemoReportTheUsersInputToTheModel) {
  auto* form = new TControlsForm(Application);
  auto* pc = form->Find<TPageControl>("pc");
  auto* cbx = form->Find<TComboBox>("cbx");
  auto* edNum = form->Find<TMaskEdit>("edNum");
  auto* sp = form->Find<TUpDown>("sp");
  auto* lbx = form->Find<TCheckListBox>("lbxOpts");
  auto* mem = form->Find<TMemo>("mem");
  ASSERT_TRUE(pc && cbx && edNum && sp && lbx && mem);
  form->Show();
  SetForegroundWindow(PeerHandle(*form));
  PumpUntil([] { return false; }, 300);
  HWND tabs = PeerHandle(*pc);
  ASSERT_NE(tabs, nullptr);
  EXPECT_EQ(SendMessageA(tabs, TCM_GETITEMCOUNT, 0, 0), 2) << "the hidden page has no tab";
  EXPECT_EQ(edNum->Text(), "0") << "the up-down writes its position into its edit";

  // Typing into the editable combo box: each character changes the text, Enter is a key press.
  HWND comboEdit = FindWindowExA(PeerHandle(*cbx), nullptr, "EDIT", nullptr);
  ASSERT_NE(comboEdit, nullptr);
  SetFocus(comboEdit);
  SendMessageA(comboEdit, EM_SETSEL, 0, -1);
  Type(comboEdit, "text file");
  PressKey(comboEdit, VK_RETURN);
  EXPECT_TRUE(PumpUntil([&] { return cbx->Text() == "text file" && form->ComboKeys.size() == 10; }))
      << cbx->Text() << " / " << form->ComboKeys.size();
  EXPECT_EQ(cbx->ItemIndex(), 1);
  EXPECT_EQ(form->ComboChanges, 9);
  EXPECT_EQ(form->ComboKeys.back(), '\r');
  EXPECT_EQ(form->ActiveControl(), cbx);

  // The key filter swallows letters; the spinner steps from the typed number and can refuse.
  HWND numWindow = PeerHandle(*edNum);
  SetFocus(numWindow);
  SendMessageA(numWindow, EM_SETSEL, 0, -1);
  Type(numWindow, "7a5");
  EXPECT_TRUE(PumpUntil([&] { return edNum->Text() == "75"; })) << edNum->Text();
  EXPECT_TRUE(edNum->Modified());
  EXPECT_EQ(form->ActiveControl(), edNum);
  HWND spin = PeerHandle(*sp);
  RECT arrows{};
  GetClientRect(spin, &arrows);
  PostClick(spin, arrows.right / 2, 3);
  EXPECT_TRUE(PumpUntil([&] { return sp->Position() == 76; })) << sp->Position();
  EXPECT_EQ(WindowText(numWindow), "76");
  form->AllowSpin = false;
  PostClick(spin, arrows.right / 2, arrows.bottom - 3);
  PumpUntil([] { return false; }, 300);
  EXPECT_EQ(sp->Position(), 76);
  form->AllowSpin = true;
  PostClick(spin, arrows.right / 2, arrows.bottom - 3);
  EXPECT_TRUE(PumpUntil([&] { return sp->Position() == 75; }));

  // A click on a line's check box selects the line and toggles its check.
  HWND list = PeerHandle(*lbx);
  POINT line = ListBoxItemPoint(list, 1);
  PostClick(list, 6, line.y);
  EXPECT_TRUE(PumpUntil([&] { return lbx->Checked(1); }));
  EXPECT_EQ(lbx->ItemIndex(), 1);
  EXPECT_FALSE(lbx->Checked(0));

  // Clicks, Space, the arrow keys and Alt with the underlined letter reach the model once each;
  // the windows show what the model decided.
  auto* cbShrink = form->Find<TCheckBox>("cbShrink");
  auto* rbAll = form->Find<TRadioButton>("rbAll");
  auto* rbPage = form->Find<TRadioButton>("rbPage");
  auto* rbRows = form->Find<TRadioButton>("rbRows");
  ASSERT_TRUE(cbShrink && rbAll && rbPage && rbRows);
  auto shown = [](TWinControl* C) { return SendMessageA(PeerHandle(*C), BM_GETCHECK, 0, 0) == BST_CHECKED; };
  EXPECT_TRUE(shown(rbAll));
  HWND box = PeerHandle(*cbShrink);
  EXPECT_EQ(WindowText(box), "&Shrink to Page");
  PostClick(box, 6, 8);
  EXPECT_TRUE(PumpUntil([&] { return cbShrink->Checked(); }));
  EXPECT_TRUE(shown(cbShrink));
  PostClick(box, 6, 8);
  EXPECT_TRUE(PumpUntil([&] { return !cbShrink->Checked(); }));
  EXPECT_FALSE(shown(cbShrink));
  EXPECT_EQ(form->ActiveControl(), cbShrink);
  PressKey(box, VK_SPACE);
  EXPECT_TRUE(PumpUntil([&] { return cbShrink->Checked(); }));
  PostClick(PeerHandle(*rbPage), 6, 8);
  EXPECT_TRUE(PumpUntil([&] { return rbPage->Checked(); }));
  EXPECT_FALSE(rbAll->Checked());
  EXPECT_FALSE(shown(rbAll));
  EXPECT_TRUE(shown(rbPage));
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
  EXPECT_FALSE(shown(rbPage) || shown(rbRows));
  EXPECT_EQ(form->Clicks, (std::vector<std::string>{"shrink on", "shrink off", "shrink on", "what 1", "what 7",
                                                    "what 0", "shrink off"}));
  SaveWindowScreenshot(PeerHandle(*form), "controls-a-general");

  // A tab click asks first: refused, then allowed.
  form->AllowTab = false;
  PostClick(tabs, TabPoint(tabs, 1));
  PumpUntil([] { return false; }, 300);
  EXPECT_EQ(pc->ActivePage()->Name(), "tsGeneral");
  form->AllowTab = true;
  PostClick(tabs, TabPoint(tabs, 1));
  EXPECT_TRUE(PumpUntil([&] { return pc->ActivePage()->Name() == "tsTitles"; }));
  EXPECT_TRUE(IsWindowVisible(PeerHandle(*mem)));
  EXPECT_FALSE(IsWindowVisible(PeerHandle(*form->Find<TTabSheet>("tsGeneral"))));
  EXPECT_EQ(form->Log, (std::vector<std::string>{"up", "down", "check", "changing", "changing", "change"}));

  // Typing into the memo: lines, the caret and the modified mark; then copied whole.
  HWND memo = PeerHandle(*mem);
  SetFocus(memo);
  Type(memo, "Hello");
  PressKey(memo, VK_RETURN);
  PumpUntil([&] { return mem->Lines().Count() == 2; });
  Type(memo, "World");
  EXPECT_TRUE(PumpUntil([&] { return mem->Text() == "Hello\r\nWorld"; })) << mem->Text();
  EXPECT_TRUE(mem->Modified());
  EXPECT_EQ(form->MemoChanges, 11);
  EXPECT_EQ(mem->CaretPos(), (TPoint{5, 1}));
  mem->SelectAll();
  mem->CopyToClipboard();
  EXPECT_EQ(ClipboardText(), "Hello\r\nWorld");
  mem->SetSelStart(0);
  PumpUntil([] { return false; }, 300);
  SaveWindowScreenshot(PeerHandle(*form), "controls-a-titles");
  delete form;
  Application->ProcessMessages();
}
