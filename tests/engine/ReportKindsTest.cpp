// Whole reports of every printable kind: a table, a query and a bare dataset with text, number,
// date, Boolean and memo fields, a data-aware grid over them with its columns reordered and one
// hidden, a list box, a list view in report style with and without column headers, and a string
// grid with a fixed column of its own. Each is crossed with panels, pages across, repeated
// leading columns, borders, line numbers from any start, totals, selected rows, no rows at all
// and cells holding a tab, and read back against a model computed from the source alone: every
// record once on every page across and in order, boxes closed, totals the source's sums, counts
// and extremes on the totals line, the export holding the same rows with only its text-like
// fields quoted, and the cursor and selection where the user left them.
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

#include "framework/ComCtrls.h"
#include "framework/DBGrids.h"
#include "framework/DBTables.h"
#include "framework/Grids.h"
#include "framework/StdCtrls.h"
#include "framework/headless/Printers.h"
#include "framework/rtl/SysUtils.h"
#include "tests/support/GoldenReports.h"
#include "tests/support/GridPages.h"
#include "tests/support/HeadlessFixture.h"
#include "tests/support/TempDir.h"

namespace {

using V = std::vector<std::string>;
using GoldenReports::TCase;
using GridPages::NamedCell;
using GridPages::TPage;
using TOutput = GoldenReports::TReport::TOutput;

constexpr int Records = 23;

int Qty(int R) { return R * 3 % 11 + 1; }
double Price(int R) { return 1 + R % 4 * 0.5; }
TDateTime Day(int R) { return EncodeDate(2024, 1, 1 + R % 28); }

// Field letters name the source's own columns in the pages: A Name, F Note, G Code.
enum TKind { kTable, kQuery, kDataSet, kDBGrid, kListBox, kListView, kListViewBare, kStringGrid, kKinds };
const char* const KindNames[] = {"table",     "query",     "dataset", "db grid", "list box", "list view",
                                 "list view without headers", "string grid"};

// A named cell as the source holds it: every third row's with a tab inside, which the pages
// print as a blank and the export leaves out.
std::string Held(int C, int R) { return NamedCell(C, R) + (R % 3 == 1 ? "\t." : ""); }
std::string Exported(int C, int R) { return NamedCell(C, R) + (R % 3 == 1 ? "." : ""); }

bool IsDatabase(TKind Kind) { return Kind <= kDBGrid; }

template <class T>
T* MakeData(TForm& Owner, int Rows) {
  auto* DS = new T(&Owner);
  DS->SetName("data");
  if constexpr (std::is_same_v<T, TTable>) DS->SetTableName("T");
  if constexpr (std::is_same_v<T, TQuery>) DS->SQL().Add("select * from T");
  DS->FieldDefs().Add("Name", ftString, 12);
  DS->FieldDefs().Add("Qty", ftInteger);
  DS->FieldDefs().Add("Price", ftFloat);
  DS->FieldDefs().Add("Day", ftDate);
  DS->FieldDefs().Add("Paid", ftBoolean);
  DS->FieldDefs().Add("Note", ftMemo);
  DS->FieldDefs().Add("Code", ftString, 12);
  DS->Open();
  for (int R = 0; R < Rows; ++R)
    DS->AppendRecord({Held(0, R), int64_t{Qty(R)}, Price(R), static_cast<double>(Day(R)), R % 2 == 0,
                      Held(5, R), Held(6, R)});
  DS->First();
  return DS;
}

// The printed object of Kind, and the names of its columns in print order with their field
// types (0 for the lists).
struct TSource {
  TComponent* Object = nullptr;
  TDataSet* Data = nullptr;
  std::vector<std::pair<std::string, int>> Columns;
  std::set<int> Named;  // the letters of the columns holding named cells
};

TSource MakeSource(TKind Kind, TForm& Owner, int Rows) {
  TSource S;
  const std::vector<std::pair<std::string, int>> Fields = {{"Name", ftString}, {"Qty", ftInteger}, {"Price", ftFloat},
                                                           {"Day", ftDate},    {"Paid", ftBoolean}, {"Note", ftMemo},
                                                           {"Code", ftString}};
  if (IsDatabase(Kind)) {
    S.Data = Kind == kTable   ? MakeData<TTable>(Owner, Rows)
             : Kind == kQuery ? MakeData<TQuery>(Owner, Rows)
                              : MakeData<TDataSet>(Owner, Rows);
    S.Object = S.Data;
    S.Columns = Fields;
    S.Named = {0, 5, 6};
    if (Kind == kDBGrid) {
      auto* Link = new TDataSource(&Owner);
      Link->SetName("link");
      Link->SetDataSet(S.Data);
      auto* Grid = new TDBGrid(&Owner);
      Grid->SetName("dbgrid");
      Grid->SetDataSource(Link);
      // Reordered, with Price's column hidden and Paid left out.
      for (const char* Name : {"Note", "Name", "Qty", "Price", "Code", "Day"}) Grid->Columns().Add()->SetFieldName(Name);
      Grid->Columns()[3]->SetVisible(false);
      Grid->SetOptions(Grid->Options() | dgMultiSelect);
      S.Object = Grid;
      S.Columns = {{"Note", ftMemo}, {"Name", ftString}, {"Qty", ftInteger}, {"Code", ftString}, {"Day", ftDate}};
    }
    return S;
  }
  if (Kind == kListBox) {
    auto* List = new TListBox(&Owner);
    List->SetName("list");
    List->SetMultiSelect(true);
    for (int R = 0; R < Rows; ++R) List->AddItem(Held(0, R));
    S.Object = List;
    S.Columns = {{"Col#0", 0}};
    S.Named = {0};
    return S;
  }
  S.Columns = {{"Col#0", 0}, {"Col#1", 0}, {"Col#2", 0}};
  S.Named = {0, 2};
  if (Kind == kStringGrid) {
    // Blank rows under the last one: trimmed away, all of them when the grid holds no row.
    auto* Grid = new TStringGrid(&Owner);
    Grid->SetName("grid");
    Grid->SetColCount(5);
    Grid->SetRowCount(Rows + 3);
    Grid->SetFixedCols(1);
    for (int C = 0; C < 5; ++C) {
      Grid->SetCells(C, 0, "Col" + std::to_string(C));
      for (int R = 0; R < Rows; ++R) Grid->SetCells(C, R + 1, C == 1 ? std::to_string(Qty(R)) : Held(C, R));
    }
    S.Columns.insert(S.Columns.end(), {{"Col#3", 0}, {"Col#4", 0}});
    S.Named = {0, 2, 3, 4};
    S.Object = Grid;
    return S;
  }
  auto* View = new TListView(&Owner);
  View->SetName("view");
  View->SetViewStyle(vsReport);
  View->SetMultiSelect(true);
  View->SetShowColumnHeaders(Kind == kListView);
  for (const char* Title : {"NAME", "QTY", "CODE"}) View->Columns().Add()->SetCaption(Title);
  for (int R = 0; R < Rows; ++R) {
    TListItem* Item = View->Items().Add();
    Item->SetCaption(Held(0, R));
    Item->SubItems().Add(std::to_string(Qty(R)));
    Item->SubItems().Add(Held(2, R));
  }
  S.Object = View;
  return S;
}

using GridPages::Trim;

bool HasWord(const std::string& Line, const std::string& Word) {
  for (size_t At = Line.find(Word); At != std::string::npos; At = Line.find(Word, At + 1)) {
    const bool Before = At == 0 || Line[At - 1] == ' ' || GridPages::IsBoxChar(Line[At - 1]);
    const size_t End = At + Word.size();
    const bool After = End >= Line.size() || Line[End] == ' ' || GridPages::IsBoxChar(Line[End]);
    if (Before && After) return true;
  }
  return false;
}

struct TOut {
  int Result = 0, PagesAcross = 0;
  std::vector<TPage> Pages;
  std::string Bytes;
};

TOut Print(TComponent* Object, const TCase& Case, const std::string& File, TOutput To) {
  Headless::Reset();
  std::filesystem::remove(File);
  TOut Out;
  {
    GoldenReports::TReport Report(Case, Object);
    Out.Result = Report.Print(File, To);
    Out.PagesAcross = Report.Run.PagesAcross;
    // As the setup window gives the object back when it closes.
    if (Report.Info.SavedPosn) Report.Info.SavedPosn->Restore();
  }
  Out.Bytes = FileBytes(File);
  if (To == TOutput::AsciiExport) return Out;
  Out.Pages = GridPages::SplitPages(Out.Bytes);
  for (TPage& Page : Out.Pages)
    for (const std::string& Line : Page.Lines)
      if (const size_t At = Line.find("PAGE "); At != std::string::npos) GridPages::SetPageId(Page, Trim(Line.substr(At + 5)));
  return Out;
}

// N as a line number prints: its thousands apart.
std::string Thousands(int N) {
  const std::string Low = std::to_string(N % 1000);
  return N < 1000 ? Low : std::to_string(N / 1000) + "," + std::string(3 - Low.size(), '0') + Low;
}

std::string General(double Value) { return FloatToStr(Value); }

// The text the source holds for column Name on record R, as the export writes it.
std::string SourceText(const TSource& S, const std::string& Name, int R) {
  if (Name == "Name" || Name == "Col#0") return Exported(0, R);
  if (Name == "Note") return Exported(5, R);
  if (Name == "Code") return Exported(6, R);
  if (Name == "Qty" || (Name == "Col#1" && !S.Data)) return std::to_string(Qty(R));
  if (Name.rfind("Col#", 0) == 0) return Exported(Name[4] - '0', R);
  if (Name == "Price") return General(Price(R));
  if (Name == "Day") return DateToStr(Day(R));
  return R % 2 == 0 ? "x" : " ";  // Paid, as a check mark
}

bool Quoted(int Type) {
  return Type == ftString || Type == ftDate || Type == ftTime || Type == ftDateTime || Type == ftMemo ||
         Type == ftFmtMemo || Type == ftFixedChar || Type == ftWideString;
}

// The record, line or item the user stood on, and the list view's selection, as they were.
void ExpectPlace(const TSource& S, int At, int SelCount) {
  if (S.Data) {
    EXPECT_EQ(S.Data->RecNo(), At + 1);
  }
  if (auto* List = dynamic_cast<TListBox*>(S.Object)) {
    EXPECT_EQ(List->ItemIndex(), At);
  }
  if (auto* View = dynamic_cast<TListView*>(S.Object)) {
    EXPECT_EQ(View->ItemFocused(), View->Items()[At]);
    EXPECT_EQ(View->SelCount(), SelCount);
  }
  if (auto* Grid = dynamic_cast<TStringGrid*>(S.Object)) {
    EXPECT_EQ(Grid->Row(), At + 1);
  }
}

}  // namespace

