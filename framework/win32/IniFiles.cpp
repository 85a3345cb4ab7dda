// INI files through the system's private-profile API, which places a bare file name in the
// Windows directory itself.
#include <windows.h>

#include <vector>

#include "framework/IniFiles.h"

std::string WindowsDirectory() {
  char Buf[MAX_PATH + 1];
  UINT N = GetWindowsDirectoryA(Buf, sizeof Buf);
  std::string Dir = N > 0 && N < sizeof Buf ? std::string(Buf, N) : std::string("C:\\WINDOWS");
  if (Dir.size() > 3 && Dir.back() == '\\') Dir.pop_back();
  return Dir;
}

namespace Backend {

std::string ProfileRead(const std::string& FileName, const std::string& Section,
                        const std::string& Key, const std::string& Default) {
  // The platform's buffer: values are cut at 2047 characters.
  char Buf[2048];
  DWORD N = GetPrivateProfileStringA(Section.c_str(), Key.c_str(), Default.c_str(), Buf, sizeof Buf,
                                     FileName.c_str());
  return std::string(Buf, N);
}

std::vector<std::string> ProfileKeys(const std::string& FileName, const std::string& Section) {
  std::vector<char> Buf(16384);
  for (;;) {
    DWORD N = GetPrivateProfileStringA(Section.c_str(), nullptr, "", Buf.data(),
                                       static_cast<DWORD>(Buf.size()), FileName.c_str());
    // A full buffer comes back as its size less 2: ask again with a larger one.
    if (N + 2 < Buf.size()) break;
    Buf.resize(Buf.size() * 2);
  }
  std::vector<std::string> Names;
  for (const char* P = Buf.data(); *P; P += Names.back().size() + 1) Names.emplace_back(P);
  return Names;
}

bool ProfileWrite(const std::string& FileName, const std::string& Section, const std::string& Key,
                  const std::string& Value) {
  return WritePrivateProfileStringA(Section.c_str(), Key.c_str(), Value.c_str(), FileName.c_str());
}

bool ProfileEraseSection(const std::string& FileName, const std::string& Section) {
  return WritePrivateProfileStringA(Section.c_str(), nullptr, nullptr, FileName.c_str());
}

bool ProfileDeleteKey(const std::string& FileName, const std::string& Section, const std::string& Key) {
  return WritePrivateProfileStringA(Section.c_str(), Key.c_str(), nullptr, FileName.c_str());
}

}  // namespace Backend
