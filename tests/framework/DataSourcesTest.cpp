// Datasets, tables, queries and the data-aware grid, walked the way the report engine walks them.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "framework/DBGrids.h"
#include "framework/DBTables.h"
#include "framework/Forms.h"
#include "framework/rtl/DateUtils.h"
#include "tests/support/HeadlessFixture.h"

namespace {

// A table of people, open, with the records given.
std::unique_ptr<TTable> People(std::vector<std::vector<TFieldValue>> Rows) {
  auto t = std::make_unique<TTable>(nullptr);
  t->SetTableName("PEOPLE");
  t->FieldDefs().Add("Name", ftString, 10);
  t->FieldDefs().Add("City", ftString, 10);
  t->FieldDefs().Add("Age", ftInteger);
  t->Open();
  for (auto& r : Rows) t->AppendRecord(r);
  t->First();
  return t;
}

TEST(DataSet, CursorFlagsFollowThePlatformsRules) {
  auto t = People({{"Ann", "Rome", 30}, {"Bob", "Oslo", 40}, {"Cid", "Lima", 50}});
  struct Step { const char* What; std::function<int()> Move; int Result; int RecNo; bool Bof, Eof; };
  const Step steps[] = {
      {"First", [&] { t->First(); return 0; }, 0, 1, true, false},
      {"Next", [&] { t->Next(); return 0; }, 0, 2, false, false},
      {"Next to last", [&] { t->Next(); return 0; }, 0, 3, false, false},
      {"Next past the end", [&] { t->Next(); return 0; }, 0, 3, false, true},
      {"Prior", [&] { t->Prior(); return 0; }, 0, 2, false, false},
      {"MoveBy back too far", [&] { return t->MoveBy(-5); }, -1, 1, true, false},
      {"MoveBy forward", [&] { return t->MoveBy(2); }, 2, 3, false, false},
      {"Last", [&] { t->Last(); return 0; }, 0, 3, false, true},
      {"RecNo 2", [&] { t->SetRecNo(2); return 0; }, 0, 2, false, false},
  };
  for (auto& s : steps) {
    SCOPED_TRACE(s.What);
    EXPECT_EQ(s.Move(), s.Result);
    EXPECT_EQ(t->RecNo(), s.RecNo);
    EXPECT_EQ(t->Bof(), s.Bof);
    EXPECT_EQ(t->Eof(), s.Eof);
  }
  EXPECT_EQ(t->FieldByName("city")->AsString(), "Oslo") << "field names ignore case";

  auto empty = People({});
  empty->First();
  EXPECT_TRUE(empty->Bof() && empty->Eof() && empty->IsEmpty());
  EXPECT_EQ(empty->RecNo(), 0);
  EXPECT_TRUE(empty->Fields(0)->IsNull());
  EXPECT_EQ(empty->Bookmark(), "");
  EXPECT_EQ(empty->MoveBy(3), 0);
  EXPECT_THROW_MSG(empty->FieldByName("Zip"), EDatabaseError, "Field 'Zip' not found");
}

TEST(DataSet, FieldsConvertAndShowEachType) {
  TDataSet d(nullptr);
  d.FieldDefs().Add("S", ftString, 5);
  d.FieldDefs().Add("I", ftInteger);
  d.FieldDefs().Add("F", ftFloat);
  d.FieldDefs().Add("C", ftCurrency);
  d.FieldDefs().Add("B", ftBoolean);
  d.FieldDefs().Add("D", ftDate);
  d.FieldDefs().Add("M", ftMemo);
  d.FieldDefs().Add("W", ftSmallint);
  d.Open();
  d.AppendRecord({"Longer text", "12", 2.5, 1234.5, true, EncodeDate(2024, 3, 1), "notes", Null});
  d.Fields(2)->SetDisplayFormat("0.000");
  d.Fields(5)->SetDisplayFormat("yyyy-mm-dd");

  struct Row { int Field; const char* AsString; const char* Text; const char* DisplayText; int DataSize; bool Right; };
  const Row rows[] = {
      {0, "Longe", "Longe", "Longe", 6, false},  // a string field holds its size
      {1, "12", "12", "12", 4, true},
      {2, "2.5", "2.5", "2.500", 8, true},
      {3, "1234.50", "1234.50", "$1,234.50", 8, true},
      {4, "True", "True", "True", 2, false},
      {5, "3/1/2024", "3/1/2024", "2024-03-01", 4, false},
      {6, "notes", "(MEMO)", "(MEMO)", 0, false},
      {7, "", "", "", 2, true},
  };
  for (auto& r : rows) {
    SCOPED_TRACE(d.Fields(r.Field)->FieldName());
    TField* f = d.Fields(r.Field);
    EXPECT_EQ(f->AsString(), r.AsString);
    EXPECT_EQ(f->Text(), r.Text);
    EXPECT_EQ(f->DisplayText(), r.DisplayText);
    EXPECT_EQ(f->DataSize(), r.DataSize);
    EXPECT_EQ(f->Alignment() == TAlignment::taRightJustify, r.Right);
  }
  EXPECT_EQ(d.Fields(1)->AsFloat(), 12.0);
  EXPECT_EQ(d.Fields(4)->AsBoolean(), true);
  EXPECT_TRUE(d.Fields(7)->IsNull());
  EXPECT_EQ(d.Fields(7)->AsInteger(), 0);
  EXPECT_THROW(d.Fields(0)->AsFloat(), EConvertError);
  EXPECT_THROW(d.AppendRecord({"x", "abc"}), EConvertError) << "a text that is no integer";
  EXPECT_THROW(d.AppendRecord({"x", 1.5}), EConvertError);
  EXPECT_EQ(d.RecordCount(), 1) << "a refused record is not added";
  d.AppendRecord({Null, Null, Null, Null, Null, Null, Null});
  EXPECT_EQ(d.Fields(6)->DisplayText(), "(Memo)") << "an empty memo";
  EXPECT_THROW(d.AppendRecord({1, 2, 3, 4, 5, 6, 7, 8, 9}), EDatabaseError);
}

TEST(DataSet, BookmarksFindTheirRecordOrFailWhenItIsGone) {
  auto t = People({{"Ann"}, {"Bob"}, {"Cid"}, {"Dan"}});
  auto other = People({{"Xav"}, {"Yul"}});
  t->SetRecNo(2);
  TBookmark bob = t->GetBookmark();
  t->SetRecNo(4);
  TBookmarkStr dan = t->Bookmark();
  t->First();
  t->GotoBookmark(bob);
  EXPECT_EQ(t->Fields(0)->AsString(), "Bob");
  EXPECT_EQ(t->CompareBookmarks(bob, dan), -1);
  EXPECT_EQ(t->CompareBookmarks(dan, bob), 1);

  t->Delete();  // Bob
  EXPECT_EQ(t->Fields(0)->AsString(), "Cid") << "the next record becomes current";
  EXPECT_FALSE(t->BookmarkValid(bob));
  EXPECT_THROW_MSG(t->GotoBookmark(bob), EDBEngineError, "Record not found");
  EXPECT_EQ(t->Fields(0)->AsString(), "Cid") << "a failed jump leaves the cursor";
  t->SetBookmark(dan);
  EXPECT_EQ(t->Fields(0)->AsString(), "Dan") << "bookmarks behind a deleted record still work";

  other->SetRecNo(2);
  for (const std::string& bad : {other->Bookmark(), std::string("1:"), std::string(":1"), std::string("99999999999:1")}) {
    SCOPED_TRACE(bad);
    EXPECT_FALSE(t->BookmarkValid(bad));
    EXPECT_THROW(t->GotoBookmark(bad), EDBEngineError);
  }
  t->GotoBookmark("");
  EXPECT_EQ(t->Fields(0)->AsString(), "Dan") << "an empty bookmark is ignored";
}

// A table's own order and its open/close rules are the rows walk's; here, what a closed one says.
TEST(DataSet, AClosedDatasetRefusesAndKeepsItsRecords) {
  auto table = People({{"Ann"}});
  table->SetName("tblA");
  EXPECT_THROW_MSG(table->SetTableName("B"), EDatabaseError, "tblA: Cannot perform this operation on an open dataset");
  table->Close();
  EXPECT_THROW_MSG(table->RecordCount(), EDatabaseError, "tblA: Cannot perform this operation on a closed dataset");
  EXPECT_THROW(table->Fields(0)->AsString(), EDatabaseError);
  table->Open();
  EXPECT_EQ(table->Fields(0)->AsString(), "Ann") << "closing keeps the records";
}

TEST(DataSet, WalksAndJumpsThroughManyRecordsAtAConstantCost) {
  TDataSet d(nullptr);
  d.FieldDefs().Add("N", ftInteger);
  d.FieldDefs().Add("S", ftString, 12);
  d.Open();
  constexpr int Count = 200000;
  std::vector<TBookmarkStr> marks;
  marks.reserve(Count);
  for (int i = 0; i < Count; ++i) {
    d.AppendRecord({i, "row"});
    marks.push_back(d.Bookmark());
  }
  long long sum = 0;
  int rows = 0;
  for (d.First(); !d.Eof(); d.Next()) {
    sum += d.Fields(0)->AsInteger();
    rows += d.Fields(1)->DisplayText() == "row";
  }
  EXPECT_EQ(rows, Count);
  EXPECT_EQ(sum, static_cast<long long>(Count) * (Count - 1) / 2);
  // Every bookmark, backwards: a search per jump would never finish.
  for (int i = Count - 1; i >= 0; i -= 7) {
    d.GotoBookmark(marks[i]);
    ASSERT_EQ(d.RecNo(), i + 1);
  }
}

class DBGridTest : public HeadlessTest {
protected:
  void SetUp() override {
    HeadlessTest::SetUp();
    Table = new TTable(&Form);
    Table->SetTableName("BOOKS");
    Table->FieldDefs().Add("Title", ftString, 20);
    Table->FieldDefs().Add("Secret", ftString, 5);
    Table->FieldDefs().Add("Pages", ftInteger);
    Table->Open();
    for (int i = 1; i <= 8; ++i) Table->AppendRecord({"Book " + std::to_string(i), "x", i * 100});
    Table->FieldByName("Secret")->SetVisible(false);
    Table->First();
    Source = new TDataSource(&Form);
    Source->SetDataSet(Table);
    Grid = new TDBGrid(&Form);
    Grid->SetParent(&Form);
    Grid->SetBounds(0, 0, 400, 300);
    Grid->SetDataSource(Source);
  }

