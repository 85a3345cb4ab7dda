// The book-table window as its user meets it under Wine: the real window, real mouse messages on
// the heading, the Print button, and a screenshot of what the screen shows.
#include "app/VersoraMain.h"
#include "framework/win32/Win32Handles.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

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
    Grid = PeerHandle(*frmVersora->strgrd);
    ASSERT_TRUE(PumpUntil([&] { return IsWindowVisible(Window) && GetFocus() != nullptr; }));
  }

  void TearDown() override {
    delete frmVersora;
    frmVersora = nullptr;
    Application->ProcessMessages();
  }

  // A press and a release of the left button over a client point of the grid.
  void ClickGrid(int X, int Y) {
    PostMessageA(Grid, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(X, Y));
    PostMessageA(Grid, WM_LBUTTONUP, 0, MAKELPARAM(X, Y));
    Application->ProcessMessages();
  }

  std::string Cell(int Col, int Row) const { return frmVersora->strgrd->Cells(Col, Row); }

  HWND Window = nullptr;
  HWND Grid = nullptr;
};

std::string WindowText(HWND W) {
  char text[512] = {};
  GetWindowTextA(W, text, sizeof text);
  return text;
}

}  // namespace

TEST_F(VersoraWindow, OpensCentredWithItsCaptionAndTable) {
  EXPECT_EQ(WindowText(Window), "Versora - click on columns to sort");
  RECT client, frame;
  GetClientRect(Window, &client);
  GetWindowRect(Window, &frame);
  EXPECT_EQ(client.right, 592);
  EXPECT_EQ(client.bottom, 576);
  int screenW = GetSystemMetrics(SM_CXSCREEN), screenH = GetSystemMetrics(SM_CYSCREEN);
  EXPECT_NEAR(frame.left + (frame.right - frame.left) / 2, screenW / 2, 2);
  EXPECT_NEAR(frame.top + (frame.bottom - frame.top) / 2, screenH / 2, 2);
  LONG style = GetWindowLongA(Window, GWL_STYLE);
  EXPECT_FALSE(style & WS_THICKFRAME) << "the window must not be resizable";
  EXPECT_FALSE(style & WS_MAXIMIZEBOX);

  // The user cannot drag it larger: the system asks the window for its limits.
  MINMAXINFO limits = {};
  SendMessageA(Window, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&limits));
  EXPECT_EQ(limits.ptMaxTrackSize.x, frame.right - frame.left);
  EXPECT_EQ(limits.ptMinTrackSize.y, frame.bottom - frame.top);

  ASSERT_TRUE(PumpUntil([] { return false; }, 300) || true);
  std::string shot = SaveWindowScreenshot(Window, "versora-main");
  EXPECT_FALSE(shot.empty());
}

TEST_F(VersoraWindow, HeadingReleaseSortsAndASecondReverses) {
  // Column 0's heading cell spans x 0..114 of the first row.
  ClickGrid(40, 10);
  EXPECT_EQ(Cell(0, 0), "NAME");
  EXPECT_EQ(Cell(0, 1), "1 Chronicles");
  EXPECT_EQ(Cell(0, 66), "Zephaniah");
  EXPECT_EQ(Cell(1, 1), "Ezra") << "a book's writer travels with it";

  ClickGrid(40, 10);
  EXPECT_EQ(Cell(0, 1), "Zephaniah");
  EXPECT_EQ(Cell(0, 66), "1 Chronicles");

  // A release on a book row sorts nothing.
  ClickGrid(40, 100);
  EXPECT_EQ(Cell(0, 1), "Zephaniah");

  // Column 3 ("WRITING COMPLETED") starts ascending: every BCE before every CE.
  RECT heading3 = {};
  TRect r = frmVersora->strgrd->CellRect(3, 0);
  heading3 = {r.Left, r.Top, r.Right, r.Bottom};
  ClickGrid((heading3.left + heading3.right) / 2, 10);
  EXPECT_EQ(Cell(3, 1).substr(0, 4), "BCE ");
  EXPECT_EQ(Cell(3, 66).substr(0, 3), "CE ");
  EXPECT_EQ(Screen->Cursor(), crDefault);

  ASSERT_TRUE(PumpUntil([] { return false; }, 300) || true);
  SaveWindowScreenshot(Window, "versora-sorted");
}

TEST_F(VersoraWindow, PrintButtonReachesTheComponent) {
  // With no object to print, the component refuses before any window of its own: its setup
  // error comes up in the program's error box, which a posted task reads and closes.
  frmVersora->VlxVellumix1->SetObjectToPrint(nullptr);
  std::string boxText;
  std::function<void()> answerBox = [&] {
    HWND box = FindWindowA("#32770", nullptr);
    if (!box) {
      Application->Post(Application, answerBox);  // not up yet: look again on the next turn
      return;
    }
    char text[512] = {};
    GetDlgItemTextA(box, 0xFFFF, text, sizeof text);
    boxText = text;
    PostMessageA(box, WM_COMMAND, IDOK, 0);
  };
  Application->Post(Application, answerBox);
  HWND print = PeerHandle(*frmVersora->btnPrint);
  PostMessageA(print, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
  PostMessageA(print, WM_LBUTTONUP, 0, MAKELPARAM(10, 10));
  ASSERT_TRUE(PumpUntil([&] { return !boxText.empty(); }, 10000));
  EXPECT_EQ(boxText, "Vellumix! Setup Error: VlxVellumix1.ObjectToPrint not assigned. Report cannot continue.");
  EXPECT_EQ(Cell(0, 1), "Genesis") << "printing leaves the table as it was";
}
