// The utility routines, headless, on real temporary folders.
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>

#include "engine/VLMXGbl0.h"
#include "engine/VLMXUtil.h"
#include "framework/DecisionGrid.h"
#include "framework/ExtCtrls.h"
#include "framework/Forms.h"
#include "framework/IniFiles.h"
#include "framework/headless/IniFiles.h"
#include "framework/rtl/DateUtils.h"
#include "framework/rtl/FileUtils.h"
#include "framework/rtl/Locale.h"
#include "tests/framework/IniFilesCases.h"
#include "tests/support/HeadlessFixture.h"
#include "tests/support/TempDir.h"

namespace fs = std::filesystem;

namespace {

class UtilTest : public HeadlessTest {
protected:
  void SetUp() override {
    HeadlessTest::SetUp();
    FormatSettings = SystemFormatSettings();
    Headless::SetWindowsDirectory(Dir.Sub("windows"));
  }
  void TearDown() override {
    Headless::SetWindowsDirectory("");
    FormatSettings = SystemFormatSettings();
    HeadlessTest::TearDown();
  }

  void Touch(const fs::path& P) { std::ofstream(P) << "x"; }

  TTempDir Dir;
};

// Sets an environment variable and the current directory for one test, and puts them back.
class TProcessState {
public:
  TProcessState() : FCwd(fs::current_path()) {
    if (const char* p = std::getenv("PATH")) FPath = p;
  }
  ~TProcessState() {
    fs::current_path(FCwd);
    if (FPath) setenv("PATH", FPath->c_str(), 1);
    else unsetenv("PATH");
  }

private:
  fs::path FCwd;
  std::optional<std::string> FPath;
};

}  // namespace

// ---- Numbers and strings -----------------------------------------------------------------

TEST(UtilStrings, StrToIntCheckedReportsEveryTextItRefuses) {
  const struct { const char* S; int Value; bool Error; } Cases[] = {
      {"42", 42, false},      {"  -7", -7, false},       {"+5", 5, false},
      {"$1F", 31, false},     {"12a", 0, true},          {"", 0, true},
      {"7 ", 0, true},        {"99999999999", 0, true},  {"-", 0, true},
      {"2147483647", 2147483647, false},
  };
  for (auto& C : Cases) {
    bool Error = !C.Error;
    EXPECT_EQ(StrToIntChecked(C.S, Error), C.Value) << C.S;
    EXPECT_EQ(Error, C.Error) << C.S;
  }
  EXPECT_EQ(MaxInt2(-3, -8), -3);
  EXPECT_EQ(MinInt2(-3, -8), -8);
  EXPECT_EQ(ReverseStr("abc"), "cba");
}

TEST(UtilStrings, GetTokenCountsFieldsFromEitherEnd) {
  const struct { const char* S; int Index; const char* Delim; const char* Expected; } Cases[] = {
      {"a,b,c", 1, ",", "a"},    {"a,b,c", 2, ",", "b"},     {"a,b,c", 3, ",", "c"},
      {"a,b,c", 4, ",", "DEF"},  {"a,b,c", 0, ",", "DEF"},   {"a,b,c", -1, ",", "c"},
      {"a,b,c", -3, ",", "a"},   {"a,b,c", -4, ",", "DEF"},  {"a,,c", 2, ",", ""},
      {"a,b", 2, "", "b"},       {"one;two", -1, ";", "two"},
      // A delimiter of two different characters, found from the end as well.
      {"1ab2ab3", 1, "ab", "1"}, {"1ab2ab3", -1, "ab", "3"}, {"1ab2ab3", -2, "ab", "2"},
      {"x12ab", -1, "ab", ""},   {"", 1, ",", ""},
  };
  for (auto& C : Cases) EXPECT_EQ(GetToken(C.S, C.Index, C.Delim, "DEF"), C.Expected) << C.S << " " << C.Index;
}

