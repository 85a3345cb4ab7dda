// Whole reports over a generated table of report configurations (pages across, repeated and
// hidden leading columns, ranges, the current and test page, stopped runs, the report footer,
// totals at several break levels, group columns, cells holding carets, percent signs, quotes and
// bytes above 127), printed to a text file the way the setup window's Print command prints them.
// Each output is checked against a model computed from the grid alone, and every run that prints
// part of a report against the pages the full run has at the same places.
#include <algorithm>
#include <map>
#include <memory>
#include <random>
#include <set>

#include "engine/VLMXGbl/RunUI.h"
#include "framework/Grids.h"
#include "framework/rtl/SysUtils.h"
#include "tests/support/GoldenReports.h"
#include "tests/support/HeadlessFixture.h"
#include "tests/support/TempDir.h"

namespace {

using V = std::vector<std::string>;
using GoldenReports::TCase;
using GoldenReports::TReport;

constexpr char Bar = '\xB3';  // the IBM set's vertical line
constexpr int Rows = 41;
constexpr int PageHeight = 24;
const V Titles = {"GROUP ONE", "GROUP TWO", "NAME", "QTY", "E=MC^2", "NOTE", "WIDE"};

std::string Token(int R) {
  char S[8];
  std::snprintf(S, sizeof S, "r%03d", R);
  return S;
}

// Cell of source column C of data row R (from 0): the group columns repeat down the rows, the
// others carry what a memo would read as macros or format specifiers.
std::string CellText(int C, int R) {
  switch (C) {
    case 0: return "G^" + std::to_string(R / 7 + 1);
    case 1: return "H%" + std::to_string(R / 3 % 3 + 1);
    case 2: return Token(R) + " x^y ^D^P\xE9";
    case 3: return std::to_string(R * 7 % 23 + 1);
    case 4: return R % 6 == 5 ? "" : "E=mc^" + std::to_string(R % 5);
    case 5: return Token(R) + " 100% \"ok\"\xFF";
    default: return std::string(60, 'w') + " " + Token(R);
  }
}

// The number a cell's text stands for in the totals: its digits, minus signs and decimal point.
long double CellValue(const std::string& Text) {
  std::string Kept;
  for (char Ch : Text)
    if ((Ch >= '0' && Ch <= '9') || Ch == '-' || Ch == '.') Kept += Ch;
  return Kept.empty() ? 0.0L : std::stold(Kept);
}

std::string Trim(const std::string& S) {
  const size_t B = S.find_first_not_of(' '), E = S.find_last_not_of(' ');
  return B == std::string::npos ? "" : S.substr(B, E - B + 1);
}

struct TConfig {
  int Width, Fixed, Groups, Hidden, Totals;
  bool Footer, Wide;
};

enum class TMode { All, Range, CurrentPage, TestPage, Abort };
struct TRun {
  TMode Mode;
  int From = 0, To = 0;  // vertical pages of a range; pages before the abort
};

const V HiddenSets = {"", "~Line#", "Col#0", "~Line#,Col#0"};

// Totals by kind and level: each set has level-0 totals of several kinds; break levels too.
std::vector<GoldenReports::TTotal> TotalsSet(int Set) {
  switch (Set) {
    case 0: return {{"Col#3", 0, tkSum}, {"Col#2", 0, tkCount}};
    case 1: return {{"Col#4", 0, tkSum}, {"Col#4", 1, tkSum}, {"Col#3", 0, tkMax}, {"Col#3", 2, tkMin},
                    {"Col#0", 1, tkCount}};
    default: return {{"Col#3", 0, tkAverage}, {"Col#0", 0, tkSum}, {"Col#1", 0, tkMin}, {"Col#1", 2, tkSum}};
  }
}

TCase CaseOf(const TConfig& C, const TRun& Run) {
  TCase Case;
  Case.Name = "property";
  Case.Source = GoldenReports::TSource::Numbers;
  Case.Settings = {"OutputQuality=1", "PauseAfterPrinting=0", "DisplayProgressWin=0", "MaxStringLines=1",
                   "MaxStringColWidTxt=999", "LinesPerpage=" + std::to_string(PageHeight),
                   "TxtCharsPageWid=" + std::to_string(C.Width), "NumFixedCols=" + std::to_string(C.Fixed),
                   "NumGrpBrkCols=" + std::to_string(C.Groups), "HideColumns=" + HiddenSets[C.Hidden]};
  switch (Run.Mode) {
    case TMode::Range:
      Case.Settings.push_back("PrintWhat=6");
      Case.Settings.push_back("PageRangeFrom=0," + std::to_string(Run.From));
      Case.Settings.push_back("PageRangeTo=0," + std::to_string(Run.To));
      break;
    case TMode::CurrentPage: Case.Settings.push_back("PrintWhat=1"); break;
    case TMode::TestPage: Case.Settings.push_back("PrintWhat=4"); break;
    default: break;
  }
  Case.Memos = {{PgTi, "TITLE ^P"}, {PgNum, "\rPAGE ^P"}};
  if (C.Footer) Case.Memos.push_back({RptFtr, "END OF REPORT"});
  Case.Totals = TotalsSet(C.Totals);
  return Case;
}

// The progress window's Abort, pressed after the report's K-th page.
class TAbortAfter : public TvlxRunUI {
public:
  TAbortAfter(TvlxPrintSettings& Run, int K) : FRun(Run), FLeft(K) { SetRunUI(this); }
  ~TAbortAfter() override { SetRunUI(nullptr); }
  void CheckSuspend() override {
    if (--FLeft == 0) FRun.RunState = rsTerminatedWithError;
  }

private:
  TvlxPrintSettings& FRun;
  int FLeft;
};

struct TPage {
  int Vert = 0, Across = 0;
  V Lines;
};

struct TOutput {
  int Result = 0;
  int PagesAcross = 0;
  int PagesWritten = 0;
  std::vector<TPage> Pages;
};

// The page id the page-number memo printed: "PAGE v" or "PAGE v-a".
void ReadPageId(TPage& Page) {
  for (const std::string& Line : Page.Lines) {
    const size_t At = Line.find("PAGE ");
    if (At == std::string::npos || Line.find("TITLE") != std::string::npos) continue;
    const std::string Id = Trim(Line.substr(At + 5));
    const size_t Dash = Id.find('-');
    Page.Vert = std::stoi(Id.substr(0, Dash));
    Page.Across = Dash == std::string::npos ? 1 : std::stoi(Id.substr(Dash + 1));
  }
}

TOutput PrintReport(TStringGrid* Grid, const TConfig& C, const TRun& Run, const std::string& File) {
  Headless::Reset();
  Headless::SetNow(EncodeDate(2026, 3, 14) + EncodeTime(9, 26, 53, 0));
  const TCase Case = CaseOf(C, Run);
  TOutput Out;
  {
    TReport Report(Case, Grid);
    std::unique_ptr<TAbortAfter> Abort;
    if (Run.Mode == TMode::Abort) Abort = std::make_unique<TAbortAfter>(Report.Run, Run.To);
    Out.Result = Report.Print(File);
    Out.PagesAcross = Report.Run.PagesAcross;
    Out.PagesWritten = Report.Run.PagesWritten;
    // A print changes nothing stored: every total asked for is still there, at its level.
    for (const GoldenReports::TTotal& T : Case.Totals) {
      const TColsListData* Col = Report.Info.ColsList->Items(Report.Info.ColsList->IndexOfName(T.Column));
      const TColTotListData* Entry = Col && Col->TotList ? Col->TotList->Items(T.Level) : nullptr;
      EXPECT_TRUE(Entry && Entry->Kind == T.Kind) << T.Column << " level " << T.Level << " lost by the print";
    }
  }
  const std::string Bytes = FileBytes(File);
  std::vector<std::string> Sheets{""};
  for (char Ch : Bytes) {
    if (Ch == '\f') Sheets.emplace_back();
    else Sheets.back() += Ch;
  }
  Sheets.pop_back();  // after the closing form feed
  for (const std::string& Sheet : Sheets) {
    TPage Page;
    std::string Line;
    for (char Ch : Sheet) {
      if (Ch == '\n') Page.Lines.push_back(Line), Line.clear();
      else if (Ch != '\r') Line += Ch;
    }
    ReadPageId(Page);
    Out.Pages.push_back(Page);
  }
  return Out;
}

bool IsRuleLine(const std::string& Line) {
  const std::string T = Trim(Line);
  return !T.empty() && std::all_of(T.begin(), T.end(), [](char Ch) {
    const auto U = static_cast<unsigned char>(Ch);
    return U == 0xC4 || (U >= 0xB3 && U <= 0xDA && U != Bar);
  });
}

bool IsFieldLine(const std::string& Line) {
  const std::string T = Trim(Line);
  return T.size() >= 2 && T.front() == Bar && T.back() == Bar;
}

V Fields(const std::string& Line) {
  const std::string T = Trim(Line);
  V Result;
  size_t From = 1;
  for (size_t At; (At = T.find(Bar, From)) != std::string::npos; From = At + 1)
    Result.push_back(Trim(T.substr(From, At - From)));
  return Result;
}

// One page read back: its column titles and its body lines (data and totals) by field.
struct TPageFields {
  V Columns;
  std::vector<V> Body;
};

TPageFields ReadFields(const TPage& Page) {
  TPageFields P;
  for (const std::string& Line : Page.Lines) {
    if (!IsFieldLine(Line)) continue;
    const V F = Fields(Line);
    const bool TitleLine = P.Columns.empty() && std::any_of(F.begin(), F.end(), [](const std::string& T) {
      return T == "#" || std::find(Titles.begin(), Titles.end(), T) != Titles.end();
    });
    if (TitleLine) P.Columns = F;
    else P.Body.push_back(F);
  }
  EXPECT_TRUE(P.Body.empty() || !P.Columns.empty()) << "rows without column titles on " << Page.Vert;
  return P;
}

// The model of one report: the grid's rows, the columns it prints and their totals.
class TModel {
public:
  TModel(const TConfig& C) : FC(C) {
    FNames = {"#"};
    for (int Col = 0; Col < (C.Wide ? 7 : 6); ++Col) FNames.push_back(Titles[Col]);
    V Hidden;
    for (const std::string& H : {std::string("~Line#"), std::string("Col#0")})
      if (HiddenSets[C.Hidden].find(H) != std::string::npos) Hidden.push_back(H == "~Line#" ? "#" : Titles[0]);
    for (int I = 0; I < static_cast<int>(FNames.size()); ++I) {
      const bool Shown = std::find(Hidden.begin(), Hidden.end(), FNames[I]) == Hidden.end();
      if (Shown) FPrinted.push_back(FNames[I]);
      if (Shown && I < C.Fixed) FFixed.push_back(FNames[I]);
    }
    for (const GoldenReports::TTotal& T : TotalsSet(C.Totals))
      if (T.Level == 0) FKinds[Titles[std::stoi(T.Column.substr(4))]] = T.Kind;
  }

