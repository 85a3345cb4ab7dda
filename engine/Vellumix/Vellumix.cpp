#include "engine/Vellumix/Vellumix.h"

#include "engine/VLMXGbl/RunUI.h"
#include "engine/VLMXGbl0.h"
#include "engine/VLMXGbl/RowSources.h"
#include "engine/Vellumix/FileMgr.h"
#include "engine/Vellumix/ReportId.h"
#include "engine/Vellumix/ReportSettings.h"
#include "framework/PropertyTable.h"
#include "framework/Forms.h"
#include "framework/Layout.h"
#include "framework/rtl/FileUtils.h"
#include "framework/rtl/SysUtils.h"

bool IsPrintableObject(const TComponent* C) { return PrintableKindOf(C) != nullptr; }

TvlxVellumix::TvlxVellumix(TComponent* AOwner) : TComponent(AOwner) {
  if (AOwner && Is<TCustomForm>(AOwner)) {
    fmVlxMain = nullptr;
    int best = -1;
    for (int i = 0; i < AOwner->ComponentCount(); ++i) {
      TComponent* c = AOwner->Components(i);
      if (c == this || c->Name().empty()) continue;
      // The first class test passed gives the priority.
      const TPrintableKind* kind = PrintableKindOf(c);
      const int priority = kind ? kind->Priority : -1;
      if (priority > best) {
        best = priority;
        FObjectToPrint = c;
      }
    }
    if (FObjectToPrint) FObjectToPrint->FreeNotification(this);
  }
  FFileMgr = std::make_unique<TvlxFileMgr>(this);
}

TvlxVellumix::~TvlxVellumix() = default;

const std::string& TvlxVellumix::ReportId() {
  if (Trim(FReportId).empty() && !IsWriting() && FIdOrUserChanged && FFileMgr) {
    std::string User = FUserName, Id;
    FFileMgr->SaveReportSettingsSimple(User, Id, false);
    FUserName = User;
    FReportId = Id;
  }
  return FReportId;
}

void TvlxVellumix::LoadReportSettings() { FFileMgr->LoadReportSettings(FUserName, FReportId); }

void TvlxVellumix::SaveReportSettings() {
  if (TvlxReportSettings* Settings = FFileMgr->ReportSettings()) Settings->LastSaveDate = Now();
  FFileMgr->SaveReportSettingsSimple(FUserName, FReportId, true);
}

std::string TvlxVellumix::GetReportSettingsFile() const {
  return FFileMgr ? FFileMgr->GetSettingsFileName() : "";
}

void TvlxVellumix::SetObjectToPrint(TComponent* Value) {
  if (Value == FObjectToPrint) return;
  if (Value && !IsPrintableObject(Value)) {
    std::string owner = Value->Owner() ? Value->Owner()->Name() : "";
    throw eVlxSUError("\r\rThe TvlxVellumix.ObjectToPrint property is set to a component:\"" +
                      owner + "." + Value->Name() + "\" that cannot be printed by Vellumix! Version " +
                      VellumixVersion);
  }
  if (FObjectToPrint) FObjectToPrint->RemoveFreeNotification(this);
  FObjectToPrint = Value;
  // Across owners too, a destroyed object must not stay referenced.
  if (FObjectToPrint) FObjectToPrint->FreeNotification(this);
}

void TvlxVellumix::Notification(TComponent* AComponent, TOperation Operation) {
  TComponent::Notification(AComponent, Operation);
  if (Operation == TOperation::opRemove && AComponent == FObjectToPrint) FObjectToPrint = nullptr;
}

void TvlxVellumix::SetReportId(const std::string& Value) {
  if (Value == FReportId && !Trim(FReportId).empty()) return;
  if (IsReadingOrLoading()) {
    FReportId = Value;
    return;
  }
  std::string id = Value;
  if (!ValidateReportId(id, false))
    throw eVlxSUError("TvlxVellumix.ReportId \"" + Value + "\" is invalid.\r" +
                      "ReportId syntax must be of \"OptionalText (nnn.mmm)\" where n and m are 0..9");
  FReportId = Value;
}

void TvlxVellumix::SetUserName(const std::string& Value) {
  std::string letters;
  for (char c : Value)
    if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z')) letters += c;
  if (letters == FUserName) return;
  FUserName = letters;
  if (!IsReadingOrLoading()) FIdOrUserChanged = 1;
}

int TvlxVellumix::Print() {
  int result = 3;
  if (!FObjectToPrint)
    throw eVlxSUError(Name() + ".ObjectToPrint not assigned. Report cannot continue");
  if (Trim(FReportId).empty())
    throw eVlxSUError(Name() + ".ReportId is blank. Report cannot continue");
  fmVlxMain = nullptr;
  {
    TCursorGuard hourglass(crHourGlass);
    // The run binds its settings to the file manager; they die with the run, so no binding may
    // outlive it, whichever way it ends.
    struct TUnbind {
      TvlxFileMgr& Mgr;
      ~TUnbind() { Mgr.SetReportSettings(nullptr); }
    } unbind{*FFileMgr};
    result = RunUI().RunSetupWindow(*this);
    fmVlxMain = nullptr;
  }
  return result;
}

std::string TvlxVellumix::GetAppFileName(TComponent*, bool PathOnly, const std::string& Ext) {
  std::string base = Application->ExeName();
  if (PathOnly) return ExtractFilePath(base) + Ext;
  return Ext.empty() ? base : ChangeFileExt(base, Ext);
}

const TPropertyTable& TvlxVellumix::PropertyTable() const {
  static const TPropertyTable Table(&TComponent::PropertyTable(), {
      {"ObjectToPrint", Setter<TvlxVellumix>([](TvlxVellumix& V, const TLayoutValue& Value) {
         if (!Value.Reference) return TSetPropResult::NeedsReference;
         V.SetObjectToPrint(Value.Reference);
         return TSetPropResult::Done;
       })},
      {"DialogTitle", StringProperty(&TvlxVellumix::SetDialogTitle)},
      {"ReportId", StringProperty(&TvlxVellumix::SetReportId)},
      {"ReportSettingsFileName", StringProperty(&TvlxVellumix::SetReportSettingsFileName)},
      {"UserName", StringProperty(&TvlxVellumix::SetUserName)},
      {"Version", StringProperty(&TvlxVellumix::SetVersion)},
      {"AfterOptionsLoaded", EventProperty(&TvlxVellumix::AfterOptionsLoaded)},
      {"OnZeroColumnTotals", EventProperty(&TvlxVellumix::OnZeroColumnTotals)},
      {"OnFieldEdit", EventProperty(&TvlxVellumix::OnFieldEdit)},
      {"OnFieldAlign", EventProperty(&TvlxVellumix::OnFieldAlign)},
      {"OnCnvtFldError", EventProperty(&TvlxVellumix::OnCnvtFldError)},
      {"OnFilterRecord", EventProperty(&TvlxVellumix::OnFilterRecord)},
  });
  return Table;
}
