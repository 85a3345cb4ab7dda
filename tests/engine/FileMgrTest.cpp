// The settings-file manager on real files: sections on disk, loading, the lock, the file's
// location and every message.
#include <sys/stat.h>
#include <unistd.h>

#include <map>
#include <random>
#include <string>
#include <vector>

#include "engine/VLMXGbl/ObjInfo.h"
#include "engine/VLMXGbl/OutputFile.h"
#include "engine/VLMXGbl0.h"
#include "engine/Vellumix/ReportId.h"
#include "engine/Vellumix/SettingsKeys.h"
#include "framework/Dialogs.h"
#include "framework/IniFiles.h"
#include "framework/rtl/FileUtils.h"
#include "tests/engine/FileMgrFixture.h"

namespace {

const std::string Before = "[Other:First (001.001)]\r\nPrintWhat=1\r\n\r\n";
const std::string Example =
    "[Clerk:Sales (123.456)]\r\n"
    "PrintWhat=6\r\n"
    "PageRangeTo=0,12\r\n"
    "Memo,RptTi=START\r\n"
    "Monthly sales\r\n"
    "Memo,RptTi=END\r\n"
    "Memo,PgNum=START\r\n"
    "\r^DL^PC^TR\r\n"
    "Memo,PgNum=END\r\n"
    "\r\n";
const std::string After = "[(999.999)]\r\nMemo,RptHdr=START\r\n[Draft]\r\nMemo,RptHdr=END\r\n\r\n";
// The dates of a report loaded at the virtual clock's start and never stamped since.
const std::string Dates = "CreateDate=20260105.090000\r\nLastSaveDate=20260105.090000\r\n";

}  // namespace

TEST_F(FileMgrTest, ReadsAndRewritesTheExampleSectionByteForByte) {
  WriteWholeFile(FileName, Before + Example + After);
  Mgr.LoadReportSettings("Clerk", "Sales (123.456)");
  EXPECT_EQ(Settings.PrintWhat, 6);
  EXPECT_EQ(Settings.PageRangeTo, (TPoint{0, 12}));
  EXPECT_EQ(Settings.RptMemo(RptTi)->Text, "Monthly sales");
  EXPECT_EQ(Settings.RptMemo(PgNum)->Text, "\r^DL^PC^TR");

  Save("Clerk", "Sales (123.456)");
  const std::string Written = Example.substr(0, Example.find("Memo,RptTi")) + Dates +
                              Example.substr(Example.find("Memo,RptTi"));
  EXPECT_EQ(FileBytes(FileName), Before + Written + After);
  EXPECT_FALSE(FileExists(Mgr.LockFileName())) << "the lock file goes with the lock";
  EXPECT_FALSE(FileExists(Mgr.TempFileName())) << "the temporary file became the settings file";

  // Saving again rewrites nothing else; a changed value changes its line only.
  Settings.PrintWhat = pwCurrentBranch;
  Save("Clerk", "Sales (123.456)");
  std::string Expected = Before + Written + After;
  Expected.replace(Expected.find("PrintWhat=6"), 11, "PrintWhat=2");
  EXPECT_EQ(FileBytes(FileName), Expected);
}

TEST_F(FileMgrTest, ANewSectionIsAppendedAfterAnEmptyLine) {
  const std::string Old = Before + After.substr(0, After.size() - 2);  // no empty line at the end
  WriteWholeFile(FileName, Old);
  Mgr.LoadReportSettings("Clerk", "New (555.555)");
  Settings.InitPrinterStr = "A=B";
  Save("Clerk", "New (555.555)");
  EXPECT_EQ(FileBytes(FileName), Old + "\r\n[Clerk:New (555.555)]\r\n" + Dates + "InitPrinterStr=A=B\r\n"
                                         "Memo,PgNum=START\r\n\r^DL^PC^TR\r\nMemo,PgNum=END\r\n\r\n");
  Settings.InitPrinterStr.clear();
  Mgr.LoadReportSettings("clerk", "NEW (555.555)");
  EXPECT_EQ(Settings.InitPrinterStr, "A=B") << "headers match in any case; a value keeps its \"=\"";
}

