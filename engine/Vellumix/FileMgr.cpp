// The settings-file manager's life and its loader: the section's lines applied to the bound
// report settings through the key list, memo blocks into their memos.
#include "engine/Vellumix/FileMgr.h"

#include "engine/VLMXGbl0.h"
#include "engine/Vellumix/ReportSettings.h"
#include "engine/Vellumix/SettingsKeys.h"
#include "framework/rtl/SysUtils.h"

TvlxFileMgr::TvlxFileMgr(TvlxVellumix* Owner) : FOwner(Owner) {}

TvlxFileMgr::~TvlxFileMgr() { UnlockSettingsFile(); }

TvlxFileMgr::TCallScope::TCallScope(TvlxFileMgr& AMgr)
    : Mgr(AMgr), Keys(std::move(AMgr.FKeys)), Text(std::move(AMgr.FText)), ReadOnly(AMgr.FReadOnly),
      Locked(AMgr.FLocked), SettingsFileName(AMgr.FSettingsFileName), TempFileName(AMgr.FTempFileName),
      SectionHeader(AMgr.FSectionHeader), LockFileName(AMgr.FLockFileName), LockFile(AMgr.FLockFile) {
  Mgr.FText = TvlxSettingsText();
  Mgr.FLockFile = InvalidLockHandle;
  Mgr.FLocked = false;
}

TvlxFileMgr::TCallScope::~TCallScope() {
  Mgr.FKeys = std::move(Keys);
  Mgr.FText = std::move(Text);
  if (!Mgr.FKeys) return;  // the outermost call: its names stay to be looked at
  Mgr.FReadOnly = ReadOnly;
  Mgr.FLocked = Locked;
  Mgr.FSettingsFileName = SettingsFileName;
  Mgr.FTempFileName = TempFileName;
  Mgr.FSectionHeader = SectionHeader;
  Mgr.FLockFileName = LockFileName;
  Mgr.FLockFile = LockFile;
}

void TvlxFileMgr::LoadReportSettings(const std::string& User, const std::string& ReportId) {
  if (!FReportSettings)
    throw eVlxIntError("Attempt to load report settings before running TvlxVellumix.Print method");
  TCallScope CallScope(*this);
  PrepareFiles(User, ReportId);
  FKeys->ApplyDefaults();
  if (!LockSettingsFile(LockForLoading)) return;
  struct TLockGuard {
    TvlxFileMgr& Mgr;
    ~TLockGuard() { Mgr.UnlockSettingsFile(); }
  } LockGuard{*this};

  ReadSettingsFile();
  bool Found, Unused;
  FText.FindSection(FSectionHeader, Found, Unused, "");
  if (!Found) return;
  while (!FText.Eof()) {
    const std::string_view Line = FText.Line(FText.Position());
    if (!Line.empty() && Line[0] == '[') break;
    FText.ReadLine();
    ParseSettingsLine(Line);
  }
}

void TvlxFileMgr::ParseSettingsLine(std::string_view Line) {
  if (Line.empty()) return;
  std::string Key, Value, MemoName;
  SplitSettingsLine(Line, Key, Value);
  if (UnescapeSettingsLine(Key, Value) && IsMemoTextKey(Key)) {
    if (TvlxRptMemo* Memo = FReportSettings->RptMemo(RptMemoIndexOfName(Key.substr(5)))) Memo->Text = Value;
    return;
  }
  // The line-number column was once a key of its own.
  if (SameText(Key, "ioLineNumbers") && Value == "0") {
    Key = "HideColumns";
    Value = "~Line#";
  }
  if (IsMemoStart(Key, Value, MemoName)) {
    ReadMemoBlock(Key);
    return;
  }
  const TrsfEntry* Entry = FKeys->Find(Key);
  // The style options were once spelt "so...".
  if (!Entry && Key.compare(0, 2, "so") == 0) Entry = FKeys->Find("io" + Key.substr(2));
  if (Entry) FKeys->ApplySetting(*Entry, Value);
}

void TvlxFileMgr::ReadMemoBlock(const std::string& Key) {
  const std::string Text = FText.ReadMemoBlock();
  if (TvlxRptMemo* Memo = FReportSettings->RptMemo(RptMemoIndexOfName(Key.substr(Key.find(',') + 1))))
    Memo->Text = Text;
}
