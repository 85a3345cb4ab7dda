// The setup window "Report Options": the modal window of one report run, with its command bar,
// the five option pages, the status area and the menus. This file holds the window's controls
// as its layout builds them; the window's behaviour is added in the files beside it.
#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "engine/VLMXGbl/RunStart.h"
#include "framework/Forms.h"

enum TSettingSide : int8_t;
class TvlxRptMemo;
class TBevel;
class TButton;
class TCheckBox;
class TCheckListBox;
class TComboBox;
class TDBGrid;
class TDrawGrid;
class TEdit;
class TFontDialog;
class TGroupBox;
class TLabel;
class TListBox;
class TMainMenu;
class TMemo;
class TMenuItem;
class TPageControl;
class TPanel;
class TPopupMenu;
class TPrinterSetupDialog;
class TRadioButton;
class TSaveDialog;
class TSpeedButton;
class TTabSheet;
class TTimer;
class TUpDown;
class TvlxFontLoader;
class TvlxPrintSettings;
class TvlxRun;
class TvlxRunScope;
class TvlxVellumix;

// Every published control of the window: its class and its name in the layout.
#define VLX_MAIN_CONTROLS(X)                                                                      \
  /* command bar */                                                                              \
  X(TPanel, paTop) X(TSpeedButton, sbClose) X(TSpeedButton, sbSaveOpts) X(TBevel, Bevel1)       \
  X(TSpeedButton, sbPrint) X(TSpeedButton, sbPreview) X(TBevel, Bevel2)                          \
  X(TComboBox, cbxOutputDest) X(TSpeedButton, sbPrinterSetup) X(TBevel, bvOutputFileName)        \
  X(TEdit, edOutputFileName) X(TSpeedButton, buBrowseFile) X(TComboBox, cbxIfOutputFileExists)   \
  /* page area */                                                                                \
  X(TPanel, paMiddle) X(TPageControl, pcOptions) X(TTabSheet, tsGeneral) X(TTabSheet, tsOutput)  \
  X(TTabSheet, tsStyle) X(TTabSheet, tsTitles) X(TTabSheet, tsSetup)                             \
  /* General page */                                                                             \
  X(TGroupBox, gbPrintWhat) X(TRadioButton, rbPrintWhatAll)                                      \
  X(TRadioButton, rbPrintWhatCurrentPage) X(TRadioButton, rbPrintWhatCompleteBranches)           \
  X(TRadioButton, rbPrintWhatCurrentBranchAll) X(TRadioButton, rbPrintWhatCurrentBranchDown)     \
  X(TRadioButton, rbPrintWhatWindowSnapshot) X(TRadioButton, rbPrintWhatSelectedRows)            \
  X(TRadioButton, rbPrintWhatTestPage) X(TRadioButton, rbPrintWhatPageRange)                     \
  X(TEdit, edPageRangeFrom) X(TEdit, edPageRangeTo) X(TComboBox, cmbSnapshotSize)                \
  X(TGroupBox, gbDatasetRowCounting) X(TRadioButton, rbCountNumRcds)                             \
  X(TRadioButton, rbEstimateNumRcds) X(TEdit, edRcdEstimate)                                     \
  X(TGroupBox, gbFormattingOptions) X(TEdit, edStartingReportLineId) X(TEdit, edPanelsAcrossPage) \
  X(TEdit, edInterPanelGap) X(TEdit, edTextTruncSymbol) X(TEdit, edHorizLineFreq)                \
  X(TComboBox, cbxColTitleAlignment) X(TEdit, edNumFixedColumns) X(TEdit, edMaxStringColWid)     \
  X(TEdit, edMaxStringLines) X(TEdit, edMaxMemoColWid) X(TEdit, edMaxMemoLines)                  \
  X(TGroupBox, gbAutoSizzing) X(TComboBox, cbxAutoSizze) X(TEdit, edMaxRowsToAutoSizze)          \
  X(TGroupBox, gbGroupBreak) X(TEdit, edMaxGrpBrkLines) X(TEdit, edGrpBrkOutdentChars)           \
  X(TLabel, lbVertHtAdjPer) X(TEdit, edVertHtAdjPer) X(TEdit, edNumericOnly)                     \
  /* Output page */                                                                              \
  X(TGroupBox, gbOutputOptions) X(TEdit, edLinesPerPage) X(TEdit, edTxtCharsPageWid)             \
  X(TCheckBox, cbShrinkToPage) X(TEdit, edSmallestFontSize) X(TCheckBox, cbExpandToPage)         \
  X(TEdit, edLargestFontSize) X(TGroupBox, gbExportOptions) X(TComboBox, cmbExportFieldDelim)    \
  X(TComboBox, cmbExportQuote) X(TEdit, edExportMaxStrLng) X(TEdit, edExportMaxMemoLng)          \
  X(TCheckBox, cbExportOnlyPrintableChrs) X(TGroupBox, gbFastPrinterText)                        \
  X(TCheckBox, cbFastPrinterText) X(TEdit, edFastTextPrinterInit)                                \
  X(TEdit, edFastTextPrinterFinish) X(TCheckBox, cbDefaultPrinter) X(TComboBox, cmbPrinters)     \
  X(TCheckBox, cbUseReportViewer) X(TGroupBox, gbMargins) X(TEdit, edPageMarginTop)              \
  X(TEdit, edPageMarginBottom) X(TEdit, edPageMarginLeft) X(TEdit, edPageMarginRight)            \
  X(TEdit, edCellMarginTop) X(TEdit, edCellMarginBottom) X(TEdit, edCellMarginLeft)              \
  X(TEdit, edCellMarginRight) X(TGroupBox, gbPosition) X(TComboBox, cbxOrientation)              \
  X(TComboBox, cbxReportAlignment)                                                               \
  /* Style page */                                                                               \
  X(TPanel, paStylesLeft) X(TPanel, paOutputQuality) X(TComboBox, cbxOutputQuality)              \
  X(TPanel, paStyle) X(TPageControl, pcStyles) X(TTabSheet, tsFixedSpacedFont)                   \
  X(TEdit, edTextFontName) X(TButton, buTextFontName) X(TEdit, edTextFontSize)              \
  X(TTabSheet, tsReplacementFont) X(TEdit, edReplFontName) X(TButton, buReplFontName)       \
  X(TEdit, edReplFontSize) X(TTabSheet, tsStyles) X(TEdit, edStylesLocator) X(TDBGrid, dbgStyles) \
  X(TPanel, paStyleOpts) X(TCheckListBox, lbxStyleOpts) X(TPanel, paColumnGrid)                  \
  X(TDrawGrid, dgColumns) X(TComboBox, cmbColumns) X(TEdit, edColumns) X(TPanel, Panel1)         \
  X(TEdit, edNumGrpBrkCols) X(TUpDown, spNumGrpBrkCols) X(TEdit, edGrpBrkSameValue)              \
  X(TEdit, edAdjGrpBrkLines) X(TUpDown, spAdjGrpBrkLines)                                        \
  /* Titles page */                                                                              \
  X(TPanel, paRptMemoOptions) X(TListBox, lbxMemoLocation) X(TLabel, lbReportTitles)             \
  X(TCheckBox, cbMemoVisible) X(TGroupBox, gbMemoAlignment) X(TRadioButton, rbRptMemoLeftJustify) \
  X(TRadioButton, rbRptMemoCenterJustify) X(TRadioButton, rbRptMemoRightJustify)                 \
  X(TGroupBox, gbMemoSize) X(TEdit, edMemoXPosPer) X(TEdit, edMemoWidPer)                        \
  X(TGroupBox, gbMemoMargins) X(TEdit, edMemoSpacesAbove) X(TEdit, edMemoSpacesBelow)            \
  X(TButton, buMemoFont) X(TPanel, paMemoTitlesBottom) X(TLabel, lbRptMemoLeftMargin)            \
  X(TMemo, memRptMemo) X(TLabel, lbRptMemoRightMargin)                                           \
  /* Setup page */                                                                               \
  X(TGroupBox, gbDisplayReportOptions) X(TCheckBox, cbDisplayReportOptionsWin)                   \
  X(TCheckBox, cbDisplayProgressWin) X(TCheckBox, cbPauseAfterPrinting)                          \
  X(TCheckBox, cbCloseWinAfterPrinting) X(TCheckBox, cbShowHint)                                 \
  X(TCheckBox, cbAllowFastPrinterText) X(TCheckBox, cbSettingsReadOnly) X(TCheckBox, cbPreviewFirst) \
  X(TGroupBox, gbPasswords) X(TCheckBox, cbRptPW) X(TCheckBox, cbRptOptPW) X(TCheckBox, cbRptSetupPW) \
  X(TGroupBox, gbDisplayPages) X(TCheckBox, cbShowGeneralPage) X(TCheckBox, cbShowOutputPage)    \
  X(TCheckBox, cbShowStylePage) X(TCheckBox, cbShowTitlesPage) X(TCheckBox, cbShowSetupPage)     \
  X(TGroupBox, gbMemoFormats) X(TEdit, edMemoDateFormatStr) X(TEdit, edMemoTimeFormatStr)        \
  X(TEdit, edMemoPageFormatStr)                                                                  \
  /* status area */                                                                              \
  X(TPanel, paBottom) X(TPanel, paRptStatus) X(TPanel, paPageDimensions) X(TPanel, paDestination) \
  X(TPanel, paMsg) X(TPanel, paPagesAcross)                                                      \
  /* components without a window */                                                             \
  X(TTimer, Timer1) X(TTimer, timTerminate) X(TSaveDialog, SaveDialog1) X(TFontDialog, FontDialog1) \
  X(TPrinterSetupDialog, PrinterSetupDialog1)                                                    \
  X(TMainMenu, mmRptOpts) X(TMenuItem, mnFile) X(TMenuItem, itmPreview)                          \
  X(TMenuItem, itmOutputDestination) X(TMenuItem, itmPrint) X(TMenuItem, itmOutputSetup)         \
  X(TMenuItem, itmSep2) X(TMenuItem, itmSave) X(TMenuItem, itmCalcColSIze) X(TMenuItem, itmSep1) \
  X(TMenuItem, itmExit) X(TMenuItem, mnView) X(TMenuItem, itmGeneralTab)                         \
  X(TMenuItem, itmOutputTab) X(TMenuItem, itmStylesTab) X(TMenuItem, itmTitlesTab)               \
  X(TMenuItem, itmSetupTab) X(TMenuItem, itmWidthsTab) X(TMenuItem, ItmSpacer)                   \
  X(TMenuItem, itmTogglePages) X(TMenuItem, itmHelp1)                                            \
  X(TPopupMenu, puColumns) X(TMenuItem, itmDisplayFieldNames) X(TMenuItem, N1)                   \
  X(TMenuItem, itmHideallColumns) X(TMenuItem, itmShowAllColumns)                                \
  X(TMenuItem, itmToggleColumnVisibility)