TEST_F(FileMgrTest, LoaderRulesForOldKeysMemosAndHeaders) {
  WriteWholeFile(FileName,
                 "[R (100.100)]\r\n"
                 "HideColumns=Price\r\n"
                 "ioLineNumbers=0\r\n"
                 "soBorders=0\r\n"
                 "SOColumnTitles=0\r\n"
                 "NoSuchKey=1\r\n"
                 "Memo,NoSuchMemo=START\r\n"
                 "into the title\r\n"
                 "Memo,NoSuchMemo=END\r\n"
                 "[Trailing (200.200)]  \r\n"
                 "PrintWhat=3\r\n");
  Mgr.LoadReportSettings("", "R (100.100)");
  EXPECT_EQ(Settings.HideColumns, "~Line#");
  EXPECT_FALSE(Settings.ItemOpt(ioBorders));
  EXPECT_TRUE(Settings.ItemOpt(ioColumnTitles)) << "only the lower-case \"so\" is the old spelling";
  EXPECT_EQ(Settings.RptMemo(RptTi)->Text, "into the title");

  Mgr.LoadReportSettings("", "Trailing (200.200)");
  EXPECT_EQ(Settings.PrintWhat, 0) << "a header with trailing blanks is not that section";
  EXPECT_EQ(Settings.HideColumns, "") << "the defaults replace what was loaded before";
}

TEST_F(FileMgrTest, AnEmptiedPageNumberMemoComesBackAsItsDefault) {
  Mgr.LoadReportSettings("", "(123.456)");
  Settings.RptMemo(PgNum)->Text.clear();
  Settings.RptMemo(Copyright)->Text = "never stored";
  Save("", "(123.456)");
  EXPECT_EQ(FileBytes(FileName), "\r\n[(123.456)]\r\n" + Dates + "\r\n");
  Mgr.LoadReportSettings("", "(123.456)");
  EXPECT_EQ(Settings.RptMemo(PgNum)->Text, "\r^DL^PC^TR");
}

TEST_F(FileMgrTest, AReadOnlyFileIsNeverLockedNorWritten) {
  WriteWholeFile(FileName, Before + Example);
  chmod(FileName.c_str(), 0444);
  Mgr.LoadReportSettings("Clerk", "Sales (123.456)");
  EXPECT_EQ(Settings.PrintWhat, 6);
  Settings.PrintWhat = pwCurrentPage;
  Save("Clerk", "Sales (123.456)");
  Save("Clerk", "Brand new (777.777)");
  EXPECT_EQ(FileBytes(FileName), Before + Example);
  EXPECT_FALSE(FileExists(Mgr.LockFileName()));
  EXPECT_FALSE(FileExists(Mgr.TempFileName()));
  EXPECT_TRUE(Headless::CursorChanges().empty());
}

TEST_F(FileMgrTest, ABusyLockAsksAndAbortKeepsTheDefaultsOrFailsTheSave) {
  WriteWholeFile(FileName, Example);
  const std::string LockName = Dir + "/RptSet.~LK";
  ASSERT_EQ(LockFileCreate(LockName), 0);
  int Code;
  TLockHandle Held = LockFileOpen(LockName, LockForSaving, Code);
  ASSERT_NE(Held, InvalidLockHandle);
  const std::string Question = "ReportSettings Lock File \"" + LockName + "\" is busy.\r Do you want to retry?";

  const unsigned Start = TickCount();
  Headless::QueueAnswer(MsgBox::IdRetry);
  Headless::QueueAnswer(MsgBox::IdAbort);
  Mgr.LoadReportSettings("Clerk", "Sales (123.456)");
  EXPECT_EQ(Settings.PrintWhat, 0) << "the defaults stay";
  EXPECT_FALSE(Mgr.Locked());
  ASSERT_EQ(Headless::MessageBoxes().size(), 2u);
  EXPECT_EQ(Headless::MessageBoxes()[0].Text, Question);
  EXPECT_EQ(Headless::MessageBoxes()[0].Buttons, mbAbort | mbRetry);
  EXPECT_GT(TickCount() - Start, 20000u) << "two waiting periods of 10 s";

  EXPECT_THROW_MSG(Save("Clerk", "Sales (123.456)"), eVlxError,
                   "Vellumix! Error: Unable to save Report Settings for ReportId:Sales (123.456)");
  EXPECT_EQ(FileBytes(FileName), Example);
  EXPECT_EQ(Headless::CursorChanges().back(), crDefault) << "the hourglass is gone";

  // A load shares the lock with other loaders; a holder that lets go while we wait is seen, as
  // the wait keeps the messages flowing.
  LockFileRelease(Held, LockName);
  Held = LockFileOpen(LockName, LockForLoading, Code);
  Mgr.LoadReportSettings("Clerk", "Sales (123.456)");
  EXPECT_EQ(Settings.PrintWhat, 6);
  Application->Post(Application, [&] { LockFileRelease(Held, LockName); });
  Save("Clerk", "Sales (123.456)");
  EXPECT_EQ(Headless::MessageBoxes().size(), 3u) << "only the aborted save asked";
  EXPECT_FALSE(FileExists(LockName));
}

