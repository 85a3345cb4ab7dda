// The file system of Windows, through the ANSI API.
#include <windows.h>

#include <vector>

#include "framework/rtl/FileUtils.h"

int FindFirstAttr(const std::string& Name) {
  if (Name.empty()) return -1;
  WIN32_FIND_DATAA Data;
  HANDLE Find = FindFirstFileA(Name.c_str(), &Data);
  if (Find == INVALID_HANDLE_VALUE) return -1;
  FindClose(Find);
  return static_cast<int>(Data.dwFileAttributes &
                          (faReadOnly | faHidden | faSysFile | faDirectory | faArchive));
}

bool CreateDir(const std::string& Dir) { return !Dir.empty() && CreateDirectoryA(Dir.c_str(), nullptr); }

std::string GetCurrentDir() {
  std::vector<char> Buf(MAX_PATH);
  for (;;) {
    DWORD N = GetCurrentDirectoryA(static_cast<DWORD>(Buf.size()), Buf.data());
    if (N == 0) return "";
    if (N < Buf.size()) return std::string(Buf.data(), N);
    Buf.resize(N);
  }
}

std::string GetEnvVar(const std::string& Name) {
  std::vector<char> Buf(256);
  for (;;) {
    DWORD N = GetEnvironmentVariableA(Name.c_str(), Buf.data(), static_cast<DWORD>(Buf.size()));
    if (N == 0) return "";
    if (N < Buf.size()) return std::string(Buf.data(), N);
    Buf.resize(N);
  }
}