// The application-wide state a run changes (printer, hints, help file, cursor), recorded when
// the setup window is created and put back when it is freed, whatever the run did.
class TSaveOrig {
public:
  // eVlxSUError when there is no default printer to record.
  TSaveOrig();
  ~TSaveOrig();
  TSaveOrig(const TSaveOrig&) = delete;
  TSaveOrig& operator=(const TSaveOrig&) = delete;

private:
  int FPrinterIndex = -1;
  std::unique_ptr<TFont> FPrinterFont;
  std::string FHelpFile;
  std::string FPrinterTitle;
  bool FSkipPrinterRestore = false;
  bool FShowHint = false;
  TNotifyEvent FOnHint;
  int FHintHidePause = 0;
  TCursor FCursor = crDefault;
};

// Frees the run's parts, whose classes this header leaves incomplete.
struct TRunPartFree {
  void operator()(TvlxRun* Run) const;
  void operator()(TvlxRunScope* Scope) const;
  void operator()(TvlxFontLoader* Loader) const;
};

// A row of the Style page's option list: the style-option bit it stands for.
class TStyleOptsData : public TObject {
public:
  explicit TStyleOptsData(uint8_t AIndex) : Index(AIndex) {}
  uint8_t Index;
};

class TfmVlxMain;

// The setup window's part in the start of a run and in the preparation of each print: its
// controls loaded from the settings and checked, the output shown, the page fitted with the
// page panels and the pages-across label kept current.
class TSetupWindowSteps : public TvlxStartSteps {
public:
  explicit TSetupWindowSteps(TfmVlxMain& Form) : FForm(Form) {}
  void ObjectIdentified() override;
  void ColumnsBuilt() override;
  void ChooseOutput(TvlxRun& Run) override;
  void FitPage(TvlxRun& Run, bool ShowWidthWarning) override;
  bool SettingsValid() override;
  void BeforeColumnScan() override;
  TControl* PagesAcrossLabel() override;
  void ColumnsScanned() override;

private:
  TfmVlxMain& FForm;
};

