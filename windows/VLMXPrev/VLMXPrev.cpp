#include "windows/VLMXPrev/VLMXPrev.h"

#include <algorithm>
#include <array>
#include <climits>
#include <cmath>
#include <cstdlib>

#include "engine/VLMXCols.h"
#include "engine/VLMXGbl/ObjInfo.h"
#include "engine/VLMXGbl/PageNumbers.h"
#include "engine/VLMXGbl/PrintSettings.h"
#include "engine/VLMXGbl/RptStyles.h"
#include "engine/VLMXGbl/RunStart.h"
#include "engine/VLMXGbl/RunUI.h"
#include "engine/VLMXGbl0.h"
#include "engine/VLMXUtil.h"
#include "engine/Vellumix/ReportSettings.h"
#include "engine/Vellumix/Vellumix.h"
#include "framework/Buttons.h"
#include "framework/Dialogs.h"
#include "framework/ExtCtrls.h"
#include "framework/Grids.h"
#include "framework/Menus.h"
#include "framework/StdCtrls.h"
#include "framework/rtl/SysUtils.h"
#include "windows/VLMXMain/VLMXMain.h"
#include "windows/VLMXPgrs/VLMXPgrs.h"
#include "windows/VLMXPrev/PrvwPageList.h"
#include "windows/VLMXPw/VLMXPw.h"

TfmVlxPreview* fmVlxPreview = nullptr;

namespace {

constexpr unsigned short vkEscape = 27, vkPrior = 33, vkNext = 34, vkUp = 38, vkDown = 40;
constexpr int MinFontSize = 2, MaxFontSize = 30, MinZoom = 25, MaxZoom = 500;
constexpr int LastPageSearchRows = 101;
const char* const IniName = "Vellumix.Ini";
const char* const TextFileItem = "Text File";
// The status panels: the room around a panel's text, and the least a destination shows.
constexpr int StatusMargin = 16, MinDestinationWidth = 60;

std::string UserName() { return ObjInfo && ObjInfo->Component ? ObjInfo->Component->UserName() : ""; }

// Raises one of the window's flags for a scope, however it is left.
class TFlagRaised {
public:
  explicit TFlagRaised(bool& Flag) : FFlag(Flag) { FFlag = true; }
  ~TFlagRaised() { FFlag = false; }
  TFlagRaised(const TFlagRaised&) = delete;
  TFlagRaised& operator=(const TFlagRaised&) = delete;

private:
  bool& FFlag;
};

}  // namespace

TfmVlxPreview::TfmVlxPreview(TComponent* AOwner) : TForm(AOwner) {
#define VLX_PREVIEW_BIND(Class, Name) Published(Name, #Name);
  VLX_PREVIEW_CONTROLS(VLX_PREVIEW_BIND)
#undef VLX_PREVIEW_BIND
  FCanvas.SetDevice(&Backend::ScreenTextDevice());
  BindHandlers();
  CreateFromLayout("TfmVlxPreview");
}

TfmVlxPreview::~TfmVlxPreview() = default;

