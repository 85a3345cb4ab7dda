// The preview window: a character report one page at a time in a read-only text box, with
// paging forwards and back (the restart points let the engine compose any page again), the
// last-page search, zoom, copying, the output and page-size controls of the setup window and
// printing all, the current or a range of pages.
#pragma once
#include <memory>
#include <string>

#include "engine/VLMXGbl/Output.h"
#include "framework/Forms.h"
#include "framework/Graphics.h"
#include "windows/VLMXPrev/PrvwPageList.h"

class TBevel;
class TComboBox;
class TEdit;
class TMainMenu;
class TMemo;
class TMenuItem;
class TPanel;
class TPopupMenu;
class TSpeedButton;

#define VLX_PREVIEW_CONTROLS(X)                                                                  \
  X(TPanel, paToolbar) X(TSpeedButton, sbFirstPage) X(TSpeedButton, sbPrevPage)                  \
  X(TSpeedButton, sbNextPage) X(TSpeedButton, sbLastPage) X(TSpeedButton, sbPrint)               \
  X(TSpeedButton, sbPrinterSetup) X(TSpeedButton, sbExit) X(TComboBox, cbxOutputDest)            \
  X(TEdit, edOutputFileName) X(TSpeedButton, buBrowseFile) X(TComboBox, cbxIfOutputFileExists)   \
  X(TSpeedButton, sbMove)                                                                        \
  X(TPanel, paMsgBar) X(TPanel, paDestination) X(TPanel, paRowCol) X(TPanel, paPageNum)          \
  X(TPanel, paRptWidMsg) X(TPanel, paMsg)                                                        \
  X(TMemo, memPreview)                                                                           \
  X(TPanel, Panel1) X(TSpeedButton, sbFitWidth) X(TSpeedButton, sbFitPage)                       \
  X(TSpeedButton, sbClipBoard) X(TSpeedButton, sbMagnify) X(TComboBox, cmbZoomLevel)             \
  X(TBevel, bvPrintWhatPages) X(TComboBox, cbxPrintWhatPages) X(TBevel, bvPageRange)             \
  X(TEdit, edFromPageNum) X(TEdit, edToPageNum) X(TBevel, bvPageSize) X(TEdit, edLinesPerPage)   \
  X(TEdit, edTxtCharsPageWid)                                                                    \
  X(TMainMenu, mmPreview) X(TMenuItem, mnFile) X(TMenuItem, itmPrint) X(TMenuItem, itmAllPages)  \
  X(TMenuItem, itmCurrentPage) X(TMenuItem, itmPageRange) X(TMenuItem, itmReportOptions)         \
  X(TMenuItem, itmExit) X(TMenuItem, mnEdit) X(TMenuItem, itmSelectAll)                          \
  X(TMenuItem, itmCopyToClipBoard) X(TMenuItem, mnView) X(TMenuItem, itmFirstPage)               \
  X(TMenuItem, itmLastPage) X(TMenuItem, itmZoomLevel) X(TMenuItem, itmFitPageWidth)             \
  X(TMenuItem, itmFitPageHeight) X(TMenuItem, itmMaximized) X(TMenuItem, Help1)                  \
  X(TPopupMenu, puPreview) X(TMenuItem, itmPopFirstPage) X(TMenuItem, itmPopPrevPage)            \
  X(TMenuItem, itmPopNextPage) X(TMenuItem, itmPopLastPage) X(TMenuItem, itmFitWidth)            \
  X(TMenuItem, itmFitInWindow)

class TfmVlxPreview : public TForm, public TvlxPreviewText {
public:
  explicit TfmVlxPreview(TComponent* AOwner);
  ~TfmVlxPreview() override;

#define VLX_PREVIEW_FIELD(Class, Name) Class* Name = nullptr;
  VLX_PREVIEW_CONTROLS(VLX_PREVIEW_FIELD)
#undef VLX_PREVIEW_FIELD

  using TDirection = TPreviewMove;

  // The engine's page sink: the page's lines replace the text box's.
  void ShowPage(const TStrings& Lines) override;

