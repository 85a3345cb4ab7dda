#include "framework/Layout.h"
#include "framework/LinkedLayouts.h"
#include "framework/rtl/SysUtils.h"

std::string LinkedLayoutText(const std::string& LayoutName) {
  for (int i = 0; i < GLinkedLayoutCount; ++i)
    if (SameText(GLinkedLayouts[i].Name, LayoutName)) return GLinkedLayouts[i].Text;
  return {};
}
