// Dates and times as the classic runtime keeps them: a TDateTime is a count of days since
// 30 December 1899, the fraction being the time of day. A negative value counts days back
// from that date; its fraction is still the time of day (-1.25 is 29 December 1899, 6:00).
#pragma once
#include <string>

using TDateTime = double;

// EConvertError "Invalid argument to date encode" / "... time encode" for an impossible date
// or time; the Try forms answer false instead.
TDateTime EncodeDate(int Year, int Month, int Day);
TDateTime EncodeTime(int Hour, int Min, int Sec, int MSec);
bool TryEncodeDate(int Year, int Month, int Day, TDateTime& Date);
bool TryEncodeTime(int Hour, int Min, int Sec, int MSec, TDateTime& Time);
// EConvertError for a value outside the years 1 to 9999.
void DecodeDate(TDateTime Date, int& Year, int& Month, int& Day);
void DecodeTime(TDateTime Time, int& Hour, int& Min, int& Sec, int& MSec);
bool IsLeapYear(int Year);
// 1 is Sunday, 7 Saturday.
int DayOfWeek(TDateTime Date);

// The clock, supplied by the backend (framework/win32/Clock.cpp, framework/headless/Clock.cpp).
TDateTime Now();
// Milliseconds since an arbitrary start, wrapping at 2^32.
unsigned TickCount();
TDateTime Date();  // Now without the time
TDateTime Time();  // Now without the date

// Patterns: c d dd ddd dddd ddddd dddddd m mm mmm mmmm yy yyyy h hh n nn s ss z zzz t tt
// am/pm a/p ampm aaa aaaa / : 'text' "text"; m right after h or hh means minutes. An empty
// pattern is "c".
std::string FormatDateTime(const std::string& Fmt, TDateTime DateTime);
std::string DateToStr(TDateTime Date);          // ShortDateFormat
std::string TimeToStr(TDateTime Time);          // LongTimeFormat
std::string DateTimeToStr(TDateTime DateTime);  // "c"

// Read in the order of ShortDateFormat with DateSeparator, TimeSeparator and the AM/PM
// strings; a two-digit year falls in TwoDigitYearCenturyWindow. EConvertError
// "'S' is not a valid date" (time, date and time) otherwise.
TDateTime StrToDate(const std::string& S);
TDateTime StrToTime(const std::string& S);
TDateTime StrToDateTime(const std::string& S);
