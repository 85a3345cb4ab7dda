// The setup window's columns grid and Setup page as the book table's user meets them under Wine:
// a column hidden and a total chosen by real clicks and keys, printed to a text file, saved and
// found again; a report password given on the Setup page and then asked by Print. And the
// selected-rows question over a multi-select DB grid and a list box.
#include "app/VersoraMain.h"
#include "framework/win32/Win32Handles.h"

#include <gtest/gtest.h>

#include <cctype>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "engine/VLMXCols.h"
#include "engine/VLMXGbl/ObjInfo.h"
#include "engine/VLMXGbl/PrintSettings.h"
#include "engine/Vellumix/ReportSettings.h"
#include "engine/Vellumix/Vellumix.h"
#include "framework/Buttons.h"
#include "framework/ComCtrls.h"
#include "framework/DBGrids.h"
#include "framework/DBTables.h"
#include "framework/ExtCtrls.h"
#include "framework/Grids.h"
#include "framework/StdCtrls.h"
#include "tests/e2e/Pump.h"
#include "tests/e2e/Screenshot.h"
#include "windows/VLMXASel/VLMXASel.h"
#include "windows/VLMXMain/VLMXMain.h"
#include "windows/VLMXPw/VLMXPw.h"

namespace {

const std::string Out = VERSORA_E2E_OUTPUT_DIR;

// A user's script: steps that act or wait, each returning true once done, run in order from a
// thread timer so that they go on inside the modal loops the earlier steps open. A step that
// does not finish in time stops the script and every modal window is cancelled.
class TScript {
public:
  void Step(const std::string& Name, std::function<bool()> Done) { FSteps.push_back({Name, std::move(Done)}); }

  // The name of the step that did not finish, or empty when all did.
  std::string Run(unsigned StepMs = 20000) {
    Current = this;
    FStepMs = StepMs;
    FSince = GetTickCount();
    const UINT_PTR Timer = SetTimer(nullptr, 0, 50, Tick);
    PumpUntil([&] { return FAt >= FSteps.size() || !FStuck.empty(); }, 600000);
    KillTimer(nullptr, Timer);
    Current = nullptr;
    return FAt >= FSteps.size() ? FStuck : FStuck.empty() ? FSteps[FAt].first : FStuck;
  }

private:
  static inline TScript* Current = nullptr;
  std::vector<std::pair<std::string, std::function<bool()>>> FSteps;
  size_t FAt = 0;
  DWORD FSince = 0;
  unsigned FStepMs = 0;
  bool FBusy = false;
  std::string FStuck;

  static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
    if (Current) Current->Advance();
  }

  void Advance() {
    if (FBusy || !FStuck.empty() || FAt >= FSteps.size()) return;
    FBusy = true;
    try {
      if (FSteps[FAt].second()) {
        ++FAt;
        FSince = GetTickCount();
      } else if (GetTickCount() - FSince > FStepMs) {
        FStuck = FSteps[FAt].first;
      }
    } catch (const std::exception& E) {
      FStuck = FSteps[FAt].first + ": " + E.what();
    }
    FBusy = false;
    if (!FStuck.empty()) Abandon();
  }

  static void Abandon() {
    if (HWND Box = FindWindowA("#32770", nullptr)) PostMessageA(Box, WM_COMMAND, IDCANCEL, 0);
    for (int I = 0; I < Screen->FormCount(); ++I)
      if (Screen->Forms(I)->Visible()) Screen->Forms(I)->SetModalResult(mrCancel);
  }
};

HWND Handle(TControl& Control) { return PeerHandle(Control); }

bool HasFocus(TControl& Control) {
  HWND Own = Handle(Control), Focus = GetFocus();
  return Own && (Focus == Own || IsChild(Own, Focus));
}

void ClickMiddle(TControl& Control) {
  RECT R{};
  GetClientRect(Handle(Control), &R);
  PostClick(Handle(Control), R.right / 2, R.bottom / 2);
}

void ClickCell(TCustomGrid& Grid, int Col, int Row) {
  const TRect R = Grid.CellRect(Col, Row);
  PostClick(Handle(Grid), (R.Left + R.Right) / 2, (R.Top + R.Bottom) / 2);
}

