// Whole reports with known output: each case is a printed object and the settings of its report,
// as a user leaves them in the setup window, started and printed to a text file through the
// engine's start of a run and the Print command's preparation, as the window runs them. The
// native golden-file test and the end-to-end test under Wine build the same reports from here,
// so nothing in this file may depend on one backend.
#pragma once
#include <string>
#include <utility>
#include <vector>

#include "engine/VLMXCols.h"
#include "engine/VLMXGbl/PublishedRun.h"

namespace GoldenReports {

enum class TSource {
  Books,    // the 66-book table of the book-table program
  Numbers,  // a generated grid: two group columns, text and number columns
};

// A total of Kind on the column named Column (as the column list names it) at break Level.
struct TTotal {
  std::string Column;
  int Level;
  TotalKind Kind;
};

struct TCase {
  std::string Name;
  TSource Source;
  // "Key=Value" lines as the report's section of the settings file holds them, applied over the
  // keys' defaults.
  std::vector<std::string> Settings;
  std::vector<std::pair<RptMemoIndex, std::string>> Memos;
  std::vector<TTotal> Totals;
};

const std::vector<TCase>& Cases();
// The case of that name; std::out_of_range when there is none.
const TCase& Find(const std::string& Name);

// One report with its run, published to the windows' references while it lives.
class TReport : public TPublishedRun {
public:
  explicit TReport(const TCase& Case);
  // The report of Case over Object (owned by the caller, alive as long as the report) instead
  // of the case's own source.
  TReport(const TCase& Case, TComponent* Object);

  // Where the printer destination sends the pages: drawn on the printer's canvas, or as raw
  // text through the spooler to the default printer. AsciiExport: the rows exported into the
  // file instead of the pages.
  // Printer: the printer destination as the user leaves it, the page measured on the printer
  // the settings choose in the font the fitting chooses.
  enum class TOutput { TextFile, PrinterCanvas, RawSpooler, AsciiExport, Printer };

  // Starts the report's run as the setup window starts it (the settings as they stand, the
  // case's totals set as the columns editor sets them) and prints it as the window's Print
  // command does, into FileName with the destination "Text File", or to the printer: the run's
  // result (1 finished, 2 cancelled, 3 failed). The page is the text file's in every case (raw
  // text through the spooler, or drawn on the canvas of the printer selected now), so every
  // output holds the same lines.
  int Print(const std::string& FileName, TOutput Output = TOutput::TextFile);

private:
  const TCase& FCase;
};

}  // namespace GoldenReports
