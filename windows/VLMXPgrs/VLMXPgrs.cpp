#include "windows/VLMXPgrs/VLMXPgrs.h"

#include <memory>

#include "engine/VLMXGbl/ObjInfo.h"
#include "engine/VLMXGbl/PrintSettings.h"
#include "engine/VLMXUtil.h"
#include "engine/Vellumix/ReportSettings.h"
#include "framework/ExtCtrls.h"
#include "framework/StdCtrls.h"
#include "framework/rtl/DateUtils.h"
#include "framework/rtl/SysUtils.h"

TfmVlxProgress* fmVlxProgress = nullptr;

namespace {

constexpr unsigned RefreshMs = 500;
constexpr unsigned short vkPause = 19, vkEscape = 27;
constexpr TColor BarColor = 8454016;

const char* const PresentTense[] = {"Printing", "Previewing", "Scanning", "Exporting", "?",
                                    "Calculating Column Widths"};
const char* const PastTense[] = {"Report", "Previewed", "Scanned", "Export", "?",
                                 "Calculated Column Widths"};
const char* const RunStateText[] = {" Inactive", " Active", " Completed Normally",
                                    " --Terminated With Error--", " User Cancelled"};

template <class T>
T* AddControl(TCustomForm* Form, const std::string& Name, int Left, int Top, int Width, int Height,
              const std::string& Caption = "") {
  T* Control = new T(Form);
  Control->SetName(Name);
  Control->SetParent(Form);
  Control->SetBounds(Left, Top, Width, Height);
  Control->SetCaption(Caption);
  return Control;
}

}  // namespace

TfmVlxProgress::TfmVlxProgress(TComponent* AOwner) : TForm(AOwner) {
  SetName("fmVlxProgress");
  SetCaption("Processing...");
  SetBorderStyle(TFormBorderStyle::bsSingle);
  SetPosition(TPosition::poScreenCenter);
  SetKeyPreview(true);
  Font().SetName("Arial");
  Font().SetHeight(-13);
  SetClientWidth(320);
  SetClientHeight(170);
  lbOutputDestination = AddControl<TLabel>(this, "lbOutputDestination", 8, 6, 304, 16);
  lbOutputDestination->SetAlignment(TAlignment::taCenter);
  paProgressBackground = AddControl<TPanel>(this, "paProgressBackground", 14, 28, 291, 24);
  paProgressBackground->SetBevelOuter(TBevelCut::bvLowered);
  paProgressBackground->Font().SetStyle(fsBold);
  paProgressBar = new TPanel(this);
  paProgressBar->SetName("paProgressBar");
  paProgressBar->SetParent(paProgressBackground);
  paProgressBar->SetBounds(0, 0, 0, 24);
  paProgressBar->SetColor(BarColor);
  lbPageNum = AddControl<TLabel>(this, "lbPageNum", 8, 60, 304, 16);
  lbPageNum->SetAlignment(TAlignment::taCenter);
  bbCancel = AddControl<TButton>(this, "bbCancel", 122, 86, 75, 25, "&Cancel");
  bbResumeOper = AddControl<TButton>(this, "bbResumeOper", 24, 86, 130, 25, "&Resume Print Job");
  bbAbortOper = AddControl<TButton>(this, "bbAbortOper", 166, 86, 130, 25, "&Abort Print Job");
  paStatusBar = AddControl<TPanel>(this, "paStatusBar", 0, 146, 320, 24, "Processing...Please Wait!");
  paStatusBar->SetBevelOuter(TBevelCut::bvLowered);
  paStatusBar->Font().SetStyle(fsBold);
  SetControlsShown({bbResumeOper, bbAbortOper}, false);
  lbPageNum->SetCaption("");
  LastTick = TickCount();

  bbCancel->OnClick = [this](TObject*) { Suspend(); };
  bbResumeOper->OnClick = [this](TObject*) { ResumeClick(); };
  bbAbortOper->OnClick = [this](TObject*) { AbortClick(); };
  OnKeyDown = [this](TObject*, unsigned short& Key, TShiftState Shift) {
    const bool Stop = Key == vkEscape || (Key == vkPause && (Shift & ssCtrl));
    if (!Stop || !bbCancel->Visible()) return;
    Key = 0;
    Suspend();
  };
  OnShow = [this](TObject*) {
    MayClose = false;
    if (PrintSettings && (PrintSettings->PageMode == pmPrint || PrintSettings->PageMode == pmAsciiExport))
      lbOutputDestination->SetCaption("Output: " + PrintSettings->DestName);
  };
  OnCloseQuery = [this](TObject*, bool& CanClose) {
    CanClose = MayClose;
    if (!CanClose) Beep();
  };
}

std::string TfmVlxProgress::OperationText(bool PastTense, bool WithStatus) const {
  const unsigned Mode = PrintSettings ? PrintSettings->PageMode : 99;
  std::string Text = Mode < std::size(PresentTense) ? (PastTense ? ::PastTense : PresentTense)[Mode] : "?";
  if (WithStatus && PrintSettings && PrintSettings->RunState < std::size(RunStateText))
    Text += RunStateText[PrintSettings->RunState];
  return Text;
}

