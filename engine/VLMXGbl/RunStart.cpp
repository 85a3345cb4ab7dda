#include "engine/VLMXGbl/RunStart.h"

#include <algorithm>

#include "engine/VLMXGbl/ColumnTotals.h"
#include "engine/VLMXGbl/LineDraw.h"
#include "engine/VLMXGbl/Run.h"
#include "engine/VLMXGbl0.h"
#include "engine/VLMXUtil.h"
#include "engine/Vellumix/Vellumix.h"
#include "framework/Printers.h"
#include "framework/rtl/FileUtils.h"
#include "framework/rtl/SysUtils.h"

// ---- The steps a caller may take over ---------------------------------------------------------

void TvlxStartSteps::LoadSettings(TvlxRun& Run) {
  // The line-draw sets are this machine's; the fixed columns are unknown until the report's
  // section names them.
  LoadLineDrawStyles(Run.Settings);
  Run.Settings.NumFixedCols = -1;
  Run.Adapter().Component->LoadReportSettings();
}

void TvlxStartSteps::ChooseOutput(TvlxRun& Run) {
  DeriveOutputFlags(Run);
  FollowDestinationExt(Run);
}

void TvlxStartSteps::FitPage(TvlxRun& Run, bool) { FitFontToPage(Run, PagesAcrossLabel()); }

// ---- The start of a run and the preparation of a print -----------------------------------------

namespace {

// What the column measuring reads besides the rows: as many totals lines as the column list's
// totals make, line numbers as wide as the last one, and the device copies of the maxima that
// cap widths in device units, now that the page's resolutions are known.
void PrepareColumnMeasure(TvlxRun& Run) {
  Run.Adapter().CountTotalLines();
  SizeLineNumbers(Run);
  Run.Settings.ConvertMarginsToDevice();
}

}  // namespace

void StartObject(TvlxRun& Run, TvlxStartSteps& Steps) {
  TObjInfo& Info = Run.Adapter();
  Info.Setup();
  Steps.ObjectIdentified();
  Steps.LoadSettings(Run);
  // The handler sees the settings through the windows' reference, which it may set; the id
  // stays the component's whatever the handler did.
  if (Info.AfterOptionsLoaded && RptSettings) {
    const std::string Id = RptSettings->ReportId;
    Info.AfterOptionsLoaded(Info.Component, RptSettings);
    if (RptSettings) RptSettings->ReportId = Id;
  }
  if (const TvlxVellumix* Component = Info.Component) {
    Info.OnFieldEdit = Component->OnFieldEdit;
    Info.OnZeroColumnTotals = Component->OnZeroColumnTotals;
    Info.OnFieldAlign = Component->OnFieldAlign;
    Info.OnFilterRecord = Component->OnFilterRecord;
  }
  Info.CountSelected();
  Run.State.AskSelectedRows();
  Info.CalcUsedExtent();
  TvlxReportSettings& S = Run.Settings;
  // The count runs over list positions, where the line number stands first whether it prints
  // or not (a decision grid never prints it): the object's own fixed columns follow it, and a
  // hidden line number takes no place on the page.
  if ((S.NewRpt || Info.DecisionGrid) && S.NumFixedCols < 0) S.NumFixedCols = Info.FixedCols + 1;
  S.NumFixedCols = std::max(S.NumFixedCols, 0);
  int Count = Info.ColCount;
  Info.BuildColList(Count, true);
  Info.CheckEmpty();
  Info.GetSortFields();
  S.NumSortFields = Info.SortFieldCount;
  // The stored totals belong to the column list as much as the hidden columns do.
  if (Info.ColsList) LoadColumnTotals(*Info.ColsList, S);
  Steps.ColumnsBuilt();
}

bool StartRun(TvlxRun& Run, TvlxStartSteps& Steps) {
  StartObject(Run, Steps);
  if (!Run.Styles.LoadStyles(Run.Settings.StyleName)) throw eVlxSUError("Cannot Load Vellumix! Styles");
  Steps.ChooseOutput(Run);
  Run.State.PageSetupChanged = true;
  Steps.FitPage(Run, false);
  const bool Valid = Steps.SettingsValid();
  Steps.BeforeColumnScan();
  PrepareColumnMeasure(Run);
  bool RescanPending = true;
  Run.Adapter().ColumnScan(nullptr, Steps.PagesAcrossLabel(), RescanPending);
  // Now that the columns are measured, the width and the pages across are known.
  Steps.FitPage(Run, false);
  Steps.ColumnsScanned();
  return Valid;
}

void RemeasureColumns(TvlxRun& Run, TControl* PagesAcrossLabel, bool& RescanPending) {
  PrepareColumnMeasure(Run);
  Run.Adapter().Remeasure(PagesAcrossLabel, RescanPending);
}

