// The Win32 backend under Wine: a form built like the book-table window, driven by real window
// messages, checked on the real windows and on the model they report to.
#include "framework/Buttons.h"
#include "framework/ComCtrls.h"
#include "framework/ExtCtrls.h"
#include "framework/Forms.h"
#include "framework/Grids.h"
#include "framework/Layout.h"
#include "framework/RegisterClasses.h"
#include "framework/StdCtrls.h"
#include "framework/win32/Win32Handles.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/e2e/Pump.h"
#include "tests/e2e/Screenshot.h"

namespace {

constexpr TColor kFormColor = 0x4080C0;  // an RGB colour no system colour has

std::uint32_t ScreenRgb(COLORREF C) { return (GetRValue(C) << 16) | (GetGValue(C) << 8) | GetBValue(C); }

struct TMouseRecord {
  TMouseButton Button;
  TShiftState Shift;
  int X, Y;
};

class Win32Backend : public ::testing::Test {
protected:
  void SetUp() override {
    RegisterFrameworkClasses();
    Application->OnException = [this](TObject*, const std::exception& E) { Errors.push_back(E.what()); };
    Form = new TForm(Application);
    ReadLayoutText(Form,
                   "TForm fmBackend\n"
                   "  BorderStyle = bsDialog\n"
                   "  Caption = \"Backend test\"\n"
                   "  ClientWidth = 592\n"
                   "  ClientHeight = 576\n"
                   "  Color = $4080C0\n"
                   "  TStringGrid grid\n"
                   "    Width = 592\n"
                   "    Height = 541\n"
                   "    RowCount = 67\n"
                   "    FixedCols = 0\n"
                   "    DefaultColWidth = 115\n"
                   "    ScrollBars = ssVertical\n"
                   "  TLabel note\n"
                   "    Left = 1\n"
                   "    Top = 557\n"
                   "    Caption = \"Note: In BCE, the years count down\"\n"
                   "    Font.Color = clPurple\n"
                   "    Transparent = true\n"
                   "  TBitBtn print\n"
                   "    Left = 388\n"
                   "    Top = 548\n"
                   "    Caption = \"&Print\"\n");
    Grid = As<TStringGrid>(Form->FindComponent("grid"));
    Note = As<TLabel>(Form->FindComponent("note"));
    Print = As<TBitBtn>(Form->FindComponent("print"));
    Grid->OnMouseUp = [this](TObject*, TMouseButton B, TShiftState S, int X, int Y) { Ups.push_back({B, S, X, Y}); };
    Print->OnClick = [this](TObject*) { ++PrintClicks; };

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
    EXPECT_FALSE(IsWindow(Window)) << "freeing the form left its window";
  }

  static void Click(HWND Target, int X, int Y, WPARAM Keys = 0) {
    PostClick(Target, X, Y, Keys);
    Application->ProcessMessages();
  }

