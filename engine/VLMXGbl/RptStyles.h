// How the parts of a report page look, and how far the three row bands of the page being
// composed have got. The page is named in style regions: the memos around the grid and the
// nine cells of the grid's three row bands (titles, data, totals) by its three column zones
// (leading fixed columns, body columns, trailing columns). One exists per report call.
#pragma once
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "engine/VLMXCodes.h"
#include "engine/VLMXGbl/RunPart.h"
#include "framework/Classes.h"
#include "framework/Graphics.h"

// A set of style regions: bit r for region r (0..17).
using TRegionMask = uint32_t;
constexpr int RegionCount = 18;

// Plane index 0: all planes of a kind; never a valid input of a conversion.
constexpr uint8_t plAll = 0;

// Grid region of a column zone and a row band (both 1..3); eVlxIntError for plAll.
uint8_t CnvtPlaneNdxsToRegNdx(uint8_t Zone, uint8_t Band);

// The progress of one row band (1 column titles, 2 data rows, 3 totals rows).
struct TBandInfo {
  int LineHeight = 0;  // the largest line height measured for the band
  int RowCount = 0;    // rows in the band
  int RowNdx = 0;      // rows of the band emitted so far; negative outside a report
  bool Finished = false;
};

// One style option of the report settings, as the setup window offers it.
struct TStyleOptInfo {
  const char* Name;
  uint8_t OutputModes;  // bit 0 drawn output, bit 1 character output
  uint8_t ObjectKinds;  // bit 0 objects of a kind in range (IsKindInRange), bit 1 any other object
};
constexpr int StyleOptCount = 14;

class TFontStyleEntry : public TObject {
public:
  TFont Font;
};

class TLineStyleEntry : public TObject {
public:
  bool LineOn = false;
  int Width = 0;  // thousandths of an inch
  TPen Pen;
};

class TFillStyleEntry : public TObject {
public:
  bool FillOn = false;  // solid
  TBrush Brush;
};

// Style entries by key (MakeStyleKey), owned by the list.
template <class TEntry>
class TStyleList {
public:
  int Count() const { return static_cast<int>(FItems.size()); }
  TEntry& Add(const std::string& Key) {
    FItems.emplace_back(Key, std::make_unique<TEntry>());
    return *FItems.back().second;
  }
  // The first entry of that key; nullptr when there is none.
  TEntry* Find(const std::string& Key) const {
    for (const auto& [K, Entry] : FItems)
      if (K == Key) return Entry.get();
    return nullptr;
  }
  void Clear() {
    while (!FItems.empty()) FItems.pop_back();
  }

private:
  std::vector<std::pair<std::string, std::unique_ptr<TEntry>>> FItems;
};

class TRptStyles : public TObject, public TvlxRunPart {
public:
  TRptStyles() { FillLineWidths(-1); }
  TRptStyles(const TRptStyles&) = delete;
  TRptStyles& operator=(const TRptStyles&) = delete;

  // "A,B,C" in plain decimal.
  static std::string MakeStyleKey(uint8_t A, uint8_t B, int C);
  void ClearLists();
  // Empties the style lists. Only character output has styles: true with StyleName emptied,
  // false for drawn output.
  bool LoadStyles(std::string& StyleName);
  // The report settings' font of character output; false for drawn output.
  bool GetTextModeFont(std::string& Name, int& Size, TFontPitch& Pitch, TFontStyles& Style,
                       TColor& Color) const;
  // Puts the character-output font, at the run's working size, on the output canvas;
  // InvertOnBrush keeps the text readable on a brush of the font's colour. False for drawn
  // output, touching nothing.
  bool ApplyFont(bool InvertOnBrush) const;
  // The fill of Region and Plane; with AllowFallback a miss tries the region's plane 0 once.
  TBrush* GetBrush(bool UseFill, uint8_t Region, uint8_t Plane, bool AllowFallback) const;
  void ApplyBrush(bool UseFill, uint8_t Region, uint8_t Plane, bool AllowFallback) const;

  // Whether a line of Kind is drawn in Band for the row being composed. A row rule may turn
  // into the band's top edge here, and Kind tells the caller so.
  bool IsLineKindOn(uint8_t Band, TLineKind& Kind, bool AsBorder) const;
  // Width in the unit set of a Kind line in Region; Found tells whether a line style exists.
  int GetLineWidth(uint8_t Region, TLineKind Kind, bool& Found) const;
  // The regions of Region's plane in Kind's direction (bands for horizontal kinds, zones for
  // vertical ones), with the plane; a region outside the grid gives plane 0 and itself alone.
  static TRegionMask GetKindRegionMask(uint8_t Region, TLineKind Kind, uint8_t& Plane);
  void FillLineWidths(int Value);
  // The band (ByBand) or zone of a grid region; false for any other region.
  static bool RegionToPlane(uint8_t Region, bool ByBand, uint8_t& Plane);
  // Grid region of column ColNdx of the column list in Band; eVlxIntError for plAll.
  void CnvtColNdxToRegNdx(int ColNdx, uint8_t Band, uint8_t& Region) const;
  // Column range of a zone of the column list; another zone leaves both untouched.
  void GetZoneColumns(uint8_t Zone, int& First, int& Last) const;
  // The line kinds at the left and right of a placed column, from its panel layout flags.
  void GetColumnLineFlags(int ColNdx, bool FirstOnPanel, TLineKind& LeftKind, TLineKind& RightKind) const;
  // The widest Kind line over the regions of Region's plane; 0 when LineOn is off.
  int CalcMaxLineWidth(bool LineOn, uint8_t Region, uint8_t& Plane, TLineKind Kind) const;
  // Rebuilds LineWidths: the width each line kind needs per zone or band wherever it may be
  // drawn, whatever the row being composed. The run's row flags are left as they were.
  void CalcLineWidths();
  bool IsRegionPresent(uint8_t Region) const;

  std::array<int, RegionCount> RegionLineHeights{};
  TStyleList<TFontStyleEntry> FontStyleList;
  TStyleList<TLineStyleEntry> LineStyleList;  // key: region, 2, line kind
  TStyleList<TFillStyleEntry> FillStyleList;  // key: region, 1, plane
  // [plane][line kind]: the vertical kinds by zone, the horizontal kinds by band.
  std::array<std::array<int, LineKindCount>, 4> LineWidths{};
  // Indexed by band; [0] is not used.
  std::array<TBandInfo, 4> BandInfo{};

  // In the order of the style-option bits of the report settings.
  static constexpr std::array<TStyleOptInfo, StyleOptCount> StyleOptInfo = {{
      {"Field Format", 3, 1},
      {"Horizontal Lines", 3, 1},
      {"Group Break Lines", 3, 1},
      {"Vertical Lines", 3, 1},
      {"Borders", 3, 1},
      {"Share Adjacent Borders", 2, 1},
      {"Column Titles", 3, 1},
      {"Column Totals", 3, 1},
      {"", 0, 0},
      {"Form Feeds", 2, 3},
      {"Boolean Checkmarks", 3, 1},
      {"Trim Grid Dimensions", 3, 1},
      {"Exception On Empty Grid", 3, 1},
      {"Ask to print selected rows", 2, 3},
  }};

private:
  // Character (text-style) output rather than drawn output.
  bool CharacterOutput() const;
};

// The styles of the report being set up; empty while no setup window is open.
extern TRptStyles* RptStyles;
