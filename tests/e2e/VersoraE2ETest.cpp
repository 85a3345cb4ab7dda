// The book-table window as its user meets it under Wine: the real window, real mouse messages on
// the heading, the Print button, and a screenshot of what the screen shows.
#include "app/VersoraMain.h"
#include "framework/win32/Win32Handles.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "tests/e2e/Pump.h"
#include "tests/e2e/Screenshot.h"

namespace {

class VersoraWindow : public ::testing::Test {
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

  void ClickHeading(int Col) {
    TRect r = frmVersora->strgrd->CellRect(Col, 0);
    PostClick(PeerHandle(*frmVersora->strgrd), (r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2);
    Application->ProcessMessages();
  }

  std::string Cell(int Col, int Row) const { return frmVersora->strgrd->Cells(Col, Row); }

  HWND Window = nullptr;
};

}  // namespace

TEST_F(VersoraWindow, OpensCentredWithItsCaptionAndCannotBeResized) {
  EXPECT_EQ(WindowText(Window), "Versora - click on columns to sort");
  RECT client, frame;
  GetClientRect(Window, &client);
  GetWindowRect(Window, &frame);
  EXPECT_EQ(client.right, 592);
  EXPECT_EQ(client.bottom, 576);
  EXPECT_NEAR((frame.left + frame.right) / 2, GetSystemMetrics(SM_CXSCREEN) / 2, 2);
  EXPECT_NEAR((frame.top + frame.bottom) / 2, GetSystemMetrics(SM_CYSCREEN) / 2, 2);
  LONG style = GetWindowLongA(Window, GWL_STYLE);
  EXPECT_FALSE(style & WS_THICKFRAME);
  EXPECT_FALSE(style & WS_MAXIMIZEBOX);
  MINMAXINFO limits = {};
  SendMessageA(Window, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&limits));
  EXPECT_EQ(limits.ptMaxTrackSize.x, frame.right - frame.left);
  EXPECT_EQ(limits.ptMinTrackSize.y, frame.bottom - frame.top);
  PumpUntil([] { return false; }, 300);
  EXPECT_FALSE(SaveWindowScreenshot(Window, "versora-main").empty());
}

TEST_F(VersoraWindow, HeadingReleaseSortsAndASecondReverses) {
  ClickHeading(0);
  EXPECT_EQ(Cell(0, 0), "NAME");
  EXPECT_EQ(Cell(0, 1), "1 Chronicles");
  EXPECT_EQ(Cell(0, 66), "Zephaniah");
  EXPECT_EQ(Cell(1, 1), "Ezra") << "a book's writer travels with it";
  ClickHeading(0);
  EXPECT_EQ(Cell(0, 1), "Zephaniah");
  EXPECT_EQ(Cell(0, 66), "1 Chronicles");
  EXPECT_EQ(Screen->Cursor(), crDefault);
  PumpUntil([] { return false; }, 300);
  SaveWindowScreenshot(Window, "versora-sorted");
}

TEST_F(VersoraWindow, PrintButtonReachesTheComponent) {
  // With no object to print, the component's setup error comes up in the program's error box,
  // which a posted task reads and closes.
  frmVersora->VlxVellumix1->SetObjectToPrint(nullptr);
  std::string boxText;
  std::function<void()> answerBox = [&] {
    HWND box = FindWindowA("#32770", nullptr);
    if (!box) return Application->Post(Application, answerBox);  // not up yet
    char text[512] = {};
    GetDlgItemTextA(box, 0xFFFF, text, sizeof text);
    boxText = text;
    PostMessageA(box, WM_COMMAND, IDOK, 0);
  };
  Application->Post(Application, answerBox);
  PostClick(PeerHandle(*frmVersora->btnPrint), 10, 10);
  ASSERT_TRUE(PumpUntil([&] { return !boxText.empty(); }, 10000));
  EXPECT_EQ(boxText, "Vellumix! Setup Error: VlxVellumix1.ObjectToPrint not assigned. Report cannot continue.");
  EXPECT_EQ(Cell(0, 1), "Genesis") << "printing leaves the table as it was";
}
