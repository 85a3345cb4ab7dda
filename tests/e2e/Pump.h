// Waiting for and driving real windows under Wine: the X server maps and paints asynchronously,
// so a test pumps its messages until what it expects is on screen, with a deadline instead of a
// sleep; and it sends input as the mouse does, then reads back what the windows show.
#pragma once
#include <windows.h>

#include <functional>
#include <string>

// Dispatches this thread's messages until Done() holds or TimeoutMs pass; returns Done().
bool PumpUntil(const std::function<bool()>& Done, unsigned TimeoutMs = 5000);

// Posts a press and a release of the left button at a client point, with Keys held; the
// caller dispatches them.
void PostClick(HWND Target, int X, int Y, WPARAM Keys = 0);
inline void PostClick(HWND Target, POINT At, WPARAM Keys = 0) { PostClick(Target, At.x, At.y, Keys); }

// Keys as the keyboard sends them, to whichever window has the focus: Vk down or up, a press
// (down and up), and a press with Modifier held.
void Key(WORD Vk, bool Up);
void Press(WORD Vk);
void PressWith(WORD Modifier, WORD Vk);

std::string WindowText(HWND Window);
// The text of an item's column in a list view, as the window shows it.
std::string ListViewText(HWND View, int Item, int Column);
// A point inside a list-box line or a list-view item's label, in client coordinates.
POINT ListBoxItemPoint(HWND Box, int Index);
POINT ListViewItemPoint(HWND View, int Index);
// The middle of a tab of a tab control, in client coordinates.
POINT TabPoint(HWND Tabs, int Index);
