// Printing on the system's printers: a GDI device context of the printer for the canvas and
// its documents, and the spooler's raw-data calls.
#include "framework/win32/Win32.h"

#include <winspool.h>

#include <memory>
#include <vector>

#include "framework/Printers.h"

namespace {

using TPrinterHandle = std::unique_ptr<void, BOOL(WINAPI*)(HANDLE)>;

TPrinterHandle OpenPrinterHandle(const std::string& Name) {
  HANDLE h = nullptr;
  if (!OpenPrinterA(const_cast<char*>(Name.c_str()), &h, nullptr)) h = nullptr;
  return TPrinterHandle(h, ClosePrinter);
}

// The printer's default settings turned to landscape; empty when the driver gives none.
std::vector<char> LandscapeDevMode(const std::string& Name) {
  TPrinterHandle printer = OpenPrinterHandle(Name);
  if (!printer) return {};
  char* name = const_cast<char*>(Name.c_str());
  const LONG size = DocumentPropertiesA(nullptr, printer.get(), name, nullptr, nullptr, 0);
  if (size < static_cast<LONG>(sizeof(DEVMODEA))) return {};
  std::vector<char> buffer(size);
  auto* mode = reinterpret_cast<DEVMODEA*>(buffer.data());
  if (DocumentPropertiesA(nullptr, printer.get(), name, mode, nullptr, DM_OUT_BUFFER) != IDOK) return {};
  mode->dmFields |= DM_ORIENTATION;
  mode->dmOrientation = DMORIENT_LANDSCAPE;
  if (DocumentPropertiesA(nullptr, printer.get(), name, mode, mode, DM_IN_BUFFER | DM_OUT_BUFFER) != IDOK)
    return {};
  return buffer;
}

class TGdiPrinterDevice : public TPrinterDevice {
public:
  explicit TGdiPrinterDevice(HDC DC) : FDC(DC) {}
  ~TGdiPrinterDevice() override { DeleteDC(FDC); }
  TGdiPrinterDevice(const TGdiPrinterDevice&) = delete;
  TGdiPrinterDevice& operator=(const TGdiPrinterDevice&) = delete;

  int DeviceCaps(int Index) const override { return GetDeviceCaps(FDC, Index); }
  int PixelsPerInch() const override { return GetDeviceCaps(FDC, LOGPIXELSY); }

  void TextOut(int X, int Y, const std::string& Text, const TFont& Font, const TBrush& Brush) override {
    Select(Font);
    SetTextColor(FDC, Win32::ColorToRGB(Font.Color()));
    SetBkMode(FDC, Brush.Style() == TBrushStyle::bsClear ? TRANSPARENT : OPAQUE);
    SetBkColor(FDC, Win32::ColorToRGB(Brush.Color()));
    TextOutA(FDC, X, Y, Text.data(), static_cast<int>(Text.size()));
  }
  void StretchDraw(int X, int Y, int Width, int Height, const TBitmap& Bitmap) override {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = Bitmap.Width();
    info.bmiHeader.biHeight = -Bitmap.Height();  // rows from the top
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    SetStretchBltMode(FDC, HALFTONE);
    SetBrushOrgEx(FDC, 0, 0, nullptr);
    StretchDIBits(FDC, X, Y, Width, Height, 0, 0, Bitmap.Width(), Bitmap.Height(), Bitmap.Bits(), &info,
                  DIB_RGB_COLORS, SRCCOPY);
  }
  void FillRect(int Left, int Top, int Right, int Bottom, const TBrush& Brush) override {
    const RECT Area{Left, Top, Right, Bottom};
    HBRUSH Solid = CreateSolidBrush(Win32::ColorToRGB(Brush.Color()));
    if (!Solid) return;
    ::FillRect(FDC, &Area, Solid);
    DeleteObject(Solid);
  }
  TSize TextExtent(const std::string& Text, const TFont& Font) override {
    Select(Font);
    SIZE size{};
    if (!GetTextExtentPoint32A(FDC, Text.data(), static_cast<int>(Text.size()), &size)) return {};
    return {static_cast<int>(size.cx), static_cast<int>(size.cy)};
  }
  TTextMetric TextMetrics(const TFont& Font) override {
    Select(Font);
    TEXTMETRICA tm{};
    if (!GetTextMetricsA(FDC, &tm)) return {};
    return {static_cast<int>(tm.tmHeight),          static_cast<int>(tm.tmAscent),
            static_cast<int>(tm.tmDescent),         static_cast<int>(tm.tmInternalLeading),
            static_cast<int>(tm.tmExternalLeading), static_cast<int>(tm.tmAveCharWidth),
            static_cast<int>(tm.tmMaxCharWidth)};
  }

