#include "engine/VLMXGbl/LineDraw.h"

#include <fstream>
#include <utility>

#include "engine/Vellumix/ReportSettings.h"
#include "framework/IniFiles.h"
#include "framework/rtl/SysUtils.h"
#include "framework/headless/IniFiles.h"
#include "tests/support/HeadlessFixture.h"
#include "tests/support/TempDir.h"

namespace {

std::string Row(const TLineDrawRow& Chars) { return std::string(Chars.begin(), Chars.end()); }

class LineDrawTest : public HeadlessTest {
protected:
  void SetUp() override {
    HeadlessTest::SetUp();
    Headless::SetWindowsDirectory(Windows);
  }
  void TearDown() override {
    Headless::SetWindowsDirectory("");
    HeadlessTest::TearDown();
  }
  std::string IniPath() const { return Windows + "/Vellumix.Ini"; }
  void WriteIni(const std::string& Text) const { std::ofstream(IniPath(), std::ios::binary) << Text; }

  TTempDir Dir;
  std::string Windows = Dir.Sub("windows");
};

}  // namespace

TEST_F(LineDrawTest, DefaultsWithoutFileTheSectionTheFirstSaveCreatesAndTheRoundTrip) {
  TvlxReportSettings Settings;
  LoadLineDrawStyles(Settings);
  EXPECT_TRUE(Settings.ShowHint);
  const char* Ascii[] = {"------- ", "| || || ", "|-||-+| ", "------- "};
  const char* Ibm[] = {"\xDA\xC4\xC2\xC2\xC4\xC2\xBF ", "\xB3 \xB3\xB3 \xB3\xB3 ",
                       "\xC3\xC4\xB3\xC3\xC4\xC5\xB4 ", "\xC0\xC4\xC1\xC1\xC4\xC1\xD9 "};
  for (int R = 0; R < 4; ++R) {
    EXPECT_EQ(Row(Settings.GridChrsAscii[R]), Ascii[R]) << R;
    EXPECT_EQ(Row(Settings.GridChrsIbm[R]), Ibm[R]) << R;
  }
  EXPECT_EQ(FileBytes(IniPath()), "(none)");  // loading writes nothing

  // Saved under the names below, in this order; a value may lose its trailing blanks, and
  // the tree rows are written empty.
  SaveLineDrawStyles(Settings);
  const TIniFile Ini("Vellumix.Ini");
  TStringList Keys;
  Ini.ReadSection("Default", Keys);
  std::vector<std::string> Stored{"Show Hint=1", "Report-Tree IBM LineDraw=", "Report-Tree ASCII LineDraw="};
  for (const char* Set : {"IBM", "ASCII"})
    for (int R = 0; R < 4; ++R)
      Stored.push_back(std::string("Report-Grid ") + Set + " LineDraw" + std::to_string(R) + "=" +
                       TrimRight(*Set == 'I' ? Ibm[R] : Ascii[R]));
  std::vector<std::string> Read;
  for (int I = 0; I < Keys.Count(); ++I) Read.push_back(Keys[I] + "=" + Ini.ReadString("Default", Keys[I], "?"));
  EXPECT_EQ(Read, Stored);

  // Every row comes back as it was saved, blanks and quotes included; a second save adds nothing.
  Settings.ShowHint = false;
  const char* Rows[] = {" -+- -+ ", "\"|||||\" ", "'abcdef'", "12345678"};
  for (int R = 0; R < 4; ++R) {
    StrToShortStr(Rows[R], Settings.GridChrsAscii[R], 7);
    StrToShortStr(Rows[3 - R], Settings.GridChrsIbm[R], 7);
  }
  SaveLineDrawStyles(Settings);
  SaveLineDrawStyles(Settings);
  TvlxReportSettings Loaded;
  LoadLineDrawStyles(Loaded);
  EXPECT_FALSE(Loaded.ShowHint);
  EXPECT_EQ(Loaded.GridChrsAscii, Settings.GridChrsAscii);
  EXPECT_EQ(Loaded.GridChrsIbm, Settings.GridChrsIbm);
  Ini.ReadSection("Default", Keys);
  EXPECT_EQ(Keys.Count(), 11);
}

TEST_F(LineDrawTest, StoredRowsAreCutOrFilledAndMissingOnesKeepTheirDefault) {
  WriteIni(
      "[Other]\r\nReport-Grid ASCII LineDraw0=xxxxxxxx\r\n"
      "[default]\r\n"
      "Show Hint=0\r\n"
      "Report-Grid ASCII LineDraw0=+-+\r\n"
      "Report-Grid ASCII LineDraw1=ABCDEFGHIJKL\r\n"
      "Report-Grid ASCII LineDraw2=\r\n"
      "Report-Grid IBM LineDraw 3=########\r\n"
      "Report-Grid IBM LineDraw1=\"  ab  \"\r\n"
      "Report-Tree IBM LineDraw=abcde\r\nReport-Tree ASCII LineDraw=+-|\r\n");
  TvlxReportSettings Settings;
  LoadLineDrawStyles(Settings);
  EXPECT_FALSE(Settings.ShowHint);
  // The tree rows are never read (the first save writes them empty).
  EXPECT_EQ(Settings.TreeChrsIbm, (std::array<char, 5>{}));
  EXPECT_EQ(Settings.TreeChrsAscii, (std::array<char, 5>{}));
  EXPECT_EQ(Row(Settings.GridChrsAscii[0]), "+-+     ");
  EXPECT_EQ(Row(Settings.GridChrsAscii[1]), "ABCDEFGH");
  EXPECT_EQ(Row(Settings.GridChrsAscii[2]), "        ");
  EXPECT_EQ(Row(Settings.GridChrsAscii[3]), "------- ");
  EXPECT_EQ(Row(Settings.GridChrsIbm[1]), "  ab    ");
  // The key is the text and the digit with no blank between them.
  EXPECT_EQ(Row(Settings.GridChrsIbm[3]), "\xC0\xC4\xC1\xC1\xC4\xC1\xD9 ");

  WriteIni("[Default]\r\nShow Hint=yes\r\n");
  LoadLineDrawStyles(Settings);
  EXPECT_TRUE(Settings.ShowHint);
}

TEST(LineDrawChars, ShortStringsStayInsideTheirArray) {
  std::array<char, 8> Chars;
  Chars.fill('#');
  StrToShortStr("ab", Chars, 4);
  EXPECT_EQ(std::string(Chars.begin(), Chars.end()), "ab   ###");
  StrToShortStr("abcdefghij", Chars, 7);
  EXPECT_EQ(std::string(Chars.begin(), Chars.end()), "abcdefgh");
  std::array<char, 3> Small{'x', 'x', 'x'};
  StrToShortStr("abcdef", Small, 7);
  EXPECT_EQ(std::string(Small.begin(), Small.end()), "abc");
  StrToShortStr("abc", Small, -1);
  EXPECT_EQ(std::string(Small.begin(), Small.end()), "abc");

  EXPECT_EQ(CharArrayToString(Chars, 3), "abcd");
  EXPECT_EQ(CharArrayToString(Chars, 20), "abcdefgh");
  EXPECT_EQ(CharArrayToString(std::array<char, 5>{}, 4), "");
  EXPECT_EQ(CharArrayToString(std::array<char, 4>{'a', 'b', '\0', 'c'}, 3), "ab");
}
