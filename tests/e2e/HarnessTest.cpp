// Proves the end-to-end harness itself: a GoogleTest program under Wine shows a real window
// through the framework, finds it as any other program would, screenshots it pixel for pixel,
// and reaches the CUPS printers through Wine's spooler.
#include "framework/Forms.h"
#include "framework/StdCtrls.h"

#include <gtest/gtest.h>
#include <windows.h>
#include <winspool.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "tests/e2e/Pump.h"
#include "tests/e2e/Screenshot.h"

namespace {

const char* const kCaption = "Versora harness";
constexpr int kLabelLeft = 16, kLabelTop = 16, kLabelWidth = 200, kLabelHeight = 24;

int Brightness(std::uint32_t Rgb) {
  return (Rgb & 0xFF) + ((Rgb >> 8) & 0xFF) + ((Rgb >> 16) & 0xFF);
}

// Whether the label's text is on screen: enough pixels inside its rectangle clearly darker than
// the form's own background beside it.
bool LabelIsPainted(HWND Window, const TScreenImage& Image) {
  RECT frame;
  POINT client{0, 0};
  GetWindowRect(Window, &frame);
  ClientToScreen(Window, &client);
  const int cx = client.x - frame.left, cy = client.y - frame.top;
  const int x0 = cx + kLabelLeft, y0 = cy + kLabelTop;
  if (x0 + kLabelWidth > Image.Width || y0 + kLabelHeight > Image.Height) return false;
  const int background = Brightness(Image.At(cx + kLabelLeft / 2, cy + kLabelTop / 2));
  int ink = 0;
  for (int y = y0; y < y0 + kLabelHeight; ++y)
    for (int x = x0; x < x0 + kLabelWidth; ++x)
      if (Brightness(Image.At(x, y)) + 120 < background) ++ink;
  return ink > 20;
}

std::vector<std::string> PrinterNames() {
  const DWORD flags = PRINTER_ENUM_LOCAL | PRINTER_ENUM_CONNECTIONS;
  DWORD needed = 0, count = 0;
  EnumPrintersA(flags, nullptr, 4, nullptr, 0, &needed, &count);
  std::vector<BYTE> buffer(needed);
  if (!EnumPrintersA(flags, nullptr, 4, buffer.data(), needed, &needed, &count)) return {};
  const auto* info = reinterpret_cast<const PRINTER_INFO_4A*>(buffer.data());
  std::vector<std::string> names;
  for (DWORD i = 0; i < count; ++i) names.emplace_back(info[i].pPrinterName);
  return names;
}

}  // namespace

TEST(Harness, ShowsFindsAndScreenshotsAFrameworkWindow) {
  auto* form = new TForm(Application);
  form->SetCaption(kCaption);
  form->SetBounds(120, 120, 360, 160);
  auto* label = new TLabel(form);
  label->SetParent(form);
  label->SetCaption("Harness label, black on grey");
  label->SetBounds(kLabelLeft, kLabelTop, kLabelWidth, kLabelHeight);
  form->Show();
  Application->ProcessMessages();

  HWND window = FindWindowA(nullptr, kCaption);
  ASSERT_NE(window, nullptr) << "the form is not a top-level window with its caption";
  EXPECT_TRUE(IsWindowVisible(window));
  RECT frame;
  GetWindowRect(window, &frame);
  EXPECT_EQ(frame.right - frame.left, 360);
  EXPECT_EQ(frame.bottom - frame.top, 160);

  SetForegroundWindow(window);
  TScreenImage shot;
  EXPECT_TRUE(PumpUntil([&] {
    shot = CaptureWindow(window);
    return LabelIsPainted(window, shot);
  })) << "the label's text never reached the screen";

  std::string path = SaveBmp(shot, "harness");
  TScreenImage saved = LoadBmp(path);
  EXPECT_EQ(saved.Width, 360);
  EXPECT_EQ(saved.Height, 160);
  EXPECT_TRUE(saved.Pixels == shot.Pixels) << path << " differs from the capture";

  delete form;
  Application->ProcessMessages();
  EXPECT_EQ(FindWindowA(nullptr, kCaption), nullptr) << "freeing the form left its window";
}

TEST(Harness, WineListsTheCupsPdfPrinterAndADefault) {
  std::vector<std::string> names = PrinterNames();
  EXPECT_NE(std::find(names.begin(), names.end(), "PDF"), names.end())
      << "Wine sees no CUPS printer named PDF: is cupsd running and libcups2:i386 installed?";

  char name[256];
  DWORD size = sizeof name;
  ASSERT_TRUE(GetDefaultPrinterA(name, &size)) << "no default printer";
  EXPECT_NE(std::find(names.begin(), names.end(), name), names.end())
      << "the default printer " << name << " is not among the printers";
}
