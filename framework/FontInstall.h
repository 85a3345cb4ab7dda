// What the system offers for installing a font: the program's own resources, the fonts folder,
// the font tables of the session and the font registry key. The Windows backend asks the
// system; the headless one keeps a fake system that tests set up and inspect
// (framework/headless/FontInstall.h).
#pragma once
#include <string>

enum class TResourceLookup { Found, NotFound, NotLoadable };

// Copies the resource Name of type Type out of the program's own module into Data.
TResourceLookup LoadModuleResource(const std::string& Type, const std::string& Name,
                                   std::string& Data);

// The system's fonts folder as the shell names it; empty when it names none.
std::string SystemFontsFolder();

// A font family of that face name (ASCII case ignored) is known to the screen.
bool FontFamilyInstalled(const std::string& FaceName);

// The embedding type (the outline metrics' otmfsType) of the font the screen selects for the
// face name; false when that is no outline font.
bool FontEmbeddingType(const std::string& FaceName, unsigned& Type);
// The size of the font file the screen selects for the face name; below 1 when it cannot tell.
long SelectedFontFileSize(const std::string& FaceName);
// Reads the first Size bytes of that font file into Buffer; false when the system gives fewer.
bool ReadSelectedFontFile(const std::string& FaceName, char* Buffer, long Size);

// Writes the scalable font resource file FotPath that points at the TrueType file TtfPath.
bool CreateScalableFontFile(const std::string& FotPath, const std::string& TtfPath);

// Adds the font resource file to the system's font table for this session; on refusal false,
// with the system's text for the reason in ErrorText.
bool AddSystemFont(const std::string& FileName, std::string& ErrorText);
bool RemoveSystemFont(const std::string& FileName);
// Tells every top-level window that the font table changed.
void BroadcastFontChange();

// Writes the string value into each of the system's font registry keys that exists (keys are
// never created); true when one was written.
bool WriteFontRegistryValue(const std::string& ValueName, const std::string& Value);
// The string value from the first font registry key that holds it; empty when none does.
std::string ReadFontRegistryValue(const std::string& ValueName);
