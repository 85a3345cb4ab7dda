// A settings-file section's key lines and memo texts, in order, as the loader sees them: what
// the tests and the fuzz target compare before and after a rewrite.
#pragma once
#include <string>
#include <string_view>
#include <vector>

#include "engine/Vellumix/FileMgrText.h"

inline std::vector<std::string> ReadSection(TvlxSettingsText& Text, const std::string& Header) {
  bool Found, Unused;
  Text.FindSection(Header, Found, Unused, "");
  std::vector<std::string> Items;
  if (!Found) return {"(missing)"};
  while (!Text.Eof()) {
    const std::string_view Line = Text.Line(Text.Position());
    if (!Line.empty() && Line[0] == '[') break;
    Text.ReadLine();
    std::string Key, Value, Name;
    SplitSettingsLine(Line, Key, Value);
    if (IsMemoStart(Key, Value, Name)) Items.push_back("memo " + Name + ":" + Text.ReadMemoBlock());
    else if (!Line.empty()) Items.push_back(std::string(Line));
  }
  return Items;
}

// The file with the section under Header replaced by (or, when missing, added as) Section.
inline std::string RewriteSection(const std::string& Content, const std::string& Header, const std::string& Section) {
  TvlxSettingsText Text(Content);
  bool Unused, Found;
  Text.FindSection("", Unused, Found, Header);
  return ComposeSettingsFile(Text, Found, Section, Header, Header, false);
}
