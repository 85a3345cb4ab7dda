// The two settings strings that carry the columns editor's choices into the report settings
// and back: HideColumns, the field names of the columns not printed, and ColumnTotals, one
// record per column and break level with a total.
#pragma once

class TColsList;
class TvlxReportSettings;

// What a save changed, so that the setup window knows what to lay out or measure again.
struct TColumnStringsChanged {
  bool Columns = false;  // HideColumns differs, letter case ignored
  bool Totals = false;   // ColumnTotals differs
};

// Writes HideColumns and ColumnTotals from the column list, keeping the names and records of
// the columns the list does not hold; either string changing marks the settings modified.
TColumnStringsChanged SaveColumnTotals(const TColsList& Columns, TvlxReportSettings& Settings);

// Sets the kinds and format texts that ColumnTotals records on the named columns. Records
// that name no column or no kind are passed over; columns without a record keep what they
// have. A kind that changes marks the settings modified.
void LoadColumnTotals(TColsList& Columns, TvlxReportSettings& Settings);
