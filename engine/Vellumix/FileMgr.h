// The report-settings file manager: finds the one text file in which every report of the
// program keeps its options, guards it with a lock file shared by loaders and held alone by a
// saver, reads one report's section into the bound report settings and writes it back. A save
// builds the whole new file, forces it to the disk and only then puts it in place of the old
// one, so a crash at any moment leaves the old file or the new one, whole.
#pragma once
#include <memory>
#include <string>
#include <string_view>

#include "engine/Vellumix/FileMgrText.h"
#include "framework/Classes.h"
#include "framework/rtl/FileUtils.h"

class TvlxVellumix;
class TvlxReportSettings;
class TvlxSettingsKeys;

// Share modes of the lock file: loaders read side by side, a saver keeps everyone out.
constexpr unsigned LockForLoading = fmOpenRead | fmShareDenyWrite;
constexpr unsigned LockForSaving = fmOpenReadWrite | fmShareExclusive;

class TvlxFileMgr : public TObject {
public:
  // Owner gives the file name property; it may be null (then the name is looked up).
  explicit TvlxFileMgr(TvlxVellumix* Owner);
  ~TvlxFileMgr() override;
  TvlxFileMgr(const TvlxFileMgr&) = delete;
  TvlxFileMgr& operator=(const TvlxFileMgr&) = delete;

  // Nothing is read into or written from unbound settings.
  TvlxReportSettings* ReportSettings() const { return FReportSettings; }
  void SetReportSettings(TvlxReportSettings* Value) { FReportSettings = Value; }

  // Applies the defaults, then the section [User:ReportId]. When the lock stays busy and the
  // user gives up, the defaults stay in force.
  void LoadReportSettings(const std::string& User, const std::string& ReportId);
  // Writes the section of OldUser/OldId (with its values when WriteValues), or gives it the
  // new names. A blank id gets a generated one; UserOut and IdOut receive the names it was
  // stored under.
  void SaveReportSettings(const std::string& OldUser, const std::string& OldId, const std::string& NewUser,
                          const std::string& NewId, bool WriteValues, std::string& UserOut, std::string& IdOut);
  void SaveReportSettingsSimple(std::string& User, std::string& ReportId, bool WriteValues);

  // The settings file: the owner's property, else the data directory listed in VLMXDirs.Ini,
  // else beside the program.
  std::string GetSettingsFileName() const;
  // Refuses (eVlxSUError) a settings file named like its own lock or temporary file.
  void PrepareFiles(const std::string& User, const std::string& ReportId);
  // Name is the settings file, its temporary file or its lock file (full names compared
  // without regard to case, as the system compares them).
  bool IsSettingsFileName(const std::string& Name) const;
  // Waits for the lock file in periods of 10 s, asking the user between periods; false when
  // the user gives up. A read-only settings file needs no lock.
  bool LockSettingsFile(unsigned Mode);
  void UnlockSettingsFile();

  bool Locked() const { return FLocked; }
  bool ReadOnly() const { return FReadOnly; }
  const std::string& SettingsFileName() const { return FSettingsFileName; }
  const std::string& TempFileName() const { return FTempFileName; }
  const std::string& LockFileName() const { return FLockFileName; }
  const std::string& SectionHeader() const { return FSectionHeader; }

private:
  std::string LocateSettingsFile(bool Quiet) const;
  TvlxVellumix* FOwner;
  std::unique_ptr<TvlxSettingsKeys> FKeys;  // only during a load or save
  TvlxSettingsText FText;                   // the settings file, only during a load or save
  bool FReadOnly = false;
  std::string FSettingsFileName;
  std::string FTempFileName;
  std::string FSectionHeader;
  std::string FLockFileName;
  TLockHandle FLockFile = InvalidLockHandle;
  bool FLocked = false;
  TvlxReportSettings* FReportSettings = nullptr;

  // The key list and the file's text live for one load or save only. A load or save that
  // starts while another one waits (the waits keep the windows alive, and a window may load)
  // works with its own, and the waiting one gets its own back afterwards.
  class TCallScope {
  public:
    explicit TCallScope(TvlxFileMgr& AMgr);
    ~TCallScope();
    TCallScope(const TCallScope&) = delete;
    TCallScope& operator=(const TCallScope&) = delete;

  private:
    TvlxFileMgr& Mgr;
    std::unique_ptr<TvlxSettingsKeys> Keys;  // the waiting call's; none when there is none
    TvlxSettingsText Text;
    bool ReadOnly, Locked;
    std::string SettingsFileName, TempFileName, SectionHeader, LockFileName;
    TLockHandle LockFile;
  };

  enum TOpenMode { omRead = 1, omCreate = 2 };
  // Opens with up to 10 attempts; raises the setup error when the file stays closed. Reading
  // creates a missing file empty first.
  std::FILE* OpenSettingsFile(const std::string& Name, TOpenMode Mode);
  void ReadSettingsFile();
  // Writes the temporary file to the disk and puts it in the settings file's place.
  bool ReplaceSettingsFile(const std::string& Content);
  void CreateLockFile();

  void ParseSettingsLine(std::string_view Line);
  void ReadMemoBlock(const std::string& Key);
  // The key lines of the changed values and the memo blocks, each line ending in CR LF.
  std::string WriteSection();
};
