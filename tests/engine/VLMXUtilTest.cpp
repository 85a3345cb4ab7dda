// The utility routines, headless, on real temporary folders.
#include <sys/stat.h>
#include <unistd.h>

#include <climits>
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
#include "framework/rtl/Locale.h"
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

// Puts PATH and the current directory back when the test ends.
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

TEST(UtilStrings, StrToIntCheckedReportsEveryTextItRefuses) {
  const struct { const char* S; int Value; bool Error; } Cases[] = {
      {"  -7", -7, false}, {"$1F", 31, false}, {"2147483647", 2147483647, false},
      {"12a", 0, true},    {"", 0, true},      {"99999999999", 0, true},
  };
  for (auto& C : Cases) {
    bool Error = !C.Error;
    EXPECT_EQ(StrToIntChecked(C.S, Error), C.Value) << C.S;
    EXPECT_EQ(Error, C.Error) << C.S;
  }
}

TEST(UtilStrings, IsNumericStrAfterCurrencyAndSeparatorsOfTheLocale) {
  std::string S = "$1,234,567.50 $";
  StripCurrencyAndSeparators(S);
  EXPECT_EQ(S, "1234567.50 $");
  for (const char* Yes : {"$1,234.50", " -3.5e2 ", "1,,2"}) EXPECT_TRUE(IsNumericStr(Yes)) << Yes;
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
  EXPECT_EQ(IntToFontStyles(16 + 8 + 2), TFontStyles{fsBold | fsUnderline});
  for (int Code = 0; Code < 16; ++Code) EXPECT_EQ(FontStylesToInt(IntToFontStyles(Code)), Code);
}

TEST(UtilStrings, ExpandTitleMacrosPicksTheHintPartAndOneMacro) {
  // The macro takes the character after it (an alignment letter in memos) with it.
  const struct { bool OmitLeft; const char* S; const char* Expected; } Cases[] = {
      {true, "Date Format String for ^D in memo|Current Date Format: ^D", "Current Date Format: 5/1"},
      {false, "a|b|c", "a b|c"}, {true, "a|b|c", "b|c"}, {true, "No bar", "No bar"},
      {true, "On ^DL at ^TR", "On 5/1 at ^TR"}, {true, "At ^TR, ^T", "At 9:00, ^T"}, {true, "^d stays", "^d stays"},
  };
  for (auto& C : Cases) EXPECT_EQ(ExpandTitleMacros(C.OmitLeft, C.S, "5/1", "9:00"), C.Expected) << C.S;
}

TEST_F(UtilTest, ForceDirsCreatesEachMissingFolderButNeverTheDrive) {
  const std::string Base = Dir.Path().string();
  ForceDirs(Base + "\\A\\B\\");
  ForceDirs(Base + "\\C\\D");
  ForceDirs("");
  Touch(Dir.Path() / "File.txt");
  ForceDirs(Base + "\\File.txt\\X\\");  // a file in the way: fails quietly
  EXPECT_TRUE(fs::is_directory(Dir.Path() / "C" / "D"));

  // A file counts; a server or share alone is taken to exist, a folder on it is looked for.
  const struct { std::string Dir; bool Exists; } Cases[] = {
      {Base + "\\A\\B", true},  {Base + "\\A\\B\\", true},    {Base + "\\A\\Missing", false},
      {"", false},              {Base + "\\File.txt", true},  {Base + "\\File.txt\\X", false},
      {"\\\\server\\share", true}, {"\\\\", true},             {"\\\\server\\share\\dir", false},
      // A root, a share's root and a folder named with final delimiters are folders.
      {"\\", true},               {"/", true},                  {Base + "\\A\\B\\\\", true},
      {"\\\\server\\share\\", true}, {Base + "\\A\\Missing\\", false},
  };
  for (auto& C : Cases) EXPECT_EQ(DirExists(C.Dir), C.Exists) << C.Dir;

  // The text before the first "\" is the drive: "Q:" is never made.
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

  // Without a component the program's folder is skipped.
  const struct { std::string Name; TComponent* Component; std::string Found; } Cases[] = {
      {"C:\\Elsewhere\\All.hlp", &Component, Cwd + "/All.hlp"}, {"Bin.hlp", &Component, Bin + "/Bin.hlp"},
      {"Bin.hlp", nullptr, P1 + "/Bin.hlp"},                    {"Path.hlp", &Component, P2 + "/Path.hlp"},
      {"VL_USER.HLP", &Component, ""},
  };
  for (auto& C : Cases) {
    std::string Name = C.Name;
    EXPECT_EQ(LocateFile(Name, C.Component), !C.Found.empty()) << C.Name;
    EXPECT_EQ(Name, C.Found);
  }
}

