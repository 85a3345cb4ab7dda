// Test controls of the headless printers and spooler. Two fake printers with fixed metrics,
// "Fake Laser" (600 dpi, letter, the default) and "Fake Dot Matrix" (120 x 72 dpi, letter),
// record every document, page and TextOut; the fake spooler keeps the bytes of each document
// and can be told to refuse any of its calls.
#pragma once
#include <string>
#include <vector>

#include "framework/Printers.h"

namespace Headless {

struct TTextOutRecord {
  int X = 0, Y = 0;
  std::string Text;
  std::string FontName;
  int FontHeight = 0;
};

// A picture stretched onto the page: where, and the size of the bitmap drawn.
struct TImageRecord {
  int X = 0, Y = 0, Width = 0, Height = 0;
  int ImageWidth = 0, ImageHeight = 0;
};

struct TPrintedPage {
  std::vector<TTextOutRecord> TextOuts;
  std::vector<TImageRecord> Images;
};

struct TPrintedDocument {
  std::string Printer;
  std::string Title;
  TPrinterOrientation Orientation = TPrinterOrientation::poPortrait;
  std::vector<TPrintedPage> Pages;
  bool Ended = false;
  bool Aborted = false;
};

// Every document started on a fake printer, in order.
const std::vector<TPrintedDocument>& PrintedDocuments();

struct TSpooledDocument {
  std::string Printer;
  std::string DocName;
  std::string DataType;
  std::string Bytes;
  int PagesStarted = 0;
  bool Ended = false;
};

// Every document started on the fake spooler, in order.
const std::vector<TSpooledDocument>& SpooledDocuments();
// Every call that reached the spooler, by the system's name: "OpenPrinter", "StartDocPrinter",
// "StartPagePrinter", "WritePrinter", "EndPagePrinter", "EndDocPrinter", "ClosePrinter".
const std::vector<std::string>& SpoolerCalls();
// Calls made where the system would refuse them (a page ended that was not started, a handle
// closed twice or with its document still open...), each as its name. A sound caller makes none.
const std::vector<std::string>& SpoolerMisuses();
// Printer handles, documents and pages that were opened and are not closed yet.
int OpenSpoolHandles();
int OpenSpoolDocuments();
int OpenSpoolPages();

// The Occurrence-th call of that name from now on (1: the next) fails. A refused open, start
// or write changes nothing; a refused end or close still ends what it was given, as the caller
// can do no more about it.
void SpoolerFailAt(const std::string& Call, int Occurrence = 1);

// The system has printers but none of them is the default; ResetPrinters gives it one again.
void SetNoDefaultPrinter();
// Forgets every record and planned failure and drops the process's printer object, so the next
// Printer() starts on the default printer with no document.
void ResetPrinters();

}  // namespace Headless
