// Menus, short cuts, pop-up menus, hints, the message dialog and the draw grid, headless.
#include <gtest/gtest.h>

#include "framework/Buttons.h"
#include "framework/Dialogs.h"
#include "framework/ExtCtrls.h"
#include "framework/Grids.h"
#include "framework/Layout.h"
#include "framework/Menus.h"
#include "framework/StdCtrls.h"
#include "tests/support/HeadlessFixture.h"

namespace {

constexpr unsigned short VkF1 = 0x70, VkF10 = 0x79, VkEscape = 0x1B;

// A window with a menu bar whose File menu sets its Save item's state when it opens.
class TMenuForm : public TForm {
public:
  explicit TMenuForm(TComponent* AOwner) : TForm(AOwner) {
    auto log = [this](const char* Name) { return TNotifyEvent([this, Name](TObject*) { Log += Name; Log += ' '; }); };
    PublishedMethod("mnFileClick", TNotifyEvent([this](TObject*) {
      Log += "File ";
      FindMenuItem("itmSave")->SetEnabled(SaveAllowed);
    }));
    PublishedMethod("itmSaveClick", log("Save"));
    PublishedMethod("itmTogglePagesClick", log("Toggle"));
    PublishedMethod("itmHiddenClick", log("Hidden"));
    PublishedMethod("FormKeyDown", TKeyEvent([this](TObject*, unsigned short& Key, TShiftState) {
      Log += "Preview:" + std::to_string(Key) + " ";
    }));
    ReadLayoutText(this, R"(TMenuForm fmMenus
  KeyPreview = true
  Menu = mmRptOpts
  OnKeyDown = FormKeyDown
  TEdit edOutputFileName
  TMainMenu mmRptOpts
    TMenuItem mnFile
      Caption = "&File"
      OnClick = mnFileClick
      TMenuItem itmSave
        Caption = "&Save Options"
        ShortCut = "Ctrl+S"
        OnClick = itmSaveClick
      TMenuItem itmHidden
        Caption = "Size Column Widths"
        ShortCut = "Ctrl+H"
        Visible = false
        OnClick = itmHiddenClick
    TMenuItem mnView
      Caption = "&View"
      TMenuItem itmTogglePages
        Caption = "Toggle Pages Visibility"
        ShortCut = "Ctrl+F10"
        OnClick = itmTogglePagesClick
)");
  }
  TMenuItem* FindMenuItem(const std::string& Name) { return static_cast<TMenuItem*>(FindComponent(Name)); }
  std::string Log;
  bool SaveAllowed = true;
};

}  // namespace

TEST_F(HeadlessTest, ShortCutsClickTheirEnabledItemThroughTheFormBeforeItsKeyPreview) {
  auto* form = new TMenuForm(Application);
  auto* edit = static_cast<TEdit*>(form->FindComponent("edOutputFileName"));
  EXPECT_EQ(ShortCutToText(form->FindMenuItem("itmTogglePages")->ShortCut()), "Ctrl+F10");
  EXPECT_EQ(StripHotkey("Page &Range && More"), "Page Range & More");

  struct TCase { unsigned short Key; TShiftState Shift; bool SaveAllowed; const char* Log; bool Used; } Cases[] = {
      {'S', ssCtrl, true, "File Save ", true},  // the menu opens first, as the platform does
      {'S', ssCtrl, false, "File Preview:83 ", false},  // disabled by the opening: only the form sees it
      {'H', ssCtrl, true, "File Preview:72 ", false},   // a hidden item takes no key
      {'S', 0, true, "Preview:83 ", false},              // no short cut without Ctrl
      {'S', ssCtrl | ssShift, true, "Preview:83 ", false},
      {VkF10, ssCtrl, true, "Toggle ", true},
  };
  for (const TCase& C : Cases) {
    SCOPED_TRACE(C.Log);
    form->Log.clear();
    form->SaveAllowed = C.SaveAllowed;
    unsigned short key = C.Key;
    edit->PeerKeyDown(key, C.Shift);
    EXPECT_EQ(form->Log, C.Log);
    EXPECT_EQ(key == 0, C.Used);
  }
  delete form;
}