TEST_F(FileMgrTest, EveryFailureHasItsMessage) {
  std::filesystem::create_directory(Dir + "/RptSet.$$$");
  EXPECT_THROW_MSG(Save("", "(123.456)"), eVlxSUError,
                   "Vellumix! Setup Error: Unable to open file: " + Dir +
                       "/RptSet.$$$\rbecause it is locked by another application. Close the other application "
                       "and try again.\r\rI/O Error:5");
  EXPECT_FALSE(FileExists(Dir + "/RptSet.~LK")) << "the exception left through the unlock";

  std::filesystem::create_directory(Dir + "/RptSet.~LK");
  EXPECT_THROW_MSG(Save("", "(123.456)"), eVlxIntError,
                   "Vellumix! Internal Error: Locking file: \"" + Dir + "/RptSet.~LK\"\rUnexpected I/O Error=5");

  Vlx.SetReportSettingsFileName(Dir + "/Dangling.Txt");
  std::filesystem::create_symlink(Dir + "/missing/lock", Dir + "/Dangling.~LK");
  EXPECT_THROW_MSG(Mgr.LoadReportSettings("", "(123.456)"), Exception,
                   "Unable to create file \"" + Dir + "/Dangling.~LK\" . I/O Error:2");

  Vlx.SetReportSettingsFileName(Dir + "/Linked.Txt");
  std::filesystem::create_symlink(Dir + "/missing/file", Dir + "/Linked.Txt");
  EXPECT_THROW_MSG(Mgr.LoadReportSettings("", "(123.456)"), eVlxSUError,
                   "Vellumix! Setup Error: I/O Error: 2 creating file \"" + Dir + "/Linked.Txt");

  Vlx.SetReportSettingsFileName(FileName);
  std::filesystem::remove(Dir + "/RptSet.~LK");
  WriteWholeFile(FileName, "[(111.111)]\r\n[(222.222)]\r\n");
  std::string User, Id;
  EXPECT_THROW_MSG(Mgr.SaveReportSettings("", "(111.111)", "", "(222.222)", false, User, Id), eVlxSUError,
                   "Vellumix! Setup Error: ReportId \"[(222.222)]\" already exists in file:" + FileName);

  Mgr.SetReportSettings(nullptr);
  EXPECT_THROW_MSG(Mgr.LoadReportSettings("", "(111.111)"), eVlxIntError,
                   "Vellumix! Internal Error: Attempt to load report settings before running TvlxVellumix.Print method");
  EXPECT_EQ(FileBytes(FileName), "[(111.111)]\r\n[(222.222)]\r\n");
}

TEST_F(FileMgrTest, TheFileLiesWhereThePropertyTheDataDirectoriesOrTheProgramSay) {
  Vlx.SetReportSettingsFileName("");
  Headless::SetExeName(Dir + "/Prog.exe");
  const std::string Listed = Dir + "/Prog.VLY";
  EXPECT_EQ(Vlx.GetReportSettingsFile(), Listed);
  EXPECT_EQ(Headless::BeepCount(), 1) << "neither file exists yet";
  Mgr.LoadReportSettings("", "(123.456)");
  EXPECT_EQ(FileBytes(Listed), "") << "the first load creates it empty";
  EXPECT_EQ(Headless::BeepCount(), 2);
  std::filesystem::create_directory(Dir + "/Prog.VLX");
  WriteWholeFile(Dir + "/Prog.VLX/RptSet.Txt", "");
  EXPECT_EQ(Vlx.GetReportSettingsFile(), Dir + "/Prog.VLX\\RptSet.Txt");
  EXPECT_EQ(Headless::BeepCount(), 2) << "no beep once a file exists";

  TIniFile DataDirs("VLMXDirs.Ini");
  DataDirs.WriteString("Vellumix! Data Directories", Dir + "/Prog.exe", "  " + Dir + "/data/sub\\,ignored");
  EXPECT_EQ(Vlx.GetReportSettingsFile(), Dir + "/data/sub\\RptSet.Txt");
  EXPECT_TRUE(DirectoryExists(Dir + "/data/sub"));
  WriteWholeFile(Dir + "/plain", "");
  DataDirs.WriteString("Vellumix! Data Directories", Dir + "/Prog.exe", Dir + "/plain/sub/Mine.Txt");
  EXPECT_THROW_MSG(Vlx.GetReportSettingsFile(), eVlxSUError,
                   "Vellumix! Setup Error: Unable to create directory for ReportSettings\rDirectory:" + Dir +
                       "/plain/sub");

  Vlx.SetReportSettingsFileName(FileName);
  EXPECT_EQ(Vlx.GetReportSettingsFile(), FileName);
}