// Lower-case letters and digits, as the keyboard types them.
void TypeKeys(const std::string& Text) {
  for (char C : Text) Press(static_cast<WORD>(std::toupper(static_cast<unsigned char>(C))));
}

bool Showing(TCustomForm* Form) {
  return Form && Form->Visible() && Handle(*Form) && IsWindowVisible(Handle(*Form)) && Form->Top() != -5000;
}

// The message dialog on screen, or nullptr.
TCustomForm* MessageDialog() {
  for (int I = 0; I < Screen->FormCount(); ++I)
    if (Screen->Forms(I)->Name() == "MessageDialog" && Showing(Screen->Forms(I))) return Screen->Forms(I);
  return nullptr;
}

std::string MessageText(TCustomForm& Dialog) {
  auto* Label = dynamic_cast<TLabel*>(Dialog.FindComponent("Message"));
  return Label ? Label->Caption() : "";
}

void ClickDialogButton(TCustomForm& Dialog, const std::string& Name) {
  if (auto* Button = dynamic_cast<TControl*>(Dialog.FindComponent(Name))) ClickMiddle(*Button);
}

// The text of the system's error box, closed; empty while there is none.
std::string TakeErrorBox() {
  HWND Box = FindWindowA("#32770", nullptr);
  if (!Box || !IsWindowVisible(Box)) return "";
  char Text[1024] = {};
  GetDlgItemTextA(Box, 0xFFFF, Text, sizeof Text);
  PostMessageA(Box, WM_COMMAND, IDOK, 0);
  return Text;
}

// The path with the backslashes that the program's file checks expect.
std::string WindowsPath(std::string Path) {
  for (char& C : Path)
    if (C == '/') C = '\\';
  return Path;
}

std::string ReadFile(const std::string& Path) {
  std::ifstream In(Path, std::ios::binary);
  std::stringstream S;
  S << In.rdbuf();
  return S.str();
}

// The first cell of the last row of the report's table: the text between its first two bars.
std::string LastRowFirstCell(const std::string& Text) {
  std::istringstream In(Text);
  std::string Line, Cell;
  while (std::getline(In, Line)) {
    const size_t Bar = Line.find("| ");
    if (Bar == std::string::npos) continue;
    const size_t End = Line.find('|', Bar + 1);
    Cell = Line.substr(Bar + 2, End == std::string::npos ? std::string::npos : End - Bar - 2);
    Cell.erase(Cell.find_last_not_of(' ') + 1);
  }
  return Cell;
}

std::string Heading(int Index) {
  std::string Text;
  ObjInfo->GetColHeading(false, Index, Text);
  return Text;
}

int ColumnOf(const std::string& Title) {
  for (int I = 0; I < ObjInfo->ColsList->Count(); ++I)
    if (Heading(I) == Title) return I;
  return -1;
}

class ColumnsE2E : public ::testing::Test {
protected:
  void SetUp() override {
    CreateDirectoryA(Out.c_str(), nullptr);
    Application->CreateForm(frmVersora);
    Application->MainForm()->Show();
    Window = Handle(*frmVersora);
    ASSERT_NE(Window, nullptr);
    SetForegroundWindow(Window);
    ASSERT_TRUE(PumpUntil([&] { return IsWindowVisible(Window) && GetFocus() != nullptr; }));
    Vlx = frmVersora->VlxVellumix1;
    Vlx->SetReportSettingsFileName(Settings);
    std::ofstream File(Settings, std::ios::binary | std::ios::trunc);
    File << "[" << Vlx->ReportId() << "]\r\n"
         << "DisplayReportOptionsWin=1\r\nPreviewFirst=0\r\nDisplayProgressWin=0\r\nPauseAfterPrinting=0\r\n"
         << "OutputQuality=0\r\nOutputDest=1\r\nOutputFileName=" << WindowsPath(Report) << "\r\nIfOutputFileExists=0\r\n"
         << "NumFixedCols=0\r\nHideColumns=~Line#\r\nLinesPerpage=120\r\nTxtCharsPageWid=200\r\n";
  }

  void TearDown() override {
    delete frmVersora;
    frmVersora = nullptr;
    Application->ProcessMessages();
  }

