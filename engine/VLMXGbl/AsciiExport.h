// The delimited export: the report's rows written to a text file, one line per title, data and
// totals row, instead of composed pages. The run state drives it (TvlxPrintSettings::ExportAscii
// and ExportAsciiRow); this header holds the rules a line is built by.
#pragma once
#include <string>

// The separator that an ExportFieldDelim or ExportQuote setting stands for: the one character
// of a code from 0 to 255, else the setting's text unchanged.
std::string ExportSeparator(const std::string& Setting);
// Whether a field of DataType is enclosed in the quote on data and totals lines: the text,
// date and time types.
bool ExportQuotesFieldType(int DataType);
// A memo text of more than MaxLen characters cut after its last non-letter within MaxLen, or
// to MaxLen when those are all letters; shorter texts, and a MaxLen below 1, leave it whole.
void CutMemoAtWord(std::string& S, int MaxLen);
// Removes every character outside the printable range 32..126.
void KeepPrintableChars(std::string& S);
