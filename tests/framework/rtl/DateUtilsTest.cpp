#include <cmath>
#include <vector>

#include "framework/headless/Clock.h"
#include "framework/rtl/DateUtils.h"
#include "framework/rtl/SysUtils.h"
#include "tests/framework/rtl/RtlTest.h"

using DateUtilsTest = RtlTest;

namespace {
// Saturday 5 December 2026, 14:30:05.007
TDateTime Sample() { return EncodeDate(2026, 12, 5) + EncodeTime(14, 30, 5, 7); }
}  // namespace

TEST_F(DateUtilsTest, EncodeAndDecode) {
  EXPECT_EQ(EncodeDate(1899, 12, 30), 0);
  EXPECT_EQ(EncodeDate(2026, 12, 5), 46361);
  EXPECT_EQ(EncodeDate(1, 1, 1), -693593);
  EXPECT_EQ(EncodeDate(9999, 12, 31), 2958465);
  EXPECT_EQ(EncodeDate(2000, 2, 29), EncodeDate(2000, 3, 1) - 1);
  EXPECT_THROW_MSG(EncodeDate(1900, 2, 29), EConvertError, "Invalid argument to date encode");
  EXPECT_THROW_MSG(EncodeDate(2026, 13, 1), EConvertError, "Invalid argument to date encode");
  EXPECT_THROW_MSG(EncodeTime(24, 0, 0, 0), EConvertError, "Invalid argument to time encode");

  // Every 37th day of the whole calendar, leap days and century edges included.
  for (int D = -693593; D <= 2958465; D += 37) {
    int Y, M, Day;
    DecodeDate(D, Y, M, Day);
    ASSERT_EQ(EncodeDate(Y, M, Day), D) << Y << "-" << M << "-" << Day;
  }
  int Y, M, D, H, N, S, Ms;
  DecodeDate(Sample(), Y, M, D);
  DecodeTime(Sample(), H, N, S, Ms);
  EXPECT_EQ((std::vector<int>{Y, M, D, H, N, S, Ms}), (std::vector<int>{2026, 12, 5, 14, 30, 5, 7}));
  // A negative value counts days back; its fraction is still the time of day.
  DecodeDate(-1.25, Y, M, D);
  DecodeTime(-1.25, H, N, S, Ms);
  EXPECT_EQ((std::vector<int>{Y, M, D, H}), (std::vector<int>{1899, 12, 29, 6}));
  // A time that rounds to midnight is the next day.
  DecodeDate(EncodeDate(2026, 12, 31) + 0.9999999999, Y, M, D);
  EXPECT_EQ((std::vector<int>{Y, M, D}), (std::vector<int>{2027, 1, 1}));
  EXPECT_THROW(DecodeDate(1e300, Y, M, D), EConvertError);
  EXPECT_THROW(DecodeDate(NAN, Y, M, D), EConvertError);
}

