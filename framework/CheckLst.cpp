#include "framework/CheckLst.h"

#include "framework/PropertyTable.h"

bool TCheckListBox::Checked(int Index) const {
  if (Index < 0 || Index >= ItemCount()) throw EListError("List index out of bounds (" + std::to_string(Index) + ")");
  return FItems.FItems[Index].Checked;
}

void TCheckListBox::SetChecked(int Index, bool Value) {
  if (Checked(Index) == Value) return;
  FItems.FItems[Index].Checked = Value;
  PeerNotify(TPeerChange::Invalidate);
}

void TCheckListBox::PeerCheckToggled(int Index) {
  if (Index < 0 || Index >= ItemCount() || !TakesInput()) return;
  SetChecked(Index, !Checked(Index));
  DispatchInput(this, [&] { ClickCheck(); });
}

const TPropertyTable& TCheckListBox::PropertyTable() const {
  static const TPropertyTable Table(&TCustomListBox::PropertyTable(), {
      {"OnClickCheck", EventProperty(&TCheckListBox::OnClickCheck)},
  });
  return Table;
}
