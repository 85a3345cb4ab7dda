// Calendar arithmetic, FormatDateTime and reading dates back, after the classic runtime.
#include "framework/rtl/DateUtils.h"

#include <cmath>

#include "framework/rtl/SysUtils.h"

namespace {

constexpr int DateDelta = 693594;  // 30 December 1899, counting 1 January 0001 as day 1
constexpr int MaxDateDays = 3652059;  // 31 December 9999, counted the same way
constexpr int MSecsPerDay = 86400000;

int DaysInMonth(int Year, int Month) {
  static const int Days[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return Month == 2 && IsLeapYear(Year) ? 29 : Days[Month - 1];
}

// Day number counting 1 January 0001 as 1, and milliseconds into the day.
struct TTimeStamp {
  int Date;
  int Time;
};

TTimeStamp ToTimeStamp(TDateTime DT) {
  if (!(DT > -DateDelta && DT < MaxDateDays - DateDelta + 1))
    throw EConvertError("Date-time value out of range");
  const double Whole = std::trunc(DT);
  TTimeStamp T{static_cast<int>(Whole) + DateDelta,
               static_cast<int>(std::nearbyint(std::fabs(DT - Whole) * MSecsPerDay))};
  // A time that rounds up to midnight belongs to the next day.
  if (T.Time >= MSecsPerDay) {
    T.Time = 0;
    ++T.Date;
  }
  if (T.Date < 1 || T.Date > MaxDateDays) throw EConvertError("Date-time value out of range");
  return T;
}

}  // namespace

bool IsLeapYear(int Year) { return Year % 4 == 0 && (Year % 100 != 0 || Year % 400 == 0); }

bool TryEncodeDate(int Year, int Month, int Day, TDateTime& Date) {
  if (Year < 1 || Year > 9999 || Month < 1 || Month > 12 || Day < 1 ||
      Day > DaysInMonth(Year, Month))
    return false;
  for (int M = 1; M < Month; ++M) Day += DaysInMonth(Year, M);
  const int I = Year - 1;
  Date = I * 365 + I / 4 - I / 100 + I / 400 + Day - DateDelta;
  return true;
}

bool TryEncodeTime(int Hour, int Min, int Sec, int MSec, TDateTime& Time) {
  if (Hour < 0 || Hour >= 24 || Min < 0 || Min >= 60 || Sec < 0 || Sec >= 60 || MSec < 0 ||
      MSec >= 1000)
    return false;
  Time = (Hour * 3600000.0 + Min * 60000.0 + Sec * 1000.0 + MSec) / MSecsPerDay;
  return true;
}

TDateTime EncodeDate(int Year, int Month, int Day) {
  TDateTime D;
  if (!TryEncodeDate(Year, Month, Day, D)) throw EConvertError("Invalid argument to date encode");
  return D;
}

TDateTime EncodeTime(int Hour, int Min, int Sec, int MSec) {
  TDateTime T;
  if (!TryEncodeTime(Hour, Min, Sec, MSec, T))
    throw EConvertError("Invalid argument to time encode");
  return T;
}

void DecodeDate(TDateTime Date, int& Year, int& Month, int& Day) {
  int T = ToTimeStamp(Date).Date - 1;
  Year = 1 + T / 146097 * 400;
  T %= 146097;
  int Centuries = T / 36524, Rest = T % 36524;
  if (Centuries == 4) {  // the last day of a 400-year cycle
    Centuries = 3;
    Rest += 36524;
  }
  Year += Centuries * 100 + Rest / 1461 * 4;
  Rest %= 1461;
  int Years = Rest / 365;
  Rest %= 365;
  if (Years == 4) {
    Years = 3;
    Rest += 365;
  }
  Year += Years;
  Month = 1;
  while (Rest >= DaysInMonth(Year, Month)) Rest -= DaysInMonth(Year, Month++);
  Day = Rest + 1;
}

void DecodeTime(TDateTime Time, int& Hour, int& Min, int& Sec, int& MSec) {
  const int T = ToTimeStamp(Time).Time;
  Hour = T / 3600000;
  Min = T / 60000 % 60;
  Sec = T / 1000 % 60;
  MSec = T % 1000;
}

int DayOfWeek(TDateTime Date) { return ToTimeStamp(Date).Date % 7 + 1; }

TDateTime Date() { return std::trunc(Now()); }

TDateTime Time() {
  const TDateTime N = Now();
  return N - std::trunc(N);
}

// ---- FormatDateTime --------------------------------------------------------------------------

namespace {

bool StartsWithText(const std::string& S, size_t Pos, const char* Prefix) {
  for (size_t I = 0; Prefix[I]; ++I) {
    if (Pos + I >= S.size()) return false;
    char C = S[Pos + I];
    if (C >= 'a' && C <= 'z') C = static_cast<char>(C - 32);
    if (C != Prefix[I]) return false;
  }
  return true;
}

class TDateFormatter {
public:
  explicit TDateFormatter(TDateTime DT) : FDateTime(DT) {}