  // A click on the data row of a record (0-based), as the peer reports it.
  void ClickRecord(int Position, TShiftState Shift = 0) {
    TRect r = Grid->CellRect(1, Position + 1);
    Grid->PeerMouseDown(TMouseButton::mbLeft, Shift | ssLeft, r.Left + 2, r.Top + 2);
  }

  TForm Form{nullptr};
  TTable* Table = nullptr;
  TDataSource* Source = nullptr;
  TDBGrid* Grid = nullptr;
};

TEST_F(DBGridTest, FollowsTheCursorUnlessControlsAreDisabledAndMovesIt) {
  Table->SetRecNo(4);
  EXPECT_EQ(Grid->Row(), 4);
  EXPECT_EQ(Grid->CellView(0, 4).Text, ">");

  Table->DisableControls();
  Table->DisableControls();
  Table->Last();
  Table->EnableControls();
  EXPECT_EQ(Grid->Row(), 4) << "the grid stays while controls are disabled";
  Table->EnableControls();
  EXPECT_EQ(Grid->Row(), 8) << "the last EnableControls brings the grid up to date";
  Table->EnableControls();
  Table->DisableControls();
  EXPECT_TRUE(Table->ControlsDisabled()) << "an extra EnableControls does not count below zero";
  Table->EnableControls();

  ClickRecord(5);
  EXPECT_EQ(Table->RecNo(), 6) << "a click moves the dataset";
  Grid->SetRow(2);
  EXPECT_EQ(Table->FieldByName("Title")->AsString(), "Book 2");
  Table->AppendRecord({"Book 9"});
  EXPECT_EQ(Grid->RowCount(), 10);
  EXPECT_EQ(Grid->Row(), 9);
}

TEST_F(DBGridTest, SelectedRowsAreBookmarksInRecordOrder) {
  Table->SetRecNo(3);
  Grid->SelectedRows().SetCurrentRowSelected(true);
  EXPECT_EQ(Grid->SelectedRows().Count(), 0) << "no selection without dgMultiSelect";

  Grid->SetOptions(Grid->Options() | dgMultiSelect);
  ClickRecord(5);
  ClickRecord(1, ssCtrl);
  ClickRecord(6, ssCtrl);
  ClickRecord(6, ssCtrl);  // and off again
  ClickRecord(3, ssCtrl);
  TBookmarkList& rows = Grid->SelectedRows();
  ASSERT_EQ(rows.Count(), 3);
  std::vector<std::string> titles;
  for (int i = 0; i < rows.Count(); ++i) {
    Table->GotoBookmark(rows.Items(i));
    titles.push_back(Table->FieldByName("Title")->AsString());
  }
  EXPECT_EQ(titles, (std::vector<std::string>{"Book 2", "Book 4", "Book 6"}));
  EXPECT_TRUE(rows.CurrentRowSelected());
  EXPECT_TRUE(Grid->CellView(1, 4).Selected);
  EXPECT_FALSE(Grid->CellView(1, 5).Selected);

  ClickRecord(0);
  EXPECT_EQ(rows.Count(), 1) << "a plain click starts the selection over";
  Grid->SetOptions(Grid->Options() & ~dgMultiSelect);
  EXPECT_EQ(rows.Count(), 0);
}

TEST_F(DBGridTest, DatasetOrSourceGoingAwayLeavesTheGridEmpty) {
  Grid->SetSelectedIndex(1);
  EXPECT_EQ(Grid->SelectedField()->FieldName(), "Pages");
  delete Table;
  EXPECT_EQ(Source->DataSet(), nullptr);
  EXPECT_EQ(Grid->FieldCount(), 0);
  EXPECT_EQ(Grid->CellView(1, 1).Text, "");
  delete Source;
  EXPECT_EQ(Grid->DataSource(), nullptr);
}

}  // namespace
