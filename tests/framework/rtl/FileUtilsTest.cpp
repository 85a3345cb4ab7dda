#include <filesystem>
#include <fstream>

#include "framework/rtl/FileUtils.h"
#include "tests/framework/rtl/RtlTest.h"
#include "tests/support/TempDir.h"

using FileUtilsTest = RtlTest;

TEST_F(FileUtilsTest, NameParts) {
  const std::string F = "C:\\Dir.x\\Sub\\File.txt";
  EXPECT_EQ(ExtractFilePath(F), "C:\\Dir.x\\Sub\\");
  EXPECT_EQ(ExtractFileName(F), "File.txt");
  EXPECT_EQ(ExtractFileExt(F), ".txt");
  ExpectPairs<std::string>({{F, "C:\\Dir.x\\Sub"}, {"C:\\File.txt", "C:\\"}, {"\\File.txt", "\\"},
                            {"/tmp/a/b.txt", "/tmp/a"}, {"/b.txt", "/"}},  // POSIX names natively too
                           [](const std::string& N) { return ExtractFileDir(N); });
  EXPECT_EQ(ExtractFilePath("C:File.txt"), "C:");
  EXPECT_EQ(ExtractFileName("C:File.txt"), "File.txt");
  EXPECT_EQ(ExtractFilePath("File.txt"), "");
  EXPECT_EQ(ExtractFileName("/tmp/a/b.txt"), "b.txt");
  EXPECT_EQ(ExtractFileExt("C:\\Dir.x\\File"), "");
  EXPECT_EQ(ExtractFileExt("archive.tar.gz"), ".gz");
  EXPECT_EQ(ChangeFileExt("Rpt.txt", ".bak"), "Rpt.bak");
  EXPECT_EQ(ChangeFileExt("Dir.x\\Rpt", ".ini"), "Dir.x\\Rpt.ini");
  EXPECT_EQ(ChangeFileExt("Rpt.txt", ""), "Rpt");
  EXPECT_EQ(IncludeTrailingPathDelimiter("C:\\Dir\\"), "C:\\Dir\\");
  EXPECT_EQ(IncludeTrailingPathDelimiter("C:\\Dir"), std::string("C:\\Dir") + PathDelim);
  EXPECT_EQ(IncludeTrailingPathDelimiter(""), std::string(1, PathDelim));
}

TEST_F(FileUtilsTest, FileSystem) {
  TTempDir Dir;
  const std::string D = Dir.Path().string();
  std::ofstream(Dir.Sub("Sub") + "/a.txt") << "x";
  for (const std::string& Yes : {D + "/Sub/a.txt", D + "\\Sub\\a.txt"}) EXPECT_TRUE(FileExists(Yes)) << Yes;
  for (const std::string& No : {D + "/Sub", D + "/Sub/b.txt", std::string()}) EXPECT_FALSE(FileExists(No)) << No;
  for (const std::string& Yes : {D + "/Sub", D + "\\Sub\\", std::string("/")}) EXPECT_TRUE(DirectoryExists(Yes)) << Yes;
  EXPECT_FALSE(DirectoryExists(D + "/Sub/a.txt"));

  const auto Cwd = std::filesystem::current_path();
  std::filesystem::current_path(Dir.Path());
  EXPECT_EQ(ExpandFileName("Sub\\..\\Sub\\.\\a.txt"), D + "/Sub/a.txt");
  EXPECT_EQ(ExpandFileName("Sub/"), D + "/Sub/");
  EXPECT_EQ(ExpandFileName("/x/../../y//z"), "/y/z");
  std::filesystem::current_path(Cwd);
}
