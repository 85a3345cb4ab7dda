// Font installation through the system: resources of the program's module, the shell's fonts
// folder, GDI's font table and the font registry keys.
#include "framework/FontInstall.h"

#include "framework/win32/Win32Handles.h"
#include <shlobj.h>

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
