// File and folder routines. Names are Windows names with "\"; the native build
// also takes "/" as a delimiter, so the routines work on its real folders as well.
#include <algorithm>

#include "engine/VLMXUtil.h"
#include "engine/Vellumix/Vellumix.h"
#include "framework/rtl/FileUtils.h"
#include "framework/rtl/SysUtils.h"

namespace {

bool IsDelim(char C) { return C == '\\' || (PathDelim == '/' && C == '/'); }

}  // namespace

bool LocateFile(std::string& FileName, TComponent* Component) {
  FileName = ExtractFileName(FileName);
  std::string Candidate = IncludeTrailingPathDelimiter(GetCurrentDir()) + FileName;
  if (!FileExists(Candidate) && Component)
    Candidate = TvlxVellumix::GetAppFileName(Component, true, FileName);
  if (!FileExists(Candidate)) {
    // The platform read PATH into a buffer of 2000 characters, which a longer PATH does not
    // fit at all; the whole value is searched here.
    Candidate = FileSearch(FileName, GetEnvVar("PATH"));
  }
  FileName = FileExists(Candidate) ? Candidate : "";
  return !FileName.empty();
}

std::string RemoveTrailingBackslash(const std::string& S) {
  return !S.empty() && S.back() == '\\' ? S.substr(0, S.size() - 1) : S;
}

bool IsFileReadOnly(const std::string& Name) {
  const int Attr = FindFirstAttr(Name);
  return Attr >= 0 && (Attr & faReadOnly);
}

bool DirExists(const std::string& Dir) {
  std::string Name = Dir;
  while (!Name.empty() && IsDelim(Name.back())) Name.pop_back();
  // A network name: fewer than two "\\" from its fourth character on names a server or a share.
  if (Name.starts_with("\\\\") && std::count(Name.begin() + std::min<size_t>(3, Name.size()), Name.end(), '\\') < 2)
    return true;
  // A search finds what a folder holds, never a root itself: the root of the current drive
  // and a drive's root (C: or C:\ typed) are asked for as folders.
  if (Name.empty() && !Dir.empty()) return DirectoryExists(Dir.substr(0, 1));
  if (Name.size() == 2 && Name[1] == ':') return DirectoryExists(Name + '\\');
  return FindFirstAttr(Name) >= 0;
}

void ForceDirs(const std::string& Path) {
  if (Path.empty()) return;
  std::string P = Path;
  if (!IsDelim(P.back())) P += '\\';
  for (size_t I = 0; I < P.size(); ++I) {
    if (!IsDelim(P[I])) continue;
    const std::string Dir = P.substr(0, I);
    // A name without a delimiter is a drive (or a root): never created.
    if (std::none_of(Dir.begin(), Dir.end(), IsDelim) || DirExists(Dir)) continue;
    CreateDir(Dir);
  }
}

std::string NormalizeDirName(const std::string& S, bool AddSlash) {
  std::string R = Trim(S);
  if (R.empty()) return R;
  const bool Slashed = R.back() == '\\';
  if (AddSlash && !Slashed) R += '\\';
  else if (!AddSlash && Slashed) R.pop_back();
  return R;
}
