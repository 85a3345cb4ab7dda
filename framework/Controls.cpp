#include "framework/Controls.h"

#include <algorithm>

#include "framework/Forms.h"
#include "framework/Layout.h"
#include "framework/Menus.h"
#include "framework/PropertyTable.h"

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
  // An aligned control that changes its height or width moves its neighbours.
  if (FAlign != TAlign::alNone && FParent) FParent->AlignControls();
}

void TControl::SetAlign(TAlign Value) {
  if (FAlign == Value) return;
  FAlign = Value;
  if (FParent) FParent->AlignControls();
}

void TControl::PeerBoundsChanged(int ALeft, int ATop, int AWidth, int AHeight) {
  FLeft = ALeft; FTop = ATop; FWidth = AWidth; FHeight = AHeight;
}

void TControl::SetVisible(bool Value) {
  if (FVisible == Value) return;
  FVisible = Value;
  if (FVisible && FParent && FParent->HandleAllocated()) HandleNeeded();
  PeerNotify(TPeerChange::Visible);
  if (FAlign != TAlign::alNone && FParent) FParent->AlignControls();
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
    TScopedValue inheriting(GInheritingFont, true);
    FFont.Assign(FParent->Font());
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

bool TControl::TakesInput() const {
  const TCustomForm* form = ParentForm();
  return !form || form->Enabled();
}

void TControl::Invalidate() { PeerNotify(TPeerChange::Invalidate); }

bool TControl::HintShown() const {
  if (!Application->ShowHint()) return false;
  const TControl* c = this;
  while (c->FParentShowHint && c->FParent) c = c->FParent;
  return c->FShowHint;
}

void TControl::SetPopupMenu(TPopupMenu* Value) {
  if (FPopupMenu == Value) return;
  if (FPopupMenu) FPopupMenu->RemoveFreeNotification(this);
  FPopupMenu = Value;
  if (Value) Value->FreeNotification(this);
}

void TControl::Notification(TComponent* AComponent, TOperation Operation) {
  TComponent::Notification(AComponent, Operation);
  if (Operation == TOperation::opRemove && AComponent == FPopupMenu) FPopupMenu = nullptr;
}

void TControl::PeerMouseMove(TShiftState Shift, int X, int Y) {
  DispatchInput(this, [&] {
    Application->HintMouseMessage(this);
    MouseMove(Shift, X, Y);
  });
}

bool TControl::PeerContextPopup(int ScreenX, int ScreenY) {
  if (!FPopupMenu) return false;
  if (!TakesInput()) return true;
  DispatchInput(this, [&] {
    FPopupMenu->SetPopupComponent(this);
    FPopupMenu->Popup(ScreenX, ScreenY);
  });
  return true;
}

void TControl::SetParentComponent(TComponent* Value) {
  if (auto* parent = As<TWinControl>(Value)) SetParent(parent);
}

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

namespace {

// A colour: a number or a colour's name (clBtnFace).
TColor ColorValue(const TLayoutValue& Value) {
  TColor c;
  if (Value.Kind == TLayoutValue::TKind::Integer) c = Value.AsInteger();
  else if (!IdentToColor(Value.AsIdent(), c)) throw ELayoutError("unknown colour " + Value.Text);
  return c;
}

// A property of the control's font ("Font.Size").
template <class F>
TPropertyTable::TSetter FontProperty(F Set) {
  return Setter<TControl>([Set](TControl& C, const TLayoutValue& V) { Set(C.Font(), V); });
}

// A size limit of the control ("Constraints.MinWidth").
TPropertyTable::TSetter ConstraintProperty(int TSizeConstraints::*Limit) {
  return Setter<TControl>([Limit](TControl& C, const TLayoutValue& V) { C.Constraints().*Limit = V.AsInteger(); });
}

}  // namespace

const TPropertyTable& TControl::PropertyTable() const {
  static const TPropertyTable Table(&TComponent::PropertyTable(), {
      {"Left", IntegerProperty(&TControl::SetLeft)},
      {"Top", IntegerProperty(&TControl::SetTop)},
      {"Width", IntegerProperty(&TControl::SetWidth)},
      {"Height", IntegerProperty(&TControl::SetHeight)},
      {"ClientWidth", IntegerProperty(&TControl::SetClientWidth)},
      {"ClientHeight", IntegerProperty(&TControl::SetClientHeight)},
      {"Visible", BooleanProperty(&TControl::SetVisible)},
      {"Enabled", BooleanProperty(&TControl::SetEnabled)},
      {"Caption", StringProperty(&TControl::SetText)},
      {"Text", StringProperty(&TControl::SetText)},
      {"Hint", StringProperty(&TControl::SetHint)},
      {"ShowHint", BooleanProperty(&TControl::SetShowHint)},
      {"HelpContext", IntegerProperty(&TControl::SetHelpContext)},
      {"ParentShowHint", BooleanProperty(&TControl::SetParentShowHint)},
      {"PopupMenu", ReferenceProperty(&TControl::SetPopupMenu, "a pop-up menu")},
      {"OnMouseMove", EventProperty(&TControl::OnMouseMove)},
      {"ParentFont", BooleanProperty(&TControl::SetParentFont)},
      {"Align", Setter<TControl>([](TControl& C, const TLayoutValue& V) {
         C.SetAlign(V.AsEnum<TAlign>({{"alNone", TAlign::alNone}, {"alTop", TAlign::alTop},
                                      {"alBottom", TAlign::alBottom}, {"alLeft", TAlign::alLeft},
                                      {"alRight", TAlign::alRight}, {"alClient", TAlign::alClient}}));
       })},
      {"Color", Setter<TControl>([](TControl& C, const TLayoutValue& V) { C.SetColor(ColorValue(V)); })},
      {"Font.Name", FontProperty([](TFont& F, const TLayoutValue& V) { F.SetName(V.AsString()); })},
      {"Font.Height", FontProperty([](TFont& F, const TLayoutValue& V) { F.SetHeight(V.AsInteger()); })},
      {"Font.Size", FontProperty([](TFont& F, const TLayoutValue& V) { F.SetSize(V.AsInteger()); })},
      {"Font.Style", FontProperty([](TFont& F, const TLayoutValue& V) {
         F.SetStyle(V.AsSet({{"fsBold", fsBold}, {"fsItalic", fsItalic},
                             {"fsUnderline", fsUnderline}, {"fsStrikeOut", fsStrikeOut}}));
       })},
      {"Font.Color", FontProperty([](TFont& F, const TLayoutValue& V) { F.SetColor(ColorValue(V)); })},
      {"Font.Pitch", FontProperty([](TFont& F, const TLayoutValue& V) {
         F.SetPitch(V.AsEnum<TFontPitch>({{"fpDefault", TFontPitch::fpDefault},
                                          {"fpVariable", TFontPitch::fpVariable},
                                          {"fpFixed", TFontPitch::fpFixed}}));
       })},
      {"Font.CharSet", FontProperty([](TFont& F, const TLayoutValue& V) { F.SetCharSet(V.AsInteger()); })},
      {"Constraints.MinWidth", ConstraintProperty(&TSizeConstraints::MinWidth)},
      {"Constraints.MaxWidth", ConstraintProperty(&TSizeConstraints::MaxWidth)},
      {"Constraints.MinHeight", ConstraintProperty(&TSizeConstraints::MinHeight)},
      {"Constraints.MaxHeight", ConstraintProperty(&TSizeConstraints::MaxHeight)},
      {"OnClick", EventProperty(&TControl::OnClick)},
      {"OnDblClick", EventProperty(&TControl::OnDblClick)},
      {"OnMouseDown", EventProperty(&TControl::OnMouseDown)},
      {"OnMouseUp", EventProperty(&TControl::OnMouseUp)},
  });
  return Table;
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
  if (AControl->Align() != TAlign::alNone) AlignControls();
}

void TWinControl::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
  const bool resized = AWidth != Width() || AHeight != Height();
  TControl::SetBounds(ALeft, ATop, AWidth, AHeight);
  if (resized) AlignControls();
}

