// The generated line-draw font, linked into the headless build under the resource type and
// name that the Windows build gives it. The assembler includes the file as it stands, which is
// faster to build than a source of byte literals.
#include "framework/LinkedResources.h"

extern "C" const unsigned char VersoraLineDrawFont[];
extern "C" const unsigned char VersoraLineDrawFontEnd[];

asm(".section .rodata\n"
    ".global VersoraLineDrawFont\n"
    ".global VersoraLineDrawFontEnd\n"
    ".balign 16\n"
    "VersoraLineDrawFont:\n"
    ".incbin \"" VERSORA_LINEDRAW_FONT "\"\n"
    "VersoraLineDrawFontEnd:\n"
    ".previous\n");

const TLinkedResource GLinkedResources[] = {
    {"VLMXFONT", "VLXLINEDRAW", VersoraLineDrawFont,
     static_cast<std::size_t>(VersoraLineDrawFontEnd - VersoraLineDrawFont)},
};
const int GLinkedResourceCount = sizeof(GLinkedResources) / sizeof(GLinkedResources[0]);