void PrepareToPrint(TvlxRun& Run, TvlxStartSteps& Steps, bool& RescanPending) {
  TvlxPrintSettings& P = Run.State;
  const TvlxReportSettings& S = Run.Settings;
  P.PageMode = pmPrint;
  Steps.FitPage(Run, true);
  if (P.OutSnapshot || P.OutAsciiFile) return;
  RemeasureColumns(Run, Steps.PagesAcrossLabel(), RescanPending);
  Steps.FitPage(Run, false);
  P.SetPageRange(S.PrintWhat, false, S.PageRangeFrom, S.PageRangeTo);
}

// ---- Output and page ---------------------------------------------------------------------------

bool PrintWhatAllowed(TPrintWhat What, TOutputDest Dest, TObjKind Kind) {
  switch (What) {
    case pwAll: return true;
    case pwSnapshot: return Dest == odPrinter;
    case pwTestPage:
    case pwPageRange:
    case pwCurrentPage: return Dest != odAsciiExport;
    case pwSelectedRows: return Kind == 3 || (Kind >= otDBGrid && Kind <= otStringGrid);
    default: return false;  // the branch choices of trees, which no printable object has
  }
}

void DeriveOutputFlags(TvlxRun& Run) {
  TvlxReportSettings& S = Run.Settings;
  TvlxPrintSettings& P = Run.State;
  TObjInfo& Info = Run.Adapter();
  P.OutPrinter = S.OutputDest == odPrinter;
  P.OutTextFile = S.OutputDest == odTextFile;
  P.OutAsciiFile = S.OutputDest == odAsciiExport;
  P.OutRtfFile = S.OutputDest == odRtfFile;
  Info.ColumnTotalsOn = S.ItemOpt(ioColumnTotals);
  Info.FieldFormatOn = S.ItemOpt(ioFieldFormat);
  if (!PrintWhatAllowed(S.PrintWhat, S.OutputDest, Info.ObjType)) S.PrintWhat = pwAll;
  P.OutSnapshot = S.PrintWhat == pwSnapshot;
  P.OutAnyFile = P.OutTextFile || P.OutRtfFile || P.OutAsciiFile;
  S.LineDrawSet = S.OutputQuality == 1 ? 1 : 0;
  P.SetTextMode();
}

bool FollowDestinationExt(TvlxRun& Run) {
  const TvlxPrintSettings& P = Run.State;
  std::string& Name = Run.Settings.OutputFileName;
  if (!P.OutAnyFile) return false;
  const std::string Ext = UpperCase(ExtractFileExt(Name));
  const char* const Wanted = P.OutTextFile ? ".TXT" : P.OutRtfFile ? ".RTF" : ".ASC";
  // The name keeps its own spelling when it already has the destination's extension.
  if ((Ext != ".ASC" && Ext != ".TXT" && Ext != ".RTF") || Ext == Wanted) return false;
  Name = ChangeFileExt(Name, Wanted);
  return true;
}

void SizeLineNumbers(TvlxRun& Run) {
  TObjInfo& Info = Run.Adapter();
  const int Start = Run.Settings.StartingReportLineId;
  Info.RowNumDigits = static_cast<int>(
      std::max(IntToStr(Start).size(), IntToStr(Info.RowCount + Start - 1).size()));
  Info.MaxDigitsSample(bnData, Info.LineNoSample);
}