TEST_F(HeadlessTest, RightClickOpensThePopupMenuOfTheControlForItsChoice) {
  auto* form = new TForm(Application);
  auto* grid = new TDrawGrid(form);
  grid->SetParent(form);
  auto* popup = new TPopupMenu(form);
  auto* item = new TMenuItem(form);
  item->SetCaption("&Display Field Names");
  popup->Items()->Add(item);
  std::string log;
  popup->OnPopup = [&](TObject*) { log += "Popup "; };
  item->OnClick = [&](TObject* Sender) {
    log += "Click ";
    static_cast<TMenuItem*>(Sender)->SetChecked(!static_cast<TMenuItem*>(Sender)->Checked());
  };
  EXPECT_FALSE(grid->PeerContextPopup(10, 10)) << "no menu: the parent's may open";
  grid->SetPopupMenu(popup);
  Headless::QueuePopupChoice(item);
  EXPECT_TRUE(grid->PeerContextPopup(10, 10));
  EXPECT_TRUE(grid->PeerContextPopup(10, 10));  // nothing chosen the second time
  EXPECT_EQ(log, "Popup Click Popup ");
  EXPECT_TRUE(item->Checked());
  EXPECT_EQ(popup->PopupComponent(), grid);
  delete popup;
  EXPECT_EQ(grid->PopupMenu(), nullptr) << "a freed menu is forgotten";
  delete form;
}

TEST_F(HeadlessTest, TheLongHintOfTheControlUnderTheMouseReachesOnHintAndTheShortOneIsTheTip) {
  auto* form = new TForm(Application);
  form->SetShowHint(true);
  auto* bar = new TPanel(form);
  bar->SetParent(form);
  bar->SetHint("Tool bar|Commands of the report");
  auto* print = new TSpeedButton(form);
  print->SetParent(bar);
  print->SetHint("Print Report (Ctrl-P)|Print the report to the Output Destination");
  auto* browse = new TSpeedButton(form);
  browse->SetParent(bar);
  browse->SetHint("Browse");
  auto* plain = new TSpeedButton(form);
  plain->SetParent(bar);
  std::vector<std::string> hints;
  Application->OnHint = [&](TObject*) { hints.push_back(Application->Hint()); };

  print->PeerMouseMove(0, 3, 3);
  print->PeerMouseMove(0, 4, 4);  // the same control: no new hint
  browse->PeerMouseMove(0, 3, 3);
  plain->PeerMouseMove(0, 3, 3);  // no hint of its own: its parent's
  EXPECT_EQ(hints, (std::vector<std::string>{"Print the report to the Output Destination", "Browse",
                                             "Commands of the report"}));
  EXPECT_EQ(GetShortHint(print->Hint()), "Print Report (Ctrl-P)");
  EXPECT_EQ(GetShortHint(browse->Hint()), "Browse");

  EXPECT_TRUE(print->HintShown()) << "taken from the form";
  browse->SetShowHint(false);
  EXPECT_FALSE(browse->HintShown());
  Application->SetShowHint(false);
  EXPECT_FALSE(print->HintShown());
  Application->SetShowHint(true);
  delete print;
  bar->PeerMouseMove(0, 1, 1);  // the control under the mouse was freed meanwhile
  EXPECT_EQ(hints.back(), "Commands of the report");
  Application->OnHint = nullptr;
  delete form;
}