  // Steps: "&Print" on the book table, then the setup window up and in front.
  void OpenSetupWindow(TScript& S, const std::string& Name) {
    S.Step(Name + ": click Print", [&] {
      PostClick(Handle(*frmVersora->btnPrint), 10, 10);
      return true;
    });
    S.Step(Name + ": setup window shown", [] {
      if (!fmVlxMain || fmVlxMain->FStartPending || !Showing(fmVlxMain)) return false;
      SetForegroundWindow(Handle(*fmVlxMain));
      return true;
    });
  }

  void ShowPage(TScript& S, int Index, const std::string& Shot) {
    S.Step("tab " + std::to_string(Index), [Index] {
      HWND Tabs = Handle(*fmVlxMain->pcOptions);
      PostClick(Tabs, TabPoint(Tabs, Index));
      return true;
    });
    S.Step("page " + std::to_string(Index) + " in front", [Index, Shot] {
      TTabSheet* Page = fmVlxMain->pcOptions->Pages(Index);
      if (fmVlxMain->pcOptions->ActivePage() != Page || !IsWindowVisible(Handle(*Page))) return false;
      PumpUntil([] { return false; }, 300);
      if (!Shot.empty()) SaveWindowScreenshot(Handle(*fmVlxMain), Shot);
      return true;
    });
  }

  // Steps: the window closed by its frame's close box, Print returned.
  void CloseSetupWindow(TScript& S) {
    S.Step("close the setup window", [] {
      PostMessageA(Handle(*fmVlxMain), WM_CLOSE, 0, 0);
      return true;
    });
    S.Step("setup window gone", [] {
      // A question about unsaved changes is answered No: the settings were saved by hand.
      if (TCustomForm* Dialog = MessageDialog()) ClickDialogButton(*Dialog, "NoButton");
      return fmVlxMain == nullptr;
    });
  }

  void SaveSettings(TScript& S) {
    S.Step("save the options", [this] {
      // The Save Options command is not on this window yet: the component saves what the
      // window's controls hold, as the command does.
      fmVlxMain->FormToSettings();
      Vlx->SaveReportSettings();
      return true;
    });
  }

  // Steps: a password window showing Prompt, Text typed and Enter pressed.
  void AnswerPassword(TScript& S, const std::string& Prompt, const std::string& Text, const std::string& Shot = "") {
    S.Step("password window: " + Prompt, [Prompt, Shot] {
      TfmVlxPassword* W = fmVlxPassword;
      if (!Showing(W) || W->lbPWPrompt->Caption() != Prompt) return false;
      SetForegroundWindow(Handle(*W));
      if (!HasFocus(*W->edPassword)) return false;
      if (!Shot.empty()) SaveWindowScreenshot(Handle(*W), Shot);
      return true;
    });
    S.Step("type " + Text, [Text] {
      TypeKeys(Text);
      return true;
    });
    S.Step("typed " + Text, [Text] {
      if (!fmVlxPassword || fmVlxPassword->edPassword->Text() != Text) return false;
      Press(VK_RETURN);
      return true;
    });
  }

  HWND Window = nullptr;
  TvlxVellumix* Vlx = nullptr;
  const std::string Test = ::testing::UnitTest::GetInstance()->current_test_info()->name();
  const std::string Settings = Out + "/" + Test + ".ini";
  const std::string Report = Out + "/" + Test + ".txt";
};

}  // namespace

