#include "framework/IniFiles.h"

#include "framework/rtl/SysUtils.h"

std::string TIniFile::ReadString(const std::string& Section, const std::string& Ident,
                                 const std::string& Default) const {
  return Backend::ProfileRead(FFileName, Section, Ident, Default);
}

namespace {

bool BreaksLine(const std::string& S) { return S.find_first_of(std::string("\r\n\0", 3)) != std::string::npos; }

// A key line that would read as a section header or as another key.
bool KeyChangesStructure(const std::string& Ident) {
  const std::string Name = TrimLeft(Ident);
  return BreaksLine(Ident) || Ident.find('=') != std::string::npos || (!Name.empty() && Name[0] == '[');
}

}  // namespace

void TIniFile::WriteString(const std::string& Section, const std::string& Ident, const std::string& Value) {
  // A name or value that the file cannot hold on its line would write other sections or keys.
  // A blank section or key name is none: its lines would be read as another section's or lost.
  const char* Refused = BreaksLine(Section)          ? "the section name holds a line break or a null character"
                        : Trim(Section).empty()      ? "the section name is blank"
                        : Trim(Ident).empty()        ? "the key is blank"
                        : KeyChangesStructure(Ident) ? "the key holds a line break, a null character, \"=\" or a leading \"[\""
                        : BreaksLine(Value)          ? "the value holds a line break or a null character"
                                                     : nullptr;
  if (Refused) throw EIniFileException("Unable to write to " + FFileName + ": " + Refused);
  if (!Backend::ProfileWrite(FFileName, Section, Ident, Value))
    throw EIniFileException("Unable to write to " + FFileName);
}

int TIniFile::ReadInteger(const std::string& Section, const std::string& Ident, int Default) const {
  std::string S = ReadString(Section, Ident, "");
  if (S.size() > 2 && S[0] == '0' && (S[1] == 'x' || S[1] == 'X')) S = "$" + S.substr(2);
  return StrToIntDef(S, Default);
}

void TIniFile::WriteInteger(const std::string& Section, const std::string& Ident, int Value) {
  WriteString(Section, Ident, IntToStr(Value));
}

bool TIniFile::ReadBool(const std::string& Section, const std::string& Ident, bool Default) const {
  return ReadInteger(Section, Ident, Default ? 1 : 0) != 0;
}

void TIniFile::WriteBool(const std::string& Section, const std::string& Ident, bool Value) {
  WriteString(Section, Ident, Value ? "1" : "0");
}

void TIniFile::ReadSection(const std::string& Section, TStrings& Strings) const {
  Strings.Clear();
  for (const std::string& Key : Backend::ProfileKeys(FFileName, Section)) Strings.Add(Key);
}

void TIniFile::EraseSection(const std::string& Section) {
  if (!Backend::ProfileEraseSection(FFileName, Section))
    throw EIniFileException("Unable to write to " + FFileName);
}

void TIniFile::DeleteKey(const std::string& Section, const std::string& Ident) {
  Backend::ProfileDeleteKey(FFileName, Section, Ident);
}

bool TIniFile::SectionExists(const std::string& Section) const {
  return !Backend::ProfileKeys(FFileName, Section).empty();
}

bool TIniFile::ValueExists(const std::string& Section, const std::string& Ident) const {
  TStringList Keys;
  ReadSection(Section, Keys);
  return Keys.IndexOf(Ident) >= 0;
}
