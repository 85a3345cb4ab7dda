// What the chosen output makes of the setup window: the run state's output flags, the controls
// that make sense for the destination, the page size of the chosen printer or text page, the
// font fitted to the page, and the four status panels that tell where and how wide it prints.
#include <algorithm>
#include <initializer_list>

#include "engine/VLMXGbl/ObjInfo.h"
#include "engine/VLMXGbl/PageNumbers.h"
#include "engine/VLMXGbl/PrintSettings.h"
#include "engine/VLMXGbl/Run.h"
#include "engine/VLMXGbl/RunStart.h"
#include "engine/VLMXGbl0.h"
#include "engine/VLMXUtil.h"
#include "engine/Vellumix/FileMgr.h"
#include "engine/Vellumix/ReportSettings.h"
#include "engine/Vellumix/Vellumix.h"
#include "framework/Buttons.h"
#include "framework/ComCtrls.h"
#include "framework/Dialogs.h"
#include "framework/ExtCtrls.h"
#include "framework/Grids.h"
#include "framework/Printers.h"
#include "framework/StdCtrls.h"
#include "framework/rtl/FileUtils.h"
#include "framework/rtl/SysUtils.h"
#include "windows/VLMXMain/VLMXMain.h"
#include "windows/VLMXPrev/VLMXPrev.h"

namespace {

constexpr TColor clSnapshotOrange = 33023;

void EnableAll(std::initializer_list<TControl*> Controls, bool Value) {
  for (TControl* C : Controls)
    if (C) C->SetEnabled(Value);
}

void ShowAll(std::initializer_list<TControl*> Controls, bool Value) {
  for (TControl* C : Controls)
    if (C) C->SetVisible(Value);
}

bool RecognisedKind() { return IsKindInRange(ObjInfo->ObjType); }

// The name of the printer in use: the system's default or the one the settings name.
std::string PrinterInUse() {
  const TStrings& Names = Printer()->Printers();
  int Index = RptSettings->DefaultPrinter ? -1 : FindPrinterIndex(RptSettings->PrinterName);
  if (Index < 0) {
    try {
      TPrinter& P = *Printer();
      const int Old = P.PrinterIndex();
      P.SetPrinterIndex(-1);
      Index = P.PrinterIndex();
      P.SetPrinterIndex(Old);
    } catch (const EPrinter&) {
      return RptSettings->PrinterName;
    }
  }
  return Index >= 0 && Index < Names.Count() ? Names[Index] : RptSettings->PrinterName;
}

// The width of Text in Font on the screen, where the window's panels show it.
int WindowTextWidth(const TFont& Font, const std::string& Text) {
  return Backend::ScreenTextDevice().TextExtent(Text, Font).cx;
}

// Path shortened with "..." in its folders until it is at most MaxWidth wide.
std::string ShortenPathForWidth(const std::string& Path, const TFont& Font, int MaxWidth) {
  const auto Width = [&](const std::string& S) { return WindowTextWidth(Font, S); };
  if (Width(Path) <= MaxWidth) return Path;
  const std::string Dir = ExtractFileDir(Path), Name = ExtractFileName(Path);
  const size_t Drive = Dir.find(':');
  std::string Prefix = (Drive == std::string::npos ? std::string() : Dir.substr(0, Drive + 1)) + "...";
  int Slashes = 0;
  for (size_t At = 0; At < Dir.size(); ++At) {
    if (Dir[At] != '\\') continue;
    if (++Slashes == 2) {
      Prefix = Dir.substr(0, At) + "...";
    } else if (Slashes > 2) {
      const std::string Candidate = Prefix + Dir.substr(At) + "\\" + Name;
      if (Width(Candidate) <= MaxWidth) return Candidate;
    }
  }
  return Prefix + "\\" + Name;
}

}  // namespace

void ShowDestination(TPanel& Panel, const std::string& Where, bool IsFile, int MaxWidth) {
  // The panel's frame takes 23 pixels: a path gets the rest, shortened in its folders.
  constexpr int Frame = 23;
  const std::string Caption = IsFile ? ShortenPathForWidth(Where, Panel.Font(), MaxWidth - Frame) : Where;
  Panel.SetCaption(Caption);
  // Measured on the screen: the printer's resolutions may not be known yet.
  Panel.SetWidth(std::min(WindowTextWidth(Panel.Font(), Caption) + Frame, MaxWidth));
}

