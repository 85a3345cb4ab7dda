// Writing a report's section: the section is built in memory, the whole new file goes to the
// temporary file and reaches the disk, and one atomic replacement puts it in place. Appending a
// new section takes the same way, so a kill never leaves half a section behind.
#include "engine/VLMXGbl0.h"
#include "engine/Vellumix/FileMgr.h"
#include "engine/Vellumix/ReportId.h"
#include "engine/Vellumix/ReportSettings.h"
#include "engine/Vellumix/SettingsKeys.h"
#include "framework/Forms.h"

namespace {

// A generated id that happens to name a stored section is drawn again, this many times at most.
constexpr int IdDraws = 100;

}  // namespace

void TvlxFileMgr::SaveReportSettingsSimple(std::string& User, std::string& ReportId, bool WriteValues) {
  SaveReportSettings(User, ReportId, "", "", WriteValues, User, ReportId);
}

void TvlxFileMgr::SaveReportSettings(const std::string& OldUser, const std::string& OldIdIn,
                                     const std::string& NewUserIn, const std::string& NewIdIn, bool WriteValues,
                                     std::string& UserOut, std::string& IdOut) {
  std::string OldId = OldIdIn, NewUser = NewUserIn, NewId = NewIdIn;
  if (OldUser == NewUser && OldId == NewId && !NewId.empty()) return;

  // Both ids blank: the report gets its first id, and stays with its user.
  const bool FirstId = OldId.empty() && NewId.empty();
  if (FirstId && NewUser.empty()) NewUser = OldUser;
  bool IdGenerated = false;
  std::string NewHeader;
  if (!NewId.empty() || OldId.empty()) {
    IdGenerated = !ValidateReportId(NewId, false);
    ValidateReportId(NewId, true);
    NewHeader = MakeSectionHeader(NewUser, NewId);
  }
  std::string CurrentHeader;
  const bool KeepOldNames = !OldId.empty() && NewId.empty();
  if (!OldId.empty()) {
    if (NewId.empty()) ValidateReportId(OldId, true);
    CurrentHeader = MakeSectionHeader(OldUser, OldId);
  }
  const std::string FinalUser = KeepOldNames ? OldUser : NewUser;
  std::string FinalId = KeepOldNames ? OldId : NewId;

  TCallScope CallScope(*this);
  if (OldId.empty()) PrepareFiles(NewUser, NewId);
  else PrepareFiles(OldUser, OldId);
  // A read-only file is neither locked nor written: the save is skipped without a word.
  if (FReadOnly) return;

  TCursorGuard Hourglass(crHourGlass);
  bool Saved = false;
  if (LockSettingsFile(LockForSaving)) {
    struct TLockGuard {
      TvlxFileMgr& Mgr;
      ~TLockGuard() { Mgr.UnlockSettingsFile(); }
    } LockGuard{*this};

    ReadSettingsFile();
    bool NewFound, CurrentFound;
    FText.FindSection(NewHeader, NewFound, CurrentFound, CurrentHeader);
    for (int Draw = 1; IdGenerated && NewFound && CurrentHeader.empty() && Draw < IdDraws; ++Draw) {
      NewId = FinalId = NewReportIdSuffix();
      NewHeader = FSectionHeader = MakeSectionHeader(NewUser, NewId);
      FText.FindSection(NewHeader, NewFound, CurrentFound, CurrentHeader);
    }
    if ((CurrentHeader.empty() && !NewHeader.empty() && NewFound) || (NewFound && CurrentFound))
      throw eVlxSUError("ReportId \"" + NewHeader + "\" already exists in file:" +
                        FSettingsFileName);

    Saved = true;
    if ((!NewHeader.empty() && !NewFound) || WriteValues || (!CurrentHeader.empty() && !CurrentFound)) {
      std::string Section = MakeSectionHeader(FinalUser, FinalId) + "\r\n";
      if (WriteValues) Section += WriteSection() + "\r\n";
      Saved = ReplaceSettingsFile(ComposeSettingsFile(FText, NewFound || CurrentFound, Section, FSectionHeader,
                                                      CurrentHeader, CurrentFound && !NewHeader.empty()));
    }
    if (Saved) {
      IdOut = FinalId;
      UserOut = FinalUser;
    }
  }
  if (!Saved) throw eVlxError("Unable to save Report Settings for ReportId:" + FinalId);
}

std::string TvlxFileMgr::WriteSection() {
  std::string Lines;
  if (FReadOnly || !FReportSettings) return Lines;
  FKeys->SettingsToKeyList();
  for (const TrsfEntry& Entry : FKeys->List())
    if (Entry.Changed()) Lines += SettingsLine(Entry.Key, Entry.Data.Value);
  // The copyright memo is the program's own and never stored.
  for (int I = 0; I < Copyright; ++I) {
    const TvlxRptMemo* Memo = FReportSettings->RptMemo(I);
    if (!Memo || Memo->Text.empty()) continue;
    Lines += MemoBlock(RptMemoName(I), Memo->Text);
  }
  return Lines;
}
