// Headless: no control has a window.
#include "framework/Buttons.h"
#include "framework/Forms.h"
#include "framework/Grids.h"
#include "framework/StdCtrls.h"

std::unique_ptr<TControlPeer> TControl::CreatePeer() { return nullptr; }
std::unique_ptr<TControlPeer> TCustomForm::CreatePeer() { return nullptr; }
std::unique_ptr<TControlPeer> TLabel::CreatePeer() { return nullptr; }
std::unique_ptr<TControlPeer> TButton::CreatePeer() { return nullptr; }
std::unique_ptr<TControlPeer> TCustomGrid::CreatePeer() { return nullptr; }
std::unique_ptr<TControlPeer> TSpeedButton::CreatePeer() { return nullptr; }
