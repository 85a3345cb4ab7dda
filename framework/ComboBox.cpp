// Combo boxes and group boxes.
#include <algorithm>

#include "framework/Layout.h"
#include "framework/PropertyTable.h"
#include "framework/StdCtrls.h"

void TComboBoxStrings::Changed() { FOwner.ItemsChanged(); }

void TComboBoxStrings::SetStrings(int Index, const std::string& S) {
  TStringList::SetStrings(Index, S);
  Changed();
}

int TComboBoxStrings::Add(const std::string& S) {
  int index = TStringList::Add(S);
  Changed();
  return index;
}

void TComboBoxStrings::Insert(int Index, const std::string& S) {
  TStringList::Insert(Index, S);
  Changed();
}

void TComboBoxStrings::Delete(int Index) {
  TStringList::Delete(Index);
  Changed();
}

void TComboBoxStrings::Clear() {
  TStringList::Clear();
  Changed();
}

TCustomComboBox::TCustomComboBox(TComponent* AOwner) : TWinControl(AOwner) {
  SetBounds(0, 0, 145, 21);
  SetTabStop(true);
  FColor = clWindow;
}

// The current item follows the text through every change of the items.
void TCustomComboBox::ItemsChanged() {
  FItemIndex = FItems.IndexOf(Text());
  PeerNotify(TPeerChange::Contents);
}

void TCustomComboBox::TakeText(const std::string& Value) {
  TControlPeer* peer = FPeer.release();
  TWinControl::SetText(Value);
  FPeer.reset(peer);
  FItemIndex = FItems.IndexOf(Value);
}

void TCustomComboBox::SetItemIndex(int Value) {
  if (Value < -1 || Value >= FItems.Count()) Value = -1;
  FItemIndex = Value;
  TWinControl::SetText(Value < 0 ? "" : FItems[Value]);
  PeerNotify(TPeerChange::Layout);
}

void TCustomComboBox::SetText(const std::string& Value) {
  if (FStyle == TComboBoxStyle::csDropDownList) {
    // Only an item's text can show; setting it selects that item, as a choice from code.
    SetItemIndex(FItems.IndexOf(Value));
    return;
  }
  if (Value == Text()) return;
  TWinControl::SetText(Value);
  FItemIndex = FItems.IndexOf(Value);
  PeerNotify(TPeerChange::Layout);
  if (!IsLoading()) Change();
}

void TCustomComboBox::SetStyle(TComboBoxStyle Value) {
  if (FStyle == Value) return;
  FStyle = Value;
  if (Value == TComboBoxStyle::csDropDownList && FItemIndex < 0) TWinControl::SetText("");
  // The system's combo box takes its style only when it is made.
  RecreateWnd();
}

void TCustomComboBox::SetDropDownCount(int Value) {
  FDropDownCount = std::max(1, Value);
  PeerNotify(TPeerChange::Style);
}

void TCustomComboBox::SetDroppedWidth(int Value) {
  if (FDroppedWidth == Value) return;
  FDroppedWidth = Value;
  PeerNotify(TPeerChange::Style);
}

void TCustomComboBox::SetDroppedDown(bool Value) {
  if (FDroppedDown == Value) return;
  FDroppedDown = Value;
  PeerNotify(TPeerChange::Style);
}

void TCustomComboBox::PeerTextEdited(const std::string& Value) {
  if (Value == Text() || !TakesInput()) return;
  TakeText(Value);
  DispatchInput(this, [&] { Change(); });
}

void TCustomComboBox::PeerItemChosen(int Index) {
  if (Index < 0 || Index >= FItems.Count() || !TakesInput()) return;
  TakeText(FItems[Index]);
  FItemIndex = Index;
  DispatchInput(this, [&] {
    Click();
    Change();
  });
}

void TCustomComboBox::PeerDroppedDown(bool Value) {
  FDroppedDown = Value;
  if (Value) DispatchInput(this, [&] { if (OnDropDown) OnDropDown(this); });
}

const TPropertyTable& TCustomComboBox::PropertyTable() const {
  static const TPropertyTable Table(&TWinControl::PropertyTable(), {
      {"Style", Setter<TCustomComboBox>([](TCustomComboBox& C, const TLayoutValue& V) {
         C.SetStyle(V.AsEnum<TComboBoxStyle>({{"csDropDown", TComboBoxStyle::csDropDown},
                                              {"csDropDownList", TComboBoxStyle::csDropDownList}}));
       })},
      {"DropDownCount", IntegerProperty(&TCustomComboBox::SetDropDownCount)},
      {"ItemIndex", IntegerProperty(&TCustomComboBox::SetItemIndex)},
      {"Items", Setter<TCustomComboBox>([](TCustomComboBox& C, const TLayoutValue& V) {
         C.Items().Clear();
         for (auto& item : StringListValue(V)) C.Items().Add(item);
       })},
      {"OnChange", EventProperty(&TCustomComboBox::OnChange)},
      {"OnDropDown", EventProperty(&TCustomComboBox::OnDropDown)},
  });
  return Table;
}

TGroupBox::TGroupBox(TComponent* AOwner) : TCustomControl(AOwner) {
  SetBounds(0, 0, 185, 105);
}
