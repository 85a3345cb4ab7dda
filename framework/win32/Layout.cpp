// Window layouts are linked into the executable as RCDATA resources named by the upper-cased
// layout name.
#include <cctype>

#include "framework/Layout.h"
#include "framework/win32/Win32.h"

std::string LinkedLayoutText(const std::string& LayoutName) {
  std::string name = LayoutName;
  for (char& c : name) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  HMODULE module = GetModuleHandleA(nullptr);
  HRSRC found = FindResourceA(module, name.c_str(), RT_RCDATA);
  if (!found) return {};
  HGLOBAL loaded = LoadResource(module, found);
  const void* data = loaded ? LockResource(loaded) : nullptr;
  if (!data) return {};
  return std::string(static_cast<const char*>(data), SizeofResource(module, found));
}