TPanel* TfmVlxMain::MessagePanel() const { return fmVlxPreview ? fmVlxPreview->paMsg : paMsg; }

TWinControl* TfmVlxMain::FieldToFocus(TControl* Control) const {
  const TCustomForm* Form = this;
  if (fmVlxPreview) {
    Control = fmVlxPreview->TwinOf(Control);
    Form = fmVlxPreview;
  }
  auto* Win = dynamic_cast<TWinControl*>(Control);
  return Win && Screen->ActiveForm() == Form && Win->Enabled() && Win->Visible() ? Win : nullptr;
}

void TfmVlxMain::ShowOutputDestOptions(TObject* ChangedControl, bool All) {
  if (FSkipOutputRefresh) return;
  TvlxReportSettings& S = *RptSettings;
  TvlxPrintSettings& P = *PrintSettings;
  const auto Named = [this](const char* Name) { return dynamic_cast<TControl*>(FindComponent(Name)); };
  const bool InPrintWhat = ChangedControl && dynamic_cast<TControl*>(ChangedControl) &&
                           static_cast<TControl*>(ChangedControl)->Parent() == gbPrintWhat;
  const auto Runs = [&](std::initializer_list<const TObject*> Triggers, bool PrintWhatToo = false) {
    return All || (PrintWhatToo && InPrintWhat) ||
           std::find(Triggers.begin(), Triggers.end(), ChangedControl) != Triggers.end();
  };

  // 1: the output flags
  S.OutputDest = static_cast<TOutputDest>(std::max(cbxOutputDest->ItemIndex(), 0));
  DeriveOutputFlags(P.Run());
  {
    const TNotifyEvent Saved = cbxOutputQuality->OnChange;
    cbxOutputQuality->OnChange = nullptr;
    if (S.OutputQuality < cbxOutputQuality->Items().Count())
      cbxOutputQuality->SetText(cbxOutputQuality->Items()[S.OutputQuality]);
    cbxOutputQuality->OnChange = Saved;
    S.OutputQuality = static_cast<uint8_t>(std::max(cbxOutputQuality->ItemIndex(), 0));
  }
  const bool Export = P.OutAsciiFile;

  // 2: what may be printed
  if (Runs({cbxOutputDest}, true)) {
    for (TRadioButton* Rb : {rbPrintWhatWindowSnapshot, rbPrintWhatTestPage, rbPrintWhatPageRange,
                             rbPrintWhatCurrentPage, rbPrintWhatSelectedRows})
      Rb->SetEnabled(PrintWhatAllowed(static_cast<TPrintWhat>(Rb->Tag), S.OutputDest, ObjInfo->ObjType));
    TRadioButton* Checked = nullptr;
    for (int I = 0; I < gbPrintWhat->ControlCount() && !Checked; ++I)
      if (auto* Rb = dynamic_cast<TRadioButton*>(gbPrintWhat->Controls(I)); Rb && Rb->Checked()) Checked = Rb;
    if (Checked && Checked->Enabled()) {
      S.PrintWhat = static_cast<TPrintWhat>(Checked->Tag);
    } else {
      const bool Saved = FSuppressEvents;
      FSuppressEvents = true;
      rbPrintWhatAll->SetChecked(true);
      FSuppressEvents = Saved;
      S.PrintWhat = pwAll;
    }
    ShowAll({rbPrintWhatCompleteBranches, rbPrintWhatCurrentBranchAll, rbPrintWhatCurrentBranchDown}, false);
    EnableAll({rbPrintWhatCompleteBranches, rbPrintWhatCurrentBranchAll, rbPrintWhatCurrentBranchDown}, false);
    rbPrintWhatAll->SetCaption("&Entire Grid");
    const bool Range = rbPrintWhatPageRange->Checked();
    ShowAll({Named("lbPageRangeFrom"), Named("lbPageRangeTo"), edPageRangeFrom, edPageRangeTo}, Range);
    EnableAll({Named("lbPageRangeFrom"), Named("lbPageRangeTo"), edPageRangeFrom, edPageRangeTo}, Range);
    cmbSnapshotSize->SetVisible(rbPrintWhatWindowSnapshot->Checked());
    cmbSnapshotSize->SetEnabled(rbPrintWhatWindowSnapshot->Checked());
  }

  // 3: the flags again, from what may be printed
  DeriveOutputFlags(P.Run());
  const bool LaidOut = !P.OutSnapshot && !Export;
  const bool TextStyle = S.IsTextStyleOutput();

  // 4
  if (All) {
    gbDatasetRowCounting->SetVisible(ObjInfo->DataSet != nullptr);
    gbGroupBreak->SetVisible(!S.GroupColumns.empty());
  }
  // 5
  if (Runs({rbCountNumRcds, rbEstimateNumRcds}))
    EnableAll({Named("lbRcdEstimate"), edRcdEstimate}, rbEstimateNumRcds->Checked());
  // 6: the layout options; whether the output is laid out follows the destination too
  if (Runs({cbxAutoSizze, cbxOutputDest}, true)) {
    cbxAutoSizze->SetEnabled(RecognisedKind() && LaidOut);
    const bool Limit = cbxAutoSizze->ItemIndex() == 1;
    ShowAll({edMaxRowsToAutoSizze, Named("lbMaxRowsToAutoSizze")}, Limit);
    edMaxRowsToAutoSizze->SetEnabled(Limit);
    EnableAll({Named("lbPanelsAcrossPage"), edPanelsAcrossPage, Named("lbNumFixedColumns"), edNumFixedColumns,
                Named("lbStartingReportLineId"), edStartingReportLineId, Named("lbInterPanelGap"), edInterPanelGap,
                Named("lbTextTruncSymbol"), edTextTruncSymbol, Named("lbHorizLineFreq"), edHorizLineFreq,
                edMaxStringColWid, Named("lbMaxStringColWid"), edMaxMemoColWid, Named("lbMaxMemoColWid"),
                edMaxStringLines, Named("lbMaxStringLines"), edMaxMemoLines, Named("lbMaxMemoLines")},
               LaidOut);
    EnableAll({Named("lbColTitleAlignment"), cbxColTitleAlignment}, RecognisedKind() && LaidOut);
    edVertHtAdjPer->SetVisible(false);
    EnableAll({lbVertHtAdjPer, edVertHtAdjPer, Named("lbVertHtAdjPerPercentSymbol")}, LaidOut && P.OutPrinter);
  }
  // 7: the output file
  if (Runs({cbxOutputDest, edOutputFileName, dgColumns}, true)) {
    ShowAll({edOutputFileName, buBrowseFile, cbxIfOutputFileExists, bvOutputFileName}, P.OutAnyFile);
    EnableAll({edOutputFileName, buBrowseFile, cbxIfOutputFileExists}, P.OutAnyFile);
    sbPrinterSetup->SetVisible(P.OutPrinter);
    sbPrinterSetup->SetEnabled(P.OutPrinter);
    const bool NoColumn = ObjInfo->NoColPrinted();
    sbPrint->SetEnabled(!NoColumn);
    sbPreview->SetEnabled(!NoColumn && LaidOut);
    if (S.IfOutputFileExists < cbxIfOutputFileExists->Items().Count())
      cbxIfOutputFileExists->SetText(cbxIfOutputFileExists->Items()[S.IfOutputFileExists]);
    if (FollowDestinationExt(P.Run())) edOutputFileName->SetText(S.OutputFileName);
    P.SetTextMode();
  }
  // 8: printer and export options
  const bool Printing = P.OutPrinter || P.OutAnyFile;
  if (Runs({cbxOutputDest, cbxOutputQuality, cbDefaultPrinter}, true)) {
    cbUseReportViewer->SetEnabled(!P.OutSnapshot);
    EnableAll({cbShrinkToPage, cbExpandToPage, Named("lbSmallestFontSize"), Named("lbLargestFontSize"),
                edSmallestFontSize, edLargestFontSize},
               LaidOut && Printing);
    cbDefaultPrinter->SetEnabled(P.OutPrinter);
    cmbPrinters->SetEnabled(P.OutPrinter && !cbDefaultPrinter->Checked());
    EnableAll({gbExportOptions, Named("lbExportFieldDelim"), Named("lbExportQuote"), cmbExportFieldDelim,
                cmbExportQuote, cbExportOnlyPrintableChrs, Named("lbMaxExportLength"), Named("lbExportMaxMemoLng"),
                edExportMaxMemoLng, Named("lbExportMaxStrLng"), edExportMaxStrLng},
               Export);
  }
  // 10
  if (Runs({cbxOrientation, cbxOutputDest})) {
    EnableAll({Named("lbOrientation"), cbxOrientation}, P.OutPrinter);
    cbxReportAlignment->SetEnabled(LaidOut);
    if (TControl* Label = Named("lbReportAlignment")) Label->SetEnabled(LaidOut);
    if (cbxOrientation->ItemIndex() != S.Orientation) cbxOrientation->SetItemIndex(S.Orientation);
  }
  // 11: fast printer text, text page and margins
  if (Runs({cbxOutputDest, cbFastPrinterText, cbAllowFastPrinterText}, true)) {
    cbFastPrinterText->SetEnabled(P.OutPrinter && TextStyle && cbAllowFastPrinterText->Checked());
    const bool Fast = cbFastPrinterText->Enabled();
    gbFastPrinterText->SetVisible(Fast);
    EnableAll({edFastTextPrinterInit, edFastTextPrinterFinish}, Fast && cbFastPrinterText->Checked());
    ShowAll({edFastTextPrinterInit, edFastTextPrinterFinish, Named("lbFastTextPrinterInit"),
                Named("lbFastTextPrinterFinish")},
               Fast);
    cbFastPrinterText->SetChecked(cbFastPrinterText->Checked() && cbAllowFastPrinterText->Checked());
    const bool TextPage = TextStyle && (P.OutTextFile || (Fast && cbFastPrinterText->Checked()));
    EnableAll({edLinesPerPage, Named("lbLinesPerPage"), edTxtCharsPageWid, Named("lbTxtCharsPageWid")}, TextPage);
    gbMargins->SetHint(TextStyle ? "Text characters & lines|Margins are measured in text chars and lines"
                                 : "Thousands of an inch|Margins are measured in thousands of an inch");
    gbMargins->SetEnabled(LaidOut);
    for (int I = 0; I < gbMargins->ControlCount(); ++I) gbMargins->Controls(I)->SetEnabled(LaidOut);
  }
  // 12: where the output goes
  if (Runs({cbxOutputDest, edOutputFileName, cmbPrinters, cbDefaultPrinter})) {
    const std::string Where = P.OutPrinter   ? PrinterInUse()
                              : !P.OutAnyFile ? std::string()
                              : Trim(edOutputFileName->Text()).empty() ? "No File Selected"
                                                                       : S.OutputFileName;
    ShowDestination(*paDestination, Where, P.OutAnyFile, DestinationPanelWidth);
    if (fmVlxPreview) fmVlxPreview->ShowDestination(Where, P.OutAnyFile);
  }
  // 13, 14: the pages that apply
  if (Runs({cbxOutputDest, cbxOutputQuality}, true)) {
    if (LaidOut) {
      tsStyle->SetTabVisible(TabAllowedByName("Style"));
      tsTitles->SetTabVisible(TabAllowedByName("Titles"));
    } else {
      tsTitles->SetTabVisible(false);
    }
    if (TextStyle) pcStyles->SetActivePage(tsFixedSpacedFont);
  }
  if (Runs({cbxOutputQuality})) {
    paStyle->SetVisible(TextStyle);
    LayoutStylePanel();
  }
  // 15
  if (Runs({cbSettingsReadOnly})) {
    const TvlxFileMgr* Mgr = ObjInfo->Component ? ObjInfo->Component->FileMgr() : nullptr;
    sbSaveOpts->SetEnabled(!cbSettingsReadOnly->Checked() && !(Mgr && Mgr->ReadOnly()));
  }
  // 16
  if (Runs({cbxOutputQuality, cbxOutputDest})) {
    FillStyleOptsList(false);
    ShowAll({paPageDimensions, paPagesAcross}, Printing && LaidOut);
  }
  // 17: the memo strip follows every memo control, its left margin included
  if (Runs({cbMemoVisible, edMemoXPosPer, edMemoWidPer, edMemoSpacesAbove, edMemoSpacesBelow, lbxMemoLocation,
            rbRptMemoLeftJustify, rbRptMemoRightJustify, rbRptMemoCenterJustify, buMemoFont}))
    ShowMemoSettings();
  // 18
  if (All) {
    cbShowHint->SetChecked(S.ShowHint);
    if (ObjInfo->ObjType == 18) {
      edGrpBrkSameValue->SetEnabled(false);
      edGrpBrkSameValue->SetText("");
    }
  }
  // 19: both windows show the same choices: the preview's tool bar follows this window's
  if (fmVlxPreview) fmVlxPreview->TakeOutputChoices();
}

