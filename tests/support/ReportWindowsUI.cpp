// A test program that runs reports does so with the report windows as their user interface,
// as the program does: on the headless backend their message boxes and modal windows are
// answered by the test and recorded.
#include "windows/ReportWindows.h"

namespace {
const bool Registered = (RegisterReportWindows(), true);
}  // namespace
