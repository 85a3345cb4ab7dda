#include "engine/VLMXGbl/LineDraw.h"

#include <algorithm>

#include "engine/Vellumix/ReportSettings.h"
#include "framework/IniFiles.h"

namespace {

const std::string IniName = "Vellumix.Ini";
const std::string Section = "Default";
const std::string ShowHintKey = "Show Hint";
const std::string GridIbmKey = "Report-Grid IBM LineDraw";
const std::string GridAsciiKey = "Report-Grid ASCII LineDraw";
const std::string TreeIbmKey = "Report-Tree IBM LineDraw";
const std::string TreeAsciiKey = "Report-Tree ASCII LineDraw";

// The grid rows of one set, the key they are kept under, and their built-in rows.
struct TGridSet {
  const std::string& Key;
  TLineDrawRows TvlxReportSettings::*Rows;
  const TLineDrawRows& Defaults;
};

// IBM before ASCII, in reading and in writing.
const std::array<TGridSet, 2> GridSets = {{
    {GridIbmKey, &TvlxReportSettings::GridChrsIbm, DefaultGridChrsIbm},
    {GridAsciiKey, &TvlxReportSettings::GridChrsAscii, DefaultGridChrsAscii},
}};

std::string RowKey(const std::string& Key, int Row) { return Key + static_cast<char>('0' + Row); }

bool IsProfileBlank(char C) { return (C >= 0x09 && C <= 0x0D) || C == 0x1A || C == ' '; }

// The profile reader drops blanks around a value and then one pair of enclosing quotes; a row
// it would change beyond its trailing blanks is written inside quotes, so that no character
// moves on the way back.
std::string StoredRow(const std::string& Row) {
  std::string Kept = Row;
  while (!Kept.empty() && IsProfileBlank(Kept.back())) Kept.pop_back();
  const bool LeadingBlank = !Kept.empty() && IsProfileBlank(Kept.front());
  const bool Enclosed = Kept.size() >= 2 && (Kept.front() == '"' || Kept.front() == '\'') &&
                        Kept.back() == Kept.front();
  return LeadingBlank || Enclosed ? "\"" + Row + "\"" : Row;
}

}  // namespace

const TLineDrawRows DefaultGridChrsIbm = {{
    {'\xDA', '\xC4', '\xC2', '\xC2', '\xC4', '\xC2', '\xBF', ' '},
    {'\xB3', ' ', '\xB3', '\xB3', ' ', '\xB3', '\xB3', ' '},
    {'\xC3', '\xC4', '\xB3', '\xC3', '\xC4', '\xC5', '\xB4', ' '},
    {'\xC0', '\xC4', '\xC1', '\xC1', '\xC4', '\xC1', '\xD9', ' '},
}};

const TLineDrawRows DefaultGridChrsAscii = {{
    {'-', '-', '-', '-', '-', '-', '-', ' '},
    {'|', ' ', '|', '|', ' ', '|', '|', ' '},
    {'|', '-', '|', '|', '-', '+', '|', ' '},
    {'-', '-', '-', '-', '-', '-', '-', ' '},
}};

void StrToShortStr(const std::string& Text, std::span<char> Chars, int N) {
  const std::size_t Size = std::min<std::size_t>(Chars.size(), N < 0 ? 0 : N + 1);
  std::fill_n(Chars.begin(), Size, ' ');
  std::copy_n(Text.begin(), std::min(Size, Text.size()), Chars.begin());
}

std::string CharArrayToString(std::span<const char> Chars, int High) {
  const std::size_t Size = std::min<std::size_t>(Chars.size(), High < 0 ? 0 : High + 1);
  const auto End = std::find(Chars.begin(), Chars.begin() + Size, '\0');
  return std::string(Chars.begin(), End);
}

void LoadLineDrawStyles(TvlxReportSettings& Settings) {
  const TIniFile Ini(IniName);
  Settings.ShowHint = Ini.ReadBool(Section, ShowHintKey, true);
  for (int Row = 0; Row < 4; ++Row)
    for (const TGridSet& Set : GridSets) {
      TLineDrawRow& Chars = (Settings.*Set.Rows)[Row];
      const std::string Default = CharArrayToString(Set.Defaults[Row], 7);
      StrToShortStr(Ini.ReadString(Section, RowKey(Set.Key, Row), Default), Chars, 7);
    }
}

void SaveLineDrawStyles(const TvlxReportSettings& Settings) {
  TIniFile Ini(IniName);
  Ini.WriteBool(Section, ShowHintKey, Settings.ShowHint);
  Ini.WriteString(Section, TreeIbmKey, CharArrayToString(Settings.TreeChrsIbm, 4));
  Ini.WriteString(Section, TreeAsciiKey, CharArrayToString(Settings.TreeChrsAscii, 4));
  for (const TGridSet& Set : GridSets)
    for (int Row = 0; Row < 4; ++Row)
      Ini.WriteString(Section, RowKey(Set.Key, Row),
                      StoredRow(CharArrayToString((Settings.*Set.Rows)[Row], 7)));
}
