// The report-settings file's lock on a real Windows file system keeps the system's share modes,
// so other programs opening it against them are refused. (Saving over an existing file and
// reading it back is every scenario's that saves its options.)
#include "engine/Vellumix/FileMgr.h"
#include "engine/Vellumix/ReportSettings.h"
#include "engine/Vellumix/Vellumix.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <fstream>
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

  // An editor's UTF-8 byte-order mark before the first section costs it nothing in a save of another report.
  const std::string First = "[First (111.111)]\r\nPrintWhat=6\r\n\r\n";
  std::ofstream(Dir / "Locks.Txt", std::ios::binary) << "\xEF\xBB\xBF" << First;
  TvlxReportSettings Settings;
  Mgr.SetReportSettings(&Settings);
  std::string User, Id = "Second (222.222)";
  Mgr.SaveReportSettingsSimple(User, Id, true);
  EXPECT_EQ(FileBytes(Dir / "Locks.Txt").substr(0, First.size()), First) << "kept, no longer behind the mark";
}
