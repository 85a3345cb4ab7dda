// The Win32 backend under Wine: a form built like the book-table window, driven by real window
// messages, checked on the real windows and on the model they report to.
#include "framework/Buttons.h"
#include "framework/Forms.h"
#include "framework/Grids.h"
#include "framework/Layout.h"
#include "framework/StdCtrls.h"
#include "framework/win32/Win32Handles.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/e2e/Pump.h"
#include "tests/e2e/Screenshot.h"

namespace {

const char* const kCaption = "Backend test - click on columns to sort";
constexpr TColor kFormColor = 0x4080C0;  // an RGB colour no system colour has

struct TMouseRecord {
  TMouseButton Button;
  TShiftState Shift;
  int X, Y;
};

LPARAM At(int X, int Y) { return MAKELPARAM(X, Y); }

std::uint32_t ScreenRgb(COLORREF C) { return (GetRValue(C) << 16) | (GetGValue(C) << 8) | GetBValue(C); }

class Win32Backend : public ::testing::Test {
protected:
  void SetUp() override {
    Application->OnException = [this](TObject*, const std::exception& E) { Errors.push_back(E.what()); };
    Form = new TForm(Application);
    Form->SetBorderStyle(TFormBorderStyle::bsDialog);
    Form->SetCaption(kCaption);
    Form->SetClientWidth(592);
    Form->SetClientHeight(576);
    Form->SetPosition(TPosition::poScreenCenter);
    Form->SetColor(kFormColor);

    Grid = new TStringGrid(Form);
    Grid->SetParent(Form);
    Grid->SetBounds(0, 0, 592, 541);
    Grid->SetRowCount(67);
    Grid->SetFixedCols(0);
    Grid->SetDefaultColWidth(115);
    Grid->SetScrollBars(TScrollStyle::ssVertical);
    Grid->SetTabOrder(0);
    for (int r = 0; r < 67; ++r)
      for (int c = 0; c < 5; ++c) Grid->SetCells(c, r, r == 0 ? "HEAD" : "R" + std::to_string(r));
    Grid->OnMouseUp = [this](TObject*, TMouseButton B, TShiftState S, int X, int Y) { Ups.push_back({B, S, X, Y}); };

    Note = new TLabel(Form);
    Note->SetParent(Form);
    Note->SetBounds(1, 557, 241, 16);
    Note->SetCaption("Note: In BCE, the years count down");
    Note->Font().SetHeight(-13);
    Note->Font().SetStyle(fsBold);
    Note->Font().SetColor(clPurple);
    Note->SetTransparent(true);

    Print = new TBitBtn(Form);
    Print->SetParent(Form);
    Print->SetBounds(388, 548, 75, 25);
    Print->SetCaption("&Print");
    Print->SetTabOrder(1);
    Print->OnClick = [this](TObject*) { ++PrintClicks; };

    Close = new TBitBtn(Form);
    Close->SetParent(Form);
    Close->SetBounds(511, 548, 75, 25);
    Close->SetKind(TBitBtnKind::bkClose);
    Close->SetTabOrder(2);

    Form->Show();
    Window = PeerHandle(*Form);
    ASSERT_NE(Window, nullptr);
    SetForegroundWindow(Window);
    ASSERT_TRUE(PumpUntil([&] { return GetFocus() == PeerHandle(*Grid); }))
        << "showing the form did not give its first control the focus";
  }

  void TearDown() override {
    delete Form;
    Application->ProcessMessages();
    Application->OnException = nullptr;
  }

  // Sends a press and a release, as a click of the mouse arrives.
  static void Click(HWND Target, int X, int Y, WPARAM Keys = 0, UINT Down = WM_LBUTTONDOWN, UINT Up = WM_LBUTTONUP) {
    PostMessageA(Target, Down, Keys | (Down == WM_LBUTTONDOWN ? MK_LBUTTON : MK_RBUTTON), At(X, Y));
    PostMessageA(Target, Up, Keys, At(X, Y));
    Application->ProcessMessages();
  }

