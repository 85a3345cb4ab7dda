// The start of a report run and the preparation of each print, without a window: the setup
// window runs its start through these routines, and so do the golden reports, the benchmarks
// and the tests, so that a fault in the start shows wherever a report is printed.
#pragma once
#include "engine/VLMXCodes.h"

class TControl;
class TvlxRun;

// What a caller adds to the start of a run where its own work comes between the engine's
// steps. The setup window loads its controls, checks them and shows the page and the pages
// across; without a window every step is the engine's own.
class TvlxStartSteps {
public:
  virtual ~TvlxStartSteps() = default;
  // The printed object is identified: its kind is known, its settings not yet.
  virtual void ObjectIdentified() {}
  // Fills the report settings: by default the line-draw sets of this machine's INI file, then
  // the report's section of the component's report-settings file.
  virtual void LoadSettings(TvlxRun& Run);
  // The column list is built and the sort fields counted: the settings are complete.
  virtual void ColumnsBuilt() {}
  // The styles are loaded: the output flags from the settings (DeriveOutputFlags) and the
  // output file's extension from the destination (FollowDestinationExt) by default.
  virtual void ChooseOutput(TvlxRun& Run);
  // Fits the page to the report as far as it is known (FitFontToPage) by default;
  // ShowWidthWarning: the caller tells the user when the report's width is not known yet.
  virtual void FitPage(TvlxRun& Run, bool ShowWidthWarning);
  // Whether the settings pass the caller's checks; a failure does not stop the start.
  virtual bool SettingsValid() { return true; }
  // Right before the column scan.
  virtual void BeforeColumnScan() {}
  // Where the scan and the page fitting write the number of pages across; none by default.
  virtual TControl* PagesAcrossLabel() { return nullptr; }
  // The columns are measured and the page fitted to them.
  virtual void ColumnsScanned() {}
};

// The start on settings the caller filled beforehand: nothing is loaded, every other step is
// the engine's own.
class TvlxGivenSettingsSteps : public TvlxStartSteps {
public:
  void LoadSettings(TvlxRun&) override {}
};

// The start of a run up to its complete settings, on the object the run's adapter holds for
// its component: the object identified, the settings loaded and handed to the component's
// AfterOptionsLoaded, the component's handlers handed to the adapter, the selected rows
// counted and asked about, the used extent, the number of fixed columns of a new report, the
// column list with its stored totals, the empty check and the sort fields. Raises what the
// steps raise: an unsupported or empty object, the user's stop at the selected-rows question.
void StartObject(TvlxRun& Run, TvlxStartSteps& Steps);

// The whole start of a run: StartObject, then the styles, the output and the page, the
// caller's checks, the totals lines, line numbers and device sizes the scan measures with, the
// column scan and the page fitted to the measured columns. Whether the caller's checks passed.
// Styles that cannot be loaded raise a setup error.
bool StartRun(TvlxRun& Run, TvlxStartSteps& Steps);

// The columns measured again over the rows on the settings as they are now, as a start on
// them would measure them (totals lines, line numbers, device maxima), and laid out across the
// pages, the count going to PagesAcrossLabel (may be nullptr). For a print or a preview after
// the window changed a setting.
void RemeasureColumns(TvlxRun& Run, TControl* PagesAcrossLabel, bool& RescanPending);

// The Print command's preparation of a started run: the page fitted, the columns measured
// again over the rows on the settings as they are now and laid out across the pages, the page
// fitted again and the print range set from the settings (a window snapshot and an export have
// no pages to lay out).
void PrepareToPrint(TvlxRun& Run, TvlxStartSteps& Steps, bool& RescanPending);

// Whether a report of the destination and object kind may print What; the setup window offers
// only those, and a choice the destination or the kind does not allow prints everything.
bool PrintWhatAllowed(TPrintWhat What, TOutputDest Dest, TObjKind Kind);

// The run's output flags from the report settings: destination, window snapshot, the column
// totals and field formats of the adapter, the line-draw set and the unit set. A print-what
// choice that the destination or the object does not allow becomes "everything".
void DeriveOutputFlags(TvlxRun& Run);

// For file output, an output file named with one of the file destinations' extensions (.TXT,
// .RTF, .ASC, any letter case) takes the chosen destination's; other names stay. True when the
// name changed.
bool FollowDestinationExt(TvlxRun& Run);

// The digits of the last line number the report can print, from its starting line number and
// the object's rows, and the line-number column's sample of that many digits, which the
// column scan measures.
void SizeLineNumbers(TvlxRun& Run);

// The page metrics of the chosen printer or text page in the run's units: the printer put in
// use (an unusable one gives way to the system's default, which the settings then name), its
// orientation, the line flags, the character cell, the panel gap, the page size and, once the
// columns are scanned, the pages across on Label and the report's width (else -1).
void MeasurePage(TvlxRun& Run, TControl* Label);

// Fits the working font size and the panels across to the page (shrink or expand to page),
// measuring the page at each step.
void FitFontToPage(TvlxRun& Run, TControl* Label);
