// A report component with its file manager bound to a settings object, over a settings file
// in a fresh temporary folder that also stands for the Windows directory.
#pragma once
#include <fstream>
#include <string>

#include "engine/Vellumix/FileMgr.h"
#include "engine/Vellumix/ReportSettings.h"
#include "engine/Vellumix/Vellumix.h"
#include "framework/headless/IniFiles.h"
#include "tests/support/HeadlessFixture.h"
#include "tests/support/TempDir.h"

inline void WriteWholeFile(const std::string& Name, const std::string& Content) {
  std::ofstream(Name, std::ios::binary | std::ios::trunc) << Content;
}

class FileMgrTest : public HeadlessTest {
protected:
  TTempDir Temp;
  std::string Dir = Temp.Path().string();
  std::string FileName = Dir + "/RptSet.Txt";
  TvlxReportSettings Settings;
  TvlxVellumix Vlx{nullptr};
  TvlxFileMgr& Mgr = *Vlx.FileMgr();

  void SetUp() override {
    HeadlessTest::SetUp();
    Headless::SetWindowsDirectory(Dir);
    Headless::SetNow(EncodeDate(2026, 1, 5) + EncodeTime(9, 0, 0, 0));
    Vlx.SetReportSettingsFileName(FileName);
    Mgr.SetReportSettings(&Settings);
  }

  void Save(const std::string& User, const std::string& Id) {
    std::string U = User, I = Id;
    Mgr.SaveReportSettingsSimple(U, I, true);
  }
};
