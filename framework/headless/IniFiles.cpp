// INI files of the headless build: a reader and writer of our own on real files that gives the
// results of the system's profile API as Wine implements it. Every call reads the whole file;
// a change writes it back whole, in the system's layout ("[Section]" and "Key=Value" lines
// ending in CR LF, blank lines dropped), and a write that changes nothing leaves the file alone.
#include "framework/headless/IniFiles.h"

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>

#include "framework/IniFiles.h"
#include "framework/rtl/FileUtils.h"
#include "framework/rtl/SysUtils.h"

namespace {

// ---- The Windows directory ----------------------------------------------------------------

struct TWindowsDir {
  std::string Path;
  std::filesystem::path Owned;  // the temporary folder made for the process, if any
  pid_t Owner = 0;              // a forked child that exits leaves the folder to its parent

  ~TWindowsDir() {
    std::error_code Ignored;
    if (!Owned.empty() && getpid() == Owner) std::filesystem::remove_all(Owned, Ignored);
  }
};

TWindowsDir& WindowsDir() {
  static TWindowsDir Dir;
  return Dir;
}

// ---- The file as the profile API sees it --------------------------------------------------

struct TKey {
  std::string Name;
  std::optional<std::string> Value;  // none for a line without "="
};

struct TSection {
  std::string Name;  // empty for the lines before the first header
  std::vector<TKey> Keys;
};

using TProfile = std::vector<TSection>;

bool IsBlank(char C) { return (C >= 0x09 && C <= 0x0D) || C == 0x1A || C == ' '; }

std::string TrimBlanksLeft(const std::string& S) {
  size_t B = 0;
  while (B < S.size() && IsBlank(S[B])) ++B;
  return S.substr(B);
}

std::string TrimBlanksRight(const std::string& S) {
  size_t E = S.size();
  while (E > 0 && IsBlank(S[E - 1])) --E;
  return S.substr(0, E);
}

std::string TrimBlanks(const std::string& S) { return TrimBlanksRight(TrimBlanksLeft(S)); }

// The file's name on the host: a bare name lies in the Windows directory.
std::string HostPath(const std::string& FileName) {
  if (FileName.find_first_of("\\/:") == std::string::npos)
    return HostFileName(IncludeTrailingPathDelimiter(WindowsDirectory()) + FileName);
  return HostFileName(FileName);
}

TProfile Parse(const std::string& Text) {
  TProfile Profile(1);
  size_t At = 0;
  while (At < Text.size()) {
    size_t End = At;
    while (End < Text.size() && Text[End] != '\n' && Text[End] != '\r') ++End;
    const std::string Line = TrimBlanks(Text.substr(At, End - At));
    At = End;
    while (At < Text.size() && (Text[At] == '\n' || Text[At] == '\r')) ++At;
    if (Line.empty()) continue;
    if (Line[0] == '[') {
      const size_t Close = Line.rfind(']');
      if (Close != std::string::npos) {
        Profile.push_back({TrimBlanks(Line.substr(1, Close - 1)), {}});
        continue;
      }
    }
    TKey Key;
    const size_t Eq = Line.find('=');
    if (Eq == std::string::npos) {
      Key.Name = Line;
    } else {
      Key.Name = TrimBlanksRight(Line.substr(0, Eq));
      Key.Value = TrimBlanksLeft(Line.substr(Eq + 1));
    }
    // Runs of lines with no name keep one, as the system's reader does.
    std::vector<TKey>& Keys = Profile.back().Keys;
    if (!Key.Name.empty() || Keys.empty() || !Keys.back().Name.empty()) Keys.push_back(std::move(Key));
  }
  return Profile;
}

TProfile Load(const std::string& Path) {
  std::ifstream In(Path, std::ios::binary);
  if (!In) return TProfile(1);
  std::ostringstream Text;
  Text << In.rdbuf();
  return Parse(Text.str());
}

bool Save(const std::string& Path, const TProfile& Profile) {
  std::string Text;
  for (const TSection& Section : Profile) {
    if (!Section.Name.empty()) Text += "[" + Section.Name + "]\r\n";
    for (const TKey& Key : Section.Keys)
      Text += Key.Name + (Key.Value ? "=" + *Key.Value : "") + "\r\n";
  }
  std::ofstream Out(Path, std::ios::binary | std::ios::trunc);
  Out << Text;
  Out.close();
  return static_cast<bool>(Out);
}

// Whether the file could be opened for a change: it exists, or its folder does.
bool Writable(const std::string& Path) {
  std::error_code Ignored;
  const std::filesystem::path P(Path);
  if (std::filesystem::exists(P, Ignored)) return access(Path.c_str(), W_OK) == 0;
  const std::filesystem::path Parent = P.parent_path();
  return Parent.empty() || std::filesystem::is_directory(Parent, Ignored);
}

// A looked-up name: blanks around it do not count.
bool SameName(const std::string& Stored, const std::string& Wanted) {
  return AnsiSameText(Stored, TrimBlanks(Wanted));
}

// The first section of that name; lookups never go on to a later section of the same name.
TSection* FindSection(TProfile& Profile, const std::string& Section) {
  for (TSection& S : Profile)
    if (SameName(S.Name, Section)) return &S;
  return nullptr;
}

TKey* FindKey(TSection& Section, const std::string& Key) {
  for (TKey& K : Section.Keys)
    if (SameName(K.Name, Key)) return &K;
  return nullptr;
}

// The value as the system hands it out: one pair of enclosing quotes removed.
std::string Unquoted(const std::string& Value) {
  if (Value.size() >= 2 && (Value[0] == '"' || Value[0] == '\'') && Value.back() == Value[0])
    return Value.substr(1, Value.size() - 2);
  return Value;
}

// The platform reads values through a 2048-byte buffer.
constexpr size_t MaxValueLength = 2047;

}  // namespace

