#include "engine/VLMXGbl/Output.h"

#include <exception>

#include "engine/VLMXGbl/PrintSettings.h"
#include "engine/VLMXGbl0.h"
#include "engine/VLMXUtil.h"
#include "engine/Vellumix/ReportSettings.h"
#include "framework/Dialogs.h"
#include "framework/Forms.h"
#include "framework/rtl/FileUtils.h"
#include "framework/rtl/SysUtils.h"

namespace {

constexpr int pwCurrentPage = 1, pwTestPage = 4, pwSnapshot = 5, pwPageRange = 6;
constexpr int ofOverwrite = 0, ofAppend = 1;

enum class TSink { None, Spooler, Printer, File };

// The one sink of a run, by the first output flag set in this order.
TSink SinkOf(const TvlxPrintSettings& PS) {
  if (PS.OutFastPrinterText) return TSink::Spooler;
  if (PS.OutPrinter) return TSink::Printer;
  if (PS.OutAnyFile) return TSink::File;
  return TSink::None;
}

// The file destinations that are sheets of text; the ASCII export writes records, not pages.
bool PagedFile(const TvlxPrintSettings& PS) { return PS.OutTextFile || PS.OutRtfFile; }

bool FormFeedsOn() { return RptSettings->ItemOpt(ioFormFeeds); }

std::string Decoded(const std::string& Text) {
  std::string Bytes;
  if (!Text.empty()) DecodePrinterString(Text, Bytes);
  return Bytes;
}

std::unique_ptr<TSpoolJob> OpenSpoolJob() {
  const std::string Prefix = VlxPrintingErrorPrefix;
  // Raw text always goes to the system's default printer, whichever printer the run chose.
  Printer()->SetPrinterIndex(-1);
  std::string Device, Driver;
  Printer()->GetPrinter(Device, Driver);
  // Decoded first, so that a wrong string leaves nothing open.
  const std::string Init = Decoded(RptSettings->InitPrinterStr);

  auto Job = std::make_unique<TSpoolJob>();
  if (!Job->Open(Device))
    throw eVlxPrtError(Prefix + "Print Spooler Error **\rUnable to get printer for spooling (WinSpool.OpenPrinter)");
  if (!Job->StartDocument(RptSettings->ReportDesc, "RAW"))
    throw eVlxPrtError(Prefix + "Print Spooler Error **\rUsing Fast Printer Text. Unable to start document "
                                "printing (StartDocPrinter)");
  if (!Init.empty() && !Job->Write(Init))
    throw eVlxPrtError(Prefix + "Using Fast Printer Text. Error writing printer initialization string to "
                                "print spooler.");
  return Job;
}

std::string ExistingFileQuestion(const std::string& Name) {
  return "File \"" + Name + "\" already exists\rOverwrite this file?\r\r  Yes   : Overwrites\r"
         "  No    : Appends to file\r  Cancel: Terminates Report";
}

std::string OpenErrorMessage(const std::string& Name, int Code) {
  if (Code == errSharingViolation)
    return "Output file \"" + Name + "\" is locked by another application\r\nI/O Error=" + IntToStr(Code) +
           "\r\n\r\nSolution: Have the other application close the file or use a different output file name";
  return "Cannot open output file \"" + Name + "\"\r\nI/O Error=" + IntToStr(Code);
}

// Runs each closing step; the first error is kept and passed on once every step has run.
class TCloseSteps {
public:
  template <class F>
  void Run(F&& Step) {
    try {
      Step();
    } catch (...) {
      if (!FError) FError = std::current_exception();
    }
  }
  void Finish() {
    if (FError) std::rethrow_exception(FError);
  }

private:
  std::exception_ptr FError;
};

}  // namespace

void DecodePrinterString(const std::string& Text, std::string& Decoded) {
  Decoded.clear();
  char Prev = ' ';
  bool InCode = false;
  std::string Digits;
  auto CloseCode = [&] {
    InCode = false;
    if (Digits.empty()) return;
    const int Code = std::stoi(Digits);
    if (Code > 255)
      throw Exception("Fast Printer Text Printer String:\r" + Text + "\rhas invalid ASCII character:" + Digits +
                      ". ASCII numbers must be between 0 and 255.");
    Decoded += static_cast<char>(Code);
    Digits.clear();
  };
  for (const char C : Text) {
    if (InCode) {
      if (C >= '0' && C <= '9' && Digits.size() < 3) {
        Digits += C;
        Prev = C;
        continue;
      }
      CloseCode();
    }
    if (C == '#' && Prev != '#') {
      InCode = true;
      Prev = C;
    } else if (C == '#') {
      // "##" is one "#", and the next "#" opens a code again.
      Decoded += C;
      Prev = ' ';
    } else {
      Decoded += C;
      Prev = C;
    }
  }
  if (InCode) CloseCode();
}

