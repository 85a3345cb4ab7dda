// What the setup window changes after the start of a run prints as a start on the saved
// settings would: the user types into the window's controls between the start and Print (or the
// preview's print), saves, and the next start on the saved file prints the same pages. Exports
// number their rows as the print does on every way to them.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <random>
#include <set>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include "engine/VLMXGbl/PrintSettings.h"
#include "engine/VLMXGbl/RunUI.h"
#include "engine/Vellumix/ReportSettings.h"
#include "engine/Vellumix/Vellumix.h"
#include "framework/Buttons.h"
#include "framework/ComCtrls.h"
#include "framework/DB.h"
#include "framework/ExtCtrls.h"
#include "framework/Grids.h"
#include "framework/StdCtrls.h"
#include "framework/headless/IniFiles.h"
#include "framework/headless/Printers.h"
#include "framework/rtl/SysUtils.h"
#include "tests/support/GridPages.h"
#include "tests/support/ReportHostFixture.h"
#include "tests/support/TempDir.h"
#include "windows/VLMXMain/VLMXMain.h"
#include "windows/VLMXPrev/VLMXPrev.h"

namespace {

using TKeys = std::vector<std::string>;

constexpr int DataRows = 40;

// The second column's texts pass 20 characters early with a short text, and only later with
// the widest one: a width measured from the first text that reached a cap of 20 is too narrow
// for the cap of 50.
std::string WriterText(int Row) {
  if (Row == 3) return "Moses and the elders of";
  if (Row == 27) return "BCE Over 140 years between 1657 and 1473";
  return "Writer " + std::to_string(Row % 7);
}

class ChangedSettingsTest : public ReportHostTest {
protected:
  void SetUp() override {
    ReportHostTest::SetUp();
    Grid->SetColCount(4);
    Grid->SetRowCount(DataRows + 1);
    const char* const Titles[] = {"NAME", "WRITER(S)", "COUNT", "PLACE"};
    for (int C = 0; C < 4; ++C) Grid->SetCells(C, 0, Titles[C]);
    for (int R = 1; R <= DataRows; ++R) {
      Grid->SetCells(0, R, "Book " + std::to_string(R));
      Grid->SetCells(1, R, WriterText(R));
      Grid->SetCells(2, R, std::to_string(R * 37 % 1000));
      Grid->SetCells(3, R, R % 5 ? "Wilderness" : "Jerusalem and Babylon");
    }
    // The same books as a table, whose notes are a memo field.
    Table = new TDataSet(Host);
    Table->SetName("tblBooks");
    Table->FieldDefs().Add("NAME", ftString, 30);
    Table->FieldDefs().Add("NOTES", ftMemo, 0);
    Table->FieldDefs().Add("COUNT", ftInteger, 0);
    Table->Open();
    for (int R = 1; R <= DataRows; ++R)
      Table->AppendRecord({"Book " + std::to_string(R), WriterText(R) + (R % 4 ? "" : ", written down in the land"),
                           int64_t{R * 37 % 1000}});
    Table->First();
    Vlx->SetObjectToPrint(Grid);
  }

  // One Print call: Script plays the user on the setup window once the start is done, and
  // OnPreview on the preview when one opens; every other window is cancelled. The window is
  // closed afterwards without a question.
  void Run(const std::function<void(TfmVlxMain&)>& Script,
           const std::function<void(TfmVlxPreview&)>& OnPreview = nullptr) {
    // The page-number memo prints the date and time: both runs print at the same moment.
    Headless::SetNow(EncodeDate(2026, 3, 4) + EncodeTime(13, 5, 9, 0));
    PrintWithWindow(Script, OnPreview);
  }