void TfmVlxMain::ShowPageDimensions(bool ShowWidthWarning) {
  const TvlxPrintSettings& P = *PrintSettings;
  if (P.OutSnapshot || P.OutAsciiFile) {
    paPageDimensions->SetCaption("");
    paPagesAcross->SetCaption(P.OutSnapshot ? "Snapshot" : "Export");
    paPagesAcross->SetColor(P.OutSnapshot ? clSnapshotOrange : clWhite);
    ShowReportWidthStatus();
    return;
  }
  std::string Height, Width, HeightUnit, WidthUnit;
  FmtSizeValue(P.PageHeight, 1, Height);
  FmtSizeValue(P.PageWidth, 0, Width);
  UnitSuffix(true, HeightUnit);
  UnitSuffix(false, WidthUnit);
  paPageDimensions->SetCaption(Height + HeightUnit + " h x " + Width + WidthUnit + " w");
  paPageDimensions->SetWidth(WindowTextWidth(paPageDimensions->Font(), paPageDimensions->Caption()) + 20);
  if (ObjInfo->ColScanResult != 0) ShowReportWidthStatus();
  else if (ShowWidthWarning)
    ShowStatusMsg(paMsg, "Report width unknown because columns were not scanned.", smkWarning, nullptr, 0);
}

void TfmVlxMain::ApplyFontScaling(bool ShowWidthWarning) {
  struct TRestoreCursor {
    TCursor Saved = Screen->Cursor();
    ~TRestoreCursor() { Screen->SetCursor(Saved); }
  } Restore;
  Screen->SetCursor(crHourGlass);
  TvlxReportSettings& S = *RptSettings;
  TvlxPrintSettings& P = *PrintSettings;
  const std::string PrinterName = S.PrinterName;
  FitFontToPage(P.Run(), paPagesAcross);
  if (S.PrinterName != PrinterName) cmbPrinters->SetText(S.PrinterName);
  ShowPageDimensions(ShowWidthWarning);
  gbOutputOptions->SetCaption(
      P.WorkFontSize == S.TextFontSize
          ? Format("Output Options (%d pts)", {P.WorkFontSize})
          : Format("Output Options (Scaled by: %d%% = %d pts)",
                   {MulDivRound(100, P.WorkFontSize, S.TextFontSize), P.WorkFontSize}));
}