TEST_F(FileMgrTest, TheComponentGeneratesAnIdKeepsItsUserAndStampsItsSaves) {
  Vlx.SetUserName("Clerk");
  const std::string Id = Vlx.ReportId();
  std::string Checked = Id;
  EXPECT_TRUE(ValidateReportId(Checked, false)) << Id;
  EXPECT_EQ(Vlx.UserName(), "Clerk");
  EXPECT_EQ(FileBytes(FileName), "\r\n[Clerk:" + Id + "]\r\n");
  EXPECT_EQ(Vlx.ReportId(), Id) << "generated once";

  Vlx.LoadReportSettings();
  Settings.PrintWhat = pwTestPage;
  Headless::AdvanceClock(61000);
  Vlx.SaveReportSettings();
  // Lines before the first header, such as the empty line of the first append, are not copied.
  EXPECT_EQ(FileBytes(FileName), "[Clerk:" + Id + "]\r\nPrintWhat=4\r\nCreateDate=20260105.090000\r\n"
                                     "LastSaveDate=20260105.090101\r\nMemo,PgNum=START\r\n\r^DL^PC^TR\r\n"
                                     "Memo,PgNum=END\r\n\r\n");

  // An id that names no valid section is repaired when it is saved, and the component keeps it:
  // also one whose suffix is right but which holds a line break, which would split its header
  // so that the section saved under it is never found again.
  for (const std::string Stored : {"broken id", "Sales\r\n[Other:First (001.001)] (123.456)", "A\nB (123.456)"}) {
    TvlxVellumix Loaded(nullptr);
    Loaded.SetComponentStateBit(csLoading, true);
    Loaded.SetReportId(Stored);
    Loaded.SetComponentStateBit(csLoading, false);
    Loaded.SetReportSettingsFileName(FileName);
    Loaded.FileMgr()->SetReportSettings(&Settings);
    Settings.PrintWhat = pwTestPage;
    Loaded.SaveReportSettings();
    std::string Repaired = Loaded.ReportId();
    EXPECT_TRUE(ValidateReportId(Repaired, false)) << Repaired;
    EXPECT_NE(FileBytes(FileName).find("\r\n[" + Repaired + "]\r\nPrintWhat=4"), std::string::npos) << Repaired;
    Settings.PrintWhat = pwAll;
    Loaded.LoadReportSettings();
    EXPECT_EQ(Settings.PrintWhat, pwTestPage) << "the section saved is the one loaded: " << Repaired;
    EXPECT_THROW(Vlx.SetReportId(Stored), eVlxSUError) << "the property refuses what a save would repair";
  }
}

TEST_F(FileMgrTest, ASettingsFileNamedLikeItsLockOrTemporaryFileIsRefusedAndKept) {
  TIniFile DataDirs("VLMXDirs.Ini");
  Headless::SetExeName(Dir + "/Prog.exe");
  const struct { std::string Property, Listed, File; } Cases[] = {
      {Dir + "/Own.~LK", "", Dir + "/Own.~LK"},
      {Dir + "/Own.$$$", "", Dir + "/Own.$$$"},
      {Dir + "/Own.~lk", "", Dir + "/Own.~lk"},
      {"", Dir + "/Listed.~LK", Dir + "/Listed.~LK"},
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.File);
    Vlx.SetReportSettingsFileName(C.Property);
    DataDirs.WriteString("Vellumix! Data Directories", Dir + "/Prog.exe", C.Listed);
    WriteWholeFile(C.File, Example);
    const std::string Message = "Vellumix! Setup Error: The report settings file \"" + C.File +
                                "\" cannot have the extension " + ExtractFileExt(C.File) +
                                ": the extensions .$$$ and .~LK belong to its temporary and lock files.";
    EXPECT_THROW_MSG(Mgr.LoadReportSettings("Clerk", "Sales (123.456)"), eVlxSUError, Message);
    EXPECT_THROW_MSG(Save("Clerk", "Sales (123.456)"), eVlxSUError, Message);
    EXPECT_EQ(FileBytes(C.File), Example) << "never touched";
  }
}

