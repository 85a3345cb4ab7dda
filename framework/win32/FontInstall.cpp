// Font installation through the system: resources of the program's module, the shell's fonts
// folder, GDI's font table and the font registry keys.
#include "framework/FontInstall.h"

#include "framework/win32/Win32Handles.h"
#include <shlobj.h>

#include <vector>

#include "framework/rtl/SysUtils.h"

namespace {

// NT reads installed fonts from the first key at start-up, Windows 9x from the second.
const char* const FontRegistryKeys[] = {
    "Software\\Microsoft\\Windows NT\\CurrentVersion\\Fonts",
    "Software\\Microsoft\\Windows\\CurrentVersion\\Fonts",
};

struct TFamilySearch {
  std::string FaceName;  // upper case
  bool Found = false;
};

int CALLBACK FamilyProc(const LOGFONTA* Font, const TEXTMETRICA*, DWORD, LPARAM Data) {
  auto* Search = reinterpret_cast<TFamilySearch*>(Data);
  if (UpperCase(Font->lfFaceName) != Search->FaceName) return 1;
  Search->Found = true;
  return 0;
}

std::string SystemErrorText(DWORD Code) {
  char* Buffer = nullptr;
  DWORD Length = FormatMessageA(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, Code, 0, reinterpret_cast<char*>(&Buffer), 0, nullptr);
  std::string Text = Length ? std::string(Buffer, Length) : "";
  if (Buffer) LocalFree(Buffer);
  Text = Trim(Text);
  return Text.empty() ? "System error " + std::to_string(Code) : Text;
}

// The screen's device context with the font of a face name selected, for as long as it lives.
class TSelectedFont {
public:
  explicit TSelectedFont(const std::string& FaceName) : FScreen(GetDC(nullptr)) {
    LOGFONTA Font{};
    Font.lfCharSet = DEFAULT_CHARSET;
    lstrcpynA(Font.lfFaceName, FaceName.c_str(), LF_FACESIZE);
    FFont = CreateFontIndirectA(&Font);
    FOld = SelectObject(FScreen, FFont);
  }
  ~TSelectedFont() {
    SelectObject(FScreen, FOld);
    DeleteObject(FFont);
    ReleaseDC(nullptr, FScreen);
  }
  TSelectedFont(const TSelectedFont&) = delete;
  TSelectedFont& operator=(const TSelectedFont&) = delete;
  HDC Dc() const { return FScreen; }

private:
  HDC FScreen;
  HFONT FFont;
  HGDIOBJ FOld;
};

}  // namespace

TResourceLookup LoadModuleResource(const std::string& Type, const std::string& Name,
                                   std::string& Data) {
  HMODULE Module = GetModuleHandleA(nullptr);
  HRSRC Info = FindResourceA(Module, Name.c_str(), Type.c_str());
  if (!Info) return TResourceLookup::NotFound;
  HGLOBAL Handle = LoadResource(Module, Info);
  const void* Bytes = Handle ? LockResource(Handle) : nullptr;
  if (!Bytes) return TResourceLookup::NotLoadable;
  Data.assign(static_cast<const char*>(Bytes), SizeofResource(Module, Info));
  return TResourceLookup::Found;
}

std::string SystemFontsFolder() {
  char Path[MAX_PATH] = {};
  if (FAILED(SHGetFolderPathA(nullptr, CSIDL_FONTS, nullptr, 0, Path))) return "";
  return Path;
}

bool FontFamilyInstalled(const std::string& FaceName) {
  TFamilySearch Search{UpperCase(FaceName)};
  HDC Screen = GetDC(nullptr);
  EnumFontFamiliesA(Screen, nullptr, FamilyProc, reinterpret_cast<LPARAM>(&Search));
  ReleaseDC(nullptr, Screen);
  return Search.Found;
}

bool FontEmbeddingType(const std::string& FaceName, unsigned& Type) {
  TSelectedFont Font(FaceName);
  // The names that follow the fixed part need room of their own.
  const UINT Need = GetOutlineTextMetricsA(Font.Dc(), 0, nullptr);
  if (Need < sizeof(OUTLINETEXTMETRICA)) return false;
  std::vector<char> Buffer(Need);
  auto* Metrics = reinterpret_cast<OUTLINETEXTMETRICA*>(Buffer.data());
  if (!GetOutlineTextMetricsA(Font.Dc(), Need, Metrics)) return false;
  Type = Metrics->otmfsType;
  return true;
}

long SelectedFontFileSize(const std::string& FaceName) {
  TSelectedFont Font(FaceName);
  const DWORD Size = GetFontData(Font.Dc(), 0, 0, nullptr, 0);
  return Size == GDI_ERROR || Size > 0x7FFFFFFF ? -1 : static_cast<long>(Size);
}

bool ReadSelectedFontFile(const std::string& FaceName, char* Buffer, long Size) {
  TSelectedFont Font(FaceName);
  return GetFontData(Font.Dc(), 0, 0, Buffer, static_cast<DWORD>(Size)) == static_cast<DWORD>(Size);
}

bool CreateScalableFontFile(const std::string& FotPath, const std::string& TtfPath) {
  return CreateScalableFontResourceA(0, FotPath.c_str(), TtfPath.c_str(), nullptr) != 0;
}

bool AddSystemFont(const std::string& FileName, std::string& ErrorText) {
  if (AddFontResourceA(FileName.c_str()) > 0) return true;
  ErrorText = SystemErrorText(GetLastError());
  return false;
}

bool RemoveSystemFont(const std::string& FileName) {
  return RemoveFontResourceA(FileName.c_str()) != 0;
}

// A window that does not answer must not hang the program that installs the font.
void BroadcastFontChange() {
  DWORD_PTR Result = 0;
  SendMessageTimeoutA(HWND_BROADCAST, WM_FONTCHANGE, 0, 0, SMTO_ABORTIFHUNG, 2000, &Result);
}

bool WriteFontRegistryValue(const std::string& ValueName, const std::string& Value) {
  bool Written = false;
  for (const char* KeyName : FontRegistryKeys) {
    HKEY Key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, KeyName, 0, KEY_SET_VALUE, &Key) != ERROR_SUCCESS)
      continue;
    const auto* Bytes = reinterpret_cast<const BYTE*>(Value.c_str());
    if (RegSetValueExA(Key, ValueName.c_str(), 0, REG_SZ, Bytes, Value.size() + 1) == ERROR_SUCCESS) {
      // Written through at once, not when the system next gets round to it.
      RegFlushKey(Key);
      Written = true;
    }
    RegCloseKey(Key);
  }
  return Written;
}

std::string ReadFontRegistryValue(const std::string& ValueName) {
  for (const char* KeyName : FontRegistryKeys) {
    HKEY Key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, KeyName, 0, KEY_QUERY_VALUE, &Key) != ERROR_SUCCESS)
      continue;
    char Buffer[MAX_PATH + 1] = {};
    DWORD Size = MAX_PATH, Type = 0;
    const LONG Result = RegQueryValueExA(Key, ValueName.c_str(), nullptr, &Type,
                                         reinterpret_cast<BYTE*>(Buffer), &Size);
    RegCloseKey(Key);
    // A value too long for a path, or not a string, names no font file.
    if (Result == ERROR_SUCCESS && (Type == REG_SZ || Type == REG_EXPAND_SZ) && Buffer[0])
      return Buffer;
  }
  return "";
}
