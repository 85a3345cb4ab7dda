// The sinks a run's pages leave through: raw text through the spooler to the default printer,
// the printer canvas, the text file (also for the RTF destination), the preview window's memo,
// or nothing at all for pages that are only laid out. One sink is chosen when the output opens
// (TvlxPrintSettings::OpenOutput), so composing a page never asks where it goes. This header
// also holds the printer strings that frame raw text.
#pragma once
#include <memory>
#include <string>

class TStrings;

// Where the composed pages of one run go, from the opening of the output to its closing.
class TvlxPageSink {
public:
  virtual ~TvlxPageSink() = default;
  // Whether a page of text lines gets a form feed in front of it to start its sheet.
  virtual bool TakesFormFeeds() const = 0;
  // Sends the text lines of one page (text units only: a page in device units was drawn on the
  // canvas while it was composed); FormFeed puts a form feed in front of the first line.
  virtual void WritePage(const TStrings& Lines, bool FormFeed) = 0;
  // Ends the sheet just emitted so that the next page starts a new one.
  virtual void NewSheet() = 0;
  // Ends what the sink opened; every part is ended even when one fails, whose error is passed
  // on afterwards.
  virtual void Close() = 0;
};

// The preview window's text box as the engine sees it: it shows the lines of one page.
class TvlxPreviewText {
public:
  virtual ~TvlxPreviewText() = default;
  virtual void ShowPage(const TStrings& Lines) = 0;
};

// The sink of a preview: each page's lines replace what Text shows; a preview has no sheets.
std::unique_ptr<TvlxPageSink> PreviewPageSink(TvlxPreviewText& Text);

// A printer string with "#" and one to three digits standing for the byte of that code and
// "##" for "#", expanded. A plain Exception for a code above 255.
void DecodePrinterString(const std::string& Text, std::string& Decoded);