TEST(UtilStrings, ReadTextLineWalksCrLinesAndDropsLineFeeds) {
  const std::string Text = "ab\r\ncd";
  int Pos = 0;
  std::string Line;
  EXPECT_TRUE(ReadTextLine(Text, Pos, Line));
  EXPECT_EQ(Line, "ab");
  EXPECT_EQ(Pos, 3);
  EXPECT_TRUE(ReadTextLine(Text, Pos, Line));
  EXPECT_EQ(Line, "cd");
  EXPECT_EQ(Pos, 7);
  EXPECT_FALSE(ReadTextLine(Text, Pos, Line));
  EXPECT_EQ(Line, "cd");
  EXPECT_EQ(Pos, 7);

  // Empty lines between CRs are lines; an empty end without a CR is not.
  const std::string Blank = "\r\na\nb\r";
  Pos = 0;
  EXPECT_TRUE(ReadTextLine(Blank, Pos, Line));
  EXPECT_EQ(Line, "");
  EXPECT_TRUE(ReadTextLine(Blank, Pos, Line));
  EXPECT_EQ(Line, "ab");
  EXPECT_EQ(Pos, 6);
  EXPECT_FALSE(ReadTextLine(Blank, Pos, Line));
  Pos = 0;
  EXPECT_FALSE(ReadTextLine("\n", Pos, Line));
  EXPECT_EQ(Pos, 2);
}

TEST(UtilStrings, DelimitedIndexOfFindsWholeEntriesIgnoringCase) {
  EXPECT_EQ(DelimitedIndexOf("b", "A,B,C", ','), 2);
  EXPECT_EQ(DelimitedIndexOf("B,C", "A,B,C", ','), 2);
  EXPECT_EQ(DelimitedIndexOf("D", "A,B,C", ','), 0);
  EXPECT_EQ(DelimitedIndexOf("a", "A,B,C", ','), 1);
  EXPECT_EQ(DelimitedIndexOf("c", "A,B,C", ','), 3);
  EXPECT_EQ(DelimitedIndexOf("B", "AB,B", ','), 2);
  EXPECT_EQ(DelimitedIndexOf("", "A,,C", ','), 2);
  EXPECT_EQ(DelimitedIndexOf("~line#", "Name;~Line#", ';'), 2);
}

TEST(UtilStrings, CharacterFilters) {
  EXPECT_EQ(ReplaceCharBy("a-b", '-', ""), "ab");
  EXPECT_EQ(ReplaceCharBy("a-b", '-', "+-"), "a+b");
  EXPECT_EQ(ReplaceCharBy("--x--", '-', "_"), "__x__");
  EXPECT_EQ(KeepCharsInSet("(555) 12-34", MakeCharSet("0123456789")), "5551234");
  EXPECT_EQ(KeepCharsInSet("\xe9t\xe9", MakeCharSet("\xe9")), "\xe9\xe9");
}

TEST(UtilStrings, IsNumericStrAfterCurrencyAndSeparatorsOfTheLocale) {
  std::string S = "$1,234,567.50 $";
  StripCurrencyAndSeparators(S);
  EXPECT_EQ(S, "1234567.50 $");
  for (const char* Yes : {"$1,234.50", "12", " -3.5e2 ", "1,,2"}) EXPECT_TRUE(IsNumericStr(Yes)) << Yes;
  for (const char* No : {"", "abc", "1$2$", "12 kg", "1.2.3"}) EXPECT_FALSE(IsNumericStr(No)) << No;

  FormatSettings.CurrencyString = "DM";
  FormatSettings.ThousandSeparator = '.';
  FormatSettings.DecimalSeparator = ',';
  EXPECT_TRUE(IsNumericStr("1.234,5 DM"));
  EXPECT_TRUE(IsNumericStr("1,234.5"));  // "1,2345"
  EXPECT_FALSE(IsNumericStr("1,2,3"));
  FormatSettings = SystemFormatSettings();
}

TEST(UtilStrings, FontStyleCodesAreTheSettingsOwn) {
  EXPECT_EQ(IntToFontStyles(8), TFontStyles{fsBold});
  EXPECT_EQ(IntToFontStyles(4), TFontStyles{fsItalic});
  EXPECT_EQ(IntToFontStyles(2), TFontStyles{fsUnderline});
  EXPECT_EQ(IntToFontStyles(1), TFontStyles{fsStrikeOut});
  EXPECT_EQ(IntToFontStyles(16 + 8 + 1), TFontStyles{fsBold | fsStrikeOut});
  EXPECT_EQ(FontStylesToInt(fsBold | fsItalic), 12);
  for (int Code = 0; Code < 16; ++Code) EXPECT_EQ(FontStylesToInt(IntToFontStyles(Code)), Code);
}