  std::string Run(const std::string& Fmt) {
    Append(Fmt.empty() ? std::string("C") : Fmt);
    return FResult;
  }

private:
  TDateTime FDateTime;
  std::string FResult;
  int FLevel = 0;
  bool FHaveDate = false, FHaveTime = false;
  int FYear = 0, FMonth = 0, FDay = 0, FHour = 0, FMin = 0, FSec = 0, FMSec = 0;

  void GetDate() {
    if (!FHaveDate) DecodeDate(FDateTime, FYear, FMonth, FDay);
    FHaveDate = true;
  }
  void GetTime() {
    if (!FHaveTime) DecodeTime(FDateTime, FHour, FMin, FSec, FMSec);
    FHaveTime = true;
  }
  void Number(int N, int Digits) {
    std::string S = std::to_string(N);
    if (static_cast<int>(S.size()) < Digits) S.insert(0, Digits - S.size(), '0');
    FResult += S;
  }

  // Locale patterns may themselves hold "c", "ddddd" or "t"; two levels are expanded, no
  // more, so a pattern that names itself cannot recurse without end.
  void Append(const std::string& Fmt) {
    if (FLevel >= 2) return;
    ++FLevel;
    const TFormatSettings& F = FormatSettings;
    char LastToken = ' ';
    bool Use12Hour = false;
    size_t P = 0;
    while (P < Fmt.size()) {
      const char Starter = Fmt[P++];
      char Token = Starter >= 'a' && Starter <= 'z' ? static_cast<char>(Starter - 32) : Starter;
      if (Token >= 'A' && Token <= 'Z') {
        if (Token == 'M' && LastToken == 'H') Token = 'N';
        LastToken = Token;
      }
      auto Count = [&] {
        int N = 1;
        while (P < Fmt.size() && Fmt[P] == Starter) ++N, ++P;
        return N;
      };
      switch (Token) {
        case 'Y': {
          const int N = Count();
          GetDate();
          if (N <= 2) Number(FYear % 100, 2); else Number(FYear, 4);
          break;
        }
        case 'M': {
          const int N = Count();
          GetDate();
          if (N <= 2) Number(FMonth, N);
          else FResult += (N == 3 ? F.ShortMonthNames : F.LongMonthNames)[FMonth - 1];
          break;
        }
        case 'D': {
          const int N = Count();
          if (N <= 2) {
            GetDate();
            Number(FDay, N);
          } else if (N <= 4) {
            FResult += (N == 3 ? F.ShortDayNames : F.LongDayNames)[DayOfWeek(FDateTime) - 1];
          } else {
            Append(N == 5 ? F.ShortDateFormat : F.LongDateFormat);
          }
          break;
        }
        case 'H': {
          const int N = Count();
          GetTime();
          // A clock marker further on (before the next hour) makes this a 12-hour clock. A
          // literal ends only at its own kind of quote, as the formatting reads it: a "'"
          // literal must not leave a marker inside a later '...' literal looking bare.
          char Quote = 0;
          for (size_t Q = P; Q < Fmt.size(); ++Q) {
            const char C = Fmt[Q];
            if (Quote) {
              if (C == Quote) Quote = 0;
            } else if (C == '\'' || C == '"') {
              Quote = C;
            } else if (C == 'a' || C == 'A') {
              if (StartsWithText(Fmt, Q, "AM/PM") || StartsWithText(Fmt, Q, "A/P") ||
                  StartsWithText(Fmt, Q, "AMPM"))
                Use12Hour = true;
              break;
            } else if (C == 'h' || C == 'H') {
              break;
            }
          }
          int H = FHour;
          if (Use12Hour) H = H == 0 ? 12 : H > 12 ? H - 12 : H;
          Number(H, std::min(N, 2));
          break;
        }
        case 'N': case 'S': case 'Z': {
          const int N = Count();
          GetTime();
          if (Token == 'Z') Number(FMSec, std::min(N, 3));
          else Number(Token == 'N' ? FMin : FSec, std::min(N, 2));
          break;
        }
        case 'T':
          Append(Count() == 1 ? F.ShortTimeFormat : F.LongTimeFormat);
          break;
        case 'C':
          Count();
          Append(F.ShortDateFormat);
          GetTime();
          if (FHour != 0 || FMin != 0 || FSec != 0) {
            FResult += ' ';
            Append(F.LongTimeFormat);
          }
          break;
        case 'A': {
          const size_t At = P - 1;
          if (StartsWithText(Fmt, At, "AM/PM")) {
            GetTime();
            FResult.append(Fmt, FHour >= 12 ? At + 3 : At, 2);
            P = At + 5;
            Use12Hour = true;
          } else if (StartsWithText(Fmt, At, "A/P")) {
            GetTime();
            FResult += Fmt[FHour >= 12 ? At + 2 : At];
            P = At + 3;
            Use12Hour = true;
          } else if (StartsWithText(Fmt, At, "AMPM")) {
            GetTime();
            FResult += FHour < 12 ? F.TimeAMString : F.TimePMString;
            P = At + 4;
            Use12Hour = true;
          } else if (StartsWithText(Fmt, At, "AAAA")) {
            FResult += F.LongDayNames[DayOfWeek(FDateTime) - 1];
            P = At + 4;
          } else if (StartsWithText(Fmt, At, "AAA")) {
            FResult += F.ShortDayNames[DayOfWeek(FDateTime) - 1];
            P = At + 3;
          } else {
            FResult += Starter;
          }
          break;
        }
        case '/':
          FResult += F.DateSeparator;
          break;
        case ':':
          FResult += F.TimeSeparator;
          break;
        case '\'': case '"': {
          const size_t Close = Fmt.find(Starter, P);
          const size_t End = Close == std::string::npos ? Fmt.size() : Close;
          FResult.append(Fmt, P, End - P);
          P = End == Fmt.size() ? End : End + 1;
          break;
        }
        default:
          FResult += Starter;
      }
    }
    --FLevel;
  }
};

}  // namespace

std::string FormatDateTime(const std::string& Fmt, TDateTime DateTime) {
  return TDateFormatter(DateTime).Run(Fmt);
}

std::string DateToStr(TDateTime Date) { return FormatDateTime("ddddd", Date); }
std::string TimeToStr(TDateTime Time) { return FormatDateTime("tt", Time); }
std::string DateTimeToStr(TDateTime DateTime) { return FormatDateTime("c", DateTime); }

// ---- Reading dates ---------------------------------------------------------------------------

namespace {

class TDateScanner {
public:
  explicit TDateScanner(const std::string& S) : FS(S) {}

