// What the objects that make up a run (its state, styles and adapter) share: the run they
// belong to, through which each reaches the others and the report settings.
#pragma once
#include "framework/rtl/Exceptions.h"

class TObjInfo;
class TRptStyles;
class TvlxPrintSettings;
class TvlxReportSettings;
class TvlxRun;

class TvlxRunPart {
public:
  // The run this object belongs to; a part used outside a run is a fault of its caller.
  TvlxRun& Run() const {
    FW_ASSERT(FRun);
    return *FRun;
  }
  bool InRun() const { return FRun != nullptr; }
  TvlxReportSettings& Settings() const;
  TvlxPrintSettings& State() const;
  TRptStyles& Styles() const;
  TObjInfo& Adapter() const;

private:
  friend class TvlxRun;
  TvlxRun* FRun = nullptr;
};
