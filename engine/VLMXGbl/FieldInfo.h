// The facts about the cell being printed that the component's cell events see, and the
// conversion of the cell's value into the number that the column totals add up. One exists per
// run; the cell-text routine fills it for every cell.
#pragma once
#include <array>
#include <string>

#include "framework/Classes.h"

class TDataSet;
class TField;
class TvlxVellumix;

// The field types whose value converts to a number.
bool IsPrintableFieldType(int DataType);
// Text field types: their values are converted from the cell's text.
bool IsStringFieldType(int DataType);
// The characters that CnvtFldStrToNum keeps of a text: digits, "-" and the decimal separator.
bool IsKeptInNumber(char C);

class TvlxFieldInfo : public TObject {
public:
  TvlxFieldInfo() = default;
  TvlxFieldInfo(const TvlxFieldInfo&) = delete;
  TvlxFieldInfo& operator=(const TvlxFieldInfo&) = delete;

  void ClearValues() { Values.fill(0.0L); }
  // Everything back to the state of a cell not yet read. Inline: every cell read starts here.
  void Clear() {
    Band = 0;
    LineNo = TotalLines = ColNdx = FieldNdx = -1;
    DataSet = nullptr;
    PassMode = 0;
    HasTotList = TotalsActive = FieldNull = Repeated = NumValid = InCnvtError = false;
    ClearValues();
    SuppressedText.clear();
  }

  // Values[0] := the field's value, when CheckType and the field's type converts to a number.
  // A value that is no number clears NumValid and tells Component's OnCnvtFldError.
  void CnvtFldToNum(TvlxVellumix* Component, TField* Field, bool CheckType);
  // Values[0] := the number in Text, keeping only digits, "-" and the decimal separator; -2
  // with NumValid clear for a null field. True when Text held nothing else and was read as it
  // stands, so that a caller asking whether the text is a number need not read it again.
  bool CnvtFldStrToNum(TvlxVellumix* Component, const std::string& Text);

  int Band = 0;         // 0 title, 1 data, 2 totals
  int LineNo = -1;      // line within the band, from 1
  int TotalLines = -1;
  int ColNdx = -1;      // the column's index in the object
  int FieldNdx = -1;
  TDataSet* DataSet = nullptr;
  // 0 column scan, 1 printing, 2 printing a page whose values were already added up.
  unsigned char PassMode = 0;
  bool HasTotList = false;
  bool TotalsActive = false;
  bool FieldNull = false;    // a null field or a blank cell: no value for the totals
  bool Repeated = false;     // a repeated group value shown with its page-top mark
  bool NumValid = false;
  bool InCnvtError = false;  // OnCnvtFldError is running
  std::string SuppressedText;  // a repeated group value that was replaced
  std::array<long double, 5> Values{};

private:
  // Runs OnCnvtFldError with the guard set; the guard is cleared again on every path.
  void ReportCnvtError(TvlxVellumix* Component, const std::string& FldStr);
};
