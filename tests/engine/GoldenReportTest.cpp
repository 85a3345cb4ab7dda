// Whole reports printed to a text file, compared byte for byte with the golden files in
// tests/engine/golden (one per case of tests/support/GoldenReports.cpp, named after it).
// Each run's output is also left in golden-actual/ of the build folder for a look or a diff.
// To accept new output after a deliberate change, run the test with VERSORA_UPDATE_GOLDEN=1:
// it writes the golden files instead of comparing. Look at every file it changes before
// committing (the IBM line-draw bytes read as code page 437: iconv -f CP437 -t UTF-8).
#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "tests/support/GoldenReports.h"
#include "tests/support/HeadlessFixture.h"
#include "tests/support/TempDir.h"

namespace {

void WriteFile(const std::filesystem::path& Name, const std::string& Bytes) {
  std::ofstream(Name, std::ios::binary) << Bytes;
}

// 1-based number of the first line where A and B differ.
int FirstDifferentLine(const std::string& A, const std::string& B) {
  const auto End = std::mismatch(A.begin(), A.end(), B.begin(), B.end()).first;
  return 1 + static_cast<int>(std::count(A.begin(), End, '\n'));
}

}  // namespace

TEST(GoldenReport, PrintedTextFilesMatchTheGoldenFiles) {
  const std::filesystem::path Golden = VERSORA_GOLDEN_DIR, Actual = VERSORA_GOLDEN_ACTUAL_DIR;
  std::filesystem::create_directories(Actual);
  const char* Update = std::getenv("VERSORA_UPDATE_GOLDEN");
  const bool Updating = Update && std::string(Update) == "1";
  for (const GoldenReports::TCase& Case : GoldenReports::Cases()) {
    Headless::Reset();
    Headless::SetNow(EncodeDate(2026, 3, 14) + EncodeTime(9, 26, 53, 0));
    const std::filesystem::path Out = Actual / (Case.Name + ".txt");
    {
      GoldenReports::TReport Report(Case);
      ASSERT_EQ(Report.Print(Out.string()), 1) << Case.Name;
    }
    const std::string Bytes = FileBytes(Out.string());
    if (Updating) {
      WriteFile(Golden / (Case.Name + ".txt"), Bytes);
      continue;
    }
    const std::string Expected = FileBytes((Golden / (Case.Name + ".txt")).string());
    EXPECT_TRUE(Bytes == Expected) << Case.Name << " differs from its golden file from line "
                                   << FirstDifferentLine(Bytes, Expected) << "; the output is in " << Out;
  }
  Headless::Reset();
}
