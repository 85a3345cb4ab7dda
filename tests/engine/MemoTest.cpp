#include "engine/VLMXGbl/Memo.h"

#include <memory>
#include <string>
#include <vector>

#include "engine/VLMXGbl/ObjInfo.h"
#include "engine/VLMXGbl/PrintSettings.h"
#include "engine/VLMXGbl/RptStyles.h"
#include "engine/VLMXGbl0.h"
#include "engine/Vellumix/ReportSettings.h"
#include "framework/StdCtrls.h"
#include "tests/engine/RunFixture.h"
#include "tests/support/HeadlessFixture.h"

namespace {

std::string Blanks(int N) { return std::string(static_cast<std::size_t>(N), ' '); }

// A device of fixed pitch: every character 10 dots wide, every line 50 dots high.
class TFixedDevice : public TCanvasDevice {
public:
  struct TOut { int X, Y; std::string Text; };
  std::vector<TOut> Outs;
  void TextOut(int X, int Y, const std::string& Text, const TFont&, const TBrush&) override {
    Outs.push_back({X, Y, Text});
  }
  TSize TextExtent(const std::string& Text, const TFont&) override {
    return {static_cast<int>(Text.size()) * 10, 50};
  }
  TTextMetric TextMetrics(const TFont&) override {
    TTextMetric M;
    M.tmHeight = 50;
    return M;
  }
  int PixelsPerInch() const override { return 600; }
};

// A text page of 80 characters by 60 lines without page margins, the run's clock fixed at
// 4 March 2026 13:05:09 and the memo formats of an ISO date and a 24-hour time.
class MemoTest : public RunTest {
protected:
  void SetUp() override {
    RunTest::SetUp();
    Headless::SetNow(When);
    PS->Canvas = &Canvas;
    Info.FieldInfo = std::make_unique<TvlxFieldInfo>();
    Settings.OutputQuality = 0;
    Settings.MemoDateFormatStr = "yyyy-mm-dd";
    Settings.MemoTimeFormatStr = "hh:nn:ss";
    PS->UnitSet = usText;
    PS->PageWidth = 80;
    PS->PageHeight = 60;
    PS->PagesAcross = 1;
    PS->CurPageAcross = 1;
    PS->CurVertPage = 3;
    PS->BodyBottom = 59;
    PS->MakeRunDateTexts();
  }

  TvlxRptMemo& Memo(int Index, const std::string& Text, int XPosPer = 0, int WidPer = 100,
                    uint8_t Alignment = 0) {
    TvlxRptMemo& M = *Settings.RptMemo(Index);
    M.Text = Text;
    M.Visible = true;
    M.XPosPer = XPosPer;
    M.WidPer = WidPer;
    M.Alignment = Alignment;
    return M;
  }
  // Measures memo Index, then draws it at line Line; the page lines.
  std::vector<std::string> PrintAt(int Index, int Line) {
    PS->PrintMemoRegion(Index, true, true);
    PS->PageLines.Clear();
    PS->CellRect.Bottom = Line;
    PS->PrintMemoRegion(Index, false, true);
    std::vector<std::string> Rows;
    for (int I = 0; I < PS->PageLines.Count(); ++I) Rows.push_back(PS->PageLines[I]);
    return Rows;
  }
  // Lays Text out in a cell of columns Left..Right and Lines lines from row 0.
  std::vector<std::string> Cell(const std::string& Text, int Left, int Right, int Lines,
                                uint8_t Align = 0, bool Truncate = true) {
    PS->PageLines.Clear();
    PS->TextRect = {Left, 0, Right, Lines - 1};
    PS->MaxRect = PS->TextRect;
    PS->DrawMemoText(Text, static_cast<int>(Text.size()), Truncate,
                     DT_NOPREFIX | (Align == 1 ? DT_RIGHT : Align == 2 ? DT_CENTER : 0));
    std::vector<std::string> Rows;
    for (int I = 0; I < PS->PageLines.Count(); ++I) Rows.push_back(PS->PageLines[I]);
    return Rows;
  }
  int Measure(const std::string& Text, int Width) {
    PS->TextRect = {1, 0, Width, 499};
    return PS->DrawMemoText(Text, static_cast<int>(Text.size()), false, DT_CALCRECT);
  }

  const TDateTime When = EncodeDate(2026, 3, 4) + EncodeTime(13, 5, 9, 0);
};

}  // namespace

