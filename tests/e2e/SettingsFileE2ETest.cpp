// The report-settings file on a real Windows file system: a section the program writes is the
// section it reads back, line for line in CR LF, and the lock file keeps the system's share
// modes, so other programs opening it against them are refused.
#include "engine/Vellumix/FileMgr.h"
#include "engine/Vellumix/ReportSettings.h"
#include "engine/Vellumix/Vellumix.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "tests/support/TempDir.h"

namespace {

bool Exists(const std::string& Name) { return GetFileAttributesA(Name.c_str()) != INVALID_FILE_ATTRIBUTES; }

// Whether another program could open the lock file with this access and sharing right now.
bool OthersMayOpen(const std::string& Name, DWORD Access, DWORD Share) {
  HANDLE H = CreateFileA(Name.c_str(), Access, Share, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (H == INVALID_HANDLE_VALUE) {
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SHARING_VIOLATION));
    return false;
  }
  CloseHandle(H);
  return true;
}

}  // namespace

TEST(SettingsFile, WhatTheProgramWritesItReadsBack) {
  TTempDir Dir;
  const std::string Name = Dir / "RptSet.Txt";
  TvlxVellumix Vlx(nullptr);
  Vlx.SetReportSettingsFileName(Name);
  Vlx.SetUserName("Clerk");
  Vlx.SetReportId("Sales (123.456)");
  TvlxReportSettings Written;
  Vlx.FileMgr()->SetReportSettings(&Written);
  Vlx.LoadReportSettings();
  Written.PrintWhat = pwPageRange;
  Written.PageRangeTo = {0, 12};
  Written.InitPrinterStr = "A=B";
  Written.RptMemo(RptTi)->Text = "Monthly sales\r\n[Draft]";
  Vlx.SaveReportSettings();

  const std::string Content = FileBytes(Name);
  const std::string Head = "\r\n[Clerk:Sales (123.456)]\r\nPrintWhat=6\r\nPageRangeTo=0,12\r\n";
  EXPECT_EQ(Content.substr(0, Head.size()), Head);
  EXPECT_NE(Content.find("Memo,RptTi=START\r\nMonthly sales\r\n[Draft]\r\nMemo,RptTi=END\r\n"
                         "Memo,PgNum=START\r\n\r^DL^PC^TR\r\nMemo,PgNum=END\r\n\r\n"),
            std::string::npos);
  EXPECT_FALSE(Exists(Dir / "RptSet.~LK"));
  EXPECT_FALSE(Exists(Dir / "RptSet.$$$"));

  // Saving again replaces the file in one move: the section stays single and whole.
  Written.PrintWhat = pwCurrentBranch;
  Vlx.SaveReportSettings();

  TvlxReportSettings Read;
  Vlx.FileMgr()->SetReportSettings(&Read);
  Vlx.LoadReportSettings();
  EXPECT_EQ(Read.PrintWhat, 2);
  EXPECT_EQ(Read.PageRangeTo.Y, 12);
  EXPECT_EQ(Read.InitPrinterStr, "A=B");
  EXPECT_EQ(Read.RptMemo(RptTi)->Text, "Monthly sales\r\n[Draft]");
  EXPECT_EQ(Read.RptMemo(PgNum)->Text, "\r^DL^PC^TR");
  Vlx.FileMgr()->SetReportSettings(nullptr);
}

TEST(SettingsFile, TheLockFileUsesTheSystemsShareModes) {
  TTempDir Dir;
  TvlxVellumix Vlx(nullptr);
  Vlx.SetReportSettingsFileName(Dir / "Locks.Txt");
  TvlxFileMgr& Mgr = *Vlx.FileMgr();
  Mgr.PrepareFiles("", "(123.456)");
  const std::string Lock = Mgr.LockFileName();

  ASSERT_TRUE(Mgr.LockSettingsFile(LockForLoading));
  EXPECT_TRUE(OthersMayOpen(Lock, GENERIC_READ, FILE_SHARE_READ)) << "loaders share the lock";
  EXPECT_FALSE(OthersMayOpen(Lock, GENERIC_READ | GENERIC_WRITE, 0)) << "a saver must wait";
  EXPECT_FALSE(OthersMayOpen(Lock, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE));
  Mgr.UnlockSettingsFile();
  EXPECT_FALSE(Exists(Lock)) << "released and deleted";

  ASSERT_TRUE(Mgr.LockSettingsFile(LockForSaving));
  EXPECT_FALSE(OthersMayOpen(Lock, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE)) << "a saver holds it alone";
  // A loader of another program holding it keeps the file when we let go.
  Mgr.UnlockSettingsFile();
  ASSERT_TRUE(Mgr.LockSettingsFile(LockForLoading));
  HANDLE Other = CreateFileA(Lock.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                             FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(Other, INVALID_HANDLE_VALUE);
  Mgr.UnlockSettingsFile();
  EXPECT_TRUE(Exists(Lock));
  CloseHandle(Other);
}
