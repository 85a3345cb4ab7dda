// A host form holding a string grid "strgrd" and the report component "vlxBooks" after it, with
// the report's settings file and the Windows directory in a temporary folder: the host the
// setup window's tests start their reports from. Each test fills the grid as it needs.
#pragma once
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "engine/Vellumix/ReportSettings.h"
#include "engine/Vellumix/Vellumix.h"
#include "framework/Forms.h"
#include "framework/Grids.h"
#include "framework/headless/IniFiles.h"
#include "tests/support/HeadlessFixture.h"
#include "tests/support/TempDir.h"
#include "windows/VLMXMain/VLMXMain.h"
#include "windows/VLMXPrev/VLMXPrev.h"

class ReportHostTest : public HeadlessTest {
protected:
  void SetUp() override {
    HeadlessTest::SetUp();
    Headless::SetWindowsDirectory(Dir.Sub("win"));
    Host = new TForm(nullptr);
    Host->SetName("frmBooks");
    Grid = new TStringGrid(Host);
    Grid->SetName("strgrd");
    Vlx = new TvlxVellumix(Host);
    Vlx->SetName("vlxBooks");
    Vlx->SetDialogTitle("Books");
    Vlx->SetReportSettingsFileName(Dir / "Books.txt");
    Vlx->SetReportId("Books (001.001)");
  }
  void TearDown() override {
    delete Host;
    HeadlessTest::TearDown();
  }

  // The report's section of the settings file, holding these "Key=Value" lines.
  void Section(const std::vector<std::string>& Lines) {
    std::ofstream File(Dir / "Books.txt", std::ios::binary);
    File << "[Books (001.001)]\r\n";
    for (const std::string& Line : Lines) File << Line << "\r\n";
  }

  // Prints with the setup window shown: Script plays the user on it once the start is done, and
  // OnPreview on a preview when one opens (which is then closed); every other modal window is
  // cancelled. The setup window is closed afterwards, its changes unsaved, unless the script
  // closed it.
  int PrintWithWindow(const std::function<void(TfmVlxMain&)>& Script,
                      const std::function<void(TfmVlxPreview&)>& OnPreview = nullptr) {
    Headless::SetModalHandler([&](TCustomForm& Form) {
      if (&Form == fmVlxPreview && OnPreview) {
        OnPreview(*fmVlxPreview);
        return Form.SetModalResult(mrCancel);
      }
      if (&Form != fmVlxMain) return Form.SetModalResult(mrCancel);
      Application->ProcessMessages();
      Script(*fmVlxMain);
      if (Form.ModalResult() == mrNone) {
        RptSettings->Modified = false;
        Form.SetModalResult(mrCancel);
      }
    });
    return Vlx->Print();
  }

  TTempDir Dir;
  TForm* Host = nullptr;
  TStringGrid* Grid = nullptr;
  TvlxVellumix* Vlx = nullptr;
};