class TfmVlxMain : public TForm {
public:
  explicit TfmVlxMain(TComponent* AOwner);

#define VLX_MAIN_FIELD(Class, Name) Class* Name = nullptr;
  VLX_MAIN_CONTROLS(VLX_MAIN_FIELD)
#undef VLX_MAIN_FIELD

  // ---- Checking the typed options (Validation.cpp) -------------------------------------------
  // Checks the rows of the option table that ChangedControl triggers (all rows with CheckAll);
  // the first failure is reported and ends the checking. True when every row passed.
  bool ValidateOptions(TObject* ChangedControl, bool CheckAll, bool FocusOnError);
  // Whether the number in Control lies in Min..Max (only Min when Max < Min); a disabled or
  // hidden control passes.
  bool ChkFldIntRange(TControl* Control, int Min, bool Focus, const std::string& Units,
                      const std::string& FieldName, int Max);
  // Reports a field error: the control's page to the front, the focus on it when asked, and
  // Message as a warning in the status panel.
  void ShowFieldError(TControl* Control, bool Focus, const std::string& Message);
  void edNumericOnlyKeyPress(TObject* Sender, char& Key);
  void edNumericOnlyExit(TObject* Sender);
  void cbxGenericExit(TObject* Sender);

  // ---- Output destination and page dimensions (OutputPage.cpp) -------------------------------
  // Output flags from the destination and what is printed, and the controls that depend on
  // them: every section with All, else those that ChangedControl triggers.
  void ShowOutputDestOptions(TObject* ChangedControl, bool All);
  // The page's size on the chosen printer or text page, and the two page panels.
  void ShowPageDimensions(bool ShowWidthWarning);
  // Fits the working font size and the panels across to the page, then shows the size.
  void ApplyFontScaling(bool ShowWidthWarning);
  void ShowReportWidthStatus();
  // Where this window's messages and hints are seen: the preview's message line while the
  // preview is open, else this window's.
  TPanel* MessagePanel() const;
  // The control that takes the focus for a field error on Control: while the preview is open
  // its own twin of Control (none when it has none), else Control; none unless its window is
  // the active one and it can take the focus.
  TWinControl* FieldToFocus(TControl* Control) const;
  void cbxOutputDestChange(TObject* Sender);
  void cbxOutputDestDblClick(TObject* Sender);
  // The printer setup for printer output, the file dialog for file output.
  void sbPrinterSetupClick(TObject* Sender);
  void cbxOutputQualityChange(TObject* Sender);
  void cbxOutputQualityDropDown(TObject* Sender);
  void itmCalcColSIzeClick(TObject* Sender);