void TfmVlxPreview::BindHandlers() {
  const auto On = [this](const char* Name, std::function<void()> Do) {
    PublishedMethod(Name, TNotifyEvent([Do = std::move(Do)](TObject*) { Do(); }));
  };
  On("FormCreate", [this] { FormCreate(); });
  On("FormShow", [this] { FormShow(); });
  On("FormDestroy", [this] { FormDestroy(); });
  On("FormResize", [this] { FormResize(); });
  PublishedMethod("FormClose", TCloseEvent([this](TObject*, TCloseAction&) { FormClose(); }));
  OnCloseQuery = [this](TObject*, bool& CanClose) { FormCloseQuery(CanClose); };
  On("sbNextPageClick", [this] { PageNext(true); });
  On("sbPrevPageClick", [this] {
    if (!sbPrevPage->Enabled() || FBusy) return Beep();
    GoToPage(gpPrevious);
  });
  On("sbFirstPageClick", [this] { FirstPage(); });
  On("sbLastPageClick", [this] { LastPageSearch(); });
  On("sbPrintClick", [this] {
    if (sbPrint->Enabled()) PrintFromPreview();
  });
  On("sbExitClick", [this] { Close(); });
  On("sbFitWidthClick", [this] { FitWidth(); });
  On("sbFitPageClick", [this] { FitPage(); });
  On("sbClipBoardClick", [this] { CopyPage(); });
  On("itmReportOptionsClick", [this] {
    OptionsRequested = true;
    Close();
  });
  On("itmSelectAllClick", [this] { memPreview->SelectAll(); });
  On("itmCopyToClipBoardClick", [this] { memPreview->CopyToClipboard(); });
  On("itmZoomLevelClick", [this] { cmbZoomLevel->SetFocus(); });
  On("itmMaximizedClick", [this] {
    SetWindowState(WindowState() == TWindowState::wsMaximized ? TWindowState::wsNormal : TWindowState::wsMaximized);
  });
  // A command's menu items, and their short cuts, are enabled exactly when its button is.
  On("mnViewClick", [this] {
    itmMaximized->SetChecked(WindowState() == TWindowState::wsMaximized);
    itmFirstPage->SetEnabled(sbFirstPage->Enabled());
    itmLastPage->SetEnabled(sbLastPage->Enabled());
  });
  On("mnFileClick", [this] {
    TMenuItem* const Items[] = {itmAllPages, itmCurrentPage, itmPageRange};
    for (int I = 0; I < 3; ++I) Items[I]->SetChecked(cbxPrintWhatPages->ItemIndex() == I);
    itmPrint->SetEnabled(sbPrint->Enabled());
  });
  On("puPreviewPopup", [this] {
    const std::pair<TMenuItem*, TSpeedButton*> Items[] = {{itmPopFirstPage, sbFirstPage},
                                                          {itmPopPrevPage, sbPrevPage},
                                                          {itmPopNextPage, sbNextPage},
                                                          {itmPopLastPage, sbLastPage}};
    for (const auto& [Item, Button] : Items) Item->SetEnabled(Button->Enabled());
  });
  On("Help1Click", [] { Application->HelpContext(210); });
  const auto SelectPrintWhat = [this](int Index) {
    cbxPrintWhatPages->SetItemIndex(Index);
    SyncOutputToSetup();
  };
  On("itmAllPagesClick", [=] { SelectPrintWhat(0); });
  On("itmCurrentPageClick", [=] { SelectPrintWhat(1); });
  On("itmPageRangeClick", [=, this] {
    SelectPrintWhat(2);
    edFromPageNum->SetFocus();
  });
  On("cbxPrintWhatPagesClick", [this] { SyncOutputToSetup(); });
  On("cbxPrintWhatPagesDblClick", [this] {
    cbxPrintWhatPages->SetItemIndex((cbxPrintWhatPages->ItemIndex() + 1) % cbxPrintWhatPages->Items().Count());
    SyncOutputToSetup();
  });
  On("cbxOutputDestChange", [this] { cbxOutputDestChange(); });
  On("edOutputFileNameExit", [this] { edOutputFileNameExit(); });
  PublishedMethod("edOutputFileNameKeyPress", TKeyPressEvent([this](TObject*, char& Key) {
    if (Key != '\r') return;
    Key = 0;
    edOutputFileNameExit();
  }));
  On("cbxIfOutputFileExistsChange", [this] { cbxIfOutputFileExistsChange(); });
  On("sbPrinterSetupClick", [this] { PrinterSetupOrBrowse(); });
  On("PageSizeEnter", [this] { RememberPageSize(); });
  PublishedMethod("PageSizeExit", TNotifyEvent([this](TObject* Sender) { edPageSizeExit(dynamic_cast<TEdit*>(Sender)); }));
  PublishedMethod("PageSizeKeyPress", TKeyPressEvent([this](TObject* Sender, char& Key) {
    if (Key != '\r') return;
    Key = 0;
    edPageSizeExit(dynamic_cast<TEdit*>(Sender));
  }));
  // Zoom.
  // Leaving the combo as the zoom left it keeps the zoom: a fit is no whole percentage.
  On("cmbZoomLevelExit", [this] {
    if (cmbZoomLevel->Text() != FZoomShown) ApplyZoomText(cmbZoomLevel->Text());
  });
  On("cmbZoomLevelChange", [this] {
    if (!FShowingZoom && cmbZoomLevel->Text().size() >= 3) ApplyZoomText(cmbZoomLevel->Text());
  });
  On("cmbZoomLevelEnter", [this] {
    const int Index = cmbZoomLevel->Items().IndexOf(cmbZoomLevel->Text());
    cmbZoomLevel->SetItemIndex(Index >= 0 ? Index : cmbZoomLevel->Items().IndexOf("100%"));
  });
  PublishedMethod("cmbZoomLevelKeyPress", TKeyPressEvent([this](TObject*, char& Key) {
    if (Key == '\r') ApplyZoomText(cmbZoomLevel->Text());
  }));
  PublishedMethod("cmbZoomLevelKeyDown", TKeyEvent([this](TObject*, unsigned short& Key, TShiftState) {
    if (Key == vkPrior || Key == vkNext) memPreview->SetFocus();
  }));
  PublishedMethod("itmZoomClick", TNotifyEvent([this](TObject* Sender) {
    if (auto* Item = dynamic_cast<TMenuItem*>(Sender)) ApplyZoomText(Item->Caption());
  }));
  // The text box.
  PublishedMethod("memPreviewKeyDown", TKeyEvent([this](TObject* Sender, unsigned short& Key, TShiftState Shift) {
    if (Sender == memPreview) memPreviewKeyDown(Key, Shift);
    ShowRowCol();
  }));
  PublishedMethod("memPreviewKeyUp", TKeyEvent([this](TObject*, unsigned short&, TShiftState) { ShowRowCol(); }));
  PublishedMethod("memPreviewMouseUp", TMouseEvent([this](TObject*, TMouseButton, TShiftState, int, int) { ShowRowCol(); }));
}

