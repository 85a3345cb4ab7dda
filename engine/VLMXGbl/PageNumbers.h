// Page ids and page ranges: a page is {page across, vertical page}, ordered by the vertical page
// first; its id is the vertical page, or the vertical page, "-" and the page across when the
// report is more than one sheet wide. Also the size labels of the setup window's page fields.
// The current page's label is TvlxPrintSettings::FormatPageNo.
#pragma once
#include <string>

#include "framework/Controls.h"

class TCustomEdit;

// Part true: the text before the first "-"; false: the text after it (empty without a "-").
void PageNoPart(const std::string& Text, bool Part, std::string& S);
// The integer of one part; an empty part after the dash is 0 without an error.
int PageNoPartToInt(const std::string& Text, bool Part, bool& Error);
bool IsValidPageNo(const std::string& Text);
// {page across := the part after the dash, vertical page := the part before it}.
void ParsePageNo(const std::string& Text, TPoint& Position);

// Tells the user that the id in Edit is not one, with examples, and puts the focus there.
void PageNoError(TCustomEdit* Edit);
// True when Check is false, or when both edits hold page ids and From does not lie after To;
// otherwise the user is told and the focus goes to the edit at fault.
bool ValidatePageRangeEdits(bool Check, TCustomEdit* FromEdit, TCustomEdit* ToEdit);

// " Lines" or " Chars" in text units, an inch sign in device units.
void UnitSuffix(bool Vertical, std::string& S);
// Value in the run's units: the integer in text units, inches with two decimals in device units.
void FmtSizeValue(int Value, int Axis, std::string& S);