  // ---- Life cycle and the start of the run (Lifecycle.cpp) ----
  // The run objects exist (creation did not fail); Print shows the window only then.
  bool RunReady() const;
  // Binds the run to the component: the object, the names, the active window, the handlers.
  void BindComponent(TvlxVellumix& Component, TCustomForm* ActiveWindow);
  // The result of the last print made from the window: 0 none, 1 finished, 2 cancelled at the
  // existing-file question, 3 error or abort.
  int RunResult() const;
  void FormCreate();
  void FormDestroy();
  void FormShow();
  void InitAppForReport();
  void WMStartReport();
  void WMDeferredClose();
  // The start failed: nothing is offered for saving, the window closes; a failure other than
  // the user's stop raises the "cannot be printed" error.
  void AbortReportSetup(const std::string& Msg);
  static void SelectComboText(const std::string& Text, TComboBox* Combo, const std::vector<std::string>& Names);

  // ---- Transfer between controls and settings (Transfer.cpp) ----
  void SettingsToForm();
  void FormToSettings();
  static std::string LookupComboValue(TComboBox* Combo, const std::vector<std::string>& Names,
                                      const std::vector<std::string>& Values);
  static void SelectComboByLetter(TComboBox* Combo, const std::string& Code, const std::string& Fallback);
  // The edits lose their modified marks, and the settings theirs.
  void ClearEditsModified();
  // The settings key and side that a number edit holds in the unit regime in force (a memo's
  // as the selected memo's key); false for any other control.
  bool SettingKeyOfEdit(const TControl* Edit, std::string& Key, TSettingSide& Side) const;
  // The number edit that shows Key's Side now; nullptr when none does.
  TEdit* NumberEditOfKey(const std::string& Key, TSettingSide Side) const;
  // The control that edits Key's Side now (the group of the print-what buttons for PrintWhat);
  // nullptr for a setting no control of the window edits.
  TControl* SettingControl(const std::string& Key, TSettingSide Side) const;

