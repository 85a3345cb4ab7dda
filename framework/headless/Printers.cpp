// Fake printers and a fake spooler with fixed, known metrics, so that tests can check the
// pages and bytes a report produces.
#include "framework/headless/Printers.h"

#include <algorithm>
#include <map>

#include "framework/Forms.h"

namespace {

struct TFakePrinter {
  const char* Name;
  int DpiX, DpiY;
  int PhysicalWidth, PhysicalHeight;  // portrait, in dots
  int OffsetX, OffsetY;               // unprintable margin on each side
};

// Letter paper (8.5 x 11 inches) on both.
const TFakePrinter FakePrinters[] = {
    {"Fake Laser", 600, 600, 5100, 6600, 150, 150},
    {"Fake Dot Matrix", 120, 72, 1020, 792, 30, 0},
};

struct THandleState {
  std::string Printer;
  int Document = -1;  // index in the spooled documents while one is open
  bool Page = false;
};

struct TState {
  std::vector<Headless::TPrintedDocument> Printed;
  std::vector<Headless::TSpooledDocument> Spooled;
  std::vector<std::string> Calls;
  std::vector<std::string> Misuses;
  std::map<std::intptr_t, THandleState> Handles;
  std::intptr_t NextHandle = 1;
  std::map<std::string, int> FailAt;  // call name -> calls to go until the failing one
  bool NoDefaultPrinter = false;
};

TState& State() {
  static TState state;
  return state;
}

const TFakePrinter* FindFake(const std::string& Name) {
  for (const auto& p : FakePrinters)
    if (Name == p.Name) return &p;
  return nullptr;
}

// Records the call; false when it is the one planned to fail.
bool Call(const char* Name) {
  auto& s = State();
  s.Calls.emplace_back(Name);
  auto plan = s.FailAt.find(Name);
  if (plan == s.FailAt.end()) return true;
  if (--plan->second > 0) return true;
  s.FailAt.erase(plan);
  return false;
}

THandleState* Handle(std::intptr_t H, const char* CallName) {
  auto& s = State();
  auto found = s.Handles.find(H);
  if (found != s.Handles.end()) return &found->second;
  s.Misuses.emplace_back(CallName);
  return nullptr;
}

bool Misuse(const char* CallName) {
  State().Misuses.emplace_back(CallName);
  return false;
}

// A fixed-pitch font: the character height is the font's height, every character is six
// tenths of it wide, and a fifth of it is added above as internal leading.
TTextMetric FakeMetrics(const TFont& Font, int DpiY) {
  TTextMetric tm;
  int em = Font.Height() < 0 ? -Font.Height() : Font.Height() * 5 / 6;
  if (Font.Height() == 0) em = DpiY / 6;  // 12 points
  tm.tmInternalLeading = (em + 2) / 5;
  tm.tmHeight = em + tm.tmInternalLeading;
  tm.tmAscent = tm.tmHeight * 4 / 5;
  tm.tmDescent = tm.tmHeight - tm.tmAscent;
  tm.tmExternalLeading = (em + 5) / 10;
  tm.tmAveCharWidth = std::max(1, em * 3 / 5);
  tm.tmMaxCharWidth = tm.tmAveCharWidth;
  return tm;
}

class TFakeDevice : public TPrinterDevice {
public:
  TFakeDevice(const TFakePrinter& Printer, TPrinterOrientation Orientation)
      : FPrinter(Printer), FOrientation(Orientation) {}