TEST(UtilStrings, ExpandTitleMacrosPicksTheHintPartAndOneMacro) {
  EXPECT_EQ(ExpandTitleMacros(true, "Date Format String for ^D in memo|Current Date Format: ^D",
                              "01/05/2026", "9:00 AM"),
            "Current Date Format: 01/05/2026");
  EXPECT_EQ(ExpandTitleMacros(false, "Left|Right", "D", "T"), "Left Right");
  EXPECT_EQ(ExpandTitleMacros(true, "a|b|c", "D", "T"), "b|c");
  EXPECT_EQ(ExpandTitleMacros(false, "a|b|c", "D", "T"), "a b|c");
  EXPECT_EQ(ExpandTitleMacros(true, "No bar", "D", "T"), "No bar");
  // The macro takes the character after it (an alignment letter in memos) with it.
  EXPECT_EQ(ExpandTitleMacros(true, "On ^DL at ^TR", "5/1", "9:00"), "On 5/1 at ^TR");
  EXPECT_EQ(ExpandTitleMacros(true, "At ^TR, ^T", "5/1", "9:00"), "At 9:00, ^T");
  EXPECT_EQ(ExpandTitleMacros(true, "^d stays", "5/1", "9:00"), "^d stays");
}

// ---- Files and folders -------------------------------------------------------------------

TEST(UtilFiles, NameRoutines) {
  EXPECT_EQ(RemoveTrailingBackslash("C:\\Dir\\"), "C:\\Dir");
  EXPECT_EQ(RemoveTrailingBackslash("C:\\Dir\\\\"), "C:\\Dir\\");
  EXPECT_EQ(RemoveTrailingBackslash(""), "");
  EXPECT_EQ(NormalizeDirName("  C:\\Dir \t", true), "C:\\Dir\\");
  EXPECT_EQ(NormalizeDirName("C:\\Dir\\", true), "C:\\Dir\\");
  EXPECT_EQ(NormalizeDirName(" C:\\Dir\\ ", false), "C:\\Dir");
  EXPECT_EQ(NormalizeDirName("C:\\Dir", false), "C:\\Dir");
  EXPECT_EQ(NormalizeDirName("  ", true), "");
}

TEST_F(UtilTest, ForceDirsCreatesEachMissingFolderButNeverTheDrive) {
  const std::string Base = Dir.Path().string();
  ForceDirs(Base + "\\A\\B\\");
  EXPECT_TRUE(fs::is_directory(Dir.Path() / "A" / "B"));
  ForceDirs(Base + "\\C\\D");
  EXPECT_TRUE(fs::is_directory(Dir.Path() / "C" / "D"));
  ForceDirs("");

  EXPECT_TRUE(DirExists(Base + "\\A\\B"));
  EXPECT_TRUE(DirExists(Base + "\\A\\B\\"));
  EXPECT_FALSE(DirExists(Base + "\\A\\Missing"));
  EXPECT_FALSE(DirExists(""));
  Touch(Dir.Path() / "File.txt");
  EXPECT_TRUE(DirExists(Base + "\\File.txt"));  // a file of that name counts
  // A server or share alone is taken to exist; a folder on it is looked for.
  EXPECT_TRUE(DirExists("\\\\server\\share"));
  EXPECT_TRUE(DirExists("\\\\server"));
  EXPECT_TRUE(DirExists("\\\\"));
  EXPECT_FALSE(DirExists("\\\\server\\share\\dir"));

  // A file in the way: the creation fails quietly and DirExists tells.
  ForceDirs(Base + "\\File.txt\\X\\");
  EXPECT_FALSE(DirExists(Base + "\\File.txt\\X"));

  // The text before the first "\" is the drive: "Q:" is never made (here it would be a folder
  // of the current directory).
  TProcessState Restore;
  fs::current_path(Dir.Path());
  ForceDirs("Q:\\A\\");
  EXPECT_FALSE(fs::exists(Dir.Path() / "Q:"));
}

TEST_F(UtilTest, IsFileReadOnlyReadsTheAttribute) {
  const fs::path F = Dir.Path() / "Rpt.txt";
  Touch(F);
  EXPECT_FALSE(IsFileReadOnly(F.string()));
  chmod(F.c_str(), 0444);
  EXPECT_TRUE(IsFileReadOnly(F.string()));
  EXPECT_TRUE(IsFileReadOnly((Dir.Path() / "r*.TXT").string()));
  EXPECT_FALSE(IsFileReadOnly((Dir.Path() / "Missing.txt").string()));
}

