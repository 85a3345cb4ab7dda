// List views and a multi-select list box in real windows under Wine: the user's clicks reach the
// models, the models' changes reach the windows, and the windows show the models' texts.
#include <gtest/gtest.h>

#include "framework/win32/Win32Handles.h"

#include <string>
#include <vector>

#include "framework/ComCtrls.h"
#include "framework/Forms.h"
#include "framework/StdCtrls.h"
#include "tests/e2e/Pump.h"
#include "tests/e2e/Screenshot.h"

namespace {

class DataSourcesE2E : public ::testing::Test {
protected:
  void SetUp() override {
    Application->OnException = [this](TObject*, const std::exception& E) { Errors.push_back(E.what()); };
    Form = new TForm(Application);
    Form->SetCaption("Versora data sources test");
    Form->SetBounds(60, 60, 640, 420);

    View = new TListView(Form);
    View->SetParent(Form);
    View->SetBounds(8, 8, 400, 360);
    View->SetViewStyle(vsReport);
    View->SetMultiSelect(true);
    for (const char* c : {"Name", "Writer", "Place"}) View->Columns().Add()->SetCaption(c);
    View->Columns()[0]->SetWidth(140);
    View->Columns()[1]->SetWidth(120);
    View->Columns()[2]->SetWidth(110);

    List = new TListBox(Form);
    List->SetParent(Form);
    List->SetBounds(420, 8, 200, 360);
    List->SetMultiSelect(true);
    for (int i = 0; i < 30; ++i) List->Items().Add("Line " + std::to_string(i));
    List->OnClick = [this](TObject*) { ++ListClicks; };
  }

  void TearDown() override {
    delete Form;
    Application->ProcessMessages();
    Application->OnException = nullptr;
    EXPECT_TRUE(Errors.empty()) << Errors.front();
  }

  void ShowForm() {
    Form->Show();
    SetForegroundWindow(PeerHandle(*Form));
    ASSERT_TRUE(PumpUntil([&] { return IsWindowVisible(PeerHandle(*View)) && IsWindowVisible(PeerHandle(*List)); }));
  }

