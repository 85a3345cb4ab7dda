// INI files and window sizes under Wine: the shared table of tests/framework/IniFilesCases.h
// against the system's private-profile API, and a real window that IniLoadFormSize maximizes
// and whose normal size Vellumix.Ini in Wine's Windows directory keeps.
#include <gtest/gtest.h>

#include "framework/win32/Win32Handles.h"

#include <cstdlib>
#include <string>

#include "engine/VLMXUtil.h"
#include "framework/Forms.h"
#include "framework/IniFiles.h"
#include "framework/rtl/SysUtils.h"
#include "tests/e2e/Pump.h"
#include "tests/framework/IniFilesCases.h"
#include "tests/support/TempDir.h"

namespace {

const char* const kSection = "Form:fmIniE2E User:E2E";

// Leaves Vellumix.Ini as the test found it: without the test's section, and gone when the
// test made it.
class TVellumixIniGuard {
public:
  ~TVellumixIniGuard() {
    TIniFile("Vellumix.Ini").EraseSection(kSection);
    if (!FExisted) DeleteFileA(Name().c_str());
  }
  static std::string Name() { return WindowsDirectory() + "\\Vellumix.Ini"; }

private:
  bool FExisted = FileExists(Name());
};

}  // namespace

TEST(IniFilesE2E, TheProfileApiGivesTheResultsOfTheSharedTable) {
  TTempDir Dir;
  IniCases::Run(Dir.Path().string());
}

TEST(IniFilesE2E, AMaximizedWindowShowsMaximizedAndKeepsItsNormalSizeInVellumixIni) {
  EXPECT_EQ(LowerCase(WindowsDirectory()), "c:\\windows");
  TVellumixIniGuard guard;
  auto* form = new TForm(Application);
  form->SetName("fmIniE2E");
  form->SetBounds(120, 90, 420, 300);
  IniSaveFormSize("Vellumix.Ini", form, "E2E");
  // The same file seen from the Unix side: the Wine prefix's drive_c/windows.
  const char* prefix = std::getenv("WINEPREFIX");
  ASSERT_NE(prefix, nullptr) << "ctest sets WINEPREFIX for the end-to-end tests";
  const std::string text = IniCases::FileText(std::string("Z:") + prefix + "/drive_c/windows/Vellumix.Ini");
  EXPECT_NE(text.find("[Form:fmIniE2E User:E2E]\r\nWindow Top=90\r\nWindow Left=120\r\n"
                      "Window Width=420\r\nWindow Height=300\r\nWindow Maximized=0\r\n"),
            std::string::npos)
      << text;
  delete form;

  TIniFile ini("Vellumix.Ini");
  ini.WriteBool(kSection, "Window Maximized", true);
  form = new TForm(Application);
  form->SetName("fmIniE2E");
  int resized = 0;
  form->OnResize = [&](TObject*) { ++resized; };
  IniLoadFormSize("Vellumix.Ini", form, "E2E");
  EXPECT_EQ(resized, 1);
  EXPECT_EQ(form->WindowState(), TWindowState::wsMaximized);
  form->Show();
  HWND window = PeerHandle(*form);
  ASSERT_NE(window, nullptr);
  EXPECT_TRUE(PumpUntil([&] { return IsZoomed(window) != FALSE; })) << "the window did not show maximized";
  EXPECT_GT(form->Width(), 420) << "the model did not hear of the maximized size";
  IniSaveFormSize("Vellumix.Ini", form, "E2E");
  EXPECT_EQ(ini.ReadInteger(kSection, "Window Width", -1), 420) << "saved while maximized: the normal size";
  EXPECT_TRUE(ini.ReadBool(kSection, "Window Maximized", false));

  // The user restores it: back to the loaded normal bounds, the model following.
  ShowWindow(window, SW_RESTORE);
  EXPECT_TRUE(PumpUntil([&] { return form->WindowState() == TWindowState::wsNormal; }));
  RECT r;
  GetWindowRect(window, &r);
  EXPECT_EQ(TRect({r.left, r.top, r.right, r.bottom}), (TRect{120, 90, 540, 390}));
  EXPECT_EQ(form->BoundsRect(), (TRect{120, 90, 540, 390}));
  IniSaveFormSize("Vellumix.Ini", form, "E2E");
  EXPECT_FALSE(ini.ReadBool(kSection, "Window Maximized", true));

  form->SetWindowState(TWindowState::wsMaximized);
  EXPECT_TRUE(PumpUntil([&] { return IsZoomed(window) != FALSE; })) << "maximized from code while shown";
  form->SetWindowState(TWindowState::wsNormal);
  EXPECT_TRUE(PumpUntil([&] { return !IsZoomed(window); }));
  delete form;
  Application->ProcessMessages();
}
