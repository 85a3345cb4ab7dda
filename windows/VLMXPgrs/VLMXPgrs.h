// The progress window that the engine shows while it works through rows. The engine drives it
// only through ProgressStart, ProgressAdvance and ProgressFinish; the user can suspend the job
// there and then resume or abort it (the engine sees an abort as RunState 3), and at the end it
// may stay open as a summary with a coloured status line.
#pragma once
#include <initializer_list>
#include <string>

#include "framework/Buttons.h"
#include "framework/Forms.h"

class TLabel;
class TPanel;

class TfmVlxProgress : public TForm {
public:
  explicit TfmVlxProgress(TComponent* AOwner);
  // Freed however the run ended, it takes the run's hold on the other windows with it.
  ~TfmVlxProgress() override;

  TLabel* lbOutputDestination = nullptr;
  TPanel* paProgressBackground = nullptr;
  TPanel* paProgressBar = nullptr;
  TLabel* lbPageNum = nullptr;
  TBitBtn* bbOk = nullptr;
  TBitBtn* bbCancel = nullptr;
  TBitBtn* bbResumeOper = nullptr;
  TBitBtn* bbAbortOper = nullptr;
  TPanel* paStatusBar = nullptr;

  unsigned LastTick = 0;   // tick count of the last repaint
  TCursor SavedCursor = crDefault;
  int PendingRequest = 0;  // outcome of a suspension: 0 none, 3 abort, 5 resume
  bool MayClose = false;   // a close request is honoured only while set

  // The run's operation by its page mode, in the present ("Printing") or past tense ("Report"),
  // with the run state appended when WithStatus.
  std::string OperationText(bool PastTense, bool WithStatus) const;
  // What the count of the bar counts: "Rows" for every kind of printed object, else "Records".
  static std::string CountUnitName();
  void SetProgressStatusBar(bool Suspended);
  // Shows and enables, or hides and disables, each control of the list.
  static void SetControlsShown(std::initializer_list<TControl*> Controls, bool Show);
  // The bar's count: on the bar once the bar is wide enough for it, before that at the right of
  // the frame, so that a narrow bar never cuts it. Set the bar's width first.
  void ShowBarText(const std::string& Text);
  // Turns the window into the modal summary of the run, telling Msg, until Ok.
  void ShowSummary(const std::string& Msg);

private:
  void FormCreate();
  void FormKeyDown(unsigned short& Key, TShiftState Shift);
  // Blocks the engine in a modal loop until the user resumes or aborts.
  void Suspend();
  void bbResumeOperClick();
  void bbAbortOperClick();
  void ShowRunning(bool Running);
  void SetStatusLine(TColor Color, TColor FontColor, const std::string& Caption);
};

// The one progress window; nullptr while none exists.
extern TfmVlxProgress* fmVlxProgress;

// Shows the window when Show is set and the report settings allow a progress window.
void ProgressStart(bool Show, const std::string& Caption, const std::string& AbortCaption,
                   const std::string& ResumeCaption);
// Draws Count of Total and lets the user act, when more than 500 ms passed since the last time;
// a Count beyond Total doubles the caller's Total. PagePanel.Y above 0 shows the page
// {panel, page}.
void ProgressAdvance(TfmVlxProgress* Form, int Count, int& Total, TPoint PagePanel);
// Ends the window: closed at once, or first shown modally as the summary telling Msg; freed
// either way. The windows that the run disabled answer again.
void ProgressFinish(bool ShowSummary, const std::string& Msg);
// Until ProgressFinish, every other window of the program takes no input: the run lets messages
// through only for the progress window's buttons and keys. ProgressStart calls it for its window;
// a page loop that lets messages through without one calls it too.
void ProgressDisableWindows();
