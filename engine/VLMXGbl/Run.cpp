#include "engine/VLMXGbl/Run.h"

TvlxReportSettings& TvlxRunPart::Settings() const { return Run().Settings; }
TvlxPrintSettings& TvlxRunPart::State() const { return Run().State; }
TRptStyles& TvlxRunPart::Styles() const { return Run().Styles; }
TObjInfo& TvlxRunPart::Adapter() const { return Run().Adapter(); }

TvlxRun::TvlxRun() : FAdapter(std::make_unique<TObjInfo>()) {
  State.FRun = this;
  Styles.FRun = this;
  FAdapter->FRun = this;
}

TvlxRun::~TvlxRun() = default;

TObjInfo& TvlxRun::RenewAdapter() {
  FAdapter.reset();
  FAdapter = std::make_unique<TObjInfo>();
  FAdapter->FRun = this;
  return *FAdapter;
}

TvlxRunScope::TvlxRunScope(TvlxRun& Run) : FRun(Run) {
  RptSettings = &Run.Settings;
  PrintSettings = &Run.State;
  RptStyles = &Run.Styles;
  ObjInfo = &Run.Adapter();
}

TvlxRunScope::~TvlxRunScope() {
  ObjInfo = nullptr;
  RptStyles = nullptr;
  PrintSettings = nullptr;
  RptSettings = nullptr;
}

void TvlxRunScope::Refresh() { ObjInfo = &FRun.Adapter(); }