// The macros in memos as the golden reports print them; here the letters around them.
TEST_F(MemoTest, MacrosExpandToTheRunsDateTimeAndPage) {
  Settings.MemoPageFormatStr = "Page";
  PS->DrawingMemo = true;  // a title memo's text; a cell's prints as it stands
  const struct { const char* Text; int PagesAcross; const char* Expected; } Cases[] = {
      {"^PX^Dz", 1, "Page 3X2026-03-04z"},  // no alignment letter: the next character stays
      {"a^^b ^d ^x c^", 1, "a^b ^ ^ c^"},     // other characters after "^" are dropped
  };
  for (const auto& C : Cases) {
    PS->PagesAcross = C.PagesAcross;
    PS->CurPageAcross = 2;
    const auto Rows = Cell(C.Text, 1, 40, 1);
    ASSERT_EQ(Rows.size(), 1u) << C.Text;
    EXPECT_EQ(Rows[0], C.Expected + Blanks(40 - static_cast<int>(std::string(C.Expected).size())))
        << C.Text;
  }
  EXPECT_EQ(Settings.RunDateTime, When);
  // A value placed at the right edge keeps a blank before it when the text runs up to it.
  EXPECT_EQ(Cell("0123456789^DR", 1, 20, 1)[0], "012345678 2026-03-04");

  // Empty formats read as the short date and the short time.
  Settings.MemoDateFormatStr.clear();
  Settings.MemoTimeFormatStr.clear();
  PS->MakeRunDateTexts();
  EXPECT_EQ(PS->RunDateText, FormatDateTime("ddddd", When));
  EXPECT_EQ(PS->RunTimeText, FormatDateTime("t", When));
}

TEST_F(MemoTest, UserFormatsThatAreNoFormatsNeverStopTheReport) {
  for (const char* Fmt : {"'unterminated", "\"", "%d%s%n", "yyyyyyyyyyyyyyyyyyyyyy", "c c c", "^D"}) {
    Settings.MemoDateFormatStr = Fmt;
    Settings.MemoTimeFormatStr = Fmt;
    EXPECT_NO_THROW(PS->MakeRunDateTexts()) << Fmt;
  }
  // A moment the formatter refuses gives an empty text rather than an exception.
  EXPECT_EQ(FormatMemoDateTime("yyyy", "ddddd", 1e9), "");

  // The page word is format text: "%%" is a percent sign; anything else that is no valid
  // format prints as typed.
  const struct {
    const char* Word;
    const char* Expected;
  } Words[] = {{"100%%", "100% 3"}, {"Page %s", "Page %s 3"}, {"%", "% 3"}, {"%999999999d", "%999999999d 3"}};
  PS->DrawingMemo = true;
  for (const auto& W : Words) {
    Settings.MemoPageFormatStr = W.Word;
    std::vector<std::string> Rows;
    ASSERT_NO_THROW(Rows = Cell("^P", 1, 20, 1)) << W.Word;
    EXPECT_EQ(Rows[0], W.Expected + Blanks(20 - static_cast<int>(std::string(W.Expected).size())));
  }
}

// The default page-number memo's layout is fixed by the golden reports.
TEST_F(MemoTest, AlignmentLettersMayBeLowerCaseAndAPageWordStaysCentred) {
  Settings.MemoPageFormatStr = "Page";
  Memo(PgNum, "^Tl^Pc^Dr", 0, 50);
  EXPECT_EQ(PrintAt(PgNum, 0)[0], "13:05:09" + Blanks(9) + "Page 3" + Blanks(7) + "2026-03-04");
}

TEST_F(MemoTest, WordsWrapWholeAndLongWordsAreCut) {
  const struct { const char* Text; int Width; std::vector<std::string> Expected; } Cases[] = {
      {"alpha beta gamma", 10, {"alpha beta", "gamma     "}},  // an overflowing blank ends the line
      {"one two three", 8, {"one two ", "three   "}},
      {"abcdefghijkl", 5, {"abcde", "fghij", "kl   "}},
      {"ab cdefghij", 5, {"ab   ", "cdefg", "hij  "}},
      {"abc.def", 3, {"abc", ".  ", "def"}},       // no character lost at a break
      {"12/31/2026 x", 8, {"12/31/20", "26 x    "}},  // a date is one word
  };
  for (const auto& C : Cases) EXPECT_EQ(Cell(C.Text, 1, C.Width, 10), C.Expected) << C.Text;
  // The area is full after its last line; what is left is not written.
  EXPECT_EQ(Cell("abcdefghijkl", 3, 7, 2), (std::vector<std::string>{"  abcde", "  fghij"}));
}