TEST_F(UtilTest, LocateFileLooksInTheCurrentThenTheProgramDirectoryThenAlongPath) {
  const std::string Cwd = Dir.Sub("cwd"), Bin = Dir.Sub("bin"), P1 = Dir.Sub("p1"), P2 = Dir.Sub("p2");
  for (const std::string& Folder : {Cwd, Bin, P2}) Touch(fs::path(Folder) / "All.hlp");
  for (const std::string& Folder : {Bin, P1}) Touch(fs::path(Folder) / "Bin.hlp");
  Touch(fs::path(P2) / "Path.hlp");
  TProcessState Restore;
  fs::current_path(Cwd);
  setenv("PATH", (P1 + ":" + Dir / "missing" + "::" + P2 + "/").c_str(), 1);
  Headless::SetExeName(Bin + "/Versora.exe");
  TComponent Component(nullptr);

  std::string Name = "C:\\Elsewhere\\All.hlp";
  EXPECT_TRUE(LocateFile(Name, &Component));
  EXPECT_EQ(Name, Cwd + "/All.hlp");
  Name = "Bin.hlp";
  EXPECT_TRUE(LocateFile(Name, &Component));
  EXPECT_EQ(Name, Bin + "/Bin.hlp");
  Name = "Bin.hlp";
  EXPECT_TRUE(LocateFile(Name, nullptr));  // without a component the program's folder is skipped
  EXPECT_EQ(Name, P1 + "/Bin.hlp");
  Name = "Path.hlp";
  EXPECT_TRUE(LocateFile(Name, &Component));
  EXPECT_EQ(Name, P2 + "/Path.hlp");
  Name = "VL_USER.HLP";
  EXPECT_FALSE(LocateFile(Name, &Component));
  EXPECT_EQ(Name, "");
}

// ---- Windows -----------------------------------------------------------------------------

TEST_F(UtilTest, ClampWindowRectDefaultsAndFitsTheScreen) {
  Headless::SetScreenSize(1024, 768);
  const struct { int In[4]; int Out[4]; } Cases[] = {
      // Top, Left, Width, Height
      {{-1, -1, -1, -1}, {192, 256, 512, 384}},
      {{0, 0, 0, 0}, {192, 256, 512, 384}},
      {{10, 20, 300, 200}, {10, 20, 300, 200}},
      {{700, 900, 400, 200}, {568, 624, 400, 200}},
      {{10, 10, 2000, 1000}, {0, 0, 1024, 768}},
      {{1, 1, 1024, 768}, {0, 0, 1024, 768}},
  };
  for (auto& C : Cases) {
    int T = C.In[0], L = C.In[1], W = C.In[2], H = C.In[3];
    ClampWindowRect(T, L, W, H);
    EXPECT_EQ((std::vector<int>{T, L, W, H}), (std::vector<int>(C.Out, C.Out + 4))) << C.In[0] << "," << C.In[1];
  }
}

TEST_F(UtilTest, PlaceFormCentresFirstThenParksAndReturnsToTheRememberedTop) {
  Headless::SetScreenSize(1024, 768);
  TForm Form(nullptr);
  Form.SetBounds(5, 5, 400, 300);
  PlaceForm(&Form, true);
  EXPECT_EQ(Form.BoundsRect(), (TRect{312, 234, 712, 534}));
  EXPECT_EQ(Form.Tag, 234);
  Form.SetTop(100);
  PlaceForm(&Form, false);
  EXPECT_EQ(Form.Top(), -5000);
  EXPECT_EQ(Form.Tag, 100);
  PlaceForm(&Form, true);
  EXPECT_EQ(Form.Top(), 100);
  EXPECT_EQ(Form.Left(), 312);

  // Never parked with a remembered top: hiding leaves Tag alone, showing centres again.
  TForm Wide(nullptr);
  Wide.SetBounds(0, 0, 1200, 300);
  PlaceForm(&Wide, false);
  EXPECT_EQ(Wide.Tag, 0);
  PlaceForm(&Wide, true);
  EXPECT_EQ(Wide.BoundsRect(), (TRect{0, 234, 1200, 534}));
}