  // What the last run put out: the text file's bytes, or each text drawn on the printer's pages.
  std::string Output(bool ToPrinter) const {
    if (!ToPrinter) return FileBytes(OutFile);
    const auto& Docs = Headless::PrintedDocuments();
    if (Docs.empty()) return "";
    std::string Text;
    for (const auto& Page : Docs.back().Pages) {
      Text += "--- page\n";
      for (const auto& Out : Page.TextOuts)
        Text += std::to_string(Out.X) + "," + std::to_string(Out.Y) + "," + std::to_string(Out.FontHeight) + ":" +
                Out.Text + "\n";
    }
    return Text;
  }

  std::string OutFile = Dir / "books.txt.out";
  TDataSet* Table = nullptr;
};

// One thing the user does on the window: a number typed into an edit and the edit left, or the
// line-number column hidden from the columns grid.
struct TChange {
  std::string Name;
  std::function<void(TfmVlxMain&)> Apply;
};

TChange Typed(TEdit* TfmVlxMain::*Edit, const std::string& Name, const std::string& Value) {
  return {Name + "=" + Value, [Edit, Value](TfmVlxMain& F) {
            TEdit* E = F.*Edit;
            F.SetActiveControl(E);
            E->PeerTextEdited(Value);
            // Leaving the edit runs its own handler, as a click on the next control does.
            F.SetActiveControl(F.cbShowHint);
          }};
}

TChange HideLineNumbers() {
  return {"line numbers hidden", [](TfmVlxMain& F) {
            F.pcOptions->SetActivePage(F.tsStyle);
            F.SetActiveControl(F.dgColumns);
            F.dgColumns->SetCol(1);
            F.dgColumns->SetRow(1);
            unsigned short Space = ' ';
            F.dgColumns->PeerKeyDown(Space, 0);
            F.SetActiveControl(F.cbShowHint);
          }};
}

std::vector<TChange> LayoutChanges(bool ToPrinter) {
  using F = TfmVlxMain;
  std::vector<TChange> Changes = {
      Typed(&F::edStartingReportLineId, "Starting Line#", "1000"),
      Typed(&F::edStartingReportLineId, "Starting Line#", "99995"),
      Typed(&F::edMaxStringColWid, "Max String Column Width", "50"),
      Typed(&F::edMaxStringColWid, "Max String Column Width", "8"),
      Typed(&F::edMaxMemoColWid, "Max Memo Column Width", "10"),
      Typed(&F::edMaxMemoColWid, "Max Memo Column Width", "60"),
      Typed(&F::edMaxMemoLines, "Max Memo Lines", "1"),
      Typed(&F::edMaxMemoLines, "Max Memo Lines", "4"),
      Typed(&F::edMaxStringLines, "Max String Lines", "1"),
      Typed(&F::edMaxStringLines, "Max String Lines", "3"),
      Typed(&F::edPageMarginLeft, "Page Left Margin", "3"),
      Typed(&F::edPageMarginTop, "Page Top Margin", "2"),
      Typed(&F::edPageMarginRight, "Page Right Margin", "4"),
      Typed(&F::edPageMarginBottom, "Page Bottom Margin", "1"),
      Typed(&F::edCellMarginLeft, "Cell Left Margin", "2"),
      Typed(&F::edCellMarginRight, "Cell Right Margin", "1"),
      Typed(&F::edCellMarginTop, "Cell Top Margin", "1"),
      Typed(&F::edNumFixedColumns, "Fixed Columns", "0"),
      Typed(&F::edNumFixedColumns, "Fixed Columns", "2"),
      Typed(&F::edPanelsAcrossPage, "Panels Across Page", "2"),
      Typed(&F::edPanelsAcrossPage, "Panels Across Page", "3"),
      Typed(&F::edInterPanelGap, "Panel Gap", "4"),
      HideLineNumbers(),
  };
  if (ToPrinter) {
    Changes.push_back(Typed(&F::edTextFontSize, "Font Size", "8"));
    Changes.push_back(Typed(&F::edTextFontSize, "Font Size", "16"));
    Changes.push_back(Typed(&F::edSmallestFontSize, "Smallest Font Size", "10"));
  } else {
    Changes.push_back(Typed(&F::edTxtCharsPageWid, "Page Width", "60"));
    Changes.push_back(Typed(&F::edTxtCharsPageWid, "Page Width", "150"));
    Changes.push_back(Typed(&F::edLinesPerPage, "Page Length", "24"));
    Changes.push_back(Typed(&F::edLinesPerPage, "Page Length", "90"));
  }
  return Changes;
}

// Keys with each of More in place of the key of its name, or added.
TKeys With(TKeys Keys, const TKeys& More) {
  for (const std::string& Key : More) {
    const std::string Name = Key.substr(0, Key.find('=') + 1);
    const auto Old = std::find_if(Keys.begin(), Keys.end(), [&](const std::string& K) { return K.rfind(Name, 0) == 0; });
    if (Old != Keys.end()) *Old = Key;
    else Keys.push_back(Key);
  }
  return Keys;
}

TKeys Stored(bool ToPrinter, const std::string& OutFile) {
  TKeys Keys = {"MaxMemoColWidTxt=30", "MaxMemoLines=2", "DisplayProgressWin=0", "PauseAfterPrinting=0", "DisplayReportOptionsWin=1", "PreviewFirst=0",
                "CloseWinAfterPrinting=0", "OutputQuality=0", "IfOutputFileExists=0", "HideColumns=",
                "StartingReportLineId=1", "MaxStringColWidTxt=20", "MaxStringLines=2", "NumFixedCols=1",
                "PanelsAcrossPage=1", "TxtCharsPageWid=100", "LinesPerpage=40", "ShrinkToPage=1"};
  if (ToPrinter) Keys.push_back("OutputDest=0");
  else Keys.insert(Keys.end(), {"OutputDest=1", "OutputFileName=" + OutFile});
  return Keys;
}

}  // namespace

