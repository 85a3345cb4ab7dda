// A run in progress for the engine tests: the run state, the styles, the adapter and the report
// settings, reached through the process-wide pointers as the engine reaches them.
#pragma once
#include <memory>

#include "engine/VLMXGbl/ObjInfo.h"
#include "engine/VLMXGbl/PrintSettings.h"
#include "engine/VLMXGbl/RptStyles.h"
#include "engine/Vellumix/ReportSettings.h"
#include "framework/Graphics.h"
#include "tests/support/HeadlessFixture.h"

class RunTest : public HeadlessTest {
protected:
  void SetUp() override {
    HeadlessTest::SetUp();
    PS = std::make_unique<TvlxPrintSettings>();
    PrintSettings = PS.get();
    RptStyles = &Styles;
    ObjInfo = &Info;
    RptSettings = &Settings;
  }
  void TearDown() override {
    PrintSettings = nullptr;
    RptStyles = nullptr;
    ObjInfo = nullptr;
    RptSettings = nullptr;
    PS.reset();
    HeadlessTest::TearDown();
  }

  TCanvas Canvas;
  std::unique_ptr<TvlxPrintSettings> PS;
  TRptStyles Styles;
  TObjInfo Info;
  TvlxReportSettings Settings;
};
