// The status panel and timers on real windows under Wine: a warning paints the panel yellow at
// once, the timer that clears it fires through the system's timers while DelayMs waits, and
// DelayMs waits without using the processor.
#include <gtest/gtest.h>

#include "framework/win32/Win32Handles.h"

#include "engine/VLMXUtil.h"
#include "framework/ExtCtrls.h"
#include "framework/Forms.h"
#include "tests/e2e/Pump.h"
#include "tests/e2e/Screenshot.h"

namespace {

// How many pixels of the panel's inside show the colour (0xRRGGBB).
int PixelsOf(HWND Panel, std::uint32_t Rgb) {
  TScreenImage shot = CaptureWindow(Panel);
  int n = 0;
  for (std::uint32_t p : shot.Pixels) n += p == Rgb;
  return n;
}

double CpuSeconds() {
  FILETIME created, exited, kernel, user;
  GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
  auto seconds = [](FILETIME t) { return ((static_cast<unsigned long long>(t.dwHighDateTime) << 32) | t.dwLowDateTime) / 1e7; };
  return seconds(kernel) + seconds(user);
}

}  // namespace

TEST(ExtCtrlsE2E, AWarningPaintsThePanelAndItsTimerClearsItWhileDelayMsWaits) {
  auto* form = new TForm(Application);
  form->SetCaption("Versora status panel test");
  form->SetBounds(100, 100, 400, 160);
  auto* panel = new TPanel(form);
  panel->SetParent(form);
  panel->SetBounds(8, 8, 360, 30);
  panel->SetAlignment(TAlignment::taLeftJustify);
  auto* timer = new TTimer(form);
  timer->SetEnabled(false);
  int cleared = 0;
  timer->OnTimer = [&](TObject*) {
    ++cleared;
    ShowStatusMsg(panel, "", smkNormal, timer, -1);
  };
  form->Show();
  HWND window = PeerHandle(*panel);
  ASSERT_NE(window, nullptr);
  SetForegroundWindow(PeerHandle(*form));
  PumpUntil([] { return false; }, 300);

  ShowStatusMsg(panel, "Field is required", smkWarning, timer, 1);
  // Painted at once, before any message is handled: nothing of the panel waits to be painted.
  EXPECT_FALSE(GetUpdateRect(window, nullptr, FALSE)) << "the panel was left to paint later";
  EXPECT_TRUE(PumpUntil([&] { return PixelsOf(window, 0xFFFF00) > 360 * 20; })) << "the panel is not yellow";
  SaveWindowScreenshot(PeerHandle(*form), "status-warning");

  const DWORD start = GetTickCount();
  const double cpu = CpuSeconds();
  DelayMs(1500);
  const DWORD waited = GetTickCount() - start;
  EXPECT_GE(waited, 1500u);
  EXPECT_LT(waited, 3000u);
  EXPECT_LT(CpuSeconds() - cpu, 0.5) << "DelayMs kept the processor busy";
  EXPECT_EQ(cleared, 1);
  EXPECT_FALSE(timer->Enabled());
  EXPECT_EQ(panel->Color(), clBtnFace);
  EXPECT_TRUE(PumpUntil([&] { return PixelsOf(window, 0xFFFF00) == 0; })) << "the yellow stayed";
  delete form;
  Application->ProcessMessages();
}
