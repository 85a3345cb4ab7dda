// The setup window as the user sees it: its frame, each of its five pages brought to the front
// by a click on its tab, and a field error typed by the keyboard, photographed for a person to
// look at.
#include <gtest/gtest.h>

#include "framework/win32/Win32Handles.h"

#include <string>

#include "engine/VLMXUtil.h"
#include "engine/Vellumix/ReportSettings.h"
#include "framework/ComCtrls.h"
#include "framework/ExtCtrls.h"
#include "framework/StdCtrls.h"
#include "tests/e2e/Pump.h"
#include "tests/e2e/Screenshot.h"
#include "windows/VLMXMain/VLMXMain.h"

namespace {

// The window with its own run, as Print creates it, but without a report: no start runs when
// it shows, and it is placed on the screen instead of waiting off screen for the start's
// decision. The printer is the destination.
struct TRunningWindow {
  TfmVlxMain* Form = new TfmVlxMain(Application);
  TRunningWindow() {
    Form->OnShow = nullptr;
    // As the start's application-wide set-up leaves them.
    Form->FSuppressEvents = Form->FSkipOutputRefresh = Form->FSkipValidation = Form->FValidationFailed = false;
    RptSettings->TextFontSize = 10;
    RptSettings->DefaultPrinter = true;
    Form->cbDefaultPrinter->SetChecked(true);
    Form->cbxOutputQualityDropDown(nullptr);
    Form->cbxOutputQuality->SetText("ASCII LineDraw");
    Form->cbxOutputDest->SetText("Printer");
  }
  // Shows the window in front; its handle.
  HWND Show() {
    PlaceForm(Form, true);
    Form->Show();
    HWND window = PeerHandle(*Form);
    if (window) SetForegroundWindow(window);
    return window;
  }
  ~TRunningWindow() {
    delete Form;
    Application->ProcessMessages();
  }
};

}  // namespace

TEST(SetupWindowE2E, FrameAndEveryPageShowAtATabClick) {
  TRunningWindow running;
  TfmVlxMain* form = running.Form;
  HWND window = running.Show();
  ASSERT_NE(window, nullptr);
  PumpUntil([] { return false; }, 300);

  EXPECT_EQ(WindowText(window), "Report Options");
  RECT client{};
  GetClientRect(window, &client);
  EXPECT_EQ(client.right, 658);
  EXPECT_EQ(client.bottom, 431);
  const LONG style = GetWindowLongA(window, GWL_STYLE);
  EXPECT_TRUE(style & WS_SYSMENU);
  EXPECT_FALSE(style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME));
  EXPECT_NE(GetMenu(window), nullptr);

  HWND tabs = PeerHandle(*form->pcOptions);
  ASSERT_EQ(SendMessageA(tabs, TCM_GETITEMCOUNT, 0, 0), 5);
  // From the last tab back to the first, so that every click changes the page.
  for (int i = 4; i >= 0; --i) {
    TTabSheet* page = form->pcOptions->Pages(i);
    PostClick(tabs, TabPoint(tabs, i));
    EXPECT_TRUE(PumpUntil([&] { return form->pcOptions->ActivePage() == page; })) << page->Caption();
    EXPECT_TRUE(IsWindowVisible(PeerHandle(*page))) << page->Caption();
    PumpUntil([] { return false; }, 300);
    SaveWindowScreenshot(window, "setup-window-" + std::to_string(i + 1) + "-" + page->Caption());
  }
}

TEST(SetupWindowE2E, MarginOutOfRangeTypedShowsItsErrorOnTheOutputPage) {
  TRunningWindow running;
  TfmVlxMain* form = running.Form;
  HWND window = running.Show();
  ASSERT_NE(window, nullptr);
  HWND tabs = PeerHandle(*form->pcOptions);
  PostClick(tabs, TabPoint(tabs, 1));
  ASSERT_TRUE(PumpUntil([&] { return form->pcOptions->ActivePage() == form->tsOutput; }));
  HWND edit = PeerHandle(*form->edPageMarginRight);
  PostClick(edit, 5, 5);
  ASSERT_TRUE(PumpUntil([&] { return GetFocus() == edit; }));
  Press(VK_END);
  for (int i = 0; i < 5; ++i) Press(VK_BACK);
  for (char c : std::string("1x50")) Press(c == 'x' ? 'X' : static_cast<WORD>(c));
  ASSERT_TRUE(PumpUntil([&] { return form->edPageMarginRight->Text() == "150"; })) << form->edPageMarginRight->Text();
  // Leaving the edit checks it: the message stands in the status panel, the page in front,
  // and the focus goes back to the edit.
  Press(VK_TAB);
  HWND status = PeerHandle(*form->paMsg);
  EXPECT_TRUE(PumpUntil([&] {
    return WindowText(status) == "  Page Right Margin must be between 0 and 100 characters" && GetFocus() == edit;
  })) << WindowText(status);
  EXPECT_EQ(form->pcOptions->ActivePage(), form->tsOutput);
  EXPECT_TRUE(IsWindowVisible(PeerHandle(*form->tsOutput)));
  PumpUntil([] { return false; }, 300);
  SaveWindowScreenshot(window, "setup-window-margin-error");
}
