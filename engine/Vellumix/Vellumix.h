// The report component: a non-visual part that a window holds to print one of its data
// objects. The window sets its properties in its layout and calls Print.
#pragma once
#include <functional>
#include <memory>
#include <string>

#include "framework/Classes.h"
#include "framework/Controls.h"
#include "framework/StdCtrls.h"

class TvlxReportSettings;
class TvlxFieldInfo;
class TvlxFileMgr;
class TDataSet;

inline const std::string VellumixVersion = "1.58g CS";

using TvlxAfterOptionsLoaded = std::function<void(TObject* Sender, TvlxReportSettings*& ReportSettings)>;
using TvlxOnZeroColumnTotals = std::function<void(TObject* Sender)>;
using TvlxOnFieldEdit = std::function<void(TObject* Sender, std::string& FldStr, TvlxFieldInfo* FieldInfo)>;
using TvlxOnFieldAlign =
    std::function<void(TObject* Sender, std::string& FldStr, bool& AlignField, TAlignment& Alignment,
                       TRect& DataRect, TRect MaxRect, TvlxFieldInfo* FieldInfo)>;
using TvlxOnCnvtFldError = std::function<void(TObject* Sender, const std::string& FldStr, TvlxFieldInfo* FieldInfo)>;
using TvlxOnFilterRecord = std::function<void(TObject* Sender, TDataSet* Dataset, int GridRow, bool& Accept,
                                              bool& TerminateReport)>;

class TvlxVellumix : public TComponent {
public:
  // Picks ObjectToPrint among the owner window's components: the first of the highest priority.
  explicit TvlxVellumix(TComponent* AOwner);
  ~TvlxVellumix() override;

  TComponent* ObjectToPrint() const { return FObjectToPrint; }
  void SetObjectToPrint(TComponent* Value);
  const std::string& DialogTitle() const { return FDialogTitle; }
  void SetDialogTitle(const std::string& Value) { FDialogTitle = Value; }
  // A blank id, once the component was created or its user changed, is replaced by a generated
  // one under which the report's (empty) section is stored at once.
  const std::string& ReportId();
  void SetReportId(const std::string& Value);
  const std::string& ReportSettingsFileName() const { return FReportSettingsFileName; }
  void SetReportSettingsFileName(const std::string& Value) { FReportSettingsFileName = Value; }
  const std::string& UserName() const { return FUserName; }
  void SetUserName(const std::string& Value);
  const std::string& Version() const { return VellumixVersion; }
  void SetVersion(const std::string&) {}

  TvlxAfterOptionsLoaded AfterOptionsLoaded;
  TvlxOnZeroColumnTotals OnZeroColumnTotals;
  TvlxOnFieldEdit OnFieldEdit;
  TvlxOnFieldAlign OnFieldAlign;
  TvlxOnCnvtFldError OnCnvtFldError;
  TvlxOnFilterRecord OnFilterRecord;

  // Runs the report in the setup window that the run's user interface (RunUI) shows: 0 when
  // nothing was printed, 1 finished, 2 cancelled at the existing-file question, 3 error or abort.
  int Print();

  // The report's section of the settings file, read into or written from the settings that
  // Print binds to the file manager; saving stamps their last-save date first.
  void LoadReportSettings();
  void SaveReportSettings();
  std::string GetReportSettingsFile() const;
  TvlxFileMgr* FileMgr() const { return FFileMgr.get(); }

  // The program's file name with its extension changed to Ext, or, with PathOnly, the
  // program's directory followed by Ext.
  static std::string GetAppFileName(TComponent* Component, bool PathOnly, const std::string& Ext);

  const TPropertyTable& PropertyTable() const override;

protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;

private:
  TComponent* FObjectToPrint = nullptr;
  std::string FDialogTitle;
  std::string FReportId;
  std::string FReportSettingsFileName;
  std::string FUserName;
  // Set by creation and by a change of user outside loading: a blank id may then be generated.
  unsigned char FIdOrUserChanged = 1;
  std::unique_ptr<TvlxFileMgr> FFileMgr;
};

// True for the classes of objects the component can print.
bool IsPrintableObject(const TComponent* Component);
