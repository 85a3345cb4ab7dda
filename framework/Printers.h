// The system's printers: the list, the one chosen, and a document printed on it page by page
// through its canvas; the device capabilities of the printer and the screen; and raw bytes sent
// to a printer through the spooler.
#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "framework/Graphics.h"
#include "framework/rtl/Exceptions.h"
#include "framework/rtl/StringList.h"

// Device capability indexes, with the system's values.
constexpr int dcHorzRes = 8, dcVertRes = 10, dcLogPixelsX = 88, dcLogPixelsY = 90,
              dcPhysicalWidth = 110, dcPhysicalHeight = 111, dcPhysicalOffsetX = 112,
              dcPhysicalOffsetY = 113;

enum class TPrinterOrientation { poPortrait, poLandscape };

class EPrinter : public Exception { using Exception::Exception; };

// A printer's device as the backend opens it: it measures text at any time and prints one
// document at a time. Each call answers whether the system accepted it.
class TPrinterDevice : public TCanvasDevice {
public:
  virtual int DeviceCaps(int Index) const = 0;
  virtual bool StartDoc(const std::string& Title) = 0;
  virtual bool StartPage() = 0;
  virtual bool EndPage() = 0;
  virtual bool EndDoc() = 0;
  virtual void AbortDoc() = 0;
};

// The chosen printer and the document being printed on it. The device of the chosen printer is
// opened when first needed and kept until another printer or orientation is chosen.
class TPrinter {
public:
  TPrinter() = default;
  // A document still open is aborted.
  ~TPrinter();
  TPrinter(const TPrinter&) = delete;
  TPrinter& operator=(const TPrinter&) = delete;

  // The names of the installed printers, read from the system on first use.
  const TStrings& Printers();
  // The chosen printer's position in Printers; setting -1 chooses the system's default
  // printer, whose position the getter then answers. EPrinter when there is no such printer.
  int PrinterIndex();
  void SetPrinterIndex(int Value);
  // The chosen printer's name, and the driver that prints on it.
  void GetPrinter(std::string& Device, std::string& Driver);

  TCanvas* Canvas();
  const std::string& Title() const { return FTitle; }
  void SetTitle(const std::string& Value) { FTitle = Value; }
  TPrinterOrientation Orientation() const { return FOrientation; }
  // EPrinter while printing.
  void SetOrientation(TPrinterOrientation Value);

  // EPrinter when already printing or when the system refuses the document or its first page.
  void BeginDoc();
  // EPrinter when not printing.
  void NewPage();
  void EndDoc();
  // Drops the document: nothing more of it is printed. Nothing happens when not printing.
  void Abort();
  bool Printing() const { return FPrinting; }
  bool Aborted() const { return FAborted; }
  int PageNumber() const { return FPageNumber; }

  // The printable area in device pixels.
  int PageWidth() { return DeviceCaps(dcHorzRes); }
  int PageHeight() { return DeviceCaps(dcVertRes); }
  int DeviceCaps(int Index);

private:
  TPrinterDevice& Device();
  void CloseDevice();
  void CheckPrinting(bool Value) const;

  TStringList FPrinters;
  bool FListed = false;
  int FPrinterIndex = -1;
  std::string FTitle;
  TPrinterOrientation FOrientation = TPrinterOrientation::poPortrait;
  std::unique_ptr<TPrinterDevice> FDevice;
  TCanvas FCanvas;
  bool FPrinting = false;
  bool FAborted = false;
  bool FPageOpen = false;
  int FPageNumber = 0;
};

// The process's printer object, created on first use.
TPrinter* Printer();
// Puts NewPrinter in its place (nullptr: a new one on next use) and hands back the old one.
std::unique_ptr<TPrinter> SetPrinter(std::unique_ptr<TPrinter> NewPrinter);

// The screen's device capabilities (dcLogPixelsX...).
int ScreenDeviceCaps(int Index);

// Raw bytes to a printer through the system's spooler: the printer, the document and the page
// are each opened at most once, and whatever is still open when the job goes is ended, the
// page first, so every path ends exactly what it started. Each call answers whether the
// spooler accepted it; a refused open leaves nothing open.
class TSpoolJob {
public:
  TSpoolJob() = default;
  ~TSpoolJob();
  TSpoolJob(const TSpoolJob&) = delete;
  TSpoolJob& operator=(const TSpoolJob&) = delete;

  bool Open(const std::string& PrinterName);
  // DataType "RAW" hands the bytes to the printer unchanged.
  bool StartDocument(const std::string& DocName, const std::string& DataType);
  bool StartPage();
  // All of Bytes, or false.
  bool Write(const std::string& Bytes);
  bool EndPage();
  bool EndDocument();
  void Close();

  bool IsOpen() const { return FHandle != 0; }
  bool DocumentStarted() const { return FDocument; }
  bool PageStarted() const { return FPage; }

private:
  std::intptr_t FHandle = 0;
  bool FDocument = false;
  bool FPage = false;
};

// Implemented by the backend (framework/win32/Printers.cpp, framework/headless/Printers.cpp).
namespace PrinterBackend {
std::vector<std::string> PrinterNames();
// Empty when the system has no default printer.
std::string DefaultPrinterName();
// nullptr when the system refuses to open the printer.
std::unique_ptr<TPrinterDevice> OpenDevice(const std::string& Name, TPrinterOrientation Orientation);
int ScreenDeviceCaps(int Index);

// The spooler's calls; a handle of 0 is no handle.
bool SpoolOpen(const std::string& PrinterName, std::intptr_t& Handle);
bool SpoolStartDoc(std::intptr_t Handle, const std::string& DocName, const std::string& DataType);
bool SpoolStartPage(std::intptr_t Handle);
bool SpoolWrite(std::intptr_t Handle, const std::string& Bytes);
bool SpoolEndPage(std::intptr_t Handle);
bool SpoolEndDoc(std::intptr_t Handle);
void SpoolClose(std::intptr_t Handle);
}  // namespace PrinterBackend
