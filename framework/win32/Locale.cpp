// The locale of the Windows user, read once at start-up through the ANSI locale API. A value
// the system does not give falls back to the US-English one.
#include <windows.h>

#include <cstdlib>

#include "framework/rtl/Locale.h"

namespace {

std::string LocaleText(LCTYPE Type, const char* Default) {
  char Buf[256];
  const int N = GetLocaleInfoA(LOCALE_USER_DEFAULT, Type, Buf, sizeof Buf);
  return N > 1 ? std::string(Buf, N - 1) : std::string(Default);
}

char LocaleChar(LCTYPE Type, char Default) { return LocaleText(Type, std::string(1, Default).c_str())[0]; }

int LocaleNumber(LCTYPE Type, int Default) {
  const std::string S = LocaleText(Type, "");
  if (S.empty() || S.find_first_not_of("0123456789") != std::string::npos) return Default;
  return std::atoi(S.c_str());
}

}  // namespace

TFormatSettings SystemFormatSettings() {
  TFormatSettings F;
  F.CurrencyString = LocaleText(LOCALE_SCURRENCY, "$");
  F.CurrencyFormat = static_cast<unsigned char>(LocaleNumber(LOCALE_ICURRENCY, 0));
  F.NegCurrFormat = static_cast<unsigned char>(LocaleNumber(LOCALE_INEGCURR, 0));
  F.CurrencyDecimals = static_cast<unsigned char>(LocaleNumber(LOCALE_ICURRDIGITS, 2));
  F.ThousandSeparator = LocaleChar(LOCALE_STHOUSAND, ',');
  F.DecimalSeparator = LocaleChar(LOCALE_SDECIMAL, '.');
  F.DateSeparator = LocaleChar(LOCALE_SDATE, '/');
  F.TimeSeparator = LocaleChar(LOCALE_STIME, ':');
  F.ShortDateFormat = LocaleText(LOCALE_SSHORTDATE, "M/d/yyyy");
  F.LongDateFormat = LocaleText(LOCALE_SLONGDATE, "dddd, MMMM d, yyyy");
  F.TimeAMString = LocaleText(LOCALE_S1159, "AM");
  F.TimePMString = LocaleText(LOCALE_S2359, "PM");

  // The time patterns are built from the clock settings, not taken from the system's own
  // pattern, whose "tt" marker means something else here.
  const std::string Hour = LocaleNumber(LOCALE_ITLZERO, 0) == 0 ? "h" : "hh";
  std::string Prefix, Postfix;
  if (LocaleNumber(LOCALE_ITIME, 0) == 0) {
    if (LocaleNumber(LOCALE_ITIMEMARKPOSN, 0) == 0)
      Postfix = " AMPM";
    else
      Prefix = "AMPM ";
  }
  F.ShortTimeFormat = Prefix + Hour + ":mm" + Postfix;
  F.LongTimeFormat = Prefix + Hour + ":mm:ss" + Postfix;

  for (int I = 0; I < 12; ++I) {
    F.ShortMonthNames[I] = LocaleText(LOCALE_SABBREVMONTHNAME1 + I, "");
    F.LongMonthNames[I] = LocaleText(LOCALE_SMONTHNAME1 + I, "");
  }
  // The system counts days from Monday (DAYNAME1); the lists here start on Sunday.
  for (int I = 0; I < 7; ++I) {
    const int Day = (I + 6) % 7;
    F.ShortDayNames[I] = LocaleText(LOCALE_SABBREVDAYNAME1 + Day, "");
    F.LongDayNames[I] = LocaleText(LOCALE_SDAYNAME1 + Day, "");
  }
  return F;
}
