#include "engine/VLMXGbl/Run.h"

TvlxRun::TvlxRun() : FAdapter(std::make_unique<TObjInfo>()) { Bind(); }

TvlxRun::~TvlxRun() = default;

TObjInfo& TvlxRun::RenewAdapter() {
  // A published run keeps the windows' reference on its adapter.
  const bool Published = ObjInfo == FAdapter.get();
  FAdapter.reset();
  FAdapter = std::make_unique<TObjInfo>();
  Bind();
  if (Published) ObjInfo = FAdapter.get();
  return *FAdapter;
}

void TvlxRun::Bind() {
  for (TvlxRunPart* Part : {static_cast<TvlxRunPart*>(&State), static_cast<TvlxRunPart*>(&Styles),
                            static_cast<TvlxRunPart*>(FAdapter.get())}) {
    Part->FRun = this;
    Part->FSettings = &Settings;
    Part->FState = &State;
    Part->FStyles = &Styles;
    Part->FAdapter = FAdapter.get();
  }
}

TvlxRunScope::TvlxRunScope(TvlxRun& Run) {
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