  // ---- Commands (Commands.cpp) ----
  // Print: the focused control's exit first, then PrintReport.
  void sbPrintClick(TObject* Sender);
  // The Print command's body, also the start's print at once: password, validation, layout,
  // the run; the run's result becomes RunResult, and a failure the run showed nobody is told.
  void PrintReport();
  // After a run: a failure the run showed nobody (it ended before its progress window opened)
  // is told in an error box; the user's own stop is not.
  static void TellRunFailure(const TvlxPrintSettings& Run);
  // Preview: the focused control's exit first, then the preview; the controls are reloaded
  // from the settings afterwards.
  void sbPreviewClick(TObject* Sender);
  void sbSaveOptsClick(TObject* Sender);
  // Writes the report's section (after every field passed, with Validate); the settings and
  // the edits are unmodified afterwards. A failing write raises.
  void SaveSettings(bool Validate);
  // The close question: true when the window may close (nothing to save, saved, or No).
  bool AskSaveSettings();
  // The close question asked as the preview that the start opened first closes: that preview
  // is the window the user leaves, so a refusal keeps it open, and an answer given there is
  // not asked again when this window closes behind it. True when the preview may close.
  bool AskSaveClosingPreview();
  // The preview that the start opened first is showing: closing it ends the report.
  bool PreviewOpenedByStart() const;
  void FormCloseQuery(TObject* Sender, bool& CanClose);
  // Whether an edit or memo among Control's children, at any depth, carries its modified mark.
  bool AnyEditModified(const TWinControl& Control) const;
  // Closes the window; the close question runs.
  void bbCloseClick(TObject* Sender);
  // Clears the status message when its time is up, stopping the timer.
  void Timer1Timer(TObject* Sender);
  void mnFileClick(TObject* Sender);
  void mnViewClick(TObject* Sender);
  // A View menu page item: its page in front, as a click on the tab would bring it.
  void itmViewPage(TObject* Sender);
  void itmTogglePagesClick(TObject* Sender);
  void itmHelp1Click(TObject* Sender);
  void itmOutputDestinationClick(TObject* Sender);
  void cmbPrintersDropDown(TObject* Sender);
  // Also the change of the export delimiter and quote lists.
  void cmbPrintersChange(TObject* Sender);
  void cmbPrintersExit(TObject* Sender);
  void cbDefaultPrinterClick(TObject* Sender);
  void cbxOrientationChange(TObject* Sender);
  void edOutputFileNameExit(TObject* Sender);
  void cmbExportFieldDelimExit(TObject* Sender);
  void cbFastPrinterTextClick(TObject* Sender);
  void cbAllowFastPrinterTextClick(TObject* Sender);
  // The option controls that mark the settings as modified (nothing while FSuppressEvents).
  void cbxAutoSizzeChange(TObject* Sender);
  void rbPrintWhatAllClick(TObject* Sender);
  void cbxColTitleAlignmentChange(TObject* Sender);
  void edMaxMemoColWidExit(TObject* Sender);
  void edStartingReportLineIdChange(TObject* Sender);
  void cbxIfOutputFileExistsChange(TObject* Sender);
  void cbxReportAlignmentChange(TObject* Sender);
  void cbxReportAlignmentExit(TObject* Sender);
  void cbCloseWinAfterPrintingClick(TObject* Sender);
  void cbDisplayReportOptionsWinClick(TObject* Sender);
  void edTextFontNameChange(TObject* Sender);
  void cbShrinkToPageClick(TObject* Sender);
  void cmbSnapshotSizeChange(TObject* Sender);
  void rbCountNumRcdsClick(TObject* Sender);
  void cbPreviewFirstClick(TObject* Sender);
  void cbDisplayPagesClick(TObject* Sender);
  // HidePages as the Setup page's boxes give it ("General,Titles" for those two unchecked),
  // and the boxes checked for the pages that HidePages does not name.
  std::string HiddenPagesOfBoxes() const;
  void HiddenPagesToBoxes(const std::string& HidePages);
  // The fixed-pitch font dialog for the text font.
  void buTextFontNameClick(TObject* Sender);
  // Places the output file controls across the command bar and the memo edit down its page.
  void FormResize(TObject* Sender);
  // Adds the report id, the printed object and the settings file to the caption, or takes
  // them off again.
  void paPagesAcrossClick(TObject* Sender);
  // Runs the exit handler of the focused combo box, edit or draw grid once, with Detach taking
  // it off the control (the caller puts it back). Returns the handler (empty when none ran)
  // and the control in Control.
  TNotifyEvent RunActiveControlExit(bool Detach, TWinControl*& Control);
  // Whether a page of that name (General, Output, Style, Titles, Setup) may show its tab: not
  // named in HidePages, or every page shown.
  bool TabAllowedByName(const std::string& Name) const;
  // Shows every tab (after the options and setup passwords) with ShowAll, else those HidePages
  // does not name; the window shrinks to its bars when no page is left.
  void ApplyTabVisibility(bool ShowAll);
  // The position of the combo's text among its items, letter case ignored; Default when it is
  // none, which SetIt also selects.
  static int ComboIndexOfText(TComboBox* Combo, int Default, bool SetIt);
  bool FAllPagesShown = false;  // every tab shown, whatever HidePages names

