// The delimited export of a report: the rows the report would print, walked through the same
// adapter, written as delimited lines as soon as each is built, so that memory does not grow
// with the rows.
#include "engine/VLMXGbl/AsciiExport.h"

#include <algorithm>

#include "engine/VLMXGbl/ObjInfo.h"
#include "engine/VLMXGbl/PrintSettings.h"
#include "engine/VLMXGbl/RptStyles.h"
#include "engine/VLMXGbl/RunUI.h"
#include "engine/Vellumix/ReportSettings.h"
#include "framework/DB.h"
#include "framework/rtl/SysUtils.h"

namespace {

// The system's code for a write to a file that is not open.
constexpr int ioFileNotOpen = 103;

bool IsAsciiLetter(unsigned char C) { return (C >= 'A' && C <= 'Z') || (C >= 'a' && C <= 'z'); }

}  // namespace

std::string ExportSeparator(const std::string& Setting) {
  int Code = 0;
  if (TryStrToInt(Setting, Code) && Code >= 0 && Code <= 255)
    return std::string(1, static_cast<char>(Code));
  return Setting;
}

bool ExportQuotesFieldType(int DataType) {
  switch (DataType) {
    case ftString:
    case ftDate:
    case ftTime:
    case ftDateTime:
    case ftMemo:
    case ftFmtMemo:
    case ftFixedChar:
    case ftWideString: return true;
    default: return false;
  }
}

void CutMemoAtWord(std::string& S, int MaxLen) {
  if (MaxLen < 1 || static_cast<int>(S.size()) <= MaxLen) return;
  int Keep = MaxLen;
  while (Keep >= 1 && IsAsciiLetter(static_cast<unsigned char>(S[Keep - 1]))) --Keep;
  S.resize(Keep >= 1 ? Keep : MaxLen);
}

void KeepPrintableChars(std::string& S) {
  std::erase_if(S, [](char C) {
    const auto U = static_cast<unsigned char>(C);
    return U < 32 || U > 126;
  });
}

void TvlxPrintSettings::ExportAsciiRow(int Band, const std::string& Quote, const std::string& Delim) {
  FW_ASSERT(Adapter().ColsList);
  TObjInfo& Info = Adapter();
  const TvlxReportSettings& S = Settings();
  // The column scan types a grid or list column by its texts; those cells still carry no
  // field type of their own and are written bare and whole.
  const bool Untyped = Info.ObjType == otListBox || Info.ObjType == otListView || Info.ObjType == otStringGrid;
  std::string Line;
  std::string Text;
  for (int I = 0; I < Info.ColsList->Count(); ++I) {
    const TColsListData* Column = Info.ColsList->Items(I);
    const bool Skipped = !Column || !Column->Printed || (Column->ColKind == ckLineNo && Column->HorzPage != 1);
    if (!Skipped) {
      // Data rows add up the totals that the totals rows print.
      Info.GetCellText(Band, I, Text, Band == bnData, true);
      const int Type = Untyped && Column->ColKind != ckLineNo ? int{ftUnknown} : Column->DataType;
      if (Band == bnData) {
        if (Type == ftMemo || Type == ftFmtMemo) {
          CutMemoAtWord(Text, S.ExportMaxMemoLng);
        } else if (Type == ftString && static_cast<int>(Text.size()) > S.ExportMaxStrLng) {
          Text.resize(std::max(S.ExportMaxStrLng, 0));
        }
      }
      const bool Quoted = Band == bnTitles || ExportQuotesFieldType(Type);
      if (S.ExportOnlyPrintableChrs) KeepPrintableChars(Text);
      // Quotes inside the text stay as they are: the readers of these files expect it.
      if (Quoted) Line += Quote;
      Line += Text;
      if (Quoted) Line += Quote;
      Line += Delim;
    }
    // A group heading line carries its heading alone.
    if (GrpHdrRow) break;
  }
  if (!Line.empty()) Line.resize(Line.size() - std::min(Line.size(), Delim.size()));
  // A file closed under the export is a file error like any other, not a crash.
  if (!TextFile.IsOpen()) throw EInOutError(ioFileNotOpen);
  Line += "\r\n";
  TextFile.Write(Line);
  ++Info.RowsProcessed;
  RunUI().ProgressAdvance(Info.RowsProcessed, ExportProgressTotal, TPoint{-1, -1});
}

void TvlxPrintSettings::ExportAscii() {
  TObjInfo& Info = Adapter();
  const TvlxReportSettings& S = Settings();

  TObjPosn Saved(Info);
  struct TRestore {
    TvlxPrintSettings& PS;
    TObjPosn& Posn;
    int Panel, PageAcross, VertPage;
    bool AllPages;
    ~TRestore() {
      Posn.Restore();
      PS.CurPanel = Panel;
      PS.CurPageAcross = PageAcross;
      PS.CurVertPage = VertPage;
      PS.AllPages = AllPages;
    }
  } Restore{*this, Saved, CurPanel, CurPageAcross, CurVertPage, AllPages};

  // The export has no print range: the report start puts the object on its first row to print.
  // Its line numbers count from the report's first one, as the print's do, whichever way the
  // export was started: no print range was set to say so.
  AllPages = true;
  RecordCounterStart = S.StartingReportLineId;
  StartReport();
  PageMode = pmAsciiExport;
  // Every column is on the one line: leading columns count towards the totals as on the first
  // page across.
  CurPageAcross = 1;
  // The progress window may double its total; the object's own row count must not change.
  ExportProgressTotal = Info.RowCount;

  const std::string Delim = ExportSeparator(S.ExportFieldDelim);
  const std::string Quote = ExportSeparator(S.ExportQuote);

  if (S.ItemOpt(ioColumnTitles)) {
    // The title rows are read where the object keeps them; the first data row, which the host's
    // filter has already seen, and its number come back after.
    const TPoint Cell = Info.CurCell;
    TListItem* const Item = Info.CurListItem;
    const bool Ended = Info.EndOfRows;
    const int Counter = RecordCounter;
    Info.CurCell = Info.Origin;
    Styles().BandInfo[bnTitles].RowNdx = 0;
    while (Styles().BandInfo[bnTitles].RowNdx < Styles().BandInfo[bnTitles].RowCount) {
      ExportAsciiRow(bnTitles, Quote, Delim);
      Info.Next(bnTitles, false);
    }
    Info.CurCell = Cell;
    Info.CurListItem = Item;
    Info.EndOfRows = Ended;
    RecordCounter = Counter;
  }

  while (!Info.EndOfRows && RunState == rsActive) {
    ExportAsciiRow(bnData, Quote, Delim);
    Info.Next(bnData, false);
  }

  while (Styles().BandInfo[bnTotals].RowNdx < Styles().BandInfo[bnTotals].RowCount) {
    ExportAsciiRow(bnTotals, Quote, Delim);
    Info.Next(bnTotals, false);
  }

  if (RunState == rsActive) RunState = rsCompletedNormally;
}