  TForm* Form = nullptr;
  TStringGrid* Grid = nullptr;
  TLabel* Note = nullptr;
  TBitBtn* Print = nullptr;
  TBitBtn* Close = nullptr;
  HWND Window = nullptr;
  std::vector<TMouseRecord> Ups;
  std::vector<std::string> Errors;
  int PrintClicks = 0;
};

TEST_F(Win32Backend, DialogFormHasTheModelsFrameSizeAndPlace) {
  LONG style = GetWindowLongA(Window, GWL_STYLE);
  EXPECT_TRUE(style & WS_CAPTION);
  EXPECT_TRUE(style & WS_SYSMENU);
  EXPECT_FALSE(style & WS_THICKFRAME) << "a dialog frame cannot be resized";
  EXPECT_FALSE(style & WS_MAXIMIZEBOX);
  EXPECT_TRUE(GetWindowLongA(Window, GWL_EXSTYLE) & WS_EX_DLGMODALFRAME);

  char text[128];
  GetWindowTextA(Window, text, sizeof text);
  EXPECT_STREQ(text, kCaption);

  RECT client, frame;
  GetClientRect(Window, &client);
  GetWindowRect(Window, &frame);
  EXPECT_EQ(client.right, 592);
  EXPECT_EQ(client.bottom, 576);
  EXPECT_EQ(frame.right - frame.left, Form->Width());
  EXPECT_EQ(frame.bottom - frame.top, Form->Height());
  EXPECT_EQ(frame.left, (GetSystemMetrics(SM_CXSCREEN) - Form->Width()) / 2);
  EXPECT_EQ(frame.top, (GetSystemMetrics(SM_CYSCREEN) - Form->Height()) / 2);

  // Code changes reach the window; the user's moves reach the model.
  Form->SetCaption("Renamed");
  Form->SetClientHeight(500);
  GetWindowTextA(Window, text, sizeof text);
  EXPECT_STREQ(text, "Renamed");
  GetClientRect(Window, &client);
  EXPECT_EQ(client.bottom, 500);
  SetWindowPos(Window, nullptr, 40, 50, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  EXPECT_EQ(Form->Left(), 40);
  EXPECT_EQ(Form->Top(), 50);
  EXPECT_EQ(Form->ClientHeight(), 500);

  Form->Constraints().MinWidth = 610;
  Form->Constraints().MaxHeight = 640;
  MINMAXINFO limits{};
  SendMessageA(Window, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&limits));
  EXPECT_EQ(limits.ptMinTrackSize.x, 610);
  EXPECT_EQ(limits.ptMaxTrackSize.y, 640);
}

TEST_F(Win32Backend, GridReportsMouseInClientCoordinatesAndScrollsByItsBar) {
  HWND grid = PeerHandle(*Grid);
  TRect head = Grid->CellRect(2, 0);
  Click(grid, head.Left + 5, head.Top + 5, MK_SHIFT);
  Click(grid, 30, 80, 0, WM_RBUTTONDOWN, WM_RBUTTONUP);
  ASSERT_EQ(Ups.size(), 2u);
  EXPECT_EQ(Ups[0].Button, TMouseButton::mbLeft);
  EXPECT_EQ(Ups[0].Shift, ssShift);
  int col, row;
  Grid->MouseToCell(Ups[0].X, Ups[0].Y, col, row);
  EXPECT_EQ(col, 2);
  EXPECT_EQ(row, 0);
  EXPECT_EQ(Ups[1].Button, TMouseButton::mbRight);
  EXPECT_EQ(Ups[1].X, 30);
  EXPECT_EQ(Ups[1].Y, 80);
  EXPECT_EQ(GetCapture(), nullptr) << "the grid kept the mouse after the release";

  // A left press on a data cell makes it the current cell.
  TRect cell = Grid->CellRect(3, 4);
  Click(grid, cell.Left + 3, cell.Top + 3);
  EXPECT_EQ(Grid->Col(), 3);
  EXPECT_EQ(Grid->Row(), 4);

  SCROLLINFO si{sizeof si, SIF_ALL, 0, 0, 0, 0, 0};
  GetScrollInfo(grid, SB_VERT, &si);
  EXPECT_EQ(si.nMax, 65);
  EXPECT_EQ(static_cast<int>(si.nPage), Grid->VisibleRowCount());
  EXPECT_EQ(si.nPos, 0);
  EXPECT_FALSE(GetWindowLongA(grid, GWL_STYLE) & WS_HSCROLL);

  SendMessageA(grid, WM_VSCROLL, SB_LINEDOWN, 0);
  EXPECT_EQ(Grid->TopRow(), 2);
  SendMessageA(grid, WM_VSCROLL, SB_PAGEDOWN, 0);
  EXPECT_EQ(Grid->TopRow(), 2 + Grid->VisibleRowCount());
  SendMessageA(grid, WM_VSCROLL, SB_BOTTOM, 0);
  EXPECT_EQ(Grid->TopRow(), 67 - Grid->VisibleRowCount());
  SendMessageA(grid, WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), 0);
  EXPECT_EQ(Grid->TopRow(), 67 - Grid->VisibleRowCount() - 3);
  GetScrollInfo(grid, SB_VERT, &si);
  EXPECT_EQ(si.nPos, Grid->TopRow() - 1) << "the bar does not follow the model";

