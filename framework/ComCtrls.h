// List views: items with sub-items shown as icons, a list or a report with columns.
#pragma once
#include "framework/Controls.h"

class TCustomListView : public TWinControl {
public:
  using TWinControl::TWinControl;
};

class TListView : public TCustomListView {
public:
  using TCustomListView::TCustomListView;
};