// The dialog the platform backend shows: its buttons, the default one and the one Esc presses.
TEST_F(HeadlessTest, MessageDialogShowsExactlyTheButtonsAskedAndCarriesItsHelpContext) {
  struct TCase {
    TMsgDlgButtons Buttons;
    std::vector<std::string> Captions;
    const char* Default;
    const char* Cancel;
  } Cases[] = {
      {mbYesNoCancel, {"&Yes", "&No", "Cancel"}, "&Yes", "Cancel"},
      {mbCancel, {"Cancel"}, "", "Cancel"},
      {mbAbort | mbRetry, {"&Abort", "&Retry"}, "&Retry", ""},
      {mbOK, {"OK"}, "OK", "OK"},
      {mbYes | mbNo, {"&Yes", "&No"}, "&Yes", "&No"},
  };
  const auto measure = [](const std::string& Text) { return TSize{static_cast<int>(Text.size()) * 6, 13}; };
  for (const TCase& C : Cases) {
    SCOPED_TRACE(C.Buttons);
    std::unique_ptr<TForm> dialog(CreateMessageDialog("Text", TMsgDlgType::mtWarning, C.Buttons, 700, measure));
    std::vector<std::string> captions;
    std::string defaults, cancels;
    for (int i = 0; i < dialog->ControlCount(); ++i)
      if (auto* button = As<TButton>(dialog->Controls(i))) {
        captions.push_back(button->Caption());
        if (button->Default()) defaults += button->Caption();
        if (button->Cancel()) cancels += button->Caption();
        EXPECT_LE(button->Left() + button->Width(), dialog->ClientWidth());
      }
    EXPECT_EQ(captions, C.Captions);
    EXPECT_EQ(defaults, C.Default);
    EXPECT_EQ(cancels, C.Cancel);
  }

  // F1 and the Help button ask for the dialog's help topic; the dialog stays open. A lone CR
  // ends a line.
  std::unique_ptr<TForm> dialog(
      CreateMessageDialog("Busy.\r Retry?\r\nNow", TMsgDlgType::mtWarning, mbAbort | mbRetry | mbHelp, 700, measure));
  EXPECT_EQ(As<TLabel>(dialog->FindComponent("Message"))->Caption(), "Busy.\r\n Retry?\r\nNow");
  auto* retry = As<TButton>(dialog->FindComponent("RetryButton"));
  ASSERT_NE(retry, nullptr);
  unsigned short key = VkF1;
  retry->PeerKeyDown(key, 0);
  As<TButton>(dialog->FindComponent("HelpButton"))->PeerClick();
  EXPECT_EQ(Headless::HelpRequests(), (std::vector<int>{700, 700}));
  EXPECT_EQ(dialog->ModalResult(), mrNone);
  key = VkEscape;
  retry->PeerClick();
  EXPECT_EQ(dialog->ModalResult(), mrRetry);
}

