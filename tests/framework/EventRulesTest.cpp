// The events that setting a property from code fires: the program's guard flags count on
// these being the platform's.
#include <gtest/gtest.h>

#include "framework/Forms.h"
#include "framework/StdCtrls.h"
#include "tests/support/HeadlessFixture.h"

TEST_F(HeadlessTest, EditTextFromCodeFiresOnChangeLikeTypingButOnlyTypingMarksModified) {
  TForm form(nullptr);
  auto* edit = new TEdit(&form);
  int changes = 0;
  edit->OnChange = [&](TObject* Sender) { EXPECT_EQ(Sender, edit); ++changes; };
  edit->SetText("abc");
  EXPECT_EQ(changes, 1);
  edit->SetText("abc");
  EXPECT_EQ(changes, 1);
  EXPECT_FALSE(edit->Modified());
  edit->PeerTextEdited("abcd");
  EXPECT_EQ(changes, 2);
  EXPECT_TRUE(edit->Modified());
  EXPECT_EQ(edit->Text(), "abcd");
}

TEST_F(HeadlessTest, CheckedFromCodeFiresOnClickOnlyOnAChange) {
  TForm form(nullptr);
  auto* box = new TCheckBox(&form);
  int clicks = 0;
  box->OnClick = [&](TObject*) { ++clicks; };
  box->SetChecked(true);
  box->SetChecked(true);
  box->SetChecked(false);
  EXPECT_EQ(clicks, 2);
  box->PeerToggled();
  EXPECT_TRUE(box->Checked());
  EXPECT_EQ(clicks, 3);
}

// Only the checked button of a group is a tab stop, so Tab enters the group there.
TEST_F(HeadlessTest, RadioButtonsUncheckTheirSiblingsAndOnlyTheCheckedOneClicks) {
  TForm form(nullptr);
  auto* a = new TRadioButton(&form);
  auto* b = new TRadioButton(&form);
  a->SetParent(&form);
  b->SetParent(&form);
  std::vector<TObject*> clicked;
  a->OnClick = b->OnClick = [&](TObject* S) { clicked.push_back(S); };
  EXPECT_FALSE(a->TabStop());
  a->SetChecked(true);
  EXPECT_TRUE(a->TabStop());
  b->PeerChecked();
  b->PeerChecked();
  EXPECT_FALSE(a->Checked());
  EXPECT_FALSE(a->TabStop());
  EXPECT_TRUE(b->Checked());
  EXPECT_TRUE(b->TabStop());
  EXPECT_EQ(clicked, (std::vector<TObject*>{a, b}));
}
