#include "framework/ExtCtrls.h"

#include "framework/Layout.h"
#include "framework/PropertyTable.h"

namespace {
TBevelCut BevelValue(const TLayoutValue& Value) {
  return Value.AsEnum<TBevelCut>({{"bvNone", TBevelCut::bvNone},
                                  {"bvLowered", TBevelCut::bvLowered},
                                  {"bvRaised", TBevelCut::bvRaised},
                                  {"bvSpace", TBevelCut::bvSpace}});
}
}  // namespace

// ---------------------------------------------------------------------------------------------
// TCustomPanel

TCustomPanel::TCustomPanel(TComponent* AOwner) : TCustomControl(AOwner) {
  SetBounds(0, 0, 185, 41);
}

void TCustomPanel::SetAlignment(TAlignment Value) {
  if (FAlignment == Value) return;
  FAlignment = Value;
  PeerNotify(TPeerChange::Style);
}

void TCustomPanel::SetBevelInner(TBevelCut Value) {
  if (FBevelInner == Value) return;
  FBevelInner = Value;
  PeerNotify(TPeerChange::Style);
  AlignControls();
}

void TCustomPanel::SetBevelOuter(TBevelCut Value) {
  if (FBevelOuter == Value) return;
  FBevelOuter = Value;
  PeerNotify(TPeerChange::Style);
  AlignControls();
}

void TCustomPanel::SetBevelWidth(int Value) {
  if (FBevelWidth == Value || Value < 1) return;
  FBevelWidth = Value;
  PeerNotify(TPeerChange::Style);
  AlignControls();
}

TRect TCustomPanel::AlignRect() const {
  const int inset = FBevelWidth * ((FBevelOuter != TBevelCut::bvNone) + (FBevelInner != TBevelCut::bvNone));
  return {inset, inset, ClientWidth() - inset, ClientHeight() - inset};
}

const TPropertyTable& TCustomPanel::PropertyTable() const {
  static const TPropertyTable Table(&TCustomControl::PropertyTable(), {
      {"Alignment", Setter<TCustomPanel>([](TCustomPanel& P, const TLayoutValue& V) { P.SetAlignment(AlignmentValue(V)); })},
      {"BevelInner", Setter<TCustomPanel>([](TCustomPanel& P, const TLayoutValue& V) { P.SetBevelInner(BevelValue(V)); })},
      {"BevelOuter", Setter<TCustomPanel>([](TCustomPanel& P, const TLayoutValue& V) { P.SetBevelOuter(BevelValue(V)); })},
      {"BevelWidth", IntegerProperty(&TCustomPanel::SetBevelWidth)},
  });
  return Table;
}

// ---------------------------------------------------------------------------------------------
// TTimer

TTimer::TTimer(TComponent* AOwner) : TComponent(AOwner) { UpdateTimer(); }

TTimer::~TTimer() { Backend::StopTimer(*this); }

void TTimer::SetEnabled(bool Value) {
  if (FEnabled == Value) return;
  FEnabled = Value;
  UpdateTimer();
}

void TTimer::SetInterval(unsigned Value) {
  if (FInterval == Value) return;
  FInterval = Value;
  UpdateTimer();
}

void TTimer::UpdateTimer() {
  Backend::StopTimer(*this);
  if (FEnabled && FInterval > 0) Backend::StartTimer(*this);
}

const TPropertyTable& TTimer::PropertyTable() const {
  static const TPropertyTable Table(&TComponent::PropertyTable(), {
      {"Enabled", BooleanProperty(&TTimer::SetEnabled)},
      {"Interval", Setter<TTimer>([](TTimer& T, const TLayoutValue& V) { T.SetInterval(static_cast<unsigned>(V.AsInteger())); })},
      {"OnTimer", EventProperty(&TTimer::OnTimer)},
  });
  return Table;
}

TBevel::TBevel(TComponent* AOwner) : TGraphicControl(AOwner) {
  SetBounds(0, 0, 50, 50);
}

void TBevel::SetShape(TBevelShape Value) {
  if (FShape == Value) return;
  FShape = Value;
  PeerNotify(TPeerChange::Style);
}

void TBevel::SetStyle(TBevelStyle Value) {
  if (FStyle == Value) return;
  FStyle = Value;
  PeerNotify(TPeerChange::Style);
}

const TPropertyTable& TBevel::PropertyTable() const {
  static const TPropertyTable Table(&TGraphicControl::PropertyTable(), {
      {"Shape", Setter<TBevel>([](TBevel& B, const TLayoutValue& V) {
         B.SetShape(V.AsEnum<TBevelShape>({{"bsBox", TBevelShape::bsBox},
                                           {"bsFrame", TBevelShape::bsFrame},
                                           {"bsTopLine", TBevelShape::bsTopLine},
                                           {"bsBottomLine", TBevelShape::bsBottomLine},
                                           {"bsLeftLine", TBevelShape::bsLeftLine},
                                           {"bsRightLine", TBevelShape::bsRightLine},
                                           {"bsSpacer", TBevelShape::bsSpacer}}));
       })},
      {"Style", Setter<TBevel>([](TBevel& B, const TLayoutValue& V) {
         B.SetStyle(V.AsEnum<TBevelStyle>({{"bsLowered", TBevelStyle::bsLowered}, {"bsRaised", TBevelStyle::bsRaised}}));
       })},
  });
  return Table;
}

TImage::TImage(TComponent* AOwner) : TGraphicControl(AOwner) {
  SetBounds(0, 0, 32, 32);
}

void TImage::SetIcon(TSystemIcon Value) {
  if (FIcon == Value) return;
  FIcon = Value;
  PeerNotify(TPeerChange::Contents);
}

const TPropertyTable& TImage::PropertyTable() const {
  static const TPropertyTable Table(&TGraphicControl::PropertyTable(), {
      {"Icon", Setter<TImage>([](TImage& I, const TLayoutValue& V) {
         I.SetIcon(V.AsEnum<TSystemIcon>({{"siNone", TSystemIcon::siNone},
                                          {"siQuestion", TSystemIcon::siQuestion},
                                          {"siWarning", TSystemIcon::siWarning},
                                          {"siError", TSystemIcon::siError},
                                          {"siInformation", TSystemIcon::siInformation}}));
       })},
  });
  return Table;
}