void MeasurePage(TvlxRun& Run, TControl* Label) {
  TvlxReportSettings& S = Run.Settings;
  TvlxPrintSettings& P = Run.State;
  TObjInfo& Info = Run.Adapter();
  const bool TextStyle = S.IsTextStyleOutput();
  P.OutFastPrinterText = TextStyle && S.FastPrinterText && P.OutPrinter;
  // An unusable or unknown printer gives way to the system's default, which the settings then
  // name: the window never shows one printer while the report goes to another.
  const int Wanted = S.DefaultPrinter ? -1 : FindPrinterIndex(S.PrinterName);
  bool Usable = S.DefaultPrinter || Wanted >= 0;
  if (Usable) {
    try {
      Printer()->SetPrinterIndex(Wanted);
    } catch (const EPrinter&) {
      Usable = false;
    }
  }
  if (!Usable) {
    try {
      Printer()->SetPrinterIndex(-1);
    } catch (const EPrinter&) {
      const std::string Name = Wanted >= 0 ? Printer()->Printers()[Wanted] : S.PrinterName;
      throw eVlxSUError("Default printer \"" + Name + "\" is invalid. Please change to a different printer");
    }
    S.PrinterName = Printer()->Printers()[Printer()->PrinterIndex()];
    S.Modified = true;
  }
  if (P.PageMode == pmPrint) P.Canvas = Printer()->Canvas();
  if (!P.OutFastPrinterText && S.Orientation < 2) {
    const auto Orientation = S.Orientation == 0 ? TPrinterOrientation::poPortrait : TPrinterOrientation::poLandscape;
    if (Printer()->Orientation() != Orientation) {
      Printer()->SetOrientation(Orientation);
      P.PageSetupChanged = true;
    }
  }
  P.Borders = S.ItemOpt(ioBorders);
  P.ShareAdjBorders = S.ItemOpt(ioShareAdjBorders);
  P.VerticalLines = S.ItemOpt(ioVerticalLines);
  P.HorizontalLines = S.ItemOpt(ioHorizontalLines);
  P.GrpBrkLines = S.ItemOpt(ioGrpBrkLines);
  P.GetResolutions();
  TCanvas& Canvas = *Printer()->Canvas();
  if (TextStyle && P.OutPrinter) {
    Canvas.Font().SetName(S.TextFontName);
    Canvas.Font().SetSize(P.WorkFontSize);
    Canvas.Font().SetPitch(TFontPitch::fpFixed);
    Canvas.Font().SetStyle(IntToFontStyles(S.TextFontStyle));
  }
  P.SetTextMode();
  // A text line takes the font's height, stretched or squeezed by the vertical adjustment;
  // the page holds as many such lines as its height allows.
  P.LineHeight = Canvas.TextHeight("X") + (TextStyle && S.FastPrinterText ? 3 : 0);
  if (S.VertHtAdjPer > 0) P.LineHeight = std::max(MulDivRound(P.LineHeight, S.VertHtAdjPer, 100), 1);
  P.CharWidth = Canvas.TextWidth("X");
  P.PanelGap = P.PanelsAcrossPage < 2 ? 0
               : TextStyle           ? S.InterPanelGapTxt
                                     : P.ToUnits(S.InterPanelGapThous, false, false, 0);
  if (P.OutSnapshot || P.OutAsciiFile) return;
  if ((TextStyle && P.OutAnyFile) || P.OutFastPrinterText) {
    P.PageWidth = S.TxtCharsPageWid;
    P.PageHeight = S.LinesPerpage;
  } else if (P.OutPrinter) {
    P.PageHeight = P.PixToChars(Printer()->PageHeight(), true);
    P.PageWidth = P.PixToChars(Printer()->PageWidth(), false);
    const int Line = P.UnitSet == usText ? 1 : P.LineHeight;
    S.LinesPerpage = Line > 0 ? P.PageHeight / Line : 0;
  }
  if (Info.ColScanResult != 0) {
    Info.CalcPagesAcross(Label);
    if (IsKindInRange(Info.ObjType) && Info.ColsList) {
      int Sum = 0;
      for (int I = 0; I < Info.ColsList->Count(); ++I)
        if (const TColsListData* Col = Info.ColsList->Items(I); Col && Col->Printed) Sum += Col->CellWidth;
      P.PanelWidth = Sum + P.PanelGap;
      P.RptWidth = P.PanelsAcrossPage * P.PanelWidth - P.PanelGap;
    }
  } else {
    // Without a scan there is no width; a stale one would steer the font fitting wrongly.
    P.RptWidth = -1;
  }
  P.PageSetupChanged = false;
}

void FitFontToPage(TvlxRun& Run, TControl* Label) {
  const TvlxReportSettings& S = Run.Settings;
  TvlxPrintSettings& P = Run.State;
  P.PanelsAcrossPage = S.PanelsAcrossPage;
  P.WorkFontSize = S.ClampFontSize(S.TextFontSize);
  P.ZoomPercent = 100;
  MeasurePage(Run, Label);
  const bool Paged = P.OutPrinter || P.OutTextFile;
  if (Paged && P.RptWidth > 0 && (S.ShrinkToPage || S.ExpandToPage)) {
    bool Shrunk = false, Expanded = false;
    // Every pass changes the size or the panels, or stops: a report too wide with only
    // expanding allowed stops at once rather than looping without a step.
    for (;;) {
      if (P.RptWidth <= P.PageWidth) {
        if (Shrunk || !S.ExpandToPage || P.WorkFontSize >= S.LargestFontSize) break;
        ++P.WorkFontSize;
        Expanded = true;
      } else if (S.ShrinkToPage && P.WorkFontSize <= S.SmallestFontSize) {
        if (P.PanelsAcrossPage < 2) break;
        --P.PanelsAcrossPage;
      } else if (Expanded || S.ShrinkToPage) {
        --P.WorkFontSize;
        Shrunk = true;
        if (!S.ShrinkToPage) {
          MeasurePage(Run, Label);
          break;
        }
      } else {
        break;
      }
      MeasurePage(Run, Label);
    }
  }
  if (Paged && Printer()->Canvas()->Font().Size() != P.WorkFontSize) MeasurePage(Run, Label);
}