// ---- Life of the window -----------------------------------------------------------------------

void TfmVlxPreview::ShowPage(const TStrings& Lines) { memPreview->SetText(Lines.Text()); }

void TfmVlxPreview::FormCreate() {
  SetPosition(TPosition::poDesigned);
  TvlxReportSettings& S = *RptSettings;
  PrintSettings->Sink = PreviewPageSink(*this);
  TFont& Font = memPreview->Font();
  Font.SetPitch(TFontPitch::fpFixed);
  Font.SetCharSet(1);
  Font.SetStyle({});
  if (!S.TextFontName.empty()) Font.SetName(S.TextFontName);
  BaseFontSize = Font.Size();
  BaseFontHeight = Font.Height();
  FCanvas.Font().Assign(Font);
  MemoLineHeight = FCanvas.TextHeight("AgyX");
  LastTotalsRow = 0;
}

void TfmVlxPreview::FormShow() {
  // Shown again (a change of the window's state): the pages stay where the user left them.
  if (FShown) return;
  FShown = true;
  const TFlagRaised Opening(FBusy);
  SyncOutputToSetup();
  InitPreview();
  GoToPage(gpNext);
  // The page keys (PgDn, Shift+PgUp, Esc) belong to the text box: it has the focus from the start.
  SetActiveControl(memPreview);
}

void TfmVlxPreview::InitPreview() {
  IniLoadFormSize(IniName, this, UserName());
  Application->ProcessMessages();
  FitWidth();
  fmVlxMain->ShowReportWidthStatus();
  ResetPreview();
}

void TfmVlxPreview::FormCloseQuery(bool& CanClose) {
  // Going to the options leaves the question to the setup window, which the user sees next.
  if (OptionsRequested || !fmVlxMain->PreviewOpenedByStart()) return;
  if (FBusy) {
    CanClose = false;
    return Beep();
  }
  CommitTypedOutput();
  // The zoom is kept with the settings the question saves.
  KeepZoomLevel();
  CanClose = fmVlxMain->AskSaveClosingPreview();
  if (!CanClose) Beep();
}

void TfmVlxPreview::FormClose() {
  IniSaveFormSize(IniName, this, UserName());
  KeepZoomLevel();
}

void TfmVlxPreview::KeepZoomLevel() {
  if (BaseFontSize > 0) RptSettings->PreviewZoomLevel = memPreview->Font().Size() * 100 / BaseFontSize;
}

void TfmVlxPreview::FormDestroy() {
  PageList.reset();
  if (PrintSettings) {
    PrintSettings->BMLineList.Clear();
    PrintSettings->Sink.reset();
  }
  if (ObjInfo && ObjInfo->SavedPosn) ObjInfo->SavedPosn->Restore();
}

void TfmVlxPreview::FormResize() {
  if (!paToolbar || !cbxIfOutputFileExists) return;
  // The file name takes the printer setup button's place: only one of them shows.
  cbxIfOutputFileExists->SetLeft(paToolbar->ClientWidth() - cbxIfOutputFileExists->Width() - 5);
  buBrowseFile->SetLeft(cbxIfOutputFileExists->Left() - buBrowseFile->Width() - 5);
  edOutputFileName->SetLeft(sbPrinterSetup->Left());
  edOutputFileName->SetWidth(std::max(0, buBrowseFile->Left() - 2 - sbPrinterSetup->Left()));
  LayoutStatusLine();
}

