// File-name routines, the existence checks and the search along a path, through the C library.
#include "framework/rtl/FileUtils.h"

#include <cstdlib>
#include <sys/stat.h>
#include <vector>

#ifndef _WIN32
#include <unistd.h>
#endif

namespace {

#ifdef _WIN32
bool IsPathDelim(char C) { return C == '\\'; }
#else
bool IsPathDelim(char C) { return C == '\\' || C == '/'; }
#endif

bool IsDelimiter(char C) { return IsPathDelim(C) || C == DriveDelim; }

// Index of the last delimiter (or, with Dot, of a "." after it); npos when there is none.
size_t LastDelimiter(const std::string& S, bool Dot) {
  for (size_t I = S.size(); I-- > 0;)
    if (IsDelimiter(S[I]) || (Dot && S[I] == '.')) return I;
  return std::string::npos;
}

enum class TKind { None, File, Directory };

TKind KindOf(const std::string& Name) {
#ifdef _WIN32
  struct _stat64 St;
  if (Name.empty() || _stat64(Name.c_str(), &St) != 0) return TKind::None;
  return (St.st_mode & _S_IFDIR) ? TKind::Directory
         : (St.st_mode & _S_IFREG) ? TKind::File : TKind::None;
#else
  struct stat St;
  if (Name.empty() || stat(HostFileName(Name).c_str(), &St) != 0) return TKind::None;
  return S_ISDIR(St.st_mode) ? TKind::Directory : S_ISREG(St.st_mode) ? TKind::File : TKind::None;
#endif
}

}  // namespace

std::string ExtractFilePath(const std::string& FileName) {
  const size_t I = LastDelimiter(FileName, false);
  return I == std::string::npos ? "" : FileName.substr(0, I + 1);
}

std::string ExtractFileDir(const std::string& FileName) {
  const size_t I = LastDelimiter(FileName, false);
  if (I == std::string::npos) return "";
  // Keep the delimiter of a root ("C:\", "\").
  if (I > 0 && IsPathDelim(FileName[I]) && !IsDelimiter(FileName[I - 1]))
    return FileName.substr(0, I);
  return FileName.substr(0, I + 1);
}

std::string ExtractFileName(const std::string& FileName) {
  const size_t I = LastDelimiter(FileName, false);
  return I == std::string::npos ? FileName : FileName.substr(I + 1);
}

std::string ExtractFileExt(const std::string& FileName) {
  const size_t I = LastDelimiter(FileName, true);
  return I != std::string::npos && FileName[I] == '.' ? FileName.substr(I) : "";
}

std::string ChangeFileExt(const std::string& FileName, const std::string& Extension) {
  const size_t I = LastDelimiter(FileName, true);
  if (I == std::string::npos || FileName[I] != '.') return FileName + Extension;
  return FileName.substr(0, I) + Extension;
}

std::string IncludeTrailingPathDelimiter(const std::string& S) {
  return !S.empty() && IsPathDelim(S.back()) ? S : S + PathDelim;
}

std::string HostFileName(const std::string& FileName) {
#ifdef _WIN32
  return FileName;
#else
  std::string R = FileName;
  for (char& C : R)
    if (C == '\\') C = '/';
  return R;
#endif
}

std::string ExpandFileName(const std::string& FileName) {
  if (FileName.empty()) return "";
#ifdef _WIN32
  char* Full = _fullpath(nullptr, FileName.c_str(), 0);
  if (!Full) return "";
  std::string R = Full;
  std::free(Full);
  return R;
#else
  std::string Name = HostFileName(FileName);
  if (Name[0] != '/') {
    std::vector<char> Buf(4096);
    while (!getcwd(Buf.data(), Buf.size())) {
      if (Buf.size() > (1u << 20)) return "";
      Buf.resize(Buf.size() * 2);
    }
    Name = std::string(Buf.data()) + "/" + Name;
  }
  std::vector<std::string> Parts;
  size_t From = 0;
  while (From <= Name.size()) {
    size_t To = Name.find('/', From);
    if (To == std::string::npos) To = Name.size();
    const std::string Part = Name.substr(From, To - From);
    if (Part == "..") {
      if (!Parts.empty()) Parts.pop_back();
    } else if (!Part.empty() && Part != ".") {
      Parts.push_back(Part);
    }
    From = To + 1;
  }
  std::string R;
  for (const std::string& Part : Parts) R += "/" + Part;
  if (R.empty() || Name.back() == '/') R += '/';
  return R;
#endif
}

bool FileExists(const std::string& FileName) { return KindOf(FileName) == TKind::File; }

bool DirectoryExists(const std::string& Name) {
  std::string N = Name;
  // The system refuses a trailing delimiter except on a root.
  while (N.size() > 1 && IsPathDelim(N.back()) && !IsDelimiter(N[N.size() - 2])) N.pop_back();
  return KindOf(N) == TKind::Directory;
}

std::string FileSearch(const std::string& Name, const std::string& DirList) {
  if (FileExists(Name)) return Name;
  size_t From = 0;
  while (From < DirList.size()) {
    size_t To = DirList.find(PathSep, From);
    if (To == std::string::npos) To = DirList.size();
    std::string Dir = DirList.substr(From, To - From);
    From = To + 1;
    if (Dir.empty()) continue;
    if (!IsDelimiter(Dir.back())) Dir += PathDelim;
    if (FileExists(Dir + Name)) return Dir + Name;
  }
  return "";
}
