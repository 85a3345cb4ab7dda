// INI files ("private profile" files): sections of Name=Value lines, read and written through
// the system's profile API under Win32 and by a reader and writer of our own headless, with
// the same results. A bare file name such as "Vellumix.Ini" lies in the Windows directory.
//
// As the system reads them: section and key names compare without regard to case, the first
// match wins, blanks around names and values are dropped, and one pair of quotes (" or ')
// around a value is removed. Writing replaces a value in place, or adds the key at the end of
// its section, or the section at the end of the file.
#pragma once
#include <string>
#include <vector>

#include "framework/Classes.h"
#include "framework/rtl/StringList.h"

// Raised when a file cannot be written: "Unable to write to <file name>".
class EIniFileException : public Exception { using Exception::Exception; };

class TIniFile : public TObject {
public:
  explicit TIniFile(const std::string& FileName) : FFileName(FileName) {}

  const std::string& FileName() const { return FFileName; }

  // At most 2047 characters of the value (the platform reads through a 2048-byte buffer).
  std::string ReadString(const std::string& Section, const std::string& Ident,
                         const std::string& Default) const;
  // Refuses (EIniFileException) a section name, key or value that its line cannot hold: a line
  // break or a null character, and in a key "=" or a leading "[".
  void WriteString(const std::string& Section, const std::string& Ident, const std::string& Value);
  // The value as a whole integer (decimal, "$" or "0x" hexadecimal), else Default.
  int ReadInteger(const std::string& Section, const std::string& Ident, int Default) const;
  void WriteInteger(const std::string& Section, const std::string& Ident, int Value);
  // A value read as an integer other than 0 is true; written as "1" or "0".
  bool ReadBool(const std::string& Section, const std::string& Ident, bool Default) const;
  void WriteBool(const std::string& Section, const std::string& Ident, bool Value);

  // The names of the section's keys, in file order (lines without "=" and comments left out).
  void ReadSection(const std::string& Section, TStrings& Strings) const;
  void EraseSection(const std::string& Section);
  void DeleteKey(const std::string& Section, const std::string& Ident);
  // A section that holds no key does not exist, as on the platform.
  bool SectionExists(const std::string& Section) const;
  bool ValueExists(const std::string& Section, const std::string& Ident) const;

private:
  std::string FFileName;
};

// The system's Windows directory, without a trailing delimiter.
std::string WindowsDirectory();

// The private-profile functions of the backend. FileName is as the caller gave it.
namespace Backend {
std::string ProfileRead(const std::string& FileName, const std::string& Section,
                        const std::string& Key, const std::string& Default);
std::vector<std::string> ProfileKeys(const std::string& FileName, const std::string& Section);
// False when the file cannot be written.
bool ProfileWrite(const std::string& FileName, const std::string& Section, const std::string& Key,
                  const std::string& Value);
bool ProfileEraseSection(const std::string& FileName, const std::string& Section);
bool ProfileDeleteKey(const std::string& FileName, const std::string& Section, const std::string& Key);
}  // namespace Backend
