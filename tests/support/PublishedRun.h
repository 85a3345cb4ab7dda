// One report's component and run, published to the windows' references while it lives: what the
// golden reports and the benchmarks print through.
#pragma once
#include "engine/VLMXGbl/Run.h"
#include "engine/Vellumix/Vellumix.h"
#include "framework/Forms.h"

struct TPublishedRun {
  TPublishedRun() = default;
  TPublishedRun(const TPublishedRun&) = delete;
  TPublishedRun& operator=(const TPublishedRun&) = delete;

  // Owns the objects a report builds for itself; freed after the component that prints them.
  TForm Form{nullptr};
  TvlxVellumix Vlx{nullptr};
  TvlxRun TheRun;
  TvlxRunScope Scope{TheRun};
  TvlxReportSettings& Settings = TheRun.Settings;
  TvlxPrintSettings& Run = TheRun.State;
  TRptStyles& Styles = TheRun.Styles;
  TObjInfo& Info = TheRun.Adapter();
};
