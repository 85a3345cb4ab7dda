#include <gtest/gtest.h>

#include "engine/VLMXGbl0.h"
#include "engine/Vellumix/ReportId.h"
#include "engine/Vellumix/Vellumix.h"
#include "framework/ComCtrls.h"
#include "framework/DBGrids.h"
#include "framework/DBTables.h"
#include "framework/DecisionGrid.h"
#include "framework/Forms.h"
#include "framework/Grids.h"
#include "framework/StdCtrls.h"
#include "tests/support/HeadlessFixture.h"

namespace {

template <class T>
T* Named(TComponent* Owner, const std::string& Name) {
  auto* c = new T(Owner);
  c->SetName(Name);
  return c;
}

}  // namespace

TEST_F(HeadlessTest, AutomaticChoiceTakesTheFirstOfTheHighestPriority) {
  // The parts of a window, in order, and the one a component dropped on it picks.
  const std::pair<std::function<void(TForm&)>, std::string> Cases[] = {
      {[](TForm& f) { Named<TListBox>(&f, "lbx"); Named<TStringGrid>(&f, "grid"); Named<TQuery>(&f, "qry"); }, "grid"},
      {[](TForm& f) { new TStringGrid(&f); Named<TStringGrid>(&f, "first"); Named<TStringGrid>(&f, "second"); }, "first"},
      {[](TForm& f) { Named<TDBGrid>(&f, "db"); Named<TDecisionGrid>(&f, "cube"); }, "cube"},
      {[](TForm& f) { Named<TListView>(&f, "lv"); Named<TDBGrid>(&f, "db"); }, "db"},
      {[](TForm& f) { Named<TCustomDBGrid>(&f, "custom"); Named<TListView>(&f, "lv"); }, "custom"},
      {[](TForm& f) { Named<TTable>(&f, "tbl"); Named<TQuery>(&f, "qry"); }, "qry"},
      {[](TForm& f) { Named<TDataSet>(&f, "ds"); Named<TTable>(&f, "tbl"); }, "tbl"},
      {[](TForm& f) { Named<TDataSet>(&f, "ds"); Named<TButton>(&f, "btn"); }, "ds"},
      {[](TForm& f) { Named<TButton>(&f, "btn"); }, "(none)"},
  };
  for (const auto& [Populate, Winner] : Cases) {
    TForm form(nullptr);
    Populate(form);
    TComponent* chosen = (new TvlxVellumix(&form))->ObjectToPrint();
    EXPECT_EQ(chosen ? chosen->Name() : "(none)", Winner);
  }
  // Only a window owner gets a choice.
  TComponent plain(nullptr);
  Named<TStringGrid>(&plain, "grid");
  EXPECT_EQ((new TvlxVellumix(&plain))->ObjectToPrint(), nullptr);
}

TEST_F(HeadlessTest, ObjectToPrintRefusesOtherClassesAndForgetsADestroyedObject) {
  TForm form(nullptr);
  form.SetName("frmMain");
  auto* grid = Named<TStringGrid>(&form, "grid");
  TButton orphan(nullptr);
  orphan.SetName("lone");
  TvlxVellumix vlx(nullptr);
  vlx.SetObjectToPrint(grid);
  for (auto [button, path] : {std::pair<TComponent*, std::string>{Named<TButton>(&form, "btnGo"), "frmMain.btnGo"},
                              {&orphan, ".lone"}})
    EXPECT_THROW_MSG(vlx.SetObjectToPrint(button), eVlxSUError,
                     "Vellumix! Setup Error: \r\rThe TvlxVellumix.ObjectToPrint property is set to a component:\"" +
                         path + "\" that cannot be printed by Vellumix! Version 1.58g CS");
  EXPECT_EQ(vlx.ObjectToPrint(), grid);
  delete grid;
  EXPECT_EQ(vlx.ObjectToPrint(), nullptr);
  vlx.SetObjectToPrint(nullptr);
}

TEST(ReportIdSyntax, AcceptsOnlyALastWordOfNineCharacters) {
  for (std::string id : {"Sales by region (012.345)", "(012.345)", "  (000.999)  "})
    EXPECT_TRUE(ValidateReportId(id, false)) << id;
  for (std::string id : {"(12.345)", "(012,345)", "(012.345", "Report(012.345)", "", "(0a2.345)",
                         "(012.345) trailing", "[012.345]", "Sales\r\nby region (012.345)", "Sales\n(012.345)",
                         "Sales\r(012.345)"})
    EXPECT_FALSE(ValidateReportId(id, false)) << id;

  std::string broken = "Sales (12.345)";
  EXPECT_TRUE(ValidateReportId(broken, true));
  EXPECT_TRUE(ValidateReportId(broken, false)) << broken;
  EXPECT_EQ(broken.size(), 9u) << "the optional text is dropped";
}

TEST(ReportIdSyntax, GeneratedIdsAreZeroPaddedAndNeverZero) {
  for (int i = 0; i < 500; ++i) {
    std::string id = NewReportIdSuffix();
    ASSERT_TRUE(ValidateReportId(id, false)) << id;
    EXPECT_NE(id.substr(1, 3), "000");
    EXPECT_NE(id.substr(5, 3), "000");
  }
}

TEST_F(HeadlessTest, ReportIdWriterChecksOnlyWhatIsNotStored) {
  TvlxVellumix vlx(nullptr);
  vlx.SetReportId("Books (004.116)");
  EXPECT_THROW_MSG(vlx.SetReportId(""), eVlxSUError,
                   "Vellumix! Setup Error: TvlxVellumix.ReportId \"\" is invalid.\rReportId syntax must be "
                   "of \"OptionalText (nnn.mmm)\" where n and m are 0..9");
  EXPECT_EQ(vlx.ReportId(), "Books (004.116)");
  vlx.SetComponentStateBit(csLoading, true);  // a stored value is taken as it stands
  vlx.SetReportId("not checked");
  vlx.SetComponentStateBit(csLoading, false);
  EXPECT_EQ(vlx.ReportId(), "not checked");

}

TEST_F(HeadlessTest, PrintChecksItsObjectThenItsStoredIdBeforeTouchingTheCursor) {
  TForm form(nullptr);
  auto* vlx = Named<TvlxVellumix>(&form, "VlxVellumix1");
  EXPECT_THROW_MSG(vlx->Print(), eVlxSUError,
                   "Vellumix! Setup Error: VlxVellumix1.ObjectToPrint not assigned. Report cannot continue");
  vlx->SetObjectToPrint(Named<TStringGrid>(&form, "grid"));
  vlx->SetComponentStateBit(csLoading, true);
  vlx->SetReportId("   ");
  vlx->SetComponentStateBit(csLoading, false);
  EXPECT_THROW_MSG(vlx->Print(), eVlxSUError,
                   "Vellumix! Setup Error: VlxVellumix1.ReportId is blank. Report cannot continue");
  EXPECT_TRUE(Headless::CursorChanges().empty());
}