TEST_F(UtilTest, WindowSizesRoundTripThroughVellumixIni) {
  Headless::SetScreenSize(1024, 768);
  const std::string File = (Dir.Path() / "windows" / "Vellumix.Ini").string();
  IniLoadFormSize("", nullptr, "");  // no form: nothing at all
  IniSaveFormSize("Vellumix.Ini", nullptr, "");
  TForm Form(nullptr);
  Form.SetName("fmVlxPreview");
  EXPECT_THROW_MSG(IniLoadFormSize("", &Form, ""), eVlxIntError,
                   "Vellumix! Internal Error: [IniLoadFormSize] IniFileName is blank");

  // Nothing stored yet: the defaults; OnResize runs once, after the bounds and the state.
  std::vector<TRect> Resized;
  Form.OnResize = [&](TObject* Sender) {
    EXPECT_EQ(Sender, &Form);
    Resized.push_back(Form.BoundsRect());
  };
  IniLoadFormSize("Vellumix.Ini", &Form, "");
  EXPECT_EQ(Resized, (std::vector<TRect>{{256, 192, 768, 576}}));
  EXPECT_TRUE(Form.OnResize) << "the handler was not put back";

  Form.SetBounds(100, 50, 600, 400);
  IniSaveFormSize("Vellumix.Ini", &Form, "");
  const std::string Normal =
      "[Form:fmVlxPreview User:]\r\nWindow Top=50\r\nWindow Left=100\r\nWindow Width=600\r\n"
      "Window Height=400\r\nWindow Maximized=";
  EXPECT_EQ(IniCases::FileText(File), Normal + "0\r\n");

  // Maximized, the system shows it at the screen's size: the file keeps the normal size.
  Form.SetWindowState(TWindowState::wsMaximized);
  Form.PeerBoundsChanged(-4, -4, 1032, 776);
  IniSaveFormSize("Vellumix.Ini", &Form, "");
  EXPECT_EQ(IniCases::FileText(File), Normal + "1\r\n");
  TForm Again(nullptr);
  Again.SetName("fmVlxPreview");
  IniLoadFormSize("Vellumix.Ini", &Again, "");
  EXPECT_EQ(Again.BoundsRect(), (TRect{100, 50, 700, 450}));
  EXPECT_EQ(Again.WindowState(), TWindowState::wsMaximized);

  // A user's own section. Top 0 counts as unset; a window wider than the screen is cut to it.
  TIniFile Ini("Vellumix.Ini");
  Ini.WriteInteger("Form:fmVlxPreview User:Ann", "Window Top", 0);
  Ini.WriteInteger("Form:fmVlxPreview User:Ann", "Window Left", 10);
  Ini.WriteInteger("Form:fmVlxPreview User:Ann", "Window Width", 2000);
  IniLoadFormSize("Vellumix.Ini", &Again, "Ann");
  EXPECT_EQ(Again.BoundsRect(), (TRect{0, 192, 1024, 576}));
  EXPECT_EQ(Again.WindowState(), TWindowState::wsNormal);
  EXPECT_EQ(Ini.ReadInteger("Form:fmVlxPreview User:", "Window Top", -1), 50);
}

TEST_F(UtilTest, ShowStatusMsgColoursBeepsAndNeverHidesAColouredMessageBehindANormalOne) {
  TForm Form(nullptr);
  auto* Panel = new TPanel(&Form);
  Panel->SetParent(&Form);
  auto* Timer = new TTimer(&Form);
  Timer->SetEnabled(false);
  const auto Shows = [&](const std::string& Caption, TColor Color, TFontStyles Style) {
    EXPECT_EQ(Panel->Caption(), Caption);
    EXPECT_EQ(Panel->Color(), Color);
    EXPECT_EQ(Panel->Font().Color(), clBlack);
    EXPECT_EQ(Panel->Font().Style(), Style);
  };

  ShowStatusMsg(Panel, "Bad value", smkWarning, Timer, 5);
  Shows("  Bad value", 0x00FFFF, fsBold);
  EXPECT_EQ(Headless::BeepSounds(), std::vector<unsigned>{64});
  EXPECT_TRUE(Timer->Enabled());
  EXPECT_EQ(Timer->Interval(), 5000u);

  ShowStatusMsg(Panel, "Ready", smkNormal, Timer, 0);
  Shows("  Bad value", 0x00FFFF, fsBold);
  EXPECT_TRUE(Timer->Enabled());

  ShowStatusMsg(Panel, "Stop", smkError, nullptr, 0);
  Shows("  Stop", 0x0000FF, fsBold);
  ShowStatusMsg(Panel, "Look", smkHighlight, Timer, 2);
  Shows("  Look", 0xFFFF00, 0);
  EXPECT_EQ(Timer->Interval(), 2000u);
  ShowStatusMsg(Panel, " Saved ", smkWhite, Timer, 0);
  Shows("   Saved ", 0xFFFFFF, 0);
  EXPECT_FALSE(Timer->Enabled());
  ShowStatusMsg(Panel, "Other", StatusMsgKind(7), Timer, 3);
  Shows("  Other", 0xFFFFFF, 0);
  EXPECT_TRUE(Timer->Enabled());

  // A negative time-out lets a normal message clear a coloured one.
  ShowStatusMsg(Panel, "", smkNormal, Timer, -1);
  Shows("  ", clBtnFace, 0);
  EXPECT_FALSE(Timer->Enabled());
  ShowStatusMsg(Panel, "Plain", smkNormal, nullptr, 0);
  Shows("  Plain", clBtnFace, 0);
  EXPECT_EQ(Headless::BeepSounds(), (std::vector<unsigned>{64, 16}));
}

