// The printable-object adapter over real windows under Wine: a list box and list views shown on
// a form, rows picked in the windows themselves, then walked by the adapter as a report walks
// them. The texts must be the ones the windows show.
#include "engine/VLMXGbl/ObjInfo.h"
#include "engine/VLMXGbl/PrintSettings.h"
#include "engine/VLMXGbl/RptStyles.h"
#include "engine/Vellumix/ReportSettings.h"
#include "engine/Vellumix/Vellumix.h"
#include "framework/ComCtrls.h"
#include "framework/Forms.h"
#include "framework/StdCtrls.h"
#include "framework/win32/Win32Handles.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "tests/e2e/Pump.h"

namespace {

using TRows = std::vector<std::vector<std::string>>;

class AdapterE2E : public ::testing::Test {
protected:
  void SetUp() override {
    RptSettings = &Settings;
    PrintSettings = &Run;
    RptStyles = &Styles;
    Form = new TForm(Application);
    Form->SetCaption("Adapter test");
    Form->SetClientWidth(600);
    Form->SetClientHeight(300);

    List = new TListBox(Form);
    List->SetName("lbx");
    List->SetParent(Form);
    List->SetBounds(0, 0, 150, 280);
    List->SetMultiSelect(true);
    for (int I = 0; I < 12; ++I) List->AddItem("line " + std::to_string(I));

    View = new TListView(Form);
    View->SetName("lv");
    View->SetParent(Form);
    View->SetBounds(160, 0, 200, 280);
    View->SetViewStyle(vsReport);
    View->SetMultiSelect(true);
    View->Columns().Add()->SetCaption("Book");
    View->Columns().Add()->SetCaption("Pages");
    for (int I = 0; I < 20; ++I) {
      TListItem* Item = View->Items().Add();
      Item->SetCaption("book " + std::to_string(I));
      Item->SubItems().Add(std::to_string(100 + I));
    }

    Data = new TListView(Form);
    Data->SetName("lvo");
    Data->SetParent(Form);
    Data->SetBounds(370, 0, 220, 120);
    Data->SetViewStyle(vsReport);
    Data->SetOwnerData(true);
    Data->Columns().Add()->SetCaption("N");
    Data->OnData = [](TObject*, TListItem* Item) { Item->SetCaption("row " + std::to_string(Item->Index())); };
    Data->Items().SetCount(300);

    Form->Show();
    ASSERT_TRUE(PumpUntil([&] { return IsWindowVisible(PeerHandle(*Data)) != FALSE; }));
  }

  void TearDown() override {
    Info.reset();
    ObjInfo = nullptr;
    Vlx.reset();
    delete Form;
    Application->ProcessMessages();
    RptStyles = nullptr;
    PrintSettings = nullptr;
    RptSettings = nullptr;
  }

  // The start of a run and a walk of every data row, as the report makes them.
  TRows Walk(TComponent* Object) {
    Info = std::make_unique<TObjInfo>();
    ObjInfo = Info.get();
    // A component per report, gone before the objects: a component whose object is replaced
    // still holds a link to the old one, so the old one must not go first.
    Vlx = std::make_unique<TvlxVellumix>(nullptr);
    Vlx->SetName("vlx");
    Info->Component = Vlx.get();
    Vlx->SetObjectToPrint(Object);
    Info->Setup();
    Info->CountSelected();
    Run.SelectedRowsOnly = Settings.PrintWhat == pwSelectedRows && Info->SelRowCount > 0;
    Info->CalcUsedExtent();
    int Count = Info->ColCount;
    Info->BuildColList(Count, true);
    Info->CheckEmpty();
    Info->ResetPrevValues();
    Run.RecordCounter = 0;
    Styles.BandInfo = {};
    TRows Rows;
    if (!Info->First()) return Rows;
    while (!Info->EndOfRows) {
      std::vector<std::string> Row;
      for (int C = 1; C < Info->ColsList->Count(); ++C) {  // after the line number
        std::string Text;
        Info->GetCellText(2, C, Text, false, true);
        Row.push_back(Text);
      }
      Rows.push_back(Row);
      Info->Next(2, false);
      Application->ProcessMessages();
    }
    return Rows;
  }

  static std::string ListBoxText(HWND Box, int Index) {
    char Buf[256] = {};
    SendMessageA(Box, LB_GETTEXT, Index, reinterpret_cast<LPARAM>(Buf));
    return Buf;
  }

