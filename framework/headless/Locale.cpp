// Headless locale: fixed US-English settings, the same on every machine, so that tests see
// the texts a US-English Windows shows.
#include "framework/rtl/Locale.h"

TFormatSettings SystemFormatSettings() {
  TFormatSettings F;
  F.CurrencyString = "$";
  F.CurrencyFormat = 0;
  F.NegCurrFormat = 0;
  F.CurrencyDecimals = 2;
  F.ThousandSeparator = ',';
  F.DecimalSeparator = '.';
  F.DateSeparator = '/';
  F.TimeSeparator = ':';
  F.ShortDateFormat = "M/d/yyyy";
  F.LongDateFormat = "dddd, MMMM d, yyyy";
  F.TimeAMString = "AM";
  F.TimePMString = "PM";
  F.ShortTimeFormat = "h:mm AMPM";
  F.LongTimeFormat = "h:mm:ss AMPM";
  F.ShortMonthNames = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                       "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
  F.LongMonthNames = {"January", "February", "March",     "April",   "May",      "June",
                      "July",    "August",   "September", "October", "November", "December"};
  F.ShortDayNames = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
  F.LongDayNames = {"Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"};
  return F;
}