void TfmVlxPreview::LayoutStatusLine() {
  if (!paMsg || !fmVlxMain) return;
  const auto Width = [](const TPanel& Panel, const std::string& Text) {
    return Backend::ScreenTextDevice().TextExtent(Text, Panel.Font()).cx;
  };
  paRptWidMsg->SetWidth(Width(*paRptWidMsg, paRptWidMsg->Caption()) + StatusMargin);
  // The destination gets what the other panels leave of the line.
  const int Room = ClientWidth() - paRowCol->Width() - paPageNum->Width() - paRptWidMsg->Width();
  ::ShowDestination(*paDestination, FDestination, FDestinationIsFile,
                    std::clamp(Room, MinDestinationWidth, DestinationPanelWidth));
}

void TfmVlxPreview::ShowDestination(const std::string& Where, bool IsFile) {
  FDestination = Where;
  FDestinationIsFile = IsFile;
  LayoutStatusLine();
}

void TfmVlxPreview::ShowReportWidth(const std::string& Text) {
  paRptWidMsg->SetCaption(Text);
  LayoutStatusLine();
}

// ---- Pages ------------------------------------------------------------------------------------

void TfmVlxPreview::ResetPreview() {
  sbPrevPage->SetEnabled(false);
  PreviewStartReport();
  OptionsRequested = false;
  LastPageKnown = false;
  PageList = std::make_unique<TPrvwPageList>();
}

void TfmVlxPreview::GoToPage(TDirection Direction) {
  TCursorGuard Hourglass(crHourGlass);
  TvlxPrintSettings& Run = *PrintSettings;
  PreviewGoToPage(*PageList, Direction, LastTotalsRow, ExactRestore);
  std::string Label;
  Run.FormatPageNo(Label);
  paPageNum->SetCaption(Label);
  const bool AtFirst = Run.CurVertPage == 1 && Run.CurPageAcross == 1;
  sbPrevPage->SetEnabled(!AtFirst);
  sbFirstPage->SetEnabled(!AtFirst);
  sbNextPage->SetEnabled(!PreviewAtReportEnd());
  sbLastPage->SetEnabled(!PreviewAtReportEnd());
}

bool TfmVlxPreview::PageNext(bool Beeping) {
  if (!sbNextPage->Enabled() || FBusy) {
    if (Beeping) Beep();
    return false;
  }
  GoToPage(gpNext);
  return true;
}

void TfmVlxPreview::FirstPage() {
  if (FBusy || !sbFirstPage->Enabled()) return Beep();
  TPoint Page{1, 1};
  bool Exact = false;
  PageList->RestorePage(Page, true, Exact);
  GoToPage(gpSame);
}

void TfmVlxPreview::LastPageSearch() {
  // The search lets messages through for its progress window: page moves wait for it.
  if (FBusy || !sbLastPage->Enabled()) return Beep();
  TvlxPrintSettings& Run = *PrintSettings;
  TObjInfo& Info = *ObjInfo;
  const bool Searching = !LastPageKnown;
  if (Searching) {
    ProgressStart(Info.RowCount >= LastPageSearchRows, "Searching for last report page", "&Abort Search",
                  "&Resume Search");
    // The search lets messages through with or without its progress window.
    ProgressDisableWindows();
    ShowStatusMsg(paMsg, "Searching for last page - Press Escape to Stop", smkWhite, nullptr, 0);
  }
  Run.RunState = rsActive;
  Run.PageMode = pmLayoutOnly;
  FBusy = true;
  struct TEndSearch {
    TfmVlxPreview& Form;
    ~TEndSearch() {
      Form.FBusy = false;
      ShowStatusMsg(Form.paMsg, "", smkNormal, nullptr, -1);
      PrintSettings->PageMode = pmPreview;
      ProgressFinish(false, "");
    }
  } EndSearch{*this};
  TPoint Page{1, INT_MAX};
  bool Exact = false;
  PageList->RestorePage(Page, true, Exact);
  if (Searching) {
    GoToPage(gpSame);
    while (Run.RunState == rsActive && !RptStyles->BandInfo[bnTotals].Finished) {
      if (Run.CurPageAcross > 0 && Info.ColsList) {
        const int Next = Info.ColsList->NextTotalsPage(Run.CurPageAcross + 1, Run.PagesAcross);
        Run.CurPageAcross = Next > 0 ? Next - 1 : 9999;
      }
      GoToPage(gpNext);
      int Total = Info.RowCount;
      if (fmVlxProgress) ProgressAdvance(fmVlxProgress, Run.RecordCounter, Total, Run.CurPagePos());
      Application->ProcessMessages();
    }
    LastPageKnown = Run.RunState == rsActive;
  }
  Application->ProcessMessages();
  Run.PageMode = pmPreview;
  GoToPage(gpSame);
  Run.RunState = rsCompletedNormally;
}

