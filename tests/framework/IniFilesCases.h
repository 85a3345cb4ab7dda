// What reading and writing INI files gives, as one table run twice: natively against the
// headless reader and writer (tests/framework/IniFilesTest.cpp) and under Wine against the
// system's private-profile API (tests/e2e/IniFilesE2ETest.cpp). Each case starts from a file
// of its own with the given bytes, acts on it through TIniFile and reports what it saw as a
// text; several values are joined with "|".
#pragma once
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <functional>
#include <initializer_list>
#include <iterator>
#include <string>
#include <vector>

#include "framework/IniFiles.h"
#include "framework/rtl/FileUtils.h"

namespace IniCases {

// The file's bytes, or "(none)" when there is no file.
inline std::string FileText(const std::string& FileName) {
  std::ifstream In(HostFileName(FileName), std::ios::binary);
  if (!In) return "(none)";
  return std::string(std::istreambuf_iterator<char>(In), std::istreambuf_iterator<char>());
}

inline std::string Keys(const TIniFile& Ini, const std::string& Section) {
  TStringList Names;
  Ini.ReadSection(Section, Names);
  std::string R;
  for (int I = 0; I < Names.Count(); ++I) R += (I ? "|" : "") + Names[I];
  return R;
}

// The values of several keys of one section, joined.
inline std::string Values(const TIniFile& Ini, const std::string& Section,
                          std::initializer_list<const char*> Idents) {
  std::string R;
  bool First = true;
  for (const char* Ident : Idents) {
    R += (First ? "" : "|") + Ini.ReadString(Section, Ident, "d");
    First = false;
  }
  return R;
}

// The message of the exception that Act raises, or "(none)".
inline std::string Raised(const std::function<void()>& Act) {
  try {
    Act();
  } catch (const std::exception& E) {
    return E.what();
  }
  return "(none)";
}

struct TCase {
  const char* What;
  const char* Before;  // the file's bytes before the case; nullptr: no file
  std::function<std::string(TIniFile& Ini)> Observe;
  std::string Expected;
};

inline std::vector<TCase> Cases() {
  const std::string Long(3000, 'x');
  return {
      // ---- Reading --------------------------------------------------------------------------
      {"section and key names ignore case", "[Sec]\r\nKey=v\r\n",
       [](TIniFile& I) { return I.ReadString("sEC", "kEY", "d"); }, "v"},
      {"blanks around the names asked for do not count", "[Sec]\r\nKey=v\r\n",
       [](TIniFile& I) { return I.ReadString(" Sec ", " Key\t", "d"); }, "v"},
      {"blanks around names and values in the file are dropped, inner ones kept",
       "[Sec]\r\n  Key   =   a  b  \t\r\n",
       [](TIniFile& I) { return I.ReadString("Sec", "Key", "d"); }, "a  b"},
      {"blanks inside the brackets of a section header are dropped", "[ Sec ]\r\nKey=v\r\n",
       [](TIniFile& I) { return I.ReadString("Sec", "Key", "d"); }, "v"},
      {"one pair of enclosing quotes goes, blanks inside stay",
       "[S]\r\nA=\" a b \"\r\nB='x'\r\nC=\"x'\r\nD=\"\r\nE=\"\"\r\nF=\"a\"b\"\r\n",
       [](TIniFile& I) { return Values(I, "S", {"A", "B", "C", "D", "E", "F"}); },
       " a b |x|\"x'|\"||a\"b"},
      {"an empty value is a value; a line without \"=\" holds none",
       "[S]\r\nEmpty=\r\nBare\r\n",
       [](TIniFile& I) { return Values(I, "S", {"Empty", "Bare"}); }, "|d"},
      {"the first of two keys wins", "[S]\r\nK=1\r\nk=2\r\n",
       [](TIniFile& I) { return I.ReadString("S", "K", "d"); }, "1"},
      {"the first of two sections wins, and only it is searched",
       "[S]\r\nK=1\r\n[T]\r\nX=0\r\n[s]\r\nK=2\r\nOnlyHere=3\r\n",
       [](TIniFile& I) { return Values(I, "S", {"K", "OnlyHere"}); }, "1|d"},
      {"line ends LF, CR LF and blank lines alike", "\n\n[S]\nA=1\n\r\nB=2",
       [](TIniFile& I) { return Values(I, "S", {"A", "B"}); }, "1|2"},
      {"no file, no section and no key give the default", nullptr,
       [](TIniFile& I) { return I.ReadString("S", "K", "dflt"); }, "dflt"},
      {"the default loses its trailing blanks only", "[S]\r\n",
       [](TIniFile& I) { return I.ReadString("S", "K", "  d  ") + "|"; }, "  d|"},
      {"a value is cut at 2047 characters", nullptr,
       [Long](TIniFile& I) {
         I.WriteString("S", "K", Long);
         return std::to_string(I.ReadString("S", "K", "").size());
       },
       "2047"},
      {"ReadSection lists the keys in file order, without comments and lines without \"=\"",
       "[S]\r\n;Note=1\r\nB=1\r\nBare\r\na=2\r\nB=3\r\n[T]\r\nC=1\r\n",
       [](TIniFile& I) { return Keys(I, "s"); }, "B|a|B"},
      {"ReadInteger takes decimal and hexadecimal, else the default",
       "[S]\r\nA=42\r\nB= 0x1F\r\nC=$10\r\nD=-7\r\nE=abc\r\nF=12abc\r\nG=\r\n",
       [](TIniFile& I) {
         std::string R;
         for (const char* K : {"A", "B", "C", "D", "E", "F", "G", "Missing"})
           R += (R.empty() ? "" : "|") + std::to_string(I.ReadInteger("S", K, -1));
         return R;
       },
       "42|31|16|-7|-1|-1|-1|-1"},
      {"ReadBool: any integer but 0 is true, other text the default",
       "[S]\r\nA=1\r\nB=0\r\nC=2\r\nD=yes\r\n",
       [](TIniFile& I) {
         std::string R;
         for (const char* K : {"A", "B", "C", "D", "Missing"})
           R += std::to_string(I.ReadBool("S", K, false)) + std::to_string(I.ReadBool("S", K, true));
         return R;
       },
       "11001101" "01"},
      {"a section exists only while it holds a key; ValueExists ignores case",
       "[Empty]\r\n[NoValues]\r\nBare\r\n[S]\r\nKey=1\r\n",
       [](TIniFile& I) {
         std::string R;
         for (const char* S : {"Empty", "NoValues", "S", "s", "Missing"}) R += std::to_string(I.SectionExists(S));
         return R + "|" + std::to_string(I.ValueExists("S", "kEY")) + std::to_string(I.ValueExists("S", "Other"));
       },
       "00110|10"},

      // ---- Writing ---------------------------------------------------------------------------
      {"a write makes the file, its section and its key", nullptr,
       [](TIniFile& I) {
         I.WriteString("S", "K", "v");
         return FileText(I.FileName());
       },
       "[S]\r\nK=v\r\n"},
      {"a new key goes at the end of its section, a new section at the end of the file",
       "[A]\r\nX=1\r\n[B]\r\nY=2\r\n",
       [](TIniFile& I) {
         I.WriteString("a", "Z", "3");
         I.WriteString("C", "W", "4");
         return FileText(I.FileName());
       },
       "[A]\r\nX=1\r\nZ=3\r\n[B]\r\nY=2\r\n[C]\r\nW=4\r\n"},
      {"a value is replaced where it stands, its key keeping its spelling",
       "[S]\r\nKey=1\r\nOther=2\r\n",
       [](TIniFile& I) {
         I.WriteString("s", "KEY", "9");
         return FileText(I.FileName());
       },
       "[S]\r\nKey=9\r\nOther=2\r\n"},
      {"leading blanks of a written value are dropped", nullptr,
       [](TIniFile& I) {
         I.WriteString("S", "K", "  x y");
         return I.ReadString("S", "K", "d");
       },
       "x y"},
      {"WriteBool writes 1 and 0, WriteInteger decimal digits", nullptr,
       [](TIniFile& I) {
         I.WriteBool("S", "T", true);
         I.WriteBool("S", "F", false);
         I.WriteInteger("S", "N", -12);
         return FileText(I.FileName());
       },
       "[S]\r\nT=1\r\nF=0\r\nN=-12\r\n"},
      {"a write that changes nothing leaves the file as it was", "[S]\r\nK =  v\r\n\r\n; note\r\n",
       [](TIniFile& I) {
         I.WriteString("S", "K", "v");
         return FileText(I.FileName());
       },
       "[S]\r\nK =  v\r\n\r\n; note\r\n"},
      {"a change writes the whole file back in the system's layout",
       "; top\r\n[S]\r\nK =  v\r\n\r\n; note\r\n",
       [](TIniFile& I) {
         I.WriteString("S", "K", "w");
         return FileText(I.FileName());
       },
       "; top\r\n[S]\r\nK=w\r\n; note\r\n"},
      {"EraseSection removes the first section of that name and its keys only",
       "[A]\r\nX=1\r\n[B]\r\nY=2\r\n",
       [](TIniFile& I) {
         I.EraseSection("a");
         I.EraseSection("Missing");
         return FileText(I.FileName());
       },
       "[B]\r\nY=2\r\n"},
      {"DeleteKey removes one key; a missing one is no error", "[A]\r\nX=1\r\nZ=3\r\n",
       [](TIniFile& I) {
         I.DeleteKey("A", "x");
         I.DeleteKey("A", "Missing");
         I.DeleteKey("Missing", "Z");
         return FileText(I.FileName());
       },
       "[A]\r\nZ=3\r\n"},
      {"a file in a folder that does not exist cannot be written", nullptr,
       [](TIniFile& I) {
         TIniFile Lost(ExtractFilePath(I.FileName()) + "Missing" + PathDelim + "Lost.ini");
         const std::string Expected = "Unable to write to " + Lost.FileName();
         const std::string Write = Raised([&] { Lost.WriteString("S", "K", "v"); });
         const std::string Erase = Raised([&] { Lost.EraseSection("S"); });
         return std::string(Write == Expected ? "raised" : Write) + "|" +
                (Erase == Expected ? "raised" : Erase) + "|" + Lost.ReadString("S", "K", "d");
       },
       "raised|raised|d"},
      {"a bare file name lies in the Windows directory", nullptr,
       [](TIniFile&) {
         const std::string Bare = "VersoraIniCase.Ini";
         const std::string InWindows = IncludeTrailingPathDelimiter(WindowsDirectory()) + Bare;
         std::remove(HostFileName(InWindows).c_str());
         TIniFile(Bare).WriteString("S", "K", "there");
         const std::string Seen = TIniFile(InWindows).ReadString("S", "K", "d") + "|" + FileText(InWindows);
         std::remove(HostFileName(InWindows).c_str());
         return Seen;
       },
       "there|[S]\r\nK=there\r\n"},
  };
}

// Runs every case on a file of its own in Dir, an existing empty folder.
inline void Run(const std::string& Dir) {
  int N = 0;
  for (const TCase& C : Cases()) {
    SCOPED_TRACE(C.What);
    const std::string Name = IncludeTrailingPathDelimiter(Dir) + "case" + std::to_string(++N) + ".ini";
    if (C.Before) std::ofstream(HostFileName(Name), std::ios::binary) << C.Before;
    TIniFile Ini(Name);
    EXPECT_EQ(C.Observe(Ini), C.Expected);
  }
}

}  // namespace IniCases