TEST_F(HeadlessTest, DrawGridPaintsTheVisibleCellsThroughOnDrawCellAndAsksBeforeMoving) {
  struct TRecorder : TCanvasDevice {
    std::vector<std::string> Texts;
    void TextOut(int X, int Y, const std::string& Text, const TFont&, const TBrush&) override {
      Texts.push_back(Text + "@" + std::to_string(X) + "," + std::to_string(Y));
    }
    TSize TextExtent(const std::string&, const TFont&) override { return {}; }
    TTextMetric TextMetrics(const TFont&) override { return {}; }
    int PixelsPerInch() const override { return 96; }
  } recorder;
  auto* form = new TForm(Application);
  auto* grid = new TDrawGrid(form);
  grid->SetParent(form);
  grid->SetColCount(5);
  grid->SetRowCount(30);
  grid->SetDefaultColWidth(50);
  grid->SetDefaultRowHeight(20);
  grid->SetBounds(0, 0, 140, 62);  // columns 0, 1 and part of 2; rows 0, 1 and part of 2
  std::vector<std::string> selects;
  int topLeft = 0;
  grid->OnSelectCell = [&](TObject*, int C, int R, bool& CanSelect) {
    selects.push_back(std::to_string(C) + "," + std::to_string(R));
    CanSelect = C != 2;
  };
  grid->OnTopLeftChanged = [&](TObject*) { ++topLeft; };
  grid->OnDrawCell = [&](TObject* Sender, int C, int R, const TRect& Rect, TGridDrawState State) {
    std::string mark = State & gdFixed ? "F" : State & gdFocused ? "*" : State & gdSelected ? "S" : "";
    static_cast<TDrawGrid*>(Sender)->Canvas().TextOut(Rect.Left + 5, Rect.Top + 4,
                                                      std::to_string(C) + std::to_string(R) + mark);
  };

  grid->PaintCells(recorder, true);
  EXPECT_EQ(recorder.Texts, (std::vector<std::string>{"00F@5,4", "10F@56,4", "20F@107,4", "01F@5,25",
                                                      "11*@56,25", "21@107,25", "02F@5,46", "12@56,46",
                                                      "22@107,46"}));
  recorder.Texts.clear();
  grid->SetTopRow(10);
  grid->PaintCells(recorder, false);
  EXPECT_EQ(recorder.Texts[3], "010F@5,25") << "scrolled rows follow the fixed row";
  EXPECT_EQ(topLeft, 1);
  EXPECT_EQ(grid->Canvas().TextWidth("Count"), 30) << "the canvas measures outside painting";

  EXPECT_EQ(grid->CellRect(5, 0), TRect{}) << "past the last column";
  EXPECT_EQ(grid->CellRect(0, 30), TRect{}) << "past the last row";
  TStringGrid strings(nullptr);
  EXPECT_THROW(strings.SetObjects(5, 5, nullptr), EListError);
  int col, row;
  grid->MouseToCell(60, 30, col, row);
  EXPECT_EQ(col * 100 + row, 1 * 100 + 10);
  grid->PeerMouseDown(TMouseButton::mbLeft, 0, 110, 30);  // column 2 refuses
  EXPECT_EQ(grid->Col() * 100 + grid->Row(), 1 * 100 + 1);
  grid->PeerMouseDown(TMouseButton::mbLeft, 0, 60, 50);
  EXPECT_EQ(grid->Col() * 100 + grid->Row(), 1 * 100 + 11);
  grid->SetRow(12);  // from code too
  grid->SetCol(2);   // refused
  grid->SetRow(12);  // no move, no question
  EXPECT_EQ(selects, (std::vector<std::string>{"2,10", "1,11", "1,12", "2,12"}));
  EXPECT_EQ(grid->Col() * 100 + grid->Row(), 1 * 100 + 12);
  delete form;
}