TEST_F(MemoTest, TextTooLongForTheCellEndsWithTheTruncationSymbol) {
  Settings.TextTruncSymbol = "...";
  const struct { const char* Text; bool Truncate; std::string Last; } Cases[] = {
      {"first line\r\nsecond\r\nthird", true, "second ..."},
      {"first line\r\nsecond\r\nthird", false, "second    "},
      {"first line\r\nsecond\r\n", true, "second    "},  // only line breaks left over
      {"first line\rsecond one", true, "second one"},  // exactly full
      {"first line\rsecond one more", true, "second ..."},
  };
  for (const auto& C : Cases) {
    const auto Rows = Cell(C.Text, 1, 10, 2, 0, C.Truncate);
    ASSERT_EQ(Rows.size(), 2u) << C.Text;
    EXPECT_EQ(Rows[1], C.Last) << C.Text;
  }
  Settings.TextTruncSymbol = "<cut>";
  EXPECT_EQ(Cell("a b c d e", 2, 4, 2).back(), " <cu");  // never past the field
  Settings.TextTruncSymbol.clear();
  EXPECT_EQ(Cell("a\rb\rc", 1, 3, 2).back(), "b  ");
}

TEST_F(MemoTest, RepeatedValueLinesUnderAPendingRuleShareTheirRow) {
  Info.FieldInfo->Repeated = true;
  PS->EdgePending = true;
  Settings.CellMarginTxt = {1, 0, 0, 0};
  EXPECT_EQ(Cell("a\r\nb", 1, 3, 2), (std::vector<std::string>{"b  "}));
  Settings.CellMarginTxt = {0, 0, 0, 0};
  EXPECT_EQ(Cell("a\r\nb", 1, 3, 2), (std::vector<std::string>{"a  ", "b  "}));
  Settings.CellMarginTxt = {1, 0, 0, 0};
  PS->EdgePending = false;
  EXPECT_EQ(Cell("a\r\nb", 1, 3, 2), (std::vector<std::string>{"a  ", "b  "}));
}

TEST_F(MemoTest, OnFieldAlignChangesCellTextAndPlaceButNotMemos) {
  int Calls = 0;
  TRect SeenMax;
  TvlxFieldInfo* SeenInfo = nullptr;
  Info.OnFieldAlign = [&](TObject*, std::string& FldStr, bool& AlignField, TAlignment& Alignment,
                          TRect& DataRect, TRect MaxRect, TvlxFieldInfo* FieldInfo) {
    ++Calls;
    SeenMax = MaxRect;
    SeenInfo = FieldInfo;
    FldStr = "<" + FldStr + ">";
    if (FldStr == "<keep>") {
      AlignField = false;
      return;
    }
    Alignment = TAlignment::taRightJustify;
    DataRect.Left -= 5;   // outside the cell: brought back
    DataRect.Right -= 2;
  };
  auto Rows = Cell("ab\r\ncd", 3, 12, 2);
  EXPECT_EQ(Calls, 2);
  EXPECT_EQ(SeenMax, (TRect{3, 0, 12, 1}));
  EXPECT_EQ(SeenInfo, Info.FieldInfo.get());
  EXPECT_EQ(Rows[0], "      <ab>");
  EXPECT_EQ(Rows[1], "      <cd>");  // each line starts from the cell again

  PS->PageLines.Clear();
  PS->PageLines.Add("XXXXXXXXXXXX");
  PS->TextRect = {3, 0, 12, 0};
  PS->MaxRect = PS->TextRect;
  PS->DrawMemoText("keep", 4, true, DT_RIGHT);
  EXPECT_EQ(PS->PageLines[0], "XX<keep>XXXX");  // not aligned: the field is left as it was

  Calls = 0;
  Memo(PgTi, "Title");
  PrintAt(PgTi, 0);
  EXPECT_EQ(Calls, 0);
}

