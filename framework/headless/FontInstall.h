// Test control of the headless font installation: a fake system with resources, a fonts
// folder, installed families, a session font table and a font registry key.
#pragma once
#include <map>
#include <string>
#include <vector>

namespace Headless {

// Replaces, adds or (Loadable false) spoils a resource of the program; RemoveResource makes it
// missing. Reset puts back the linked resources.
void SetResource(const std::string& Type, const std::string& Name, const std::string& Data,
                 bool Loadable = true);
void RemoveResource(const std::string& Type, const std::string& Name);

// The folder that stands for the system's fonts folder; until set, "Fonts" in the Windows
// directory. An empty path is a system that names no fonts folder.
void SetFontsFolder(const std::string& Path);

// A family that the screen knows. The fake reads no font it adds, so an installed family
// exists only when a test says so.
void AddInstalledFamily(const std::string& FaceName);
// An installed family whose font file the screen can read: its bytes and embedding type.
// Unreadable: its size is told but reading it fails.
void SetFamilyFont(const std::string& FaceName, const std::string& Data, unsigned EmbeddingType,
                   bool Readable = true);

// The next AddSystemFont calls are refused with this text (empty: accepted again).
void RefuseFonts(const std::string& ErrorText);
// Whether the system has the font registry key (true until set).
void SetFontRegistryKeyExists(bool Exists);

// The files in the session font table, in the order added.
const std::vector<std::string>& AddedFonts();
const std::map<std::string, std::string>& FontRegistry();
int FontChangeBroadcasts();

// Forgets everything above.
void ResetFonts();

}  // namespace Headless