// ---- Printing ---------------------------------------------------------------------------------

bool TfmVlxPreview::ValidatePageRange() {
  if (cbxPrintWhatPages->ItemIndex() < 0) cbxPrintWhatPages->SetItemIndex(1);
  if (!ValidatePageRangeEdits(cbxPrintWhatPages->ItemIndex() == 2, edFromPageNum, edToPageNum)) return false;
  return fmVlxMain->ValidateOptions(nullptr, true, true);
}

void TfmVlxPreview::PrintFromPreview() {
  // The print lets messages through: another print, a search or a page move waits for it.
  if (FBusy) return Beep();
  // What was typed and not left yet is what the print uses.
  CommitTypedOutput();
  if (!ValidatePageRange()) return;
  const TFlagRaised Printing(FBusy);
  TvlxPrintSettings& Run = *PrintSettings;
  TvlxReportSettings& S = *RptSettings;
  TObjInfo& Info = *ObjInfo;
  // The print must leave the preview's pages, totals and positions as they were.
  TColsList SavedCols;
  SavedCols.Assign(Info.ColsList.get());
  const TPoint SavedPage = Run.CurPagePos();
  const int SavedTotalsPage = Run.TotalsPage, SavedFooterPage = Run.RptFtrPage;
  const std::array<int, 2> SavedRemembered = Run.RememberedCols;
  const TPrintWhat SavedPrintWhat = S.PrintWhat;
  const auto Restore = [&] {
    Run.CurPageAcross = SavedPage.X;
    Run.CurVertPage = SavedPage.Y;
    Run.PageMode = pmPreview;
    Info.EndOfRows = false;
    if (Info.ColsList) Info.ColsList->Assign(&SavedCols);
    Run.TotalsPage = SavedTotalsPage;
    Run.RptFtrPage = SavedFooterPage;
    Run.RememberedCols = SavedRemembered;
    S.PrintWhat = SavedPrintWhat;
    Run.Sink = PreviewPageSink(*this);
  };
  Run.PageMode = pmPrint;
  TPoint From = SavedPage, To = SavedPage;
  TPrintWhat Kind = pwPageRange;
  if (cbxPrintWhatPages->ItemIndex() == 0) Kind = pwAll;
  if (cbxPrintWhatPages->ItemIndex() == 2) {
    ParsePageNo(edFromPageNum->Text(), From);
    ParsePageNo(edToPageNum->Text(), To);
  }
  S.PrintWhat = Kind;
  try {
    Run.Sink.reset();
    SetPreviewPageRange(PageList.get(), Kind, From, To);
    Run.RunResult = Run.Execute(S.PauseAfterPrinting);
  } catch (...) {
    Restore();
    throw;
  }
  Restore();
  TfmVlxMain::TellRunFailure(Run);
  GoToPage(gpSame);
}

// ---- Output and page size ---------------------------------------------------------------------

void TfmVlxPreview::CommitTypedOutput() {
  edOutputFileNameExit();
  for (TEdit* Edit : {edLinesPerPage, edTxtCharsPageWid})
    if (Edit->Visible() && Edit->Text() != PageSizeTwin(Edit)->Text()) edPageSizeExit(Edit);
}

void TfmVlxPreview::RefreshPageControls() {
  const bool Range = cbxPrintWhatPages->ItemIndex() == 2;
  const bool TextFile = cbxOutputDest->Text() == TextFileItem;
  for (TControl* C : {static_cast<TControl*>(edFromPageNum), static_cast<TControl*>(edToPageNum),
                      static_cast<TControl*>(bvPageRange)})
    C->SetVisible(Range);
  edLinesPerPage->SetVisible(TextFile);
  edTxtCharsPageWid->SetVisible(TextFile);
  bvPageSize->SetVisible(Range && TextFile);
}

void TfmVlxPreview::SyncOutputToSetup() {
  TfmVlxMain& Main = *fmVlxMain;
  // A typed name goes through the setup window's own handler, which takes it into the settings.
  edOutputFileNameExit();
  Main.cbxOutputDest->SetText(cbxOutputDest->Text());
  Main.cbxIfOutputFileExists->SetText(cbxIfOutputFileExists->Text());
  const std::string& Title = RptSettings->ReportTitle;
  SetCaption(Title.empty() ? "Report Preview" : "Report Preview: " + Title);
  Main.ShowOutputDestOptions(nullptr, true);
  RefreshPageControls();
}