TEST(ReportKinds, EveryKindPrintsAndExportsItsRowsAndTotalsAsTheSourceHoldsThem) {
  TTempDir Dir;
  const std::string File = Dir / "kinds.txt", Export = Dir / "kinds.asc";
  std::mt19937 Random(20260501);
  auto Pick = [&](int Count) { return static_cast<int>(Random() % Count); };
  std::set<std::tuple<int, int, int>> Seen;  // {kind, panels, pages across}
  for (int N = 0; N < 3 * kKinds * 3; ++N) {
    TForm Owner(nullptr);
    const auto Kind = static_cast<TKind>(N % kKinds);
    // Twice for each kind an object without a row: an empty dataset, list or grid.
    const bool Empty = N / kKinds % 4 == 3;
    TSource S = MakeSource(Kind, Owner, Empty ? 0 : Records);
    const int Panels = 1 + N / kKinds % 3, Start = std::vector<int>{1, 100, 995}[Pick(3)];
    const bool Borders = Empty || Pick(3) != 0, LineNumbers = Pick(2) == 1;
    // Selected rows where the kind has a selection, a block of records in the middle.
    const bool Selected = Kind >= kDBGrid && !Empty && Pick(3) == 0;
    const int Top = Selected ? 2 + Pick(8) : 0, Count = Empty ? 0 : Selected ? 3 + Pick(Records - Top - 3) : Records;
    // Where the user stands: the print must leave it so. A string grid's selection puts it on
    // the block's first row.
    const int At = Selected && Kind == kStringGrid ? Top : 4 + Pick(10);
    if (Selected) {
      for (int R = Top; R < Top + Count; ++R) {
        if (auto* Grid = dynamic_cast<TDBGrid*>(S.Object)) {
          S.Data->SetRecNo(R + 1);
          Grid->SelectedRows().SetCurrentRowSelected(true);
        } else if (auto* List = dynamic_cast<TListBox*>(S.Object)) {
          List->SetSelected(R, true);
        } else if (auto* View = dynamic_cast<TListView*>(S.Object)) {
          View->Items()[R]->SetSelected(true);
        }
      }
      // The grid's fixed column and the block's columns.
      if (auto* Grid = dynamic_cast<TStringGrid*>(S.Object)) Grid->SetSelection({1, Top + 1, 4, Top + Count});
    }
    if (!Empty) {
      if (S.Data) S.Data->SetRecNo(At + 1);
      if (auto* List = dynamic_cast<TListBox*>(S.Object)) List->SetItemIndex(At);
      if (auto* View = dynamic_cast<TListView*>(S.Object)) View->SetItemFocused(View->Items()[At]);
      if (auto* Grid = dynamic_cast<TStringGrid*>(S.Object); Grid && !Selected) Grid->SetRow(At + 1);
    }
    const int PanelWidth = std::vector<int>{70, 40, 26}[Pick(3)] + Pick(5);
    const int Width = Panels * PanelWidth + (Panels - 1) * 2, Height = 14 + Pick(8);
    // A count of list positions, the line number's first whether it prints or not; or left to
    // the default, which repeats the line number and the object's own fixed columns.
    const int Fixed = std::vector<int>{0, 1, 2, -1}[Pick(4)];
    TCase Case{"kinds", GoldenReports::TSource::Numbers, {}, {{PgNum, "\rPAGE ^P"}}, {}};
    Case.Settings = {"OutputQuality=1", "PauseAfterPrinting=0", "DisplayProgressWin=0", "MaxStringLines=1",
                     "MaxMemoLines=1", "MaxStringColWidTxt=999", "MaxMemoColWidTxt=12",
                     "PrintWhat=" + std::string(Selected ? "7" : "0"), "StartingReportLineId=" + std::to_string(Start),
                     "LinesPerpage=" + std::to_string(Height), "TxtCharsPageWid=" + std::to_string(Width),
                     "HideColumns=" + std::string(LineNumbers ? "" : "~Line#"),
                     "PanelsAcrossPage=" + std::to_string(Panels), "InterPanelGapTxt=2", "ShrinkToPage=0",
                     "ioBorders=" + std::to_string(Borders), "ioVerticalLines=" + std::to_string(Borders)};
    if (Fixed >= 0) Case.Settings.push_back("NumFixedCols=" + std::to_string(Fixed));
    // Totals of each kind where the source has numbers; a count over the first column always but
    // on one of the empty objects.
    V Totals = {std::to_string(Count)};
    Case.Totals = {{S.Columns[0].first, 0, tkCount}};
    int Sum = 0, Low = 1 << 30, High = 0;
    double PriceSum = 0, PriceHigh = 0;
    for (int R = Top; R < Top + Count; ++R) {
      Sum += Qty(R), Low = std::min(Low, Qty(R)), High = std::max(High, Qty(R));
      PriceSum += Price(R), PriceHigh = std::max(PriceHigh, Price(R));
    }
    const TotalKind QtyKind = std::vector<TotalKind>{tkSum, tkMin, tkMax}[Pick(3)];
    const std::string QtyCol = S.Data ? "Qty" : Kind == kListBox ? "" : "Col#1";
    if (!QtyCol.empty() && !Empty) {
      Case.Totals.push_back({QtyCol, 0, QtyKind});
      Totals.push_back(std::to_string(QtyKind == tkSum ? Sum : QtyKind == tkMin ? Low : High));
    }
    if (Empty && N / kKinds == 3) Case.Totals.clear(), Totals.clear();
    if (S.Data && Kind != kDBGrid && !Empty) {
      // An average's many digits need a page across of some width.
      const bool Average = PanelWidth >= 40 && Pick(2) == 0;
      Case.Totals.push_back({"Price", 0, Average ? tkAverage : tkMax});
      Totals.push_back(General(Average ? PriceSum / Count : PriceHigh));
    }
    SCOPED_TRACE(testing::Message() << KindNames[Kind] << " panels " << Panels << " width " << Width << " height "
                                    << Height << " fixed " << Fixed << " start " << Start << " borders " << Borders
                                    << " line numbers " << LineNumbers << " selected " << Selected << " " << Top
                                    << "+" << Count);
    const TOut Out = Print(S.Object, Case, File, TOutput::TextFile);
    ASSERT_EQ(Out.Result, 1);
    Seen.insert({Kind, Panels, Out.PagesAcross});
    GridPages::TModel Model{Count, S.Named, {}, Height, Width, Borders, Top};
    // The leading list positions up to the fixed-column count repeat.
    const int Positions = Fixed >= 0 ? Fixed : Kind == kStringGrid ? 2 : 1;
    for (int C = 0; C < Positions - 1 && C < static_cast<int>(S.Columns.size()); ++C)
      for (int Letter : S.Named)
        if (SourceText(S, S.Columns[C].first, 0)[0] == 'A' + Letter) Model.Fixed.insert(Letter);
    GridPages::CheckPages(Out.Pages, Out.PagesAcross, Model);
    // The grid's narrow fixed column leaves room to repeat it on every page across.
    if (Kind == kStringGrid && Out.PagesAcross > 1 && !Empty) {
      std::map<int, int> Shown;  // how often row Top's cell of each named column prints
      for (const TPage& Page : Out.Pages)
        for (const std::string& Line : Page.Lines)
          for (const GridPages::TCellAt& Cell : GridPages::LineCells(Line)) Shown[Cell.Col] += Cell.Row == Top;
      for (int Letter : S.Named) {
        EXPECT_EQ(Shown[Letter], Model.Fixed.count(Letter) ? Out.PagesAcross : 1) << "column " << Letter;
      }
    }
    for (const TPage& Page : Out.Pages)
      for (const std::string& Line : Page.Lines)
        EXPECT_TRUE(std::none_of(Line.begin(), Line.end(), [](unsigned char C) { return C < ' '; })) << Line;
    // The totals stand on the totals line: the one line that changes when the quantity's total
    // turns from the smallest to the largest value or back, which the data cells also hold.
    std::set<std::pair<int, size_t>> TotalsLines;  // {vertical page, line}
    std::vector<TPage> Other;
    if (QtyKind != tkSum && !QtyCol.empty() && !Empty) {
      TCase Swapped = Case;
      Swapped.Totals[1].Kind = QtyKind == tkMin ? tkMax : tkMin;
      Other = Print(S.Object, Swapped, File, TOutput::TextFile).Pages;
      ASSERT_EQ(Other.size(), Out.Pages.size());
      for (size_t P = 0; P < Other.size(); ++P)
        for (size_t L = 0; L < Other[P].Lines.size(); ++L)
          if (L >= Out.Pages[P].Lines.size() || Other[P].Lines[L] != Out.Pages[P].Lines[L])
            TotalsLines.insert({Other[P].Vert, L});
    }
    auto ExpectTotal = [&](const std::vector<TPage>& Pages, const std::string& Total) {
      bool Found = false;
      for (const TPage& Page : Pages)
        for (size_t L = 0; L < Page.Lines.size(); ++L)
          Found = Found || ((TotalsLines.empty() || TotalsLines.count({Page.Vert, L})) && HasWord(Page.Lines[L], Total));
      EXPECT_TRUE(Found) << "no total " << Total;
    };
    for (const std::string& Total : Totals) ExpectTotal(Out.Pages, Total);
    if (!Other.empty()) ExpectTotal(Other, std::to_string(QtyKind == tkMin ? High : Low));
    if (LineNumbers)
      for (const TPage& Page : Out.Pages)
        for (const std::string& Line : Page.Lines)
          for (const GridPages::TCellAt& Cell : GridPages::LineCells(Line))
            if (Page.Across == 1) {
              EXPECT_TRUE(HasWord(Line, Thousands(Start + Cell.Row - Top))) << Line;
            }
    // The user's place, untouched by the print.
    if (!Empty) ExpectPlace(S, At, Selected ? Count : 0);

    // The export: the title line (but for a list without titles), the rows, the totals line.
    const TOut Exported = Print(S.Object, Case, Export, TOutput::AsciiExport);
    ASSERT_EQ(Exported.Result, 1);
    V Lines;
    std::stringstream In(Exported.Bytes);
    for (std::string Line; std::getline(In, Line);) Lines.push_back(Line.substr(0, Line.find('\r')));
    const int Titles = Kind == kListBox || Kind == kListViewBare ? 0 : 1;
    ASSERT_EQ(static_cast<int>(Lines.size()), Titles + Count + (Totals.empty() ? 0 : 1)) << Exported.Bytes;
    for (int I = 0; I < Count; ++I) {
      std::string Want = LineNumbers ? Thousands(Start + I) : "";
      bool First = !LineNumbers;
      for (const auto& [Name, Type] : S.Columns) {
        const std::string Q = Quoted(Type) ? "\"" : "";
        Want += (First ? "" : "\t") + Q + SourceText(S, Name, Top + I) + Q;
        First = false;
      }
      EXPECT_EQ(Lines[Titles + I], Want) << "exported row " << I;
    }
    if (S.Data && !Empty) {
      EXPECT_EQ(S.Data->RecNo(), At + 1);
    }
  }
  for (int Kind = 0; Kind < kKinds; ++Kind)
    for (int Panels = 1; Panels <= 3; ++Panels) {
      bool Any = false;
      for (int Across = 1; Across <= 3; ++Across) Any = Any || Seen.count({Kind, Panels, Across});
      EXPECT_TRUE(Any) << KindNames[Kind] << " " << Panels << " panels";
    }
}

