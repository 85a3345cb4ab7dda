#include "engine/Vellumix/ReportSettings.h"

#include <vector>

#include "engine/VLMXGbl/PrintSettings.h"
#include "engine/VLMXGbl0.h"
#include "framework/rtl/SysUtils.h"

TvlxReportSettings* RptSettings = nullptr;

namespace {

const char* const MemoNames[RptMemoCount] = {"RptTi", "RptHdr", "PgTi",   "PgHdr",
                                             "PgFtr", "PgNum",  "RptFtr", "Copyright"};

// Style region of each memo, by memo index: the four heading memos take the regions above the
// grid, the footers those below it, where the copyright line comes before the report footer.
constexpr uint8_t MemoRegions[RptMemoCount] = {1, 2, 3, 4, 14, 15, 17, 16};

std::vector<std::string> BlankSeparatedWords(const std::string& Text) {
  std::vector<std::string> Words;
  size_t I = 0;
  while (I < Text.size()) {
    while (I < Text.size() && Text[I] == ' ') ++I;
    const size_t From = I;
    while (I < Text.size() && Text[I] != ' ') ++I;
    if (I > From) Words.push_back(Text.substr(From, I - From));
  }
  return Words;
}

TRect RectToDevice(const TvlxPrintSettings& PS, const TRect& Thous) {
  return {PS.ToUnits(Thous.Left, false, false, 0), PS.ToUnits(Thous.Top, false, false, 1),
          PS.ToUnits(Thous.Right, false, false, 0), PS.ToUnits(Thous.Bottom, false, false, 1)};
}

}  // namespace

std::string RptMemoName(int Index) {
  return Index >= 0 && Index < RptMemoCount ? MemoNames[Index] : "";
}

RptMemoIndex RptMemoIndexOfName(const std::string& Name) {
  for (int I = 0; I < RptMemoCount; ++I)
    if (SameText(Name, MemoNames[I])) return static_cast<RptMemoIndex>(I);
  return RptTi;
}

TvlxReportSettings::TvlxReportSettings() {
  for (auto& Memo : RptMemos) Memo = std::make_unique<TvlxRptMemo>();
}

TvlxReportSettings::~TvlxReportSettings() = default;

bool TvlxReportSettings::IsTextStyleOutput() const {
  return OutputDest == odAsciiExport || PrintWhat == pwSnapshot || OutputQuality < 2;
}

bool TvlxReportSettings::AutoSizeOn() const { return AutoSizze < 2; }

int TvlxReportSettings::ClampFontSize(int Size) const {
  if (Size < SmallestFontSize && ShrinkToPage) return SmallestFontSize;
  if (Size > LargestFontSize && ExpandToPage) return LargestFontSize;
  return Size;
}

void TvlxReportSettings::ConvertMarginsToDevice() {
  if (!PrintSettings) return;
  const TvlxPrintSettings& PS = *PrintSettings;
  PageMarginDev = RectToDevice(PS, PageMarginThous);
  CellMarginDev = RectToDevice(PS, CellMarginThous);
  MaxMemoColWidDev = PS.ToUnits(MaxMemoColWidThous, false, false, 0);
  MaxStringColWidDev = PS.ToUnits(MaxStringColWidThous, false, false, 0);
  InterPanelGapDev = PS.ToUnits(InterPanelGapThous, false, false, 0);
  for (auto& Memo : RptMemos)
    if (Memo) Memo->MarginDev = RectToDevice(PS, Memo->MarginThous);
}

TvlxRptMemo* TvlxReportSettings::RptMemo(unsigned Index) const {
  return Index < RptMemos.size() ? RptMemos[Index].get() : nullptr;
}

bool TvlxReportSettings::MemoVisible(unsigned Index, bool CheckVisible) const {
  const TvlxRptMemo* Memo = RptMemo(Index);
  return Memo && !Memo->Text.empty() && (!CheckVisible || Memo->Visible);
}

bool TvlxReportSettings::ItemOpt(unsigned Bit) const {
  return Bit < 16 && (ItemOpts >> Bit & 1u) != 0;
}

void TvlxReportSettings::SetItemOpt(unsigned Bit, bool On) {
  if (Bit >= 16) return;
  const uint16_t Mask = static_cast<uint16_t>(1u << Bit);
  ItemOpts = On ? static_cast<uint16_t>(ItemOpts | Mask) : static_cast<uint16_t>(ItemOpts & ~Mask);
}

uint8_t TvlxReportSettings::CnvTRptMemoNdxToRegNdx(unsigned MemoIndex) {
  if (MemoIndex >= RptMemoCount)
    throw eVlxIntError("[CnvTRptMemoNdxToRegNdx] RptMemoNdx:" +
                       std::to_string(MemoIndex) + " is invalid");
  return MemoRegions[MemoIndex];
}

uint8_t TvlxReportSettings::CnvTRegNdxToRptMemoNdx(unsigned Region) {
  for (uint8_t I = 0; I < RptMemoCount; ++I)
    if (MemoRegions[I] == Region) return I;
  throw eVlxIntError("[CnvTRegNdxToRptMemoNdx] RegNdx:" +
                     std::to_string(Region) + " is invalid");
}

std::string TvlxReportSettings::PreviewSizeText(const std::string& Code) {
  const char Size = Code.empty() ? ' ' : Code[0];
  const char Scale = Code.size() < 2 ? ' ' : Code[1];
  std::string Text = Size == 'M' ? "Maximize Window" : "Current Window Size";
  Text += " with ";
  Text += Scale == 'P' ? "Proportional Scale" : Scale == 'S' ? "Same Scale" : "Print To Fit";
  return Text;
}

std::string TvlxReportSettings::PreviewSizeCodeFromText(const std::string& Text) {
  const std::vector<std::string> Words = BlankSeparatedWords(Text);
  std::string Code;
  Code += Words.empty() ? '?' : Words.front()[0];
  Code += Words.size() < 2 ? '?' : Words[Words.size() - 2][0];
  return Code;
}

std::string TvlxReportSettings::PairToText(TPoint Page) {
  std::string Text = IntToStr(Page.Y);
  if (Page.X > 0) {
    Text += '-';
    Text += IntToStr(Page.X);
  }
  return Text;
}
