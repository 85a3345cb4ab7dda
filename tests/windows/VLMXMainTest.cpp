#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/ComCtrls.h"
#include "framework/ExtCtrls.h"
#include "framework/StdCtrls.h"
#include "tests/support/HeadlessFixture.h"
#include "windows/VLMXMain/VLMXMain.h"

namespace {

std::vector<std::string> Lines(const TStrings& Items) {
  std::vector<std::string> lines;
  for (int i = 0; i < Items.Count(); ++i) lines.push_back(Items[i]);
  return lines;
}

bool Overlap(const TRect& A, const TRect& B) {
  return A.Left < B.Right && B.Left < A.Right && A.Top < B.Bottom && B.Top < A.Bottom;
}

// Every shown control of Parent lies inside it and clear of its shown siblings; labels that
// size themselves to their text are left to the look of the real window.
void ExpectTidy(const TWinControl& Parent, std::vector<std::string>& Faults) {
  std::vector<const TControl*> shown;
  for (int i = 0; i < Parent.ControlCount(); ++i) {
    const TControl* c = Parent.Controls(i);
    auto* label = dynamic_cast<const TLabel*>(c);
    if (!c->Visible() || (label && label->AutoSize())) continue;
    const TRect r = c->BoundsRect();
    if (!dynamic_cast<const TTabSheet*>(c) &&
        (r.Left < 0 || r.Top < 0 || r.Right > Parent.ClientWidth() || r.Bottom > Parent.ClientHeight()))
      Faults.push_back(c->Name() + " sticks out of " + Parent.Name());
    for (const TControl* other : shown)
      if (Overlap(r, other->BoundsRect())) Faults.push_back(c->Name() + " overlaps " + other->Name());
    shown.push_back(c);
  }
  for (int i = 0; i < Parent.ControlCount(); ++i)
    if (auto* child = dynamic_cast<const TWinControl*>(Parent.Controls(i))) ExpectTidy(*child, Faults);
}

class SetupWindowTest : public HeadlessTest {
protected:
  void SetUp() override {
    HeadlessTest::SetUp();
    Form = new TfmVlxMain(nullptr);
  }
  void TearDown() override {
    delete Form;
    HeadlessTest::TearDown();
  }
  TfmVlxMain* Form = nullptr;
};

TEST_F(SetupWindowTest, PagesComeInOrderWithGeneralInFront) {
  std::vector<std::string> captions;
  for (int i = 0; i < Form->pcOptions->PageCount(); ++i) captions.push_back(Form->pcOptions->Pages(i)->Caption());
  EXPECT_EQ(captions, (std::vector<std::string>{"General", "Output", "Style", "Titles", "Setup"}));
  EXPECT_EQ(Form->pcOptions->ActivePage(), Form->tsGeneral);
  EXPECT_EQ(Form->tsOutput->Tag, 1);
  EXPECT_EQ(Form->pcStyles->ActivePage(), Form->tsFixedSpacedFont);
}

// The Tags are the stored codes that the settings transfer reads off the controls.
TEST_F(SetupWindowTest, TagsCarryThePrintWhatCodesAndThePageNumbers) {
  const std::vector<std::pair<TControl*, int>> tags = {
      {Form->rbPrintWhatAll, 0},           {Form->rbPrintWhatCurrentPage, 1},
      {Form->rbPrintWhatCurrentBranchAll, 2}, {Form->rbPrintWhatCurrentBranchDown, 3},
      {Form->rbPrintWhatTestPage, 4},      {Form->rbPrintWhatWindowSnapshot, 5},
      {Form->rbPrintWhatPageRange, 6},     {Form->rbPrintWhatSelectedRows, 7},
      {Form->rbPrintWhatCompleteBranches, 8},
      {Form->cbShowGeneralPage, 1},        {Form->cbShowOutputPage, 2},
      {Form->cbShowStylePage, 3},          {Form->cbShowTitlesPage, 4},
      {Form->cbShowSetupPage, 0}};
  for (auto& [control, tag] : tags) EXPECT_EQ(control->Tag, tag) << control->Name();
}

// A coded setting is the position of the combo's text among its items.
TEST_F(SetupWindowTest, ListsHoldTheirItemsInCodeOrder) {
  using TItems = std::vector<std::string>;
  const std::vector<std::pair<const TStrings*, TItems>> lists = {
      {&Form->cbxOutputDest->Items(), {"Printer", "Text File", "Export Data"}},
      {&Form->cbxIfOutputFileExists->Items(), {"Overwrite", "Append", "Ask User"}},
      {&Form->cmbSnapshotSize->Items(),
       {"Current Window Size with Proportional Scale", "Current Window Size with Print To Fit",
        "Current Window Size with Same Scale", "Maximize Window with Proportional Scale",
        "Maximize Window with Print To Fit", "Maximize Window with Same Scale"}},
      {&Form->cbxColTitleAlignment->Items(), {"Left Justify", "Right Justify", "Center Justify"}},
      {&Form->cbxReportAlignment->Items(), {"Left Justify", "Right Justify", "Center Justify"}},
      {&Form->cbxAutoSizze->Items(), {"AutoSize All Rows", "Limit Rows to AutoSize", "Use Current Column Sizes"}},
      {&Form->cmbExportFieldDelim->Items(), {"Tab", "Comma"}},
      {&Form->cmbExportQuote->Items(), {"Double Quote", "Single Quote"}},
      {&Form->cbxOrientation->Items(), {"Portrait", "Landscape", "Printer Default"}},
      {&Form->cbxOutputQuality->Items(), {}},
      {&Form->cmbPrinters->Items(), {}},
      {&Form->lbxMemoLocation->Items(),
       {"Report Title", "Report Header Memo", "Page Title", "Page Header Memo", "Page Footer Memo",
        "Page Number Memo", "Report Footer Memo"}}};
  for (size_t i = 0; i < lists.size(); ++i) EXPECT_EQ(Lines(*lists[i].first), lists[i].second) << "list " << i;
}

TEST_F(SetupWindowTest, AreasStackAndNoControlOverlapsAnotherOnAnyPage) {
  EXPECT_EQ(Form->ClientWidth(), 658);
  EXPECT_EQ(Form->ClientHeight(), 431);
  EXPECT_EQ(Form->paTop->BoundsRect(), (TRect{0, 0, 658, 32}));
  EXPECT_EQ(Form->paMiddle->BoundsRect(), (TRect{0, 32, 658, 387}));
  EXPECT_EQ(Form->paBottom->BoundsRect(), (TRect{0, 387, 658, 431}));
  // Every page is looked at, shown or not.
  std::vector<std::string> faults;
  ExpectTidy(*Form, faults);
  EXPECT_EQ(faults, std::vector<std::string>{});
}

}  // namespace
