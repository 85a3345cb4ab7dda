// The setup window as the user sees it: its frame, and each of its five pages brought to the
// front by a click on its tab, photographed for a person to look at.
#include <gtest/gtest.h>

#include "framework/win32/Win32Handles.h"

#include <string>

#include "engine/VLMXUtil.h"
#include "framework/ComCtrls.h"
#include "tests/e2e/Pump.h"
#include "tests/e2e/Screenshot.h"
#include "windows/VLMXMain/VLMXMain.h"

TEST(SetupWindowE2E, FrameAndEveryPageShowAtATabClick) {
  // The window on its own, without a report: no run starts when it shows, and it is placed
  // on the screen instead of waiting off screen for the start's decision.
  auto* form = new TfmVlxMain(Application);
  form->OnShow = nullptr;
  PlaceForm(form, true);
  form->Show();
  HWND window = PeerHandle(*form);
  ASSERT_NE(window, nullptr);
  SetForegroundWindow(window);
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
  delete form;
  Application->ProcessMessages();
}
