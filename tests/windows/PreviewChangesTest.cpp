#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <array>
#include <random>
#include <string>
#include <vector>

#include "engine/VLMXGbl/PrintSettings.h"
#include "engine/VLMXGbl/RunUI.h"
#include "engine/Vellumix/ReportSettings.h"
#include "engine/Vellumix/Vellumix.h"
#include "framework/Buttons.h"
#include "framework/ExtCtrls.h"
#include "framework/Grids.h"
#include "framework/StdCtrls.h"
#include "framework/Menus.h"
#include "framework/Dialogs.h"
#include "framework/rtl/FileUtils.h"
#include "framework/headless/IniFiles.h"
#include "framework/headless/Printers.h"
#include "framework/rtl/SysUtils.h"
#include "tests/support/HeadlessFixture.h"
#include "tests/support/TempDir.h"
#include "windows/VLMXMain/VLMXMain.h"
#include "windows/VLMXPrev/VLMXPrev.h"

namespace {

using TKeys = std::vector<std::string>;

class PreviewChangesTest : public HeadlessTest {
protected:
  void SetUp() override {
    HeadlessTest::SetUp();
    Headless::SetWindowsDirectory(Dir.Sub("win"));
    Host = new TForm(nullptr);
    Host->SetName("frmBooks");
    auto* Grid = new TStringGrid(Host);
    Grid->SetName("strgrd");
    Grid->SetColCount(3);
    Grid->SetRowCount(40);
    for (int R = 0; R < 40; ++R)
      for (int C = 0; C < 3; ++C) Grid->SetCells(C, R, R == 0 ? "Head" + std::to_string(C) : "R" + std::to_string(R) + "C" + std::to_string(C));
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
  void Section(const TKeys& Lines) {
    std::ofstream File(Dir / "Books.txt", std::ios::binary);
    File << "[Books (001.001)]\r\n";
    for (const std::string& Line : Lines) File << Line << "\r\n";
  }
  TTempDir Dir;
  TForm* Host = nullptr;
  TvlxVellumix* Vlx = nullptr;
};

// Types Text into Edit as the user does: focus in, the text, focus on to Next.
void Type(TCustomEdit* Edit, const std::string& Text, TWinControl* Next) {
  Edit->PeerFocusChanged(true);
  Edit->PeerTextEdited(Text);
  Next->PeerFocusChanged(true);
}

// The setup window runs its start and closes by itself after the preview it opened first; it
// never stays for the user here. Every other window is cancelled.
void Leave(TCustomForm& Form) {
  if (&Form == fmVlxMain) Application->ProcessMessages();
  EXPECT_NE(Form.ModalResult(), mrNone) << Form.Name() << " stayed open";
  if (Form.ModalResult() == mrNone) Form.SetModalResult(mrCancel);
}

int Questions() {
  int N = 0;
  for (const auto& Box : Headless::MessageBoxes())
    N += Box.Text == "Report Settings have been modified.\r\rSave New Report Settings?";
  return N;
}

// The output settings the preview's tool bar changes, as the model keeps them.
struct TOutput {
  int Dest = 0;  // 0 printer, 1 text file, 2 export
  std::string FileName;
  int IfExists = 0;
  int Lines = 60, Width = 80;
  bool operator==(const TOutput&) const = default;
};

const char* const DestNames[] = {"Printer", "Text File", "Export Data"};

// A file name follows its destination's extension when it has one of the known ones.
std::string FollowExt(const std::string& Name, int Dest) {
  if (Dest == 0) return Name;
  const std::string Ext = UpperCase(ExtractFileExt(Name));
  const std::string Wanted = Dest == 1 ? ".TXT" : ".ASC";
  if ((Ext != ".ASC" && Ext != ".TXT" && Ext != ".RTF") || Ext == Wanted) return Name;
  return ChangeFileExt(Name, Wanted);
}

// A key's value in a saved section; a key at its default is not written.
std::string Value(const std::string& File, const std::string& Key, const std::string& Default = "") {
  const size_t At = File.find("\r\n" + Key + "=");
  if (At == std::string::npos) return Default;
  const size_t From = At + Key.size() + 3;
  return File.substr(From, File.find("\r\n", From) - From);
}

}  // namespace

// Random sequences of the preview's own controls (destination, file name typed or browsed,
// existing-file choice, text page size, with page moves, zooms and prints between), then the
// preview that the start opened first is closed and the question answered: the question comes
// exactly when a setting changed, Cancel keeps the preview open, Yes writes what the model
// holds and No leaves the file as it was; the next Print shows the saved choices and prints
// what the preview printed with them.
TEST_F(PreviewChangesTest, ThePreviewsChangesArePrintedOfferedAndSavedAsTheModelSays) {
  std::mt19937 Random(7);
  const auto Pick = [&](int N) { return static_cast<int>(Random() % N); };
  const std::string Names[] = {Dir / "a.txt", Dir / "b.asc", Dir / "c.txt"};
  for (int Case = 0; Case < 60; ++Case) {
    Headless::Reset();
    TOutput Stored;
    Stored.Dest = Pick(2);
    Stored.FileName = FollowExt(Names[0], Stored.Dest);
    Section({"NumFixedCols=0", "OutputQuality=0", "DisplayProgressWin=0", "PauseAfterPrinting=0",
             "OutputDest=" + std::to_string(Stored.Dest), "OutputFileName=" + Stored.FileName, "LinesPerpage=60",
             "TxtCharsPageWid=80", "IfOutputFileExists=0"});
    const std::string Before = FileBytes(Dir / "Books.txt");
    TOutput Model = Stored;
    bool Changed = false;
    std::string Trace, Printed;
    const int Answer = std::array{mrYes, mrNo, mrCancel}[Pick(3)];
    int Asked = 0, Zoom = 0;
    bool KeptOpen = false;
    Headless::SetModalHandler([&](TCustomForm& Form) {
      if (&Form != fmVlxPreview) return Leave(Form);
      TfmVlxPreview& P = *fmVlxPreview;
      const auto Set = [&](auto& Field, auto Value) {
        Changed = Changed || Field != Value;
        Field = Value;
      };
      for (int Step = 0, Steps = 1 + Pick(5); Step < Steps; ++Step) {
        const bool File = Model.Dest != 0;
        switch (Pick(9)) {
          case 0: {
            const int Dest = Pick(3);
            Trace += " dest " + std::to_string(Dest);
            if (Dest == Model.Dest) break;
            P.cbxOutputDest->PeerItemChosen(Dest);
            Set(Model.Dest, Dest);
            Set(Model.FileName, FollowExt(Model.FileName, Dest));
            break;
          }
          case 1:
            if (!File) break;
            Trace += " name";
            Type(P.edOutputFileName, Names[Pick(3)], P.memPreview);
            Set(Model.FileName, FollowExt(P.edOutputFileName->Text(), Model.Dest));
            break;
          case 2: {
            if (!File) break;
            const std::string Name = Names[Pick(3)];
            Trace += " browse";
            Headless::QueueDialogAnswer([&](TCommonDialog& Dialog) {
              dynamic_cast<TSaveDialog&>(Dialog).SetFileName(Name);
              return true;
            });
            P.buBrowseFile->Click();
            // A name confirmed in the dialog is the user's choice even when it was the same.
            Changed = true;
            Set(Model.FileName, FollowExt(Name, Model.Dest));
            break;
          }
          case 3: {
            if (!File) break;
            const int Choice = Pick(2);
            Trace += " exists " + std::to_string(Choice);
            if (Choice == Model.IfExists) break;
            P.cbxIfOutputFileExists->PeerItemChosen(Choice);
            Set(Model.IfExists, Choice);
            break;
          }
          case 4:
          case 5: {
            if (Model.Dest != 1) break;
            const bool Lines = Pick(2);
            const int Number = Lines ? 20 + Pick(50) : 50 + Pick(60);
            Trace += (Lines ? " lines " : " width ") + std::to_string(Number);
            Type(Lines ? P.edLinesPerPage : P.edTxtCharsPageWid, std::to_string(Number), P.memPreview);
            Set(Lines ? Model.Lines : Model.Width, Number);
            break;
          }
          case 6:
            Trace += " next";
            P.sbNextPage->Click();
            break;
          case 7:
            Trace += " zoom";
            P.cmbZoomLevel->PeerItemChosen(Pick(8));
            break;
          case 8:
            Trace += " print";
            std::filesystem::remove(Model.FileName);
            P.cbxPrintWhatPages->PeerItemChosen(0);
            P.sbPrint->Click();
            ASSERT_EQ(PrintSettings->RunResult, 1) << Trace;
            break;
        }
      }
      SCOPED_TRACE(Trace);
      // What the preview prints with its choices, to compare with the next Print.
      if (Model.Dest != 0) std::filesystem::remove(Model.FileName);
      const size_t Docs = Headless::PrintedDocuments().size();
      P.cbxPrintWhatPages->PeerItemChosen(0);
      P.sbPrint->Click();
      ASSERT_EQ(PrintSettings->RunResult, 1);
      Printed = Model.Dest != 0 ? FileBytes(Model.FileName) : std::to_string(Headless::PrintedDocuments().size() - Docs);
      Zoom = StrToIntDef(StringReplace(P.cmbZoomLevel->Text(), "%", "", true), -1);
      Headless::QueueAnswer(Answer);
      P.sbExit->Click();
      Asked = Questions();
      KeptOpen = Form.ModalResult() == mrNone;
      if (KeptOpen) {
        Headless::QueueAnswer(mrNo);
        P.sbExit->Click();
      }
    });
    EXPECT_EQ(Vlx->Print(), 1);
    SCOPED_TRACE(Trace + " answer " + std::to_string(Answer));
    EXPECT_EQ(Asked, Changed ? 1 : 0);
    EXPECT_EQ(KeptOpen, Changed && Answer == mrCancel);
    // One question for one close: the setup window behind the preview does not ask again.
    EXPECT_EQ(Questions(), Changed ? 1 + KeptOpen : 0);
    EXPECT_EQ(fmVlxMain, nullptr);
    const bool Saved = Changed && Answer == mrYes;
    const TOutput Expected = Saved ? Model : Stored;
    const std::string After = FileBytes(Dir / "Books.txt");
    if (!Saved) {
      EXPECT_EQ(After, Before);
    } else {
      EXPECT_EQ(Value(After, "OutputDest", "0"), std::to_string(Expected.Dest));
      EXPECT_TRUE(SameText(Value(After, "OutputFileName"), Expected.FileName)) << Value(After, "OutputFileName");
      EXPECT_EQ(Value(After, "IfOutputFileExists", "0"), std::to_string(Expected.IfExists));
      EXPECT_EQ(Value(After, "LinesPerpage", "60"), std::to_string(Expected.Lines));
      EXPECT_EQ(Value(After, "TxtCharsPageWid", "80"), std::to_string(Expected.Width));
      // The zoom in force as the preview closed is kept with what the question saved.
      EXPECT_EQ(Value(After, "PreviewZoomLevel", "100"), std::to_string(Zoom));
    }

    // The next Print opens the preview on the saved choices, and prints what the first did.
    Headless::Reset();
    TOutput Shown;
    std::string Again;
    // An export is never previewed: the setup window shows instead, with the same choices.
    const auto Read = [&](TComboBox* Dest, TEdit* Name, TComboBox* Exists, TEdit* Lines, TEdit* Width) {
      Shown = {Dest->ItemIndex(), Name->Text(), Exists->ItemIndex(), StrToIntDef(Lines->Text(), -1),
               StrToIntDef(Width->Text(), -1)};
      if (Expected.Dest != 0) std::filesystem::remove(Expected.FileName);
    };
    const auto Output = [&] {
      return Expected.Dest != 0 ? FileBytes(Expected.FileName) : std::to_string(Headless::PrintedDocuments().size());
    };
    Headless::SetModalHandler([&](TCustomForm& Form) {
      if (&Form == fmVlxMain && Expected.Dest == 2) {
        Application->ProcessMessages();
        TfmVlxMain& F = *fmVlxMain;
        Read(F.cbxOutputDest, F.edOutputFileName, F.cbxIfOutputFileExists, F.edLinesPerPage, F.edTxtCharsPageWid);
        F.sbPrintClick(nullptr);
        Again = Output();
        return F.sbClose->Click();
      }
      if (&Form != fmVlxPreview) return Leave(Form);
      TfmVlxPreview& P = *fmVlxPreview;
      Read(P.cbxOutputDest, P.edOutputFileName, P.cbxIfOutputFileExists, P.edLinesPerPage, P.edTxtCharsPageWid);
      P.cbxPrintWhatPages->PeerItemChosen(0);
      P.sbPrint->Click();
      Again = Output();
      P.sbExit->Click();
    });
    Vlx->Print();
    EXPECT_EQ(Shown.Dest, Expected.Dest);
    EXPECT_TRUE(SameText(Shown.FileName, Expected.FileName)) << Shown.FileName;
    EXPECT_EQ(Shown.IfExists, Expected.IfExists);
    EXPECT_EQ(Shown.Lines, Expected.Lines);
    EXPECT_EQ(Shown.Width, Expected.Width);
    EXPECT_TRUE(Headless::MessageBoxes().empty()) << Headless::MessageBoxes().front().Text;
    if (Saved || !Changed) {
      EXPECT_EQ(Again, Printed);
    }
  }
}

// A change made in the preview that cannot be saved (a file in a folder that does not exist):
// Yes in the question keeps the preview open with the field's message on its status line and
// the focus on the file name, where the user corrects it; the next close saves the correction.
TEST_F(PreviewChangesTest, AChangeThatCannotBeSavedKeepsThePreviewOpenUntilCorrected) {
  Section({"NumFixedCols=0", "OutputQuality=0", "DisplayProgressWin=0", "PauseAfterPrinting=0"});
  const std::string Good = Dir / "good.txt";
  std::string Message;
  bool OpenAfterFirst = false, Focused = false;
  Headless::SetModalHandler([&](TCustomForm& Form) {
    if (&Form != fmVlxPreview) return Leave(Form);
    TfmVlxPreview& P = *fmVlxPreview;
    P.cbxOutputDest->PeerItemChosen(1);
    Type(P.edOutputFileName, Dir / "missing/out.txt", P.memPreview);
    Headless::QueueAnswer(mrYes);
    P.sbExit->Click();
    OpenAfterFirst = Form.ModalResult() == mrNone;
    Message = P.paMsg->Caption();
    Focused = P.ActiveControl() == P.edOutputFileName;
    Type(P.edOutputFileName, Good, P.memPreview);
    Headless::QueueAnswer(mrYes);
    P.sbExit->Click();
  });
  Vlx->Print();
  EXPECT_TRUE(OpenAfterFirst);
  EXPECT_TRUE(Focused);
  EXPECT_NE(Message.find("Directory does not exist"), std::string::npos) << Message;
  std::vector<std::string> Texts;
  for (const auto& Box : Headless::MessageBoxes()) Texts.push_back(Box.Text);
  const std::string Question = "Report Settings have been modified.\r\rSave New Report Settings?";
  EXPECT_EQ(Texts, (std::vector<std::string>{Question, "Unable to save report settings", Question}));
  EXPECT_EQ(fmVlxMain, nullptr);
  const std::string Saved = FileBytes(Dir / "Books.txt");
  EXPECT_EQ(Value(Saved, "OutputFileName"), Good);
  EXPECT_EQ(Value(Saved, "OutputDest"), "1");
}



// The preview of an export, from the File menu, shows the printer's pages: the export stays the
// report's destination afterwards, unmodified, and the next Print exports; a destination the
// user chose in that preview is kept instead, and offered for saving.
TEST_F(PreviewChangesTest, PreviewingAnExportLeavesTheExportChosen) {
  const std::string Export = Dir / "rows.asc";
  for (const bool ChooseTextFile : {false, true}) {
    Headless::Reset();
    Section({"NumFixedCols=0", "OutputQuality=0", "DisplayProgressWin=0", "PauseAfterPrinting=0", "OutputDest=2",
             "OutputFileName=" + Export, "PreviewFirst=0"});
    std::filesystem::remove(Export);
    std::string PreviewDest, After;
    bool Modified = true;
    Headless::SetModalHandler([&](TCustomForm& Form) {
      if (&Form == fmVlxPreview) {
        PreviewDest = fmVlxPreview->cbxOutputDest->Text();
        if (ChooseTextFile) fmVlxPreview->cbxOutputDest->PeerItemChosen(1);
        return fmVlxPreview->sbExit->Click();
      }
      if (&Form != fmVlxMain) return Form.SetModalResult(mrCancel);
      Application->ProcessMessages();
      TfmVlxMain& F = *fmVlxMain;
      F.mnFileClick(nullptr);
      ASSERT_TRUE(F.itmPreview->Enabled());
      F.itmPreview->Click();
      After = F.cbxOutputDest->Text();
      Modified = RptSettings->Modified;
      if (!ChooseTextFile) F.sbPrintClick(nullptr);
      Headless::QueueAnswer(mrNo);
      F.sbClose->Click();
    });
    Vlx->Print();
    EXPECT_EQ(PreviewDest, "Printer");
    EXPECT_EQ(After, ChooseTextFile ? "Text File" : "Export Data");
    EXPECT_EQ(Modified, ChooseTextFile);
    EXPECT_EQ(Questions(), ChooseTextFile ? 1 : 0);
    if (!ChooseTextFile) {
      EXPECT_EQ(FileBytes(Export).rfind("\"#\"\t\"Head0\"", 0), 0u) << FileBytes(Export);
      EXPECT_TRUE(Headless::PrintedDocuments().empty());
    }
    EXPECT_EQ(fmVlxMain, nullptr);
  }
}
