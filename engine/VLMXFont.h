// The line-draw font loader: carries the fixed-pitch box-drawing font inside the program and
// installs it on a machine that lacks it, so drawn character reports print their borders.
#pragma once
#include <cstdint>
#include <functional>
#include <istream>
#include <ostream>
#include <string>

#include "framework/Classes.h"

// What a stored form offers an object for properties it streams itself: the object names each
// one with the routines that read and write its bytes.
class TFiler {
public:
  virtual ~TFiler() = default;
  virtual void DefineBinaryProperty(const std::string& Name,
                                    const std::function<void(std::istream&)>& ReadData,
                                    const std::function<void(std::ostream&)>& WriteData,
                                    bool HasData) = 0;
};

// Holds the bytes of one TrueType font resource and installs them into the system's fonts
// folder, font table and font registry key. Freeing the loader never uninstalls: the font stays
// for later runs and other programs.
class TvlxFontLoader : public TObject {
public:
  // Copies the resource ResName of type ResType out of the program.
  TvlxFontLoader(TComponent* AOwner, const std::string& ResName, const std::string& ResType,
                 const std::string& FontName, const std::string& InstallFileName);
  TvlxFontLoader(const TvlxFontLoader&) = delete;
  TvlxFontLoader& operator=(const TvlxFontLoader&) = delete;

  const std::string& FontName() const { return FFontName; }
  // The stored form sets the name as it loads; in a form designer a new name captures that
  // installed font's bytes, kind and file; a running program may not change it.
  void SetFontName(const std::string& Value);
  // 0 not TrueType, 1 freely embeddable, 2 read-only embedding, 3 not embeddable; known only
  // for a font captured in a designer.
  std::uint8_t FontKind() const { return FFontKind; }
  const std::string& InstallFileName() const { return FInstallFileName; }
  const std::string& TtfPath() const { return FTtfPath; }
  const std::string& FotPath() const { return FFotPath; }
  bool Installed() const { return FInstalled; }
  const std::string& FontData() const { return FFontData; }

  // Installs the font unless a family of its face name is known already; the data is let go
  // either way.
  void Install();
  // Takes back what this loader installed, files included; the registry value stays.
  void Uninstall() noexcept;
  void WriteFontFile(const std::string& Path) const;
  void FreeData() noexcept;

  // Offers the font bytes to the stored form as the binary property "FontLoader", stored even
  // when empty.
  void DefineProperties(TFiler& Filer);
  // The stored form of the "FontLoader" property: a 32-bit little-endian size, then the bytes.
  void ReadData(std::istream& Stream);
  void WriteData(std::ostream& Stream) const;
  void Assign(const TvlxFontLoader& Source) { SetFontName(Source.FontName()); }

private:
  TComponent* FOwner;
  std::string FFontName;
  std::string FInstallFileName;
  std::string FTtfPath;
  std::string FFotPath;
  bool FInstalled = false;
  std::uint8_t FFontKind = 0;
  std::string FFontData;
};

// The system's fonts folder, blanks trimmed; empty when the system names none.
std::string GetWindowsFontsDir();
// S with a final "\" added when missing; an empty S stays empty.
std::string AddTrailingBackslash(const std::string& S);
// Makes the font file known to the system through the resource file FotPath, and with
// Register records it in the font registry key. A refusal is shown in a message box: false.
bool AddFontFiles(const std::string& TtfPath, const std::string& FotPath, bool Register);
// Takes the font resource file out of the system's font table: whether it was there.
bool RemoveFontFile(const std::string& FotPath);
bool FontIsInstalled(const TvlxFontLoader& Loader);
// How the font that the screen selects for the face name may be embedded: 0 not an outline
// font, 1 freely, 2 read-only, 3 not at all.
std::uint8_t GetFontKind(const std::string& FaceName);
// The whole font file that the screen selects for the face name.
void GetFontDataOfName(const std::string& FaceName, std::string& Data);
// The file name under which the font registry key records the face name; empty when it does
// not.
std::string FontFileFromRegistry(const std::string& FaceName);