  bool StartDoc(const std::string& Title) override {
    DOCINFOA info{};
    info.cbSize = sizeof(info);
    info.lpszDocName = Title.c_str();
    return StartDocA(FDC, &info) > 0;
  }
  bool StartPage() override { return ::StartPage(FDC) > 0; }
  bool EndPage() override { return ::EndPage(FDC) > 0; }
  bool EndDoc() override { return ::EndDoc(FDC) > 0; }
  void AbortDoc() override { ::AbortDoc(FDC); }

private:
  // Selected again for every call: a new page may give the device context its defaults back.
  void Select(const TFont& Font) {
    Win32::TFontHandle font = Win32::FontHandle(Font);
    SelectObject(FDC, font.get());
    // The previous font stays alive until the new one is in, and this one while selected.
    FFont = std::move(font);
  }

  HDC FDC;
  Win32::TFontHandle FFont;
};

}  // namespace

namespace PrinterBackend {

std::vector<std::string> PrinterNames() {
  const DWORD flags = PRINTER_ENUM_LOCAL | PRINTER_ENUM_CONNECTIONS;
  DWORD needed = 0, count = 0;
  EnumPrintersA(flags, nullptr, 4, nullptr, 0, &needed, &count);
  if (needed == 0) return {};
  std::vector<BYTE> buffer(needed);
  if (!EnumPrintersA(flags, nullptr, 4, buffer.data(), needed, &needed, &count)) return {};
  const auto* info = reinterpret_cast<const PRINTER_INFO_4A*>(buffer.data());
  std::vector<std::string> names;
  for (DWORD i = 0; i < count; ++i) names.emplace_back(info[i].pPrinterName);
  return names;
}

std::string DefaultPrinterName() {
  DWORD size = 0;
  GetDefaultPrinterA(nullptr, &size);
  if (size > 0) {
    std::vector<char> name(size);
    if (GetDefaultPrinterA(name.data(), &size)) return name.data();
  }
  // Older systems keep it as "name,driver,port" in the "device" entry of the profile.
  char device[512] = {};
  GetProfileStringA("windows", "device", "", device, sizeof(device));
  std::string entry = device;
  return entry.substr(0, entry.find(','));
}

std::unique_ptr<TPrinterDevice> OpenDevice(const std::string& Name, TPrinterOrientation Orientation) {
  std::vector<char> mode;
  if (Orientation == TPrinterOrientation::poLandscape) mode = LandscapeDevMode(Name);
  HDC dc = CreateDCA("WINSPOOL", Name.c_str(), nullptr,
                     mode.empty() ? nullptr : reinterpret_cast<const DEVMODEA*>(mode.data()));
  if (!dc) return nullptr;
  return std::make_unique<TGdiPrinterDevice>(dc);
}

int ScreenDeviceCaps(int Index) {
  std::unique_ptr<HDC__, void (*)(HDC)> dc(GetDC(nullptr), [](HDC h) { ReleaseDC(nullptr, h); });
  return dc ? GetDeviceCaps(dc.get(), Index) : 0;
}

bool SpoolOpen(const std::string& PrinterName, std::intptr_t& Handle) {
  HANDLE h = nullptr;
  Handle = 0;
  if (!OpenPrinterA(const_cast<char*>(PrinterName.c_str()), &h, nullptr) || !h) return false;
  Handle = reinterpret_cast<std::intptr_t>(h);
  return true;
}

bool SpoolStartDoc(std::intptr_t Handle, const std::string& DocName, const std::string& DataType) {
  std::string name = DocName, type = DataType;
  DOC_INFO_1A info{name.data(), nullptr, type.data()};
  return StartDocPrinterA(reinterpret_cast<HANDLE>(Handle), 1, reinterpret_cast<BYTE*>(&info)) != 0;
}

bool SpoolStartPage(std::intptr_t Handle) { return StartPagePrinter(reinterpret_cast<HANDLE>(Handle)); }

bool SpoolWrite(std::intptr_t Handle, const std::string& Bytes) {
  // The spooler may take less than it was given; the rest goes in further calls.
  std::size_t done = 0;
  while (done < Bytes.size()) {
    DWORD written = 0;
    if (!WritePrinter(reinterpret_cast<HANDLE>(Handle), const_cast<char*>(Bytes.data() + done),
                      static_cast<DWORD>(Bytes.size() - done), &written) ||
        written == 0)
      return false;
    done += written;
  }
  return true;
}

bool SpoolEndPage(std::intptr_t Handle) { return EndPagePrinter(reinterpret_cast<HANDLE>(Handle)); }
bool SpoolEndDoc(std::intptr_t Handle) { return EndDocPrinter(reinterpret_cast<HANDLE>(Handle)); }
void SpoolClose(std::intptr_t Handle) { ClosePrinter(reinterpret_cast<HANDLE>(Handle)); }

}  // namespace PrinterBackend
