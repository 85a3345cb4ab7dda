// The Style page's option list (which report features are on), the tab changes of the option
// pages with the Setup page's password, the Ctrl+arrow keys of the Titles page and the hints in
// the status panel.
#include <algorithm>

#include "engine/VLMXGbl/ObjInfo.h"
#include "engine/VLMXGbl/PrintSettings.h"
#include "engine/VLMXGbl/RptStyles.h"
#include "engine/VLMXGbl0.h"
#include "engine/VLMXUtil.h"
#include "engine/Vellumix/ReportSettings.h"
#include "framework/CheckLst.h"
#include "framework/ComCtrls.h"
#include "framework/DBGrids.h"
#include "framework/ExtCtrls.h"
#include "framework/Grids.h"
#include "framework/StdCtrls.h"
#include "engine/VLMXGbl/ColumnTotals.h"
#include "windows/VLMXMain/VLMXMain.h"
#include "windows/VLMXPw/VLMXPw.h"

namespace {

constexpr unsigned short VkUp = 38, VkDown = 40;

}  // namespace

// ---- Style options ---------------------------------------------------------------------------

void TfmVlxMain::FillStyleOptsList(bool Force) {
  const TvlxReportSettings& S = *RptSettings;
  const int KindBit = ObjInfo && IsKindInRange(ObjInfo->ObjType) ? 0 : 1;
  const int TextBit = S.IsTextStyleOutput() ? 1 : 0;
  if (!Force && lbxStyleOpts->Items().Count() > 0 && KindBit == FStyleKindBit && TextBit == FStyleTextBit) return;
  const TNotifyEvent Saved = lbxStyleOpts->OnClickCheck;
  lbxStyleOpts->OnClickCheck = nullptr;
  struct TPutBack {
    TCheckListBox& List;
    const TNotifyEvent& Handler;
    ~TPutBack() { List.OnClickCheck = Handler; }
  } PutBack{*lbxStyleOpts, Saved};
  FStyleKindBit = KindBit;
  FStyleTextBit = TextBit;
  ClearStyleOptsList();
  if (!RptStyles) return;
  const TObjKind Kind = ObjInfo ? ObjInfo->ObjType : otNone;
  for (int Bit = 0; Bit < StyleOptCount; ++Bit) {
    const TStyleOptInfo& Opt = TRptStyles::StyleOptInfo[Bit];
    if (!(Opt.ObjectKinds >> KindBit & 1) || !(Opt.OutputModes >> TextBit & 1)) continue;
    // Trimming blank edges means something only for the objects with a used extent.
    if (Bit == ioTrimGridDim && Kind != otListBox && Kind != otStringGrid) continue;
    lbxStyleOpts->AddItem(Opt.Name, new TStyleOptsData(static_cast<uint8_t>(Bit)));
    lbxStyleOpts->SetChecked(lbxStyleOpts->Items().Count() - 1, S.ItemOpt(Bit));
  }
}

void TfmVlxMain::ClearStyleOptsList() {
  TStrings& Items = lbxStyleOpts->Items();
  for (int I = 0; I < Items.Count(); ++I) {
    delete Items.Objects(I);
    Items.SetObjects(I, nullptr);
  }
  Items.Clear();
}

void TfmVlxMain::SetStyleOptChecked(int Index, bool Checked) {
  for (int I = 0; I < lbxStyleOpts->Items().Count(); ++I)
    if (auto* Data = dynamic_cast<TStyleOptsData*>(lbxStyleOpts->Items().Objects(I)); Data && Data->Index == Index) {
      lbxStyleOpts->SetChecked(I, Checked);
      return;
    }
}