void TfmVlxMain::ShowReportWidthStatus() {
  const TvlxPrintSettings& P = *PrintSettings;
  std::string Text;
  if (!P.OutSnapshot && !P.OutAsciiFile) {
    std::string Width, Unit;
    FmtSizeValue(P.PanelWidth, 0, Width);
    UnitSuffix(false, Unit);
    Text = "Total Report Width: " + Width + Unit;
    if (RptSettings->PanelsAcrossPage > 1)
      Text += Format(" x %d Panel%s = %d chars",
                     {P.PanelsAcrossPage, P.PanelsAcrossPage < 2 ? "" : "s", P.RptWidth});
  }
  ShowStatusMsg(paRptStatus, Text, smkNormal, nullptr, 0);
  if (fmVlxPreview) fmVlxPreview->ShowReportWidth(Text);
}

void TfmVlxMain::cbxOutputDestChange(TObject*) {
  if (FSuppressEvents) return;
  RptSettings->Modified = true;
  ShowOutputDestOptions(cbxOutputDest, false);
  PrintSettings->PageSetupChanged = true;
  ApplyFontScaling(true);
}

void TfmVlxMain::cbxOutputDestDblClick(TObject* Sender) {
  auto* Combo = dynamic_cast<TCustomComboBox*>(Sender);
  if (!Combo || Combo->Items().Count() == 0) return;
  int Next = Combo->ItemIndex() + 1;
  if (Next >= Combo->Items().Count() || Combo->Items()[Next].empty()) Next = 0;
  Combo->SetItemIndex(Next);
  if (Combo->OnChange) Combo->OnChange(Combo);
}