TEST_F(FileMgrTest, TheSettingsFileAndItsCompanionsAreNoOutputFile) {
  WriteWholeFile(FileName, Example);
  const struct { std::string Name; bool Allowed; } Cases[] = {
      {FileName, false},          {Dir + "/./RPTSET.txt", false}, {Dir + "/sub/../RptSet.~lk", false},
      {Dir + "/RptSet.$$$", false}, {Dir + "/RptSet.Out", true},
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Name);
    Headless::Reset();
    EXPECT_EQ(OutputFileNameAllowed(&Vlx, C.Name), C.Allowed);
    if (C.Allowed) continue;
    ASSERT_EQ(Headless::MessageBoxes().size(), 1u);
    EXPECT_EQ(Headless::MessageBoxes()[0].Text,
              "Output file \"" + C.Name + "\" is the report settings file or its lock or temporary file\r\n\r\n"
              "Solution: Use a different output file name");
  }
  EXPECT_EQ(FileBytes(FileName), Example);
  EXPECT_FALSE(FileExists(Dir + "/RptSet.~LK") || FileExists(Dir + "/RptSet.$$$")) << "nothing was opened";
}

// Every text setting and every stored memo, given texts of any bytes from 1 to 255 built
// around what the file's own lines look like, reads back exactly as written, and no line of
// another report's section changes, also when an editor saved the file with a UTF-8
// byte-order mark before its first section or with bare LF line breaks.
TEST_F(FileMgrTest, EveryTextReadsBackAsWrittenAndTouchesNoOtherLine) {
  const std::string Victim = "[Other:Victim (111.111)]\r\nPrintWhat=1\r\nMemo,PgTi=START\r\nv\r\nw\r\nMemo,PgTi=END\r\n\r\n";
  std::string LfVictim = Victim;
  for (size_t At; (At = LfVictim.find("\r\n")) != std::string::npos;) LfVictim.erase(At, 1);
  const char* const Pieces[] = {"Start", "START", "END", "=", "%", "%0A", "\"", ",", "\";", "[x]", "\r", "\n", "\r\n",
                                " ", "Memo,RptTi=END", "Memo,PgTi=START", "Memo,RptTi,MemoFontName", "~Line#",
                                "[Other:Victim (111.111)]", "[Clerk:Sales (123.456)]"};
  std::mt19937 Random(19);
  const auto Text = [&] {
    std::string T;
    for (int N = Random() % 5; N >= 0; --N) {
      if (Random() % 3) T += Pieces[Random() % std::size(Pieces)];
      else T += static_cast<char>(1 + Random() % 255);
    }
    return T;
  };
  const TvlxSettingsKeys Keys(nullptr);
  for (int Round = 0; Round < 60; ++Round) {
    const std::string Stale = Round % 3 ? "" : "[Clerk:Sales (123.456)]\r\nHorizLineFreq=7\r\n";
    WriteWholeFile(FileName, std::string(Round % 4 == 3 ? "" : Utf8Bom) + (Round % 2 ? LfVictim : Victim) + Stale);
    Mgr.LoadReportSettings("Clerk", "Sales (123.456)");
    TvlxSettingsKeys Setter(&Settings);
    std::map<std::string, std::string> Written;
    for (const TrsfEntry& E : Keys.List()) {
      if (E.Data.Form != rfString) continue;
      Setter.ApplySetting(*Setter.Find(E.Key), Text());
      Setter.SettingsToKeyList();
      // An emptied text that reads as its default is not this test's.
      if (!Setter.Find(E.Key)->Data.Value.empty()) Written[E.Key] = Setter.Find(E.Key)->Data.Value;
    }
    std::vector<std::string> Memos;
    for (int I = 0; I < Copyright; ++I) Memos.push_back(Settings.RptMemo(I)->Text = Text());
    Save("Clerk", "Sales (123.456)");

    for (int I = 0; I < RptMemoCount; ++I) Settings.RptMemo(I)->Text = "stale";
    Mgr.LoadReportSettings("Clerk", "Sales (123.456)");
    TvlxSettingsKeys Loaded(&Settings);
    Loaded.SettingsToKeyList();
    for (const auto& [Key, Value] : Written) EXPECT_EQ(Loaded.Find(Key)->Data.Value, Value) << Key;
    for (int I = 0; I < Copyright; ++I)
      EXPECT_EQ(Settings.RptMemo(I)->Text, Memos[I].empty() && I == PgNum ? PgNumMemoDefaultText : Memos[I]) << I;
    EXPECT_EQ(Settings.PrintWhat, 0);
    EXPECT_FALSE(FileBytes(FileName).starts_with(Utf8Bom)) << "the file is code-page text, and says nothing else";
    Mgr.LoadReportSettings("Other", "Victim (111.111)");
    EXPECT_EQ(Settings.PrintWhat, 1);
    EXPECT_EQ(Settings.RptMemo(PgTi)->Text, "v\r\nw");
    EXPECT_EQ(Settings.ReportDesc, "") << "no line of the other report came from this one";
    if (HasFailure()) break;
  }
}