  // ---- Columns editor and passwords (ColumnsEditor.cpp, Passwords.cpp) ----
  // The columns grid's size: one grid column per report column, a row per break level.
  void SizeColumnsGrid();
  // Formats 1234.56 with Fmt into Sample; false, with the error in Sample (and, when asked,
  // in a warning box), when Fmt cannot format a number.
  static bool ValidateFormatString(const std::string& Fmt, bool ShowMessage, std::string& Sample);
  void dgColumnsDrawCell(TObject* Sender, int ACol, int ARow, const TRect& Rect, unsigned State);
  void dgColumnsSelectCell(TObject* Sender, int ACol, int ARow, bool& CanSelect);
  void dgColumnsDblClick(TObject* Sender);
  void dgColumnsKeyDown(TObject* Sender, unsigned short& Key, TShiftState Shift);
  void dgColumnsMouseDown(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
  void dgColumnsMouseUp(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
  void dgColumnsMouseMove(TObject* Sender, TShiftState Shift, int X, int Y);
  void dgColumnsTopLeftChanged(TObject* Sender);
  void dgColumnsExit(TObject* Sender);
  void cmbColumnsChange(TObject* Sender);
  void cmbColumnsKeyDown(TObject* Sender, unsigned short& Key, TShiftState Shift);
  void edColumnsExit(TObject* Sender);
  void edColumnsKeyPress(TObject* Sender, char& Key);
  void itmDisplayFieldNamesClick(TObject* Sender);
  // Hides, shows or flips every column, by the menu item that sent it.
  void itmHideallColumnsClick(TObject* Sender);
  // Asks for the current password when one is set, then for a new one twice; true when
  // Password changed (an empty one removes it). Label names it in the prompts and messages.
  bool ChangePassword(const std::string& Label, std::string& Password);
  void cbSettingsReadOnlyClick(TObject* Sender);
  // The grid's cells: what a row of the columns grid edits.
  enum class TColumnsRow { Name, Visible, Break, ColumnTotal, Format, None };
  TColumnsRow ColumnsRowKind(int Row) const;
  bool FShowFieldNames = false;  // the grid's headings are the columns' field names
  bool FTotalsChanged = false;   // the totals changed and want a column scan

  // ---- Style and Titles pages (StylePage.cpp, TitlesPage.cpp) ----
  // The style options that the output and the printed object allow, checked as the settings
  // hold them; refilled only when one of the two changed, unless forced.
  void FillStyleOptsList(bool Force);
  void ClearStyleOptsList();
  void SetStyleOptChecked(int Index, bool Checked);
  // The column list built again for options that change which columns exist, keeping the
  // columns editor's choices, then measured.
  void RebuildColumns();
  void LayoutStylePanel();
  void lbxStyleOptsClickCheck(TObject* Sender);
  void pcOptionsChanging(TObject* Sender, bool& AllowChange);
  void pcOptionsChange(TObject* Sender);
  void FormKeyDown(TObject* Sender, unsigned short& Key, TShiftState Shift);
  // The application's hint handler during a run: the long hint in the status panel.
  void AppHintHandler(TObject* Sender);
  void cbShowHintClick(TObject* Sender);
  // Loads the selected memo's settings into the memo controls.
  void lbxMemoLocationClick(TObject* Sender);
  void ShowMemoSettings();
  // The memo text placed to scale across the page width, between its two margin labels.
  void LayoutMemoMargins();
  void memRptMemoExit(TObject* Sender);
  void edMemoXPosPerExit(TObject* Sender);
  void buMemoFontClick(TObject* Sender);
  void edMemoDateFormatStrChange(TObject* Sender);
  void edMemoTimeFormatStrChange(TObject* Sender);
  void edMemoPageFormatStrChange(TObject* Sender);

  // From creation to the end of the start of a run.
  bool StartPending() const { return FStartPending; }

protected:
  void DoCreate() override;

private:
  // The window's own steps of the start of a run set its guard flags between the engine's.
  friend class TSetupWindowSteps;

  // ---- Guard flags of the window (life cycle, transfer and checking) ----
  bool FSuppressEvents = false;     // change and exit handlers do nothing
  bool FSkipOutputRefresh = false;  // ShowOutputDestOptions does nothing
  bool FSkipValidation = false;     // ValidateOptions fails at once, silently
  bool FValidationFailed = false;   // a check failed that must block a tab change
  bool FStartPending = true;        // from creation to the end of the start of a run
  bool FStartInProgress = false;    // the start's handler is running
  bool FStartAborted = false;       // the start stopped: the window closes unseen, asking nothing
  bool FSaveAnswered = false;       // the close question was answered as the first preview closed
  bool FSettingsReadOnly = false;
  int FPaMiddleHeight = 0;
  std::unique_ptr<TvlxRun, TRunPartFree> FRun;
  std::unique_ptr<TvlxRunScope, TRunPartFree> FRunScope;
  std::unique_ptr<TSaveOrig> FSaveOrig;
  std::unique_ptr<TvlxFontLoader, TRunPartFree> FFontLoader;

  // The columns were changed and want a scan before the next run.
  bool FColumnsChanged = false;
  // A print runs and lets messages through: another print or a preview waits for its end.
  bool FPrinting = false;

  // Style and Titles pages: the kind and output bits of the last style-list fill (-1 before
  // the first), the page that was active before the last tab change.
  int FStyleKindBit = -1, FStyleTextBit = -1;
  TTabSheet* FPrevOptionsPage = nullptr;
  void BindStyleTitlesHandlers();
  void EnableMemoControls(bool Enabled);
  // The selected memo's settings into its controls, their handlers quiet meanwhile.
  void LoadMemoControls();
  // The memo text lined up as the memo prints.
  void ShowMemoAlignment(const TvlxRptMemo& Memo);
  void FitMarginLabelFont(TLabel& Label);
  // The Setup page's controls, hidden until its password is given.
  void ShowSetupContents(bool Value);
  // The first listed memo whose left margin and width add up to more than the page; -1 if none.
  int FirstMemoOutOfPage() const;
  // Publishes a handler method under Name, the name the layout gives its event; Event is the
  // event's type.
  template <class Event = TNotifyEvent, class... Args>
  void BindHandler(const char* Name, void (TfmVlxMain::*Handler)(TObject*, Args...)) {
    PublishedMethod(Name, Event([this, Handler](TObject* Sender, Args... A) { (this->*Handler)(Sender, A...); }));
  }
  void BindValidationHandlers();
  // ---- Columns editor and passwords ----
  void BindColumnsHandlers();
  void BindPasswordHandlers();
  void ShowColumnsEditor();
  void ApplyTotalKind();
  void CommitFormatEdit();
  void ToggleFormatEdit();
  // After the columns' print flags changed: settings, destination, layout, grid.
  void ColumnsVisibilityChanged();
  // The columns laid out again across the pages, the font fitted and the panel updated.
  void RelayoutColumns();
  TPoint FColumnsPressed{-1, -1};
  // The totals cell the kind list was placed over: a choice in it goes to that cell only.
  TPoint FColumnsKindCell{-1, -1};
  TPoint FColumnsUnderMouse{-1, -1};
  int FColumnsLeftCol = 1;
  unsigned FColumnsScrollTick = 0;
  unsigned FColumnsMouseTick = 0;  // the pointer last moved over the grid's cells
  void BindOutputHandlers();
  void BindCommandHandlers();
  // The settings file carries the read-only attribute: nothing is ever saved to it.
  bool SettingsFileReadOnly() const;
};

// The widest the destination panels grow.
constexpr int DestinationPanelWidth = 250;
// Shows on Panel where the output goes: Where as it is, or a file path shortened in its folders
// to fit; the panel sized to its caption, at most MaxWidth.
void ShowDestination(TPanel& Panel, const std::string& Where, bool IsFile, int MaxWidth);