TEST_F(ColumnsE2E, HiddenColumnAndCountTotalPrintSaveAndComeBack) {
  TScript S;
  int Writer = -1, Name = -1;
  std::string Printed, Saved, Shown, WriterField, NameField;
  OpenSetupWindow(S, "first");
  ShowPage(S, 2, "columns-1-style-page");
  S.Step("click the writers' visible cell", [&] {
    Writer = ColumnOf("WRITER(S)");
    Name = ColumnOf("NAME");
    if (Writer < 0 || Name < 0) throw std::runtime_error("no WRITER(S) or NAME column");
    WriterField = ObjInfo->ColsList->Items(Writer)->FieldName;
    NameField = ObjInfo->ColsList->Items(Name)->FieldName;
    ClickCell(*fmVlxMain->dgColumns, Writer + 1, 1);
    return true;
  });
  S.Step("Space on it", [&] {
    TDrawGrid& G = *fmVlxMain->dgColumns;
    if (G.Col() != Writer + 1 || G.Row() != 1 || !HasFocus(G)) return false;
    Press(VK_SPACE);
    return true;
  });
  S.Step("writers hidden", [&] { return !ObjInfo->ColsList->Items(Writer)->Printed; });
  S.Step("click the names' column total", [&] {
    TDrawGrid& G = *fmVlxMain->dgColumns;
    ClickCell(G, Name + 1, G.RowCount() - 2);
    return true;
  });
  S.Step("kind list opened with F4", [&] {
    if (!fmVlxMain->cmbColumns->Visible() || !HasFocus(*fmVlxMain->cmbColumns)) return false;
    Press(VK_F4);
    return true;
  });
  S.Step("Count picked with the arrows and Enter", [&] {
    if (!fmVlxMain->cmbColumns->DroppedDown()) return false;
    for (int I = 0; I < tkCount; ++I) Press(VK_DOWN);
    Press(VK_RETURN);
    return true;
  });
  S.Step("Count set", [&] {
    const TColsListData* Column = ObjInfo->ColsList->Items(Name);
    return Column->TotList && Column->TotList->Items(0) && Column->TotList->Items(0)->Kind == tkCount &&
           !fmVlxMain->cmbColumns->DroppedDown();
  });
  S.Step("picture of the choices", [&] {
    PumpUntil([] { return false; }, 300);
    SaveWindowScreenshot(Handle(*fmVlxMain), "columns-2-writers-hidden-names-counted");
    DeleteFileA(Report.c_str());
    ClickMiddle(*fmVlxMain->sbPrint);
    return true;
  });
  S.Step("printed", [&] {
    if (PrintSettings->RunResult != 1) return false;
    Printed = ReadFile(Report);
    return !Printed.empty();
  });
  SaveSettings(S);
  CloseSetupWindow(S);
  S.Step("read the section", [&] {
    Saved = ReadFile(Settings);
    return true;
  });
  OpenSetupWindow(S, "again");
  ShowPage(S, 2, "columns-3-reopened");
  S.Step("the grid shows the same choices", [&] {
    const TColsListData* Column = ObjInfo->ColsList->Items(Name);
    const TColTotListData* Total = Column->TotList ? Column->TotList->Items(0) : nullptr;
    Shown = std::string(ObjInfo->ColsList->Items(Writer)->Printed ? "writers printed" : "writers hidden") +
            (Total ? std::string(", names ") + TotalKindNames[Total->Kind] : ", names without total");
    return true;
  });
  CloseSetupWindow(S);
  const std::string Stuck = S.Run();
  EXPECT_EQ(Stuck, "");
  EXPECT_EQ(Printed.find("WRITER"), std::string::npos) << Printed;
  EXPECT_NE(Printed.find("Genesis"), std::string::npos);
  EXPECT_EQ(LastRowFirstCell(Printed), "66") << Printed;
  ASSERT_GE(Writer, 0);
  EXPECT_NE(Saved.find("\r\nHideColumns=~Line#," + WriterField + "\r\n"), std::string::npos) << Saved;
  EXPECT_NE(Saved.find("\r\nColumnTotals=" + NameField + ",,Count,\"\"\r\n"), std::string::npos) << Saved;
  EXPECT_EQ(Shown, "writers hidden, names Count");
}

