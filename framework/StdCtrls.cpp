#include "framework/StdCtrls.h"

#include <algorithm>

#include "framework/Buttons.h"
#include "framework/Layout.h"
#include "framework/PropertyTable.h"

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

void TLabel::SetWordWrap(bool Value) {
  if (FWordWrap == Value) return;
  FWordWrap = Value;
  PeerNotify(TPeerChange::Style);
}

void TLabel::SetShowAccelChar(bool Value) {
  if (FShowAccelChar == Value) return;
  FShowAccelChar = Value;
  PeerNotify(TPeerChange::Style);
}

void TLabel::SetFocusControl(TWinControl* Value) {
  if (FFocusControl == Value) return;
  if (FFocusControl) FFocusControl->RemoveFreeNotification(this);
  FFocusControl = Value;
  if (Value) Value->FreeNotification(this);
}

void TLabel::Notification(TComponent* AComponent, TOperation Operation) {
  TGraphicControl::Notification(AComponent, Operation);
  if (Operation == TOperation::opRemove && AComponent == FFocusControl) FFocusControl = nullptr;
}

namespace {
// The first control of Parent, from its child First on, that takes the focus by the keyboard.
TWinControl* FirstTabStop(const TWinControl& Parent, int First) {
  for (int I = First; I < Parent.ControlCount(); ++I) {
    auto* Win = dynamic_cast<TWinControl*>(Parent.Controls(I));
    if (!Win || !Win->CanFocus()) continue;
    if (Win->TabStop()) return Win;
    if (TWinControl* Inner = FirstTabStop(*Win, 0)) return Inner;
  }
  return nullptr;
}
}  // namespace

TWinControl* TLabel::AcceleratorTarget() const {
  if (FFocusControl) return FFocusControl->CanFocus() ? FFocusControl : nullptr;
  const TWinControl* Owner = Parent();
  if (!Owner) return nullptr;
  for (int I = 0; I < Owner->ControlCount(); ++I)
    if (Owner->Controls(I) == this) return FirstTabStop(*Owner, I + 1);
  return nullptr;
}

TAlignment AlignmentValue(const TLayoutValue& Value) {
  return Value.AsEnum<TAlignment>({{"taLeftJustify", TAlignment::taLeftJustify},
                                   {"taRightJustify", TAlignment::taRightJustify},
                                   {"taCenter", TAlignment::taCenter}});
}

