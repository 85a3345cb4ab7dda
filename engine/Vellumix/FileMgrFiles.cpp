// Where the settings file lies, how it is opened, and the lock file that keeps a saver apart
// from everyone else while loaders share it.
#include <cstdlib>

#include "engine/VLMXGbl/RunUI.h"
#include "engine/VLMXGbl0.h"
#include "engine/VLMXUtil.h"
#include "engine/Vellumix/FileMgr.h"
#include "engine/Vellumix/SettingsKeys.h"
#include "engine/Vellumix/Vellumix.h"
#include "framework/Forms.h"
#include "framework/IniFiles.h"
#include "framework/rtl/SysUtils.h"

namespace {

constexpr unsigned LockPeriodMs = 10000;
constexpr int OpenAttempts = 10;
constexpr int OpenRetryDelayMs = 500;

constexpr int ReadFaultCode = 30;

const std::string TempFileExt = ".$$$";
const std::string LockFileExt = ".~LK";

bool IsBusy(int Code) { return Code == errSharingViolation || Code == errLockViolation; }

eVlxSUError UnableToOpen(const std::string& Name, int Code) {
  return eVlxSUError(VlxSetupErrorPrefix + "Unable to open file: " + Name +
                     "\rbecause it is locked by another application. Close the other application and try again."
                     "\r\rI/O Error:" + IntToStr(Code));
}

bool SameFileName(const std::string& A, const std::string& B) {
  return AnsiSameText(ExpandFileName(A), ExpandFileName(B));
}

}  // namespace

std::string TvlxFileMgr::GetSettingsFileName() const { return LocateSettingsFile(false); }

// Quiet: only the name, for a check of another file's name; no directory made, no beep.
std::string TvlxFileMgr::LocateSettingsFile(bool Quiet) const {
  if (FOwner && !FOwner->ReportSettingsFileName().empty()) return FOwner->ReportSettingsFileName();

  TIniFile DataDirs("VLMXDirs.Ini");
  const std::string Listed =
      Trim(DataDirs.ReadString("Vellumix! Data Directories", Application->ExeName(), ""));
  if (!Listed.empty()) {
    std::string Name = Listed.substr(0, Listed.find(','));
    if (!Name.empty() && Name.back() == '\\') Name += "RptSet.Txt";
    const std::string Dir = ExtractFileDir(Name);
    if (!Quiet && !Dir.empty() && !DirExists(Dir)) {
      ForceDirs(Dir);
      if (!DirExists(Dir))
        throw eVlxSUError(VlxSetupErrorPrefix + "Unable to create directory for ReportSettings\rDirectory:" + Dir);
    }
    return Name;
  }

  std::string Name = TvlxVellumix::GetAppFileName(FOwner, false, ".VLX") + "\\RptSet.Txt";
  if (FileExists(Name)) return Name;
  Name = TvlxVellumix::GetAppFileName(FOwner, false, ".VLY");
  if (!Quiet && !FileExists(Name)) Beep();
  return Name;
}

bool TvlxFileMgr::IsSettingsFileName(const std::string& Name) const {
  const std::string Settings = FSettingsFileName.empty() ? LocateSettingsFile(true) : FSettingsFileName;
  return SameFileName(Name, Settings) || SameFileName(Name, ChangeFileExt(Settings, TempFileExt)) ||
         SameFileName(Name, ChangeFileExt(Settings, LockFileExt));
}

void TvlxFileMgr::PrepareFiles(const std::string& User, const std::string& ReportId) {
  FSectionHeader = MakeSectionHeader(User, ReportId);
  const std::string Settings = GetSettingsFileName();
  const std::string Temp = ChangeFileExt(Settings, TempFileExt), Lock = ChangeFileExt(Settings, LockFileExt);
  // Named like its own lock or temporary file, the settings file would be deleted with the lock
  // or rewritten in place: it is refused before anything is opened.
  if (SameFileName(Settings, Temp) || SameFileName(Settings, Lock))
    throw eVlxSUError(VlxSetupErrorPrefix + "The report settings file \"" + Settings + "\" cannot have the extension " +
                      ExtractFileExt(Settings) + ": the extensions " + TempFileExt + " and " + LockFileExt +
                      " belong to its temporary and lock files.");
  FSettingsFileName = Settings;
  FTempFileName = Temp;
  if (!FKeys) FKeys = std::make_unique<TvlxSettingsKeys>(FReportSettings);
  FReadOnly = IsFileReadOnly(FSettingsFileName);
  FLockFileName = Lock;
  FLocked = false;
  const std::string LockDir = ExtractFileDir(FLockFileName);
  if (!LockDir.empty() && !DirExists(LockDir)) ForceDirs(LockDir);
}