void TfmVlxMain::sbPrinterSetupClick(TObject*) {
  TvlxReportSettings& S = *RptSettings;
  const TvlxPrintSettings& P = *PrintSettings;
  if (P.OutPrinter) {
    if (PrinterSetupDialog1->Execute()) {
      PrintSettings->PageSetupChanged = true;
      S.PrinterName = Printer()->Printers()[Printer()->PrinterIndex()];
      cmbPrinters->SetText(S.PrinterName);
      S.Orientation = Printer()->Orientation() == TPrinterOrientation::poLandscape ? 1 : 0;
      cbxOrientation->SetItemIndex(S.Orientation);
      if (S.DefaultPrinter) {
        S.DefaultPrinter = false;
        cbDefaultPrinter->SetChecked(false);
        ShowStatusMsg(MessagePanel(), "Note: The report is no longer using the Default Printer.", smkWarning, Timer1,
                      5);
      }
    }
  } else if (P.OutAnyFile) {
    SaveDialog1->SetTitle(P.OutAsciiFile ? "Export Report As" : "Save Report As");
    SaveDialog1->SetFilter(P.OutTextFile  ? "Text Files|*.TXT"
                           : P.OutRtfFile ? "Rich Text Files|*.RTF"
                                          : "ASCII Files|*.ASC");
    SaveDialog1->SetFileName(edOutputFileName->Text());
    // The edit follows the chosen name, so that the next check and transfer see it.
    if (SaveDialog1->Execute()) {
      S.OutputFileName = SaveDialog1->FileName();
      edOutputFileName->SetText(S.OutputFileName);
    }
  }
  if (cbxOutputDest->OnChange) cbxOutputDest->OnChange(cbxOutputDest);
}