// Single changes and several at once, to the printer and to a text file, printed from the
// window and from the preview, against a fresh start on what was saved.
TEST_F(ChangedSettingsTest, AChangeAfterTheStartPrintsAsAFreshStartOnTheSavedSettings) {
  std::mt19937 Random(24);
  int Compared = 0;
  for (const bool ToPrinter : {false, true}) {
    // A string grid to the text file, a table with a memo field to the printer.
    Vlx->SetObjectToPrint(ToPrinter ? static_cast<TComponent*>(Table) : Host->FindComponent("strgrd"));
    const std::vector<TChange> All = LayoutChanges(ToPrinter);
    std::vector<std::vector<const TChange*>> Cases;
    for (const TChange& C : All) Cases.push_back({&C});
    for (int N = 0; N < 16; ++N) {
      std::vector<const TChange*> Picked;
      for (const TChange& C : All) Picked.push_back(&C);
      std::shuffle(Picked.begin(), Picked.end(), Random);
      Picked.resize(2 + N % 3);
      Cases.push_back(Picked);
    }
    for (size_t K = 0; K < Cases.size(); ++K) {
      const bool FromPreview = K % 3 == 2;
      std::string Label = ToPrinter ? "printer" : "text file";
      Label += FromPreview ? ", preview:" : ":";
      for (const TChange* C : Cases[K]) Label += " " + C->Name;
      SCOPED_TRACE(Label);

      Section(Stored(ToPrinter, OutFile));
      bool Valid = false;
      int Result = 0;
      Run(
          [&](TfmVlxMain& F) {
            for (const TChange* C : Cases[K]) C->Apply(F);
            Valid = F.ValidateOptions(nullptr, true, false);
            if (!Valid) return;
            if (FromPreview) F.sbPreviewClick(nullptr);
            else F.sbPrintClick(nullptr);
            Result = F.RunResult();
            F.sbSaveOptsClick(nullptr);
          },
          [&](TfmVlxPreview& P) {
            P.sbPrint->Click();
            Result = PrintSettings->RunResult;
          });
      // A combination the window refuses prints nothing to compare.
      if (!Valid) continue;
      ASSERT_EQ(Result, 1);
      const std::string Changed = Output(ToPrinter);
      EXPECT_NE(Changed.find("Book 27"), std::string::npos) << Changed;

      Run([&](TfmVlxMain& F) {
        F.sbPrintClick(nullptr);
        Result = F.RunResult();
      });
      ASSERT_EQ(Result, 1);
      EXPECT_EQ(Changed, Output(ToPrinter));
      ++Compared;
    }
  }
  // The window refuses few of these: most are compared.
  EXPECT_GT(Compared, 60);
}