void TfmVlxMain::lbxStyleOptsClickCheck(TObject*) {
  if (!RptStyles) return;
  // The list mirrors the stored bits, so the toggled row is the one that no longer does; this
  // holds however the toggle came (mouse, Space) and whatever row is current.
  const TvlxReportSettings& Stored = *RptSettings;
  const TStyleOptsData* Data = nullptr;
  for (int I = 0; I < lbxStyleOpts->Items().Count() && !Data; ++I) {
    const auto* Row = dynamic_cast<TStyleOptsData*>(lbxStyleOpts->Items().Objects(I));
    if (Row && lbxStyleOpts->Checked(I) != Stored.ItemOpt(Row->Index)) Data = Row;
  }
  if (!Data) return;
  TvlxReportSettings& S = *RptSettings;
  S.Modified = true;
  const int Bit = Data->Index;
  S.SetItemOpt(Bit, !S.ItemOpt(Bit));
  // Rules between every row and rules between groups exclude each other.
  if (Bit == ioHorizontalLines || Bit == ioGrpBrkLines) {
    const int Other = Bit == ioHorizontalLines ? ioGrpBrkLines : ioHorizontalLines;
    S.SetItemOpt(Other, false);
    SetStyleOptChecked(Other, false);
  }
  if (Bit == ioBoolCheckMark || Bit == ioTrimGridDim) {
    RebuildColumns();
  } else if (Bit == ioColumnTotals) {
    FormToSettings();
    ObjInfo->Remeasure(paPagesAcross, FColumnsChanged);
  }
  ApplyFontScaling(false);
}

void TfmVlxMain::RebuildColumns() {
  TObjInfo& Info = *ObjInfo;
  Info.CalcUsedExtent();
  if (Info.ColsList) SaveColumnTotals(*Info.ColsList, *RptSettings);
  Info.ColsList.reset();
  int Count = Info.ColCount;
  Info.BuildColList(Count, true);
  LoadColumnTotals(*Info.ColsList, *RptSettings);
  Info.ColumnScan(this, paPagesAcross, FColumnsChanged);
  SizeColumnsGrid();
  dgColumns->Invalidate();
}

void TfmVlxMain::LayoutStylePanel() {
  if (!paStyle->Visible()) {
    paStyleOpts->SetHeight(paStylesLeft->Height() - paOutputQuality->Height());
    return;
  }
  const int Free = paMiddle->Height() - paStyle->Top() - edTextFontSize->Top() - edTextFontSize->Height();
  if (pcStyles->ActivePage() != tsStyles) {
    paStyleOpts->SetHeight(Free - 60);
    return;
  }
  // Room for every row under the heading, no more than the panel leaves.
  const auto* Heading = dynamic_cast<TControl*>(FindComponent("lbInclude"));
  const int Wanted = lbxStyleOpts->Items().Count() * lbxStyleOpts->ItemHeight() + (Heading ? Heading->Height() : 0) + 15;
  paStyleOpts->SetHeight(std::min(Wanted, Free - 50));
}

// ---- Tab changes -----------------------------------------------------------------------------

void TfmVlxMain::pcOptionsChanging(TObject*, bool& AllowChange) {
  // A check that failed before is made again, not waved through: the page may be left once its
  // field holds a value the window can take.
  AllowChange = true;
  FValidationFailed = false;
  TNotifyEvent Handler;
  TWinControl* Control = nullptr;
  struct TPutBack {
    TfmVlxMain& Form;
    TNotifyEvent& Handler;
    TWinControl*& Control;
    ~TPutBack() {
      Form.FValidationFailed = false;
      if (Control && Handler) Control->OnExit = Handler;
    }
  } PutBack{*this, Handler, Control};
  // The field's exit check is what may refuse the change, so it runs as on leaving the field:
  // with the handlers suppressed it would check nothing.
  Handler = RunActiveControlExit(true, Control);
  AllowChange = !FValidationFailed;
  // The page being left is where a refused Setup password comes back to, whether it was last
  // brought to the front by a tab, the menu or a field error.
  if (AllowChange) FPrevOptionsPage = pcOptions->ActivePage();
}

void TfmVlxMain::ShowSetupContents(bool Value) {
  for (int I = 0; I < tsSetup->ControlCount(); ++I) tsSetup->Controls(I)->SetVisible(Value);
}

