// A list box, a list view and an owner-data list view in real windows under Wine: the user's
// clicks reach the list views' models, the models' changes reach the windows, and the
// printable-object adapter walks the rows, all or the ones picked, with the texts the windows
// show. (The list box's picked lines are printed in the Columns scenario.)
#include "engine/VLMXGbl/Run.h"
#include "engine/Vellumix/Vellumix.h"
#include "framework/ComCtrls.h"
#include "framework/Forms.h"
#include "framework/StdCtrls.h"
#include "framework/win32/Win32Handles.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "tests/e2e/Pump.h"
#include "tests/engine/AdapterRun.h"
#include "tests/e2e/Screenshot.h"

namespace {

using AdapterRun::TRows;

class AdapterE2E : public ::testing::Test {
protected:
  void SetUp() override {
    Application->OnException = [this](TObject*, const std::exception& E) { Errors.push_back(E.what()); };
    Scope.emplace(TheRun);
    Form = new TForm(Application);
    Form->SetCaption("Adapter test");
    Form->SetBounds(40, 40, 660, 420);

    List = new TListBox(Form);
    List->SetParent(Form);
    List->SetBounds(0, 0, 150, 280);
    for (int I = 0; I < 30; ++I) List->AddItem("line " + std::to_string(I));

    View = new TListView(Form);
    View->SetParent(Form);
    View->SetBounds(160, 0, 240, 360);
    for (const char* Caption : {"Book", "Pages"}) View->Columns().Add()->SetCaption(Caption);
    for (int I = 0; I < 50; ++I) {
      TListItem* Item = View->Items().Add();
      Item->SetCaption("book " + std::to_string(I));
      Item->SubItems().Add(std::to_string(100 + I));
    }

    Data = new TListView(Form);
    Data->SetParent(Form);
    Data->SetBounds(410, 0, 230, 360);
    Data->SetOwnerData(true);
    for (const char* Caption : {"Row", "Tenfold"}) Data->Columns().Add()->SetCaption(Caption);
    Data->OnData = [](TObject*, TListItem* Item) {
      Item->SetCaption("row " + std::to_string(Item->Index()));
      Item->SubItems().Add(std::to_string(Item->Index() * 10));
    };
    Data->Items().SetCount(300);
    for (TListView* V : {View, Data}) {
      V->SetViewStyle(vsReport);
      V->SetMultiSelect(true);
      V->Columns()[0]->SetWidth(120);
      V->Columns()[1]->SetWidth(90);
    }

    Form->Show();
    SetForegroundWindow(PeerHandle(*Form));
    ASSERT_TRUE(PumpUntil([&] { return IsWindowVisible(PeerHandle(*Data)) != FALSE; }));
  }

  void TearDown() override {
    TheRun.RenewAdapter();  // the last walk's adapter gives its object back
    Info = nullptr;
    Vlx.reset();
    delete Form;
    Application->ProcessMessages();
    Scope.reset();
    Application->OnException = nullptr;
    EXPECT_TRUE(Errors.empty()) << Errors.front();
  }

  // The start of a run and a walk of every data row after the line number.
  TRows Walk(TComponent* Object) {
    Info = &TheRun.RenewAdapter();
    // The component goes before the objects: it still holds a link to an object it no longer prints.
    Vlx = std::make_unique<TvlxVellumix>(nullptr);
    Vlx->SetName("vlx");
    AdapterRun::Start(TheRun, *Vlx, Object);
    return AdapterRun::Walk(*Info, 1, false, [] { Application->ProcessMessages(); });
  }

  static void Click(HWND Target, POINT At, WPARAM Keys = 0) {
    PostClick(Target, At, Keys);
    Application->ProcessMessages();
  }

  static std::vector<int> ModelSelection(TListView* V) {
    std::vector<int> Out;
    for (TListItem* It = V->Selected(); It; It = V->GetNextItem(It, sdAll, isSelected)) Out.push_back(It->Index());
    return Out;
  }

