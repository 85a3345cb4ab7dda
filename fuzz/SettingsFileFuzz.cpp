// Loads and saves a section of a settings file made of fuzzed bytes. Beyond not crashing: the
// saved section reads back as written, and once the first rewrite has dropped what stood before
// the first header, saving again changes nothing, so no file, however broken, makes a save
// swallow or multiply sections.
// fuzz-sources: engine/Vellumix/FileMgrText.cpp
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "engine/Vellumix/FileMgrText.h"
#include "tests/support/SettingsSection.h"
#include "framework/rtl/SysUtils.h"

namespace {


void Check(bool Condition) {
  if (!Condition) std::abort();
}

// The loader ends a section only at a line that starts with "[", where a rewrite sees a header
// in any line whose trimmed form does: an indented header's lines may follow the saved ones.
bool StartsWith(const std::vector<std::string>& Items, const std::vector<std::string>& Expected) {
  return Items.size() >= Expected.size() && std::equal(Expected.begin(), Expected.end(), Items.begin());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
  const std::string Content(reinterpret_cast<const char*>(Data), Size);
  TvlxSettingsText Text(Content);

  // The section saved is the first header-like line of the input, or a fixed one.
  std::string Header = "[User:Report (123.456)]";
  for (int I = 0; I < Text.LineCount(); ++I) {
    const std::string Line = Trim(std::string(Text.Line(I)));
    if (Line.size() > 1 && Line[0] == '[' && Line.find('\n') == std::string::npos) {
      Header = Line;
      break;
    }
  }
  ReadSection(Text, Header);

  const std::string Section = Header + "\r\nPrintWhat=6\r\nMemo,RptTi=START\r\n[Draft]\r\nMemo,RptTi=END\r\n\r\n";
  const std::vector<std::string> Expected = {"PrintWhat=6", "memo RptTi:[Draft]"};
  const std::string Once = RewriteSection(Content, Header, Section);
  TvlxSettingsText SavedOnce(Once);
  Check(StartsWith(ReadSection(SavedOnce, Header), Expected));
  const std::string Twice = RewriteSection(Once, Header, Section);
  TvlxSettingsText SavedTwice(Twice);
  Check(StartsWith(ReadSection(SavedTwice, Header), Expected));
  Check(RewriteSection(Twice, Header, Section) == Twice);
  return 0;
}
