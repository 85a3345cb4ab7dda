#include "tests/support/GoldenReports.h"

#include <algorithm>
#include <cstdio>
#include <initializer_list>
#include <memory>
#include <stdexcept>

#include "app/BookTable.h"
#include "engine/VLMXGbl/LineDraw.h"
#include "engine/VLMXGbl/RunStart.h"
#include "engine/Vellumix/SettingsKeys.h"
#include "framework/Grids.h"
#include "framework/Printers.h"

namespace GoldenReports {

namespace {

using V = std::vector<std::string>;

// ASCII lines, a framed page: what most cases start from.
const V Framed = {"OutputQuality=0", "PauseAfterPrinting=0", "DisplayProgressWin=0", "NumFixedCols=0",
                  "HideColumns=~Line#", "TxtCharsPageWid=132"};

V With(V Base, const V& More) {
  Base.insert(Base.end(), More.begin(), More.end());
  return Base;
}

const std::string PageTitle = "THE 66 BOOKS";
const std::string NumbersTitle = "BRANCH SALES";

// Totals of the quantity and amount columns at break Level.
std::vector<TTotal> SumsAt(std::initializer_list<int> Levels) {
  std::vector<TTotal> Totals;
  for (int Level : Levels) {
    Totals.push_back({"Col#3", Level, tkSum});
    Totals.push_back({"Col#5", Level, tkSum});
  }
  return Totals;
}

const std::vector<TCase> AllCases = {
    // The one the Wine test prints: nothing in it depends on the clock or the locale.
    // Printed on a sheet of the PDF printer too: its 118 characters fit across in a small font.
    {"books-ascii", TSource::Books, With(Framed, {"TextFontSize=7"}), {{PgTi, PageTitle}, {PgNum, "\rPage ^P"}}, {}},
    {"books-no-borders", TSource::Books,
     With(Framed, {"ioBorders=0", "ioVerticalLines=0"}), {{PgTi, PageTitle}}, {}},
    {"books-ibm", TSource::Books, With(Framed, {"OutputQuality=1"}), {{PgTi, PageTitle}}, {}},
    {"books-ibm-unshared", TSource::Books, With(Framed, {"OutputQuality=1", "ioShareAdjBorders=0"}),
     {{PgTi, PageTitle}}, {}},
    {"books-no-titles", TSource::Books, With(Framed, {"OutputQuality=1", "ioColumnTitles=0"}), {{PgTi, PageTitle}}, {}},
    // Pages across behind repeated columns, each page's zones in their own frames.
    {"numbers-across-unshared", TSource::Numbers,
     With(Framed, {"OutputQuality=1", "ioShareAdjBorders=0", "NumFixedCols=2", "TxtCharsPageWid=60"}),
     {{PgTi, NumbersTitle}, {PgNum, "\rPage ^P"}}, SumsAt({0})},
    {"books-hlines", TSource::Books,
     With(Framed, {"ioHorizontalLines=1", "HorizLineFreq=5", "LinesPerpage=40"}), {{PgTi, PageTitle}}, {}},
    {"numbers-totals-no-borders", TSource::Numbers, With(Framed, {"ioBorders=0", "ioVerticalLines=0"}),
     {{PgTi, NumbersTitle}}, SumsAt({0})},
    {"numbers-break-levels", TSource::Numbers, With(Framed, {"NumGrpBrkCols=2", "AdjGrpBrkLines=1"}),
     {{PgTi, NumbersTitle}}, SumsAt({0, 1, 2})},
    {"numbers-group-lines", TSource::Numbers,
     With(Framed, {"OutputQuality=1", "NumGrpBrkCols=2", "AdjGrpBrkLines=1", "ioGrpBrkLines=1", "GrpBrkSameValue=\""}),
     {{PgTi, NumbersTitle}}, SumsAt({0})},
    // Every memo, the macros with their alignment letters, fixed date and time formats.
    {"numbers-memos", TSource::Numbers,
     With(Framed, {"LinesPerpage=50", "MemoDateFormatStr=yyyy-mm-dd", "MemoTimeFormatStr=hh:nn:ss",
                   "MemoPageFormatStr=Page", "Memo,PgHdr,MemoAlignment=0", "Memo,PgFtr,MemoAlignment=1",
                   "Memo,RptHdr,MemoXPosPer=0", "Memo,RptHdr,MemoWidPer=100"}),
     {{RptTi, "BRANCH SALES REPORT"},
      {RptHdr, "Printed ^D at ^T"},
      {PgTi, NumbersTitle},
      {PgHdr, "Run of ^D"},
      {PgFtr, "continued"},
      {PgNum, "\r^DL^PC^TR"},
      {RptFtr, "END OF REPORT"},
      {Copyright, "(c) Versora ^D"}},
     SumsAt({0})},
};

const char* const Regions[] = {"North", "South", "East", "West"};
const char* const Branches[] = {"Harbor", "Hill", "Market", "Mill"};
constexpr int NumberRows = 240;
constexpr int RegionRows = 60, BranchRows = 15;

std::string Cents(int Value) {
  std::string Fraction = std::to_string(Value % 100);
  if (Fraction.size() < 2) Fraction.insert(0, "0");
  return std::to_string(Value / 100) + "." + Fraction;
}

// Row R (from 0) of the generated grid: region and branch repeat down the rows so that groups
// break; every seventh note is long enough to wrap.
V NumberRow(int R) {
  const int Qty = R * 7 % 23 + 1;
  const int Price = 150 + R * 37 % 1000;
  char Item[24];
  std::snprintf(Item, sizeof Item, "Item %03d", R + 1);
  return {Regions[R / RegionRows],
          Branches[R % RegionRows / BranchRows],
          Item,
          std::to_string(Qty),
          Cents(Price),
          Cents(Qty * Price),
          R % 7 == 3 ? "needs a second count before shipping" : "ok"};
}

TStringGrid* MakeGrid(TSource Source, TComponent* Owner) {
  auto* Grid = new TStringGrid(Owner);
  Grid->SetName("strgrd");
  Grid->SetFixedCols(0);
  if (Source == TSource::Books) {
    Grid->SetColCount(BookTableCols);
    Grid->SetRowCount(BookTableRows);
    for (int R = 0; R < BookTableRows; ++R)
      for (int C = 0; C < BookTableCols; ++C) Grid->SetCells(C, R, BookTable[R][C]);
    return Grid;
  }
  const V Titles = {"REGION", "BRANCH", "ITEM", "QTY", "PRICE", "AMOUNT", "NOTE"};
  Grid->SetColCount(static_cast<int>(Titles.size()));
  Grid->SetRowCount(NumberRows + 1);
  for (int C = 0; C < Grid->ColCount(); ++C) Grid->SetCells(C, 0, Titles[C]);
  for (int R = 0; R < NumberRows; ++R) {
    const V Row = NumberRow(R);
    for (int C = 0; C < Grid->ColCount(); ++C) Grid->SetCells(C, R + 1, Row[C]);
  }
  return Grid;
}

}  // namespace

const std::vector<TCase>& Cases() { return AllCases; }

const TCase& Find(const std::string& Name) {
  for (const TCase& Case : AllCases)
    if (Case.Name == Name) return Case;
  throw std::out_of_range("no golden report " + Name);
}

TReport::TReport(const TCase& Case) : TReport(Case, nullptr) {}

TReport::TReport(const TCase& Case, TComponent* Object) : FCase(Case) {
  Vlx.SetObjectToPrint(Object ? Object : MakeGrid(Case.Source, &Form));
  Info.Setup();

  // The report's section as the settings file gives it, over the keys' defaults; the
  // line-draw rows of a machine whose INI file holds none.
  TvlxSettingsKeys Keys(&Settings);
  Keys.ApplyDefaults();
  for (const std::string& Line : Case.Settings) {
    const size_t Eq = Line.find('=');
    const TrsfEntry* Entry = Keys.Find(Line.substr(0, Eq));
    if (!Entry || Eq == std::string::npos) throw std::invalid_argument("bad golden setting " + Line);
    Keys.ApplySetting(*Entry, Line.substr(Eq + 1));
  }
  for (const auto& [Index, Text] : Case.Memos) Settings.RptMemo(Index)->Text = Text;
  Settings.GridChrsAscii = DefaultGridChrsAscii;
  Settings.GridChrsIbm = DefaultGridChrsIbm;
}

namespace {

// The case's part in the start of its run: the settings are the case's, given before the
// start, and its totals are set on the column list as the columns editor sets them.
class TCaseSteps : public TvlxGivenSettingsSteps {
public:
  TCaseSteps(const TCase& Case, TObjInfo& Info) : FCase(Case), FInfo(Info) {}
  void ColumnsBuilt() override {
    for (const TTotal& Total : FCase.Totals) {
      const int Col = FInfo.ColsList->IndexOfName(Total.Column);
      if (Col < 0) throw std::invalid_argument("no column " + Total.Column);
      auto& List = FInfo.ColsList->Items(Col)->TotList;
      if (!List) List = std::make_unique<TColTotList>();
      bool Changed = false;
      List->SetKind(Total.Level, Total.Kind, Changed);
    }
  }

private:
  const TCase& FCase;
  TObjInfo& FInfo;
};

}  // namespace

int TReport::Print(const std::string& FileName, TOutput Output) {
  // The destination as the setup window's Output page leaves it: a text file, raw text to the
  // spooler, or the text file's page drawn on the printer selected now.
  Settings.OutputDest = Output == TOutput::RawSpooler || Output == TOutput::Printer ? odPrinter
                        : Output == TOutput::AsciiExport                           ? odAsciiExport
                                                                                   : odTextFile;
  Settings.OutputFileName = FileName;
  if (Output == TOutput::RawSpooler) Settings.FastPrinterText = Settings.AllowFastPrinterText = true;
  if (Output == TOutput::PrinterCanvas) {
    Settings.DefaultPrinter = false;
    Settings.PrinterName = Printer()->Printers()[std::max(0, Printer()->PrinterIndex())];
  }
  TCaseSteps Steps(FCase, Info);
  StartRun(TheRun, Steps);
  bool RescanPending = false;
  PrepareToPrint(TheRun, Steps, RescanPending);
  if (Output == TOutput::PrinterCanvas) {
    Run.OutPrinter = true;
    Run.OutTextFile = Run.OutAnyFile = false;
  }
  return Run.Execute(Settings.PauseAfterPrinting);
}

}  // namespace GoldenReports
