#include "engine/VLMXGbl/RunUI.h"

#include "engine/VLMXGbl0.h"

TfmVlxMain* fmVlxMain = nullptr;

namespace {
TvlxRunUI NoUI;
TvlxRunUI* Registered = nullptr;
}  // namespace

TvlxRunUI& RunUI() { return Registered ? *Registered : NoUI; }

void SetRunUI(TvlxRunUI* UI) { Registered = UI; }

void TvlxRunUI::ProgressStart(bool, const std::string&, const std::string&, const std::string&) {}
void TvlxRunUI::ProgressAdvance(int, int&, TPoint) {}
void TvlxRunUI::ProgressFinish(bool, const std::string&) {}
void TvlxRunUI::CheckSuspend() {}
TvlxRowsAnswer TvlxRunUI::AskSelectedRows(int) { return TvlxRowsAnswer::Cancel; }
TvlxExistingFileAnswer TvlxRunUI::AskExistingFile(const std::string&) { return TvlxExistingFileAnswer::Cancel; }
bool TvlxRunUI::AskRetryBusyLock(const std::string&) { return false; }
void TvlxRunUI::ShowMessage(const std::string&, unsigned) {}
void TvlxRunUI::ShowPagesAcross(TControl&, int, bool) {}

int TvlxRunUI::RunSetupWindow(TvlxVellumix&) {
  throw eVlxIntError("[TvlxVellumix.Print] **\rNo report windows are registered");
}