  bool AtEnd() const { return FPos >= FS.size(); }
  size_t Position() const { return FPos; }
  void Rewind() { FPos = 0; }

  void Blanks() {
    while (FPos < FS.size() && FS[FPos] == ' ') ++FPos;
  }
  // At most four digits' worth: the classic scanner stops once the value reaches 1000.
  bool Number(int& N, int& Length) {
    Blanks();
    const size_t Start = FPos;
    N = 0;
    while (FPos < FS.size() && FS[FPos] >= '0' && FS[FPos] <= '9' && N < 1000)
      N = N * 10 + (FS[FPos++] - '0');
    Length = static_cast<int>(FPos - Start);
    return Length > 0;
  }
  bool Char(char C) {
    Blanks();
    if (FPos < FS.size() && FS[FPos] == C) {
      ++FPos;
      return true;
    }
    return false;
  }
  bool Text(const std::string& T) {
    Blanks();
    if (T.empty() || !AnsiSameText(FS.substr(FPos, T.size()), T)) return false;
    FPos += T.size();
    return true;
  }

  bool ScanDate(TDateTime& Date);
  bool ScanTime(TDateTime& Time);

private:
  const std::string& FS;
  size_t FPos = 0;
};

enum TDateOrder { doMDY, doDMY, doYMD };

TDateOrder DateOrder(const std::string& ShortDateFormat) {
  for (char C : ShortDateFormat) {
    switch (C & 0xDF) {
      case 'E': case 'Y': return doYMD;
      case 'M': return doMDY;
      case 'D': return doDMY;
    }
  }
  return doMDY;
}

bool TDateScanner::ScanDate(TDateTime& Date) {
  const TFormatSettings& F = FormatSettings;
  const TDateOrder Order = DateOrder(F.ShortDateFormat);
  int N1, N2, N3, L1, L2, L3;
  if (!(Number(N1, L1) && Char(F.DateSeparator) && Number(N2, L2))) return false;
  int Y, M, D;
  if (Char(F.DateSeparator)) {
    if (!Number(N3, L3)) return false;
    int YearLength = L3;
    switch (Order) {
      case doMDY: Y = N3; M = N1; D = N2; break;
      case doDMY: Y = N3; M = N2; D = N1; break;
      default: Y = N1; M = N2; D = N3; YearLength = L1; break;
    }
    if (YearLength <= 2) {
      int CurrentYear, Unused1, Unused2;
      DecodeDate(::Date(), CurrentYear, Unused1, Unused2);
      const int CenturyBase = CurrentYear - F.TwoDigitYearCenturyWindow;
      Y += CenturyBase / 100 * 100;
      if (F.TwoDigitYearCenturyWindow > 0 && Y < CenturyBase) Y += 100;
    }
  } else {
    int Unused1, Unused2;
    DecodeDate(::Date(), Y, Unused1, Unused2);
    if (Order == doDMY) {
      D = N1;
      M = N2;
    } else {
      M = N1;
      D = N2;
    }
  }
  Char(F.DateSeparator);
  Blanks();
  return TryEncodeDate(Y, M, D, Date);
}

bool TDateScanner::ScanTime(TDateTime& Time) {
  const TFormatSettings& F = FormatSettings;
  auto Marker = [&] {
    if (Text(F.TimeAMString) || Text("AM")) return 0;
    if (Text(F.TimePMString) || Text("PM")) return 12;
    return -1;
  };
  int BaseHour = Marker();
  if (BaseHour >= 0) Blanks();
  int Hour, Min = 0, Sec = 0, MSec = 0, Length;
  if (!Number(Hour, Length)) return false;
  if (Char(F.TimeSeparator)) {
    if (!Number(Min, Length)) return false;
    if (Char(F.TimeSeparator)) {
      if (!Number(Sec, Length)) return false;
      if (Char(F.DecimalSeparator) && !Number(MSec, Length)) return false;
    }
  }
  if (BaseHour < 0) BaseHour = Marker();
  if (BaseHour >= 0) {
    if (Hour == 0 || Hour > 12) return false;
    if (Hour == 12) Hour = 0;
    Hour += BaseHour;
  }
  Blanks();
  return TryEncodeTime(Hour, Min, Sec, MSec, Time);
}

}  // namespace

TDateTime StrToDate(const std::string& S) {
  TDateScanner Scan(S);
  TDateTime D;
  if (!Scan.ScanDate(D) || !Scan.AtEnd()) throw EConvertError("'" + S + "' is not a valid date");
  return D;
}

TDateTime StrToTime(const std::string& S) {
  TDateScanner Scan(S);
  TDateTime T;
  if (!Scan.ScanTime(T) || !Scan.AtEnd()) throw EConvertError("'" + S + "' is not a valid time");
  return T;
}

TDateTime StrToDateTime(const std::string& S) {
  TDateScanner Scan(S);
  TDateTime D, T = 0;
  // As in the classic runtime, whatever follows a valid time is not examined.
  if (Scan.ScanDate(D) && (Scan.AtEnd() || Scan.ScanTime(T))) return D >= 0 ? D + T : D - T;
  // Not a date, perhaps a time alone.
  Scan.Rewind();
  if (Scan.ScanTime(T) && Scan.AtEnd()) return T;
  throw EConvertError("'" + S + "' is not a valid date and time");
}