void TfmVlxMain::pcOptionsChange(TObject*) {
  TTabSheet* Page = pcOptions->ActivePage();
  if (!Page) return;
  if (Page == tsSetup) {
    ShowSetupContents(false);
    if (AskReportPassword(RptSettings->ReportTitle, "Enter Setup Password:", RptSettings->RptSetUpPW,
                          PasswordCache.RptSetUpPW, false)) {
      ShowSetupContents(true);
    } else {
      TTabSheet* Back = FPrevOptionsPage && FPrevOptionsPage != tsSetup && FPrevOptionsPage->TabVisible()
                            ? FPrevOptionsPage
                            : pcOptions->FindNextPage(tsSetup, false, true);
      if (Back && Back != tsSetup) pcOptions->SetActivePage(Back);
      Page = pcOptions->ActivePage();
    }
  } else if (Page == tsTitles) {
    ShowMemoSettings();
  }
  // Every page shares one help topic.
  pcOptions->SetHelpContext(pcOptions->Tag + 200);
  if (FPrevOptionsPage && FPrevOptionsPage != Page) FPrevOptionsPage->Invalidate();
  FPrevOptionsPage = Page;
}

// ---- Keys and hints --------------------------------------------------------------------------

void TfmVlxMain::FormKeyDown(TObject*, unsigned short& Key, TShiftState Shift) {
  if (!(Shift & ssCtrl) || (Key != VkUp && Key != VkDown)) return;
  if (pcOptions->ActivePage() != tsTitles || !tsTitles->TabVisible() || ActiveControl() == lbxMemoLocation) return;
  // The memo being left is checked whole, whichever of its controls has the focus: its margin
  // and width are checked together, so a sum refused on leaving the width edit stays refused.
  if (ValidateOptions(edMemoWidPer, false, true) && ValidateOptions(ActiveControl(), false, true)) {
    if (!RptSettings->Modified) RptSettings->Modified = memRptMemo->Modified();
    const int Last = lbxMemoLocation->Items().Count() - 1;
    const int Wanted = lbxMemoLocation->ItemIndex() + (Key == VkUp ? -1 : 1);
    lbxMemoLocation->SetItemIndex(std::clamp(Wanted, 0, Last));
    if (Wanted < 0 || Wanted > Last) Beep(65535);
  }
  Key = 0;
  lbxMemoLocationClick(lbxMemoLocation);
}

void TfmVlxMain::AppHintHandler(TObject*) {
  TPanel* Panel = MessagePanel();
  if (!Timer1->Enabled() && Panel->Color() != clBtnFace) Panel->SetColor(clBtnFace);
  if (Panel->Color() != clBtnFace) return;
  const std::string Date = PrintSettings ? PrintSettings->RunDateText : std::string();
  const std::string Time = PrintSettings ? PrintSettings->RunTimeText : std::string();
  Panel->SetCaption(" " + ExpandTitleMacros(true, Application->Hint(), Date, Time));
}

void TfmVlxMain::cbShowHintClick(TObject*) {
  if (FSuppressEvents) return;
  Application->SetShowHint(cbShowHint->Checked());
  RptSettings->Modified = true;
}

// ---- Binding ---------------------------------------------------------------------------------

void TfmVlxMain::BindStyleTitlesHandlers() {
  BindHandler("lbxStyleOptsClickCheck", &TfmVlxMain::lbxStyleOptsClickCheck);
  BindHandler("pcOptionsChange", &TfmVlxMain::pcOptionsChange);
  BindHandler("cbShowHintClick", &TfmVlxMain::cbShowHintClick);
  BindHandler("lbxMemoLocationClick", &TfmVlxMain::lbxMemoLocationClick);
  BindHandler("memRptMemoExit", &TfmVlxMain::memRptMemoExit);
  BindHandler("edMemoXPosPerExit", &TfmVlxMain::edMemoXPosPerExit);
  BindHandler("buMemoFontClick", &TfmVlxMain::buMemoFontClick);
  BindHandler("edMemoDateFormatStrChange", &TfmVlxMain::edMemoDateFormatStrChange);
  BindHandler("edMemoTimeFormatStrChange", &TfmVlxMain::edMemoTimeFormatStrChange);
  BindHandler("edMemoPageFormatStrChange", &TfmVlxMain::edMemoPageFormatStrChange);
  PublishedMethod("pcOptionsChanging", TTabChangingEvent([this](TObject* Sender, bool& AllowChange) {
                    pcOptionsChanging(Sender, AllowChange);
                  }));
  PublishedMethod("FormKeyDown", TKeyEvent([this](TObject* Sender, unsigned short& Key, TShiftState Shift) {
                    FormKeyDown(Sender, Key, Shift);
                  }));
}