bool TvlxFileMgr::LockSettingsFile(unsigned Mode) {
  if (FReadOnly) return true;
  const int PollMs = (Mode & fmShareExclusive) ? 25 : 100;
  bool FirstAttempt = true;
  for (;;) {
    const unsigned Start = TickCount();
    do {
      if (!FirstAttempt) DelayMs(PollMs);
      FirstAttempt = false;
      int Code = 0;
      const TLockHandle Handle = LockFileOpen(FLockFileName, Mode, Code);
      if (Handle != InvalidLockHandle) {
        FLockFile = Handle;
        FLocked = true;
        return true;
      }
      if (Code == errFileNotFound) CreateLockFile();
      else if (!IsBusy(Code))
        throw eVlxIntError(VlxInternalErrorPrefix + "Locking file: \"" + FLockFileName +
                           "\"\rUnexpected I/O Error=" + IntToStr(Code));
    } while (std::abs(static_cast<int>(TickCount() - Start)) <= static_cast<int>(LockPeriodMs));

    UnlockSettingsFile();
    if (!RunUI().AskRetryBusyLock(FLockFileName)) return false;
  }
}

void TvlxFileMgr::CreateLockFile() {
  const int Code = LockFileCreate(FLockFileName);
  if (Code != 0 && !IsBusy(Code))
    throw Exception("Unable to create file \"" + FLockFileName + "\" . I/O Error:" + IntToStr(Code));
}

void TvlxFileMgr::UnlockSettingsFile() {
  if (!FReadOnly && FLockFile != InvalidLockHandle) LockFileRelease(FLockFile, FLockFileName);
  FLockFile = InvalidLockHandle;
  FLocked = false;
}

std::FILE* TvlxFileMgr::OpenSettingsFile(const std::string& Name, TOpenMode Mode) {
  int Code = 0;
  if (Mode == omRead && !FileExists(Name)) {
    std::FILE* Created = FileCreateForWriting(Name, Code);
    if (!Created)
      throw eVlxSUError(VlxSetupErrorPrefix + "I/O Error: " + IntToStr(Code) + " creating file \"" + Name);
    std::fclose(Created);
  }
  for (int Attempt = 1; Attempt <= OpenAttempts; ++Attempt) {
    std::FILE* F = Mode == omRead ? FileOpenForReading(Name, Code) : FileCreateForWriting(Name, Code);
    if (F) return F;
    if (IsBusy(Code)) break;
    if (Attempt < OpenAttempts) DelayMs(OpenRetryDelayMs);
  }
  throw UnableToOpen(Name, Code);
}

void TvlxFileMgr::ReadSettingsFile() {
  std::unique_ptr<std::FILE, int (*)(std::FILE*)> F(OpenSettingsFile(FSettingsFileName, omRead), &std::fclose);
  std::string Content;
  char Buffer[65536];
  size_t Got;
  while ((Got = std::fread(Buffer, 1, sizeof Buffer, F.get())) > 0) Content.append(Buffer, Got);
  if (std::ferror(F.get())) throw UnableToOpen(FSettingsFileName, ReadFaultCode);
  FText = TvlxSettingsText(std::move(Content));
}

bool TvlxFileMgr::ReplaceSettingsFile(const std::string& Content) {
  {
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> F(OpenSettingsFile(FTempFileName, omCreate), &std::fclose);
    const bool Written = std::fwrite(Content.data(), 1, Content.size(), F.get()) == Content.size() &&
                         FileCommit(F.get()) == 0;
    if (std::fclose(F.release()) != 0 || !Written) return false;
  }
  return ReplaceFileAtomically(FTempFileName, FSettingsFileName) == 0;
}
