#include "engine/Vellumix/ReportId.h"

#include <cctype>

#include "framework/rtl/SysUtils.h"

namespace {
bool AreDigits(const std::string& S, size_t From, size_t Count) {
  for (size_t i = From; i < From + Count; ++i)
    if (!std::isdigit(static_cast<unsigned char>(S[i]))) return false;
  return true;
}
}  // namespace

bool ValidateReportId(std::string& Id, bool FixUp) {
  std::string trimmed = Trim(Id);
  size_t blank = trimmed.find_last_of(' ');
  std::string last = blank == std::string::npos ? trimmed : trimmed.substr(blank + 1);
  // The id is written in the section header, one line of the file: a line break in it would
  // split the header, and the section saved under it would never be found again.
  bool valid = Id.find_first_of("\r\n") == std::string::npos && last.size() == 9 && last[0] == '(' && last[8] == ')' && last[4] == '.' &&
               AreDigits(last, 1, 3) && AreDigits(last, 5, 3);
  if (valid || !FixUp) return valid;
  Id = NewReportIdSuffix();
  return true;
}

std::string NewReportIdSuffix() {
  int first = Random(999) + 1;
  int second = static_cast<int>(TickCount() % 999) + 1;
  return Format("(%.3d.%.3d)", {first, second});
}
