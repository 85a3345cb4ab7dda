// Report ids have the form "OptionalText (nnn.mmm)": free text, then a last word of exactly nine
// characters, two three-digit numbers in parentheses separated by a full stop; no line break
// anywhere, as the id is one line of the settings file.
#pragma once
#include <string>

// True when Id has the form. With FixUp an invalid Id is replaced by a newly generated id alone
// (the optional text goes too) and the result is true.
bool ValidateReportId(std::string& Id, bool FixUp);

// A new id "(nnn.mmm)": a random number and the tick count, each 1 to 999.
std::string NewReportIdSuffix();