void TfmVlxPreview::TakeOutputChoices() {
  const TfmVlxMain& Main = *fmVlxMain;
  const TvlxPrintSettings& P = *PrintSettings;
  const TFlagRaised Taking(FTakingChoices);
  cbxOutputDest->SetText(Main.cbxOutputDest->Text());
  edOutputFileName->SetText(Main.edOutputFileName->Text());
  cbxIfOutputFileExists->SetText(Main.cbxIfOutputFileExists->Text());
  for (TControl* C : {static_cast<TControl*>(edOutputFileName), static_cast<TControl*>(buBrowseFile),
                      static_cast<TControl*>(cbxIfOutputFileExists)}) {
    C->SetVisible(P.OutAnyFile);
    C->SetEnabled(P.OutAnyFile);
  }
  sbPrinterSetup->SetVisible(P.OutPrinter);
  sbPrinterSetup->SetEnabled(P.OutPrinter);
  RefreshPageControls();
}

TControl* TfmVlxPreview::TwinOf(TControl* Control) const {
  const TfmVlxMain& Main = *fmVlxMain;
  const std::pair<const TControl*, TControl*> Twins[] = {
      {Main.cbxOutputDest, cbxOutputDest},
      {Main.edOutputFileName, edOutputFileName},
      {Main.cbxIfOutputFileExists, cbxIfOutputFileExists},
      {Main.edLinesPerPage, edLinesPerPage},
      {Main.edTxtCharsPageWid, edTxtCharsPageWid}};
  for (const auto& [Theirs, Mine] : Twins)
    if (Control == Theirs || Control == Mine) return Mine;
  return nullptr;
}

void TfmVlxPreview::edOutputFileNameExit() {
  if (FTakingChoices || !FShown) return;
  TEdit& Theirs = *fmVlxMain->edOutputFileName;
  if (Theirs.Text() == edOutputFileName->Text()) return;
  if (FBusy) return RefuseOutputChange();
  Theirs.SetText(edOutputFileName->Text());
  Theirs.SetModified(true);
  fmVlxMain->edOutputFileNameExit(&Theirs);
}

void TfmVlxPreview::cbxIfOutputFileExistsChange() {
  if (FTakingChoices || !FShown) return;
  if (FBusy) return RefuseOutputChange();
  // The setup window's combo runs its own change handler, which stores the choice.
  fmVlxMain->cbxIfOutputFileExists->SetText(cbxIfOutputFileExists->Text());
}

void TfmVlxPreview::RefuseOutputChange() {
  Beep();
  TakeOutputChoices();
}

void TfmVlxPreview::PrinterSetupOrBrowse() {
  if (FBusy) return Beep();
  edOutputFileNameExit();
  RememberPageSize();
  fmVlxMain->sbPrinterSetupClick(fmVlxMain->sbPrinterSetup);
  PrintSettings->CheckMemosFitPage();
  CheckPageSizeChanged();
}

void TfmVlxPreview::RememberPageSize() {
  SavedCharsPerLine = PrintSettings->PageWidth;
  SavedLinesPerPage = PrintSettings->PageHeight;
}

void TfmVlxPreview::CheckPageSizeChanged() {
  if (PrintSettings->PageWidth == SavedCharsPerLine && PrintSettings->PageHeight == SavedLinesPerPage) return;
  ResetPreview();
  GoToPage(gpNext);
  RememberPageSize();
}

void TfmVlxPreview::cbxOutputDestChange() {
  // Taking the setup window's destination is no change of it.
  if (!FShown || FTakingChoices) return;
  if (FBusy) return RefuseOutputChange();
  TfmVlxMain& Main = *fmVlxMain;
  const int Index = cbxOutputDest->Items().IndexOf(cbxOutputDest->Text());
  if (Index >= 0) {
    DestinationChosen = true;
    Main.cbxOutputDest->SetItemIndex(Index);
    Main.cbxOutputDestChange(Main.cbxOutputDest);
    if (cbxOutputDest->Text() == TextFileItem) {
      Main.edLinesPerPage->SetText(edLinesPerPage->Text());
      Main.edTxtCharsPageWid->SetText(edTxtCharsPageWid->Text());
      Main.edLinesPerPage->SetModified(true);
      Main.edNumericOnlyExit(Main.edLinesPerPage);
    }
    PrintSettings->CheckMemosFitPage();
    CheckPageSizeChanged();
  }
  RefreshPageControls();
}

TEdit* TfmVlxPreview::PageSizeTwin(const TEdit* Edit) const {
  return Edit == edLinesPerPage ? fmVlxMain->edLinesPerPage : fmVlxMain->edTxtCharsPageWid;
}

