// What the borders and rules of text-style output need to know about one edge besides the run
// state: where the edge starts and ends and how its column stands on the page across. The
// drawing itself is done by TvlxPrintSettings (Borders.cpp).
#pragma once
#include <cstdint>

#include "engine/VLMXCodes.h"

struct TLineFlags {
  bool EdgeStart = false;  // the edge begins a border: a corner or end character
  bool EdgeEnd = false;    // the edge ends at the right border
  bool Joint = false;      // first column of its group with shared borders: a joint is due
  bool FirstOnPage = false;  // the column is the first of the page across
};

// The line kinds of a cell's vertical edges: its left line (left edge or column separator)
// and its right line (right edge, or none).
struct TCellLineKinds {
  TLineKind Left = lkLeftEdge;
  TLineKind Right = lkNone;
};

// The edge characters of one row, picked on its first cell: the row rule is on or off for the
// whole row, and every vertical edge of the same kind and flags gets the same characters, so
// a cell's borders are mostly a lookup.
struct TRowEdgeChars {
  struct TEdge {
    int8_t On = -1;  // -1: not picked yet
    char Start = ' ', Fill = ' ', End = ' ';
  };
  int8_t RuleOn = -1;  // -1: not decided yet
  // By vertical kind (left edge, column separator, right edge), edge start, edge end, joint.
  TEdge Edges[3][2][2][2];
};
