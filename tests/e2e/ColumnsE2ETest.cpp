// The setup window's columns grid and Setup page as the book table's user meets them under Wine:
// a column hidden and a total chosen by real clicks and keys, printed to a text file, saved and
// found again; a report password asked by Print. And the
// selected-rows question over a multi-select DB grid and a list box.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "engine/VLMXCols.h"
#include "engine/VLMXGbl/ObjInfo.h"
#include "engine/VLMXGbl/PrintSettings.h"
#include "framework/Buttons.h"
#include "framework/ComCtrls.h"
#include "framework/DBGrids.h"
#include "framework/DBTables.h"
#include "framework/ExtCtrls.h"
#include "framework/Grids.h"
#include "framework/StdCtrls.h"
#include "tests/e2e/UserScript.h"
#include "tests/support/TempDir.h"
#include "windows/VLMXASel/VLMXASel.h"
#include "windows/VLMXMain/VLMXMain.h"
#include "windows/VLMXPw/VLMXPw.h"

namespace {

const std::string Out = VERSORA_E2E_OUTPUT_DIR;
using TScript = TUserScript;

void ClickCell(TCustomGrid& Grid, int Col, int Row) {
  const TRect R = Grid.CellRect(Col, Row);
  PostClick(PeerHandle(Grid), (R.Left + R.Right) / 2, (R.Top + R.Bottom) / 2);
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

class ColumnsE2E : public BookTableTest {
protected:
  void SetUp() override {
    BookTableTest::SetUp();
    CreateDirectoryA(Out.c_str(), nullptr);
    Vlx = frmVersora->VlxVellumix1;
    WriteSettings(*Vlx, Settings,
                  "DisplayReportOptionsWin=1\r\nPreviewFirst=0\r\nDisplayProgressWin=0\r\nPauseAfterPrinting=0\r\n"
                  "OutputQuality=0\r\nOutputDest=1\r\nOutputFileName=" + WindowsPath(Report) +
                      "\r\nIfOutputFileExists=0\r\nNumFixedCols=0\r\nHideColumns=~Line#\r\nLinesPerpage=120\r\n"
                      "TxtCharsPageWid=200\r\n");
  }

  // Steps: "&Print" on the book table, then the setup window up and in front.
  void OpenSetupWindow(TScript& S, const std::string& Name) {
    S.Step(Name + ": click Print", [&] {
      PostClick(PeerHandle(*frmVersora->btnPrint), 10, 10);
      return true;
    });
    S.Step(Name + ": setup window shown", [] {
      if (!fmVlxMain || fmVlxMain->StartPending() || !Showing(fmVlxMain)) return false;
      SetForegroundWindow(PeerHandle(*fmVlxMain));
      return true;
    });
  }

  void ShowPage(TScript& S, int Index, const std::string& Shot) {
    S.Step("tab " + std::to_string(Index), [Index] {
      ClickTab(*fmVlxMain->pcOptions, Index);
      return true;
    });
    S.Step("page " + std::to_string(Index) + " in front", [Index, Shot] {
      TTabSheet* Page = fmVlxMain->pcOptions->Pages(Index);
      if (fmVlxMain->pcOptions->ActivePage() != Page || !IsWindowVisible(PeerHandle(*Page))) return false;
      if (!Shot.empty()) SaveWindowScreenshot(PeerHandle(*fmVlxMain), Shot);
      return true;
    });
  }

  // Steps: the window closed by its frame's close box, Print returned.
  void CloseSetupWindow(TScript& S) {
    S.Step("close the setup window", [] {
      PostMessageA(PeerHandle(*fmVlxMain), WM_CLOSE, 0, 0);
      return true;
    });
    S.Step("setup window gone", [] {
      // A question about unsaved changes is answered No: the settings were saved by hand.
      if (TCustomForm* Dialog = MessageDialog()) ClickDialogButton(*Dialog, "NoButton");
      return fmVlxMain == nullptr;
    });
  }

  void SaveSettings(TScript& S) {
    S.Step("Save Options", [] {
      ClickMiddle(*fmVlxMain->sbSaveOpts);
      return true;
    });
    S.Step("saved", [] { return !RptSettings->Modified; });
  }

  // Steps: a password window showing Prompt, Text typed and Enter pressed.
  void AnswerPassword(TScript& S, const std::string& Prompt, const std::string& Text, const std::string& Shot = "") {
    S.Step("password window: " + Prompt, [Prompt, Shot] {
      TfmVlxPassword* W = fmVlxPassword;
      if (!Showing(W) || W->lbPWPrompt->Caption() != Prompt) return false;
      SetForegroundWindow(PeerHandle(*W));
      if (!HasFocus(*W->edPassword)) return false;
      if (!Shot.empty()) SaveWindowScreenshot(PeerHandle(*W), Shot);
      return true;
    });
    S.Step("type " + Text, [Text] {
      TypeText(Text);
      return true;
    });
    S.Step("typed " + Text, [Text] {
      if (!fmVlxPassword || fmVlxPassword->edPassword->Text() != Text) return false;
      Press(VK_RETURN);
      return true;
    });
  }

  TvlxVellumix* Vlx = nullptr;
  const std::string Test = ::testing::UnitTest::GetInstance()->current_test_info()->name();
  const std::string Settings = Out + "/" + Test + ".ini";
  const std::string Report = Out + "/" + Test + ".txt";
};

}  // namespace

// The two choices are made on columns outside the book table's selection, and survive a trip to
// the selected rows (which print the selected columns only) and back.
TEST_F(ColumnsE2E, HiddenColumnAndCountTotalPrintSaveAndComeBack) {
  TScript S;
  int Writer = -1, Name = -1;
  std::string Printed, Saved, Shown, WriterField, NameField;
  S.Step("select a cell of the last column", [] {
    ClickCell(*frmVersora->strgrd, 4, 2);
    return true;
  });
  S.Step("selected", [] { return frmVersora->strgrd->Col() == 4 && frmVersora->strgrd->Row() == 2; });
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
    // The box keeps to the names' cell; its list opens wide enough to read every kind.
    SaveWindowScreenshot(PeerHandle(*fmVlxMain), "columns-1-kind-list");
    RECT List{};
    SendMessageA(PeerHandle(*fmVlxMain->cmbColumns), CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(&List));
    EXPECT_GE(List.right - List.left, fmVlxMain->dgColumns->Canvas().TextWidth("Variance (Population)"));
    for (int I = 0; I < tkCount; ++I) Press(VK_DOWN);
    Press(VK_RETURN);
    return true;
  });
  S.Step("Count set", [&] {
    const TColsListData* Column = ObjInfo->ColsList->Items(Name);
    return Column->TotList && Column->TotList->Items(0) && Column->TotList->Items(0)->Kind == tkCount &&
           !fmVlxMain->cmbColumns->DroppedDown();
  });
  ShowPage(S, 0, "");
  S.Step("Selected Rows", [] {
    ClickMiddle(*fmVlxMain->rbPrintWhatSelectedRows);
    return true;
  });
  S.Step("only the selected column listed", [] {
    return RptSettings->PrintWhat == pwSelectedRows && ColumnOf("NAME") < 0 && ColumnOf("TIME COVERED") >= 0;
  });
  S.Step("Entire Grid", [] {
    ClickMiddle(*fmVlxMain->rbPrintWhatAll);
    return true;
  });
  S.Step("every column listed again", [&] {
    if (RptSettings->PrintWhat != pwAll || ColumnOf("NAME") < 0) return false;
    Writer = ColumnOf("WRITER(S)");
    Name = ColumnOf("NAME");
    return true;
  });
  ShowPage(S, 2, "");
  S.Step("picture of the choices", [&] {
    SaveWindowScreenshot(PeerHandle(*fmVlxMain), "columns-2-writers-hidden-names-counted");
    DeleteFileA(Report.c_str());
    ClickMiddle(*fmVlxMain->sbPrint);
    return true;
  });
  S.Step("printed", [&] {
    if (PrintSettings->RunResult != 1) return false;
    Printed = FileBytes(Report);
    return !Printed.empty() && Printed != "(none)";
  });
  SaveSettings(S);
  CloseSetupWindow(S);
  S.Step("read the section", [&] {
    Saved = FileBytes(Settings);
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

// A report password (given on the Setup page in the headless tests) is asked by Print: three
// wrong ones end in the violation, the right one in any case prints, and once given it is not
// asked again by the next Print of the same call.
TEST_F(ColumnsE2E, ReportPasswordIsAskedByPrintOncePerCall) {
  std::ofstream(Settings, std::ios::binary | std::ios::app) << "RptPW=secret\r\n";
  TScript S;
  std::vector<std::string> Dialogs;
  bool PrintedAfterWrong = false, AskedOnSecondPrint = false;
  OpenSetupWindow(S, "first");
  S.Step("Print", [&] {
    DeleteFileA(Report.c_str());
    ClickMiddle(*fmVlxMain->sbPrint);
    return true;
  });
  AnswerPassword(S, "Enter Report Password:", "wrong", "columns-4-report-password");
  for (int I = 2; I <= 3; ++I) {
    S.Step("refused " + std::to_string(I - 1), [I] {
      TfmVlxPassword* W = fmVlxPassword;
      // The wrong entry is cleared for the next try.
      if (!W || W->paStatus->Caption() != "Password is Incorrect" || !W->edPassword->Text().empty() ||
          !HasFocus(*W->edPassword))
        return false;
      if (I == 2) {  // the entry masked, the refusal in the red status line
        HDC Dc = GetDC(PeerHandle(*W->paStatus));
        const bool Red = GetPixel(Dc, 3, 3) == RGB(255, 0, 0);
        ReleaseDC(PeerHandle(*W->paStatus), Dc);
        if (!Red) return false;
        EXPECT_EQ(WindowText(PeerHandle(*W)), "Report: " + RptSettings->ReportTitle);
        EXPECT_EQ(SendMessageA(PeerHandle(*W->edPassword), EM_GETPASSWORDCHAR, 0, 0), 'X');
        SaveWindowScreenshot(PeerHandle(*W), "columns-5-password-refused");
      }
      return true;
    });
    S.Step("wrong again " + std::to_string(I), [] {
      TypeText("wrong");
      return true;
    });
    S.Step("OK " + std::to_string(I), [I] {
      if (fmVlxPassword->edPassword->Text() != "wrong") return false;
      if (I == 2) ClickMiddle(*fmVlxPassword->edOk);
      else Press(VK_RETURN);
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
  S.Step("the violation", [&] { return !S.Boxes.empty(); });
  S.Step("nothing printed; Print again", [&] {
    if (FindWindowA("#32770", nullptr)) return false;
    PrintedAfterWrong = GetFileAttributesA(Report.c_str()) != INVALID_FILE_ATTRIBUTES;
    ClickMiddle(*fmVlxMain->sbPrint);
    return true;
  });
  AnswerPassword(S, "Enter Report Password:", "SeCrEt");
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
  EXPECT_EQ(Dialogs, (std::vector<std::string>{"Too many password violations"}));
  EXPECT_EQ(S.Boxes, (std::vector<std::string>{"Vellumix! Setup Error: Report Password Violation."}));
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
    WriteSettings(*Vlx, Out + "/Rows.ini",
                  "DisplayReportOptionsWin=0\r\nPreviewFirst=0\r\nDisplayProgressWin=0\r\nPauseAfterPrinting=0\r\n"
                  "OutputQuality=0\r\nOutputDest=1\r\nOutputFileName=" + WindowsPath(Report) +
                      "\r\nIfOutputFileExists=0\r\nNumFixedCols=0\r\nHideColumns=~Line#\r\nPrintWhat=7\r\n"
                      "ioAskToPrintSelectedRows=1\r\nLinesPerpage=120\r\nTxtCharsPageWid=100\r\n");
    Form->Show();
    SetForegroundWindow(PeerHandle(*Form));
    ASSERT_TRUE(PumpUntil([&] { return IsWindowVisible(PeerHandle(*List)) != FALSE; }));
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
      Application->Post(Application, [this] {
        Vlx->Print();
        ++PrintsDone;
      });
      return true;
    });
    S.Step("question for " + Object->Name(), [this, Ok, Shot] {
      TfmvlxAskSelectedRows* Q = fmvlxAskSelectedRows;
      if (!Showing(Q) || !IsWindowVisible(PeerHandle(*Q->bbOk))) return false;
      SetForegroundWindow(PeerHandle(*Q));
      if (!Shot.empty()) SaveWindowScreenshot(PeerHandle(*Q), Shot);
      Questions.push_back(WindowText(PeerHandle(*Q->rbPrintSelectedRows)) +
                          (Q->rbPrintSelectedRows->Checked() ? " (checked)" : ""));
      ClickMiddle(Ok ? *static_cast<TControl*>(Q->bbOk) : *static_cast<TControl*>(Q->bbCancel));
      return true;
    });
  }

  // Step: the run over, its report read.
  void Printed(TScript& S, std::string& Into) {
    S.Step("report written", [this, &Into] {
      if (fmVlxMain || fmvlxAskSelectedRows) return false;
      Into = FileBytes(Report);
      return !Into.empty() && Into != "(none)";
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
  int PrintsDone = 0;
  const std::string Report = Out + "/rows.txt";
};

}  // namespace

TEST_F(SelectedRowsE2E, PickedRowsOfADBGridAndAListBoxPrintAloneAndCancelStopsQuietly) {
  // Bravo, Delta and Golf picked in the grid with the mouse, Ctrl held for the second and third.
  const HWND GridWnd = PeerHandle(*Grid);
  const int Col = Grid->FixedCols(), Top = Grid->FixedRows();
  for (int K : {1, 3, 6}) {
    const TRect R = Grid->CellRect(Col, Top + K);
    PostClick(GridWnd, (R.Left + R.Right) / 2, (R.Top + R.Bottom) / 2, K == 1 ? 0 : MK_CONTROL);
    Application->ProcessMessages();
  }
  ASSERT_TRUE(PumpUntil([&] { return Grid->SelectedRows().Count() == 3; })) << Grid->SelectedRows().Count();
  // Echo to Foxtrot with Shift held, then Hotel and Juliet with Ctrl, in the list box.
  const HWND Box = PeerHandle(*List);
  for (int K : {4, 5, 7, 9}) {
    PostClick(Box, ListBoxItemPoint(Box, K), K == 4 ? 0 : K == 5 ? MK_SHIFT : MK_CONTROL);
    Application->ProcessMessages();
  }
  ASSERT_TRUE(PumpUntil([&] { return List->SelCount() == 4; })) << List->SelCount();
  SaveWindowScreenshot(PeerHandle(*Form), "selected-rows-1-picked");

  TScript S;
  std::string FromGrid, FromList;
  std::vector<std::string> Dialogs;
  Ask(S, Grid, true, "selected-rows-2-question");
  Printed(S, FromGrid);
  Ask(S, List, true, "");
  Printed(S, FromList);
  Ask(S, Grid, false, "");
  // The stop is told once, by the time its Print has returned.
  S.Step("the stop told once", [&] {
    if (TCustomForm* Dialog = MessageDialog()) {
      Dialogs.push_back(MessageText(*Dialog));
      ClickDialogButton(*Dialog, "OKButton");
      return false;
    }
    return PrintsDone == 3;
  });
  EXPECT_EQ(S.Run(), "");
  EXPECT_EQ(Questions, (std::vector<std::string>{"Print 3 selected rows (checked)", "Print 4 selected rows (checked)",
                                                 "Print 3 selected rows (checked)"}));
  EXPECT_EQ(RowsOf(FromGrid), (std::vector<std::string>{"Bravo", "Delta", "Golf"})) << FromGrid;
  EXPECT_EQ(RowsOf(FromList), (std::vector<std::string>{"Echo", "Foxtrot", "Hotel", "Juliet"})) << FromList;
  EXPECT_EQ(GetFileAttributesA(Report.c_str()), INVALID_FILE_ATTRIBUTES) << "the cancelled report wrote nothing";
  EXPECT_EQ(Dialogs, std::vector<std::string>{"Vellumix! User Terminated Report"});
  EXPECT_EQ(S.Boxes, std::vector<std::string>{});
}