namespace Headless {
void SetWindowsDirectory(const std::string& Path) { WindowsDir().Path = Path; }
}  // namespace Headless

std::string WindowsDirectory() {
  TWindowsDir& Dir = WindowsDir();
  if (Dir.Path.empty()) {
    Dir.Owned = std::filesystem::temp_directory_path() / ("versora-windows-" + std::to_string(getpid()));
    std::filesystem::create_directories(Dir.Owned);
    Dir.Owner = getpid();
    Dir.Path = Dir.Owned.string();
  }
  std::string Path = Dir.Path;
  while (Path.size() > 1 && (Path.back() == '/' || Path.back() == '\\')) Path.pop_back();
  return Path;
}

namespace Backend {

std::string ProfileRead(const std::string& FileName, const std::string& Section,
                        const std::string& Key, const std::string& Default) {
  TProfile Profile = Load(HostPath(FileName));
  TSection* S = FindSection(Profile, Section);
  const TKey* K = S ? FindKey(*S, Key) : nullptr;
  std::string Value;
  if (K && K->Value) {
    Value = *K->Value;
  } else {
    // The system drops the default's trailing blanks.
    Value = Default;
    while (!Value.empty() && Value.back() == ' ') Value.pop_back();
  }
  return Unquoted(Value).substr(0, MaxValueLength);
}

std::vector<std::string> ProfileKeys(const std::string& FileName, const std::string& Section) {
  TProfile Profile = Load(HostPath(FileName));
  std::vector<std::string> Names;
  for (const TSection& S : Profile) {
    if (!AnsiSameText(S.Name, Section)) continue;
    for (const TKey& K : S.Keys)
      if (K.Value && !K.Name.starts_with(";")) Names.push_back(K.Name);
    break;
  }
  return Names;
}

bool ProfileWrite(const std::string& FileName, const std::string& Section, const std::string& Key,
                  const std::string& Value) {
  const std::string Path = HostPath(FileName);
  if (!Writable(Path)) return false;
  TProfile Profile = Load(Path);
  const std::string Stored = TrimBlanksLeft(Value);
  TSection* S = FindSection(Profile, Section);
  if (!S) S = &Profile.emplace_back(TSection{TrimBlanksLeft(Section), {}});
  TKey* K = FindKey(*S, Key);
  if (K && K->Value == Stored) return true;
  if (!K) K = &S->Keys.emplace_back(TKey{TrimBlanksLeft(Key), std::nullopt});
  K->Value = Stored;
  return Save(Path, Profile);
}

bool ProfileEraseSection(const std::string& FileName, const std::string& Section) {
  const std::string Path = HostPath(FileName);
  if (!Writable(Path)) return false;
  TProfile Profile = Load(Path);
  for (auto It = Profile.begin(); It != Profile.end(); ++It)
    if (AnsiSameText(It->Name, Section)) {
      Profile.erase(It);
      return Save(Path, Profile);
    }
  return true;
}

bool ProfileDeleteKey(const std::string& FileName, const std::string& Section, const std::string& Key) {
  const std::string Path = HostPath(FileName);
  if (!Writable(Path)) return false;
  TProfile Profile = Load(Path);
  for (TSection& S : Profile) {
    if (!AnsiSameText(S.Name, Section)) continue;
    for (auto It = S.Keys.begin(); It != S.Keys.end(); ++It)
      if (AnsiSameText(It->Name, Key)) {
        S.Keys.erase(It);
        return Save(Path, Profile);
      }
  }
  return true;
}

}  // namespace Backend
