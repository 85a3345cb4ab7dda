// The working state of one report run: the resolutions, character cell and zoom that turn the
// stored sizes (thousandths of an inch) into the units the page is laid out in.
#pragma once
#include "framework/Classes.h"

class TvlxPrintSettings : public TObject {
public:
  TvlxPrintSettings() = default;
  TvlxPrintSettings(const TvlxPrintSettings&) = delete;
  TvlxPrintSettings& operator=(const TvlxPrintSettings&) = delete;

  // Value (thousandths of an inch) along Axis (0 horizontal, 1 vertical) in text units
  // (characters across, lines down) or in device units of the device in use at the zoom.
  // AtLeastOne keeps a positive Value from vanishing: in text units any positive Value is then
  // one unit.
  int ToUnits(int Value, bool TextUnits, bool AtLeastOne, int Axis) const;

  // Dots per inch: the device in use, the printer, the screen.
  int DevResX = 0, DevResY = 0;
  int PrtResX = 0, PrtResY = 0;
  int ScrResX = 0, ScrResY = 0;
  // Printer dots of one character cell and one text line.
  int CharWidth = 0, LineHeight = 0;
  int ZoomPercent = 100;
  // Number of pages across a wide report, and the page across being composed (from 1).
  int PagesAcross = 0;
  int CurPageAcross = 0;
};

// Value * Multiplier / Divisor through 64 bits, rounded half away from zero; -1 when Divisor
// is 0 or the result leaves the 32-bit range, as the system's MulDiv answers.
int MulDiv(int Value, int Multiplier, int Divisor);

// The state of the run in progress; empty when no run is being set up.
extern TvlxPrintSettings* PrintSettings;
