// The Titles page: the seven titles and memos chosen in the location list, their text, place,
// spacing, alignment, visibility and font, the strip that shows to scale where the memo sits on
// the page, and the date, time and page formats of the memo macros with their samples.
#include <algorithm>
#include <cmath>

#include "engine/VLMXGbl/Memo.h"
#include "engine/VLMXGbl/PrintSettings.h"
#include "engine/VLMXGbl0.h"
#include "engine/VLMXUtil.h"
#include "engine/Vellumix/ReportSettings.h"
#include "framework/ComCtrls.h"
#include "framework/Dialogs.h"
#include "framework/ExtCtrls.h"
#include "framework/Grids.h"
#include "framework/StdCtrls.h"
#include "framework/rtl/DateUtils.h"
#include "framework/rtl/SysUtils.h"
#include "windows/VLMXMain/VLMXMain.h"

namespace {

// Restores a flag when the scope ends.
struct TFlagGuard {
  bool& Flag;
  bool Saved;
  TFlagGuard(bool& AFlag, bool During) : Flag(AFlag), Saved(AFlag) { Flag = During; }
  ~TFlagGuard() { Flag = Saved; }
};

int PercentOf(int Percent, int Width) { return static_cast<int>(std::lround(Percent / 100.0 * Width)); }

// The memo record of the list's selected row; nullptr when none is selected.
TvlxRptMemo* SelectedMemo(const TListBox& List) {
  const int Index = List.ItemIndex();
  return Index >= 0 ? RptSettings->RptMemo(Index) : nullptr;
}

}  // namespace

void TfmVlxMain::EnableMemoControls(bool Enabled) {
  for (TControl* C : std::initializer_list<TControl*>{memRptMemo, edMemoXPosPer, edMemoWidPer, edMemoSpacesAbove,
                                                      edMemoSpacesBelow, rbRptMemoLeftJustify, rbRptMemoCenterJustify,
                                                      rbRptMemoRightJustify, cbMemoVisible, buMemoFont})
    C->SetEnabled(Enabled);
}

void TfmVlxMain::LoadMemoControls() {
  const TvlxRptMemo* Memo = SelectedMemo(*lbxMemoLocation);
  EnableMemoControls(Memo != nullptr);
  if (!Memo) return;
  TFlagGuard Quiet(FSuppressEvents, true);
  const int Index = lbxMemoLocation->ItemIndex();
  // Before the text: a memo's window takes a new alignment only by being made anew.
  ShowMemoAlignment(*Memo);
  memRptMemo->SetText(RptSettings->MemoVisible(Index, false) ? Memo->Text : std::string());
  memRptMemo->SetModified(false);
  edMemoXPosPer->SetText(IntToStr(Memo->XPosPer));
  edMemoWidPer->SetText(IntToStr(Memo->WidPer));
  const TRect& Margin = PrintSettings->UnitSet == usText ? Memo->MarginTxt : Memo->MarginThous;
  edMemoSpacesAbove->SetText(IntToStr(Margin.Top));
  edMemoSpacesBelow->SetText(IntToStr(Margin.Bottom));
  (Memo->Alignment == 2   ? rbRptMemoCenterJustify
   : Memo->Alignment == 1 ? rbRptMemoRightJustify
                          : rbRptMemoLeftJustify)
      ->SetChecked(true);
  cbMemoVisible->SetChecked(Memo->Visible);
}

void TfmVlxMain::ShowMemoAlignment(const TvlxRptMemo& Memo) {
  memRptMemo->SetAlignment(Memo.Alignment == 2   ? TAlignment::taCenter
                           : Memo.Alignment == 1 ? TAlignment::taRightJustify
                                                 : TAlignment::taLeftJustify);
}

int TfmVlxMain::FirstMemoOutOfPage() const {
  for (int I = 0; I < lbxMemoLocation->Items().Count(); ++I)
    if (const TvlxRptMemo* Memo = RptSettings->RptMemo(I); Memo->XPosPer + Memo->WidPer > 100) return I;
  return -1;
}

void TfmVlxMain::lbxMemoLocationClick(TObject*) {
  if (FSuppressEvents) return;
  LoadMemoControls();
  if (ValidateOptions(lbxMemoLocation, false, true)) ShowOutputDestOptions(lbxMemoLocation, false);
}

void TfmVlxMain::ShowMemoSettings() {
  if (lbxMemoLocation->ItemIndex() < 0 && lbxMemoLocation->Items().Count() > 0) {
    lbxMemoLocation->SetItemIndex(0);
    lbxMemoLocationClick(lbxMemoLocation);
  }
  const TvlxRptMemo* Memo = SelectedMemo(*lbxMemoLocation);
  EnableMemoControls(Memo != nullptr);
  if (Memo) {
    const TvlxReportSettings& S = *RptSettings;
    const TNotifyEvent SavedChange = memRptMemo->OnChange;
    memRptMemo->OnChange = nullptr;
    ShowMemoAlignment(*Memo);
    TFont& Font = memRptMemo->Font();
    // Character output prints every memo in the report's one fixed font.
    const bool Fixed = S.IsTextStyleOutput();
    const std::string& Name = Fixed ? S.TextFontName : Memo->FontName;
    const int Size = Fixed ? S.TextFontSize : Memo->FontSize;
    if (!Name.empty()) Font.SetName(Name);
    if (Size > 0) Font.SetSize(Size);
    Font.SetStyle(IntToFontStyles(Fixed ? S.TextFontStyle : Memo->FontStyle));
    Font.SetColor(static_cast<TColor>(Fixed ? S.TextFontColor : Memo->FontColor));
    memRptMemo->SetColor(Memo->Visible ? clWhite : clSilver);
    memRptMemo->OnChange = SavedChange;
    const TNotifyEvent SavedClick = cbMemoVisible->OnClick;
    cbMemoVisible->OnClick = nullptr;
    cbMemoVisible->SetChecked(Memo->Visible);
    cbMemoVisible->OnClick = SavedClick;
  }
  LayoutMemoMargins();
}