bool TvlxPrintSettings::OpenOutput() {
  switch (SinkOf(*this)) {
    case TSink::Spooler:
      SpoolJob = OpenSpoolJob();
      return true;
    case TSink::Printer:
      Printer()->SetTitle("Report: " + RptSettings->ReportDesc);
      // A window snapshot starts its own job.
      if (!OutSnapshot) Printer()->BeginDoc();
      return true;
    case TSink::File: {
      const std::string& Name = RptSettings->OutputFileName;
      bool Append = false;
      if (FileExists(Name)) {
        if (RptSettings->IfOutputFileExists == ofAppend) Append = true;
        else if (RptSettings->IfOutputFileExists != ofOverwrite) {
          const int Answer = MessageDlg(ExistingFileQuestion(Name), TMsgDlgType::mtWarning, mbYesNoCancel, 700);
          if (Answer == mrNo) Append = true;
          else if (Answer != mrYes) {
            RunState = rsUserCancelled;
            return false;
          }
        }
      }
      const int Code = TextFile.Open(Name, Append);
      if (Code == 0) return true;
      Beep(MsgBox::IconInformation);
      Application->MessageBox(OpenErrorMessage(Name, Code), Application->Title(), MsgBox::Ok);
      return false;
    }
    case TSink::None: break;
  }
  throw eVlxIntError(VlxInternalErrorPrefix + "Open Output Internal Error **\rOutput destination not specified.");
}

bool TvlxPrintSettings::EmitPage(bool PageEnd, bool FooterPending) {
  const TSink Sink = SinkOf(*this);
  if (UnitSet == 1 && PageMode == pmPrint) {
    const bool FormFeed = PagesWritten > 0 && (Sink == TSink::Spooler || Sink == TSink::File) && FormFeedsOn() &&
                          PageLines.Count() >= 2;
    auto Line = [&](int I) { return (I == 0 && FormFeed ? "\f" : "") + PageLines[I]; };
    if (Sink == TSink::Spooler && SpoolJob) {
      // A page that cannot start is reported as the write it prevents.
      bool Written = SpoolJob->StartPage();
      for (int I = 0; Written && I < PageLines.Count(); ++I) Written = SpoolJob->Write(Line(I) + "\r\n");
      if (!Written) {
        SpoolJob->EndPage();
        throw eVlxPrtError(VlxPrintingErrorPrefix + "\rError writing to print spooler. Page:" + IntToStr(CurVertPage));
      }
    } else if (Sink == TSink::File && TextFile.IsOpen()) {
      for (int I = 0; I < PageLines.Count(); ++I) TextFile.WriteLine(Line(I));
    } else if (Sink == TSink::Printer && Canvas) {
      for (int I = 0; I < PageLines.Count(); ++I) Canvas->TextOut(0, I * CanvasLineStep, PageLines[I]);
    }
  } else if (UnitSet == 1 && PageMode == pmPreview && PreviewMemoLines) {
    PreviewMemoLines->Assign(PageLines);
  }

  bool Finished = false;
  const int PrintWhat = RptSettings->PrintWhat;
  if (PageMode != pmLayoutOnly && PrintWhat != pwCurrentPage && PrintWhat != pwSnapshot) {
    Finished = PageEnd || PrintWhat == pwTestPage ||
               (PrintWhat == pwPageRange && ComparePageNo(CurPagePos(), PrintRangeTo) >= 0);
    if (RunState == rsActive && (!Finished || FooterPending)) {
      // A file gets no separator here: the form feed in front of the next page is one.
      if (Sink == TSink::Spooler) {
        if (SpoolJob) SpoolJob->EndPage();
      } else if (Printer()->Printing()) {
        Printer()->NewPage();
      }
    }
  }
  LastEmittedPage = CurPagePos();
  return Finished;
}

void TvlxPrintSettings::CloseOutput() {
  TCloseSteps Steps;
  if (SpoolJob) {
    // Ends the page, the document and the printer whatever the closing string does.
    std::unique_ptr<TSpoolJob> Job = std::move(SpoolJob);
    Steps.Run([&] {
      const std::string Finish = Decoded(RptSettings->FinishPrinterStr);
      if (!Finish.empty() && !Job->Write(Finish))
        throw eVlxPrtError(VlxPrintingErrorPrefix +
                           "Using Fast Printer Text. Error writing printer closing string to print spooler.");
    });
  }
  if (Printer()->Printing()) {
    Steps.Run([&] {
      // The development environment would be left with a job it cannot see; it is ended there.
      if ((RunState == rsTerminatedWithError || RunState == rsUserCancelled) && !IsDesignEnvRunning()) Printer()->Abort();
      else Printer()->EndDoc();
    });
  }
  if (TextFile.IsOpen()) {
    Steps.Run([&] {
      if (PagesWritten > 0 && PagedFile(*this) && FormFeedsOn()) TextFile.WriteLine("\f");
    });
    Steps.Run([&] { TextFile.Close(); });
  }
  Steps.Finish();
}