void TfmVlxPreview::edPageSizeExit(TEdit* Edit) {
  if (!Edit || FBusy || !FShown) return;
  TEdit* Twin = PageSizeTwin(Edit);
  // Passing through the edit changes nothing, and is no change to offer for saving.
  if (Edit->Text() == Twin->Text()) return;
  Twin->SetText(Edit->Text());
  Twin->SetModified(true);
  fmVlxMain->edNumericOnlyExit(Twin);
  PrintSettings->CheckMemosFitPage();
  CheckPageSizeChanged();
}

// ---- Zoom -------------------------------------------------------------------------------------

void TfmVlxPreview::MeasureLine(const std::string& Sample) {
  FCanvas.Font().Assign(memPreview->Font());
  MemoLineHeight = FCanvas.TextHeight(Sample);
}

void TfmVlxPreview::ShowZoom(int Percent) {
  const TFlagRaised Showing(FShowingZoom);
  FZoomShown = IntToStr(Percent) + "%";
  cmbZoomLevel->SetText(FZoomShown);
}

void TfmVlxPreview::SetFontSize(int Size, bool BeepAtLimit) {
  if (Size < MinFontSize || Size > MaxFontSize) {
    Size = std::clamp(Size, MinFontSize, MaxFontSize);
    if (BeepAtLimit) Beep();
  }
  memPreview->Font().SetSize(Size);
  MeasureLine("AgyX|");
  paMsg->SetCaption(" Font: " + memPreview->Font().Name() + ", Font Size:" + IntToStr(Size) + " points");
  ShowZoom(MulDivRound(Size, 100, BaseFontSize));
}

void TfmVlxPreview::SetFontHeight(int Height) {
  memPreview->Font().SetHeight(Height);
  MeasureLine("AgyX|");
  ShowZoom(MulDivRound(Height, 100, std::abs(BaseFontHeight)));
}

void TfmVlxPreview::FitWidth() {
  const int Chars = std::max(1, PrintSettings->PageWidth);
  int Previous = 0;
  for (int Pass = 0; Pass < 3; ++Pass) {
    FCanvas.Font().Assign(memPreview->Font());
    const int CharWidth = std::max(1, FCanvas.TextWidth("x"));
    const double Ratio = static_cast<double>(memPreview->ClientWidth()) / CharWidth / Chars;
    int New = static_cast<int>(std::abs(memPreview->Font().Size()) * Ratio);
    if (Pass > 0) New = static_cast<int>((Previous + New) / 2.0 + 0.5);
    SetFontSize(New, false);
    Previous = memPreview->Font().Size();
  }
}

void TfmVlxPreview::FitPage() {
  SetFontHeight(static_cast<int>(memPreview->ClientHeight() / (PrintSettings->PageHeight + 1.0) + 0.5));
}

void TfmVlxPreview::ApplyZoomText(const std::string& Text) {
  std::string Digits;
  for (const char C : Text)
    if (C >= '0' && C <= '9') Digits += C;
  bool Error = false;
  const int Value = StrToIntChecked(Digits, Error);
  if (Error || Value < MinZoom || Value > MaxZoom) return Beep();
  SetFontSize(BaseFontSize * Value / 100);
  MeasureLine("AgyX");
  memPreview->Invalidate();
}

// ---- The text box -----------------------------------------------------------------------------

void TfmVlxPreview::memPreviewKeyDown(unsigned short& Key, TShiftState Shift) {
  TMemo& Memo = *memPreview;
  const bool CtrlOrAlt = Shift & (ssCtrl | ssAlt);
  const int Lines = Memo.Lines().Count();
  TPoint Caret = Memo.CaretPos();
  if ((Shift & ssCtrl) && (Key == vkDown || Key == vkUp)) {
    const int Step = Key == vkDown ? 1 : -1;
    Key = 0;
    if (Caret.Y + Step < 0 || Caret.Y + Step >= Lines) return Beep();
    Memo.ScrollLines(Step);
    Memo.SetCaretPos({Caret.X, Caret.Y + Step});
    return;
  }
  if (CtrlOrAlt) return;
  if (Key == vkNext) {
    const bool LastVisible = Memo.FirstVisibleLine() + Memo.ClientHeight() / std::max(1, MemoLineHeight) >= Lines;
    if (!(Shift & ssShift) && !LastVisible) return;
    Key = 0;
    if (PreviewAtReportEnd()) return Beep();
    PageNext(true);
  } else if (Key == vkPrior) {
    if (!(Shift & ssShift) && Memo.FirstVisibleLine() > 0) return;
    Key = 0;
    if (!sbPrevPage->Enabled() || FBusy) return Beep();
    GoToPage(gpPrevious);
    if (!(Shift & ssShift)) {
      Memo.SetCaretPos({0, Memo.Lines().Count()});
      Memo.ScrollCaret();
    }
  } else if (Key == vkEscape) {
    Key = 0;
    Close();
  }
}

