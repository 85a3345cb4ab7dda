// The locale settings that number, currency and date texts are made with. One process-wide
// instance, FormatSettings, filled at start-up by the backend: from the system locale under
// Win32, from fixed US-English values headless. Code may change fields at run time.
#pragma once
#include <array>
#include <string>

struct TFormatSettings {
  std::string CurrencyString;
  // 0 "$1", 1 "1$", 2 "$ 1", 3 "1 $"
  unsigned char CurrencyFormat = 0;
  // 0 "($1)" ... 15 "(1 $)", the sixteen negative-currency layouts of the system locale
  unsigned char NegCurrFormat = 0;
  unsigned char CurrencyDecimals = 2;
  char ThousandSeparator = ',';
  char DecimalSeparator = '.';
  char DateSeparator = '/';
  char TimeSeparator = ':';
  std::string ShortDateFormat;
  std::string LongDateFormat;
  std::string ShortTimeFormat;
  std::string LongTimeFormat;
  std::string TimeAMString;
  std::string TimePMString;
  std::array<std::string, 12> ShortMonthNames;  // [0] is January
  std::array<std::string, 12> LongMonthNames;
  std::array<std::string, 7> ShortDayNames;     // [0] is Sunday
  std::array<std::string, 7> LongDayNames;
  // A two-digit year read by StrToDate falls within this many years before the current year
  // and the rest of the century after it.
  int TwoDigitYearCenturyWindow = 50;
};

// Supplied by the backend (framework/win32/Locale.cpp, framework/headless/Locale.cpp).
TFormatSettings SystemFormatSettings();

extern TFormatSettings FormatSettings;