  // The windows painted as they are now, then saved for a person to look at.
  void Snapshot(const std::string& Name) {
    HWND form = PeerHandle(*Form);
    RedrawWindow(form, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    PumpUntil([] { return false; }, 200);
    SaveWindowScreenshot(form, Name);
  }

  // A press and a release, with the keys held, posted as the mouse sends them.
  static void Click(HWND Target, POINT At, WPARAM Keys = 0) {
    PostMessageA(Target, WM_LBUTTONDOWN, Keys | MK_LBUTTON, MAKELPARAM(At.x, At.y));
    PostMessageA(Target, WM_LBUTTONUP, Keys, MAKELPARAM(At.x, At.y));
    Application->ProcessMessages();
  }

  POINT ViewItemPoint(int Index) {
    RECT r{LVIR_LABEL, 0, 0, 0};
    EXPECT_TRUE(SendMessageA(PeerHandle(*View), LVM_GETITEMRECT, Index, reinterpret_cast<LPARAM>(&r)));
    return {r.left + 5, (r.top + r.bottom) / 2};
  }

  POINT ListItemPoint(int Index) {
    RECT r;
    SendMessageA(PeerHandle(*List), LB_GETITEMRECT, Index, reinterpret_cast<LPARAM>(&r));
    return {r.left + 5, (r.top + r.bottom) / 2};
  }

  std::string WindowText(int Item, int Column) {
    char buffer[64] = "";
    LVITEMA item{};
    item.iSubItem = Column;
    item.pszText = buffer;
    item.cchTextMax = sizeof buffer;
    SendMessageA(PeerHandle(*View), LVM_GETITEMTEXTA, Item, reinterpret_cast<LPARAM>(&item));
    return buffer;
  }

  bool WindowSelected(int Item) {
    return SendMessageA(PeerHandle(*View), LVM_GETITEMSTATE, Item, LVIS_SELECTED) & LVIS_SELECTED;
  }

  std::vector<int> ModelSelection() {
    std::vector<int> out;
    for (TListItem* it = View->Selected(); it; it = View->GetNextItem(it, sdAll, isSelected)) out.push_back(it->Index());
    return out;
  }

  // The selection and scrolling checks both kinds of list view share.
  void ClickSelectAndPage() {
    HWND view = PeerHandle(*View);
    Click(view, ViewItemPoint(2));
    EXPECT_EQ(ModelSelection(), (std::vector<int>{2}));
    ASSERT_NE(View->ItemFocused(), nullptr);
    EXPECT_EQ(View->ItemFocused()->Index(), 2);
    Click(view, ViewItemPoint(5), MK_CONTROL);
    Click(view, ViewItemPoint(7), MK_CONTROL);
    EXPECT_EQ(ModelSelection(), (std::vector<int>{2, 5, 7}));
    EXPECT_EQ(View->SelCount(), 3);

    View->Items()[9]->SetSelected(true);
    EXPECT_TRUE(WindowSelected(9)) << "a selection from code reaches the window";
    View->Items()[2]->SetSelected(false);
    EXPECT_FALSE(WindowSelected(2));

    EXPECT_EQ(View->VisibleRowCount(), SendMessageA(view, LVM_GETCOUNTPERPAGE, 0, 0));
    SendMessageA(view, WM_VSCROLL, SB_PAGEDOWN, 0);
    int top = static_cast<int>(SendMessageA(view, LVM_GETTOPINDEX, 0, 0));
    EXPECT_GT(top, 0);
    EXPECT_EQ(View->TopIndex(), top) << "the user's scrolling reaches the model";
    // The engine's paging: a page at a time until row 40 is in view.
    View->Scroll(0, -100000);
    EXPECT_EQ(SendMessageA(view, LVM_GETTOPINDEX, 0, 0), 0);
    while (View->TopIndex() + View->VisibleRowCount() <= 40) {
      int before = View->TopIndex();
      View->Scroll(0, View->VisibleRowCount() * View->ItemHeight());
      ASSERT_GT(View->TopIndex(), before) << "scrolling got stuck";
    }
    EXPECT_EQ(SendMessageA(view, LVM_GETTOPINDEX, 0, 0), View->TopIndex());
    EXPECT_EQ(View->TopItem()->Caption(), WindowText(View->TopIndex(), 0));
  }

  TForm* Form = nullptr;
  TListView* View = nullptr;
  TListBox* List = nullptr;
  int ListClicks = 0;
  std::vector<std::string> Errors;
};

TEST_F(DataSourcesE2E, ReportListViewShowsItsItemsAndTakesTheUsersSelection) {
  for (int i = 0; i < 50; ++i) {
    TListItem* item = View->Items().Add();
    item->SetCaption("Book " + std::to_string(i));
    item->SubItems().Add("Writer " + std::to_string(i));
    item->SubItems().Add("Place " + std::to_string(i));
  }
  ShowForm();
  HWND view = PeerHandle(*View);
  EXPECT_EQ(GetWindowLongA(view, GWL_STYLE) & LVS_TYPEMASK, LVS_REPORT);
  EXPECT_EQ(SendMessageA(view, LVM_GETITEMCOUNT, 0, 0), 50);
  EXPECT_EQ(WindowText(3, 0), "Book 3");
  EXPECT_EQ(WindowText(3, 2), "Place 3");
  ClickSelectAndPage();
  Snapshot("data-sources-report");
}

TEST_F(DataSourcesE2E, OwnerDataListViewAsksTheModelForEveryRow) {
  View->SetOwnerData(true);
  View->OnData = [](TObject*, TListItem* Item) {
    Item->SetCaption("Row " + std::to_string(Item->Index()));
    Item->SubItems().Add("Sub " + std::to_string(Item->Index()));
    Item->SubItems().Add(std::to_string(Item->Index() * 10));
  };
  View->Items().SetCount(50);
  ShowForm();
  HWND view = PeerHandle(*View);
  EXPECT_TRUE(GetWindowLongA(view, GWL_STYLE) & LVS_OWNERDATA);
  EXPECT_EQ(SendMessageA(view, LVM_GETITEMCOUNT, 0, 0), 50);
  EXPECT_EQ(WindowText(12, 1), "Sub 12");
  EXPECT_EQ(WindowText(12, 2), "120");
  ClickSelectAndPage();
  Snapshot("data-sources-owner-data");
}

TEST_F(DataSourcesE2E, MultiSelectListBoxTakesClicksWithShiftAndCtrl) {
  ShowForm();
  HWND list = PeerHandle(*List);
  EXPECT_TRUE(GetWindowLongA(list, GWL_STYLE) & LBS_EXTENDEDSEL);
  EXPECT_EQ(SendMessageA(list, LB_GETCOUNT, 0, 0), 30);

  Click(list, ListItemPoint(1));
  Click(list, ListItemPoint(3), MK_SHIFT);
  Click(list, ListItemPoint(6), MK_CONTROL);
  std::vector<int> picked;
  for (int i = 0; i < List->Items().Count(); ++i)
    if (List->Selected(i)) picked.push_back(i);
  EXPECT_EQ(picked, (std::vector<int>{1, 2, 3, 6}));
  EXPECT_EQ(List->SelCount(), 4);
  EXPECT_EQ(List->ItemIndex(), 6);
  EXPECT_EQ(ListClicks, 3);

  List->SetSelected(0, true);
  List->SetSelected(2, false);
  EXPECT_GT(SendMessageA(list, LB_GETSEL, 0, 0), 0) << "a selection from code reaches the window";
  EXPECT_EQ(SendMessageA(list, LB_GETSEL, 2, 0), 0);
  EXPECT_EQ(SendMessageA(list, LB_GETSELCOUNT, 0, 0), List->SelCount());
  EXPECT_EQ(ListClicks, 3) << "code fires no click";

  SendMessageA(list, WM_VSCROLL, SB_PAGEDOWN, 0);
  EXPECT_GT(List->TopIndex(), 0);
  EXPECT_EQ(List->TopIndex(), SendMessageA(list, LB_GETTOPINDEX, 0, 0));
  Snapshot("data-sources-list-box");
}

}  // namespace