TEST_F(MemoTest, MemosThatLeaveTooLittleBodyAreRefused) {
  // Header: top margin 1 + page title 3 lines + 1 below = 5. Footer: page number 2 lines,
  // bottom margin 1, page footer 7 or 8 lines. Page 20 lines: 5 or 4 lines of body.
  Settings.PageMarginTxt = {0, 1, 0, 1};
  Memo(PgTi, "a\r\nb\r\nc").MarginTxt = {0, 0, 0, 1};
  Memo(PgNum, PgNumMemoDefaultText);
  PS->PageHeight = 20;
  PS->CurVertPage = 2;
  Memo(PgFtr, "1\r2\r3\r4\r5\r6\r7");
  EXPECT_NO_THROW(PS->CheckMemosFitPage());
  EXPECT_EQ(PS->BodyBottom, 9);

  Memo(PgFtr, "1\r2\r3\r4\r5\r6\r7\r8");
  const std::string Head =
      "Vellumix! Setup Error: *WARNING* Report Memos are too large for page size. \r\r"
      "Decrease size of Titles & Memos or select a larger paper size.\rAnother ";
  EXPECT_THROW_MSG(PS->CheckMemosFitPage(), eVlxSUError, Head + "1 lines required.");
  // The report's title and header count on the first page only.
  Memo(PgFtr, "1\r2\r3\r4\r5\r6\r7");
  Memo(RptTi, "T\r\nU");
  PS->CurVertPage = 1;
  EXPECT_THROW_MSG(PS->CheckMemosFitPage(), eVlxSUError, Head + "2 lines required.");
  // With borders the body's top and bottom rules need room too.
  PS->CurVertPage = 2;
  PS->Borders = true;
  Styles.FillLineWidths(0);
  Styles.LineWidths[bnData][lkTopEdge] = 1;
  Styles.LineWidths[bnData][lkBottomEdge] = 1;
  EXPECT_THROW_MSG(PS->CheckMemosFitPage(), eVlxSUError, Head + "2 lines required.");

  // Memos that fit may still leave no room for a row of one line with both its cell margins.
  PS->PageHeight = 22;
  Settings.CellMarginTxt = {0, 2, 0, 2};
  EXPECT_NO_THROW(PS->CheckMemosFitPage());
  Settings.CellMarginTxt = {0, 2, 0, 3};
  EXPECT_THROW_MSG(PS->CheckMemosFitPage(), eVlxSUError,
                   "Vellumix! Setup Error: *WARNING* Report Rows are too large for page size. \r\rDecrease size of "
                   "Cell Top Margin + Cell Bottom Margin, Titles & Memos or increase Lines Per Page.\rAnother 1 lines "
                   "required.");
  Settings.CellMarginTxt = {};

  // Device units: the shortage in inches, here 300 dots at 600 dpi.
  PS->Borders = false;
  for (int I = 0; I < RptMemoCount; ++I) Settings.RptMemo(I)->Text.clear();
  PS->UnitSet = usDevice;
  PS->DevResY = 600;
  Settings.PageMarginDev = {0, 400, 0, 301};
  PS->PageHeight = 406;
  EXPECT_THROW_MSG(PS->CheckMemosFitPage(), eVlxSUError, Head + "0.50 inches required.");
}

TEST_F(MemoTest, BodyMemosThatDoNotFitAreClippedOrRefused) {
  Memo(PgHdr, "1\r\n2\r\n3\r\n4");
  PS->PrintMemoRegion(PgHdr, true, true);
  PS->BodyBottom = 12;
  PS->FooterReserve = 2;  // rows up to 10 are free
  PS->PageLines.Add("kept");
  PS->CellRect.Bottom = 8;
  EXPECT_FALSE(PS->PrintMemoRegion(PgHdr, false, false));
  EXPECT_EQ(PS->PageLines.Count(), 1);
  EXPECT_EQ(PS->CellRect.Bottom, 8);

  EXPECT_TRUE(PS->PrintMemoRegion(PgHdr, false, true));
  ASSERT_EQ(PS->PageLines.Count(), 11);
  EXPECT_EQ(PS->PageLines[10], "3" + Blanks(79));
  EXPECT_EQ(PS->CellRect.Bottom, 11);

  // The footer block prints where it is put, whatever the body bottom.
  Memo(Copyright, "(c)");
  PS->PrintMemoRegion(Copyright, true, true);
  PS->CellRect.Bottom = 30;
  EXPECT_TRUE(PS->PrintMemoRegion(Copyright, false, false));
  EXPECT_EQ(PS->PageLines[30], "(c)" + Blanks(77));
  // Totals still to print hold back an empty report footer.
  Info.FixedRows = 1;
  Info.TotalLines = 1;
  Styles.BandInfo[bnTotals].RowCount = 1;
  Settings.SetItemOpt(ioColumnTotals, true);
  EXPECT_FALSE(PS->PrintMemoRegion(RptFtr, false, true));
  Info.TotalLines = 0;
  EXPECT_TRUE(PS->PrintMemoRegion(RptFtr, false, true));
}

