// The headless INI files against the table that the end-to-end test runs on the system's
// profile API under Wine.
#include <gtest/gtest.h>

#include <filesystem>

#include "framework/IniFiles.h"
#include "framework/headless/IniFiles.h"
#include "tests/framework/IniFilesCases.h"
#include "tests/support/TempDir.h"

TEST(IniFiles, GiveTheResultsOfTheSystemsProfileApi) {
  TTempDir Dir;
  Headless::SetWindowsDirectory(Dir.Sub("windows"));
  IniCases::Run(Dir.Sub("files"));
  Headless::SetWindowsDirectory("");
}

TEST(IniFiles, ABareNameLiesInTheWindowsDirectoryATestSets) {
  TTempDir Dir;
  const std::string Windows = Dir.Sub("windows");
  Headless::SetWindowsDirectory(Windows + "/");
  EXPECT_EQ(WindowsDirectory(), Windows);
  TIniFile("Vellumix.Ini").WriteInteger("Form:fmVlxPreview User:", "Window Top", 7);
  EXPECT_EQ(IniCases::FileText(Windows + "/Vellumix.Ini"), "[Form:fmVlxPreview User:]\r\nWindow Top=7\r\n");
  // Without one, a private folder of the process, which exists.
  Headless::SetWindowsDirectory("");
  EXPECT_NE(WindowsDirectory(), Windows);
  EXPECT_TRUE(std::filesystem::is_directory(WindowsDirectory()));
}
