// Text routines of the report engine: blank filling and justification of fixed-pitch cell and
// memo texts, recognising numeric texts, and the elapsed time of a run.
#pragma once
#include <string>

#include "framework/rtl/DateUtils.h"

// Mode 0 left-justified, 1 right-justified, 2 centred (an odd blank goes to the left), in a
// field of Width characters, S cut to Width. Any other Mode leaves Result as it was.
void PadJustify(const std::string& S, int Width, unsigned char Mode, std::string& Result);
// Exactly N characters: S cut, or S followed by blanks.
void PadRightTo(const std::string& S, int N, std::string& Result);
// S is not blank and holds no ASCII letter: "1,234.50" is, "n/a" is not.
bool HasNoLetters(const std::string& S);
// S holds no line break (CR or LF) and no macro ("^"): a layout places it as it stands.
bool IsPlainLine(const std::string& S);
// "1:02:05 hours", "2:05 minutes" or "3.25 seconds".
void ElapsedTimeStr(TDateTime Span, std::string& Result);
