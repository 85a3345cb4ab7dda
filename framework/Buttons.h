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

// A tool-bar button that takes no focus: a picture (Glyph) and or a caption, flat until the
// mouse is over it. Glyph names a bitmap resource holding NumGlyphs images side by side: the
// first for the enabled button, the second (when there is one) for the disabled one.
class TSpeedButton : public TGraphicControl {
public:
  explicit TSpeedButton(TComponent* AOwner);

  bool Flat() const { return FFlat; }
  void SetFlat(bool Value);
  const std::string& Glyph() const { return FGlyph; }
  void SetGlyph(const std::string& Value);
  int NumGlyphs() const { return FNumGlyphs; }
  void SetNumGlyphs(int Value);

  // Fires OnClick, as a click on the button does.
  void Click() override;

  const TPropertyTable& PropertyTable() const override;

protected:
  std::unique_ptr<TControlPeer> CreatePeer() override;

private:
  bool FFlat = false;
  std::string FGlyph;
  int FNumGlyphs = 1;
};
