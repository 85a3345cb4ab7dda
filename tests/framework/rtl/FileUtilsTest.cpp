#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "framework/rtl/FileUtils.h"
#include "tests/framework/rtl/RtlTest.h"

using FileUtilsTest = RtlTest;

TEST_F(FileUtilsTest, NameParts) {
  const std::string F = "C:\\Dir.x\\Sub\\File.txt";
  EXPECT_EQ(ExtractFilePath(F), "C:\\Dir.x\\Sub\\");
  EXPECT_EQ(ExtractFileDir(F), "C:\\Dir.x\\Sub");
  EXPECT_EQ(ExtractFileName(F), "File.txt");
  EXPECT_EQ(ExtractFileExt(F), ".txt");
  EXPECT_EQ(ExtractFileDir("C:\\File.txt"), "C:\\");
  EXPECT_EQ(ExtractFileDir("\\File.txt"), "\\");
  EXPECT_EQ(ExtractFilePath("C:File.txt"), "C:");
  EXPECT_EQ(ExtractFileName("C:File.txt"), "File.txt");
  EXPECT_EQ(ExtractFilePath("File.txt"), "");
  EXPECT_EQ(ExtractFileExt("C:\\Dir.x\\File"), "");
  EXPECT_EQ(ExtractFileExt("archive.tar.gz"), ".gz");
  EXPECT_EQ(ChangeFileExt("Rpt.txt", ".bak"), "Rpt.bak");
  EXPECT_EQ(ChangeFileExt("Dir.x\\Rpt", ".ini"), "Dir.x\\Rpt.ini");
  EXPECT_EQ(ChangeFileExt("Rpt.txt", ""), "Rpt");
  EXPECT_EQ(IncludeTrailingPathDelimiter("C:\\Dir\\"), "C:\\Dir\\");
  EXPECT_EQ(IncludeTrailingPathDelimiter("C:\\Dir"), std::string("C:\\Dir") + PathDelim);
  EXPECT_EQ(IncludeTrailingPathDelimiter(""), std::string(1, PathDelim));
  // The native build also splits POSIX names.
  EXPECT_EQ(ExtractFileDir("/tmp/a/b.txt"), "/tmp/a");
  EXPECT_EQ(ExtractFileDir("/b.txt"), "/");
  EXPECT_EQ(ExtractFileName("/tmp/a/b.txt"), "b.txt");
}

TEST_F(FileUtilsTest, FileSystem) {
  const auto Dir = std::filesystem::temp_directory_path() /
                   ("rtl_fileutils_" + std::to_string(getpid()));
  std::filesystem::create_directories(Dir / "Sub");
  std::ofstream(Dir / "Sub" / "a.txt") << "x";
  const std::string D = Dir.string();

  EXPECT_TRUE(FileExists(D + "/Sub/a.txt"));
  EXPECT_TRUE(FileExists(D + "\\Sub\\a.txt"));
  EXPECT_FALSE(FileExists(D + "/Sub"));
  EXPECT_FALSE(FileExists(D + "/Sub/b.txt"));
  EXPECT_FALSE(FileExists(""));
  EXPECT_TRUE(DirectoryExists(D + "/Sub"));
  EXPECT_TRUE(DirectoryExists(D + "\\Sub\\"));
  EXPECT_TRUE(DirectoryExists("/"));
  EXPECT_FALSE(DirectoryExists(D + "/Sub/a.txt"));

  const auto Cwd = std::filesystem::current_path();
  std::filesystem::current_path(Dir);
  EXPECT_EQ(ExpandFileName("Sub\\..\\Sub\\.\\a.txt"), D + "/Sub/a.txt");
  EXPECT_EQ(ExpandFileName("Sub/"), D + "/Sub/");
  EXPECT_EQ(ExpandFileName("/x/../../y//z"), "/y/z");
  std::filesystem::current_path(Cwd);
  std::filesystem::remove_all(Dir);
}
