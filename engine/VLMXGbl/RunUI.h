// Everything of a report that the user sees or answers: the progress window, the questions,
// the setup window that Print opens and the setup window's pages-across label. The engine
// shows nothing itself; the report windows implement this interface and register it at
// program start. With none registered a run shows nothing, a question gets the answer that
// changes nothing (stop, do not overwrite, give up the lock), and Print fails for want of its
// setup window.
#pragma once
#include <string>

#include "framework/Controls.h"

class TControl;
class TfmVlxMain;
class TvlxVellumix;

enum class TvlxRowsAnswer { SelectedRows, AllRows, Cancel };
enum class TvlxExistingFileAnswer { Overwrite, Append, Cancel };

class TvlxRunUI {
public:
  virtual ~TvlxRunUI() = default;

  // ---- Progress of a row walk (column scan, page loop, export, last-page search) ----
  // Shows the progress window when Show is set and the report settings allow one.
  virtual void ProgressStart(bool Show, const std::string& Caption, const std::string& AbortCaption,
                             const std::string& ResumeCaption);
  // Count of Total done; a Count beyond Total may double the caller's Total. PagePanel.Y above
  // 0 also tells the page {page across, vertical page}.
  virtual void ProgressAdvance(int Count, int& Total, TPoint PagePanel);
  // Ends the progress window, with ShowSummary as a summary that tells Msg.
  virtual void ProgressFinish(bool ShowSummary, const std::string& Msg);
  // Lets the user suspend the run here and resume or abort it; an abort leaves run state 3.
  virtual void CheckSuspend();

  // ---- Questions and notices ----
  // Whether to print the SelectedCount selected rows only, all rows, or to stop the report.
  virtual TvlxRowsAnswer AskSelectedRows(int SelectedCount);
  // The output file FileName exists and the settings say to ask what to do with it.
  virtual TvlxExistingFileAnswer AskExistingFile(const std::string& FileName);
  // The settings file's lock LockFileName stayed busy: true to wait for it again.
  virtual bool AskRetryBusyLock(const std::string& LockFileName);
  // A message box the user only acknowledges; Flags are the box's buttons and icon (MsgBox).
  virtual void ShowMessage(const std::string& Text, unsigned Flags);

  // ---- Setup window ----
  // Creates the setup window for the component's report, shows it modally (the whole run
  // happens there) and frees it; the result of the last print made from it.
  virtual int RunSetupWindow(TvlxVellumix& Component);
  // Writes the number of pages across on the setup window's label; Highlight when a report
  // that wide goes to paper or a file.
  virtual void ShowPagesAcross(TControl& Label, int PagesAcross, bool Highlight);
};

// The registered implementation, or the one that shows nothing.
TvlxRunUI& RunUI();
// Registers UI for every later run (nullptr: none); the caller keeps it alive.
void SetRunUI(TvlxRunUI* UI);

// The setup window of the running report, or nullptr.
extern TfmVlxMain* fmVlxMain;
