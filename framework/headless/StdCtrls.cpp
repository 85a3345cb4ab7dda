// Headless: edits, memos, combo boxes, group boxes, check boxes, radio buttons, bevels, page
// controls and up-downs have no window; the clipboard is a string that tests read.
#include "framework/ComCtrls.h"
#include "framework/ExtCtrls.h"
#include "framework/StdCtrls.h"
#include "framework/headless/Headless.h"

std::unique_ptr<TControlPeer> TCustomEdit::CreatePeer() { return nullptr; }
std::unique_ptr<TControlPeer> TCustomMemo::CreatePeer() { return nullptr; }
std::unique_ptr<TControlPeer> TCustomComboBox::CreatePeer() { return nullptr; }
std::unique_ptr<TControlPeer> TGroupBox::CreatePeer() { return nullptr; }
std::unique_ptr<TControlPeer> TCheckBox::CreatePeer() { return nullptr; }
std::unique_ptr<TControlPeer> TRadioButton::CreatePeer() { return nullptr; }
std::unique_ptr<TControlPeer> TBevel::CreatePeer() { return nullptr; }
std::unique_ptr<TControlPeer> TImage::CreatePeer() { return nullptr; }
std::unique_ptr<TControlPeer> TPageControl::CreatePeer() { return nullptr; }
std::unique_ptr<TControlPeer> TTabSheet::CreatePeer() { return nullptr; }
std::unique_ptr<TControlPeer> TUpDown::CreatePeer() { return nullptr; }

namespace {
std::string GClipboard;
}

namespace Backend {
void SetClipboardText(const std::string& Text) { GClipboard = Text; }
}  // namespace Backend

namespace Headless {
const std::string& ClipboardText() { return GClipboard; }
}  // namespace Headless
