// The sinks a run's pages leave through: raw text through the spooler to the default printer,
// the printer canvas, and the text file (also for the RTF destination). Opening, page emission
// and closing are operations of the run state (PrintSettings.h); this header adds the printer
// strings that frame raw text.
#pragma once
#include <string>

// A printer string with "#" and one to three digits standing for the byte of that code and
// "##" for "#", expanded. A plain Exception for a code above 255.
void DecodePrinterString(const std::string& Text, std::string& Decoded);
