#include "windows/ReportWindows.h"

#include "engine/VLMXGbl/RunUI.h"
#include "framework/Dialogs.h"
#include "framework/Forms.h"
#include "framework/StdCtrls.h"
#include "framework/rtl/SysUtils.h"
#include "windows/VLMXASel/VLMXASel.h"
#include "windows/VLMXMain/VLMXMain.h"
#include "windows/VLMXPgrs/VLMXPgrs.h"

namespace {

class TReportWindows : public TvlxRunUI {
public:
  void ProgressStart(bool Show, const std::string& Caption, const std::string& AbortCaption,
                     const std::string& ResumeCaption) override {
    ::ProgressStart(Show, Caption, AbortCaption, ResumeCaption);
  }
  void ProgressAdvance(int Count, int& Total, TPoint PagePanel) override {
    if (fmVlxProgress) ::ProgressAdvance(fmVlxProgress, Count, Total, PagePanel);
  }
  void ProgressFinish(bool ShowSummary, const std::string& Msg) override { ::ProgressFinish(ShowSummary, Msg); }
  // The buttons and keys of the progress window take effect while its messages are processed;
  // without a progress window the run's other windows take nothing meanwhile either.
  void CheckSuspend() override {
    ProgressDisableWindows();
    Application->ProcessMessages();
  }

  TvlxRowsAnswer AskSelectedRows(int SelectedCount) override { return ::AskSelectedRows(SelectedCount); }

  TvlxExistingFileAnswer AskExistingFile(const std::string& FileName) override {
    const int Answer = MessageDlg(
        "File \"" + FileName + "\" already exists\rOverwrite this file?\r\r  Yes   : Overwrites\r"
        "  No    : Appends to file\r  Cancel: Terminates Report",
        TMsgDlgType::mtWarning, mbYesNoCancel, 700);
    if (Answer == mrYes) return TvlxExistingFileAnswer::Overwrite;
    if (Answer == mrNo) return TvlxExistingFileAnswer::Append;
    return TvlxExistingFileAnswer::Cancel;
  }

  bool AskRetryBusyLock(const std::string& LockFileName) override {
    // Any answer but Retry gives up, the close box included.
    return MessageDlg("ReportSettings Lock File \"" + LockFileName + "\" is busy.\r Do you want to retry?",
                      TMsgDlgType::mtWarning, mbAbort | mbRetry, 0) == mrRetry;
  }

  void ShowMessage(const std::string& Text, unsigned Flags) override {
    if (Application) Application->MessageBox(Text, Application->Title(), Flags);
  }

  int RunSetupWindow(TvlxVellumix& Component) override {
    TCustomForm* ActiveWindow = Screen->ActiveForm();
    // Freeing the window frees the run's objects and puts the application's state back.
    TFreeWindowOnExit<TfmVlxMain> FreeWindow(fmVlxMain);
    fmVlxMain = new TfmVlxMain(Application);
    if (!fmVlxMain->RunReady()) return 3;
    fmVlxMain->BindComponent(Component, ActiveWindow);
    fmVlxMain->ShowModal();
    return fmVlxMain->RunResult();
  }

  void ShowPagesAcross(TControl& Label, int PagesAcross, bool Highlight) override {
    if (PagesAcross == 1) {
      Label.SetCaption("1 Page Across");
      Label.SetColor(clBtnFace);
      return;
    }
    Label.SetCaption(Format("%d Pages Across", {PagesAcross}));
    Label.SetColor(Highlight ? clYellow : clBtnFace);
  }
};

}  // namespace

void RegisterReportWindows() {
  static TReportWindows Windows;
  SetRunUI(&Windows);
}
