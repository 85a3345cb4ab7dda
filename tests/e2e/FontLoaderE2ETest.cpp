// The line-draw font loader under Wine: the font comes out of this program's resources into
// the prefix's fonts folder, font table and registry, and its line-draw bytes, drawn with an
// ANSI font selection, show as joined lines on the screen and on the PDF printer's pages. The
// test takes everything back at its start and its end, so it leaves the prefix as it found it.
#include "engine/VLMXFont.h"
#include "framework/Classes.h"
#include "framework/FontInstall.h"
#include "framework/Printers.h"
#include "framework/win32/Win32Handles.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "tests/e2e/Pump.h"
#include "tests/e2e/Screenshot.h"
#include "tests/support/GoldenReports.h"

namespace {

const char* const FaceName = "Letter Gothic Line";
const char* const ValueName = "Letter Gothic Line (TrueType)";
const char* const FontKeys[] = {"Software\\Microsoft\\Windows NT\\CurrentVersion\\Fonts",
                                "Software\\Microsoft\\Windows\\CurrentVersion\\Fonts"};
// A box of the IBM line-draw set: corners, tees, the cross, both lines.
const char* const BoxRows[] = {"\xDA\xC4\xC2\xC4\xBF", "\xB3 \xB3 \xB3", "\xC3\xC4\xC5\xC4\xB4",
                               "\xC0\xC4\xC1\xC4\xD9"};
constexpr int CellHeight = 40;

std::string FontsFolder() { return SystemFontsFolder() + "\\"; }

std::string RegistryValue(const char* Key) {
  char Buffer[MAX_PATH] = {};
  DWORD Size = sizeof Buffer;
  HKEY K = nullptr;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, Key, 0, KEY_QUERY_VALUE, &K) != ERROR_SUCCESS) return "(no key)";
  const LONG R = RegQueryValueExA(K, ValueName, nullptr, nullptr, reinterpret_cast<BYTE*>(Buffer), &Size);
  RegCloseKey(K);
  return R == ERROR_SUCCESS ? Buffer : "(none)";
}

// Whatever an earlier or this run installed: the font table entries, the files, the values.
void TakeBack() {
  const std::string Ttf = FontsFolder() + "LetGothL.ttf", Fot = FontsFolder() + "LetGothL.fot";
  while (RemoveFontResourceA(Fot.c_str())) {}
  while (RemoveFontResourceA(Ttf.c_str())) {}
  std::remove(Fot.c_str());
  std::remove(Ttf.c_str());
  for (const char* Key : FontKeys) {
    HKEY K = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, Key, 0, KEY_SET_VALUE, &K) != ERROR_SUCCESS) continue;
    RegDeleteValueA(K, ValueName);
    RegCloseKey(K);
  }
}

HFONT LineFont() {
  return CreateFontA(-CellHeight, 0, 0, 0, FW_NORMAL, 0, 0, 0, ANSI_CHARSET, OUT_TT_ONLY_PRECIS,
                     CLIP_DEFAULT_PRECIS, NONANTIALIASED_QUALITY, FIXED_PITCH | FF_MODERN, FaceName);
}