  // Arrow keys move the current cell, scrolling it into view.
  Grid->SetTopRow(1);
  SendMessageA(grid, WM_KEYDOWN, VK_END, 0);
  EXPECT_EQ(Grid->Row(), 66);
  EXPECT_EQ(Grid->TopRow(), 67 - Grid->VisibleRowCount());
  SendMessageA(grid, WM_KEYDOWN, VK_LEFT, 0);
  EXPECT_EQ(Grid->Col(), 2);
  EXPECT_TRUE(Errors.empty());
}

TEST_F(Win32Backend, ButtonsAndKeysOfTheForm) {
  HWND print = PeerHandle(*Print);
  Click(print, 10, 10);
  EXPECT_EQ(PrintClicks, 1) << "a click of the real button";

  PostMessageA(PeerHandle(*Grid), WM_SYSCHAR, 'p', 1 << 29);
  Application->ProcessMessages();
  EXPECT_EQ(PrintClicks, 2) << "Alt+P, the button's accelerator";

  PostMessageA(PeerHandle(*Grid), WM_KEYDOWN, VK_TAB, 0);
  Application->ProcessMessages();
  EXPECT_EQ(GetFocus(), print) << "Tab goes to the next control in tab order";
  EXPECT_EQ(Form->ActiveControl(), Print);

  PostMessageA(print, WM_KEYDOWN, VK_RETURN, 0);
  Application->ProcessMessages();
  EXPECT_EQ(PrintClicks, 3) << "Enter clicks the focused button";

  // A form with KeyPreview sees the key first and may swallow it.
  std::vector<unsigned short> formKeys, gridKeys;
  Form->SetKeyPreview(true);
  Form->OnKeyDown = [&](TObject*, unsigned short& Key, TShiftState) {
    formKeys.push_back(Key);
    if (Key == VK_ESCAPE) Key = 0;
  };
  Grid->OnKeyDown = [&](TObject*, unsigned short& Key, TShiftState) { gridKeys.push_back(Key); };
  SendMessageA(PeerHandle(*Grid), WM_KEYDOWN, VK_ESCAPE, 0);
  SendMessageA(PeerHandle(*Grid), WM_KEYDOWN, 'A', 0);
  EXPECT_EQ(formKeys, (std::vector<unsigned short>{VK_ESCAPE, 'A'}));
  EXPECT_EQ(gridKeys, (std::vector<unsigned short>{'A'}));
}

