#include "framework/Controls.h"

#include <algorithm>

#include "framework/Forms.h"
#include "framework/Layout.h"

namespace {
// Set while a parent hands its font down, so the children keep ParentFont.
bool GInheritingFont = false;
}

TControl::TControl(TComponent* AOwner) : TComponent(AOwner) {
  FFont.OnChange = [this] { FontChanged(); };
}

TControl::~TControl() {
  FPeer.reset();
  if (FParent) FParent->RemoveControl(this);
}

void TControl::SetParent(TWinControl* AParent) {
  if (FParent == AParent) return;
  if (AParent == static_cast<TControl*>(this)) throw EComponentError("A control cannot have itself as its parent");
  if (FParent) FParent->RemoveControl(this);
  if (AParent) AParent->InsertControl(this);
}

void TControl::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
  if (ALeft == FLeft && ATop == FTop && AWidth == FWidth && AHeight == FHeight) return;
  FLeft = ALeft; FTop = ATop; FWidth = AWidth; FHeight = AHeight;
  PeerNotify(TPeerChange::Bounds);
}

void TControl::PeerBoundsChanged(int ALeft, int ATop, int AWidth, int AHeight) {
  FLeft = ALeft; FTop = ATop; FWidth = AWidth; FHeight = AHeight;
}

void TControl::SetVisible(bool Value) {
  if (FVisible == Value) return;
  FVisible = Value;
  if (FVisible && FParent && FParent->HandleAllocated()) HandleNeeded();
  PeerNotify(TPeerChange::Visible);
}

void TControl::SetEnabled(bool Value) {
  if (FEnabled == Value) return;
  FEnabled = Value;
  PeerNotify(TPeerChange::Enabled);
}

void TControl::SetText(const std::string& Value) {
  if (FText == Value) return;
  FText = Value;
  PeerNotify(TPeerChange::Text);
}

void TControl::SetColor(TColor Value) {
  if (FColor == Value) return;
  FColor = Value;
  PeerNotify(TPeerChange::Color);
}

void TControl::SetParentFont(bool Value) {
  FParentFont = Value;
  if (Value && FParent) {
    GInheritingFont = true;
    FFont.Assign(FParent->Font());
    GInheritingFont = false;
  }
}

void TControl::FontChanged() {
  if (!GInheritingFont) FParentFont = false;
  PeerNotify(TPeerChange::Font);
}

TCustomForm* TControl::ParentForm() const {
  const TControl* c = this;
  while (c->FParent) c = c->FParent;
  return const_cast<TCustomForm*>(dynamic_cast<const TCustomForm*>(c));
}

void TControl::Invalidate() { PeerNotify(TPeerChange::Invalidate); }

void TControl::Click() { if (OnClick) OnClick(this); }
void TControl::DblClick() { if (OnDblClick) OnDblClick(this); }
void TControl::MouseDown(TMouseButton B, TShiftState S, int X, int Y) { if (OnMouseDown) OnMouseDown(this, B, S, X, Y); }
void TControl::MouseUp(TMouseButton B, TShiftState S, int X, int Y) { if (OnMouseUp) OnMouseUp(this, B, S, X, Y); }

void TControl::HandleNeeded() {
  // A child's window needs its parent's: the chain starts at the form and goes down.
  if (FPeer || (FParent && !FParent->HandleAllocated())) return;
  FPeer = CreatePeer();
}

void TControl::DestroyHandle() { FPeer.reset(); }

TSetPropResult TControl::SetProperty(const std::string& PropName, const TLayoutValue& Value) {
  if (PropName == "Left") SetLeft(Value.AsInteger());
  else if (PropName == "Top") SetTop(Value.AsInteger());
  else if (PropName == "Width") SetWidth(Value.AsInteger());
  else if (PropName == "Height") SetHeight(Value.AsInteger());
  else if (PropName == "ClientWidth") SetClientWidth(Value.AsInteger());
  else if (PropName == "ClientHeight") SetClientHeight(Value.AsInteger());
  else if (PropName == "Visible") SetVisible(Value.AsBoolean());
  else if (PropName == "Enabled") SetEnabled(Value.AsBoolean());
  else if (PropName == "Caption" || PropName == "Text") SetText(Value.AsString());
  else if (PropName == "Hint") SetHint(Value.AsString());
  else if (PropName == "ShowHint") SetShowHint(Value.AsBoolean());
  else if (PropName == "ParentFont") SetParentFont(Value.AsBoolean());
  else if (PropName == "Color") {
    TColor c;
    if (Value.Kind == TLayoutValue::TKind::Integer) c = Value.AsInteger();
    else if (!IdentToColor(Value.AsIdent(), c)) throw ELayoutError("unknown colour " + Value.Text);
    SetColor(c);
  } else if (PropName.starts_with("Font.")) {
    if (!FFont.SetProperty(PropName.substr(5), Value)) return TSetPropResult::Unknown;
  } else if (PropName.starts_with("Constraints.")) {
    std::string p = PropName.substr(12);
    int v = Value.AsInteger();
    if (p == "MinWidth") FConstraints.MinWidth = v;
    else if (p == "MaxWidth") FConstraints.MaxWidth = v;
    else if (p == "MinHeight") FConstraints.MinHeight = v;
    else if (p == "MaxHeight") FConstraints.MaxHeight = v;
    else return TSetPropResult::Unknown;
  } else if (PropName == "OnClick") OnClick = Value.AsEvent<TNotifyEvent>();
  else if (PropName == "OnDblClick") OnDblClick = Value.AsEvent<TNotifyEvent>();
  else if (PropName == "OnMouseDown") OnMouseDown = Value.AsEvent<TMouseEvent>();
  else if (PropName == "OnMouseUp") OnMouseUp = Value.AsEvent<TMouseEvent>();
  else return TComponent::SetProperty(PropName, Value);
  return TSetPropResult::Done;
}

