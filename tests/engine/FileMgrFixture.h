// A report component with its file manager bound to a settings object, over a settings file
// in a fresh temporary folder that also stands for the Windows directory.
#pragma once
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "engine/Vellumix/FileMgr.h"
#include "engine/Vellumix/ReportSettings.h"
#include "engine/Vellumix/Vellumix.h"
#include "framework/headless/IniFiles.h"
#include "tests/support/HeadlessFixture.h"

inline std::string ReadWholeFile(const std::string& Name) {
  std::ifstream In(Name, std::ios::binary);
  std::stringstream S;
  S << In.rdbuf();
  return S.str();
}

inline void WriteWholeFile(const std::string& Name, const std::string& Content) {
  std::ofstream(Name, std::ios::binary | std::ios::trunc) << Content;
}

class FileMgrTest : public HeadlessTest {
protected:
  std::string Dir;
  std::string FileName;
  TvlxReportSettings Settings;
  TvlxVellumix Vlx{nullptr};
  TvlxFileMgr& Mgr = *Vlx.FileMgr();

  void SetUp() override {
    HeadlessTest::SetUp();
    std::string Template = (std::filesystem::temp_directory_path() / "filemgr-XXXXXX").string();
    ASSERT_NE(mkdtemp(Template.data()), nullptr);
    Dir = Template;
    FileName = Dir + "/RptSet.Txt";
    Headless::SetWindowsDirectory(Dir);
    Headless::SetNow(EncodeDate(2026, 1, 5) + EncodeTime(9, 0, 0, 0));
    Vlx.SetReportSettingsFileName(FileName);
    Mgr.SetReportSettings(&Settings);
  }
  void TearDown() override {
    std::error_code Ignored;
    std::filesystem::remove_all(Dir, Ignored);
    HeadlessTest::TearDown();
  }

  void Save(const std::string& User, const std::string& Id) {
    std::string U = User, I = Id;
    Mgr.SaveReportSettingsSimple(U, I, true);
  }
};
