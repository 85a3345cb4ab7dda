// The selected-rows question "Print which rows?": print only the rows selected in the object,
// all rows, or stop the report. The window holds no logic beyond a beep as it comes up, to draw
// the eye to a question the user did not ask for; AskSelectedRows fills it, shows it and reads it.
#pragma once
#include "engine/VLMXGbl/RunUI.h"
#include "framework/Forms.h"

class TButton;
class TImage;
class TPanel;
class TRadioButton;

class TfmvlxAskSelectedRows : public TForm {
public:
  explicit TfmvlxAskSelectedRows(TComponent* AOwner);

  TImage* Image1 = nullptr;
  TRadioButton* rbPrintSelectedRows = nullptr;
  TRadioButton* rbPrintAllRows = nullptr;
  TButton* bbOk = nullptr;
  TPanel* Panel1 = nullptr;
  TButton* bbCancel = nullptr;
};

// The question while it is shown; nullptr otherwise.
extern TfmvlxAskSelectedRows* fmvlxAskSelectedRows;

// Asks which rows to print, SelectedCount of them being selected; closing the window is the
// same as its Cancel button. The window is freed however the question ends.
TvlxRowsAnswer AskSelectedRows(int SelectedCount);