  const V& Printed() const { return FPrinted; }
  const V& Fixed() const { return FFixed; }

  // The text of column Name on data row R printed as the page's First data row.
  std::string Expected(const std::string& Name, int R, bool First) const {
    if (Name == "#") return std::to_string(R + 1);
    const int Col = static_cast<int>(std::find(Titles.begin(), Titles.end(), Name) - Titles.begin());
    const std::string Text = CellText(Col, R);
    if (Col >= FC.Groups || R == 0) return Text;
    bool Same = CellText(Col, R - 1) == Text;
    // A new value of a printed outer group starts the inner one afresh.
    if (Col == 1 && (FC.Hidden & 2) == 0 && CellText(0, R - 1) != CellText(0, R)) Same = false;
    if (!Same) return Text;
    return First ? "*" + Text : "";
  }

  // The total of column Name over rows 0..Last; empty for a column without a report total.
  std::string Total(const std::string& Name, int Last) const {
    const auto Kind = FKinds.find(Name);
    if (Kind == FKinds.end()) return "";
    const int Col = static_cast<int>(std::find(Titles.begin(), Titles.end(), Name) - Titles.begin());
    long double Sum = 0, Min = 1e300L, Max = -1e300L;
    int Count = 0;
    for (int R = 0; R <= Last; ++R) {
      const std::string Text = CellText(Col, R);
      if (Text.empty()) continue;
      const long double V = CellValue(Text);
      Sum += V;
      Min = std::min(Min, V);
      Max = std::max(Max, V);
      ++Count;
    }
    long double Value = Sum;
    if (Kind->second == tkCount) Value = Count;
    if (Kind->second == tkMin) Value = Min;
    if (Kind->second == tkMax) Value = Max;
    if (Kind->second == tkAverage) Value = Count ? Sum / Count : 0;
    return FloatToStrF(Value, ffGeneral, 15, 0);
  }

private:
  TConfig FC;
  V FNames, FPrinted, FFixed;
  std::map<std::string, TotalKind> FKinds;
};

std::string Describe(const TConfig& C) {
  return "width " + std::to_string(C.Width) + " fixed " + std::to_string(C.Fixed) + " groups " +
         std::to_string(C.Groups) + " hidden '" + HiddenSets[C.Hidden] + "' totals " + std::to_string(C.Totals) +
         (C.Footer ? " footer" : "") + (C.Wide ? " wide" : "");
}

// The rows of each vertical page of Out, checking every page of Out against the model on the
// way: the lines fit the page, the same rows on every page across, the fixed columns on each,
// every cell verbatim and every total that of the rows printed up to it.
using TRowsOf = std::map<int, std::vector<int>>;

// LastThrough: the last row printed up to each vertical page, by the full run; none while the
// full run itself is checked, whose totals come after all its rows.
TRowsOf CheckPages(const TOutput& Out, const TModel& Model, int Width, const std::map<int, int>* LastThrough,
                   int* TotalsPages = nullptr) {
  TRowsOf RowsOf;
  std::map<int, std::vector<TPageFields>> Across;
  for (const TPage& Page : Out.Pages) {
    EXPECT_LE(static_cast<int>(Page.Lines.size()), PageHeight) << "page " << Page.Vert << "-" << Page.Across;
    for (const std::string& Line : Page.Lines) {
      EXPECT_LE(static_cast<int>(Line.size()), Width) << "line wider than the page: " << Line;
      if (IsRuleLine(Line)) {
        const std::string T = Trim(Line);
        EXPECT_TRUE(std::string("\xDA\xC3\xC0").find(T.front()) != std::string::npos &&
                    std::string("\xBF\xB4\xD9").find(T.back()) != std::string::npos)
            << "rule with a wrong corner: " << Line;
      }
    }
    Across[Page.Vert].push_back(ReadFields(Page));
  }
  std::set<std::string> Seen;
  for (auto& [Vert, Pages] : Across) {
    // The data rows of the vertical page: a body line is a row when some page across shows its
    // name or line number, else a totals line.
    size_t Lines = Pages.front().Body.size();
    std::vector<int> RowAt(Lines, -1);
    for (const TPageFields& P : Pages) {
      EXPECT_EQ(P.Body.size(), Lines) << "page " << Vert << ": pages across with other rows";
      for (size_t L = 0; L < std::min(Lines, P.Body.size()); ++L)
        for (size_t F = 0; F < P.Columns.size() && F < P.Body[L].size(); ++F) {
          const std::string& Text = P.Body[L][F];
          int R = -1;
          if (P.Columns[F] == "#" && !Text.empty() && std::isdigit(static_cast<unsigned char>(Text[0])))
            R = std::stoi(Text) - 1;
          if ((P.Columns[F] == "NAME" || P.Columns[F] == "NOTE") && Text.size() >= 4 && Text[0] == 'r')
            R = std::stoi(Text.substr(1, 3));
          if (R < 0) continue;
          EXPECT_TRUE(RowAt[L] < 0 || RowAt[L] == R) << "page " << Vert << " line " << L;
          RowAt[L] = R;
        }
    }
    const int LastRow = LastThrough ? LastThrough->at(Vert) : Rows - 1;
    const auto TotalsLines = std::count(RowAt.begin(), RowAt.end(), -1);
    EXPECT_LE(TotalsLines, 1) << "page " << Vert << ": more than one totals line";
    if (TotalsPages && TotalsLines > 0) ++*TotalsPages;
    for (const TPageFields& P : Pages) {
      for (const std::string& Name : Model.Fixed())
        EXPECT_TRUE(std::find(P.Columns.begin(), P.Columns.end(), Name) != P.Columns.end())
            << "page " << Vert << ": fixed column " << Name << " missing";
      Seen.insert(P.Columns.begin(), P.Columns.end());
      bool First = true;
      for (size_t L = 0; L < P.Body.size() && L < Lines; ++L) {
        for (size_t F = 0; F < P.Columns.size() && F < P.Body[L].size(); ++F) {
          const std::string& Name = P.Columns[F];
          if (Name == "WIDE" && RowAt[L] >= 0) {  // cut to the page
            EXPECT_EQ(CellText(6, RowAt[L]).rfind(P.Body[L][F], 0), 0u) << P.Body[L][F];
          } else if (RowAt[L] >= 0) {
            EXPECT_EQ(P.Body[L][F], Model.Expected(Name, RowAt[L], First)) << "page " << Vert << " row " << RowAt[L];
          } else {
            EXPECT_EQ(P.Body[L][F], Model.Total(Name, LastRow)) << "page " << Vert << " total of " << Name;
          }
        }
        if (RowAt[L] >= 0) First = false;
      }
    }
    for (int R : RowAt)
      if (R >= 0) RowsOf[Vert].push_back(R);
  }
  for (const std::string& Name : Model.Printed())
    EXPECT_TRUE(Seen.count(Name) || LastThrough) << "column " << Name << " never printed";
  return RowsOf;
}

// The pages of the full run that Run asks for.
std::vector<const TPage*> AskedPages(const TOutput& Full, const TRun& Run) {
  std::vector<const TPage*> Asked;
  for (const TPage& Page : Full.Pages) {
    const bool In = Run.Mode == TMode::Range       ? Page.Vert >= Run.From && Page.Vert <= Run.To
                    : Run.Mode == TMode::CurrentPage ? Page.Vert == 1
                    : Run.Mode == TMode::TestPage    ? Page.Vert == 1 && Page.Across == 1
                                                     : static_cast<int>(Asked.size()) < Run.To;
    if (In) Asked.push_back(&Page);
  }
  return Asked;
}

// The last line of a data row on Page; -1 without one.
int LastRowLine(const TPage& Page) {
  int Last = -1;
  for (int L = 0; L < static_cast<int>(Page.Lines.size()); ++L) {
    const V F = IsFieldLine(Page.Lines[L]) ? Fields(Page.Lines[L]) : V();
    for (const std::string& Text : F)
      if (Text.size() >= 4 && Text[0] == 'r' && std::isdigit(static_cast<unsigned char>(Text[1]))) Last = L;
  }
  return Last;
}

// Run prints exactly the pages of the full run it asks for; a range that ends before the
// report's end closes its last page with the totals so far, the rest of that page as the full
// run has it.
void CheckPart(const TOutput& Part, const TOutput& Full, const TRun& Run) {
  const std::vector<const TPage*> Asked = AskedPages(Full, Run);
  ASSERT_EQ(Part.Pages.size(), Asked.size());
  EXPECT_EQ(Part.PagesWritten, static_cast<int>(Asked.size()));
  const int FullLast = Full.Pages.back().Vert;
  for (size_t I = 0; I < Asked.size(); ++I) {
    const TPage& Got = Part.Pages[I];
    const TPage& Want = *Asked[I];
    EXPECT_EQ(std::pair(Got.Vert, Got.Across), std::pair(Want.Vert, Want.Across));
    if (Run.Mode == TMode::Range && Want.Vert == Run.To && Run.To < FullLast) {
      const int Last = LastRowLine(Want);
      ASSERT_LE(Last + 1, static_cast<int>(Got.Lines.size()));
      EXPECT_EQ(V(Got.Lines.begin(), Got.Lines.begin() + Last + 1), V(Want.Lines.begin(), Want.Lines.begin() + Last + 1))
          << "page " << Want.Vert << "-" << Want.Across;
      ASSERT_GE(Got.Lines.size(), 2u);
      EXPECT_EQ(V(Got.Lines.end() - 2, Got.Lines.end()), V(Want.Lines.end() - 2, Want.Lines.end()));
    } else {
      EXPECT_EQ(Got.Lines, Want.Lines) << "page " << Want.Vert << "-" << Want.Across;
    }
  }
}

}  // namespace

