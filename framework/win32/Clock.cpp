// The system clock: the local time and the millisecond tick count.
#include <windows.h>

#include "framework/rtl/DateUtils.h"

unsigned TickCount() { return GetTickCount(); }

TDateTime Now() {
  SYSTEMTIME T;
  GetLocalTime(&T);
  return EncodeDate(T.wYear, T.wMonth, T.wDay) +
         EncodeTime(T.wHour, T.wMinute, T.wSecond, T.wMilliseconds);
}
