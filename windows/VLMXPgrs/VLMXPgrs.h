// The progress window that the engine shows while it works through rows. The engine drives it
// only through ProgressStart, ProgressAdvance and ProgressFinish; the user can suspend the job
// there and then resume or abort it, which the engine sees as RunState 3.
#pragma once
#include <initializer_list>
#include <string>

#include "framework/Forms.h"

class TButton;
class TLabel;
class TPanel;

class TfmVlxProgress : public TForm {
public:
  explicit TfmVlxProgress(TComponent* AOwner);

  TLabel* lbOutputDestination;
  TPanel* paProgressBackground;
  TPanel* paProgressBar;
  TLabel* lbPageNum;
  TButton* bbCancel;
  TButton* bbResumeOper;
  TButton* bbAbortOper;
  TPanel* paStatusBar;

  unsigned LastTick = 0;
  TCursor SavedCursor = crDefault;
  int PendingRequest = 0;  // 0 none, 3 abort, 5 resume
  bool MayClose = false;

  std::string OperationText(bool PastTense, bool WithStatus) const;
  static std::string CountUnitName();
  void SetProgressStatusBar(bool Suspended);
  static void SetControlsShown(std::initializer_list<TControl*> Controls, bool Show);

private:
  // Blocks the engine in a modal loop until the user resumes or aborts.
  void Suspend();
  void ResumeClick();
  void AbortClick();
};

// The one progress window; nullptr while none exists.
extern TfmVlxProgress* fmVlxProgress;

// Shows the window when Show is set and the report settings allow a progress window.
void ProgressStart(bool Show, const std::string& Caption, const std::string& AbortCaption,
                   const std::string& ResumeCaption);
// Draws Count of Total and lets the user act, at most once every 500 ms; a Count beyond Total
// doubles the caller's Total. PagePanel.Y above 0 shows the page {panel, page}.
void ProgressAdvance(TfmVlxProgress* Form, int Count, int& Total, TPoint PagePanel);
// Closes and frees the window. The summary view is not offered: the window simply closes.
void ProgressFinish(bool ShowSummary, const std::string& Msg);