LRESULT CALLBACK BoxProc(HWND Window, UINT Msg, WPARAM W, LPARAM L) {
  if (Msg != WM_PAINT) return DefWindowProcA(Window, Msg, W, L);
  PAINTSTRUCT Paint;
  HDC Dc = BeginPaint(Window, &Paint);
  RECT All;
  GetClientRect(Window, &All);
  FillRect(Dc, &All, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  HFONT Font = LineFont();
  HGDIOBJ Old = SelectObject(Dc, Font);
  TEXTMETRICA Metrics;
  GetTextMetricsA(Dc, &Metrics);
  SetTextColor(Dc, 0x000000);
  SetBkMode(Dc, TRANSPARENT);
  for (int Row = 0; Row < 4; ++Row)
    TextOutA(Dc, 0, Row * Metrics.tmHeight, BoxRows[Row], static_cast<int>(strlen(BoxRows[Row])));
  SelectObject(Dc, Old);
  DeleteObject(Font);
  EndPaint(Window, &Paint);
  return 0;
}

bool Dark(std::uint32_t Rgb) { return ((Rgb >> 16) & 0xFF) + ((Rgb >> 8) & 0xFF) + (Rgb & 0xFF) < 3 * 128; }

class FontLoaderE2E : public ::testing::Test {
protected:
  void SetUp() override { TakeBack(); }
  void TearDown() override { TakeBack(); }
  TComponent Owner{nullptr};
};

TEST_F(FontLoaderE2E, InstallsFromTheProgramAndDrawsLines) {
  ASSERT_FALSE(FontFamilyInstalled(FaceName)) << "the prefix has the font before the test";
  std::string Resource;
  ASSERT_EQ(LoadModuleResource("VLMXFONT", "VLXLINEDRAW", Resource), TResourceLookup::Found);

  TvlxFontLoader Loader(&Owner, "VLXLINEDRAW", "VLMXFONT", FaceName, "LetGothL.TTF");
  Loader.Install();
  EXPECT_TRUE(Loader.Installed());
  EXPECT_EQ(Loader.TtfPath(), FontsFolder() + "LetGothL.ttf");
  EXPECT_EQ(Loader.FotPath(), FontsFolder() + "LetGothL.fot");
  EXPECT_NE(GetFileAttributesA(Loader.FotPath().c_str()), INVALID_FILE_ATTRIBUTES);
  WIN32_FILE_ATTRIBUTE_DATA Ttf{};
  ASSERT_TRUE(GetFileAttributesExA(Loader.TtfPath().c_str(), GetFileExInfoStandard, &Ttf));
  EXPECT_EQ(Ttf.nFileSizeLow, Resource.size());
  for (const char* Key : FontKeys) EXPECT_EQ(RegistryValue(Key), Loader.TtfPath()) << Key;
  EXPECT_TRUE(FontFamilyInstalled("LETTER GOTHIC LINE"));

  // Present now, so a second loader leaves it alone.
  TvlxFontLoader Second(&Owner, "VLXLINEDRAW", "VLMXFONT", FaceName, "LetGothL.TTF");
  Second.Install();
  EXPECT_FALSE(Second.Installed());
  EXPECT_TRUE(Second.FontData().empty());

  // Read back by name, through the registry and through the screen, it is the resource's font.
  // (The stored property's size and bytes are FontLoaderTest's.)
  EXPECT_EQ(FontFileFromRegistry(FaceName), "LetGothL.ttf");
  {
    // Closed before the uninstall below, which could not delete an open file.
    std::ifstream File(FontsFolder() + FontFileFromRegistry(FaceName), std::ios::binary);
    EXPECT_TRUE(std::string(std::istreambuf_iterator<char>(File), {}) == Resource);
  }
  std::string ByName;
  GetFontDataOfName(FaceName, ByName);
  EXPECT_TRUE(ByName == Resource) << ByName.size() << " bytes read back";
  EXPECT_EQ(GetFontKind(FaceName), 1);
  // In a designer, naming the installed font captures it; an empty name lets it go.
  Owner.SetComponentStateBit(csDesigning, true);
  TvlxFontLoader Designed(&Owner, "VLXLINEDRAW", "VLMXFONT", "", "");
  Designed.SetFontName(FaceName);
  EXPECT_TRUE(Designed.FontData() == Resource);
  EXPECT_EQ(Designed.FontKind(), 1);
  EXPECT_EQ(Designed.InstallFileName(), "LetGothL.ttf");
  Designed.SetFontName("");
  EXPECT_TRUE(Designed.FontData().empty() && Designed.FontName().empty() && Designed.InstallFileName().empty());
  Owner.SetComponentStateBit(csDesigning, false);

  // The ANSI selection gets our face, not a substitute.
  HDC Screen = GetDC(nullptr);
  HFONT Font = LineFont();
  HGDIOBJ Old = SelectObject(Screen, Font);
  char Face[LF_FACESIZE] = {};
  GetTextFaceA(Screen, LF_FACESIZE, Face);
  TEXTMETRICA Metrics;
  GetTextMetricsA(Screen, &Metrics);
  SelectObject(Screen, Old);
  DeleteObject(Font);
  ReleaseDC(nullptr, Screen);
  EXPECT_STREQ(Face, FaceName);

  WNDCLASSA Class{};
  Class.lpfnWndProc = BoxProc;
  Class.hInstance = GetModuleHandleA(nullptr);
  Class.lpszClassName = "VersoraLineFontTest";
  RegisterClassA(&Class);
  const int Width = 5 * Metrics.tmAveCharWidth, Height = 4 * Metrics.tmHeight;
  HWND Window = CreateWindowExA(WS_EX_TOPMOST, Class.lpszClassName, "Line font", WS_POPUP | WS_VISIBLE,
                                40, 40, Width, Height, nullptr, nullptr, Class.hInstance, nullptr);
  ASSERT_NE(Window, nullptr);
  UpdateWindow(Window);
  TScreenImage Image;
  // The X server paints when it gets to it: wait until the top-left corner shows.
  PumpUntil([&] {
    Image = CaptureWindow(Window);
    return Image.Width == Width && Dark(Image.At(Width / 10, Metrics.tmHeight / 2 + 1));
  });
  SaveBmp(Image, "FontLoaderE2E_LineDrawBox");
  DestroyWindow(Window);
  ASSERT_EQ(Image.Width, Width);

  // Each horizontal row of the box is one unbroken line from the first cell's middle to the
  // last's, and the three verticals one unbroken line from the top row to the bottom row:
  // letters (what the bytes show in other fonts) would leave gaps between the cells.
  const int Cell = Metrics.tmAveCharWidth, Line = Metrics.tmHeight;
  auto RowJoined = [&](int Row) {
    for (int Y = Row * Line; Y < (Row + 1) * Line; ++Y) {
      bool All = true;
      for (int X = Cell / 2 + 2; X < Width - Cell / 2 - 2 && All; ++X) All = Dark(Image.At(X, Y));
      if (All) return true;
    }
    return false;
  };
  auto ColumnJoined = [&](int Column) {
    for (int X = Column * Cell; X < (Column + 1) * Cell; ++X) {
      bool All = true;
      for (int Y = Line / 2 + 2; Y < Height - Line / 2 - 2 && All; ++Y) All = Dark(Image.At(X, Y));
      if (All) return true;
    }
    return false;
  };
  for (int Row : {0, 2, 3}) EXPECT_TRUE(RowJoined(Row)) << "row " << Row;
  EXPECT_FALSE(RowJoined(1));
  for (int Column : {0, 2, 4}) EXPECT_TRUE(ColumnJoined(Column)) << "column " << Column;
  EXPECT_FALSE(ColumnJoined(1));

  // Taking it back leaves no file; the registry values stay until the test's own clean-up.
  Loader.Uninstall();
  EXPECT_EQ(GetFileAttributesA(FontsFolder().append("LetGothL.ttf").c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(RegistryValue(FontKeys[0]), FontsFolder() + "LetGothL.ttf");
}

// A report with IBM line drawing, printed on the PDF printer's canvas once the report window's
// start has installed the font: its borders must come out in the line-draw font, not in the
// letters that a substitute font shows for those bytes. CheckPdf.sh, run by ctest after this
// test, holds the PDF's text against the golden pages of the same report.
TEST_F(FontLoaderE2E, IbmReportPrintsItsBordersInTheLineFontOnThePdfPrinter) {
  const int Index = Printer()->Printers().IndexOf("PDF");
  ASSERT_GE(Index, 0) << "Wine lists no printer PDF";
  ASSERT_FALSE(FontFamilyInstalled(FaceName)) << "the prefix has the font before the test";
  TvlxFontLoader Loader(&Owner, "VLXLINEDRAW", "VLMXFONT", FaceName, "LetGothL.TTF");
  Loader.Install();
  ASSERT_TRUE(Loader.Installed());

  Printer()->SetPrinterIndex(Index);
  // Differs in every run, so a PDF left over from an earlier run is never taken for this one's.
  const std::string Token =
      "LineFont" + std::to_string(GetCurrentProcessId()) + "T" + std::to_string(GetTickCount());
  {
    GoldenReports::TReport Report(GoldenReports::Find(VERSORA_LINE_FONT_CASE));
    ASSERT_EQ(Report.Settings.OutputQuality, 1) << "not a report with IBM line drawing";
    Report.Settings.ReportDesc = "FontLoaderE2E " + Token;
    // Small enough for the widest line to fit the sheet; the characters stay the golden file's.
    Report.Settings.TextFontSize = 7;
    ASSERT_EQ(Report.Print("", GoldenReports::TReport::TOutput::PrinterCanvas), 1);
    EXPECT_FALSE(Printer()->Aborted());
  }
  const std::string Out = VERSORA_LINE_FONT_OUTPUT_DIR;
  CreateDirectoryA(Out.c_str(), nullptr);
  std::ofstream Marker(Out + "/pdf-job.txt", std::ios::binary);
  Marker << Token << "\n";
  ASSERT_TRUE(Marker.good());
}

}  // namespace
