// INI files of the headless backend on fuzzed bytes. Reading any file gives values, never a
// crash. A write either is refused with EIniFileException, or it changes the value of that one
// key: the value reads back as the system gives it (leading and trailing blanks and one pair of
// enclosing quotes removed, at most 2047 characters), and no other key of any section changes.
#include <fuzzer/FuzzedDataProvider.h>

#include <fstream>
#include <map>
#include <string>
#include <unistd.h>

#include "framework/IniFiles.h"
#include "framework/headless/IniFiles.h"
#include "framework/rtl/StringList.h"
#include "framework/rtl/SysUtils.h"
#include "fuzz/FuzzCheck.h"

namespace {

const std::string& FileName() {
  static const std::string Name = "/tmp/inifuzz-" + std::to_string(getpid()) + ".ini";
  return Name;
}

bool IsBlank(char C) { return (C >= 0x09 && C <= 0x0D) || C == 0x1A || C == ' '; }

// Without the blanks the system strips from names and values (not every control character).
std::string Strip(const std::string& Value) {
  size_t B = 0, E = Value.size();
  while (B < E && IsBlank(Value[B])) ++B;
  while (E > B && IsBlank(Value[E - 1])) --E;
  return Value.substr(B, E - B);
}

std::string Expected(const std::string& Value) {
  std::string V = Strip(Value);
  if (V.size() >= 2 && (V[0] == '"' || V[0] == '\'') && V.back() == V[0]) V = V.substr(1, V.size() - 2);
  return V.substr(0, 2047);
}

// Every key the file holds, by section and key as the reader finds them first.
std::map<std::pair<std::string, std::string>, std::string> Snapshot(const TIniFile& Ini,
                                                                    const std::string& Text) {
  std::map<std::pair<std::string, std::string>, std::string> Keys;
  TStringList Sections;
  size_t At = 0;
  while (At < Text.size()) {
    size_t End = Text.find_first_of("\r\n", At);
    if (End == std::string::npos) End = Text.size();
    const std::string Line = Trim(Text.substr(At, End - At));
    if (!Line.empty() && Line[0] == '[' && Line.rfind(']') != std::string::npos)
      Sections.Add(Trim(Line.substr(1, Line.rfind(']') - 1)));
    At = End + 1;
  }
  Sections.Add("");
  for (int S = 0; S < Sections.Count(); ++S) {
    TStringList Names;
    Ini.ReadSection(Sections[S], Names);
    for (int K = 0; K < Names.Count(); ++K)
      Keys[{UpperCase(Sections[S]), UpperCase(Names[K])}] = Ini.ReadString(Sections[S], Names[K], "\x01");
  }
  return Keys;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
  FuzzedDataProvider In(Data, Size);
  const std::string Section = In.ConsumeRandomLengthString(40);
  const std::string Key = In.ConsumeRandomLengthString(40);
  const std::string Value = In.ConsumeRandomLengthString(300);
  const std::string Before = In.ConsumeRemainingBytesAsString();
  std::ofstream(FileName(), std::ios::binary | std::ios::trunc) << Before;

  TIniFile Ini(FileName());
  const auto Old = Snapshot(Ini, Before);
  try {
    Ini.WriteString(Section, Key, Value);
  } catch (const EIniFileException&) {
    std::ifstream F(FileName(), std::ios::binary);
    Check(std::string(std::istreambuf_iterator<char>(F), {}) == Before);
    return 0;
  }
  // Names are looked up without their blanks; a blank or empty name is no key to read back.
  if (!Trim(Key).empty() && !Trim(Section).empty()) CheckEqual(Ini.ReadString(Section, Key, "\x01"), Expected(Value));

  std::ifstream F(FileName(), std::ios::binary);
  const auto New = Snapshot(Ini, std::string(std::istreambuf_iterator<char>(F), {}));
  for (const auto& [Name, Text] : Old) {
    if (Name.first == UpperCase(Strip(Section)) && Name.second == UpperCase(Strip(Key))) continue;
    const auto Now = New.find(Name);
    Check(Now != New.end() && Now->second == Text);
  }
  return 0;
}