  static std::string ListViewText(HWND ViewWnd, int Index, int Sub) {
    // Room for the text in either character width, whichever the control fills.
    char Buf[256] = {};
    LVITEMA Item{};
    Item.iSubItem = Sub;
    Item.pszText = Buf;
    Item.cchTextMax = 64;
    SendMessageA(ViewWnd, LVM_GETITEMTEXTA, Index, reinterpret_cast<LPARAM>(&Item));
    return Buf;
  }

  // Ctrl+click on a list box line, as the user picks several.
  void CtrlClick(HWND Box, int Index) {
    RECT R{};
    SendMessageA(Box, LB_GETITEMRECT, Index, reinterpret_cast<LPARAM>(&R));
    const LPARAM At = MAKELPARAM(R.left + 5, (R.top + R.bottom) / 2);
    PostMessageA(Box, WM_LBUTTONDOWN, MK_LBUTTON | MK_CONTROL, At);
    PostMessageA(Box, WM_LBUTTONUP, MK_CONTROL, At);
    Application->ProcessMessages();
  }

  TvlxReportSettings Settings;
  TvlxPrintSettings Run;
  TRptStyles Styles;
  std::unique_ptr<TvlxVellumix> Vlx;
  std::unique_ptr<TObjInfo> Info;
  TForm* Form = nullptr;
  TListBox* List = nullptr;
  TListView* View = nullptr;
  TListView* Data = nullptr;
};

TEST_F(AdapterE2E, WalksEveryLineAsTheWindowsShowThem) {
  const HWND Box = PeerHandle(*List);
  const TRows ListRows = Walk(List);
  ASSERT_EQ(ListRows.size(), 12u);
  for (int I = 0; I < 12; ++I) EXPECT_EQ(ListRows[I], (std::vector<std::string>{ListBoxText(Box, I)}));

  const HWND ViewWnd = PeerHandle(*View);
  const TRows ViewRows = Walk(View);
  ASSERT_EQ(ViewRows.size(), 20u);
  for (int I = 0; I < 20; ++I)
    EXPECT_EQ(ViewRows[I], (std::vector<std::string>{ListViewText(ViewWnd, I, 0), ListViewText(ViewWnd, I, 1)}));
}

TEST_F(AdapterE2E, PrintsTheRowsPickedInTheWindows) {
  Settings.PrintWhat = pwSelectedRows;
  const HWND Box = PeerHandle(*List);
  for (int I : {2, 5, 9}) CtrlClick(Box, I);
  ASSERT_TRUE(PumpUntil([&] { return List->SelCount() == 3; })) << List->SelCount();
  EXPECT_EQ(Walk(List), (TRows{{"line 2"}, {"line 5"}, {"line 9"}}));

  const HWND ViewWnd = PeerHandle(*View);
  for (int I : {1, 4, 17}) {
    LVITEMA Item{};
    Item.stateMask = LVIS_SELECTED;
    Item.state = LVIS_SELECTED;
    SendMessageA(ViewWnd, LVM_SETITEMSTATE, I, reinterpret_cast<LPARAM>(&Item));
  }
  ASSERT_TRUE(PumpUntil([&] { return View->SelCount() == 3; })) << View->SelCount();
  EXPECT_EQ(Walk(View), (TRows{{"book 1", "101"}, {"book 4", "104"}, {"book 17", "117"}}));
}

TEST_F(AdapterE2E, OwnerDataViewScrollsToTheRowsItReads) {
  const HWND Wnd = PeerHandle(*Data);
  const int PerPage = static_cast<int>(SendMessageA(Wnd, LVM_GETCOUNTPERPAGE, 0, 0));
  ASSERT_GT(PerPage, 0);
  ASSERT_LT(PerPage, 300);
  const TRows Rows = Walk(Data);
  ASSERT_EQ(Rows.size(), 300u);
  EXPECT_EQ(Rows[0][0], "row 0");
  EXPECT_EQ(Rows[299][0], "row 299");
  // The window followed the walk down to its last page.
  const int Top = static_cast<int>(SendMessageA(Wnd, LVM_GETTOPINDEX, 0, 0));
  EXPECT_GE(Top + PerPage, 299) << "top " << Top << ", " << PerPage << " per page";
  EXPECT_EQ(Data->TopIndex(), Top);
}

}  // namespace