TEST(ReportProperty, EveryRunPrintsWhatItWasAskedAndAsTheGridHoldsIt) {
  TTempDir Dir;
  const std::string File = Dir / "report.txt";
  TForm Owner(nullptr);
  auto MakeGrid = [&](bool Wide) {
    auto* Grid = new TStringGrid(&Owner);
    Grid->SetFixedCols(0);
    Grid->SetColCount(Wide ? 7 : 6);
    Grid->SetRowCount(Rows + 1);
    for (int C = 0; C < Grid->ColCount(); ++C) {
      Grid->SetCells(C, 0, Titles[C]);
      for (int R = 0; R < Rows; ++R) Grid->SetCells(C, R + 1, CellText(C, R));
    }
    return Grid;
  };
  TStringGrid* Grids[2] = {MakeGrid(false), MakeGrid(true)};

  // A sample of the product, drawn with a fixed seed (the whole product takes too long for the
  // suite): every page width, fixed-column count and hidden set with every other, the rest
  // drawn; each configuration printed whole and in every partial run.
  std::mt19937 Random(20261207);
  const int Widths[] = {150, 76, 52};
  std::set<int> PagesAcrossSeen;
  for (int N = 0; N < 36; ++N) {
    auto Pick = [&](int Count) { return static_cast<int>(Random() % Count); };
    const TConfig C{Widths[N % 3], N / 3 % 3, Pick(3), N % 4, Pick(3), Pick(2) == 1, N % 5 == 4};
    SCOPED_TRACE(Describe(C));
    const TModel Model(C);
    const TOutput Full = PrintReport(Grids[C.Wide], C, {TMode::All}, File);
    ASSERT_EQ(Full.Result, 1);
    PagesAcrossSeen.insert(Full.PagesAcross);
    int TotalsPages = 0;
    const TRowsOf RowsOf = CheckPages(Full, Model, C.Width, nullptr, &TotalsPages);
    EXPECT_EQ(TotalsPages, 1) << "the totals once, on every page across of one page";
    std::set<int> FooterPages;  // the report footer comes once, on the pages across of one page
    for (const TPage& Page : Full.Pages)
      for (const std::string& Line : Page.Lines)
        if (Line.find("END OF REPORT") != std::string::npos) FooterPages.insert(Page.Vert);
    EXPECT_EQ(FooterPages.size(), C.Footer ? 1u : 0u);
    std::vector<int> All;
    std::map<int, int> LastThrough;
    for (const TPage& Page : Full.Pages) {
      const auto It = RowsOf.find(Page.Vert);
      if (It != RowsOf.end()) All.insert(All.end(), It->second.begin(), It->second.end());
      LastThrough[Page.Vert] = All.empty() ? -1 : All.back();
      if (It != RowsOf.end() && Page.Across < Full.PagesAcross) All.resize(All.size() - It->second.size());
    }
    std::vector<int> Expected(Rows);
    for (int R = 0; R < Rows; ++R) Expected[R] = R;
    EXPECT_EQ(All, Expected) << "every row once, in order";

    const int Across = Full.PagesAcross;
    for (const TRun& Run : {TRun{TMode::Range, 1, 2}, TRun{TMode::Range, 2, 3}, TRun{TMode::Range, 3, 99},
                            TRun{TMode::CurrentPage}, TRun{TMode::TestPage}, TRun{TMode::Abort, 0, 1},
                            TRun{TMode::Abort, 0, Across + 1}}) {
      SCOPED_TRACE(testing::Message() << "mode " << static_cast<int>(Run.Mode) << " " << Run.From << ".." << Run.To);
      const TOutput Part = PrintReport(Grids[C.Wide], C, Run, File);
      EXPECT_EQ(Part.Result, Run.Mode == TMode::Abort ? 3 : 1);
      CheckPart(Part, Full, Run);
      CheckPages(Part, Model, C.Width, &LastThrough);
    }
  }
  EXPECT_EQ(PagesAcrossSeen, (std::set<int>{1, 2, 3}));
}
