// The memos printed around the page body (titles, headers, footers, page number, copyright)
// and the fixed-pitch layout of any text, memo or cell, into the page lines: line breaks, word
// wrap, the date, time and page macros with their alignment letters, and the truncation
// symbol. The operations on the run state are TvlxPrintSettings' (PrintMemoRegion ...).
#pragma once
#include <cstdint>
#include <string>

#include "framework/rtl/DateUtils.h"

// The flags of the system's text drawing that the engine passes around, with their values.
constexpr unsigned DT_LEFT = 0x0;
constexpr unsigned DT_CENTER = 0x1;
constexpr unsigned DT_RIGHT = 0x2;
constexpr unsigned DT_WORDBREAK = 0x10;
constexpr unsigned DT_CALCRECT = 0x400;
constexpr unsigned DT_NOPREFIX = 0x800;

// Alignment of text-drawing flags: 1 right, 2 centre, else 0 left.
uint8_t AlignToCode(unsigned Flags);

// Puts Text into the field of Width characters at Column (from 1) of Line, padding Line with
// blanks as far as the field's end. With Erase a shorter text is aligned (Alignment 0 left,
// 1 right, 2 centre) in a blanked field; at most Width characters are copied.
void PlaceTextInLine(std::string& Line, const std::string& Text, int Column, uint8_t Alignment,
                     bool Erase, int Width);

// R := S with its runs of blanks shortened, one blank at a time wherever a run is MinRun long,
// until S is no longer than MaxLength. Direction 0 works from the start, 1 from the end, 2 on
// the left half from the start and the right half from the end. Other characters are never
// removed, so R may stay longer than MaxLength.
void SqueezeSpaces(const std::string& S, int MaxLength, int MinRun, std::string& R, int Direction);

// When formatted with the user's pattern Fmt, or with Default when Fmt is empty. A pattern the
// formatter refuses falls back to Default: a typing error in a memo format never stops a report.
std::string FormatMemoDateTime(const std::string& Fmt, const std::string& Default, TDateTime When);