TWinControl::TWinControl(TComponent* AOwner) : TControl(AOwner) {}

TWinControl::~TWinControl() {
  // Children this control does not own outlive it without a parent.
  auto children = FControls;
  for (TControl* c : children) c->SetParent(nullptr);
}

void TWinControl::InsertControl(TControl* AControl) {
  FControls.push_back(AControl);
  // The layout reader and code alike set Parent; the control then takes on the parent's font.
  AControl->FParent = this;
  if (AControl->ParentFont()) AControl->SetParentFont(true);
  if (HandleAllocated() && AControl->Visible()) AControl->HandleNeeded();
}

void TWinControl::RemoveControl(TControl* AControl) {
  auto it = std::find(FControls.begin(), FControls.end(), AControl);
  if (it == FControls.end()) return;
  if (TCustomForm* form = ParentForm()) form->ControlRemoved(AControl);
  AControl->DestroyHandle();
  FControls.erase(it);
  AControl->FParent = nullptr;
}

bool TWinControl::CanFocus() const {
  for (const TControl* c = this; c; c = c->Parent())
    if (!c->Visible() || !c->Enabled()) return false;
  return true;
}

void TWinControl::SetFocus() {
  TCustomForm* form = ParentForm();
  if (!form) return;
  if (!CanFocus()) throw Exception("Cannot focus a disabled or invisible window");
  form->SetActiveControl(this);
}

bool TWinControl::Focused() const {
  TCustomForm* form = ParentForm();
  return form && form->ActiveControl() == this;
}

void TWinControl::PeerFocusChanged(bool GotFocus) {
  TCustomForm* form = ParentForm();
  if (!form || !GotFocus) return;
  DispatchInput(this, [&] { form->FocusMoved(this); });
}

void TWinControl::PeerKeyDown(unsigned short& Key, TShiftState Shift) {
  DispatchInput(this, [&] {
    TWinControl* form = ParentForm();
    if (form && form != this && ParentForm()->KeyPreview()) {
      form->KeyDown(Key, Shift);
      if (Key == 0) return;
    }
    KeyDown(Key, Shift);
  });
}

void TWinControl::PeerKeyPress(char& Key) {
  DispatchInput(this, [&] {
    TWinControl* form = ParentForm();
    if (form && form != this && ParentForm()->KeyPreview()) {
      form->KeyPress(Key);
      if (Key == 0) return;
    }
    KeyPress(Key);
  });
}

void TWinControl::SetRedraw(bool On) {
  if (FRedrawLocked == !On) return;
  FRedrawLocked = !On;
  PeerNotify(TPeerChange::Redraw);
}

void TWinControl::HandleNeeded() {
  TControl::HandleNeeded();
  if (!FPeer) return;
  for (TControl* c : FControls)
    if (c->Visible()) c->HandleNeeded();
}

void TWinControl::DestroyHandle() {
  for (TControl* c : FControls) c->DestroyHandle();
  TControl::DestroyHandle();
}

void TWinControl::FontChanged() {
  TControl::FontChanged();
  GInheritingFont = true;
  for (TControl* c : FControls)
    if (c->ParentFont()) c->Font().Assign(Font());
  GInheritingFont = false;
}

TSetPropResult TWinControl::SetProperty(const std::string& PropName, const TLayoutValue& Value) {
  if (PropName == "TabOrder") SetTabOrder(Value.AsInteger());
  else if (PropName == "TabStop") SetTabStop(Value.AsBoolean());
  else if (PropName == "OnEnter") OnEnter = Value.AsEvent<TNotifyEvent>();
  else if (PropName == "OnExit") OnExit = Value.AsEvent<TNotifyEvent>();
  else if (PropName == "OnKeyDown") OnKeyDown = Value.AsEvent<TKeyEvent>();
  else if (PropName == "OnKeyUp") OnKeyUp = Value.AsEvent<TKeyEvent>();
  else if (PropName == "OnKeyPress") OnKeyPress = Value.AsEvent<TKeyPressEvent>();
  else return TControl::SetProperty(PropName, Value);
  return TSetPropResult::Done;
}
