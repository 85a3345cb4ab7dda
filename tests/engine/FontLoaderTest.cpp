// The line-draw font loader against the headless system: a real fonts folder in a temporary
// directory, the font table and the registry kept in memory.
#include <filesystem>
#include <map>
#include <sstream>

#include "engine/VLMXFont.h"
#include "engine/VLMXGbl0.h"
#include "framework/FontInstall.h"
#include "framework/Forms.h"
#include "framework/headless/FontInstall.h"
#include "framework/rtl/SysUtils.h"
#include "tests/support/HeadlessFixture.h"
#include "tests/support/TempDir.h"

namespace fs = std::filesystem;

namespace {

const std::string RegistryValue = "Letter Gothic Line (TrueType)";

class FontLoaderTest : public HeadlessTest {
protected:
  void SetUp() override {
    HeadlessTest::SetUp();
    Headless::ResetFonts();
    Fonts = Dir.Sub("Fonts");
    Headless::SetFontsFolder(Fonts);
  }
  void TearDown() override {
    Headless::ResetFonts();
    HeadlessTest::TearDown();
  }

  std::unique_ptr<TvlxFontLoader> NewLoader(const std::string& InstallFileName = "LetGothL.TTF") {
    return std::make_unique<TvlxFontLoader>(&Owner, "VLXLINEDRAW", "VLMXFONT",
                                            "Letter Gothic Line", InstallFileName);
  }
  std::vector<std::string> FilesInFonts() const {
    std::vector<std::string> Names;
    for (const auto& E : fs::directory_iterator(Fonts)) Names.push_back(E.path().filename());
    std::sort(Names.begin(), Names.end());
    return Names;
  }

  TTempDir Dir;
  std::string Fonts;
  TComponent Owner{nullptr};
};

// Each state of the system: the install (twice; the second changes nothing), then the
// uninstall, which takes back only the files of a font it installed; freeing a loader does not.
TEST_F(FontLoaderTest, InstallsOnlyAMissingFontAndUninstallTakesBackItsFilesButNotTheRegistryValue) {
  const std::string Ttf = Fonts + "\\LetGothL.ttf", Fot = Fonts + "\\LetGothL.fot", Font = FileBytes(VERSORA_LINEDRAW_FONT);
  const std::map<std::string, std::string> Registered{{RegistryValue, Ttf}}, None;
  const struct {
    const char* What;
    std::function<void()> Prepare;
    bool Installed;
    std::map<std::string, std::string> Registry;
    int Broadcasts;
    std::vector<std::string> Boxes;
  } Cases[] = {
      {"missing", [] {}, true, Registered, 1, {}},
      // The face name is compared without regard to case; a trailing delimiter is not doubled.
      {"installed", [&] { Headless::AddInstalledFamily("LETTER gothic line"), Headless::SetFontsFolder(Fonts + "/"); },
       false, None, 0, {}},
      {"over an earlier resource file, without a registry key",
       [&] { std::ofstream(Fonts + "/LetGothL.fot") << "stale", Headless::SetFontRegistryKeyExists(false); }, true,
       None, 1, {}},
      {"refused by the system", [] { Headless::RefuseFonts("The file is not a font."); }, true, Registered, 0,
       {"The file is not a font."}},
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.What);
    Headless::ResetFonts();
    Headless::ResetDialogs();
    Headless::SetFontsFolder(Fonts);
    C.Prepare();
    auto Loader = NewLoader();
    // The native build links the font that the build generated.
    EXPECT_EQ(Loader->FontData(), Font);
    Loader->Install();
    Loader->Install();
    EXPECT_EQ(Loader->Installed(), C.Installed);
    EXPECT_TRUE(Loader->FontData().empty());
    EXPECT_EQ(Headless::FontRegistry(), C.Registry);
    EXPECT_EQ(Headless::FontChangeBroadcasts(), C.Broadcasts);
    std::vector<std::string> Boxes;
    for (const auto& Box : Headless::MessageBoxes()) Boxes.push_back(Box.Text);
    EXPECT_EQ(Boxes, C.Boxes);
    if (C.Installed) {
      EXPECT_EQ(Loader->TtfPath(), Ttf);
      EXPECT_EQ(Loader->FotPath(), Fot);
      EXPECT_EQ(FilesInFonts(), (std::vector<std::string>{"LetGothL.fot", "LetGothL.ttf"}));
      EXPECT_EQ(FileBytes(Fonts + "/LetGothL.ttf"), Font);
      EXPECT_NE(FileBytes(Fonts + "/LetGothL.fot"), "stale");
      EXPECT_EQ(Headless::AddedFonts(), C.Boxes.empty() ? std::vector<std::string>{Fot} : std::vector<std::string>{});
    } else {
      EXPECT_TRUE(FilesInFonts().empty());
      EXPECT_TRUE(Headless::AddedFonts().empty());
      std::ofstream(Fonts + "/LetGothL.ttf") << "other";  // not the loader's to take back
    }
    Loader->Uninstall();
    EXPECT_FALSE(Loader->Installed());
    EXPECT_EQ(FilesInFonts(), C.Installed ? std::vector<std::string>{} : std::vector<std::string>{"LetGothL.ttf"});
    EXPECT_TRUE(Headless::AddedFonts().empty());
    EXPECT_EQ(Headless::FontChangeBroadcasts(), C.Broadcasts + C.Installed);
    EXPECT_EQ(Headless::FontRegistry(), C.Registry);
    for (const auto& F : FilesInFonts()) fs::remove(fs::path(Fonts) / F);
  }
  Headless::ResetFonts();
  Headless::SetFontsFolder(Fonts);
  NewLoader()->Install();
  EXPECT_EQ(FilesInFonts().size(), 2u) << "freeing the loader took its font back";
}

