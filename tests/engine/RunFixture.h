// A run in progress for the engine tests: the run state, the styles, the adapter and the report
// settings of one run, published to the windows' references as a real run publishes them.
#pragma once
#include "engine/VLMXGbl/Run.h"
#include "framework/Graphics.h"
#include "framework/Printers.h"
#include "tests/support/HeadlessFixture.h"

class RunTest : public HeadlessTest {
protected:
  void SetUp() override {
    HeadlessTest::SetUp();
    PS->Canvas = Printer()->Canvas();  // the fresh desktop's printer
  }

  TCanvas Canvas;
  TvlxRun TheRun;
  TvlxRunScope Scope{TheRun};
  TvlxPrintSettings* const PS = &TheRun.State;
  TRptStyles& Styles = TheRun.Styles;
  TObjInfo& Info = TheRun.Adapter();
  TvlxReportSettings& Settings = TheRun.Settings;
};
