#include "framework/Printers.h"

namespace {
std::unique_ptr<TPrinter>& Instance() {
  static std::unique_ptr<TPrinter> printer;
  return printer;
}
}  // namespace

TPrinter* Printer() {
  auto& printer = Instance();
  if (!printer) printer = std::make_unique<TPrinter>();
  return printer.get();
}

std::unique_ptr<TPrinter> SetPrinter(std::unique_ptr<TPrinter> NewPrinter) {
  std::swap(Instance(), NewPrinter);
  return NewPrinter;
}

int ScreenDeviceCaps(int Index) { return PrinterBackend::ScreenDeviceCaps(Index); }

// ---------------------------------------------------------------------------------------------
// TPrinter

TPrinter::~TPrinter() {
  if (FPrinting && FDevice) FDevice->AbortDoc();
}

const TStrings& TPrinter::Printers() {
  if (!FListed) {
    FPrinters.Clear();
    for (const auto& name : PrinterBackend::PrinterNames()) FPrinters.Add(name);
    FListed = true;
  }
  return FPrinters;
}

int TPrinter::PrinterIndex() {
  if (FPrinterIndex < 0) {
    const int index = Printers().IndexOf(PrinterBackend::DefaultPrinterName());
    if (index < 0) throw EPrinter("There is no default printer currently selected");
    FPrinterIndex = index;
  }
  return FPrinterIndex;
}

void TPrinter::SetPrinterIndex(int Value) {
  CheckPrinting(false);
  if (Value < -1 || Value >= Printers().Count()) throw EPrinter("Printer index out of range");
  // -1 is kept as it is: the default printer is looked up when it is needed, as it may change.
  if (Value != FPrinterIndex) CloseDevice();
  FPrinterIndex = Value;
}

void TPrinter::GetPrinter(std::string& Device, std::string& Driver) {
  Device = Printers()[PrinterIndex()];
  Driver = "WINSPOOL";
}

TPrinterDevice& TPrinter::Device() {
  if (!FDevice) {
    std::string name, driver;
    GetPrinter(name, driver);
    FDevice = PrinterBackend::OpenDevice(name, FOrientation);
    if (!FDevice) throw EPrinter("Printer selected is not valid");
    FCanvas.SetDevice(FDevice.get());
  }
  return *FDevice;
}

void TPrinter::CloseDevice() {
  FCanvas.SetDevice(nullptr);
  FDevice.reset();
}

void TPrinter::CheckPrinting(bool Value) const {
  if (FPrinting == Value) return;
  throw EPrinter(Value ? "Printer is not currently printing" : "Printing in progress");
}

TCanvas* TPrinter::Canvas() {
  // A machine without printers still has a canvas; it measures nothing and draws nowhere.
  if (!FDevice && Printers().Count() > 0) {
    try {
      Device();
    } catch (const EPrinter&) {
    }
  }
  return &FCanvas;
}

void TPrinter::SetOrientation(TPrinterOrientation Value) {
  CheckPrinting(false);
  if (Value == FOrientation) return;
  FOrientation = Value;
  CloseDevice();
}

int TPrinter::DeviceCaps(int Index) { return Device().DeviceCaps(Index); }

void TPrinter::BeginDoc() {
  CheckPrinting(false);
  TPrinterDevice& device = Device();
  FAborted = false;
  FPageNumber = 0;
  if (!device.StartDoc(FTitle)) throw EPrinter("Printing failed to start: " + FTitle);
  if (!device.StartPage()) {
    device.AbortDoc();
    throw EPrinter("Printing failed to start: " + FTitle);
  }
  FPrinting = true;
  FPageOpen = true;
  FPageNumber = 1;
}

void TPrinter::NewPage() {
  CheckPrinting(true);
  FPageOpen = false;
  if (!FDevice->EndPage() || !FDevice->StartPage())
    throw EPrinter("Printer could not start page " + std::to_string(FPageNumber + 1));
  FPageOpen = true;
  ++FPageNumber;
}

void TPrinter::EndDoc() {
  CheckPrinting(true);
  bool ok = true;
  if (FPageOpen) ok = FDevice->EndPage();
  FPageOpen = false;
  ok = FDevice->EndDoc() && ok;
  FPrinting = false;
  FAborted = false;
  FPageNumber = 0;
  if (!ok) throw EPrinter("Printer could not finish the document: " + FTitle);
}

void TPrinter::Abort() {
  if (!FPrinting) return;
  FDevice->AbortDoc();
  // Wine's printer device refuses every later document once one was aborted on it: the next
  // job gets a device of its own.
  CloseDevice();
  FPrinting = false;
  FPageOpen = false;
  FAborted = true;
  FPageNumber = 0;
}

// ---------------------------------------------------------------------------------------------
// TSpoolJob

TSpoolJob::~TSpoolJob() { Close(); }

bool TSpoolJob::Open(const std::string& PrinterName) {
  FW_ASSERT(!IsOpen());
  std::intptr_t handle = 0;
  if (!PrinterBackend::SpoolOpen(PrinterName, handle) || handle == 0) return false;
  FHandle = handle;
  return true;
}

bool TSpoolJob::StartDocument(const std::string& DocName, const std::string& DataType) {
  if (!IsOpen() || FDocument) return false;
  FDocument = PrinterBackend::SpoolStartDoc(FHandle, DocName, DataType);
  return FDocument;
}

bool TSpoolJob::StartPage() {
  if (!FDocument || FPage) return false;
  FPage = PrinterBackend::SpoolStartPage(FHandle);
  return FPage;
}

bool TSpoolJob::Write(const std::string& Bytes) {
  return FDocument && PrinterBackend::SpoolWrite(FHandle, Bytes);
}

bool TSpoolJob::EndPage() {
  if (!FPage) return false;
  FPage = false;
  return PrinterBackend::SpoolEndPage(FHandle);
}

bool TSpoolJob::EndDocument() {
  if (!FDocument) return false;
  const bool pageEnded = !FPage || EndPage();
  FDocument = false;
  return PrinterBackend::SpoolEndDoc(FHandle) && pageEnded;
}

void TSpoolJob::Close() {
  if (!IsOpen()) return;
  EndDocument();
  PrinterBackend::SpoolClose(FHandle);
  FHandle = 0;
}
