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
  TvlxReportSettings& Settings() const { return *Bound(FSettings); }
  TvlxPrintSettings& State() const { return *Bound(FState); }
  TRptStyles& Styles() const { return *Bound(FStyles); }
  TObjInfo& Adapter() const { return *Bound(FAdapter); }

private:
  friend class TvlxRun;
  template <class T>
  T* Bound(T* Part) const {
    FW_ASSERT(FRun);
    return Part;
  }
  // Set by the run when it is formed; the adapter again when the run renews it.
  TvlxRun* FRun = nullptr;
  TvlxReportSettings* FSettings = nullptr;
  TvlxPrintSettings* FState = nullptr;
  TRptStyles* FStyles = nullptr;
  TObjInfo* FAdapter = nullptr;
};
