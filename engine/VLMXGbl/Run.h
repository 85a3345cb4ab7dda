// One report run: the report settings, the run state, the styles and the adapter of the object
// being printed. Engine code takes the run by reference, and its parts reach each other through
// it. The report windows reach the run in progress through the process-wide references, which
// a TvlxRunScope sets for the life of the run.
#pragma once
#include <memory>

#include "engine/VLMXGbl/ObjInfo.h"
#include "engine/VLMXGbl/PrintSettings.h"
#include "engine/VLMXGbl/RptStyles.h"
#include "engine/VLMXGbl/RunPart.h"
#include "engine/Vellumix/ReportSettings.h"

class TvlxRun {
public:
  TvlxRun();
  ~TvlxRun();
  TvlxRun(const TvlxRun&) = delete;
  TvlxRun& operator=(const TvlxRun&) = delete;

  TvlxReportSettings Settings;
  TvlxPrintSettings State;
  TRptStyles Styles;
  TObjInfo& Adapter() const { return *FAdapter; }
  // A fresh adapter for the next report of the run, the object may have changed since; the old
  // one gives its object back.
  TObjInfo& RenewAdapter();

private:
  // Tells each part its run and the other parts.
  void Bind();
  std::unique_ptr<TObjInfo> FAdapter;
};

// Publishes a run to the process-wide references (RptSettings, PrintSettings, RptStyles,
// ObjInfo) for the life of the scope, ObjInfo following an adapter the run renews, and empties
// them afterwards, on every path.
class TvlxRunScope {
public:
  explicit TvlxRunScope(TvlxRun& Run);
  ~TvlxRunScope();
  TvlxRunScope(const TvlxRunScope&) = delete;
  TvlxRunScope& operator=(const TvlxRunScope&) = delete;
};