  int DeviceCaps(int Index) const override {
    const bool landscape = FOrientation == TPrinterOrientation::poLandscape;
    const int dpiX = landscape ? FPrinter.DpiY : FPrinter.DpiX;
    const int dpiY = landscape ? FPrinter.DpiX : FPrinter.DpiY;
    // Landscape turns the sheet, and the head's resolutions turn with it.
    const int width = landscape ? FPrinter.PhysicalHeight : FPrinter.PhysicalWidth;
    const int height = landscape ? FPrinter.PhysicalWidth : FPrinter.PhysicalHeight;
    const int offX = landscape ? FPrinter.OffsetY : FPrinter.OffsetX;
    const int offY = landscape ? FPrinter.OffsetX : FPrinter.OffsetY;
    switch (Index) {
      case dcLogPixelsX: return dpiX;
      case dcLogPixelsY: return dpiY;
      case dcPhysicalWidth: return width;
      case dcPhysicalHeight: return height;
      case dcPhysicalOffsetX: return offX;
      case dcPhysicalOffsetY: return offY;
      case dcHorzRes: return width - 2 * offX;
      case dcVertRes: return height - 2 * offY;
      default: return 0;
    }
  }
  int PixelsPerInch() const override { return DeviceCaps(dcLogPixelsY); }

  void TextOut(int X, int Y, const std::string& Text, const TFont& Font, const TBrush&) override {
    // As on a real device, drawing outside a page prints nothing.
    if (!FPageOpen) return;
    Document().Pages.back().TextOuts.push_back({X, Y, Text, Font.Name(), Font.Height()});
  }
  void StretchDraw(int X, int Y, int Width, int Height, const TBitmap& Bitmap) override {
    if (!FPageOpen) return;
    Document().Pages.back().Images.push_back({X, Y, Width, Height, Bitmap.Width(), Bitmap.Height()});
  }
  TSize TextExtent(const std::string& Text, const TFont& Font) override {
    const TTextMetric tm = FakeMetrics(Font, PixelsPerInch());
    return {static_cast<int>(Text.size()) * tm.tmAveCharWidth, tm.tmHeight};
  }
  TTextMetric TextMetrics(const TFont& Font) override { return FakeMetrics(Font, PixelsPerInch()); }

  bool StartDoc(const std::string& Title) override {
    // As under Wine: a device that had a document aborted takes no other.
    if (FDocument >= 0 || FAbortedOne) return false;
    auto& printed = State().Printed;
    printed.push_back({FPrinter.Name, Title, FOrientation, {}, false, false});
    FDocument = static_cast<int>(printed.size()) - 1;
    return true;
  }
  bool StartPage() override {
    if (FDocument < 0 || FPageOpen) return false;
    Document().Pages.emplace_back();
    FPageOpen = true;
    return true;
  }
  bool EndPage() override {
    if (!FPageOpen) return false;
    FPageOpen = false;
    return true;
  }
  bool EndDoc() override {
    if (FDocument < 0 || FPageOpen) return false;
    Document().Ended = true;
    FDocument = -1;
    return true;
  }
  void AbortDoc() override {
    if (FDocument < 0) return;
    Document().Aborted = true;
    FAbortedOne = true;
    FDocument = -1;
    FPageOpen = false;
  }

private:
  Headless::TPrintedDocument& Document() { return State().Printed.at(FDocument); }

  const TFakePrinter& FPrinter;
  TPrinterOrientation FOrientation;
  int FDocument = -1;
  bool FPageOpen = false;
  bool FAbortedOne = false;
};

}  // namespace