void TfmVlxPreview::ShowRowCol() {
  const TPoint Caret = memPreview->CaretPos();
  paRowCol->SetCaption(Format("%5d:%4d", {Caret.Y + 1, Caret.X + 1}));
}

void TfmVlxPreview::CopyPage() {
  memPreview->SelectAll();
  memPreview->CopyToClipboard();
  memPreview->SetSelLength(0);
  ShowStatusMsg(paMsg, "Page has been copied to Windows clipboard", smkWhite, fmVlxMain->Timer1, 5);
  Beep();
}

// ---- Showing the preview ----------------------------------------------------------------------

bool PreviewReport() {
  TvlxReportSettings& S = *RptSettings;
  TvlxPrintSettings& Run = *PrintSettings;
  TfmVlxMain& Main = *fmVlxMain;
  if (!AskReportPassword(S.ReportTitle, "Enter Report Password:", S.RptPW, PasswordCache.RptPW, false))
    throw eVlxSUError("Report Password Violation");
  struct TEnd {
    ~TEnd() {
      if (PrintSettings) PrintSettings->PageMode = pmPrint;
      delete fmVlxPreview;
      fmVlxPreview = nullptr;
      Screen->SetCursor(crArrow);
    }
  } End;
  Screen->SetCursor(crHourGlass);
  // The preview never shows an export: it previews the printer's pages, and the export is the
  // user's destination again afterwards unless the user chose another one in the preview.
  const auto SetDestination = [&](TOutputDest Dest) {
    const bool Modified = S.Modified;
    Main.cbxOutputDest->SetItemIndex(Dest);
    S.OutputDest = Dest;
    Main.cbxOutputDestChange(Main.cbxOutputDest);
    S.Modified = Modified;
  };
  const bool Export = S.OutputDest == odAsciiExport;
  if (Export) SetDestination(odPrinter);
  const auto BackToExport = [&](bool Chosen) {
    if (Export && !Chosen && RptSettings) SetDestination(odAsciiExport);
  };
  // A passing check stores the controls in the settings.
  if (!Main.ValidateOptions(nullptr, true, true)) {
    BackToExport(false);
    return true;
  }
  Run.PageMode = pmPreview;
  // The pages are laid out, and printed from the preview, as the Print command lays them out.
  Main.ApplyFontScaling(false);
  bool RescanPending = true;
  RemeasureColumns(Run.Run(), Main.paPagesAcross, RescanPending);
  Main.ApplyFontScaling(false);
  if (Run.UnitSet != usText) throw eVlxIntError("Attempt to preview report without defining Preview Image");
  Run.CheckMemosFitPage();
  fmVlxPreview = new TfmVlxPreview(Application);
  TfmVlxPreview& Preview = *fmVlxPreview;

  Preview.cbxOutputDest->OnDblClick = Main.cbxOutputDest->OnDblClick;
  Preview.cbxOutputDest->OnExit = [&Main](TObject* Sender) { Main.cbxGenericExit(Sender); };
  Preview.cbxOutputDest->SetText(Main.cbxOutputDest->Text());
  Preview.edLinesPerPage->SetText(Main.edLinesPerPage->Text());
  Preview.edTxtCharsPageWid->SetText(Main.edTxtCharsPageWid->Text());
  Preview.edOutputFileName->SetText(Main.edOutputFileName->Text());
  Preview.cbxIfOutputFileExists->OnExit = [&Main](TObject* Sender) { Main.cbxGenericExit(Sender); };
  Preview.cbxIfOutputFileExists->SetText(Main.cbxIfOutputFileExists->Text());
  Preview.cbxPrintWhatPages->SetItemIndex(Main.rbPrintWhatAll->Checked() ? 0 : Main.rbPrintWhatPageRange->Checked() ? 2 : 1);
  Preview.edFromPageNum->SetText(Main.edPageRangeFrom->Text());
  Preview.edToPageNum->SetText(Main.edPageRangeTo->Text());
  Screen->SetCursor(crArrow);
  Preview.ShowModal();
  const bool OptionsRequested = Preview.OptionsRequested;
  BackToExport(Preview.DestinationChosen);
  return OptionsRequested;
}
