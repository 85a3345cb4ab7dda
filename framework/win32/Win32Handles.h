// The one header that brings in the Win32 API. The framework's names that <windows.h> turns into
// macros are freed here, so a file may include the framework's headers before or after this one.
// Only the Win32 backend and the end-to-end tests that drive real windows include it.
#pragma once
#include <windows.h>
#include <commctrl.h>

#undef MessageBox
#undef AddForm
#undef RGB
#undef DrawText
#undef GetObject
#undef LoadString
#undef SetWindowText
#undef SendMessage
#undef PostMessage
#undef TextOut
#undef StartDoc

class TControl;

// The window behind a control, or nullptr while the control has none.
HWND PeerHandle(const TControl& Control);