namespace PrinterBackend {

std::vector<std::string> PrinterNames() {
  std::vector<std::string> names;
  for (const auto& p : FakePrinters) names.emplace_back(p.Name);
  return names;
}

std::string DefaultPrinterName() { return State().NoDefaultPrinter ? std::string() : FakePrinters[0].Name; }

std::unique_ptr<TPrinterDevice> OpenDevice(const std::string& Name, TPrinterOrientation Orientation) {
  const TFakePrinter* printer = FindFake(Name);
  if (!printer) return nullptr;
  return std::make_unique<TFakeDevice>(*printer, Orientation);
}

int ScreenDeviceCaps(int Index) {
  int width = 0, height = 0;
  Backend::ScreenSize(width, height);
  switch (Index) {
    case dcLogPixelsX:
    case dcLogPixelsY: return 96;
    case dcHorzRes:
    case dcPhysicalWidth: return width;
    case dcVertRes:
    case dcPhysicalHeight: return height;
    default: return 0;
  }
}

bool SpoolOpen(const std::string& PrinterName, std::intptr_t& Handle) {
  Handle = 0;
  if (!Call("OpenPrinter") || !FindFake(PrinterName)) return false;
  auto& s = State();
  Handle = s.NextHandle++;
  s.Handles[Handle] = {PrinterName, -1, false};
  return true;
}

bool SpoolStartDoc(std::intptr_t H, const std::string& DocName, const std::string& DataType) {
  if (!Call("StartDocPrinter")) return false;
  THandleState* h = Handle(H, "StartDocPrinter");
  if (!h) return false;
  if (h->Document >= 0) return Misuse("StartDocPrinter");
  auto& spooled = State().Spooled;
  spooled.push_back({h->Printer, DocName, DataType, {}, 0, false});
  h->Document = static_cast<int>(spooled.size()) - 1;
  return true;
}

bool SpoolStartPage(std::intptr_t H) {
  if (!Call("StartPagePrinter")) return false;
  THandleState* h = Handle(H, "StartPagePrinter");
  if (!h) return false;
  if (h->Document < 0 || h->Page) return Misuse("StartPagePrinter");
  h->Page = true;
  ++State().Spooled.at(h->Document).PagesStarted;
  return true;
}

bool SpoolWrite(std::intptr_t H, const std::string& Bytes) {
  if (!Call("WritePrinter")) return false;
  THandleState* h = Handle(H, "WritePrinter");
  if (!h) return false;
  if (h->Document < 0) return Misuse("WritePrinter");
  State().Spooled.at(h->Document).Bytes += Bytes;
  return true;
}

bool SpoolEndPage(std::intptr_t H) {
  const bool accepted = Call("EndPagePrinter");
  THandleState* h = Handle(H, "EndPagePrinter");
  if (!h) return false;
  if (!h->Page) return Misuse("EndPagePrinter");
  h->Page = false;
  return accepted;
}

bool SpoolEndDoc(std::intptr_t H) {
  const bool accepted = Call("EndDocPrinter");
  THandleState* h = Handle(H, "EndDocPrinter");
  if (!h) return false;
  if (h->Document < 0 || h->Page) return Misuse("EndDocPrinter");
  State().Spooled.at(h->Document).Ended = accepted;
  h->Document = -1;
  return accepted;
}

void SpoolClose(std::intptr_t H) {
  Call("ClosePrinter");
  THandleState* h = Handle(H, "ClosePrinter");
  if (!h) return;
  if (h->Document >= 0) Misuse("ClosePrinter");
  State().Handles.erase(H);
}

}  // namespace PrinterBackend

namespace Headless {

const std::vector<TPrintedDocument>& PrintedDocuments() { return State().Printed; }
const std::vector<TSpooledDocument>& SpooledDocuments() { return State().Spooled; }
const std::vector<std::string>& SpoolerCalls() { return State().Calls; }
const std::vector<std::string>& SpoolerMisuses() { return State().Misuses; }

int OpenSpoolHandles() { return static_cast<int>(State().Handles.size()); }
int OpenSpoolDocuments() {
  return static_cast<int>(std::count_if(State().Handles.begin(), State().Handles.end(),
                                        [](const auto& h) { return h.second.Document >= 0; }));
}
int OpenSpoolPages() {
  return static_cast<int>(std::count_if(State().Handles.begin(), State().Handles.end(),
                                        [](const auto& h) { return h.second.Page; }));
}

void SpoolerFailAt(const std::string& Call, int Occurrence) { State().FailAt[Call] = Occurrence; }

void SetNoDefaultPrinter() {
  SetPrinter(nullptr);
  State().NoDefaultPrinter = true;
}

void ResetPrinters() {
  // The old printer goes first: an unfinished document of it is aborted into the old records.
  SetPrinter(nullptr);
  State() = TState();
}

}  // namespace Headless
