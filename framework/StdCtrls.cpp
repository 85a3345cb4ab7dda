#include "framework/StdCtrls.h"

#include "framework/Buttons.h"
#include "framework/Layout.h"

TLabel::TLabel(TComponent* AOwner) : TGraphicControl(AOwner) {
  SetBounds(0, 0, 65, 13);
}

void TLabel::SetTransparent(bool Value) {
  if (FTransparent == Value) return;
  FTransparent = Value;
  PeerNotify(TPeerChange::Style);
}

void TLabel::SetAlignment(TAlignment Value) {
  if (FAlignment == Value) return;
  FAlignment = Value;
  PeerNotify(TPeerChange::Style);
}

TSetPropResult TLabel::SetProperty(const std::string& PropName, const TLayoutValue& Value) {
  if (PropName == "Transparent") SetTransparent(Value.AsBoolean());
  else if (PropName == "AutoSize") SetAutoSize(Value.AsBoolean());
  else if (PropName == "Alignment")
    SetAlignment(Value.AsEnum<TAlignment>({{"taLeftJustify", TAlignment::taLeftJustify},
                                           {"taRightJustify", TAlignment::taRightJustify},
                                           {"taCenter", TAlignment::taCenter}}));
  else return TGraphicControl::SetProperty(PropName, Value);
  return TSetPropResult::Done;
}

TButton::TButton(TComponent* AOwner) : TWinControl(AOwner) {
  SetBounds(0, 0, 75, 25);
  SetTabStop(true);
}

void TButton::Click() {
  TControl::Click();
  if (FModalResult == mrNone) return;
  if (TCustomForm* form = ParentForm()) form->SetModalResult(FModalResult);
}

TSetPropResult TButton::SetProperty(const std::string& PropName, const TLayoutValue& Value) {
  if (PropName == "ModalResult") SetModalResult(Value.AsInteger());
  else if (PropName == "Default") SetDefault(Value.AsBoolean());
  else if (PropName == "Cancel") SetCancel(Value.AsBoolean());
  else return TWinControl::SetProperty(PropName, Value);
  return TSetPropResult::Done;
}

namespace {
const struct {
  TBitBtnKind Kind;
  const char* Name;
  const char* Caption;
  TModalResult Result;
} BitBtnKinds[] = {
    {TBitBtnKind::bkCustom, "bkCustom", "", mrNone},
    {TBitBtnKind::bkOK, "bkOK", "OK", mrOk},
    {TBitBtnKind::bkCancel, "bkCancel", "Cancel", mrCancel},
    {TBitBtnKind::bkHelp, "bkHelp", "&Help", mrNone},
    {TBitBtnKind::bkYes, "bkYes", "&Yes", mrYes},
    {TBitBtnKind::bkNo, "bkNo", "&No", mrNo},
    {TBitBtnKind::bkClose, "bkClose", "&Close", mrNone},
    {TBitBtnKind::bkAbort, "bkAbort", "Abort", mrAbort},
    {TBitBtnKind::bkRetry, "bkRetry", "&Retry", mrRetry},
    {TBitBtnKind::bkIgnore, "bkIgnore", "&Ignore", mrIgnore},
    {TBitBtnKind::bkAll, "bkAll", "&All", mrAll},
};
}  // namespace

void TBitBtn::SetKind(TBitBtnKind Value) {
  FKind = Value;
  for (auto& k : BitBtnKinds) {
    if (k.Kind != Value || Value == TBitBtnKind::bkCustom) continue;
    SetCaption(k.Caption);
    SetModalResult(k.Result);
    if (Value == TBitBtnKind::bkOK || Value == TBitBtnKind::bkYes) SetDefault(true);
    if (Value == TBitBtnKind::bkCancel || Value == TBitBtnKind::bkNo) SetCancel(true);
  }
}

void TBitBtn::Click() {
  if (FKind != TBitBtnKind::bkClose) { TButton::Click(); return; }
  TControl::Click();
  if (TCustomForm* form = ParentForm()) form->Close();
}

TSetPropResult TBitBtn::SetProperty(const std::string& PropName, const TLayoutValue& Value) {
  if (PropName == "Kind") {
    for (auto& k : BitBtnKinds)
      if (Value.AsIdent() == k.Name) { SetKind(k.Kind); return TSetPropResult::Done; }
    throw ELayoutError("Invalid property value: " + Value.Text);
  }
  return TButton::SetProperty(PropName, Value);
}

TCustomEdit::TCustomEdit(TComponent* AOwner) : TWinControl(AOwner) {
  SetBounds(0, 0, 121, 21);
  SetTabStop(true);
  FColor = clWindow;
}

