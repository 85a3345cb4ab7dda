#include "framework/Buttons.h"

#include <algorithm>

#include "framework/Layout.h"
#include "framework/PropertyTable.h"

TSpeedButton::TSpeedButton(TComponent* AOwner) : TGraphicControl(AOwner) { SetBounds(0, 0, 23, 22); }

void TSpeedButton::SetFlat(bool Value) {
  if (FFlat == Value) return;
  FFlat = Value;
  PeerNotify(TPeerChange::Style);
}

void TSpeedButton::SetGlyph(const std::string& Value) {
  if (FGlyph == Value) return;
  FGlyph = Value;
  PeerNotify(TPeerChange::Contents);
}

void TSpeedButton::SetNumGlyphs(int Value) {
  Value = std::clamp(Value, 1, 4);
  if (FNumGlyphs == Value) return;
  FNumGlyphs = Value;
  PeerNotify(TPeerChange::Contents);
}

void TSpeedButton::Click() { TGraphicControl::Click(); }

const TPropertyTable& TSpeedButton::PropertyTable() const {
  static const TPropertyTable Table(&TGraphicControl::PropertyTable(), {
      {"Flat", BooleanProperty(&TSpeedButton::SetFlat)},
      {"Glyph", StringProperty(&TSpeedButton::SetGlyph)},
      {"NumGlyphs", IntegerProperty(&TSpeedButton::SetNumGlyphs)},
  });
  return Table;
}
