// Headless: list views have no window.
#include "framework/ComCtrls.h"

std::unique_ptr<TControlPeer> TCustomListView::CreatePeer() { return nullptr; }
