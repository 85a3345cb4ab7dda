// The delimited export of fuzzed cells, written to a real file: a string grid (fields bare and
// whole under quoted titles, "|" and "~" breaking a title's lines) or a dataset of a string, a
// memo and a fixed-character field (quoted, the string and the memo cut to their maximum
// lengths). The file must hold exactly one line per title and data row: the trimmed cell texts,
// cut as the export cuts them, stripped to the printable characters when asked, joined by the
// delimiter.
#include <fuzzer/FuzzedDataProvider.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "bench/BenchRun.h"
#include "framework/headless/Headless.h"
#include "framework/rtl/SysUtils.h"
#include "fuzz/FuzzCheck.h"

namespace {

using TTable = std::vector<std::vector<std::string>>;

// A separator setting and the text it stands for: a code from 0 to 255, or one to three
// characters that cannot be read as a number.
void Separator(FuzzedDataProvider& In, std::string& Setting, std::string& Expected) {
  if (In.ConsumeBool()) {
    const int Code = In.ConsumeIntegralInRange(0, 255);
    Setting = std::to_string(Code);
    Expected.assign(1, static_cast<char>(Code));
    return;
  }
  Setting = In.ConsumeBytesAsString(In.ConsumeIntegralInRange(1, 3));
  if (Setting.empty() || std::string(" +-$xX0123456789").find(Setting[0]) != std::string::npos)
    Setting.insert(Setting.begin(), ';');
  Expected = Setting;
}

bool IsLetter(char C) { return (C >= 'A' && C <= 'Z') || (C >= 'a' && C <= 'z'); }

// A memo longer than Max keeps its text up to its last non-letter within Max, or Max letters.
std::string CutMemo(const std::string& S, int Max) {
  if (Max < 1 || static_cast<int>(S.size()) <= Max) return S;
  for (int K = Max; K >= 1; --K)
    if (!IsLetter(S[K - 1])) return S.substr(0, K);
  return S.substr(0, Max);
}

std::string Printable(const std::string& S) {
  std::string R;
  for (const char C : S)
    if (C >= 32 && C <= 126) R += C;
  return R;
}

std::string ReadFile(const std::string& Name) {
  std::ifstream In(Name, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(In), {});
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
  static const std::string FileName = "/tmp/versora-export-fuzz-" + std::to_string(getpid()) + ".asc";
  FuzzedDataProvider In(Data, Size);
  Headless::Reset();

  // The printed object outlives the run that prints it.
  TForm Form(nullptr);
  BenchRun::TReport Report;
  TvlxReportSettings& Settings = Report.Settings;
  TvlxPrintSettings& Run = Report.Run;

  std::string Delim, Quote;
  Separator(In, Settings.ExportFieldDelim, Delim);
  Separator(In, Settings.ExportQuote, Quote);
  Settings.ExportMaxStrLng = In.ConsumeIntegralInRange(-1, 40);
  Settings.ExportMaxMemoLng = In.ConsumeIntegralInRange(-1, 40);
  Settings.ExportOnlyPrintableChrs = In.ConsumeBool();
  const bool Titles = In.ConsumeBool();
  Settings.SetItemOpt(ioColumnTitles, Titles);
  Settings.SetItemOpt(ioTrimGridDim, false);
  Settings.HideColumns = "~Line#";
  Run.RecordCounterStart = 1;

  // Row 0 holds the titles.
  const bool Grid = In.ConsumeBool();
  const int Cols = Grid ? In.ConsumeIntegralInRange(1, 4) : 3;
  const int Rows = In.ConsumeIntegralInRange(1, 5);
  TTable Cells(Rows + 1, std::vector<std::string>(Cols));
  Cells[0] = {"Name", "Notes", "Code"};
  Cells[0].resize(Cols);
  for (int R = Grid ? 0 : 1; R <= Rows; ++R)
    for (int C = 0; C < Cols; ++C) Cells[R][C] = In.ConsumeRandomLengthString(60);

  TComponent* Object;
  if (Grid) {
    auto* G = new TStringGrid(&Form);
    G->SetName("grid");
    G->SetFixedCols(0);
    G->SetColCount(Cols);
    G->SetRowCount(Rows + 1);
    for (int R = 0; R <= Rows; ++R)
      for (int C = 0; C < Cols; ++C) G->SetCells(C, R, Cells[R][C]);
    Object = G;
  } else {
    auto* DS = new TDataSet(&Form);
    DS->SetName("ds");
    DS->FieldDefs().Add("Name", ftString, 200);
    DS->FieldDefs().Add("Notes", ftMemo);
    DS->FieldDefs().Add("Code", ftFixedChar, 200);
    DS->Open();
    for (int R = 1; R <= Rows; ++R) DS->AppendRecord({Cells[R][0], Cells[R][1], Cells[R][2]});
    DS->First();
    Object = DS;
  }

  Report.Start(Object);
  Report.Info.CountTotalLines();
  Check(Run.TextFile.Open(FileName, false) == 0);
  Run.ExportAscii();
  Run.TextFile.Close();

  std::string Expected;
  for (int R = Titles ? 0 : 1; R <= Rows; ++R) {
    std::string Line;
    for (int C = 0; C < Cols; ++C) {
      std::string S = Trim(Cells[R][C]);
      const bool Quoted = R == 0 || !Grid;
      // A title breaks into lines at "|" and "~".
      if (R == 0) std::replace_if(S.begin(), S.end(), [](char C) { return C == '|' || C == '~'; }, '\r');
      if (R > 0 && !Grid && C == 0 && static_cast<int>(S.size()) > Settings.ExportMaxStrLng)
        S.resize(std::max(Settings.ExportMaxStrLng, 0));
      if (R > 0 && !Grid && C == 1) S = CutMemo(S, Settings.ExportMaxMemoLng);
      if (Settings.ExportOnlyPrintableChrs) S = Printable(S);
      Line += (Quoted ? Quote : "") + S + (Quoted ? Quote : "") + (C + 1 < Cols ? Delim : "");
    }
    Expected += Line + "\r\n";
  }
  CheckEqual(ReadFile(FileName), Expected);
  Check(Run.RunState == rsCompletedNormally);
  return 0;
}
