// Waiting for windows under Wine: the X server maps and paints asynchronously, so a test
// pumps its messages until what it expects is on screen, with a deadline instead of a sleep.
#pragma once
#include <functional>

// Dispatches this thread's messages until Done() holds or TimeoutMs pass; returns Done().
bool PumpUntil(const std::function<bool()>& Done, unsigned TimeoutMs = 5000);