std::string TfmVlxProgress::CountUnitName() {
  return ObjInfo && IsKindInRange(ObjInfo->ObjType) ? "Rows" : "Records";
}

void TfmVlxProgress::SetProgressStatusBar(bool Suspended) {
  if (Suspended) {
    paStatusBar->SetColor(clBlack);
    paStatusBar->Font().SetColor(clWhite);
    paStatusBar->SetCaption("-- User Suspended " + OperationText(false, false) + " --");
    return;
  }
  if (paStatusBar->Color() != clBtnFace) paStatusBar->SetColor(clBtnFace);
  if (paStatusBar->Font().Color() != clWindowText) paStatusBar->Font().SetColor(clWindowText);
  paStatusBar->SetCaption(OperationText(false, false) + "...Please Wait!");
}

void TfmVlxProgress::SetControlsShown(std::initializer_list<TControl*> Controls, bool Show) {
  for (TControl* Control : Controls) {
    if (dynamic_cast<TWinControl*>(Control)) Control->SetEnabled(Show);
    Control->SetVisible(Show);
  }
}

void TfmVlxProgress::Suspend() {
  SetControlsShown({bbAbortOper, bbResumeOper}, true);
  SetControlsShown({bbCancel}, false);
  SetProgressStatusBar(true);
  PendingRequest = 0;
  MayClose = true;
  Close();
  PlaceForm(this, true);
  ShowModal();
  if (PendingRequest == 3) {
    MayClose = true;
    Close();
    return;
  }
  // Closed any other way than by Abort, the job goes on.
  SetControlsShown({bbAbortOper, bbResumeOper}, false);
  SetControlsShown({bbCancel}, true);
  SetProgressStatusBar(false);
  Show();
  Application->ProcessMessages();
}

void TfmVlxProgress::ResumeClick() {
  SetControlsShown({bbAbortOper, bbResumeOper}, false);
  SetControlsShown({bbCancel}, true);
  SetProgressStatusBar(false);
  PendingRequest = 5;
  MayClose = true;
  Close();
}

void TfmVlxProgress::AbortClick() {
  PendingRequest = 3;
  SetControlsShown({bbAbortOper, bbResumeOper}, false);
  SetControlsShown({bbCancel}, true);
  if (PrintSettings) PrintSettings->RunState = rsTerminatedWithError;
  MayClose = true;
  Close();
}

void ProgressStart(bool Show, const std::string& Caption, const std::string& AbortCaption,
                   const std::string& ResumeCaption) {
  if (!Show || (RptSettings && !RptSettings->DisplayProgressWin)) return;
  if (!fmVlxProgress) fmVlxProgress = new TfmVlxProgress(nullptr);
  TfmVlxProgress& Form = *fmVlxProgress;
  Form.SavedCursor = Screen->Cursor();
  Screen->SetCursor(crHourGlass);
  Form.paProgressBar->SetWidth(0);
  Form.paProgressBar->SetCaption("");
  Form.lbPageNum->SetCaption("");
  if (!Caption.empty()) Form.SetCaption(Caption);
  Form.SetProgressStatusBar(false);
  Form.bbAbortOper->SetCaption(AbortCaption);
  Form.bbResumeOper->SetCaption(ResumeCaption);
  TfmVlxProgress::SetControlsShown({Form.bbAbortOper, Form.bbResumeOper}, false);
  TfmVlxProgress::SetControlsShown({Form.bbCancel}, true);
  PlaceForm(&Form, true);
  Form.Show();
}

void ProgressAdvance(TfmVlxProgress* Form, int Count, int& Total, TPoint PagePanel) {
  if (!Form || TickCount() - Form->LastTick <= RefreshMs) return;
  double Fraction = 0;
  if (Total >= 1) {
    if (Count > Total) Total *= 2;
    Fraction = static_cast<double>(Count) / Total;
  }
  Form->paProgressBar->SetWidth(static_cast<int>(Form->paProgressBackground->Width() * Fraction));
  Form->paProgressBar->SetCaption(
      Format("%d %s (%3.0f%%)", {Count, TfmVlxProgress::CountUnitName(), Fraction * 100}));
  if (PagePanel.Y > 0)
    Form->lbPageNum->SetCaption(
        Format(Form->OperationText(false, false) + ": Page %d-%d", {PagePanel.Y, PagePanel.X}));
  Application->ProcessMessages();
  Form->LastTick = TickCount();
}

void ProgressFinish(bool /*ShowSummary*/, const std::string& /*Msg*/) {
  if (!fmVlxProgress) return;
  std::unique_ptr<TfmVlxProgress> Form(fmVlxProgress);
  struct TClear {
    ~TClear() { fmVlxProgress = nullptr; }
  } Clear;
  Screen->SetCursor(Form->SavedCursor);
  Form->MayClose = true;
  Form->Close();
}
