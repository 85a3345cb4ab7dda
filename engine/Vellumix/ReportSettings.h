// Every stored option of one report, with its titles and memos. The settings file fills it
// (SettingsKeys.h holds the keys, defaults and codecs), the setup window edits it and the engine
// reads it during a run. Its fields are plain values: they start as zero, empty or false and get
// their working values from the key defaults when a report is loaded.
#pragma once
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "engine/VLMXCodes.h"
#include "framework/Classes.h"
#include "framework/Controls.h"
#include "framework/rtl/DateUtils.h"

// Style option bits, stored in TvlxReportSettings::ItemOpts.
enum TvlxItemOpt : unsigned char {
  ioFieldFormat = 0,
  ioHorizontalLines = 1,
  ioGrpBrkLines = 2,
  ioVerticalLines = 3,
  ioBorders = 4,
  ioShareAdjBorders = 5,
  ioColumnTitles = 6,
  ioColumnTotals = 7,
  ioPrtGrpBrkHdrColDesc = 8,
  ioFormFeeds = 9,
  ioBoolCheckMark = 10,
  ioTrimGridDim = 11,
  ioExceptionOnEmpty = 12,
  ioAskToPrintSelectedRows = 13,
};

// The report's titles and memos. Their names are the memo part of the settings keys and of the
// memo blocks of the settings file.
enum RptMemoIndex : unsigned char { RptTi, RptHdr, PgTi, PgHdr, PgFtr, PgNum, RptFtr, Copyright };
constexpr int RptMemoCount = 8;

// "RptTi" .. "Copyright"; empty outside the index range.
std::string RptMemoName(int Index);
// The memo of that name, letter case ignored; a name of no memo selects the report title.
RptMemoIndex RptMemoIndexOfName(const std::string& Name);

// The page-number memo's text until the user writes another: an empty line, then the run's
// date at the left, the page label in the middle and the run's time at the right.
inline const std::string PgNumMemoDefaultText = "\r^DL^PC^TR";

// One report title or memo.
class TvlxRptMemo : public TObject {
public:
  int XPosPer = 0;    // left edge, percent of the page width
  int WidPer = 0;     // width, percent of the page width
  TRect MarginDev;    // in device units; Top and Bottom are the spacing above and below
  TRect MarginTxt;    // Top and Bottom: lines kept free above and below
  TRect MarginThous;  // thousandths of an inch
  int Height = 0;     // measured by the engine
  uint8_t Alignment = 0;  // 0 left, 1 right, 2 centre
  bool Visible = false;
  std::string FontName;
  int FontSize = 0;
  int FontStyle = 0;  // Bold 8, Italic 4, Underline 2, StrikeOut 1
  int FontColor = 0;
  std::string Text;   // lines separated by CR LF; may hold the memo macros
};

// The whole of a number setting, or a side of a rect setting.
enum TSettingSide : int8_t { sWhole = -1, sLeft, sTop, sRight, sBottom };

// A stored value the load kept out of its field, which has its default instead, for the setup
// window to report before a save writes the default over it: a number outside its setting's
// range, a code past its setting's choices, or a text its field's form cannot read.
struct TRefusedSetting {
  std::string Key;  // as the key list spells it ("Memo,PgTi,MemoXPosPer")
  TSettingSide Side = sWhole;  // sWhole also for a rect or pair that cannot be read at all
  std::string Value;  // as stored; a number as read, a code as the byte it is read into
  bool Told = false;  // the setup window has named it to the user
};

// Longest stored short strings.
constexpr std::size_t SnapShotSizeMaxLen = 2;
constexpr std::size_t ExportDelimMaxLen = 3;

class TvlxReportSettings : public TObject {
public:
  // Creates the eight memos in index order.
  TvlxReportSettings();
  ~TvlxReportSettings() override;
  TvlxReportSettings(const TvlxReportSettings&) = delete;
  TvlxReportSettings& operator=(const TvlxReportSettings&) = delete;

  // Text units (characters across, lines down) rather than device units: an ASCII export, a
  // window snapshot or a character quality.
  bool IsTextStyleOutput() const;
  bool AutoSizeOn() const;
  // Size limited by the smallest and largest font size where shrinking or expanding is on.
  int ClampFontSize(int Size) const;
  // Derives the device copies of the page and cell margins, the three widths and the memo
  // margins from their thousandths through the run state; nothing without a run state.
  void ConvertMarginsToDevice();
  // The memo exists and has text and, with CheckVisible, is to be shown.
  bool MemoVisible(unsigned Index, bool CheckVisible) const;
  // nullptr outside the index range.
  TvlxRptMemo* RptMemo(unsigned Index) const;

  bool ItemOpt(unsigned Bit) const;
  void SetItemOpt(unsigned Bit, bool On);

  // Memo index <-> style region; eVlxIntError for an index or region outside the tables.
  static uint8_t CnvTRptMemoNdxToRegNdx(unsigned MemoIndex);
  static uint8_t CnvTRegNdxToRptMemoNdx(unsigned Region);

  // "CT" -> "Current Window Size with Print To Fit", and back.
  static std::string PreviewSizeText(const std::string& Code);
  static std::string PreviewSizeCodeFromText(const std::string& Text);
  // A page position as its text: "7", or "7-2" for page across 2.
  static std::string PairToText(TPoint Page);

