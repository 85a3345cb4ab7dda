// Page controls, combo boxes, memos, check lists and up-downs: the events that code and the
// user's input fire, the vetoes and clamps the windows rely on.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/CheckLst.h"
#include "framework/ComCtrls.h"
#include "framework/ExtCtrls.h"
#include "framework/Forms.h"
#include "framework/Layout.h"
#include "framework/StdCtrls.h"
#include "tests/support/HeadlessFixture.h"

namespace {

class TPagesForm : public TForm {
public:
  explicit TPagesForm(TComponent* AOwner) : TForm(AOwner) {
    PublishedMethod("Changing", TTabChangingEvent([this](TObject*, bool& Allow) {
      Log.push_back("changing");
      Allow = AllowChange;
    }));
    PublishedMethod("Changed", TNotifyEvent([this](TObject*) { Log.push_back("changed"); }));
  }
  std::vector<std::string> Log;
  bool AllowChange = true;
};

}  // namespace

TEST_F(HeadlessTest, PageControlPagesParentControlsAndOnlyTheUsersTabChoiceAsksAndFires) {
  TPagesForm form(nullptr);
  ReadLayoutText(&form,
                 "TPagesForm f\n"
                 "  TPageControl pc\n"
                 "    Width = 300\n"
                 "    Height = 200\n"
                 "    ActivePage = tsB\n"
                 "    OnChanging = Changing\n"
                 "    OnChange = Changed\n"
                 "    TTabSheet tsA\n"
                 "    TTabSheet tsHidden\n"
                 "      TabVisible = false\n"
                 "    TTabSheet tsB\n");
  auto* pc = As<TPageControl>(form.FindComponent("pc"));
  auto* tsA = As<TTabSheet>(form.FindComponent("tsA"));
  auto* tsHidden = As<TTabSheet>(form.FindComponent("tsHidden"));
  auto* tsB = As<TTabSheet>(form.FindComponent("tsB"));
  ASSERT_TRUE(pc && tsA && tsHidden && tsB);
  EXPECT_EQ(pc->ActivePage(), tsB) << "a page named before it is read";
  EXPECT_EQ(tsB->TabIndex(), 1);
  EXPECT_EQ(tsHidden->TabIndex(), -1);
  EXPECT_EQ(tsB->PageIndex(), 2);

  // The user clicks tab 0: refused, then allowed.
  form.AllowChange = false;
  if (pc->PeerChanging()) pc->PeerTabChosen(0);
  EXPECT_EQ(pc->ActivePage(), tsB);
  form.AllowChange = true;
  if (pc->PeerChanging()) pc->PeerTabChosen(0);
  EXPECT_EQ(pc->ActivePage(), tsA);
  EXPECT_TRUE(tsA->Visible());
  EXPECT_FALSE(tsB->Visible());
  EXPECT_EQ(form.Log, (std::vector<std::string>{"changing", "changing", "changed"}));

  // Code changes fire nothing; hiding the active tab moves to the tab now in its place.
  form.Log.clear();
  pc->SetActivePage(tsB);
  tsB->SetTabVisible(false);
  EXPECT_EQ(pc->ActivePage(), tsA);
  tsA->SetTabVisible(false);
  EXPECT_EQ(pc->ActivePage(), nullptr);
  EXPECT_TRUE(form.Log.empty());
}

TEST_F(HeadlessTest, ComboBoxTextAndItemIndexFollowEachOtherAndOnlyTextChangesFire) {
  TForm form(nullptr);
  auto* cb = new TComboBox(&form);
  for (const char* item : {"Printer", "Text File", "Export Data"}) cb->Items().Add(item);
  std::vector<std::string> log;
  cb->OnChange = [&](TObject*) { log.push_back("change:" + cb->Text()); };
  cb->OnClick = [&](TObject*) { log.push_back("click"); };

  struct Step {
    std::function<void()> Do;
    std::string Text;
    int ItemIndex;
    std::vector<std::string> Fired;
  };
  const Step steps[] = {
      {[&] { cb->SetItemIndex(1); }, "Text File", 1, {}},
      {[&] { cb->SetText("export data"); }, "export data", 2, {"change:export data"}},
      {[&] { cb->SetText("export data"); }, "export data", 2, {}},
      {[&] { cb->PeerTextEdited("Pri"); }, "Pri", -1, {"change:Pri"}},
      {[&] { cb->PeerItemChosen(0); }, "Printer", 0, {"click", "change:Printer"}},
      {[&] { cb->Items().Insert(0, "Screen"); }, "Printer", 1, {}},
      {[&] { cb->SetItemIndex(9); }, "", -1, {}},
      {[&] { cb->SetStyle(TComboBoxStyle::csDropDownList); cb->SetText("text file"); }, "Text File", 2, {}},
      {[&] { cb->SetText("nothing"); }, "", -1, {}},
      // Emptied, the list no longer holds the shown text.
      {[&] { cb->SetItemIndex(1); cb->Items().Clear(); }, "Printer", -1, {}},
  };
  for (size_t i = 0; i < std::size(steps); ++i) {
    log.clear();
    steps[i].Do();
    EXPECT_EQ(cb->Text(), steps[i].Text) << "step " << i;
    EXPECT_EQ(cb->ItemIndex(), steps[i].ItemIndex) << "step " << i;
    EXPECT_EQ(log, steps[i].Fired) << "step " << i;
  }
}