const TPropertyTable& TLabel::PropertyTable() const {
  static const TPropertyTable Table(&TGraphicControl::PropertyTable(), {
      {"Transparent", BooleanProperty(&TLabel::SetTransparent)},
      {"AutoSize", BooleanProperty(&TLabel::SetAutoSize)},
      {"WordWrap", BooleanProperty(&TLabel::SetWordWrap)},
      {"Alignment", Setter<TLabel>([](TLabel& L, const TLayoutValue& V) { L.SetAlignment(AlignmentValue(V)); })},
      {"FocusControl", ReferenceProperty(&TLabel::SetFocusControl, "a windowed control")},
  });
  return Table;
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

const TPropertyTable& TButton::PropertyTable() const {
  static const TPropertyTable Table(&TWinControl::PropertyTable(), {
      {"ModalResult", IntegerProperty(&TButton::SetModalResult)},
      {"Default", BooleanProperty(&TButton::SetDefault)},
      {"Cancel", BooleanProperty(&TButton::SetCancel)},
  });
  return Table;
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

const TPropertyTable& TBitBtn::PropertyTable() const {
  static const TPropertyTable Table(&TButton::PropertyTable(), {
      {"Kind", Setter<TBitBtn>([](TBitBtn& B, const TLayoutValue& V) {
         for (auto& k : BitBtnKinds)
           if (V.AsIdent() == k.Name) {
             B.SetKind(k.Kind);
             return;
           }
         throw ELayoutError("Invalid property value: " + V.Text);
       })},
  });
  return Table;
}

TCustomEdit::TCustomEdit(TComponent* AOwner) : TWinControl(AOwner) {
  SetBounds(0, 0, 121, 21);
  SetTabStop(true);
  FColor = clWindow;
}

void TCustomEdit::SetText(const std::string& Value) {
  if (Value == Text()) return;
  TWinControl::SetText(Value);
  ClampSelection();
  if (!IsLoading()) Change();
}

void TCustomEdit::PeerTextEdited(const std::string& Value) {
  if (Value == Text() || !TakesInput()) return;
  // The peer already shows the text; the model takes it without pushing it back.
  TControlPeer* peer = FPeer.release();
  TWinControl::SetText(Value);
  ClampSelection();
  FPeer.reset(peer);
  FModified = true;
  DispatchInput(this, [&] { Change(); });
}

void TCustomEdit::ClampSelection() {
  const int length = static_cast<int>(Text().size());
  FSelStart = std::clamp(FSelStart, 0, length);
  FSelLength = std::clamp(FSelLength, 0, length - FSelStart);
  PeerNotify(TPeerChange::Layout);
}

void TCustomEdit::SetSelStart(int Value) {
  // Moving the caret ends the selection, as the system's edit does.
  FSelStart = Value;
  FSelLength = 0;
  ClampSelection();
}

void TCustomEdit::SetSelLength(int Value) {
  FSelLength = Value;
  ClampSelection();
}

void TCustomEdit::SelectAll() {
  FSelStart = 0;
  FSelLength = static_cast<int>(Text().size());
  PeerNotify(TPeerChange::Layout);
}

void TCustomEdit::PeerSelectionChanged(int Start, int Length) {
  FSelStart = Start;
  FSelLength = Length;
  const int length = static_cast<int>(Text().size());
  FSelStart = std::clamp(FSelStart, 0, length);
  FSelLength = std::clamp(FSelLength, 0, length - FSelStart);
}

void TCustomEdit::CopyToClipboard() const {
  if (FSelLength > 0) Backend::SetClipboardText(SelText());
}

const TPropertyTable& TCustomEdit::PropertyTable() const {
  static const TPropertyTable Table(&TWinControl::PropertyTable(), {
      {"MaxLength", IntegerProperty(&TCustomEdit::SetMaxLength)},
      {"ReadOnly", BooleanProperty(&TCustomEdit::SetReadOnly)},
      {"PasswordChar", Setter<TCustomEdit>([](TCustomEdit& E, const TLayoutValue& V) {
         const std::string& Char = V.AsString();
         if (Char.size() > 1) throw ELayoutError("Invalid property value: " + Char);
         E.SetPasswordChar(Char.empty() ? 0 : Char[0]);
       })},
      {"OnChange", EventProperty(&TCustomEdit::OnChange)},
  });
  return Table;
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

const TPropertyTable& TCheckBox::PropertyTable() const {
  static const TPropertyTable Table(&TWinControl::PropertyTable(), {
      {"Checked", BooleanProperty(&TCheckBox::SetChecked)},
  });
  return Table;
}

TRadioButton::TRadioButton(TComponent* AOwner) : TWinControl(AOwner) {
  SetBounds(0, 0, 113, 17);
}

void TRadioButton::SetChecked(bool Value) {
  if (FChecked == Value) return;
  FChecked = Value;
  SetTabStop(Value);
  PeerNotify(TPeerChange::Contents);
  if (!Value) return;
  if (TWinControl* parent = Parent())
    for (int i = 0; i < parent->ControlCount(); ++i)
      if (auto* other = As<TRadioButton>(parent->Controls(i)); other && other != this) other->SetChecked(false);
  if (!IsLoading()) Click();
}

const TPropertyTable& TRadioButton::PropertyTable() const {
  static const TPropertyTable Table(&TWinControl::PropertyTable(), {
      {"Checked", BooleanProperty(&TRadioButton::SetChecked)},
  });
  return Table;
}

std::string TListBoxStrings::Strings(int Index) const {
  CheckIndex(Index);
  return FItems[Index].S;
}

void TListBoxStrings::SetStrings(int Index, const std::string& S) {
  CheckIndex(Index);
  FItems[Index].S = S;
  FOwner.PeerNotify(TPeerChange::Contents);
}

TObject* TListBoxStrings::Objects(int Index) const {
  CheckIndex(Index);
  return FItems[Index].Obj;
}

void TListBoxStrings::SetObjects(int Index, TObject* Obj) {
  CheckIndex(Index);
  FItems[Index].Obj = Obj;
}

void TListBoxStrings::Insert(int Index, const std::string& S) {
  if (Index < 0 || Index > Count()) throw EListError("List index out of bounds (" + std::to_string(Index) + ")");
  FItems.insert(FItems.begin() + Index, TItem{S});
  if (FOwner.FItemIndex >= Index) ++FOwner.FItemIndex;
  FOwner.PeerNotify(TPeerChange::Contents);
}

void TListBoxStrings::Delete(int Index) {
  CheckIndex(Index);
  if (FItems[Index].Selected) --FOwner.FSelCount;
  FItems.erase(FItems.begin() + Index);
  int& current = FOwner.FItemIndex;
  if (current == Index) current = -1;
  else if (current > Index) --current;
  FOwner.FTopIndex = std::max(0, std::min(FOwner.FTopIndex, Count() - 1));
  FOwner.PeerNotify(TPeerChange::Contents);
}

void TListBoxStrings::Clear() {
  FItems.clear();
  FOwner.FItemIndex = -1;
  FOwner.FSelCount = 0;
  FOwner.FTopIndex = 0;
  FOwner.PeerNotify(TPeerChange::Contents);
}

TCustomListBox::TCustomListBox(TComponent* AOwner) : TWinControl(AOwner) {
  SetBounds(0, 0, 121, 97);
  SetTabStop(true);
  FColor = clWindow;
}

void TCustomListBox::CheckIndex(int Index) const {
  if (Index < 0 || Index >= ItemCount()) throw EListError("List index out of bounds (" + std::to_string(Index) + ")");
}

void TCustomListBox::SetState(int Index, bool Value) {
  bool& state = FItems.FItems[Index].Selected;
  if (state == Value) return;
  state = Value;
  FSelCount += Value ? 1 : -1;
}

void TCustomListBox::SetItemIndex(int Value) {
  if (Value < -1 || Value >= ItemCount()) Value = -1;
  if (FItemIndex == Value) return;
  FItemIndex = Value;
  // The current line comes into view, as the system's list box scrolls to it.
  if (Value >= 0 && Value < FTopIndex) FTopIndex = Value;
  PeerNotify(TPeerChange::Layout);
}

void TCustomListBox::SetMultiSelect(bool Value) {
  if (FMultiSelect == Value) return;
  for (int i = 0; i < ItemCount(); ++i) SetState(i, false);
  FMultiSelect = Value;
  if (Value && FItemIndex >= 0) SetState(FItemIndex, true);
  // The system's list box takes its selection style only when it is made.
  RecreateWnd();
}

void TCustomListBox::SetExtendedSelect(bool Value) {
  if (FExtendedSelect == Value) return;
  FExtendedSelect = Value;
  RecreateWnd();
}

bool TCustomListBox::Selected(int Index) const {
  CheckIndex(Index);
  return FMultiSelect ? FItems.FItems[Index].Selected : Index == FItemIndex;
}

void TCustomListBox::SetSelected(int Index, bool Value) {
  CheckIndex(Index);
  if (!FMultiSelect) {
    if (Value) SetItemIndex(Index);
    else if (FItemIndex == Index) SetItemIndex(-1);
    return;
  }
  SetState(Index, Value);
  PeerNotify(TPeerChange::Layout);
}

void TCustomListBox::ClearSelection() {
  for (int i = 0; i < ItemCount(); ++i) SetState(i, false);
  if (!FMultiSelect) FItemIndex = -1;
  PeerNotify(TPeerChange::Layout);
}

void TCustomListBox::SetTopIndex(int Value) {
  Value = std::max(0, std::min(Value, ItemCount() - 1));
  if (FTopIndex == Value) return;
  FTopIndex = Value;
  PeerNotify(TPeerChange::Layout);
}

void TCustomListBox::SetItemHeight(int Value) {
  if (Value <= 0 || FItemHeight == Value) return;
  FItemHeight = Value;
  PeerNotify(TPeerChange::Style);
}

void TCustomListBox::PeerSelectionChanged(const std::vector<bool>& States, int CaretIndex) {
  if (FMultiSelect)
    for (int i = 0; i < ItemCount() && i < static_cast<int>(States.size()); ++i) SetState(i, States[i]);
  FItemIndex = CaretIndex >= 0 && CaretIndex < ItemCount() ? CaretIndex : -1;
  DispatchInput(this, [&] { Click(); });
}

const TPropertyTable& TCustomListBox::PropertyTable() const {
  static const TPropertyTable Table(&TWinControl::PropertyTable(), {
      {"MultiSelect", BooleanProperty(&TCustomListBox::SetMultiSelect)},
      {"ExtendedSelect", BooleanProperty(&TCustomListBox::SetExtendedSelect)},
      {"ItemHeight", IntegerProperty(&TCustomListBox::SetItemHeight)},
      {"Items", Setter<TCustomListBox>([](TCustomListBox& B, const TLayoutValue& V) {
         std::vector<std::string> items = StringListValue(V);
         B.Clear();
         for (auto& item : items) B.AddItem(item);
       })},
  });
  return Table;
}