void TCustomEdit::SetText(const std::string& Value) {
  if (Value == Text()) return;
  TWinControl::SetText(Value);
  if (!IsLoading()) Change();
}

void TCustomEdit::PeerTextEdited(const std::string& Value) {
  if (Value == Text()) return;
  // The peer already shows the text; the model takes it without pushing it back.
  TControlPeer* peer = FPeer.release();
  TWinControl::SetText(Value);
  FPeer.reset(peer);
  FModified = true;
  DispatchInput(this, [&] { Change(); });
}

TSetPropResult TCustomEdit::SetProperty(const std::string& PropName, const TLayoutValue& Value) {
  if (PropName == "MaxLength") SetMaxLength(Value.AsInteger());
  else if (PropName == "ReadOnly") SetReadOnly(Value.AsBoolean());
  else if (PropName == "OnChange") OnChange = Value.AsEvent<TNotifyEvent>();
  else return TWinControl::SetProperty(PropName, Value);
  return TSetPropResult::Done;
}

TCheckBox::TCheckBox(TComponent* AOwner) : TWinControl(AOwner) {
  SetBounds(0, 0, 97, 17);
  SetTabStop(true);
}

void TCheckBox::SetChecked(bool Value) {
  if (FChecked == Value) return;
  FChecked = Value;
  PeerNotify(TPeerChange::Contents);
  // A stored value that the layout reader sets is no click.
  if (!IsLoading()) Click();
}

TSetPropResult TCheckBox::SetProperty(const std::string& PropName, const TLayoutValue& Value) {
  if (PropName == "Checked") SetChecked(Value.AsBoolean());
  else return TWinControl::SetProperty(PropName, Value);
  return TSetPropResult::Done;
}

TRadioButton::TRadioButton(TComponent* AOwner) : TWinControl(AOwner) {
  SetBounds(0, 0, 113, 17);
}

void TRadioButton::SetChecked(bool Value) {
  if (FChecked == Value) return;
  FChecked = Value;
  PeerNotify(TPeerChange::Contents);
  if (!Value) return;
  if (TWinControl* parent = Parent())
    for (int i = 0; i < parent->ControlCount(); ++i)
      if (auto* other = As<TRadioButton>(parent->Controls(i)); other && other != this) other->SetChecked(false);
  if (!IsLoading()) Click();
}

TSetPropResult TRadioButton::SetProperty(const std::string& PropName, const TLayoutValue& Value) {
  if (PropName == "Checked") SetChecked(Value.AsBoolean());
  else return TWinControl::SetProperty(PropName, Value);
  return TSetPropResult::Done;
}

TCustomListBox::TCustomListBox(TComponent* AOwner) : TWinControl(AOwner) {
  SetBounds(0, 0, 121, 97);
  SetTabStop(true);
  FColor = clWindow;
}

void TCustomListBox::SetItemIndex(int Value) {
  if (Value < -1 || Value >= ItemCount()) Value = -1;
  if (FItemIndex == Value) return;
  FItemIndex = Value;
  if (!FMultiSelect)
    for (size_t i = 0; i < FSelected.size(); ++i) FSelected[i] = static_cast<int>(i) == Value;
  PeerNotify(TPeerChange::Contents);
}

bool TCustomListBox::Selected(int Index) const {
  if (Index < 0 || Index >= ItemCount()) throw EListError("List index out of bounds (" + std::to_string(Index) + ")");
  return FSelected[Index];
}

void TCustomListBox::SetSelected(int Index, bool Value) {
  if (Index < 0 || Index >= ItemCount()) throw EListError("List index out of bounds (" + std::to_string(Index) + ")");
  if (!FMultiSelect) {
    SetItemIndex(Value ? Index : (FItemIndex == Index ? -1 : FItemIndex));
    return;
  }
  FSelected[Index] = Value;
  PeerNotify(TPeerChange::Contents);
}

int TCustomListBox::SelCount() const {
  if (!FMultiSelect) return -1;
  int n = 0;
  for (bool b : FSelected) n += b;
  return n;
}

TSetPropResult TCustomListBox::SetProperty(const std::string& PropName, const TLayoutValue& Value) {
  if (PropName == "MultiSelect") SetMultiSelect(Value.AsBoolean());
  else if (PropName == "Items") {
    ClearItems();
    if (Value.Kind != TLayoutValue::TKind::List) throw ELayoutError("a list is expected");
    for (auto& item : Value.Items) AddItem(item.AsString());
  } else return TWinControl::SetProperty(PropName, Value);
  return TSetPropResult::Done;
}
