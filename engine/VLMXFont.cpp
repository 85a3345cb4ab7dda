#include "engine/VLMXFont.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <new>
#include <stdexcept>

#include "engine/VLMXGbl/RunUI.h"
#include "engine/VLMXGbl0.h"
#include "framework/FontInstall.h"
#include "framework/Forms.h"
#include "framework/rtl/FileUtils.h"
#include "framework/rtl/SysUtils.h"

namespace {

// The value name is the one font's, whatever face name the loader carries.
const char* const FontRegistryValueName = "Letter Gothic Line (TrueType)";

void DeleteFileQuietly(const std::string& FileName) noexcept {
  std::remove(HostFileName(FileName).c_str());
}

}  // namespace

TvlxFontLoader::TvlxFontLoader(TComponent* AOwner, const std::string& ResName,
                               const std::string& ResType, const std::string& FontName,
                               const std::string& InstallFileName)
    : FOwner(AOwner), FFontName(FontName), FInstallFileName(InstallFileName) {
  try {
    switch (LoadModuleResource(ResType, ResName, FFontData)) {
      case TResourceLookup::Found: break;
      case TResourceLookup::NotFound:
        throw eVlxIntError("The Font Resource file VLMXFONT.RES is either:\r"
                           "  a) Not linked to this program\r"
                           "  b) The file is missing\r"
                           "  c) Or the file is missing font data for \"" + ResName + "\"");
      case TResourceLookup::NotLoadable: throw EOSError("Could not load resource " + ResName);
    }
  } catch (const std::bad_alloc&) {
    throw EOutOfMemory("Out of memory");
  }
}

void TvlxFontLoader::SetFontName(const std::string& Value) {
  if (FOwner && FOwner->IsLoading()) {
    FFontName = Value;
    return;
  }
  if (!FOwner || !FOwner->IsDesigning()) throw EComponentError("FontName changed at run-time");
  Uninstall();
  FreeData();
  FFontName.clear();
  FInstallFileName.clear();
  FFontKind = 0;
  if (Value.empty()) return;
  GetFontDataOfName(Value, FFontData);
  FFontKind = GetFontKind(Value);
  FFontName = Value;
  FInstallFileName = FontFileFromRegistry(Value);
}

void TvlxFontLoader::FreeData() noexcept {
  FFontData.clear();
  FFontData.shrink_to_fit();
}

void TvlxFontLoader::WriteFontFile(const std::string& Path) const {
  if (FFontData.empty()) throw EStreamError("No data to write");
  int Error = 0;
  std::FILE* F = FileCreateForWriting(Path, Error);
  if (!F) throw EFCreateError("Could not create file " + Path);
  bool Written = std::fwrite(FFontData.data(), 1, FFontData.size(), F) == FFontData.size();
  Written = std::fclose(F) == 0 && Written;
  if (!Written) {
    // A cut-off font in the fonts folder would be offered to the system at its next start.
    DeleteFileQuietly(Path);
    throw EStreamError("Error writing to file " + Path);
  }
}

void TvlxFontLoader::Install() {
  if (FInstalled || FFontName.empty() || FFontData.empty()) return;
  // A designer keeps the bytes: they are what the stored form saves.
  const bool KeepData = FOwner && FOwner->IsDesigning();
  if (FontIsInstalled(*this)) {
    if (!KeepData) FreeData();
    return;
  }
  std::string Fonts = GetWindowsFontsDir();
  if (Fonts.empty()) throw EOSError("The Windows Fonts Directory is not defined");
  Fonts = AddTrailingBackslash(Fonts);
  if (FInstallFileName.empty()) throw EComponentError("The font InstallFileName is undefined");
  const std::string Name = ExtractFileName(FInstallFileName);
  FFotPath = Fonts + ChangeFileExt(Name, ".fot");
  FTtfPath = Fonts + ChangeFileExt(Name, ".ttf");
  WriteFontFile(FTtfPath);
  if (!KeepData) FreeData();
  AddFontFiles(FTtfPath, FFotPath, true);
  FInstalled = true;
}

void TvlxFontLoader::Uninstall() noexcept {
  if (!FInstalled) return;
  RemoveFontFile(FFotPath);
  DeleteFileQuietly(FFotPath);
  DeleteFileQuietly(FTtfPath);
  FInstalled = false;
}

