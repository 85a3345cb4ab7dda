#include "engine/VLMXGbl/Output.h"

#include <algorithm>
#include <exception>
#include <memory>

#include "engine/VLMXGbl/ObjInfo.h"
#include "engine/VLMXGbl/PrintSettings.h"
#include "engine/VLMXGbl/RptStyles.h"
#include "engine/VLMXGbl/RunUI.h"
#include "engine/VLMXGbl0.h"
#include "engine/VLMXUtil.h"
#include "engine/Vellumix/ReportSettings.h"
#include "framework/Forms.h"
#include "framework/rtl/FileUtils.h"
#include "framework/rtl/SysUtils.h"

namespace {

constexpr int ofOverwrite = 0, ofAppend = 1;

bool FormFeedsOn(const TvlxReportSettings& S) { return S.ItemOpt(ioFormFeeds); }

std::string Decoded(const std::string& Text) {
  std::string Bytes;
  if (!Text.empty()) DecodePrinterString(Text, Bytes);
  return Bytes;
}

std::unique_ptr<TSpoolJob> OpenSpoolJob() {
  // Raw text always goes to the system's default printer, whichever printer the run chose.
  Printer()->SetPrinterIndex(-1);
  std::string Device, Driver;
  Printer()->GetPrinter(Device, Driver);
  auto Job = std::make_unique<TSpoolJob>();
  if (!Job->Open(Device))
    throw eVlxPrtError("Print Spooler Error **\rUnable to get printer for spooling (WinSpool.OpenPrinter)");
  return Job;
}

// The spooler's document with the printer's initialization string, started when the first
// page goes out: a run that emits no page (a range past the report's end) sends no job, which
// would eject a blank sheet, as the printer canvas drops such a job.
void StartSpoolDocument(TSpoolJob& Job, const TvlxReportSettings& S, const std::string& Init) {
  if (!Job.StartDocument(S.ReportDesc, "RAW"))
    throw eVlxPrtError("Print Spooler Error **\rUsing Fast Printer Text. Unable to start document "
                       "printing (StartDocPrinter)");
  if (!Init.empty() && !Job.Write(Init))
    throw eVlxPrtError("Using Fast Printer Text. Error writing printer initialization string to "
                       "print spooler.");
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
      throw EConvertError("Fast Printer Text Printer String:\r" + Text + "\rhas invalid ASCII character:" + Digits +
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

namespace {

// Raw text through the spooler: one spooler page per sheet, the closing string at the end.
class TSpoolerSink : public TvlxPageSink {
public:
  TSpoolerSink(TvlxPrintSettings& Run, std::unique_ptr<TSpoolJob> Job, std::string Init)
      : FRun(Run), FJob(std::move(Job)), FInit(std::move(Init)) {}
  bool TakesFormFeeds() const override { return true; }
  void WritePage(const TStrings& Lines, bool FormFeed) override {
    if (!FJob->DocumentStarted()) StartSpoolDocument(*FJob, FRun.Settings(), FInit);
    // A page that cannot start is reported as the write it prevents.
    bool Written = FJob->StartPage();
    for (int I = 0; Written && I < Lines.Count(); ++I)
      Written = FJob->Write((I == 0 && FormFeed ? "\f" : "") + Lines[I] + "\r\n");
    if (!Written) {
      FJob->EndPage();
      throw eVlxPrtError("\rError writing to print spooler. Page:" + IntToStr(FRun.CurVertPage));
    }
  }
  void NewSheet() override { FJob->EndPage(); }
  void Close() override {
    // The job ends its page, its document and the printer however the closing string does.
    const std::unique_ptr<TSpoolJob> Job = std::move(FJob);
    if (!Job->DocumentStarted()) return;
    const std::string Finish = Decoded(FRun.Settings().FinishPrinterStr);
    if (!Finish.empty() && !Job->Write(Finish))
      throw eVlxPrtError("Using Fast Printer Text. Error writing printer closing string to print spooler.");
  }

private:
  TvlxPrintSettings& FRun;
  std::unique_ptr<TSpoolJob> FJob;
  std::string FInit;
};

// The printer's job: text lines are drawn on the run's canvas, one printer page per sheet.
class TPrinterSink : public TvlxPageSink {
public:
  explicit TPrinterSink(TvlxPrintSettings& Run) : FRun(Run) {}
  bool TakesFormFeeds() const override { return false; }
  void WritePage(const TStrings& Lines, bool) override {
    TCanvas* Canvas = FRun.Canvas;
    if (!Canvas) return;
    // The lines go down by the line height the page was measured in, so the page's last line
    // is the sheet's last.
    FRun.Styles().ApplyFont(false);
    const int LineStep = std::max(FRun.LineHeight, 1);
    for (int I = 0; I < Lines.Count(); ++I) Canvas->TextOut(0, I * LineStep, Lines[I]);
  }
  void NewSheet() override {
    if (Printer()->Printing()) Printer()->NewPage();
  }
  void Close() override {
    if (!Printer()->Printing()) return;
    // The development environment would be left with a job it cannot see; it is ended there.
    // A job that got no page (a range past the report's end) would come out as a blank sheet.
    const bool Failed = FRun.RunState == rsTerminatedWithError || FRun.RunState == rsUserCancelled;
    if ((Failed || FRun.PagesWritten == 0) && !IsDesignEnvRunning()) Printer()->Abort();
    else Printer()->EndDoc();
  }

private:
  TvlxPrintSettings& FRun;
};

// The run's text file: the text and RTF destinations and the ASCII export. A file gets no
// separator between sheets: the form feed in front of the next page is one.
class TFileSink : public TvlxPageSink {
public:
  explicit TFileSink(TvlxPrintSettings& Run) : FRun(Run) {}
  bool TakesFormFeeds() const override { return true; }
  void WritePage(const TStrings& Lines, bool FormFeed) override {
    // The run's page is a string list: its lines are written where they lie, not copied out.
    const auto* List = dynamic_cast<const TStringList*>(&Lines);
    for (int I = 0; I < Lines.Count(); ++I) {
      if (I == 0 && FormFeed) FRun.TextFile.Write("\f");
      if (List) FRun.TextFile.WriteLine(List->StringRef(I));
      else FRun.TextFile.WriteLine(Lines[I]);
    }
  }
  void NewSheet() override {}
  void Close() override {
    // The ASCII export writes records, not sheets: it gets no closing form feed.
    const bool Paged = FRun.OutTextFile || FRun.OutRtfFile;
    TCloseSteps Steps;
    Steps.Run([&] {
      if (FRun.PagesWritten > 0 && Paged && FormFeedsOn(FRun.Settings())) FRun.TextFile.WriteLine("\f");
    });
    Steps.Run([&] { FRun.TextFile.Close(); });
    Steps.Finish();
  }

private:
  TvlxPrintSettings& FRun;
};

// Where pages go while no output is open: nowhere.
class TLayoutOnlySink : public TvlxPageSink {
public:
  bool TakesFormFeeds() const override { return false; }
  void WritePage(const TStrings&, bool) override {}
  void NewSheet() override {}
  void Close() override {}
} LayoutOnly;

// The preview's text box: it shows the page composed last.
class TPreviewSink : public TvlxPageSink {
public:
  explicit TPreviewSink(TvlxPreviewText& Text) : FText(Text) {}
  bool TakesFormFeeds() const override { return false; }
  void WritePage(const TStrings& Lines, bool) override { FText.ShowPage(Lines); }
  void NewSheet() override {}
  void Close() override {}

private:
  TvlxPreviewText& FText;
};

// The text file of the run, opened for rewriting or appending as the settings and the user
// say; nullptr, the user told, when the run is to stop quietly.
std::unique_ptr<TvlxPageSink> OpenFileSink(TvlxPrintSettings& Run) {
  const std::string& Name = Run.Settings().OutputFileName;
  if (!OutputFileNameAllowed(Run.Adapter().Component, Name)) return nullptr;
  bool Append = false;
  if (FileExists(Name)) {
    if (Run.Settings().IfOutputFileExists == ofAppend) Append = true;
    else if (Run.Settings().IfOutputFileExists != ofOverwrite) {
      const TvlxExistingFileAnswer Answer = RunUI().AskExistingFile(Name);
      if (Answer == TvlxExistingFileAnswer::Cancel) {
        Run.RunState = rsUserCancelled;
        return nullptr;
      }
      Append = Answer == TvlxExistingFileAnswer::Append;
    }
  }
  const int Code = Run.TextFile.Open(Name, Append);
  if (Code == 0) return std::make_unique<TFileSink>(Run);
  Beep(MsgBox::IconInformation);
  RunUI().ShowMessage(OpenErrorMessage(Name, Code), MsgBox::Ok);
  return nullptr;
}

}  // namespace

std::unique_ptr<TvlxPageSink> PreviewPageSink(TvlxPreviewText& Text) {
  return std::make_unique<TPreviewSink>(Text);
}

bool TvlxPrintSettings::OpenOutput() {
  // By the first output flag set in this order.
  if (OutFastPrinterText) {
    // Decoded first, so that a wrong string leaves nothing open.
    std::string Init = Decoded(Settings().InitPrinterStr);
    Sink = std::make_unique<TSpoolerSink>(*this, OpenSpoolJob(), std::move(Init));
  } else if (OutPrinter) {
    Printer()->SetTitle("Report: " + Settings().ReportDesc);
    // A window snapshot starts its own job.
    if (!OutSnapshot) Printer()->BeginDoc();
    Sink = std::make_unique<TPrinterSink>(*this);
  } else if (OutAnyFile) {
    Sink = OpenFileSink(*this);
  } else {
    throw eVlxIntError("Open Output Internal Error **\rOutput destination not specified.");
  }
  return Sink != nullptr;
}

void TvlxPrintSettings::EmitPage(bool PageEnd, bool FooterPending) {
  // A page laid out only goes nowhere and neither ends a sheet nor the report.
  if (PageMode == pmLayoutOnly) {
    LastEmittedPage = CurPagePos();
    return;
  }
  TvlxPageSink& To = Sink ? *Sink : LayoutOnly;
  if (UnitSet == usText) {
    const bool FormFeed =
        PagesWritten > 0 && To.TakesFormFeeds() && FormFeedsOn(Settings()) && PageLines.Count() >= 2;
    To.WritePage(PageLines, FormFeed);
  }
  if (NewSheetDue(PageEnd, FooterPending) && RunState == rsActive) To.NewSheet();
  LastEmittedPage = CurPagePos();
}

bool TvlxPrintSettings::NewSheetDue(bool PageEnd, bool FooterPending) {
  const TPrintWhat PrintWhat = Settings().PrintWhat;
  const TPoint RangeEnd = PrintRangeLast();
  bool NewSheet = false;
  if (PrintWhat != pwCurrentPage && PrintWhat != pwSnapshot) {
    const bool Finished = PageEnd || PrintWhat == pwTestPage ||
                          (PrintWhat == pwPageRange && ComparePageNo(CurPagePos(), RangeEnd) >= 0);
    if (Finished) Styles().BandInfo[bnTotals].Finished = true;
    // The report footer's own page comes only inside the range.
    NewSheet = !Finished || (FooterPending && CurVertPage < PrintRangeTo.Y);
  }
  // Each page across is a sheet of its own, on the report's last vertical page and on the
  // current page too.
  const bool MoreAcross = CurPageAcross < PagesAcross && ComparePageNo({CurPageAcross + 1, CurVertPage}, RangeEnd) <= 0;
  return NewSheet || (MoreAcross && PrintWhat != pwSnapshot);
}

void TvlxPrintSettings::CloseOutput() {
  if (const std::unique_ptr<TvlxPageSink> Closing = std::move(Sink)) Closing->Close();
}