  TvlxRun TheRun;
  std::optional<TvlxRunScope> Scope;
  TvlxReportSettings& Settings = TheRun.Settings;
  std::unique_ptr<TvlxVellumix> Vlx;
  TObjInfo* Info = nullptr;
  TForm* Form = nullptr;
  TListBox* List = nullptr;
  TListView* View = nullptr;
  TListView* Data = nullptr;
  std::vector<std::string> Errors;
};

TEST_F(AdapterE2E, ListViewsTakeTheUsersSelectionAndScrollingAndPrintThePickedRows) {
  EXPECT_TRUE(GetWindowLongA(PeerHandle(*Data), GWL_STYLE) & LVS_OWNERDATA);
  EXPECT_EQ(ListViewText(PeerHandle(*Data), 12, 1), "120") << "the window asks the model for its rows";
  for (TListView* V : {View, Data}) {
    SCOPED_TRACE(V == View ? "list view" : "owner-data list view");
    HWND Wnd = PeerHandle(*V);
    EXPECT_EQ(GetWindowLongA(Wnd, GWL_STYLE) & LVS_TYPEMASK, LVS_REPORT);
    EXPECT_EQ(SendMessageA(Wnd, LVM_GETITEMCOUNT, 0, 0), V->Items().Count());
    Click(Wnd, ListViewItemPoint(Wnd, 2));
    EXPECT_EQ(ModelSelection(V), (std::vector<int>{2}));
    ASSERT_NE(V->ItemFocused(), nullptr);
    EXPECT_EQ(V->ItemFocused()->Index(), 2);
    Click(Wnd, ListViewItemPoint(Wnd, 5), MK_CONTROL);
    Click(Wnd, ListViewItemPoint(Wnd, 7), MK_CONTROL);
    EXPECT_EQ(ModelSelection(V), (std::vector<int>{2, 5, 7}));
    EXPECT_EQ(V->SelCount(), 3);
    V->Items()[9]->SetSelected(true);
    V->Items()[2]->SetSelected(false);
    auto WindowSelected = [&](int I) { return (SendMessageA(Wnd, LVM_GETITEMSTATE, I, LVIS_SELECTED) & LVIS_SELECTED) != 0; };
    EXPECT_TRUE(WindowSelected(9)) << "a selection from code reaches the window";
    EXPECT_FALSE(WindowSelected(2));

    EXPECT_EQ(V->VisibleRowCount(), SendMessageA(Wnd, LVM_GETCOUNTPERPAGE, 0, 0));
    SendMessageA(Wnd, WM_VSCROLL, SB_PAGEDOWN, 0);
    const int Top = static_cast<int>(SendMessageA(Wnd, LVM_GETTOPINDEX, 0, 0));
    EXPECT_GT(Top, 0);
    EXPECT_EQ(V->TopIndex(), Top) << "the user's scrolling reaches the model";
    // Scrolling from code reaches the window (the walk scrolls the owner-data view along).
    V->Scroll(0, -100000);
    EXPECT_EQ(SendMessageA(Wnd, LVM_GETTOPINDEX, 0, 0), 0);
  }
  SaveWindowScreenshot(PeerHandle(*Form), "adapter-list-views");

  Settings.PrintWhat = pwSelectedRows;
  EXPECT_EQ(Walk(View), (TRows{{"book 5", "105"}, {"book 7", "107"}, {"book 9", "109"}}));
  EXPECT_EQ(Walk(Data), (TRows{{"row 5", "50"}, {"row 7", "70"}, {"row 9", "90"}}));
}

TEST_F(AdapterE2E, WalksEveryRowAsTheWindowsShowThemAndScrollsAlong) {
  const HWND Box = PeerHandle(*List), ViewWnd = PeerHandle(*View), DataWnd = PeerHandle(*Data);
  const TRows ListRows = Walk(List);
  ASSERT_EQ(ListRows.size(), 30u);
  for (int I = 0; I < 30; ++I) {
    char Text[64] = {};
    SendMessageA(Box, LB_GETTEXT, I, reinterpret_cast<LPARAM>(Text));
    EXPECT_EQ(ListRows[I], (std::vector<std::string>{Text}));
  }
  const TRows ViewRows = Walk(View);
  ASSERT_EQ(ViewRows.size(), 50u);
  for (int I = 0; I < 50; ++I)
    EXPECT_EQ(ViewRows[I], (std::vector<std::string>{ListViewText(ViewWnd, I, 0), ListViewText(ViewWnd, I, 1)}));

  const int PerPage = static_cast<int>(SendMessageA(DataWnd, LVM_GETCOUNTPERPAGE, 0, 0));
  ASSERT_GT(PerPage, 0);
  const TRows DataRows = Walk(Data);
  ASSERT_EQ(DataRows.size(), 300u);
  EXPECT_EQ(DataRows[299], (std::vector<std::string>{"row 299", "2990"}));
  const int Top = static_cast<int>(SendMessageA(DataWnd, LVM_GETTOPINDEX, 0, 0));
  EXPECT_GE(Top + PerPage, 299) << "the window did not follow the walk down to its last page";
  EXPECT_EQ(Data->TopIndex(), Top);
}

// The control asks for a text with a buffer of its own size, in the character width that it
// notifies in: a longer text is cut to the buffer, never left out.
TEST_F(AdapterE2E, ALongCellIsCutToTheControlsBufferInEitherCharacterWidth) {
  const HWND Wnd = PeerHandle(*View);
  const std::string Long = std::string(100, 'a') + std::string(100, 'b') + std::string(100, 'c');
  View->Items()[0]->SetCaption(Long);
  View->Items()[0]->SubItems().SetStrings(0, Long);
  for (const BOOL Unicode : {FALSE, TRUE}) {
    SCOPED_TRACE(Unicode ? "wide notifications" : "ANSI notifications");
    SendMessageA(Wnd, LVM_SETUNICODEFORMAT, Unicode, 0);
    for (int Column : {0, 1}) EXPECT_EQ(ListViewText(Wnd, 0, Column), Long.substr(0, 63)) << Column;
  }
  SaveWindowScreenshot(PeerHandle(*Form), "adapter-long-cell");
}

}  // namespace