void TWinControl::AlignControls() {
  if (FAligning) return;
  TScopedValue aligning(FAligning, true);
  TRect r = AlignRect();
  for (TAlign align : {TAlign::alTop, TAlign::alBottom, TAlign::alLeft, TAlign::alRight, TAlign::alClient})
    for (TControl* c : FControls) {
      if (c->FAlign != align || !c->FVisible) continue;
      const int w = std::min(c->FWidth, std::max(0, r.Width()));
      const int h = std::min(c->FHeight, std::max(0, r.Height()));
      switch (align) {
        case TAlign::alTop: c->SetBounds(r.Left, r.Top, r.Width(), c->FHeight); r.Top += h; break;
        case TAlign::alBottom: r.Bottom -= h; c->SetBounds(r.Left, r.Bottom, r.Width(), c->FHeight); break;
        case TAlign::alLeft: c->SetBounds(r.Left, r.Top, c->FWidth, r.Height()); r.Left += w; break;
        case TAlign::alRight: r.Right -= w; c->SetBounds(r.Right, r.Top, c->FWidth, r.Height()); break;
        default: c->SetBounds(r.Left, r.Top, std::max(0, r.Width()), std::max(0, r.Height())); break;
      }
    }
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
  if (!CanFocus()) throw EInvalidOperation("Cannot focus a disabled or invisible window");
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
  if (!TakesInput()) return;
  DispatchInput(this, [&] {
    // A menu's short cut comes before the form's key preview and the control, and uses the key.
    if (TCustomForm* owner = ParentForm(); owner && owner->IsShortCut(ShortCut(Key, Shift))) {
      Key = 0;
      return;
    }
    TWinControl* form = ParentForm();
    if (form && form != this && ParentForm()->KeyPreview()) {
      form->KeyDown(Key, Shift);
      if (Key == 0) return;
    }
    KeyDown(Key, Shift);
  });
}

void TWinControl::PeerKeyPress(char& Key) {
  if (!TakesInput()) return;
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

void TWinControl::RecreateWnd() {
  if (!HandleAllocated()) return;
  // The new window takes the focus the old one had: the user typing in it goes on typing.
  const bool HadFocus = Focused();
  DestroyHandle();
  HandleNeeded();
  if (HadFocus && Focused() && HandleAllocated()) PeerNotify(TPeerChange::Focus);
}

void TWinControl::FontChanged() {
  TControl::FontChanged();
  TScopedValue inheriting(GInheritingFont, true);
  for (TControl* c : FControls)
    if (c->ParentFont()) c->Font().Assign(Font());
}

const TPropertyTable& TWinControl::PropertyTable() const {
  static const TPropertyTable Table(&TControl::PropertyTable(), {
      {"TabOrder", IntegerProperty(&TWinControl::SetTabOrder)},
      {"TabStop", BooleanProperty(&TWinControl::SetTabStop)},
      {"OnEnter", EventProperty(&TWinControl::OnEnter)},
      {"OnExit", EventProperty(&TWinControl::OnExit)},
      {"OnKeyDown", EventProperty(&TWinControl::OnKeyDown)},
      {"OnKeyUp", EventProperty(&TWinControl::OnKeyUp)},
      {"OnKeyPress", EventProperty(&TWinControl::OnKeyPress)},
  });
  return Table;
}
