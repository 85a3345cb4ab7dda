// Timers on the virtual clock, panels from layouts, and the form's window state and OnResize.
#include <gtest/gtest.h>

#include <tuple>

#include "framework/ExtCtrls.h"
#include "framework/Forms.h"
#include "framework/Layout.h"
#include "framework/RegisterClasses.h"
#include "framework/rtl/DateUtils.h"
#include "tests/support/HeadlessFixture.h"

using TimerTest = HeadlessTest;

TEST_F(TimerTest, FiresOnceEachIntervalOfTheVirtualClockWhileEnabled) {
  TForm form(nullptr);
  auto* timer = new TTimer(&form);
  timer->SetInterval(1000);
  std::vector<unsigned> fired;
  const unsigned start = TickCount();
  timer->OnTimer = [&](TObject* Sender) {
    EXPECT_EQ(Sender, timer);
    fired.push_back(TickCount() - start);
  };
  Headless::AdvanceClock(999);
  Application->ProcessMessages();
  EXPECT_TRUE(fired.empty());
  Headless::AdvanceClock(1);
  Application->ProcessMessages();
  // Late by several intervals, it fires once and counts again from now, as WM_TIMER does.
  Headless::AdvanceClock(3500);
  Application->ProcessMessages();
  Application->ProcessMessages();
  EXPECT_EQ(fired, (std::vector<unsigned>{1000, 4500}));

  // Changing the interval restarts the count; disabling stops it.
  Headless::AdvanceClock(900);
  timer->SetInterval(500);
  Headless::AdvanceClock(400);
  Application->ProcessMessages();
  EXPECT_EQ(fired.size(), 2u);
  Headless::AdvanceClock(100);
  Application->ProcessMessages();
  EXPECT_EQ(fired.size(), 3u);
  timer->SetEnabled(false);
  Headless::AdvanceClock(5000);
  Application->ProcessMessages();
  timer->SetEnabled(true);
  timer->SetInterval(0);
  Headless::AdvanceClock(5000);
  Application->ProcessMessages();
  EXPECT_EQ(fired.size(), 3u) << "a disabled timer or one without an interval fires";
}

TEST_F(TimerTest, AHandlerMayFreeTimersAndItsExceptionGoesToTheErrorBox) {
  TForm form(nullptr);
  auto* first = new TTimer(&form);
  auto* second = new TTimer(&form);
  int secondFired = 0;
  first->OnTimer = [&](TObject*) {
    delete second;
    delete first;
    throw Exception("timer failed");
  };
  second->OnTimer = [&](TObject*) { ++secondFired; };
  Headless::AdvanceClock(1000);
  Application->ProcessMessages();
  EXPECT_EQ(secondFired, 0);
  EXPECT_EQ(Headless::ErrorBoxes(), std::vector<std::string>{"timer failed."});
  EXPECT_EQ(form.ComponentCount(), 0);
}

TEST_F(TimerTest, WaitAndProcessLetsTheTimersOfTheWaitFire) {
  TForm form(nullptr);
  auto* timer = new TTimer(&form);
  timer->SetInterval(300);
  int fired = 0;
  timer->OnTimer = [&](TObject*) { ++fired; };
  Application->WaitAndProcess(299);
  EXPECT_EQ(fired, 0);
  Application->WaitAndProcess(1);
  EXPECT_EQ(fired, 1);
}

TEST_F(HeadlessTest, PanelsAndTimersComeFromLayouts) {
  RegisterFrameworkClasses();
  TForm form(nullptr);
  ReadLayoutText(&form,
                 "TForm fmStatus\n"
                 "  TPanel paMsg\n"
                 "    Alignment = taLeftJustify\n"
                 "    BevelOuter = bvLowered\n"
                 "    BevelWidth = 2\n"
                 "    Color = clYellow\n"
                 "  TTimer Timer1\n"
                 "    Enabled = false\n"
                 "    Interval = 5000\n");
  auto* panel = As<TPanel>(form.FindComponent("paMsg"));
  auto* timer = As<TTimer>(form.FindComponent("Timer1"));
  ASSERT_TRUE(panel && timer);
  EXPECT_EQ(panel->Parent(), &form);
  EXPECT_EQ(std::make_tuple(panel->Alignment(), panel->BevelOuter(), panel->BevelWidth(), panel->Color()),
            std::make_tuple(TAlignment::taLeftJustify, TBevelCut::bvLowered, 2, clYellow));
  EXPECT_FALSE(timer->Enabled());
  EXPECT_EQ(timer->Interval(), 5000u);
}

TEST_F(HeadlessTest, OnResizeFollowsSizeChangesNotMovesNorLoading) {
  RegisterFrameworkClasses();
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