TEST_F(ColumnsE2E, ReportPasswordFromTheSetupPageIsAskedByPrintOncePerCall) {
  TScript S;
  std::vector<std::string> Dialogs, Errors;
  bool PrintedAfterWrong = false, AskedOnSecondPrint = false;
  std::string SavedPw;
  OpenSetupWindow(S, "first");
  ShowPage(S, 4, "");
  S.Step("click Report Password", [] {
    PostClick(Handle(*fmVlxMain->cbRptPW), 6, 8);
    return true;
  });
  AnswerPassword(S, "Enter  New Report Password:", "secret", "columns-4-new-password");
  AnswerPassword(S, "Verify  New Report Password:", "secret");
  S.Step("now active", [&] {
    TCustomForm* Dialog = MessageDialog();
    if (!Dialog) return false;
    Dialogs.push_back(MessageText(*Dialog));
    ClickDialogButton(*Dialog, "OKButton");
    return true;
  });
  S.Step("box checked", [] {
    if (!fmVlxMain->cbRptPW->Checked() || MessageDialog()) return false;
    PumpUntil([] { return false; }, 300);
    SaveWindowScreenshot(Handle(*fmVlxMain), "columns-5-setup-page-password-set");
    return true;
  });
  SaveSettings(S);
  CloseSetupWindow(S);
  S.Step("read the section", [&] {
    const std::string Saved = ReadFile(Settings);
    const size_t At = Saved.find("\r\nRptPW=");
    if (At != std::string::npos) SavedPw = Saved.substr(At + 8, Saved.find('\r', At + 2) - At - 8);
    return true;
  });
  OpenSetupWindow(S, "second");
  S.Step("Print", [&] {
    DeleteFileA(Report.c_str());
    ClickMiddle(*fmVlxMain->sbPrint);
    return true;
  });
  AnswerPassword(S, "Enter Report Password:", "wrong", "columns-6-report-password");
  for (int I = 2; I <= 3; ++I) {
    S.Step("refused " + std::to_string(I - 1), [] {
      return fmVlxPassword && fmVlxPassword->paStatus->Caption() == "Password is Incorrect" &&
             fmVlxPassword->edPassword->Text().empty() == false && HasFocus(*fmVlxPassword->edPassword);
    });
    S.Step("wrong again " + std::to_string(I), [] {
      for (int K = 0; K < 5; ++K) Press(VK_BACK);
      TypeKeys("wrong");
      return true;
    });
    S.Step("Enter " + std::to_string(I), [] {
      if (fmVlxPassword->edPassword->Text() != "wrong") return false;
      Press(VK_RETURN);
      return true;
    });
  }
  S.Step("too many", [&] {
    TCustomForm* Dialog = MessageDialog();
    if (!Dialog) return false;
    Dialogs.push_back(MessageText(*Dialog));
    ClickDialogButton(*Dialog, "CancelButton");
    return true;
  });
  S.Step("the violation", [&] {
    const std::string Text = TakeErrorBox();
    if (Text.empty()) return false;
    Errors.push_back(Text);
    return true;
  });
  S.Step("nothing printed; Print again", [&] {
    if (FindWindowA("#32770", nullptr)) return false;
    PrintedAfterWrong = GetFileAttributesA(Report.c_str()) != INVALID_FILE_ATTRIBUTES;
    ClickMiddle(*fmVlxMain->sbPrint);
    return true;
  });
  AnswerPassword(S, "Enter Report Password:", "secret");
  S.Step("printed; Print once more", [&] {
    if (GetFileAttributesA(Report.c_str()) == INVALID_FILE_ATTRIBUTES || PrintSettings->RunResult != 1) return false;
    DeleteFileA(Report.c_str());
    PrintSettings->RunResult = 0;
    ClickMiddle(*fmVlxMain->sbPrint);
    return true;
  });
  S.Step("printed without asking", [&] {
    if (fmVlxPassword) AskedOnSecondPrint = true;
    if (fmVlxPassword) fmVlxPassword->SetModalResult(mrCancel);
    return GetFileAttributesA(Report.c_str()) != INVALID_FILE_ATTRIBUTES && PrintSettings->RunResult == 1;
  });
  CloseSetupWindow(S);
  const std::string Stuck = S.Run();
  EXPECT_EQ(Stuck, "");
  EXPECT_EQ(Dialogs, (std::vector<std::string>{"New Report Password is now active", "Too many password violations"}));
  EXPECT_EQ(Errors, (std::vector<std::string>{"Vellumix! Setup Error: Report Password Violation."}));
  EXPECT_EQ(SavedPw, "secret");
  EXPECT_FALSE(PrintedAfterWrong);
  EXPECT_FALSE(AskedOnSecondPrint);
}

