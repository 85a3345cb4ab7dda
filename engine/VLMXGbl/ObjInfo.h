// The adapter between the engine and the object a report prints: what kind of object it is and
// what the object itself says about its layout. One exists per report run.
#pragma once
#include <string>

#include "framework/Classes.h"

// Kind code of a cross-tab grid; its layout drives several settings' defaults.
constexpr unsigned char otDecisionGrid = 18;

class TObjInfo : public TObject {
public:
  TObjInfo() = default;
  TObjInfo(const TObjInfo&) = delete;
  TObjInfo& operator=(const TObjInfo&) = delete;

  bool IsDecisionGrid() const { return ObjType == otDecisionGrid; }

  // Comma-separated sort field names.
  std::string SortFields;
  // Kind of the printed object; 0 until classified.
  unsigned char ObjType = 0;
  // The rows come from an SQL query, which sorts them itself.
  bool SortedBySQL = false;
  // Columns repeated at the left of every page across, as the object defines them.
  int FixedCols = 0;
  // Copy of the style option ioFieldFormat: formatted field texts and totals.
  bool FieldFormatOn = false;
};

// The adapter of the run in progress; empty when no run is being set up.
extern TObjInfo* ObjInfo;
