// Tables and queries: datasets named by a table or by SQL lines.
#pragma once
#include "framework/DB.h"

class TDBDataSet : public TDataSet {
public:
  using TDataSet::TDataSet;
};

class TTable : public TDBDataSet {
public:
  using TDBDataSet::TDBDataSet;
};

class TQuery : public TDBDataSet {
public:
  using TDBDataSet::TDBDataSet;
};
