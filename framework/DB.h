// Datasets: records with typed fields behind a cursor. Filled in by the data layer.
#pragma once
#include "framework/Classes.h"

class TDataSet : public TComponent {
public:
  using TComponent::TComponent;
};