TEST_F(DateUtilsTest, FormatDateTimePatterns) {
  const TDateTime T = Sample();
  ExpectPairs<std::string>(
      {{"yyyy-mm-dd hh:nn:ss.zzz", "2026-12-05 14:30:05.007"}, {"d/m/yy y", "5/12/26 26"},
       {"ddd dddd mmm mmmm", "Sat Saturday Dec December"}, {"aaa aaaa", "Sat Saturday"}, {"z zz", "7 07"},
       // m after h is minutes, elsewhere the month.
       {"hh:mm", "14:30"}, {"h 'x' mm", "14 x 30"}, {"h x mm", "14 x 12"}, {"mm", "12"},
       // A clock marker after the hour makes it a 12-hour clock, in the marker's own case.
       {"h:mm am/pm", "2:30 pm"}, {"hh:mm AM/PM", "02:30 PM"}, {"h A/P", "2 P"}, {"h:nn ampm", "2:30 PM"},
       {"h 'am/pm'", "14 am/pm"}, {"h \"'\" x 'A/P'", "14 ' x A/P"},
       // Locale patterns.
       {"c", "12/5/2026 2:30:05 PM"}, {"", "12/5/2026 2:30:05 PM"}, {"ddddd", "12/5/2026"},
       {"dddddd", "Saturday, December 5, 2026"}, {"t|tt", "2:30 PM|2:30:05 PM"},
       {"'Today is' dddd", "Today is Saturday"}, {"\"h\"h", "h14"}, {"'open", "open"}},
      [&](const std::string& Fmt) { return FormatDateTime(Fmt, T); });
  EXPECT_EQ(FormatDateTime("h am/pm", EncodeTime(0, 15, 0, 0)), "12 am");
  EXPECT_EQ(FormatDateTime("c", EncodeDate(2026, 12, 5)), "12/5/2026");
  EXPECT_EQ(DateToStr(T), "12/5/2026");
  EXPECT_EQ(TimeToStr(T), "2:30:05 PM");
  EXPECT_EQ(DateTimeToStr(T), "12/5/2026 2:30:05 PM");
  FormatSettings.DateSeparator = '.';
  FormatSettings.TimeSeparator = '-';
  EXPECT_EQ(FormatDateTime("dd/mm/yyyy hh:nn", T), "05.12.2026 14-30");
  // A locale pattern that names itself is expanded two levels deep, not forever.
  FormatSettings.ShortDateFormat = "c";
  EXPECT_EQ(FormatDateTime("c", T), "  2-30-05 PM");
}

TEST_F(DateUtilsTest, ReadingDates) {
  Headless::SetNow(EncodeDate(2026, 6, 1));
  // Two-digit years fall from 50 years back (1976) to 49 ahead.
  ExpectPairs<std::string, TDateTime>({{"12/5/2026", EncodeDate(2026, 12, 5)}, {" 1 / 2 / 2026 ", EncodeDate(2026, 1, 2)},
                                       {"12/5", EncodeDate(2026, 12, 5)}, {"1/2/03", EncodeDate(2003, 1, 2)},
                                       {"1/2/80", EncodeDate(1980, 1, 2)}, {"1/2/75", EncodeDate(2075, 1, 2)}},
                                      [](const std::string& S) { return StrToDate(S); });
  for (const char* Bad : {"13/1/2026", "1/2/2026x", "", "2026", "20261205", "2/30/2026"})
    EXPECT_THROW_MSG(StrToDate(Bad), EConvertError,
                     std::string("'") + Bad + "' is not a valid date");

  EXPECT_EQ(StrToTime("2:30 PM"), EncodeTime(14, 30, 0, 0));
  EXPECT_EQ(StrToTime("pm 2:30"), EncodeTime(14, 30, 0, 0));
  EXPECT_EQ(StrToTime("14:30:05.250"), EncodeTime(14, 30, 5, 250));
  EXPECT_EQ(StrToTime("12:00 AM"), 0);
  EXPECT_THROW_MSG(StrToTime("13:00 PM"), EConvertError, "'13:00 PM' is not a valid time");
  EXPECT_THROW_MSG(StrToTime("24:00"), EConvertError, "'24:00' is not a valid time");

  EXPECT_EQ(StrToDateTime("12/5/2026 2:30:05 PM"), EncodeDate(2026, 12, 5) + EncodeTime(14, 30, 5, 0));
  EXPECT_EQ(StrToDateTime("2:30 PM"), EncodeTime(14, 30, 0, 0));
  EXPECT_THROW_MSG(StrToDateTime("soon"), EConvertError, "'soon' is not a valid date and time");

  FormatSettings.ShortDateFormat = "dd.MM.yyyy";
  FormatSettings.DateSeparator = '.';
  EXPECT_EQ(StrToDate("5.12.2026"), EncodeDate(2026, 12, 5));
  FormatSettings.ShortDateFormat = "yyyy-MM-dd";
  FormatSettings.DateSeparator = '-';
  EXPECT_EQ(StrToDate("2026-12-05"), EncodeDate(2026, 12, 5));
}