  std::string ReportId;
  TPrintWhat PrintWhat = pwAll;
  TPoint PageRangeFrom;   // X page across (0 = not given), Y page number
  TPoint PageRangeTo;
  TOutputDest OutputDest = odPrinter;
  uint16_t ItemOpts = 0;   // bit n: TvlxItemOpt n
  bool Modified = false;
  bool SettingsReadOnly = false;
  bool PreviewFirst = false;
  bool CreatedAtRuntime = false;
  bool NewRpt = false;
  bool ComponentDeleted = false;
  bool UseReportViewer = false;
  bool AppendToFile = false;
  bool ShrinkToPage = false;
  bool ExpandToPage = false;
  bool CountNumRcds = false;
  bool ExportOnlyPrintableChrs = false;
  bool FastPrinterText = false;
  bool AllowFastPrinterText = false;
  bool PauseAfterPrinting = false;
  bool DisplayReportOptionsWin = false;
  bool DisplayProgressWin = false;
  bool CloseWinAfterPrinting = false;
  bool ShowHint = false;
  bool DefaultPrinter = false;
  std::string PrinterName;
  std::string StyleName;
  std::string ReplFontName;
  std::string TextFontName;
  std::string TextTruncSymbol;
  std::string ColumnTotals;
  std::string HideColumns;
  std::string GroupColumns;
  std::string HidePages;  // names of setup pages not to show
  int InterPanelGapDev = 0;
  int InterPanelGapTxt = 0;
  int InterPanelGapThous = 0;
  int MaxStringColWidDev = 0;
  int MaxStringColWidTxt = 0;
  int MaxStringColWidThous = 0;
  int MaxMemoColWidDev = 0;
  int MaxMemoColWidTxt = 0;
  int MaxMemoColWidThous = 0;
  int RcdEstimate = 0;
  int ExportMaxStrLng = 0;
  int ExportMaxMemoLng = 0;
  int MaxRowsToAutoSizze = 0;
  int ReplFontColor = 0;
  int StartingReportLineId = 0;
  int TextFontColor = 0;
  int TextFontSize = 0;
  int TextFontStyle = 0;
  int ReplFontSize = 0;
  int ReplFontStyle = 0;
  int PanelsAcrossPage = 0;
  int NumFixedCols = 0;  // negative: not chosen yet, settled when the setup window starts
  int HorizLineFreq = 0;
  int VertHtAdjPer = 0;
  int TxtCharsPageWid = 0;
  int LinesPerpage = 0;
  int MaxStringLines = 0;
  int MaxMemoLines = 0;
  int NumSortFields = 0;
  int MaxGrpBrkLines = 0;
  int NumGrpBrkCols = 0;
  int GrpBrkOutdentChars = 0;
  int LargestFontSize = 0;
  int SmallestFontSize = 0;
  int PreviewZoomLevel = 0;
  int AdjGrpBrkLines = 0;
  int DMPaperSize = 0;
  int DMCopies = 0;
  int DMDuplex = 0;
  int DMCollate = 0;
  // Each device copy directly precedes its text-unit twin: the unit set picks one of the two.
  TRect CellMarginDev;
  TRect CellMarginTxt;
  TRect CellMarginThous;
  TRect PageMarginDev;
  TRect PageMarginTxt;
  TRect PageMarginThous;
  uint8_t OutputQuality = 0;      // 0 ASCII line draw, 1 IBM line draw, 2 and up typeset
  uint8_t Orientation = 0;        // 0 portrait, 1 landscape, 2 printer default
  uint8_t ColTitleAlignment = 0;  // 0 left, 1 right, 2 centre
  uint8_t ReportAlignment = 0;
  uint8_t AutoSizze = 0;  // 0 all rows, 1 a limited number of rows, 2 current column sizes
  std::string ExportFieldDelim;  // at most ExportDelimMaxLen characters
  std::string ExportQuote;       // at most ExportDelimMaxLen characters
  std::string SnapShotSize;      // at most SnapShotSizeMaxLen characters, e.g. "CT"
  TDateTime CreateDate = 0;
  TDateTime RunDateTime = 0;  // set when a run starts; the memos' date and time
  TDateTime LastSaveDate = 0;
  uint8_t IfOutputFileExists = 0;  // 0 overwrite, 1 append, 2 ask
  std::string RptOptPW;
  std::string RptSetUpPW;
  std::string RptPW;
  std::string ReportTitle;  // the component's dialog title
  std::string ReportDesc;
  std::string OutputFileName;
  std::string MemoDateFormatStr;
  std::string MemoTimeFormatStr;
  std::string MemoPageFormatStr;
  std::string InitPrinterStr;
  std::string FinishPrinterStr;
  std::string GrpBrkSameValue;
  uint8_t LineDrawSet = 0;  // 0 ASCII, 1 IBM
  std::array<char, 5> TreeChrsAscii{};
  std::array<char, 5> TreeChrsIbm{};
  std::array<std::array<char, 8>, 4> GridChrsAscii{};
  std::array<std::array<char, 8>, 4> GridChrsIbm{};
  std::array<std::unique_ptr<TvlxRptMemo>, RptMemoCount> RptMemos;
  // What the last load refused, in key order; emptied by the next load and once the setup
  // window has written its checked controls back.
  std::vector<TRefusedSetting> Refused;
};

// The settings of the report being set up; empty while no setup window is open.
extern TvlxReportSettings* RptSettings;
