#include "framework/Dialogs.h"

#include <algorithm>
#include <vector>

#include "framework/Layout.h"
#include "framework/Menus.h"
#include "framework/Printers.h"
#include "framework/PropertyTable.h"
#include "framework/StdCtrls.h"

namespace {

constexpr unsigned short VkF1 = 0x70;

struct TButtonKind {
  TMsgDlgBtn Button;
  const char* Caption;
  TModalResult Result;
};

constexpr TButtonKind ButtonKinds[] = {
    {mbYes, "&Yes", mrYes},       {mbNo, "&No", mrNo},          {mbOK, "OK", mrOk},
    {mbCancel, "Cancel", mrCancel}, {mbAbort, "&Abort", mrAbort}, {mbRetry, "&Retry", mrRetry},
    {mbIgnore, "&Ignore", mrIgnore}, {mbAll, "&All", mrAll},      {mbHelp, "&Help", mrNone},
};

constexpr int Margin = 8, IconSize = 32, ButtonWidth = 75, ButtonHeight = 25, ButtonGap = 8;

// The message dialog: F1 asks for its help topic and leaves it open.
class TMessageForm : public TForm {
public:
  explicit TMessageForm(TComponent* AOwner) : TForm(AOwner) { SetKeyPreview(true); }

protected:
  void KeyDown(unsigned short& Key, TShiftState Shift) override {
    if (Key == VkF1 && Shift == 0) {
      Key = 0;
      Application->HelpContext(HelpContext());
      return;
    }
    TForm::KeyDown(Key, Shift);
  }
};

}  // namespace

std::string MessageDlgCaption(TMsgDlgType DlgType) {
  switch (DlgType) {
    case TMsgDlgType::mtWarning: return "Warning";
    case TMsgDlgType::mtError: return "Error";
    case TMsgDlgType::mtInformation: return "Information";
    case TMsgDlgType::mtConfirmation: return "Confirmation";
    default: return Application->Title();
  }
}

TForm* CreateMessageDialog(const std::string& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons,
                           int HelpCtx, const std::function<TSize(const std::string&)>& Measure) {
  auto* form = new TMessageForm(Application);
  form->SetBorderStyle(TFormBorderStyle::bsDialog);
  form->SetPosition(TPosition::poScreenCenter);
  form->SetCaption(MessageDlgCaption(DlgType));
  form->SetHelpContext(HelpCtx);
  form->SetName("MessageDialog");

  const int textLeft = DlgType == TMsgDlgType::mtCustom ? Margin : Margin + IconSize + 2 * Margin;
  // A lone carriage return ends a line as CR LF does; the system's text drawing would run on.
  std::string lines;
  for (size_t i = 0; i < Msg.size(); ++i) {
    lines += Msg[i];
    if (Msg[i] == '\r' && (i + 1 == Msg.size() || Msg[i + 1] != '\n')) lines += '\n';
  }
  const TSize text = Measure(lines);
  auto* label = new TLabel(form);
  label->SetName("Message");
  label->SetParent(form);
  label->SetAutoSize(false);
  label->SetShowAccelChar(false);
  label->SetCaption(lines);
  label->SetBounds(textLeft, Margin + (text.cy < IconSize ? (IconSize - text.cy) / 2 : 0), text.cx, text.cy);

  const TMsgDlgBtn defaultButton = Buttons & mbOK ? mbOK : Buttons & mbYes ? mbYes : mbRetry;
  const TMsgDlgBtn cancelButton = Buttons & mbCancel ? mbCancel : Buttons & mbNo ? mbNo : mbOK;
  std::vector<TButton*> buttons;
  for (const TButtonKind& kind : ButtonKinds) {
    if (!(Buttons & kind.Button)) continue;
    auto* button = new TButton(form);
    button->SetParent(form);
    button->SetName(StripHotkey(kind.Caption) + "Button");
    button->SetCaption(kind.Caption);
    button->SetModalResult(kind.Result);
    button->SetTabOrder(static_cast<int>(buttons.size()));
    button->SetDefault(kind.Button == defaultButton);
    button->SetCancel(kind.Button == cancelButton);
    if (kind.Button == mbHelp) button->OnClick = [form](TObject*) { Application->HelpContext(form->HelpContext()); };
    if (kind.Button == defaultButton) form->SetActiveControl(button);
    buttons.push_back(button);
  }

  const int count = static_cast<int>(buttons.size());
  const int buttonsWidth = count * ButtonWidth + std::max(0, count - 1) * ButtonGap;
  const int width = std::max(textLeft + text.cx + Margin, buttonsWidth + 2 * Margin);
  const int top = Margin + std::max(text.cy, DlgType == TMsgDlgType::mtCustom ? 0 : IconSize) + 2 * Margin;
  int x = (width - buttonsWidth) / 2;
  for (TButton* button : buttons) {
    button->SetBounds(x, top, ButtonWidth, ButtonHeight);
    x += ButtonWidth + ButtonGap;
  }
  form->SetClientWidth(width);
  form->SetClientHeight(top + ButtonHeight + Margin);
  return form;
}

int MessageDlg(const std::string& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons, int HelpCtx) {
  return Backend::MessageDlg(Msg, DlgType, Buttons, HelpCtx);
}

bool TFontDialog::Execute() { return Backend::ExecuteFontDialog(*this); }
bool TSaveDialog::Execute() { return Backend::ExecuteSaveDialog(*this); }
bool TPrinterSetupDialog::Execute() { return Backend::ExecutePrinterSetupDialog(*this); }

const TPropertyTable& TFontDialog::PropertyTable() const {
  static const TPropertyTable Table(&TCommonDialog::PropertyTable(), {
      {"Options", Setter<TFontDialog>([](TFontDialog& D, const TLayoutValue& V) {
         D.SetOptions(V.AsSet({{"fdFixedPitchOnly", fdFixedPitchOnly}, {"fdEffects", fdEffects},
                               {"fdNoStyleSel", fdNoStyleSel}}));
       })},
  });
  return Table;
}

const TPropertyTable& TSaveDialog::PropertyTable() const {
  static const TPropertyTable Table(&TCommonDialog::PropertyTable(), {
      {"FileName", StringProperty(&TSaveDialog::SetFileName)},
      {"DefaultExt", StringProperty(&TSaveDialog::SetDefaultExt)},
      {"Filter", StringProperty(&TSaveDialog::SetFilter)},
      {"Title", StringProperty(&TSaveDialog::SetTitle)},
      {"Options", Setter<TSaveDialog>([](TSaveDialog& D, const TLayoutValue& V) {
         D.SetOptions(V.AsSet({{"ofOverwritePrompt", ofOverwritePrompt}, {"ofHideReadOnly", ofHideReadOnly},
                               {"ofPathMustExist", ofPathMustExist}, {"ofNoChangeDir", ofNoChangeDir}}));
       })},
  });
  return Table;
}