namespace {

// The line number before each "Book k" of a printed or exported text, by k; a line number
// that does not fit its column (asterisks) reads as -1.
std::map<int, int> LineNumbers(const std::string& Text) {
  std::map<int, int> Numbers;
  std::istringstream In(Text);
  for (std::string Line; std::getline(In, Line);) {
    const size_t Book = Line.find("Book ");
    if (Book == std::string::npos) continue;
    const int K = std::atoi(Line.c_str() + Book + 5);
    const std::string Before = Line.substr(0, Book);
    const size_t Digit = Before.find_first_of("0123456789");
    EXPECT_EQ(Numbers.count(K), 0u) << "Book " << K << " twice";
    Numbers[K] = Before.find('*') != std::string::npos || Digit == std::string::npos
                     ? -1
                     : std::atoi(Before.c_str() + Digit);
  }
  return Numbers;
}

std::map<int, int> Counted(int From) {
  std::map<int, int> Numbers;
  for (int K = 1; K <= DataRows; ++K) Numbers[K] = From + K - 1;
  return Numbers;
}

}  // namespace

// The faults as a user meets them: a starting line number typed after the start prints in
// full, not as asterisks in a column measured for the old numbers, and a raised string width
// prints a long text on its one line.
TEST_F(ChangedSettingsTest, ANewStartingLineNumberAndAWiderStringColumnPrintInFull) {
  Section(With(Stored(false, OutFile), {"MaxStringLines=1"}));
  int Result = 0;
  Run([&](TfmVlxMain& F) {
    Typed(&TfmVlxMain::edStartingReportLineId, "", "1000").Apply(F);
    Typed(&TfmVlxMain::edMaxStringColWid, "", "50").Apply(F);
    F.sbPrintClick(nullptr);
    Result = F.RunResult();
  });
  ASSERT_EQ(Result, 1);
  const std::string Printed = FileBytes(OutFile);
  EXPECT_EQ(Printed.find('*'), std::string::npos) << Printed;
  EXPECT_NE(Printed.find("BCE Over 140 years between 1657 and 1473"), std::string::npos) << Printed;
  // Field formats put a thousands separator into the numbers.
  std::string Plain;
  for (const char C : Printed)
    if (C != ',') Plain += C;
  EXPECT_EQ(LineNumbers(Plain), Counted(1000));
}