// A string grid selects a block by a drag, by Shift with a click and by Shift with the arrows
// (MoveCurrent with Extend, as the peer calls it), across the options that decide what a block
// is: each gesture's selection is checked against the block its corners span.
TEST_F(HeadlessTest, StringGridSelectsTheBlockADragOrShiftSpans) {
  struct TVariant {
    TGridOptions Options;
    bool Range, WholeRows;
  };
  const TGridOptions Lines = goFixedVertLine | goFixedHorzLine | goVertLine | goHorzLine;
  const TVariant Variants[] = {{Lines | goRangeSelect, true, false},
                               {Lines, false, false},
                               {Lines | goRangeSelect | goEditing, false, false},
                               {Lines | goRangeSelect | goRowSelect, true, true}};
  for (const TVariant& V : Variants) {
    TForm form(nullptr);
    auto* grid = new TStringGrid(&form);
    grid->SetParent(&form);
    grid->SetColCount(5);
    grid->SetRowCount(67);
    grid->SetFixedCols(0);
    grid->SetDefaultColWidth(50);
    grid->SetDefaultRowHeight(20);
    grid->SetBounds(0, 0, 260, 210);  // the heading and nine rows, every column
    grid->SetOptions(V.Options);
    const auto Expected = [&](TPoint From, TPoint To) {
      TGridRect R = V.Range ? TGridRect{std::min(From.X, To.X), std::min(From.Y, To.Y), std::max(From.X, To.X),
                                        std::max(From.Y, To.Y)}
                            : TGridRect{To.X, To.Y, To.X, To.Y};
      if (V.WholeRows) R.Left = 0, R.Right = 4;
      return R;
    };
    const auto At = [&](int C, int R, TShiftState Shift, bool Down) {
      const TRect Cell = grid->CellRect(C, R);
      if (Down) grid->PeerMouseDown(TMouseButton::mbLeft, Shift | ssLeft, Cell.Left + 3, Cell.Top + 3);
      else grid->PeerMouseMove(Shift | ssLeft, Cell.Left + 3, Cell.Top + 3);
    };
    const std::string Label = "options " + std::to_string(V.Options);
    // Every drag between two cells of the rows shown, upwards and leftwards included.
    for (TPoint From : {TPoint{1, 3}, TPoint{4, 7}, TPoint{0, 1}})
      for (TPoint To : {TPoint{3, 5}, TPoint{0, 2}, TPoint{4, 9}, From}) {
        At(From.X, From.Y, 0, true);
        At((From.X + To.X) / 2, (From.Y + To.Y) / 2, 0, false);
        At(To.X, To.Y, 0, false);
        grid->PeerMouseUp(TMouseButton::mbLeft, 0, 0, 0);
        EXPECT_EQ(grid->Selection(), Expected(From, To)) << Label << " drag " << From.X << From.Y << To.X << To.Y;
        EXPECT_TRUE(grid->Col() == To.X && grid->Row() == To.Y) << Label;
      }
    // A move with the button up selects nothing; Shift with a click grows the block from the
    // last plain click; Shift with Down, three times, grows it by three rows.
    grid->PeerMouseMove(0, 10, 10);
    EXPECT_EQ(grid->Selection(), Expected({0, 1}, {0, 1})) << Label;
    At(2, 6, ssShift, true);
    grid->PeerMouseUp(TMouseButton::mbLeft, 0, 0, 0);
    EXPECT_EQ(grid->Selection(), Expected({0, 1}, {2, 6})) << Label << " shift click";
    At(2, 2, 0, true);
    for (int I = 0; I < 3; ++I) grid->MoveCurrent(grid->Col(), grid->Row() + 1, true);
    EXPECT_EQ(grid->Selection(), Expected({2, 2}, {2, 5})) << Label << " shift down";
    // Dragged past the bottom edge, the block grows a row at a time and the grid scrolls.
    const int Column2 = grid->CellRect(2, 1).Left + 5;
    for (int I = 0; I < 4; ++I) grid->PeerMouseMove(ssLeft, Column2, grid->ClientHeight() + 5);
    EXPECT_EQ(grid->Selection(), Expected({2, 2}, {2, 13})) << Label << " past the edge";
    EXPECT_EQ(grid->TopRow(), 5) << Label;
    grid->PeerMouseUp(TMouseButton::mbLeft, 0, Column2, grid->ClientHeight() + 5);
    // From code, a move selects the one cell again.
    grid->SetRow(20);
    EXPECT_EQ(grid->Selection(), Expected({2, 20}, {2, 20})) << Label;
  }
}

// A label's accelerator reaches the control it names, else the next one after it that can take
// the focus (inside a group, past a hidden or disabled one), and nothing once none can.
TEST_F(HeadlessTest, LabelAcceleratorFocusesTheControlItLabels) {
  TForm form(nullptr);
  form.Show();
  auto* first = new TLabel(&form);
  first->SetParent(&form);
  first->SetCaption("&Width:");
  auto* hidden = new TEdit(&form);
  hidden->SetParent(&form);
  hidden->SetVisible(false);
  auto* group = new TGroupBox(&form);
  group->SetParent(&form);
  auto* inGroup = new TEdit(&form);
  inGroup->SetParent(group);
  auto* named = new TLabel(&form);
  named->SetParent(&form);
  auto* last = new TEdit(&form);
  last->SetParent(&form);
  EXPECT_EQ(first->AcceleratorTarget(), inGroup);
  EXPECT_EQ(named->AcceleratorTarget(), last);
  named->SetFocusControl(hidden);
  EXPECT_EQ(named->AcceleratorTarget(), nullptr) << "the named control cannot take the focus";
  hidden->SetVisible(true);
  EXPECT_EQ(named->AcceleratorTarget(), hidden);
  delete hidden;
  EXPECT_EQ(named->FocusControl(), nullptr) << "a freed control is forgotten";
  group->SetEnabled(false);
  last->SetEnabled(false);
  EXPECT_EQ(first->AcceleratorTarget(), nullptr);
}
