// A report in text units on the fake laser printer's page, as the setup window leaves it before
// a run: character output, column titles on, the line-number column hidden, no width caps.
#pragma once
#include "engine/VLMXGbl/LineDraw.h"
#include "framework/Printers.h"
#include "tests/engine/AdapterFixture.h"

class TextReportTest : public AdapterTest {
protected:
  void SetUp() override {
    AdapterTest::SetUp();
    Run->Canvas = Printer()->Canvas();
    Run->PageSetupChanged = true;
    Run->GetResolutions();
    Settings->OutputQuality = 0;
    Settings->TextFontName = "Courier New";
    Settings->HideColumns = "~Line#";
    Settings->MaxStringColWidTxt = Settings->MaxMemoColWidTxt = 999;
    Settings->GridChrsAscii = DefaultGridChrsAscii;
    Settings->GridChrsIbm = DefaultGridChrsIbm;
    Settings->SetItemOpt(ioColumnTitles, true);
    Run->WorkFontSize = 12;
  }
};