TEST_F(MemoTest, DeviceUnitsDrawTheStoredLinesInTheTextRectangle) {
  TFixedDevice Device;
  Canvas.SetDevice(&Device);
  Settings.OutputQuality = 2;
  PS->UnitSet = usDevice;
  PS->PageWidth = 1000;
  Settings.PageMarginDev = {100, 0, 100, 0};
  PS->PrtResY = 600;
  PS->ScrResY = 100;
  TvlxRptMemo& M = Memo(PgTi, "ab\r\n^D", 10, 50, 1);
  M.MarginDev = {0, 20, 0, 5};
  PS->CellRect.Bottom = 100;
  PS->BodyBottom = 5000;
  PS->PrintMemoRegion(PgTi, true, true);
  EXPECT_EQ(M.Height, 100);
  PS->PrintMemoRegion(PgTi, false, true);
  ASSERT_EQ(Device.Outs.size(), 2u);
  // Field 180..580, right-aligned; macros are not expanded in device units.
  EXPECT_EQ(Device.Outs[0].X, 560);
  EXPECT_EQ(Device.Outs[0].Y, 120);
  EXPECT_EQ(Device.Outs[1].Text, "^D");
  EXPECT_EQ(Device.Outs[1].Y, 170);
  EXPECT_EQ(PS->CellRect.Bottom, 120 + 100 + 5);
  // A preview renders on the screen: the height is taken back to printer dots.
  PS->PageMode = pmPreview;
  PS->PrintMemoRegion(PgTi, true, true);
  EXPECT_EQ(M.Height, 600);
  // Word breaks where asked for (cells), at the last blank that fits.
  Device.Outs.clear();
  PS->TextRect = {0, 0, 80, 1000};
  EXPECT_EQ(PS->DrawMemoText("abc def ghi", 11, false, DT_WORDBREAK), 100);
  ASSERT_EQ(Device.Outs.size(), 2u);
  EXPECT_EQ(Device.Outs[0].Text, "abc def");
  EXPECT_EQ(Device.Outs[0].X, 0);
  EXPECT_EQ(Device.Outs[1].Text, "ghi");
  // A word wider than the area stays whole on its own line instead of stopping the run.
  Device.Outs.clear();
  EXPECT_EQ(PS->DrawMemoText("ab abcdefghijk", 14, false, DT_WORDBREAK), 100);
  ASSERT_EQ(Device.Outs.size(), 2u);
  EXPECT_EQ(Device.Outs[1].Text, "abcdefghijk");
}

TEST(MemoLayout, SqueezeSpacesShortensRunsOnlyWhereTheyAreLongEnough) {
  const struct { const char* S; int Max, MinRun, Direction; const char* Expected; } Cases[] = {
      {"a    b    c", 7, 2, 0, "a b   c"},
      {"a    b    c", 7, 2, 1, "a   b c"},
      {"abc def", 3, 2, 0, "abc def"},      // single blanks and letters stay
      {"abc def", 3, 1, 0, "abcdef"},
      {"a   b", 10, 2, 0, "a   b"},        // short enough already
      {"a    bc    d", 8, 2, 2, "a  bc  d"},  // each half on its own
  };
  for (const auto& C : Cases) {
    std::string R;
    SqueezeSpaces(C.S, C.Max, C.MinRun, R, C.Direction);
    EXPECT_EQ(R, C.Expected) << C.S << " " << C.Direction;
  }
}

TEST(MemoLayout, PlaceTextInLinePutsTextIntoItsFieldOnly) {
  const struct {
    const char* Line;
    const char* Text;
    int Column;
    uint8_t Alignment;
    bool Erase;
    int Width;
    const char* Expected;
  } Cases[] = {
      {"XXXXXXXX", "ab", 3, 0, false, 4, "XXabXXXX"},
      {"XXXXXXXX", "ab", 3, 0, true, 4, "XXab  XX"},
      {"XXXXXXXX", "ab", 3, 1, true, 4, "XX  abXX"},
      {"XXXXXXXX", "ab", 3, 2, true, 5, "XX ab  X"},
      {"XX", "abcdef", 4, 0, true, 3, "XX abc"},   // padded to the field, cut to its width
      {"XX", "ab", 0, 1, true, 3, " ab"},          // columns count from 1
      {"XX", "ab", 2, 0, true, 0, "XX"},
  };
  for (const auto& C : Cases) {
    std::string Line = C.Line;
    PlaceTextInLine(Line, C.Text, C.Column, C.Alignment, C.Erase, C.Width);
    EXPECT_EQ(Line, C.Expected) << C.Line << " " << C.Text << " " << C.Column;
  }
  EXPECT_EQ(AlignToCode(DT_RIGHT | DT_NOPREFIX), 1);
  EXPECT_EQ(AlignToCode(DT_CENTER | DT_CALCRECT), 2);
  EXPECT_EQ(AlignToCode(DT_WORDBREAK), 0);
}