void TvlxFontLoader::DefineProperties(TFiler& Filer) {
  Filer.DefineBinaryProperty(
      "FontLoader", [this](std::istream& Stream) { ReadData(Stream); },
      [this](std::ostream& Stream) { WriteData(Stream); }, true);
}

void TvlxFontLoader::ReadData(std::istream& Stream) {
  Uninstall();
  FreeData();
  unsigned char Size[4] = {};
  if (!Stream.read(reinterpret_cast<char*>(Size), 4)) throw EStreamError("Stream read error");
  const std::int32_t Count = static_cast<std::int32_t>(Size[0] | Size[1] << 8 | Size[2] << 16 |
                                                       static_cast<std::uint32_t>(Size[3]) << 24);
  if (Count <= 0) return;
  // Read in pieces, so a damaged size does not claim memory that the stream cannot fill.
  try {
    std::string Data;
    char Piece[65536];
    for (std::int32_t Left = Count; Left > 0;) {
      const auto Want = static_cast<std::streamsize>(std::min<std::int32_t>(Left, sizeof Piece));
      if (!Stream.read(Piece, Want)) throw EStreamError("Stream read error");
      Data.append(Piece, Want);
      Left -= static_cast<std::int32_t>(Want);
    }
    FFontData = std::move(Data);
  } catch (const std::bad_alloc&) {
    throw EOutOfMemory("Out of memory");
  }
}

void TvlxFontLoader::WriteData(std::ostream& Stream) const {
  const auto Count = static_cast<std::uint32_t>(FFontData.size());
  const char Size[4] = {static_cast<char>(Count), static_cast<char>(Count >> 8),
                        static_cast<char>(Count >> 16), static_cast<char>(Count >> 24)};
  Stream.write(Size, 4);
  Stream.write(FFontData.data(), static_cast<std::streamsize>(FFontData.size()));
}

std::string GetWindowsFontsDir() { return Trim(SystemFontsFolder()); }

std::string AddTrailingBackslash(const std::string& S) {
  if (S.empty() || S.back() == '\\') return S;
  return S + '\\';
}

bool AddFontFiles(const std::string& TtfPath, const std::string& FotPath, bool Register) {
  // The system will not write over a resource file left by an earlier install.
  DeleteFileQuietly(FotPath);
  CreateScalableFontFile(FotPath, TtfPath);
  std::string ErrorText;
  const bool Added = AddSystemFont(FotPath, ErrorText);
  if (Added)
    BroadcastFontChange();
  else
    RunUI().ShowMessage(ErrorText, MsgBox::Ok);
  if (Register) WriteFontRegistryValue(FontRegistryValueName, TtfPath);
  return Added;
}

bool RemoveFontFile(const std::string& FotPath) {
  const bool Removed = RemoveSystemFont(FotPath);
  BroadcastFontChange();
  return Removed;
}

bool FontIsInstalled(const TvlxFontLoader& Loader) { return FontFamilyInstalled(Loader.FontName()); }

std::uint8_t GetFontKind(const std::string& FaceName) {
  unsigned Type = 0;
  if (!FontEmbeddingType(FaceName, Type)) return 0;
  if (Type & 1) return 3;
  if (Type & 2) return 2;
  return 1;
}

void GetFontDataOfName(const std::string& FaceName, std::string& Data) {
  const long Size = SelectedFontFileSize(FaceName);
  if (Size < 1) throw eVlxSUError("GetFontData(size) failed");
  std::string Buffer;
  try {
    Buffer.resize(static_cast<size_t>(Size));
  } catch (const std::bad_alloc&) {
    throw EOutOfMemory("Out of memory");
  } catch (const std::length_error&) {
    throw EOutOfMemory("Out of memory");
  }
  if (!ReadSelectedFontFile(FaceName, Buffer.data(), Size)) throw EOSError("GetFontData error");
  Data = std::move(Buffer);
}

std::string FontFileFromRegistry(const std::string& FaceName) {
  std::string File = ReadFontRegistryValue(FaceName + " (TrueType)");
  if (File.empty()) File = ReadFontRegistryValue(FaceName);
  return ExtractFileName(File);
}
