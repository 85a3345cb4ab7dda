// Timers on the virtual clock, aligned panels, and the form's window state and OnResize.
#include <gtest/gtest.h>

#include <functional>

#include "framework/ExtCtrls.h"
#include "framework/Forms.h"
#include "framework/Layout.h"
#include "tests/support/HeadlessFixture.h"

// When it fires late is the platform's; the timer's own rule is that a new interval starts
// the count again and that a disabled timer, or one without an interval, never fires.
TEST_F(HeadlessTest, TimerRestartsOnANewIntervalAndStaysQuietWhileDisabled) {
  TForm form(nullptr);
  auto* timer = new TTimer(&form);
  timer->SetInterval(1000);
  int fired = 0;
  timer->OnTimer = [&](TObject* Sender) { fired += Sender == timer; };
  const std::function<void()> Steps[] = {
      [] { Headless::AdvanceClock(999); },
      [] { Headless::AdvanceClock(1); },  // fires
      [&] { Headless::AdvanceClock(900); timer->SetInterval(500); Headless::AdvanceClock(400); },
      [] { Headless::AdvanceClock(100); },  // fires
      [&] { timer->SetEnabled(false); Headless::AdvanceClock(5000); },
      [&] { timer->SetEnabled(true); timer->SetInterval(0); Headless::AdvanceClock(5000); },
  };
  const int Fired[] = {0, 1, 1, 2, 2, 2};
  for (size_t I = 0; I < std::size(Steps); ++I) {
    Steps[I]();
    Application->ProcessMessages();
    EXPECT_EQ(fired, Fired[I]) << "step " << I;
  }
}

TEST_F(HeadlessTest, OnResizeFollowsSizeChangesNotMovesNorLoading) {
  TForm form(nullptr);
  int resized = 0;
  form.OnResize = [&](TObject* Sender) {
    EXPECT_EQ(Sender, &form);
    ++resized;
  };
  form.SetBounds(10, 10, 300, 200);
  form.SetLeft(50);
  form.SetTop(60);
  EXPECT_EQ(resized, 1);
  form.SetClientWidth(400);
  form.PeerBoundsChanged(0, 0, 640, 480);
  form.PeerBoundsChanged(5, 5, 640, 480);
  EXPECT_EQ(resized, 3);

  TForm loaded(nullptr);
  int loadedResized = 0;
  loaded.RegisterMethod("FormResize", std::any(TNotifyEvent([&](TObject*) { ++loadedResized; })));
  ReadLayoutText(&loaded,
                 "TForm fmLoaded\n"
                 "  OnResize = FormResize\n"
                 "  WindowState = wsMaximized\n"
                 "  Width = 500\n"
                 "  ClientHeight = 300\n");
  EXPECT_EQ(loadedResized, 0);
  EXPECT_EQ(loaded.WindowState(), TWindowState::wsMaximized);
  loaded.PeerWindowStateChanged(TWindowState::wsNormal);
  EXPECT_EQ(loaded.WindowState(), TWindowState::wsNormal);
}

TEST_F(HeadlessTest, AlignedControlsShareTheParentEdgeByEdgeAndFollowItsSize) {
  TForm form(nullptr);
  ReadLayoutText(&form,
                 "TForm fmAligned\n"
                 "  ClientWidth = 400\n"
                 "  ClientHeight = 300\n"
                 "  TPanel paTop\n"
                 "    Align = alTop\n"
                 "    Height = 32\n"
                 "  TPanel paBottom\n"
                 "    Align = alBottom\n"
                 "    Height = 44\n"
                 "    BevelOuter = bvNone\n"
                 "    TPanel paMsg\n"
                 "      Align = alBottom\n"
                 "      Height = 22\n"
                 "    TPanel paFar\n"
                 "      Align = alRight\n"
                 "      Width = 150\n"
                 "    TPanel paNear\n"
                 "      Align = alRight\n"
                 "      Width = 50\n"
                 "    TPanel paRest\n"
                 "      Align = alClient\n"
                 "  TPanel paMiddle\n"
                 "    Align = alClient\n"
                 "    BevelInner = bvLowered\n"
                 "    BevelWidth = 2\n"
                 "    TPanel paLeft\n"
                 "      Align = alLeft\n"
                 "      Width = 100\n"
                 "    TPanel paFixed\n"
                 "      Left = 150\n"
                 "      Top = 10\n"
                 "      Width = 20\n"
                 "      Height = 20\n");
  auto bounds = [&](const char* Name) { return As<TControl>(form.FindComponent(Name))->BoundsRect(); };
  const std::vector<std::pair<const char*, TRect>> expected = {
      {"paTop", {0, 0, 400, 32}},     {"paBottom", {0, 256, 400, 300}}, {"paMsg", {0, 22, 400, 44}},
      {"paFar", {250, 0, 400, 22}},   {"paNear", {200, 0, 250, 22}},    {"paRest", {0, 0, 200, 22}},
      {"paMiddle", {0, 32, 400, 256}}, {"paLeft", {4, 4, 104, 220}},    {"paFixed", {150, 10, 170, 30}}};
  for (auto& [name, rect] : expected) EXPECT_EQ(bounds(name), rect) << name;

  // A taller window, a hidden edge control and a wider edge control move the others.
  form.SetClientHeight(400);
  As<TControl>(form.FindComponent("paTop"))->Hide();
  As<TControl>(form.FindComponent("paNear"))->SetWidth(80);
  EXPECT_EQ(bounds("paMiddle"), (TRect{0, 0, 400, 356}));
  EXPECT_EQ(bounds("paBottom"), (TRect{0, 356, 400, 400}));
  EXPECT_EQ(bounds("paLeft"), (TRect{4, 4, 104, 352}));
  EXPECT_EQ(bounds("paRest"), (TRect{0, 0, 170, 22}));
  EXPECT_EQ(bounds("paFixed"), (TRect{150, 10, 170, 30}));
}
