// Data-aware grids: a grid whose rows are a dataset's records.
#pragma once
#include "framework/Grids.h"

class TCustomDBGrid : public TCustomGrid {
public:
  using TCustomGrid::TCustomGrid;
};

class TDBGrid : public TCustomDBGrid {
public:
  using TCustomDBGrid::TCustomDBGrid;
};