  void ResetPreview();
  void GoToPage(TDirection Direction);
  void LastPageSearch();
  void FirstPage();
  void PrintFromPreview();
  // The page-range edits and the page-size edits, as the combos require.
  void RefreshPageControls();
  // The output controls' texts to the setup window's, which refreshes its output options.
  void SyncOutputToSetup();
  // The setup window's output choices into the tool bar, with the controls its destination
  // uses: both windows show the same choices at all times.
  void TakeOutputChoices();
  // The destination panel: Where (a file path shortened to fit) as wide as the other status
  // panels leave it.
  void ShowDestination(const std::string& Where, bool IsFile);
  void ShowReportWidth(const std::string& Text);
  // This window's twin of a setup window's output or page-size control (or the control itself
  // when it is this window's); nullptr for any other.
  TControl* TwinOf(TControl* Control) const;
  void CheckPageSizeChanged();

  // Zoom: the preview font's size (2..30 points, a beep at either end) or height.
  // A fit never beeps at the limits: it is as near as the window allows.
  void SetFontSize(int Size, bool BeepAtLimit = true);
  void SetFontHeight(int Height);
  void FitWidth();
  void FitPage();
  // A zoom percentage in Text (25..500) sets the font; anything else beeps.
  void ApplyZoomText(const std::string& Text);
  // Opening, the last-page search or a print is running; page moves and prints beep meanwhile.
  bool Busy() const { return FBusy; }

  int MemoLineHeight = 0;
  int BaseFontSize = 0;
  int BaseFontHeight = 0;
  int LastTotalsRow = 0;
  bool LastPageKnown = false;
  int SavedCharsPerLine = 0, SavedLinesPerPage = 0;
  bool ExactRestore = false;
  std::unique_ptr<TPrvwPageList> PageList;
  bool OptionsRequested = false;
  // The user chose a destination in the tool bar.
  bool DestinationChosen = false;

private:
  TCanvas FCanvas;
  bool FShown = false;  // the window was shown: the preview is reset once
  // Opening, the last-page search or a print runs and lets messages through: page moves,
  // searches and prints wait for it.
  bool FBusy = false;
  bool FTakingChoices = false;  // the output controls take the setup window's: no change of theirs
  bool FShowingZoom = false;    // the zoom combo shows the zoom in force: no zoom of its own
  std::string FZoomShown;       // the zoom combo's text for the zoom in force
  std::string FDestination;
  bool FDestinationIsFile = false;
  void FormCreate();
  void FormShow();
  void FormCloseQuery(bool& CanClose);
  void FormClose();
  // The zoom in force into the settings, which store it and do not apply it at the next opening.
  void KeepZoomLevel();
  void FormDestroy();
  // What was typed into the tool bar's edits and not left yet goes to the setup window.
  void CommitTypedOutput();
  void FormResize();
  void InitPreview();
  void BindHandlers();
  void MeasureLine(const std::string& Sample);
  void memPreviewKeyDown(unsigned short& Key, TShiftState Shift);
  void ShowRowCol();
  void CopyPage();
  void cbxOutputDestChange();
  // The name typed here to the setup window, which takes it as its own edit's.
  void edOutputFileNameExit();
  void cbxIfOutputFileExistsChange();
  // An output choice changed while a print or search runs: a beep, and the choice in force.
  void RefuseOutputChange();
  // The printer setup or the file dialog of the setup window, for the choices made here.
  void PrinterSetupOrBrowse();
  void LayoutStatusLine();
  // The zoom combo shows Percent; its change handler stays out of it.
  void ShowZoom(int Percent);
  void edPageSizeExit(TEdit* Edit);
  // The setup window's edit of the same page size.
  TEdit* PageSizeTwin(const TEdit* Edit) const;
  void RememberPageSize();
  bool PageNext(bool Beeping);
  bool ValidatePageRange();
};

// The one preview window; nullptr while none exists.
extern TfmVlxPreview* fmVlxPreview;

// Shows the preview modally for the setup window's report. True when the user asked for the
// report options (or the options did not validate), false otherwise. eVlxSUError for a wrong
// report password.
bool PreviewReport();
