// Text pages of a report read back against the grid they came from, for a grid whose every
// cell names its own column and row ("C017..."), so that a page reads whatever its borders,
// lines, panels and pages across: each row once on each page across, on the same line and in
// the same panel as on the first, in order, every cell whole and inside its column, the fixed
// columns repeated on every page across where they leave the page room, no more rows on a page
// than its lines hold and none without a row while rows remain, and no line longer or page
// taller than the sheet.
#pragma once
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

namespace GridPages {

using V = std::vector<std::string>;

constexpr char Bar = '\xB3';  // the IBM set's vertical line

struct TPage {
  int Vert = 0, Across = 0;  // from the page id the page printed: "v" or "v-a"
  V Lines;
};

// The pages of the bytes of a text file or of the spooler: form feeds between the pages and
// one closing them, CR LF after each line.
inline std::vector<TPage> SplitPages(const std::string& Bytes) {
  std::vector<std::string> Sheets{""};
  for (char Ch : Bytes) {
    if (Ch == '\f') Sheets.emplace_back();
    else Sheets.back() += Ch;
  }
  Sheets.pop_back();
  std::vector<TPage> Pages;
  for (const std::string& Sheet : Sheets) {
    TPage& Page = Pages.emplace_back();
    std::string Line;
    for (char Ch : Sheet) {
      if (Ch == '\n') Page.Lines.push_back(Line), Line.clear();
      else if (Ch != '\r') Line += Ch;
    }
  }
  return Pages;
}

// Page's place from its id: the vertical page alone, or the vertical page, "-" and the page
// across.
inline void SetPageId(TPage& Page, const std::string& Id) {
  Page.Vert = std::stoi(Id);
  Page.Across = Id.find('-') == std::string::npos ? 1 : std::stoi(Id.substr(Id.find('-') + 1));
}

// A page line's text without the blanks around it.
inline std::string Trim(const std::string& S) {
  const size_t B = S.find_first_not_of(' '), E = S.find_last_not_of(' ');
  return B == std::string::npos ? "" : S.substr(B, E - B + 1);
}

inline std::string Token(int R) { return (R < 10 ? "00" : R < 100 ? "0" : "") + std::to_string(R); }

// The text of source column C (from 0, lettered from A) on data row R (from 0): its name and
// dots of a width of the column's own.
inline std::string NamedCell(int C, int R) {
  static const int Pads[] = {2, 5, 1, 8, 3, 6, 4, 7};
  return std::string(1, static_cast<char>('A' + C)) + Token(R) + std::string(Pads[C % 8], '.');
}

// The cells of a line, left to right: {column, row, position}. Columns without margins or
// lines between them touch, so a name may follow any character but a capital.
struct TCellAt {
  int Col, Row;
  size_t X;
};
inline std::vector<TCellAt> LineCells(const std::string& Line) {
  std::vector<TCellAt> Cells;
  for (size_t X = 0; X + 4 <= Line.size(); ++X)
    if (Line[X] >= 'A' && Line[X] <= 'Z' && std::isdigit(static_cast<unsigned char>(Line[X + 1])) &&
        std::isdigit(static_cast<unsigned char>(Line[X + 2])) && std::isdigit(static_cast<unsigned char>(Line[X + 3])) &&
        (X == 0 || !std::isupper(static_cast<unsigned char>(Line[X - 1]))))
      Cells.push_back({Line[X] - 'A', std::stoi(Line.substr(X + 1, 3)), X});
  return Cells;
}

// The rows of a line, left to right, a row's cells counted once: one a panel.
inline std::vector<int> LineRows(const std::string& Line) {
  std::vector<int> Rows;
  for (const TCellAt& Cell : LineCells(Line))
    if (Rows.empty() || Rows.back() != Cell.Row) Rows.push_back(Cell.Row);
  return Rows;
}

inline bool IsBoxChar(char Ch) {
  return std::string("\xB3\xC3\xB4\xC5\xDA\xBF\xC0\xD9\xC2\xC1").find(Ch) != std::string::npos;
}

// Every vertical line of a bordered page opens with a top corner or joint and closes with a
// bottom one: no box runs off the page or stays open under its last row.
inline void ExpectBoxesClosed(const TPage& Page) {
  size_t Width = 0;
  for (const std::string& Line : Page.Lines) Width = std::max(Width, Line.size());
  for (size_t X = 0; X < Width; ++X) {
    char Prev = ' ';
    for (size_t L = 0; L <= Page.Lines.size(); ++L) {
      const char Ch = L < Page.Lines.size() && X < Page.Lines[L].size() ? Page.Lines[L][X] : ' ';
      if (IsBoxChar(Ch) && !IsBoxChar(Prev)) {
        EXPECT_NE(std::string("\xDA\xC2\xBF").find(Ch), std::string::npos)
            << "box opened without its top, page " << Page.Vert << "-" << Page.Across << " line " << L << " at " << X;
      }
      if (!IsBoxChar(Ch) && IsBoxChar(Prev)) {
        EXPECT_NE(std::string("\xC0\xC1\xD9").find(Prev), std::string::npos)
            << "box left open, page " << Page.Vert << "-" << Page.Across << " line " << L << " at " << X;
      }
      Prev = Ch;
    }
  }
}

// Whether Got is the page Want of the full run but for the totals rows that a run ending there
// adds: a character may differ only where Want has a blank or its closing rule.
inline bool SameButTotals(const V& Got, const V& Want) {
  if (Got.size() != Want.size()) return false;
  const std::string Free = " \xC0\xC1\xD9\xC4";
  for (size_t L = 0; L < Got.size(); ++L)
    for (size_t X = 0; X < std::max(Got[L].size(), Want[L].size()); ++X) {
      const char G = X < Got[L].size() ? Got[L][X] : ' ', W = X < Want[L].size() ? Want[L][X] : ' ';
      if (G != W && Free.find(W) == std::string::npos) return false;
    }
  return true;
}

// What the pages must show, from the grid and the settings alone.
struct TModel {
  int Rows = 0;            // data rows, each printed: FirstRow and the Rows - 1 after it
  std::set<int> Printed;   // source columns printed
  std::set<int> Fixed;     // the printed ones among the leading fixed columns
  int Height = 0, Width = 0;
  bool Borders = false;
  int FirstRow = 0;
  bool MustRepeat = false;        // the fixed columns leave the page room for another: they repeat
  int MaxRowsPerPage = 1 << 30;   // a row takes at least its line and both cell margins
  std::set<int> Blank = {};       // rows without a cell to read them by
  std::function<std::string(int, int)> Text = NamedCell;  // the cell of column C on row R
  std::string Trunc = "";         // what may end a cell cut short
  bool Legible = true;            // every column wide enough for a row's name
};

// A cell's text is its own first line, or cut where its column ends (perhaps marked with the
// truncation symbol): nothing of another column's text runs into it.
inline void ExpectCellWhole(const std::string& Line, const TCellAt& Cell, const TPage& Page, const TModel& M) {
  std::string Want = M.Text(Cell.Col, Cell.Row);
  Want = Want.substr(0, std::find_if(Want.begin(), Want.end(), [](char Ch) {
                          return static_cast<unsigned char>(Ch) < 32;
                        }) - Want.begin());
  size_t N = 0;
  while (N < Want.size() && Cell.X + N < Line.size() && Line[Cell.X + N] == Want[N]) ++N;
  if (!M.Trunc.empty() && Line.compare(Cell.X + N, M.Trunc.size(), M.Trunc) == 0) N += M.Trunc.size();
  const char After = Cell.X + N < Line.size() ? Line[Cell.X + N] : ' ';
  // Columns without margins or lines between them touch: the next one's name may follow.
  const bool NextCell = !LineCells(Line.substr(Cell.X + N, 4)).empty();
  EXPECT_TRUE(N >= Want.size() || After == ' ' || IsBoxChar(After) || NextCell)
      << "cell " << Want << " overwritten on page " << Page.Vert << "-" << Page.Across << ": " << Line;
}

// Every check of a whole run's pages against the model; PagesAcross: the run's count.
inline void CheckPages(const std::vector<TPage>& Pages, int PagesAcross, const TModel& M) {
  ASSERT_FALSE(Pages.empty());
  std::map<int, std::vector<const TPage*>> ByVert;
  for (const TPage& Page : Pages) {
    ByVert[Page.Vert].push_back(&Page);
    EXPECT_LE(static_cast<int>(Page.Lines.size()), M.Height);
    for (const std::string& Line : Page.Lines) {
      EXPECT_LE(static_cast<int>(Line.size()), M.Width) << Line;
      EXPECT_TRUE(std::none_of(Line.begin(), Line.end(), [](char Ch) { return Ch >= 0 && Ch < 32; }))
          << "a control character on page " << Page.Vert << "-" << Page.Across << ": " << Line;
    }
    if (M.Borders) ExpectBoxesClosed(Page);
    // The vertical lines of a page stand where its first ruled line has them: none is left of
    // another page across's columns.
    std::set<size_t> Edges;
    bool Ruled = false;
    for (const std::string& Line : Page.Lines) {
      std::set<size_t> Here;
      for (size_t X = 0; X < Line.size(); ++X)
        if (IsBoxChar(Line[X])) Here.insert(X);
      if (!Ruled && !Here.empty()) Edges = Here, Ruled = true;
      for (size_t X : Here)
        EXPECT_TRUE(Edges.count(X)) << "a vertical line at " << X << " beside the columns of page " << Page.Vert << "-"
                                    << Page.Across << ": " << Line;
      for (const TCellAt& Cell : LineCells(Line)) ExpectCellWhole(Line, Cell, Page, M);
    }
  }
  // Rows, blank or not, each fill a page before the next; the totals and the footer may follow.
  EXPECT_LE(ByVert.rbegin()->first, M.Rows + 2) << "more pages than rows and totals";
  if (!M.Legible) return;
  std::map<std::pair<int, int>, int> CellCount;  // {column, row}
  std::map<int, std::vector<int>> Order;         // the rows in reading order, by page across
  for (const auto& [Vert, Across] : ByVert) {
    // A page of the report footer alone is one sheet.
    const bool Cells = std::any_of(Across.begin(), Across.end(), [](const TPage* Page) {
      return std::any_of(Page->Lines.begin(), Page->Lines.end(), [](const std::string& Line) { return !LineCells(Line).empty(); });
    });
    if (!Cells && Across.size() == 1) continue;
    ASSERT_EQ(static_cast<int>(Across.size()), PagesAcross) << "page " << Vert;
    for (size_t A = 0; A < Across.size(); ++A) {
      EXPECT_EQ(Across[A]->Across, static_cast<int>(A) + 1);
      ASSERT_EQ(Across[A]->Lines.size(), Across[0]->Lines.size()) << "page " << Vert << "-" << A + 1;
      // A panel's rows share the place of their leftmost column: read panel by panel, down each.
      std::vector<std::tuple<size_t, size_t, int>> Read;  // {position, line, row}
      for (size_t L = 0; L < Across[A]->Lines.size(); ++L) {
        std::map<int, TCellAt> First;  // of each row on the line
        for (const TCellAt& Cell : LineCells(Across[A]->Lines[L])) {
          ++CellCount[{Cell.Col, Cell.Row}];
          if (!First.count(Cell.Row) || Cell.Col < First.at(Cell.Row).Col) First.insert_or_assign(Cell.Row, Cell);
        }
        for (const auto& [Row, Cell] : First) Read.emplace_back(Cell.X, L, Row);
      }
      std::sort(Read.begin(), Read.end());
      for (const auto& Entry : Read) Order[static_cast<int>(A) + 1].push_back(std::get<2>(Entry));
    }
    // A page across that shows only the line numbers names no row.
    for (size_t Line = 0; Line < Across[0]->Lines.size(); ++Line) {
      std::vector<int> Rows;
      for (size_t A = 0; A < Across.size(); ++A) {
        const std::vector<int> Here = LineRows(Across[A]->Lines[Line]);
        if (Rows.empty()) Rows = Here;
        EXPECT_TRUE(Here.empty() || Here == Rows)
            << "page " << Vert << "-" << A + 1 << " line " << Line << ": other rows than on the page across before";
      }
    }
  }
  std::vector<int> InOrder;
  for (int R = M.FirstRow; R < M.FirstRow + M.Rows; ++R)
    if (!M.Blank.count(R)) InOrder.push_back(R);
  // A page holds what its lines hold, and no page goes without a row while rows remain.
  std::map<int, std::set<int>> RowsOn;
  for (const TPage& Page : Pages)
    for (const std::string& Line : Page.Lines)
      for (int Row : LineRows(Line)) RowsOn[Page.Vert].insert(Row);
  const int LastVert = ByVert.rbegin()->first;
  for (int Vert = 1; Vert <= LastVert; ++Vert) {
    const std::set<int>& On = RowsOn[Vert];
    EXPECT_LE(static_cast<int>(On.size()), M.MaxRowsPerPage) << "page " << Vert;
    const bool Remain = !InOrder.empty() && std::any_of(RowsOn.begin(), RowsOn.end(), [&](const auto& Later) {
      return Later.first > Vert && !Later.second.empty();
    });
    EXPECT_TRUE(!On.empty() || !Remain) << "page " << Vert << " without a row while rows remain";
  }
  for (const auto& [A, Rows] : Order)
    EXPECT_TRUE(Rows.empty() || Rows == InOrder) << "page across " << A << ": the rows not once each, in order";
  // Each row once on each page across, its every cell once, a repeated column's on each.
  std::map<int, int> Repeats;
  for (int Col : M.Printed)
    for (int Row : InOrder) {
      const int N = CellCount[{Col, Row}];
      if (!Repeats.count(Col)) Repeats[Col] = N;
      EXPECT_EQ(N, Repeats[Col]) << "cell " << NamedCell(Col, Row) << " printed " << N << " times";
    }
  std::set<int> Repeated;
  for (const auto& [Col, N] : Repeats) {
    EXPECT_TRUE(N == 1 || (N == PagesAcross && M.Fixed.count(Col))) << "column " << Col << " printed " << N << " times";
    if (N > 1) Repeated.insert(Col);
  }
  EXPECT_TRUE(Repeated.empty() || Repeated == M.Fixed) << "only some of the fixed columns repeated";
  if (M.MustRepeat && PagesAcross > 1 && !InOrder.empty()) {
    EXPECT_EQ(Repeated, M.Fixed) << "the fixed columns not repeated on the pages across";
  }
  for (const auto& [Cell, N] : CellCount) EXPECT_TRUE(M.Printed.count(Cell.first)) << "a hidden column printed";
}

}  // namespace GridPages