TEST_F(UtilTest, TheStatusTimerClearsAWarningOnceItsSecondsHavePassed) {
  TForm Form(nullptr);
  auto* Panel = new TPanel(&Form);
  auto* Timer = new TTimer(&Form);
  Timer->SetEnabled(false);
  Timer->OnTimer = [&](TObject*) { ShowStatusMsg(Panel, "", smkNormal, Timer, -1); };
  ShowStatusMsg(Panel, "Field is required", smkWarning, Timer, 5);
  DelayMs(4990);
  EXPECT_EQ(Panel->Color(), clYellow);
  DelayMs(10);
  EXPECT_EQ(Panel->Color(), clBtnFace);
  EXPECT_EQ(Panel->Caption(), "  ");
  EXPECT_FALSE(Timer->Enabled());
}

TEST_F(UtilTest, DelayMsRunsMessagesAndTimersUntilMoreThanMsHavePassed) {
  TForm Form(nullptr);
  auto* Timer = new TTimer(&Form);
  Timer->SetInterval(300);
  int Fired = 0, Posted = 0;
  Timer->OnTimer = [&](TObject*) { ++Fired; };
  Application->Post(Application, [&] { ++Posted; });
  unsigned Start = TickCount();
  DelayMs(500);
  EXPECT_EQ(Posted, 1);
  EXPECT_EQ(Fired, 1);
  EXPECT_GT(TickCount() - Start, 500u);
  EXPECT_LT(TickCount() - Start, 600u);

  // No time at all: the waiting messages still run once.
  Application->Post(Application, [&] { ++Posted; });
  Start = TickCount();
  DelayMs(-1);
  EXPECT_EQ(Posted, 2);
  EXPECT_EQ(TickCount() - Start, 0u);
  EXPECT_FALSE(IsDesignEnvRunning());
}

TEST(DecisionGridCells, SumHeadingsAndTheDataArea) {
  TDecisionSource Source(nullptr);
  Source.SetDimensions({"Region", "City"}, {"Year"}, "Sales");
  Source.AddValue({"N", "a"}, {"2020"}, 1);
  Source.AddValue({"N", "b"}, {"2020"}, 2);
  Source.AddValue({"S", "a"}, {"2021"}, 3);
  TDecisionGrid Grid(nullptr);
  Grid.SetDecisionSource(&Source);
  // Data rows 0..5: N/a, N/b, N total (a City total), S/a, S total, grand total (a Region total).
  EXPECT_TRUE(DecisionCellTest(&Grid, -1, 2)) << "the City heading of the N total";
  EXPECT_TRUE(DecisionCellTest(&Grid, -2, 5)) << "the Region heading of the grand total";
  EXPECT_FALSE(DecisionCellTest(&Grid, -1, 0)) << "a city name is no sum";
  EXPECT_FALSE(DecisionCellTest(&Grid, -4, 2)) << "left of the grid";
  EXPECT_FALSE(DecisionCellTest(&Grid, 3, 0)) << "right of the grid";
  EXPECT_FALSE(DecisionCellTest(&Grid, 0, 6)) << "below the grid";

  // A total line is shown while its dimension's subtotals are on.
  for (int Row = 0; Row < 6; ++Row) EXPECT_TRUE(IsDecisionGridTotalCell(&Grid, TPoint{0, Row}, true)) << Row;
  EXPECT_TRUE(IsDecisionGridTotalCell(&Grid, TPoint{2, 0}, false)) << "the Year total column";
  EXPECT_FALSE(IsDecisionGridTotalCell(&Grid, TPoint{3, 0}, true)) << "right of the data columns";
  EXPECT_FALSE(IsDecisionGridTotalCell(&Grid, TPoint{0, 6}, false)) << "below the data rows";
  EXPECT_FALSE(IsDecisionGridTotalCell(nullptr, TPoint{0, 0}, true));
}
