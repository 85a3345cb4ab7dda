// The two line-draw character sets of text-style output (ASCII and the box-drawing characters
// of code page 437): their built-in rows, and their keeping per machine in section "Default"
// of Vellumix.Ini together with the start value of the hint switch.
#pragma once
#include <array>
#include <span>
#include <string>

class TvlxReportSettings;

using TLineDrawRow = std::array<char, 8>;
using TLineDrawRows = std::array<TLineDrawRow, 4>;

extern const TLineDrawRows DefaultGridChrsAscii;
extern const TLineDrawRows DefaultGridChrsIbm;

// Fills the first N+1 characters of Chars (never past its end) with blanks, then copies as
// many leading characters of Text as fit.
void StrToShortStr(const std::string& Text, std::span<char> Chars, int N);
// The first High+1 characters of Chars as a string, ending early at a zero character as the
// profile functions read it.
std::string CharArrayToString(std::span<const char> Chars, int High);

// Reads "Show Hint" and the eight grid rows; what is missing keeps its built-in default.
void LoadLineDrawStyles(TvlxReportSettings& Settings);
// Writes "Show Hint", the two tree keys and the eight grid rows. EIniFileException when the
// file cannot be written.
void SaveLineDrawStyles(const TvlxReportSettings& Settings);