// An export writes the rows the print prints, numbered alike from the starting line number,
// whichever way it was started: at once, from the setup window (the number stored or typed
// there) or from the preview.
TEST_F(ChangedSettingsTest, AnExportNumbersItsRowsAsThePrintDoes) {
  const std::string Export = Dir / "books.asc";
  const auto Keys = [&](const TKeys& More) {
    return With(With(Stored(false, OutFile), {"StartingReportLineId=100"}), More);
  };
  const auto Print = [&](TfmVlxMain& F) { F.sbPrintClick(nullptr); };
  Section(Keys({}));
  Run(Print);
  const std::map<int, int> Printed = LineNumbers(FileBytes(OutFile));
  ASSERT_EQ(Printed, Counted(100));

  const TKeys ToExport = {"OutputDest=2", "OutputFileName=" + Export};
  struct TPath {
    std::string Name;
    TKeys Settings;
    std::function<void(TfmVlxMain&)> Script;
    std::function<void(TfmVlxPreview&)> OnPreview;
  };
  const TPath Paths[] = {
      {"at once", Keys(With(ToExport, {"DisplayReportOptionsWin=0"})), [](TfmVlxMain&) {}, nullptr},
      {"setup window", Keys(ToExport), Print, nullptr},
      {"typed in the setup window", With(Keys(ToExport), {"StartingReportLineId=1"}),
       [&](TfmVlxMain& F) {
         Typed(&TfmVlxMain::edStartingReportLineId, "", "100").Apply(F);
         F.sbPrintClick(nullptr);
       },
       nullptr},
      {"preview", Keys({}), [](TfmVlxMain& F) { F.sbPreviewClick(nullptr); },
       [&](TfmVlxPreview& P) {
         P.cbxOutputDest->PeerItemChosen(2);
         P.edOutputFileName->SetText(Export);
         P.sbNextPage->Click();
         P.sbPrint->Click();
       }},
  };
  for (const TPath& Path : Paths) {
    std::filesystem::remove(Export);
    Section(Path.Settings);
    Run(Path.Script, Path.OnPreview);
    EXPECT_EQ(LineNumbers(FileBytes(Export)), Printed) << Path.Name << ":\n" << FileBytes(Export);
  }
}

namespace {

// A grid whose every cell names its column and row, some of the second column's on two lines.
constexpr int GridRows = 41;
constexpr int GridCols = 6;
const char* const GridTitles[GridCols] = {"ALPHA", "BRAVO", "CHARLIE", "DELTA", "ECHO", "FOXTROT"};
bool TwoLineCell(int C, int R) { return C == 1 && R % 3 == 1; }

// One way to a print: the settings it starts on besides the layout's, what the user does on
// the setup window and on the preview.
struct TPrintPath {
  std::string Name;
  TKeys Settings;
  std::function<void(TfmVlxMain&)> Script;
  std::function<void(TfmVlxPreview&)> OnPreview;
};

// The line numbers start at 100 and the cells' numbers follow their letters, so that a number
// below 100 standing alone is the count total; the footer line, with the date, the page id and
// the time, aside.
std::vector<std::string> CountTotals(const std::vector<GridPages::TPage>& Pages) {
  std::vector<std::string> Totals;
  for (const GridPages::TPage& Page : Pages)
    for (const std::string& Line : Page.Lines) {
      if (Line.find_first_of("/:") != std::string::npos) continue;
      std::string Word;
      char Before = ' ';
      for (const char Ch : Line + ' ') {
        if (std::isalnum(static_cast<unsigned char>(Ch))) {
          if (Word.empty()) Before = Ch;
          Word += Ch;
          continue;
        }
        if (!Word.empty() && std::isdigit(static_cast<unsigned char>(Before)) &&
            Word.find_first_not_of("0123456789") == std::string::npos && std::stoi(Word) < 100)
          Totals.push_back(Word);
        Word.clear();
      }
    }
  return Totals;
}

}  // namespace

