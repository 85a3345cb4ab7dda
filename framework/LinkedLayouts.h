// The window layouts compiled into a headless program (the Windows build links them as
// resources instead).
#pragma once

struct TLinkedLayout {
  const char* Name;
  const char* Text;
};

extern const TLinkedLayout GLinkedLayouts[];
extern const int GLinkedLayoutCount;
