// Dialogs: the message dialog of our own, which shows exactly the buttons asked and carries a
// help context, and the system's common dialogs (font, save file, printer setup). Each one is
// shown by the backend: real windows under Win32, the test's script headless.
#pragma once
#include <functional>
#include <string>

#include "framework/Forms.h"
#include "framework/Graphics.h"

enum class TMsgDlgType { mtWarning, mtError, mtInformation, mtConfirmation, mtCustom };

// Buttons of a message dialog, in the order the dialog shows them.
enum TMsgDlgBtn : unsigned {
  mbYes = 1, mbNo = 2, mbOK = 4, mbCancel = 8, mbAbort = 16, mbRetry = 32, mbIgnore = 64,
  mbAll = 128, mbHelp = 256
};
using TMsgDlgButtons = unsigned;
constexpr TMsgDlgButtons mbYesNoCancel = mbYes | mbNo | mbCancel;
constexpr TMsgDlgButtons mbOKCancel = mbOK | mbCancel;
constexpr TMsgDlgButtons mbAbortRetryIgnore = mbAbort | mbRetry | mbIgnore;

// Shows the question and returns the modal result of the button pressed (mrYes, mrCancel...);
// closing the dialog otherwise gives mrCancel. F1 or the Help button asks for the help topic
// HelpCtx (Application->HelpContext) and leaves the dialog open.
int MessageDlg(const std::string& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons, int HelpCtx);

// The dialog window of MessageDlg, not yet shown, owned by the application; Measure gives the
// size of a text in the dialog's font (lines broken at CR or LF), which the layout follows.
TForm* CreateMessageDialog(const std::string& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons,
                           int HelpCtx, const std::function<TSize(const std::string&)>& Measure);
// The caption of a dialog of that type ("Warning"...; the application's title for mtCustom).
std::string MessageDlgCaption(TMsgDlgType DlgType);

class TCommonDialog : public TComponent {
public:
  using TComponent::TComponent;
  // Shows the dialog modally; true when the user confirmed it.
  virtual bool Execute() = 0;
};

enum TFontDialogOption : unsigned { fdFixedPitchOnly = 1, fdEffects = 2, fdNoStyleSel = 4 };
using TFontDialogOptions = unsigned;

class TFontDialog : public TCommonDialog {
public:
  using TCommonDialog::TCommonDialog;

  // The font offered first, and the one chosen after a confirmed Execute.
  TFont& Font() { return FFont; }
  TFontDialogOptions Options() const { return FOptions; }
  void SetOptions(TFontDialogOptions Value) { FOptions = Value; }
  bool Execute() override;
  const TPropertyTable& PropertyTable() const override;

private:
  TFont FFont;
  TFontDialogOptions FOptions = fdEffects;
};

enum TOpenOption : unsigned {
  ofOverwritePrompt = 1, ofHideReadOnly = 2, ofPathMustExist = 4, ofNoChangeDir = 8
};
using TOpenOptions = unsigned;

class TSaveDialog : public TCommonDialog {
public:
  using TCommonDialog::TCommonDialog;

  const std::string& FileName() const { return FFileName; }
  void SetFileName(const std::string& Value) { FFileName = Value; }
  // The extension added to a name typed without one ("TXT").
  const std::string& DefaultExt() const { return FDefaultExt; }
  void SetDefaultExt(const std::string& Value) { FDefaultExt = Value; }
  // "Text files (*.txt)|*.txt|All files (*.*)|*.*"
  const std::string& Filter() const { return FFilter; }
  void SetFilter(const std::string& Value) { FFilter = Value; }
  const std::string& Title() const { return FTitle; }
  void SetTitle(const std::string& Value) { FTitle = Value; }
  TOpenOptions Options() const { return FOptions; }
  void SetOptions(TOpenOptions Value) { FOptions = Value; }
  bool Execute() override;
  const TPropertyTable& PropertyTable() const override;

private:
  std::string FFileName, FDefaultExt, FFilter, FTitle;
  TOpenOptions FOptions = ofHideReadOnly;
};

// The system's printer setup; the printer and orientation chosen become Printer()'s.
class TPrinterSetupDialog : public TCommonDialog {
public:
  using TCommonDialog::TCommonDialog;
  bool Execute() override;
};

namespace Backend {
int MessageDlg(const std::string& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons, int HelpCtx);
bool ExecuteFontDialog(TFontDialog& Dialog);
bool ExecuteSaveDialog(TSaveDialog& Dialog);
bool ExecutePrinterSetupDialog(TPrinterSetupDialog& Dialog);
}  // namespace Backend
