// A report printed without the setup window: its component, the owner of whatever object it
// makes to print, and its run, published to the windows' references while it lives. The golden
// reports and the benchmarks start and print their runs on it (RunStart.h).
#pragma once
#include "engine/VLMXGbl/Run.h"
#include "engine/Vellumix/Vellumix.h"
#include "framework/Forms.h"

struct TPublishedRun {
  TPublishedRun() { Info.Component = &Vlx; }
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