namespace {

const char* const Books[] = {"Alpha", "Bravo", "Charlie", "Delta", "Echo", "Foxtrot", "Golf", "Hotel", "India", "Juliet"};

// A window of the test's own with a multi-select DB grid over a table and a multi-select list
// box, each printed by the component straight to a text file, asking which rows to print.
class SelectedRowsE2E : public ::testing::Test {
protected:
  void SetUp() override {
    CreateDirectoryA(Out.c_str(), nullptr);
    Form = new TForm(Application);
    Form->SetName("frmRows");
    Form->SetCaption("Selected rows");
    Form->SetBounds(40, 40, 460, 320);
    Table = new TTable(Form);
    Table->SetName("tblBooks");
    Table->SetTableName("Books");
    Table->FieldDefs().Add("Book", ftString, 12);
    Table->FieldDefs().Add("Chapters", ftInteger);
    Table->Open();
    for (int I = 0; I < 10; ++I) Table->AppendRecord({Books[I], 10 + I});
    Table->First();
    auto* Source = new TDataSource(Form);
    Source->SetDataSet(Table);
    Grid = new TDBGrid(Form);
    Grid->SetName("dbgBooks");
    Grid->SetParent(Form);
    Grid->SetBounds(8, 8, 240, 270);
    Grid->SetDataSource(Source);
    Grid->SetOptions(Grid->Options() | dgMultiSelect);
    List = new TListBox(Form);
    List->SetName("lbxBooks");
    List->SetParent(Form);
    List->SetBounds(260, 8, 180, 270);
    List->SetMultiSelect(true);
    for (const char* Book : Books) List->AddItem(std::string("List ") + Book);
    Vlx = new TvlxVellumix(Form);
    Vlx->SetName("vlxRows");
    Vlx->SetReportId("Rows (001.001)");
    Vlx->SetReportSettingsFileName(Out + "/Rows.ini");
    std::ofstream File(Out + "/Rows.ini", std::ios::binary | std::ios::trunc);
    File << "[Rows (001.001)]\r\n"
         << "DisplayReportOptionsWin=0\r\nPreviewFirst=0\r\nDisplayProgressWin=0\r\nPauseAfterPrinting=0\r\n"
         << "OutputQuality=0\r\nOutputDest=1\r\nOutputFileName=" << WindowsPath(Report) << "\r\n"
         << "IfOutputFileExists=0\r\nNumFixedCols=0\r\nHideColumns=~Line#\r\nPrintWhat=7\r\n"
         << "ioAskToPrintSelectedRows=1\r\nLinesPerpage=120\r\nTxtCharsPageWid=100\r\n";
    File.close();
    Form->Show();
    SetForegroundWindow(Handle(*Form));
    ASSERT_TRUE(PumpUntil([&] { return IsWindowVisible(Handle(*List)) != FALSE; }));
  }

  void TearDown() override {
    delete Form;
    Application->ProcessMessages();
  }

  // Steps: Print, the question up and read, then the button pressed.
  void Ask(TScript& S, TComponent* Object, bool Ok, const std::string& Shot) {
    S.Step("print " + Object->Name(), [this, Object] {
      DeleteFileA(Report.c_str());
      Vlx->SetObjectToPrint(Object);
      Application->Post(Application, [this] { Vlx->Print(); });
      return true;
    });
    S.Step("question for " + Object->Name(), [this, Ok, Shot] {
      TfmvlxAskSelectedRows* Q = fmvlxAskSelectedRows;
      if (!Showing(Q) || !IsWindowVisible(Handle(*Q->bbOk))) return false;
      SetForegroundWindow(Handle(*Q));
      PumpUntil([] { return false; }, 300);
      if (!Shot.empty()) SaveWindowScreenshot(Handle(*Q), Shot);
      Questions.push_back(WindowText(Handle(*Q->rbPrintSelectedRows)) +
                          (Q->rbPrintSelectedRows->Checked() ? " (checked)" : ""));
      ClickMiddle(Ok ? *static_cast<TControl*>(Q->bbOk) : *static_cast<TControl*>(Q->bbCancel));
      return true;
    });
  }