// However the print is started (at once, from the setup window, from the preview opened first
// or from the setup window, after a layout setting typed into the window), whatever the
// panels, fixed columns, pages across, borders, fitting and two-line rows: the pages hold the
// grid as a model of it says, and each way prints the bytes a print at once on the same saved
// settings prints.
TEST_F(ChangedSettingsTest, EveryWayToAPrintPrintsTheGridWholeOnEveryPageAcross) {
  auto* Cells = new TStringGrid(Host);
  Cells->SetName("strgrdCells");
  Cells->SetFixedCols(0);
  Cells->SetColCount(GridCols);
  Cells->SetRowCount(GridRows + 1);
  for (int C = 0; C < GridCols; ++C) {
    Cells->SetCells(C, 0, GridTitles[C]);
    for (int R = 0; R < GridRows; ++R)
      Cells->SetCells(C, R + 1, GridPages::NamedCell(C, R) + (TwoLineCell(C, R) ? "\r" + std::string(3, 'b') : ""));
  }
  Vlx->SetObjectToPrint(Cells);

  // The pages-across panel as the window shows it just before Print.
  std::pair<std::string, TColor> Shown;
  const auto Print = [&](TfmVlxMain& F) {
    Shown = {F.paPagesAcross->Caption(), F.paPagesAcross->Color()};
    F.sbPrintClick(nullptr);
  };
  const auto PrintFromPreview = [](TfmVlxPreview& P) { P.sbPrint->Click(); };
  std::mt19937 Random(20261207);
  // A panel's share of the sheet that holds every column, about half of them, or a third.
  const int Shares[] = {80, 44, 30};
  std::set<std::pair<int, int>> PanelsAndPagesAcross;
  int Compared = 0;
  for (int N = 0; N < 30; ++N) {
    auto Pick = [&](int Count) { return static_cast<int>(Random() % Count); };
    const int Panels = 1 + N % 3, Fixed = N % 5;
    const bool Borders = Pick(2) == 1, Vertical = Pick(3) != 0, Shrink = Pick(3) == 0, TwoLines = Pick(2) == 1;
    const bool Margins = Pick(2) == 1;
    const int Width = Panels * (Shares[N / 3 % 3] + Pick(4)) + (Panels - 1) * 2 + (Margins ? 9 : 0);
    const int Height = TwoLines ? 30 : 24;
    TKeys Layout = {"OutputQuality=1", "StartingReportLineId=100", "MaxStringColWidTxt=999",
                    "MaxStringLines=" + std::string(TwoLines ? "2" : "1"), "LinesPerpage=" + std::to_string(Height),
                    "TxtCharsPageWid=" + std::to_string(Width), "NumFixedCols=" + std::to_string(Fixed),
                    "PanelsAcrossPage=" + std::to_string(Panels), "InterPanelGapTxt=2",
                    "ShrinkToPage=" + std::to_string(Shrink), "ioBorders=" + std::to_string(Borders),
                    "ioVerticalLines=" + std::to_string(Vertical), "ColumnTotals=Col#1,,Count,\"\""};
    if (Margins) Layout.insert(Layout.end(), {"PageMarginTxt=4,1,5,0", "CellMarginTxt=2,0,1,0"});
    SCOPED_TRACE(testing::Message() << "width " << Width << " height " << Height << " panels " << Panels << " fixed "
                                    << Fixed << " borders " << Borders << " vertical " << Vertical << " shrink " << Shrink
                                    << " two lines " << TwoLines << " margins " << Margins);
    const TKeys Saved = With(Stored(false, OutFile), Layout);

    // What the window offers to type, stored otherwise before the start.
    using F = TfmVlxMain;
    const std::tuple<TEdit* F::*, std::string, int> Typings[] = {
        {&F::edNumFixedColumns, "NumFixedCols", Fixed}, {&F::edPanelsAcrossPage, "PanelsAcrossPage", Panels},
        {&F::edTxtCharsPageWid, "TxtCharsPageWid", Width}};
    const auto& [Edit, Key, Value] = Typings[N % 3];
    const int Before = Key == "TxtCharsPageWid" ? Width + 40 : Key == "PanelsAcrossPage" ? Panels % 3 + 1 : (Fixed + 2) % 5;
    const std::vector<TPrintPath> Paths = {
        {"at once", {"DisplayReportOptionsWin=0"}, [](TfmVlxMain&) {}, nullptr},
        {"the setup window's Print", {}, Print, nullptr},
        {"the preview opened first", {"DisplayReportOptionsWin=0", "PreviewFirst=1"}, [](TfmVlxMain&) {},
         [](TfmVlxPreview& P) {
           P.sbLastPage->Click();
           P.sbPrint->Click();
         }},
        // The report's width in the status line is the whole report's, after a print as before.
        {"the setup window's preview", {},
         [](TfmVlxMain& F) {
           const std::string Status = F.paRptStatus->Caption();
           F.sbPreviewClick(nullptr);
           EXPECT_EQ(F.paRptStatus->Caption(), Status);
           EXPECT_EQ(Screen->Cursor(), crArrow);
         },
         [](TfmVlxPreview& P) {
           P.sbNextPage->Click();
           P.sbPrint->Click();
         }},
        {"Print after typing " + Key, {Key + "=" + std::to_string(Before)},
         [&, Edit = Edit, Value = Value](TfmVlxMain& F) {
           Typed(Edit, "", std::to_string(Value)).Apply(F);
           Print(F);
         },
         nullptr},
        // The preview's print goes by the settings the window holds when it opens.
        {"the preview after typing " + Key, {Key + "=" + std::to_string(Before)},
         [&, Edit = Edit, Value = Value](TfmVlxMain& F) {
           Typed(Edit, "", std::to_string(Value)).Apply(F);
           F.sbPreviewClick(nullptr);
         },
         PrintFromPreview},
    };
    std::string AtOnce;
    for (const TPrintPath& Path : Paths) {
      SCOPED_TRACE(Path.Name);
      std::filesystem::remove(OutFile);
      Section(With(Saved, Path.Settings));
      Shown = {};
      Run(Path.Script, Path.OnPreview);
      ASSERT_EQ(PrintSettings, nullptr);
      const std::string Bytes = FileBytes(OutFile);
      if (Path.Name == "at once") {
        AtOnce = Bytes;
      } else {
        EXPECT_EQ(Bytes, AtOnce);
        ++Compared;
      }
      std::vector<GridPages::TPage> Pages = GridPages::SplitPages(Bytes);
      // The page id stands alone in the footer line, between the date and the time.
      int PagesAcross = 1;
      for (GridPages::TPage& Page : Pages) {
        std::istringstream Footer(Page.Lines.empty() ? "" : Page.Lines.back());
        for (std::string Word; Footer >> Word;)
          if (Word.find_first_not_of("0123456789-") == std::string::npos) GridPages::SetPageId(Page, Word);
        PagesAcross = std::max(PagesAcross, Page.Across);
      }
      GridPages::TModel Model{GridRows, {}, {}, Height, Width, Borders};
      for (int C = 0; C < GridCols; ++C) {
        Model.Printed.insert(C);
        // The line numbers come first in the column list.
        if (C + 1 < Fixed) Model.Fixed.insert(C);
      }
      GridPages::CheckPages(Pages, PagesAcross, Model);
      // The window told, before Print, how many pages across the file gets: yellow when more than one.
      if (!Shown.first.empty()) {
        EXPECT_EQ(Shown.first, PagesAcross == 1 ? "1 Page Across" : std::to_string(PagesAcross) + " Pages Across");
        EXPECT_EQ(Shown.second, PagesAcross == 1 ? clBtnFace : clYellow);
      }
      // The second lines print where rows may take two.
      EXPECT_EQ(Bytes.find("bbb") != std::string::npos, TwoLines);
      const std::vector<std::string> Totals = CountTotals(Pages);
      EXPECT_FALSE(Totals.empty()) << Bytes;
      for (const std::string& Total : Totals) EXPECT_EQ(Total, std::to_string(GridRows)) << Bytes;
      PanelsAndPagesAcross.insert({Panels, PagesAcross});
    }
  }
  EXPECT_EQ(Compared, 30 * 5);
  for (int Panels = 1; Panels <= 3; ++Panels)
    for (int Across = 1; Across <= 3; ++Across)
      EXPECT_TRUE(PanelsAndPagesAcross.count({Panels, Across})) << Panels << " panels, " << Across << " pages across";
}
