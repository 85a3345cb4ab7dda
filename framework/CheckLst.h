// A list box with a check box in front of each line.
#pragma once
#include "framework/StdCtrls.h"

// Checking a line from code fires nothing; the user's click on a check box (or Space on the
// current line) toggles it and fires OnClickCheck.
class TCheckListBox : public TCustomListBox {
public:
  using TCustomListBox::TCustomListBox;

  // EListError "List index out of bounds (n)" outside the lines.
  bool Checked(int Index) const;
  void SetChecked(int Index, bool Value);

  TNotifyEvent OnClickCheck;

  // The user toggled the check box of line Index.
  void PeerCheckToggled(int Index);

  const TPropertyTable& PropertyTable() const override;

protected:
  virtual void ClickCheck() { if (OnClickCheck) OnClickCheck(this); }
};