  // Step: the run over, its report read.
  void Printed(TScript& S, std::string& Into) {
    S.Step("report written", [this, &Into] {
      if (fmVlxMain || fmvlxAskSelectedRows) return false;
      Into = ReadFile(Report);
      return !Into.empty();
    });
  }

  // The books of Text's table rows, in order.
  static std::vector<std::string> RowsOf(const std::string& Text) {
    std::vector<std::string> Rows;
    for (const char* Book : Books) {
      size_t At = 0;
      while ((At = Text.find(Book, At)) != std::string::npos) {
        Rows.push_back(Book);
        At += 1;
      }
    }
    return Rows;
  }

  TForm* Form = nullptr;
  TTable* Table = nullptr;
  TDBGrid* Grid = nullptr;
  TListBox* List = nullptr;
  TvlxVellumix* Vlx = nullptr;
  std::vector<std::string> Questions;
  const std::string Report = Out + "/rows.txt";
};

}  // namespace

TEST_F(SelectedRowsE2E, PickedRowsOfADBGridAndAListBoxPrintAloneAndCancelStopsQuietly) {
  // Bravo, Delta and Golf picked in the grid with the mouse, Ctrl held for the second and third.
  const HWND GridWnd = Handle(*Grid);
  const int Col = Grid->FixedCols(), Top = Grid->FixedRows();
  for (int K : {1, 3, 6}) {
    const TRect R = Grid->CellRect(Col, Top + K);
    PostClick(GridWnd, (R.Left + R.Right) / 2, (R.Top + R.Bottom) / 2, K == 1 ? 0 : MK_CONTROL);
    Application->ProcessMessages();
  }
  ASSERT_TRUE(PumpUntil([&] { return Grid->SelectedRows().Count() == 3; })) << Grid->SelectedRows().Count();
  // Echo, Hotel and Juliet in the list box.
  const HWND Box = Handle(*List);
  for (int K : {4, 7, 9}) {
    PostClick(Box, ListBoxItemPoint(Box, K), K == 4 ? 0 : MK_CONTROL);
    Application->ProcessMessages();
  }
  ASSERT_TRUE(PumpUntil([&] { return List->SelCount() == 3; })) << List->SelCount();
  PumpUntil([] { return false; }, 300);
  SaveWindowScreenshot(Handle(*Form), "selected-rows-1-picked");

  TScript S;
  std::string FromGrid, FromList;
  std::vector<std::string> Dialogs, Errors;
  Ask(S, Grid, true, "selected-rows-2-question");
  Printed(S, FromGrid);
  Ask(S, List, true, "");
  Printed(S, FromList);
  Ask(S, Grid, false, "");
  S.Step("the stop is told once", [&] {
    if (TCustomForm* Dialog = MessageDialog()) {
      Dialogs.push_back(MessageText(*Dialog));
      ClickDialogButton(*Dialog, "OKButton");
    }
    const std::string Error = TakeErrorBox();
    if (!Error.empty()) Errors.push_back(Error);
    return !Dialogs.empty() && !fmVlxMain && !MessageDialog();
  });
  S.Step("and nothing more", [&] {
    PumpUntil([] { return false; }, 500);
    const std::string Error = TakeErrorBox();
    if (!Error.empty()) Errors.push_back(Error);
    if (TCustomForm* Dialog = MessageDialog()) {
      Dialogs.push_back(MessageText(*Dialog));
      ClickDialogButton(*Dialog, "OKButton");
    }
    return true;
  });
  EXPECT_EQ(S.Run(), "");
  EXPECT_EQ(Questions, std::vector<std::string>(3, "Print 3 selected rows (checked)"));
  EXPECT_EQ(RowsOf(FromGrid), (std::vector<std::string>{"Bravo", "Delta", "Golf"})) << FromGrid;
  EXPECT_EQ(RowsOf(FromList), (std::vector<std::string>{"Echo", "Hotel", "Juliet"})) << FromList;
  EXPECT_EQ(GetFileAttributesA(Report.c_str()), INVALID_FILE_ATTRIBUTES) << "the cancelled report wrote nothing";
  EXPECT_EQ(Dialogs, std::vector<std::string>{"Vellumix! User Terminated Report"});
  EXPECT_EQ(Errors, std::vector<std::string>{});
}
