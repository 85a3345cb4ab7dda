// Headless: list boxes have no window.
#include "framework/StdCtrls.h"

std::unique_ptr<TControlPeer> TCustomListBox::CreatePeer() { return nullptr; }