TEST_F(Win32Backend, CloseBoxAsksTheModel) {
  bool allow = false;
  int asked = 0;
  Form->OnCloseQuery = [&](TObject*, bool& CanClose) { ++asked; CanClose = allow; };
  PostMessageA(Window, WM_CLOSE, 0, 0);
  Application->ProcessMessages();
  EXPECT_EQ(asked, 1);
  EXPECT_TRUE(IsWindow(Window));
  EXPECT_TRUE(IsWindowVisible(Window)) << "a refused close left the window";

  allow = true;
  PostMessageA(Window, WM_CLOSE, 0, 0);
  Application->ProcessMessages();
  EXPECT_EQ(asked, 2);
  EXPECT_FALSE(Form->Visible());
  EXPECT_FALSE(IsWindowVisible(Window));
}

TEST_F(Win32Backend, ExceptionInAHandlerEndsInTheErrorBoxAndTheWindowGoesOn) {
  Grid->OnMouseUp = [](TObject*, TMouseButton, TShiftState, int, int) { throw Exception("Grid handler failed"); };
  Print->OnClick = [](TObject*) { throw Exception("Button handler failed"); };
  Click(PeerHandle(*Grid), 10, 10);
  Click(PeerHandle(*Print), 10, 10);
  EXPECT_EQ(Errors, (std::vector<std::string>{"Grid handler failed", "Button handler failed"}));
  SendMessageA(PeerHandle(*Grid), WM_VSCROLL, SB_LINEDOWN, 0);
  EXPECT_EQ(Grid->TopRow(), 2) << "the window stopped working after the exception";
}