void TfmVlxMain::cbxOutputQualityChange(TObject*) {
  if (FSuppressEvents || cbxOutputQuality->ItemIndex() < 0) return;
  RptSettings->Modified = true;
  RptSettings->OutputQuality = static_cast<uint8_t>(cbxOutputQuality->ItemIndex());
  ShowOutputDestOptions(cbxOutputQuality, false);
}

void TfmVlxMain::cbxOutputQualityDropDown(TObject*) {
  cbxOutputQuality->Items().Clear();
  cbxOutputQuality->Items().Add("ASCII LineDraw");
  cbxOutputQuality->Items().Add("IBM LineDraw");
  if (!FSuppressEvents) RptSettings->Modified = true;
}

void TfmVlxMain::itmCalcColSIzeClick(TObject*) {
  if (FSuppressEvents) return;
  ObjInfo->ColumnScan(this, paPagesAcross, FColumnsChanged);
}

void TfmVlxMain::BindOutputHandlers() {
  BindHandler("cbxOutputDestChange", &TfmVlxMain::cbxOutputDestChange);
  BindHandler("cbxOutputDestDblClick", &TfmVlxMain::cbxOutputDestDblClick);
  BindHandler("cbxOutputQualityChange", &TfmVlxMain::cbxOutputQualityChange);
  BindHandler("sbPrinterSetupClick", &TfmVlxMain::sbPrinterSetupClick);
  BindHandler("cbxOutputQualityDropDown", &TfmVlxMain::cbxOutputQualityDropDown);
  BindHandler("itmCalcColSIzeClick", &TfmVlxMain::itmCalcColSIzeClick);
  const auto Refresh = [this](TObject* Sender) { ShowOutputDestOptions(Sender, false); };
  for (const char* Name : {"rbOutputQualityTypesetClick", "rbOutputQualityTextClick", "rgDestinationClick"})
    PublishedMethod(Name, TNotifyEvent(Refresh));
}