  TForm* Form = nullptr;
  TStringGrid* Grid = nullptr;
  TLabel* Note = nullptr;
  TBitBtn* Print = nullptr;
  HWND Window = nullptr;
  std::vector<TMouseRecord> Ups;
  std::vector<std::string> Errors;
  int PrintClicks = 0;
};

// What the code sets after the window shows reaches it; where the user moves it reaches the model.
TEST_F(Win32Backend, FrameAndModelFollowEachOther) {
  EXPECT_TRUE(GetWindowLongA(Window, GWL_EXSTYLE) & WS_EX_DLGMODALFRAME);
  Form->SetCaption("Renamed");
  Form->SetClientHeight(500);
  EXPECT_EQ(WindowText(Window), "Renamed");
  RECT client;
  GetClientRect(Window, &client);
  EXPECT_EQ(client.bottom, 500);
  SetWindowPos(Window, nullptr, 40, 50, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  EXPECT_EQ(Form->Left(), 40);
  EXPECT_EQ(Form->Top(), 50);
  EXPECT_EQ(Form->ClientHeight(), 500);
}

TEST_F(Win32Backend, GridReportsMouseInClientCoordinatesAndScrollsByItsBarAndKeys) {
  HWND grid = PeerHandle(*Grid);
  TRect head = Grid->CellRect(2, 0);
  Click(grid, head.Left + 5, head.Top + 5, MK_SHIFT);
  PostMessageA(grid, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(30, 80));
  PostMessageA(grid, WM_RBUTTONUP, 0, MAKELPARAM(30, 80));
  Application->ProcessMessages();
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

  SCROLLINFO si{sizeof si, SIF_ALL, 0, 0, 0, 0, 0};
  GetScrollInfo(grid, SB_VERT, &si);
  EXPECT_EQ(si.nMax, 65);
  EXPECT_EQ(static_cast<int>(si.nPage), Grid->VisibleRowCount());
  EXPECT_FALSE(GetWindowLongA(grid, GWL_STYLE) & WS_HSCROLL);
  const int bottom = 67 - Grid->VisibleRowCount();
  SendMessageA(grid, WM_VSCROLL, SB_LINEDOWN, 0);
  EXPECT_EQ(Grid->TopRow(), 2);
  SendMessageA(grid, WM_VSCROLL, SB_PAGEDOWN, 0);
  EXPECT_EQ(Grid->TopRow(), 2 + Grid->VisibleRowCount());
  SendMessageA(grid, WM_VSCROLL, SB_BOTTOM, 0);
  EXPECT_EQ(Grid->TopRow(), bottom);
  SendMessageA(grid, WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), 0);
  EXPECT_EQ(Grid->TopRow(), bottom - 3);
  GetScrollInfo(grid, SB_VERT, &si);
  EXPECT_EQ(si.nPos, Grid->TopRow() - 1) << "the bar does not follow the model";

  Grid->SetTopRow(1);
  SendMessageA(grid, WM_KEYDOWN, VK_END, 0);
  EXPECT_EQ(Grid->Row(), 66);
  EXPECT_EQ(Grid->TopRow(), bottom) << "the current cell is not scrolled into view";
  SendMessageA(grid, WM_KEYDOWN, VK_RIGHT, 0);
  EXPECT_EQ(Grid->Col(), 1);
  EXPECT_TRUE(Errors.empty());
}

TEST_F(Win32Backend, ButtonsAndKeysOfTheForm) {
  HWND print = PeerHandle(*Print), grid = PeerHandle(*Grid);
  PostMessageA(grid, WM_SYSCHAR, 'p', 1 << 29);
  Application->ProcessMessages();
  EXPECT_EQ(PrintClicks, 1) << "Alt+P, the button's accelerator";
  PostMessageA(grid, WM_KEYDOWN, VK_TAB, 0);
  Application->ProcessMessages();
  EXPECT_EQ(GetFocus(), print) << "Tab goes to the next control in tab order";
  EXPECT_EQ(Form->ActiveControl(), Print);
  PostMessageA(print, WM_KEYDOWN, VK_RETURN, 0);
  Application->ProcessMessages();
  EXPECT_EQ(PrintClicks, 2) << "Enter clicks the focused button";

  // A form with KeyPreview sees the key first and may swallow it.
  std::vector<unsigned short> formKeys, gridKeys;
  Form->SetKeyPreview(true);
  Form->OnKeyDown = [&](TObject*, unsigned short& Key, TShiftState) {
    formKeys.push_back(Key);
    if (Key == VK_ESCAPE) Key = 0;
  };
  Grid->OnKeyDown = [&](TObject*, unsigned short& Key, TShiftState) { gridKeys.push_back(Key); };
  SendMessageA(grid, WM_KEYDOWN, VK_ESCAPE, 0);
  SendMessageA(grid, WM_KEYDOWN, 'A', 0);
  EXPECT_EQ(formKeys, (std::vector<unsigned short>{VK_ESCAPE, 'A'}));
  EXPECT_EQ(gridKeys, (std::vector<unsigned short>{'A'}));

  // Keys from the queue: the form sees each before it is translated, and one it swallows
  // leaves no character behind.
  std::string pressed;
  Grid->OnKeyPress = [&](TObject*, char& Key) { pressed += Key; };
  Form->OnKeyDown = [&](TObject*, unsigned short& Key, TShiftState) {
    formKeys.push_back(Key);
    if (Key == 'A') Key = 0;
  };
  formKeys.clear();
  gridKeys.clear();
  for (UINT key : {'A', 'B'})
    PostMessageA(grid, WM_KEYDOWN, key, 1 | (MapVirtualKeyA(key, MAPVK_VK_TO_VSC) << 16));
  Application->ProcessMessages();
  EXPECT_EQ(formKeys, (std::vector<unsigned short>{'A', 'B'}));
  EXPECT_EQ(gridKeys, (std::vector<unsigned short>{'B'}));
  EXPECT_EQ(pressed, "b");
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

TEST_F(Win32Backend, PostedTasksRunInsideMessageBoxAndModalLoopsAndEndWaits) {
  // The task answers the box from inside the box's own loop.
  Application->Post(Form, [] {
    if (HWND box = FindWindowA(nullptr, "Backend question")) PostMessageA(box, WM_COMMAND, IDNO, 0);
  });
  EXPECT_EQ(Application->MessageBox("Go on?", "Backend question", MsgBox::YesNo), MsgBox::IdNo);

  auto* dialog = new TForm(Application);
  dialog->SetBounds(100, 100, 200, 120);
  // The program's end, asked for in a modal loop, ends it and still reaches the outer loop.
  Application->Post(dialog, [] { PostQuitMessage(7); });
  EXPECT_EQ(dialog->ShowModal(), mrNone);
  MSG quit;
  ASSERT_TRUE(PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
  EXPECT_EQ(quit.wParam, 7u);
  EXPECT_TRUE(IsWindowEnabled(Window));
  delete dialog;

  bool ran = false;
  Application->Post(Form, [&] { ran = true; });
  const DWORD start = GetTickCount();
  Application->WaitAndProcess(5000);
  EXPECT_TRUE(ran);
  EXPECT_LT(GetTickCount() - start, 1000u) << "a waiting message did not end the wait";
}

TEST_F(Win32Backend, PaintsFixedAndScrollableCellsAndATransparentAutoSizedLabel) {
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

  // Purple text on the form's own colour, not on a box in the label's colour.
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

  const int wide = Note->Width();
  Note->SetCaption("Note");
  RECT r;
  GetWindowRect(PeerHandle(*Note), &r);
  EXPECT_LT(Note->Width(), wide / 3);
  EXPECT_EQ(r.right - r.left, Note->Width()) << "the window did not take the label's new width";
  EXPECT_EQ(r.bottom - r.top, Note->Height());
  EXPECT_EQ(Note->Left(), 1);

  // With word wrap it keeps its width and grows down by its lines.
  const int line = Note->Height();
  Note->SetWordWrap(true);
  Note->SetWidth(60);
  Note->SetCaption("Note: In BCE, the years count down");
  GetWindowRect(PeerHandle(*Note), &r);
  EXPECT_EQ(Note->Width(), 60);
  EXPECT_GE(Note->Height(), 3 * line);
  EXPECT_EQ(r.bottom - r.top, Note->Height());
}

TEST_F(Win32Backend, ScreenCursorOverridesEveryWindow) {
  HWND grid = PeerHandle(*Grid);
  const LPARAM move = MAKELPARAM(HTCLIENT, WM_MOUSEMOVE);
  Screen->SetCursor(crHourGlass);
  EXPECT_TRUE(SendMessageA(grid, WM_SETCURSOR, reinterpret_cast<WPARAM>(grid), move));
  EXPECT_EQ(GetCursor(), LoadCursorA(nullptr, IDC_WAIT));
  Screen->SetCursor(crDefault);
  SendMessageA(grid, WM_SETCURSOR, reinterpret_cast<WPARAM>(grid), move);
  EXPECT_EQ(GetCursor(), LoadCursorA(nullptr, IDC_ARROW));
}

// A tab click asks first: refused, the page stays; allowed, the other one comes to the front.
TEST_F(Win32Backend, ATabClickAsksTheModelFirst) {
  auto* Pages = new TPageControl(Form);
  Pages->SetParent(Form);
  Pages->SetBounds(8, 8, 300, 200);
  for (const char* Caption : {"General", "Titles"}) {
    auto* Sheet = new TTabSheet(Form);
    Sheet->SetParent(Pages);
    Sheet->SetCaption(Caption);
  }
  bool Allow = false;
  Pages->OnChanging = [&](TObject*, bool& AllowChange) { AllowChange = Allow; };
  HWND Tabs = PeerHandle(*Pages);
  for (bool Allowed : {false, true}) {
    Allow = Allowed;
    Click(Tabs, TabPoint(Tabs, 1).x, TabPoint(Tabs, 1).y);
    EXPECT_EQ(Pages->ActivePageIndex(), Allowed ? 1 : 0);
    EXPECT_EQ(SendMessageA(Tabs, TCM_GETCURSEL, 0, 0), Allowed ? 1 : 0);
  }
}

}  // namespace