TEST_F(Win32Backend, PostedTasksRunInsideMessageBoxAndModalLoops) {
  // The task answers the box from inside the box's own loop.
  Application->Post(Form, [] {
    HWND box = FindWindowA(nullptr, "Backend question");
    if (box) PostMessageA(box, WM_COMMAND, IDNO, 0);
  });
  EXPECT_EQ(Application->MessageBox("Go on?", "Backend question", MsgBox::YesNo), MsgBox::IdNo);

  auto* dialog = new TForm(Application);
  dialog->SetBorderStyle(TFormBorderStyle::bsDialog);
  dialog->SetCaption("Backend modal");
  dialog->SetBounds(100, 100, 200, 120);
  bool ownerDisabled = false;
  Application->Post(dialog, [&] {
    ownerDisabled = !IsWindowEnabled(Window);
    dialog->SetModalResult(mrOk);
  });
  EXPECT_EQ(dialog->ShowModal(), mrOk);
  EXPECT_TRUE(ownerDisabled) << "the other windows stay usable during a modal showing";
  EXPECT_TRUE(IsWindowEnabled(Window)) << "the other windows were not enabled again";
  EXPECT_EQ(GetWindow(PeerHandle(*dialog), GW_OWNER), Window);

  // The program's end, asked for in a modal loop, ends it and still reaches the outer loop.
  Application->Post(dialog, [] { PostQuitMessage(7); });
  EXPECT_EQ(dialog->ShowModal(), mrNone);
  MSG quit;
  ASSERT_TRUE(PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
  EXPECT_EQ(quit.wParam, 7u);
  EXPECT_TRUE(IsWindowEnabled(Window));
  delete dialog;
}

TEST_F(Win32Backend, PaintsFixedAndScrollableCellsAndATransparentLabel) {
  TScreenImage shot;
  HWND grid = PeerHandle(*Grid);
  RECT frame;
  auto pixel = [&](HWND In, int X, int Y) {
    POINT p{X, Y};
    ClientToScreen(In, &p);
    return shot.At(p.x - frame.left, p.y - frame.top);
  };
  ASSERT_TRUE(PumpUntil([&] {
    GetWindowRect(Window, &frame);
    shot = CaptureWindow(Window);
    return pixel(Window, 300, 565) == ScreenRgb(static_cast<COLORREF>(kFormColor));
  })) << "the form's colour never reached the screen";
  SaveBmp(shot, "win32-backend");

  TRect head = Grid->CellRect(1, 0), cell = Grid->CellRect(1, 5);
  EXPECT_EQ(pixel(grid, head.Right - 4, head.Top + 4), ScreenRgb(GetSysColor(COLOR_BTNFACE)));
  EXPECT_EQ(pixel(grid, cell.Right - 4, cell.Top + 4), ScreenRgb(GetSysColor(COLOR_WINDOW)));
  EXPECT_EQ(pixel(grid, cell.Right, cell.Top + 4), 0xC0C0C0u) << "no grid line between the cells";

  // The label shows purple text on the form's own colour, not on a box in its own colour.
  int purple = 0, form = 0, own = 0;
  for (int y = 0; y < Note->Height(); ++y)
    for (int x = 0; x < Note->Width(); ++x) {
      std::uint32_t c = pixel(Window, Note->Left() + x, Note->Top() + y);
      purple += c == 0x800080u;
      form += c == ScreenRgb(static_cast<COLORREF>(kFormColor));
      own += c == ScreenRgb(GetSysColor(COLOR_BTNFACE));
    }
  EXPECT_GT(purple, 50);
  EXPECT_GT(form, 50);
  EXPECT_EQ(own, 0) << "the label paints a background of its own";
}

TEST_F(Win32Backend, AutoSizedLabelTakesItsTextsWidthInModelAndWindow) {
  HWND label = PeerHandle(*Note);
  RECT r;
  GetWindowRect(label, &r);
  EXPECT_EQ(r.right - r.left, Note->Width());
  EXPECT_EQ(r.bottom - r.top, Note->Height());
  int wide = Note->Width();
  Note->SetCaption("Note");
  GetWindowRect(label, &r);
  EXPECT_LT(Note->Width(), wide / 3);
  EXPECT_EQ(r.right - r.left, Note->Width());
  EXPECT_EQ(Note->Left(), 1);
}

TEST_F(Win32Backend, WaitingSleepsUntilTimeOrInput) {
  FILETIME created, ended, kernel0, user0, kernel1, user1;
  GetProcessTimes(GetCurrentProcess(), &created, &ended, &kernel0, &user0);
  Application->ProcessMessages();
  DWORD start = GetTickCount();
  Application->WaitAndProcess(400);
  DWORD waited = GetTickCount() - start;
  GetProcessTimes(GetCurrentProcess(), &created, &ended, &kernel1, &user1);
  auto ms = [](const FILETIME& F) { return ((static_cast<ULONGLONG>(F.dwHighDateTime) << 32) | F.dwLowDateTime) / 10000; };
  EXPECT_GE(waited, 350u);
  EXPECT_LT(ms(user1) + ms(kernel1) - ms(user0) - ms(kernel0), 150u) << "the wait spins";

  bool ran = false;
  Application->Post(Form, [&] { ran = true; });
  start = GetTickCount();
  Application->WaitAndProcess(5000);
  EXPECT_TRUE(ran);
  EXPECT_LT(GetTickCount() - start, 1000u) << "a waiting message did not end the wait";
}

TEST_F(Win32Backend, ScreenCursorOverridesEveryWindow) {
  HWND grid = PeerHandle(*Grid);
  Screen->SetCursor(crHourGlass);
  EXPECT_EQ(GetCursor(), LoadCursorA(nullptr, IDC_WAIT));
  EXPECT_TRUE(SendMessageA(grid, WM_SETCURSOR, reinterpret_cast<WPARAM>(grid), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)));
  EXPECT_EQ(GetCursor(), LoadCursorA(nullptr, IDC_WAIT));
  Screen->SetCursor(crDefault);
  SendMessageA(grid, WM_SETCURSOR, reinterpret_cast<WPARAM>(grid), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
  EXPECT_EQ(GetCursor(), LoadCursorA(nullptr, IDC_ARROW));
}

TEST(Win32Layouts, LinkedLayoutsAreTheProgramsResources) {
  std::string text = LinkedLayoutText("tfrmVersora");
  EXPECT_EQ(text.rfind("# The book-table window.", 0), 0u) << text.substr(0, 40);
  EXPECT_NE(text.find("TStringGrid strgrd"), std::string::npos);
  EXPECT_EQ(LinkedLayoutText("NoSuchWindow"), "");
}

}  // namespace