TEST_F(UtilTest, ClampWindowRectDefaultsAndFitsTheScreen) {
  Headless::SetScreenSize(1024, 768);
  const struct { int In[4]; int Out[4]; } Cases[] = {
      // Top, Left, Width, Height
      {{0, -1, 0, -1}, {192, 256, 512, 384}},
      {{10, 20, 300, 200}, {10, 20, 300, 200}},
      {{700, 900, 400, 200}, {568, 624, 400, 200}},
      {{10, 10, 2000, 1000}, {0, 0, 1024, 768}},
      {{100, INT_MAX, 300, INT_MAX}, {0, 724, 300, 768}},
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
  Form.SetTop(100);
  PlaceForm(&Form, false);
  EXPECT_EQ(Form.Top(), -5000);
  PlaceForm(&Form, true);
  EXPECT_EQ(Form.BoundsRect(), (TRect{312, 100, 712, 400}));

  // Never parked with a remembered top: hiding leaves Tag alone, showing centres again.
  TForm Wide(nullptr);
  Wide.SetBounds(0, 0, 1200, 300);
  PlaceForm(&Wide, false);
  EXPECT_EQ(Wide.Tag, 0);
  PlaceForm(&Wide, true);
  EXPECT_EQ(Wide.BoundsRect(), (TRect{0, 234, 1200, 534}));
}

// The file's layout and a maximized window are the end-to-end test's; here, the edges.
TEST_F(UtilTest, WindowSizesRoundTripThroughVellumixIni) {
  Headless::SetScreenSize(1024, 768);
  IniLoadFormSize("", nullptr, "");  // no form: nothing at all
  IniSaveFormSize("Vellumix.Ini", nullptr, "");
  TForm Form(nullptr);
  Form.SetName("fmVlxPreview");
  EXPECT_THROW_MSG(IniLoadFormSize("", &Form, ""), eVlxIntError,
                   "Vellumix! Internal Error: [IniLoadFormSize] IniFileName is blank");
  // Nothing stored yet: the defaults, centred.
  IniLoadFormSize("Vellumix.Ini", &Form, "");
  EXPECT_EQ(Form.BoundsRect(), (TRect{256, 192, 768, 576}));
  Form.SetBounds(100, 50, 600, 400);
  IniSaveFormSize("Vellumix.Ini", &Form, "");
  Form.SetWindowState(TWindowState::wsMaximized);
  Form.PeerBoundsChanged(-4, -4, 1032, 776);
  IniSaveFormSize("Vellumix.Ini", &Form, "");

  // A user's own section. Top 0 counts as unset; a window wider than the screen is cut to it.
  TIniFile Ini("Vellumix.Ini");
  Ini.WriteInteger("Form:fmVlxPreview User:Ann", "Window Top", 0);
  Ini.WriteInteger("Form:fmVlxPreview User:Ann", "Window Left", 10);
  Ini.WriteInteger("Form:fmVlxPreview User:Ann", "Window Width", 2000);
  TForm Again(nullptr);
  Again.SetName("fmVlxPreview");
  IniLoadFormSize("Vellumix.Ini", &Again, "Ann");
  EXPECT_EQ(Again.BoundsRect(), (TRect{0, 192, 1024, 576}));
  EXPECT_EQ(Again.WindowState(), TWindowState::wsNormal) << "the other section's state stays there";
  IniLoadFormSize("Vellumix.Ini", &Again, "");
  EXPECT_EQ(Again.BoundsRect(), (TRect{100, 50, 700, 450}));
  EXPECT_EQ(Again.WindowState(), TWindowState::wsMaximized);
}

TEST_F(UtilTest, ShowStatusMsgColoursBeepsAndNeverHidesAColouredMessageBehindANormalOne) {
  TForm Form(nullptr);
  auto* Panel = new TPanel(&Form);
  Panel->SetParent(&Form);
  auto* Timer = new TTimer(&Form);
  Timer->SetEnabled(false);
  // Each message shown, then the panel's caption, colour, font style and the timer.
  const struct { const char* Text; StatusMsgKind Kind; bool UseTimer; int Seconds;
                 const char* Caption; TColor Color; TFontStyles Style; bool TimerOn; } Cases[] = {
      {"Bad value", smkWarning, true, 5, "  Bad value", 0x00FFFF, fsBold, true},
      {"Ready", smkNormal, true, 0, "  Bad value", 0x00FFFF, fsBold, true},
      {"Stop", smkError, false, 0, "  Stop", 0x0000FF, fsBold, true},
      {"Look", smkHighlight, true, 0, "  Look", 0xFFFF00, 0, false},
      {"Other", StatusMsgKind(7), true, 3, "  Other", 0xFFFF00, 0, true},  // an unknown kind keeps the look
      // A negative time-out lets a normal message clear a coloured one.
      {"", smkNormal, true, -1, "  ", clBtnFace, 0, false},
      {"Plain", smkNormal, false, 0, "  Plain", clBtnFace, 0, false},
  };
  for (auto& C : Cases) {
    SCOPED_TRACE(C.Text);
    ShowStatusMsg(Panel, C.Text, C.Kind, C.UseTimer ? Timer : nullptr, C.Seconds);
    EXPECT_EQ(Panel->Caption(), C.Caption);
    EXPECT_EQ(Panel->Color(), C.Color);
    EXPECT_EQ(Panel->Font().Color(), clBlack);
    EXPECT_EQ(Panel->Font().Style(), C.Style);
    EXPECT_EQ(Timer->Enabled(), C.TimerOn);
    if (C.TimerOn && C.Seconds > 0) {
      EXPECT_EQ(Timer->Interval(), C.Seconds * 1000u);
    }
  }
  EXPECT_EQ(Headless::BeepSounds(), (std::vector<unsigned>{64, 16}));
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
  const struct { int Col, Row; bool Sum; } Cells[] = {
      {-1, 2, true}, {-2, 5, true}, {-1, 0, false}, {-4, 2, false}, {3, 0, false}, {0, 6, false}};
  for (auto& C : Cells) EXPECT_EQ(DecisionCellTest(&Grid, C.Col, C.Row), C.Sum) << C.Col << "," << C.Row;

  // A total line is shown while its dimension's subtotals are on.
  for (int Row = 0; Row < 6; ++Row) EXPECT_TRUE(IsDecisionGridTotalCell(&Grid, TPoint{0, Row}, true)) << Row;
  EXPECT_TRUE(IsDecisionGridTotalCell(&Grid, TPoint{2, 0}, false)) << "the Year total column";
  EXPECT_FALSE(IsDecisionGridTotalCell(&Grid, TPoint{3, 0}, true)) << "right of the data columns";
  EXPECT_FALSE(IsDecisionGridTotalCell(&Grid, TPoint{0, 6}, false)) << "below the data rows";
  EXPECT_FALSE(IsDecisionGridTotalCell(nullptr, TPoint{0, 0}, true));
}
