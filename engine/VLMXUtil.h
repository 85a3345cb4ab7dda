// The utility routines shared by the engine and the report windows: numbers and
// strings, files and folders, window placement and window sizes kept in an INI file, the
// coloured status message, and a wait that keeps the windows alive. None keeps state between
// calls. Strings are code-page-1252 byte strings; positions count from 1.
#pragma once
#include <bitset>
#include <string>
#include <string_view>

#include "framework/Graphics.h"

class TComponent;
class TCustomForm;
class TPanel;
class TTimer;

// ---- Numbers and strings (VLMXUtil/Strings.cpp) ---------------------------------------------

// The standard integer conversion (blanks first, a sign, decimal digits or "$" hexadecimal);
// a text it refuses gives 0 with Error set. Never raises.
int StrToIntChecked(const std::string& S, bool& Error);
int MaxInt2(int A, int B);
int MinInt2(int A, int B);
std::string ReverseStr(const std::string& S);

// Field Index (from 1) of S split at Delim ("," when empty); an Index of 0 or below counts
// from the end (-1 the last field). Default when there is no such field.
std::string GetToken(const std::string& S, int Index, const std::string& Delim,
                     const std::string& Default);

// The line after position Pos up to the next CR, line feeds dropped; Pos moves to that CR (or
// past the end). False, with nothing changed, once Pos has reached the end; false also for an
// empty last line without a CR.
bool ReadTextLine(const std::string& Text, int& Pos, std::string& Line);

// The number (from 1) of the Sep-separated entry of List that is Item, ignoring ASCII letter
// case; a run of entries such as "B,C" counts from its first entry. 0 when absent.
int DelimitedIndexOf(const std::string& Item, const std::string& List, char Sep);

using TCharSet = std::bitset<256>;
TCharSet MakeCharSet(std::string_view Chars);
// The characters of S that belong to CharSet, in order.
std::string KeepCharsInSet(const std::string& S, const TCharSet& CharSet);
// Every C replaced by the first character of Repl, or removed when Repl is empty.
std::string ReplaceCharBy(const std::string& S, char C, const std::string& Repl);
// Removes the first currency string of the locale, then every thousands separator.
void StripCurrencyAndSeparators(std::string& S);
// Whether S, without currency string and thousands separators, is a floating-point number.
// Never raises.
bool IsNumericStr(const std::string& S);

// The settings' font-style code: 8 bold, 4 italic, 2 underline, 1 strike-out.
TFontStyles IntToFontStyles(int Value);
int FontStylesToInt(TFontStyles Styles);

// A hint's text for a status line: "Short|Long" gives "Long" with OmitLeft, else "Short Long";
// then the first "^D" (or, without one, the first "^T") and the character after it become
// DateText (TimeText).
std::string ExpandTitleMacros(bool OmitLeft, const std::string& S, const std::string& DateText,
                              const std::string& TimeText);

// ---- Files and folders (VLMXUtil/Files.cpp) -------------------------------------------------

// Looks for the bare name of FileName in the current directory, then (when Component is
// given) in the program's directory, then in the folders of PATH; FileName becomes the name
// found, or empty when none holds it.
bool LocateFile(std::string& FileName, TComponent* Component);
std::string RemoveTrailingBackslash(const std::string& S);
// Whether a directory search for Name finds an entry with the read-only attribute.
bool IsFileReadOnly(const std::string& Name);
// Whether a folder (or a file) of that name exists; a network name of a server or share alone
// ("\\server\share") is taken to exist without asking.
bool DirExists(const std::string& Dir);
// Creates every missing folder of Path (never the drive); failures are ignored, so a caller
// that needs the folder asks DirExists again.
void ForceDirs(const std::string& Path);
// S without blanks around it and with (AddSlash) or without a final "\"; empty stays empty.
std::string NormalizeDirName(const std::string& S, bool AddSlash);

// ---- Windows, timing and messages (VLMXUtil/Windows.cpp) ------------------------------------

// Puts a window rectangle on the screen: a value below 1 takes its default (a quarter of the
// screen for Top and Left, half for Width and Height), then the window is moved, and if need
// be shrunk, to end inside the screen.
void ClampWindowRect(int& Top, int& Left, int& Width, int& Height);
// Shows the form at its remembered top (its Tag), or centred the first time; hiding parks it
// off screen at top -5000 and remembers its top. The form's visibility is left alone.
void PlaceForm(TCustomForm* Form, bool Show);
// The form's bounds and maximized state from section "Form:<name> User:<user>" of the INI
// file (a bare name lies in the Windows directory); OnResize runs once afterwards.
// eVlxIntError when IniFileName is blank.
void IniLoadFormSize(const std::string& IniFileName, TCustomForm* Form, const std::string& UserName);
// Writes the bounds only of a normal window, so that a maximized or minimized one keeps its
// last normal size in the file, and always whether it is maximized.
void IniSaveFormSize(const std::string& IniFileName, TCustomForm* Form, const std::string& UserName);
// Whether the development environment's main window is open.
bool IsDesignEnvRunning();
// Lets the application handle its messages until more than Ms milliseconds have passed, waiting
// for messages in between rather than spinning.
void DelayMs(int Ms);

// How a status message shows: the codes of ShowStatusMsg's Kind.
enum StatusMsgKind : unsigned char {
  smkWarning = 0,    // yellow, bold, with the information sound
  smkError = 1,      // red, bold, with the stop sound
  smkNormal = 2,     // button face, regular; never replaces a coloured message
  smkHighlight = 3,  // aqua, regular
  smkWhite = 4,      // white, regular
};

// Shows "  " + Text on the panel, coloured by Kind, and paints it at once. With a Timer and
// Seconds >= 1 the timer is restarted to fire after Seconds (its owner clears the message
// then); otherwise the timer is stopped. A normal message leaves a coloured one standing
// unless Seconds is negative.
void ShowStatusMsg(TPanel* Panel, const std::string& Text, StatusMsgKind Kind, TTimer* Timer, int Seconds);

// Cross-tab grid cells, in the grid's own coordinates (headings at negative indices).
class TDecisionGrid;
struct TPoint;

// True when the cell lies inside the grid and is drawn as a sum (a total or subtotal line).
bool DecisionCellTest(const TDecisionGrid* Grid, int Col, int Row);
// Whether the data cell lies on a line whose dimension shows subtotals: the first heading
// (column headings by row, or row headings by column) drawn as a sum selects the dimension.
// True when no heading is a sum; false outside the data area or without a grid.
bool IsDecisionGridTotalCell(const TDecisionGrid* Grid, TPoint Cell, bool ByRowHeaders);
