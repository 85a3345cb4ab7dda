#include "windows/VLMXASel/VLMXASel.h"

#include "framework/ExtCtrls.h"
#include "framework/StdCtrls.h"
#include "framework/rtl/SysUtils.h"

TfmvlxAskSelectedRows* fmvlxAskSelectedRows = nullptr;

TfmvlxAskSelectedRows::TfmvlxAskSelectedRows(TComponent* AOwner) : TForm(AOwner) {
  Published(Image1, "Image1");
  Published(rbPrintSelectedRows, "rbPrintSelectedRows");
  Published(rbPrintAllRows, "rbPrintAllRows");
  Published(bbOk, "bbOk");
  Published(Panel1, "Panel1");
  Published(bbCancel, "bbCancel");
  PublishedMethod("FormActivate", TNotifyEvent([](TObject*) { Beep(); }));
  CreateFromLayout("TfmvlxAskSelectedRows");
}

TvlxRowsAnswer AskSelectedRows(int SelectedCount) {
  TFreeWindowOnExit<TfmvlxAskSelectedRows> Release(fmvlxAskSelectedRows);
  if (!fmvlxAskSelectedRows) fmvlxAskSelectedRows = new TfmvlxAskSelectedRows(Application);
  TfmvlxAskSelectedRows& Form = *fmvlxAskSelectedRows;
  Form.rbPrintSelectedRows->SetCaption(Format("Print %d selected rows", {SelectedCount}));
  if (SelectedCount != 0) Form.rbPrintSelectedRows->SetChecked(true);
  else Form.rbPrintAllRows->SetChecked(true);
  if (Form.ShowModal() != mrOk) return TvlxRowsAnswer::Cancel;
  return Form.rbPrintSelectedRows->Checked() ? TvlxRowsAnswer::SelectedRows : TvlxRowsAnswer::AllRows;
}
