#include "framework/ExtCtrls.h"

#include "framework/Layout.h"

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
}

void TCustomPanel::SetBevelOuter(TBevelCut Value) {
  if (FBevelOuter == Value) return;
  FBevelOuter = Value;
  PeerNotify(TPeerChange::Style);
}

void TCustomPanel::SetBevelWidth(int Value) {
  if (FBevelWidth == Value || Value < 1) return;
  FBevelWidth = Value;
  PeerNotify(TPeerChange::Style);
}

TSetPropResult TCustomPanel::SetProperty(const std::string& PropName, const TLayoutValue& Value) {
  if (PropName == "Alignment")
    SetAlignment(Value.AsEnum<TAlignment>({{"taLeftJustify", TAlignment::taLeftJustify},
                                           {"taRightJustify", TAlignment::taRightJustify},
                                           {"taCenter", TAlignment::taCenter}}));
  else if (PropName == "BevelInner") SetBevelInner(BevelValue(Value));
  else if (PropName == "BevelOuter") SetBevelOuter(BevelValue(Value));
  else if (PropName == "BevelWidth") SetBevelWidth(Value.AsInteger());
  else return TCustomControl::SetProperty(PropName, Value);
  return TSetPropResult::Done;
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

TSetPropResult TTimer::SetProperty(const std::string& PropName, const TLayoutValue& Value) {
  if (PropName == "Enabled") SetEnabled(Value.AsBoolean());
  else if (PropName == "Interval") SetInterval(static_cast<unsigned>(Value.AsInteger()));
  else if (PropName == "OnTimer") OnTimer = Value.AsEvent<TNotifyEvent>();
  else return TComponent::SetProperty(PropName, Value);
  return TSetPropResult::Done;
}