void TfmVlxMain::LayoutMemoMargins() {
  const TvlxRptMemo* Memo = RptSettings ? SelectedMemo(*lbxMemoLocation) : nullptr;
  paMemoTitlesBottom->SetVisible(Memo != nullptr);
  if (TControl* Top = dynamic_cast<TControl*>(FindComponent("paMemoTitlesTop"))) Top->SetVisible(Memo != nullptr);
  if (!Memo) return;
  const int W = pcOptions->Width();
  const int Left = PercentOf(Memo->XPosPer, W), Width = PercentOf(Memo->WidPer, W);
  memRptMemo->SetBounds(Left, 0, Width, paMemoTitlesBottom->Height());
  const auto Place = [&](TLabel* Label, int LabelLeft, int LabelWidth, int Percent, const char* Side) {
    Label->SetBounds(LabelLeft, (memRptMemo->Height() - Label->Height()) / 2, std::max(LabelWidth, 0),
                     Label->Height());
    Label->SetCaption(std::string(Side) + " Margin " + IntToStr(Percent) + "%");
    FitMarginLabelFont(*Label);
  };
  Place(lbRptMemoLeftMargin, 0, Left - 1, Memo->XPosPer, "Left");
  Place(lbRptMemoRightMargin, Left + Width + 1, W - Left - Width - 1, 100 - Memo->XPosPer - Memo->WidPer, "Right");
}

// A narrow margin's label takes a smaller font rather than break a word: its words are measured
// in the font the screen draws them with, from the window's own size down to the smallest
// readable one.
void TfmVlxMain::FitMarginLabelFont(TLabel& Label) {
  constexpr int Smallest = 6;
  const int Largest = Font().Size();
  TFont Trial;
  Trial.Assign(Label.Font());
  const std::string& Caption = Label.Caption();
  int Size = Largest;
  for (; Size > Smallest; --Size) {
    Trial.SetSize(Size);
    int Widest = 0;
    for (size_t At = 0; At < Caption.size();) {
      const size_t End = std::min(Caption.find(' ', At), Caption.size());
      Widest = std::max(Widest, Backend::ScreenTextDevice().TextExtent(Caption.substr(At, End - At), Trial).cx);
      At = End + 1;
    }
    if (Widest <= Label.Width()) break;
  }
  Label.Font().SetSize(Size);
}

void TfmVlxMain::memRptMemoExit(TObject*) {
  if (!memRptMemo->Modified()) return;
  RptSettings->Modified = true;
  ValidateOptions(memRptMemo, false, true);
  memRptMemo->SetModified(false);
}

void TfmVlxMain::edMemoXPosPerExit(TObject* Sender) {
  if (FSuppressEvents || !ValidateOptions(Sender, false, true)) return;
  RptSettings->Modified = true;
  ShowOutputDestOptions(Sender, false);
}

void TfmVlxMain::buMemoFontClick(TObject*) {
  TvlxRptMemo* Memo = SelectedMemo(*lbxMemoLocation);
  if (!Memo) {
    Beep();
    return;
  }
  TFont& Font = FontDialog1->Font();
  Font.SetName(Memo->FontName);
  if (Memo->FontSize > 0) Font.SetSize(Memo->FontSize);
  Font.SetStyle(IntToFontStyles(Memo->FontStyle));
  Font.SetColor(static_cast<TColor>(Memo->FontColor));
  if (!FontDialog1->Execute()) return;
  Memo->FontName = Font.Name();
  Memo->FontSize = Font.Size();
  Memo->FontStyle = FontStylesToInt(Font.Style());
  Memo->FontColor = static_cast<int>(Font.Color());
  // A new font is a change to save like any other.
  RptSettings->Modified = true;
  ShowOutputDestOptions(buMemoFont, false);
}

void TfmVlxMain::edMemoDateFormatStrChange(TObject*) {
  if (FSuppressEvents || !PrintSettings) return;
  RptSettings->Modified = true;
  PrintSettings->RunDateText = FormatMemoDateTime(edMemoDateFormatStr->Text(), "ddddd", Now());
  ShowStatusMsg(paMsg, "Sample Date Format: " + PrintSettings->RunDateText, smkNormal, nullptr, -1);
}

void TfmVlxMain::edMemoTimeFormatStrChange(TObject*) {
  if (FSuppressEvents || !PrintSettings) return;
  RptSettings->Modified = true;
  PrintSettings->RunTimeText = FormatMemoDateTime(edMemoTimeFormatStr->Text(), "t", Now());
  ShowStatusMsg(paMsg, "Sample Time Format: " + PrintSettings->RunTimeText, smkNormal, nullptr, -1);
}

void TfmVlxMain::edMemoPageFormatStrChange(TObject*) {
  if (FSuppressEvents || !PrintSettings) return;
  RptSettings->Modified = true;
}