TEST_F(FontLoaderTest, InstallErrorsWriteNothing) {
  struct TCase { std::string FontsFolder, InstallFileName, Message; };
  const std::string Missing = Dir / "missing";
  const std::vector<TCase> Cases = {
      {"   ", "LetGothL.TTF", "The Windows Fonts Directory is not defined"},
      {Missing, "LetGothL.TTF", "Could not create file " + Missing + "\\LetGothL.ttf"},
  };
  for (const TCase& C : Cases) {
    SCOPED_TRACE(C.Message);
    Headless::SetFontsFolder(C.FontsFolder);
    auto Loader = NewLoader(C.InstallFileName);
    EXPECT_THROW_MSG(Loader->Install(), Exception, C.Message);
    EXPECT_FALSE(Loader->Installed());
    EXPECT_TRUE(FilesInFonts().empty());
    EXPECT_TRUE(Headless::AddedFonts().empty());
    EXPECT_TRUE(Headless::FontRegistry().empty());
  }
}

TEST_F(FontLoaderTest, AShortWriteLeavesNoFontFile) {
  // The fonts folder's file is the device that is always full.
  fs::create_symlink("/dev/full", Fonts + "/LetGothL.ttf");
  auto Loader = NewLoader();
  EXPECT_THROW_MSG(Loader->Install(), Exception, "Error writing to file " + Fonts + "\\LetGothL.ttf");
  EXPECT_TRUE(FilesInFonts().empty());
  EXPECT_TRUE(Headless::AddedFonts().empty());

  Loader->FreeData();
  EXPECT_THROW_MSG(Loader->WriteFontFile(Dir / "x.ttf"), Exception, "No data to write");
}

// The stored form's side: the properties the loader defines, by name.
struct TTestFiler : TFiler {
  struct TProperty {
    std::function<void(std::istream&)> Read;
    std::function<void(std::ostream&)> Write;
    bool HasData;
  };
  std::map<std::string, TProperty> Properties;
  void DefineBinaryProperty(const std::string& Name, const std::function<void(std::istream&)>& ReadData,
                            const std::function<void(std::ostream&)>& WriteData, bool HasData) override {
    Properties[Name] = {ReadData, WriteData, HasData};
  }
};

TEST_F(FontLoaderTest, StoredPropertyIsSizeThenBytes) {
  auto Loader = NewLoader();
  TTestFiler Filer;
  Loader->DefineProperties(Filer);
  ASSERT_EQ(Filer.Properties.size(), 1u);
  const TTestFiler::TProperty& Property = Filer.Properties.at("FontLoader");
  EXPECT_TRUE(Property.HasData);
  // Written and read back whole; the size leads, as the stored forms of older builds have it.
  const std::string Font = Loader->FontData();
  std::ostringstream Full;
  Property.Write(Full);
  EXPECT_EQ(Full.str().size(), Font.size() + 4);
  Loader->FreeData();
  std::istringstream Back(Full.str());
  Property.Read(Back);
  EXPECT_EQ(Loader->FontData(), Font);

  // A stream cut short, or one whose size claims far more than it holds, leaves no data.
  for (const std::string& Bad : {Full.str().substr(0, 3), Full.str().substr(0, 100),
                                 std::string("\xff\xff\xff\x7f" "abc", 7)}) {
    std::istringstream In(Bad);
    EXPECT_THROW_MSG(Loader->ReadData(In), EStreamError, "Stream read error");
    EXPECT_TRUE(Loader->FontData().empty());
  }
}

}  // namespace
