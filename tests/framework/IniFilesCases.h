// What reading and writing INI files gives, for the calls the program makes, as a table run
// under Wine against the system's private-profile API (tests/e2e/IniFilesE2ETest.cpp). Each
// case starts from a file of its own with the given bytes, acts on it through TIniFile and
// reports what it saw as a text; several values are joined with "|".
#pragma once
#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

#include "framework/IniFiles.h"
#include "framework/rtl/FileUtils.h"
#include "tests/support/TempDir.h"

namespace IniCases {

// The file's bytes, or "(none)" when there is no file.
inline std::string FileText(const std::string& FileName) { return FileBytes(HostFileName(FileName)); }

// The values of several keys of one section, joined; Read turns one key's value into text.
inline std::string Values(std::initializer_list<const char*> Idents,
                          const std::function<std::string(const char*)>& Read) {
  std::string R;
  for (auto K = Idents.begin(); K != Idents.end(); ++K) R += (K == Idents.begin() ? "" : "|") + Read(*K);
  return R;
}
inline std::string Values(const TIniFile& Ini, const std::string& Section, std::initializer_list<const char*> Idents) {
  return Values(Idents, [&](const char* K) { return Ini.ReadString(Section, K, "d"); });
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
  auto Written = [](TIniFile& I) { return FileText(I.FileName()); };
  return {
      // Reading
      {"names ignore case and blanks around them; values lose outer blanks only", "[ Sec ]\r\n  Key   =   a  b  \t\r\n",
       [](TIniFile& I) { return I.ReadString("sEC", " kEY\t", "d"); }, "a  b"},
      {"one pair of enclosing quotes goes, blanks inside stay",
       "[S]\r\nA=\" a b \"\r\nB='x'\r\nC=\"x'\r\nD=\"\r\nE=\"\"\r\nF=\"a\"b\"\r\n",
       [](TIniFile& I) { return Values(I, "S", {"A", "B", "C", "D", "E", "F"}); }, " a b |x|\"x'|\"||a\"b"},
      {"an empty value is a value; a line without \"=\" holds none", "[S]\r\nEmpty=\r\nBare\r\n",
       [](TIniFile& I) { return Values(I, "S", {"Empty", "Bare"}); }, "|d"},
      {"the first of two keys and of two sections wins, and only that section is searched",
       "[S]\r\nK=1\r\nk=2\r\n[T]\r\nX=0\r\n[s]\r\nK=3\r\nOnlyHere=4\r\n",
       [](TIniFile& I) { return Values(I, "S", {"K", "OnlyHere"}); }, "1|d"},
      {"line ends LF, CR LF and blank lines alike", "\n\n[S]\nA=1\n\r\nB=2",
       [](TIniFile& I) { return Values(I, "S", {"A", "B"}); }, "1|2"},
      {"no file gives the default", nullptr, [](TIniFile& I) { return I.ReadString("S", "K", "dflt"); }, "dflt"},
      {"the default loses its trailing blanks only", "[S]\r\n",
       [](TIniFile& I) { return I.ReadString("S", "K", "  d  ") + "|"; }, "  d|"},
      {"a value is cut at 2047 characters", nullptr,
       [](TIniFile& I) {
         I.WriteString("S", "K", std::string(3000, 'x'));
         return std::to_string(I.ReadString("S", "K", "").size());
       },
       "2047"},
      {"ReadInteger takes decimal and hexadecimal, else the default",
       "[S]\r\nA=42\r\nB= 0x1F\r\nC=$10\r\nD=-7\r\nE=abc\r\nF=12abc\r\nG=\r\n",
       [](TIniFile& I) {
         return Values({"A", "B", "C", "D", "E", "F", "G", "Missing"},
                       [&](const char* K) { return std::to_string(I.ReadInteger("S", K, -1)); });
       },
       "42|31|16|-7|-1|-1|-1|-1"},
      {"ReadBool: any integer but 0 is true, other text the default", "[S]\r\nA=1\r\nB=0\r\nC=2\r\nD=yes\r\n",
       [](TIniFile& I) {
         return Values({"A", "B", "C", "D", "Missing"}, [&](const char* K) {
           return std::to_string(I.ReadBool("S", K, false)) + std::to_string(I.ReadBool("S", K, true));
         });
       },
       "11|00|11|01|01"},

      // Writing
      {"a write makes the file, its section and its key; written values lose leading blanks; "
       "WriteBool writes 1 and 0, WriteInteger decimal digits",
       nullptr,
       [=](TIniFile& I) {
         I.WriteString("S", "K", "  x y");
         I.WriteBool("S", "T", true);
         I.WriteBool("S", "F", false);
         I.WriteInteger("S", "N", -12);
         return Written(I);
       },
       "[S]\r\nK=x y\r\nT=1\r\nF=0\r\nN=-12\r\n"},
      {"a new key goes at the end of its section, a new section at the end of the file; a value is "
       "replaced where it stands, its key keeping its spelling",
       "[A]\r\nX=1\r\nY=2\r\n[B]\r\nY=2\r\n",
       [=](TIniFile& I) {
         I.WriteString("a", "Z", "3");
         I.WriteString("C", "W", "4");
         I.WriteString("A", "x", "9");
         return Written(I);
       },
       "[A]\r\nX=9\r\nY=2\r\nZ=3\r\n[B]\r\nY=2\r\n[C]\r\nW=4\r\n"},
      {"a write that changes nothing leaves the file as it was", "[S]\r\nK =  v\r\n\r\n; note\r\n",
       [=](TIniFile& I) { return I.WriteString("S", "K", "v"), Written(I); }, "[S]\r\nK =  v\r\n\r\n; note\r\n"},
      {"a change writes the whole file back in the system's layout", "; top\r\n[S]\r\nK =  v\r\n\r\n; note\r\n",
       [=](TIniFile& I) { return I.WriteString("S", "K", "w"), Written(I); }, "; top\r\n[S]\r\nK=w\r\n; note\r\n"},
      {"a section name, key or value that its line cannot hold is refused and writes nothing",
       "[Default]\r\nShow Hint=1\r\n",
       [=](TIniFile& I) {
         const std::string Prefix = "Unable to write to " + I.FileName() + ": the ";
         const std::string Section = Prefix + "section name holds a line break or a null character";
         const std::string Key = Prefix + "key holds a line break, a null character, \"=\" or a leading \"[\"";
         const std::string Value = Prefix + "value holds a line break or a null character";
         const struct { const char *S, *K; std::string V, Expected; } Writes[] = {
             {"S]\r\n[Default", "Show Hint", "0", Section}, {"S\n", "K", "v", Section},
             {"S", "K\r\nShow Hint", "0", Key},            {"S", " [Default]", "x", Key},
             {"S", "Show Hint=0", "x", Key},                 {"S", "K", "v\r\n[Default]\r\nShow Hint=0", Value},
             {"S", "K", std::string("a\0b", 3), Value},
             {" \x1a ", "K", "v", Prefix + "section name is blank"}, {"S", " ", "v", Prefix + "key is blank"},
         };
         std::string Seen;
         for (const auto& W : Writes) {
           const std::string Got = Raised([&] { I.WriteString(W.S, W.K, W.V); });
           Seen += Got == W.Expected ? "refused|" : Got + "|";
         }
         return Seen + Written(I);
       },
       "refused|refused|refused|refused|refused|refused|refused|refused|refused|[Default]\r\nShow Hint=1\r\n"},
      {"a file in a folder that does not exist cannot be written", nullptr,
       [](TIniFile& I) {
         TIniFile Lost(ExtractFilePath(I.FileName()) + "Missing" + PathDelim + "Lost.ini");
         const std::string Expected = "Unable to write to " + Lost.FileName();
         const std::string Write = Raised([&] { Lost.WriteString("S", "K", "v"); });
         return std::string(Write == Expected ? "raised" : Write) + "|" + Lost.ReadString("S", "K", "d");
       },
       "raised|d"},
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