// "Current Page" starts where the user stands (a dataset's current record, a list box's current
// line; a list view from its first item) and prints one page down, every page across of it
// with the same rows; the cursor stays where it was. Among them the rows end with the sheet in
// its second panel (a table of 23 records at record 6, page width 54, 17 lines): the last page
// across keeps that panel.
TEST(ReportKinds, CurrentPageStartsWhereTheUserStandsOnEveryKind) {
  TTempDir Dir;
  const std::string File = Dir / "current.txt";
  std::mt19937 Random(20260502);
  auto Pick = [&](int Count) { return static_cast<int>(Random() % Count); };
  for (int N = 0; N < 2 * kKinds * 3; ++N) {
    TForm Owner(nullptr);
    const auto Kind = static_cast<TKind>(N % kKinds);
    TSource S = MakeSource(Kind, Owner, Records);
    const int Panels = 1 + N / kKinds % 3, At = 3 + Pick(12);
    if (S.Data) S.Data->SetRecNo(At + 1);
    if (auto* List = dynamic_cast<TListBox*>(S.Object)) List->SetItemIndex(At);
    if (auto* View = dynamic_cast<TListView*>(S.Object)) View->SetItemFocused(View->Items()[At]);
    auto* Grid = dynamic_cast<TStringGrid*>(S.Object);
    if (Grid) Grid->SetRow(At + 1);
    const int Width = Panels * (std::vector<int>{70, 40, 26}[Pick(3)]) + (Panels - 1) * 2, Height = 14 + Pick(6);
    const bool Borders = Pick(2) == 1;
    TCase Case{"current", GoldenReports::TSource::Numbers, {}, {{PgNum, "\rPAGE ^P"}}, {}};
    Case.Settings = {"OutputQuality=1", "PauseAfterPrinting=0", "DisplayProgressWin=0", "MaxStringLines=1",
                     "MaxMemoLines=1", "MaxMemoColWidTxt=12", "PrintWhat=1", "LinesPerpage=" + std::to_string(Height),
                     "TxtCharsPageWid=" + std::to_string(Width), "NumFixedCols=" + std::to_string(Pick(3)),
                     "PanelsAcrossPage=" + std::to_string(Panels), "InterPanelGapTxt=2", "ShrinkToPage=0",
                     "ioBorders=" + std::to_string(Borders), "ioVerticalLines=" + std::to_string(Borders)};
    Case.Totals = {{S.Columns[0].first, 0, tkCount}};
    SCOPED_TRACE(testing::Message() << KindNames[Kind] << " panels " << Panels << " width " << Width << " height "
                                    << Height << " at " << At);
    const TOut Out = Print(S.Object, Case, File, TOutput::TextFile);
    ASSERT_EQ(Out.Result, 1);
    // One page down; its rows run on from the user's place.
    std::set<int> Verts, Rows;
    for (const TPage& Page : Out.Pages) {
      Verts.insert(Page.Vert);
      for (const std::string& Line : Page.Lines)
        for (const GridPages::TCellAt& Cell : GridPages::LineCells(Line)) Rows.insert(Cell.Row);
    }
    EXPECT_EQ(Verts.size(), 1u);
    ASSERT_FALSE(Rows.empty());
    // A string grid's from the first row on its screen.
    const int First = Kind == kListView || Kind == kListViewBare ? 0 : Grid ? Grid->TopRow() - 1 : At;
    EXPECT_EQ(*Rows.begin(), First);
    EXPECT_EQ(*Rows.rbegin() - First + 1, static_cast<int>(Rows.size())) << "rows skipped";
    GridPages::TModel Model{static_cast<int>(Rows.size()), S.Named, {}, Height, Width, Borders, First};
    // The repeated columns are the run's own choice here: any the pages repeat are leading ones.
    std::map<int, int> Seen;
    for (const TPage& Page : Out.Pages)
      for (const std::string& Line : Page.Lines)
        for (const GridPages::TCellAt& Cell : GridPages::LineCells(Line))
          if (Cell.Row == First) ++Seen[Cell.Col];
    for (const auto& [Letter, Times] : Seen)
      if (Times > 1) Model.Fixed.insert(Letter);
    GridPages::CheckPages(Out.Pages, Out.PagesAcross, Model);
    ExpectPlace(S, At, 0);
  }
}
