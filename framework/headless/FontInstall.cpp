// The headless font installation: a fake system whose fonts folder is a real folder, so the
// files written can be checked, and whose font table and registry are kept in memory.
#include "framework/FontInstall.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <optional>
#include <set>

#include "framework/IniFiles.h"
#include "framework/LinkedResources.h"
#include "framework/headless/FontInstall.h"
#include "framework/rtl/FileUtils.h"
#include "framework/rtl/SysUtils.h"

namespace {

struct TResource {
  std::string Data;
  bool Loadable = true;
};

struct TFamilyFont {
  std::string Data;
  unsigned EmbeddingType = 0;
  bool Readable = true;
};

struct TFontSystem {
  std::map<std::pair<std::string, std::string>, TResource> Resources;
  std::optional<std::string> FontsFolder;
  std::set<std::string> Families;  // upper case
  std::map<std::string, TFamilyFont> FamilyFonts;  // by upper-case face name
  std::string RefusalText;
  bool RegistryKeyExists = true;
  std::vector<std::string> Added;
  std::map<std::string, std::string> Registry;
  int Broadcasts = 0;

  TFontSystem() { LinkResources(); }
  void LinkResources() {
    Resources.clear();
    for (int i = 0; i < GLinkedResourceCount; ++i) {
      const TLinkedResource& R = GLinkedResources[i];
      Resources[{UpperCase(R.Type), UpperCase(R.Name)}] =
          {std::string(reinterpret_cast<const char*>(R.Data), R.Size), true};
    }
  }
};

TFontSystem& System() {
  static TFontSystem S;
  return S;
}

// Resource types and names compare without regard to case, as the system's do.
std::pair<std::string, std::string> ResourceKey(const std::string& Type, const std::string& Name) {
  return {UpperCase(Type), UpperCase(Name)};
}

}  // namespace

namespace Headless {

void SetResource(const std::string& Type, const std::string& Name, const std::string& Data,
                 bool Loadable) {
  System().Resources[ResourceKey(Type, Name)] = {Data, Loadable};
}
void RemoveResource(const std::string& Type, const std::string& Name) {
  System().Resources.erase(ResourceKey(Type, Name));
}
void SetFontsFolder(const std::string& Path) { System().FontsFolder = Path; }
void AddInstalledFamily(const std::string& FaceName) { System().Families.insert(UpperCase(FaceName)); }
void SetFamilyFont(const std::string& FaceName, const std::string& Data, unsigned EmbeddingType,
                   bool Readable) {
  AddInstalledFamily(FaceName);
  System().FamilyFonts[UpperCase(FaceName)] = {Data, EmbeddingType, Readable};
}
void RefuseFonts(const std::string& ErrorText) { System().RefusalText = ErrorText; }
void SetFontRegistryKeyExists(bool Exists) { System().RegistryKeyExists = Exists; }
const std::vector<std::string>& AddedFonts() { return System().Added; }
const std::map<std::string, std::string>& FontRegistry() { return System().Registry; }
int FontChangeBroadcasts() { return System().Broadcasts; }

void ResetFonts() {
  TFontSystem& S = System();
  S.LinkResources();
  S.FontsFolder.reset();
  S.Families.clear();
  S.FamilyFonts.clear();
  S.RefusalText.clear();
  S.RegistryKeyExists = true;
  S.Added.clear();
  S.Registry.clear();
  S.Broadcasts = 0;
}

}  // namespace Headless

TResourceLookup LoadModuleResource(const std::string& Type, const std::string& Name,
                                   std::string& Data) {
  auto It = System().Resources.find(ResourceKey(Type, Name));
  if (It == System().Resources.end()) return TResourceLookup::NotFound;
  if (!It->second.Loadable) return TResourceLookup::NotLoadable;
  Data = It->second.Data;
  return TResourceLookup::Found;
}

std::string SystemFontsFolder() {
  TFontSystem& S = System();
  if (S.FontsFolder) return *S.FontsFolder;
  std::string Folder = IncludeTrailingPathDelimiter(WindowsDirectory()) + "Fonts";
  if (!DirectoryExists(Folder)) CreateDir(Folder);
  return Folder;
}

bool FontFamilyInstalled(const std::string& FaceName) {
  return System().Families.count(UpperCase(FaceName)) > 0;
}

namespace {

// The font the screen selects for the face name; a family without a font file of its own
// selects nothing the fake can read.
const TFamilyFont* SelectedFont(const std::string& FaceName) {
  auto It = System().FamilyFonts.find(UpperCase(FaceName));
  return It == System().FamilyFonts.end() ? nullptr : &It->second;
}

}  // namespace

bool FontEmbeddingType(const std::string& FaceName, unsigned& Type) {
  const TFamilyFont* Font = SelectedFont(FaceName);
  if (!Font) return false;
  Type = Font->EmbeddingType;
  return true;
}

long SelectedFontFileSize(const std::string& FaceName) {
  const TFamilyFont* Font = SelectedFont(FaceName);
  return Font ? static_cast<long>(Font->Data.size()) : -1;
}

bool ReadSelectedFontFile(const std::string& FaceName, char* Buffer, long Size) {
  const TFamilyFont* Font = SelectedFont(FaceName);
  if (!Font || !Font->Readable || Size < 0 || static_cast<size_t>(Size) > Font->Data.size())
    return false;
  std::copy_n(Font->Data.data(), Size, Buffer);
  return true;
}

// The system refuses to replace an existing resource file, and needs the font file.
bool CreateScalableFontFile(const std::string& FotPath, const std::string& TtfPath) {
  if (FileExists(FotPath) || !FileExists(TtfPath)) return false;
  std::ofstream Out(HostFileName(FotPath), std::ios::binary);
  Out << "FONTDIR " << TtfPath;
  return static_cast<bool>(Out);
}

bool AddSystemFont(const std::string& FileName, std::string& ErrorText) {
  TFontSystem& S = System();
  if (!S.RefusalText.empty()) {
    ErrorText = S.RefusalText;
    return false;
  }
  if (!FileExists(FileName)) {
    ErrorText = "The system cannot find the file specified.";
    return false;
  }
  S.Added.push_back(FileName);
  return true;
}

bool RemoveSystemFont(const std::string& FileName) {
  auto& Added = System().Added;
  auto It = std::find(Added.begin(), Added.end(), FileName);
  if (It == Added.end()) return false;
  Added.erase(It);
  return true;
}

void BroadcastFontChange() { ++System().Broadcasts; }

bool WriteFontRegistryValue(const std::string& ValueName, const std::string& Value) {
  TFontSystem& S = System();
  if (!S.RegistryKeyExists) return false;
  S.Registry[ValueName] = Value;
  return true;
}

std::string ReadFontRegistryValue(const std::string& ValueName) {
  // Value names compare without regard to case, as the system's do.
  TFontSystem& S = System();
  if (!S.RegistryKeyExists) return "";
  for (const auto& [Name, Value] : S.Registry)
    if (SameText(Name, ValueName)) return Value;
  return "";
}
