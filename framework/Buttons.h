// Buttons with a glyph and a standard kind.
#pragma once
#include "framework/StdCtrls.h"

enum class TBitBtnKind { bkCustom, bkOK, bkCancel, bkHelp, bkYes, bkNo, bkClose, bkAbort, bkRetry, bkIgnore, bkAll };

class TBitBtn : public TButton {
public:
  using TButton::TButton;

  TBitBtnKind Kind() const { return FKind; }
  // A standard kind brings its caption and modal result, as the platform's does.
  void SetKind(TBitBtnKind Value);

  const TPropertyTable& PropertyTable() const override;

protected:
  // The Close kind closes its form after OnClick.
  void Click() override;

private:
  TBitBtnKind FKind = TBitBtnKind::bkCustom;
};