TEST_F(HeadlessTest, MemoLinesEditTheTextAndOnlyTypingMarksItModified) {
  TForm form(nullptr);
  auto* memo = new TMemo(&form);
  int changes = 0;
  memo->OnChange = [&](TObject*) { ++changes; };
  memo->SetText("a\r\nb");
  memo->Lines().Add("c");
  memo->Lines().Insert(0, "zero");
  memo->Lines().Delete(1);
  EXPECT_EQ(memo->Text(), "zero\r\nb\r\nc");
  EXPECT_EQ(changes, 4);
  EXPECT_FALSE(memo->Modified());
  memo->PeerTextEdited("zero\r\nBee\r\nc");
  EXPECT_TRUE(memo->Modified());
  EXPECT_EQ(changes, 5);

  // Caret as line and column; a column past the line's end stops at it.
  const struct { TPoint Set; int SelStart; TPoint Get; } Carets[] = {
      {{3, 1}, 9, {3, 1}}, {{0, 1}, 6, {0, 1}}, {{0, 2}, 11, {0, 2}}, {{9, 0}, 4, {4, 0}}};
  for (const auto& C : Carets) {
    memo->SetCaretPos(C.Set);
    EXPECT_EQ(memo->SelStart(), C.SelStart);
    EXPECT_EQ(memo->CaretPos(), C.Get) << C.SelStart;
  }

  // Scrolling stops at the last line; the caret's line comes into view.
  memo->ScrollLines(10);
  EXPECT_EQ(memo->FirstVisibleLine(), 2);
  memo->SetCaretPos({0, 0});
  memo->ScrollCaret();
  EXPECT_EQ(memo->FirstVisibleLine(), 0);
  memo->SelectAll();
  memo->CopyToClipboard();
  EXPECT_EQ(Headless::ClipboardText(), "zero\r\nBee\r\nc");
  memo->SetText("");
  EXPECT_EQ(memo->SelLength(), 0) << "the selection stays inside the text";
}

TEST_F(HeadlessTest, CheckListChecksFromCodeFireNothingAndFollowTheirLines) {
  TForm form(nullptr);
  auto* list = new TCheckListBox(&form);
  for (const char* item : {"Borders", "Column Titles", "Column Totals"}) list->Items().Add(item);
  std::vector<int> clicked;
  list->OnClickCheck = [&](TObject*) { clicked.push_back(list->ItemIndex()); };
  list->SetChecked(2, true);
  EXPECT_TRUE(clicked.empty());
  list->PeerSelectionChanged({}, 1);
  list->PeerCheckToggled(1);
  EXPECT_EQ(clicked, std::vector<int>{1});
  list->Items().Delete(0);
  EXPECT_TRUE(list->Checked(0));
  EXPECT_TRUE(list->Checked(1));
  list->Items().Insert(0, "Borders");
  EXPECT_FALSE(list->Checked(0));
  EXPECT_THROW_MSG(list->Checked(3), EListError, "List index out of bounds (3)");
}

TEST_F(HeadlessTest, UpDownClampsWritesItsEditAndAsksBeforeAClickMovesIt) {
  TForm form(nullptr);
  auto* edit = new TEdit(&form);
  auto* spin = new TUpDown(&form);
  edit->SetParent(&form);
  spin->SetParent(&form);
  edit->SetBounds(10, 10, 60, 21);
  spin->SetMax(1000);
  spin->SetAssociate(edit);
  EXPECT_EQ(spin->Left(), edit->Left() + edit->Width());
  std::vector<std::string> log;
  edit->OnChange = [&](TObject*) { log.push_back("edit:" + edit->Text()); };
  spin->OnClick = [&](TObject*, TUDBtnType B) { log.push_back(B == TUDBtnType::btNext ? "up" : "down"); };
  bool allow = true;
  spin->OnChanging = [&](TObject*, bool& Allow) { Allow = allow; };

  struct Step {
    std::function<void()> Do;
    int Position;
    std::vector<std::string> Fired;
  };
  const Step steps[] = {
      {[&] { spin->SetPosition(2000); }, 1000, {"edit:1,000"}},
      {[&] { spin->SetThousands(false); }, 1000, {"edit:1000"}},
      {[&] { spin->PeerArrowClicked(TUDBtnType::btNext); }, 1000, {"up"}},
      {[&] { spin->PeerArrowClicked(TUDBtnType::btPrev); }, 999, {"edit:999", "down"}},
      {[&] { allow = false; spin->PeerArrowClicked(TUDBtnType::btPrev); }, 999, {}},
      {[&] { allow = true; spin->SetPosition(-5); }, 0, {"edit:0"}},
      {[&] { spin->SetWrap(true); spin->PeerArrowClicked(TUDBtnType::btPrev); }, 1000, {"edit:1000", "down"}},
      {[&] { edit->SetText("75"); spin->PeerArrowClicked(TUDBtnType::btNext); }, 76, {"edit:75", "edit:76", "up"}},
      {[&] { edit->SetText("7x"); spin->PeerArrowClicked(TUDBtnType::btNext); }, 77, {"edit:7x", "edit:77", "up"}},
  };
  for (size_t i = 0; i < std::size(steps); ++i) {
    log.clear();
    steps[i].Do();
    EXPECT_EQ(spin->Position(), steps[i].Position) << "step " << i;
    EXPECT_EQ(log, steps[i].Fired) << "step " << i;
  }
  delete edit;
  spin->SetPosition(5);
  EXPECT_EQ(spin->Associate(), nullptr);
}
