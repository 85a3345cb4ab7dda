// The cross-tab grid: summaries of a decision cube by row and column dimensions. It is a grid,
// but not a string grid.
#pragma once
#include "framework/Grids.h"

class TCustomDecisionGrid : public TCustomGrid {
public:
  using TCustomGrid::TCustomGrid;
};

class TDecisionGrid : public TCustomDecisionGrid {
public:
  using TCustomDecisionGrid::TCustomDecisionGrid;
};
