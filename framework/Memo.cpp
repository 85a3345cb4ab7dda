// Memos: the lines and the scrolling of a multi-line text box, all worked out on its text.
#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "framework/Layout.h"
#include "framework/PropertyTable.h"
#include "framework/StdCtrls.h"

namespace {

struct TLine {
  int Start;
  int Length;
};

// Every line the text box shows, the empty one after a final line break included. Lines end
// at CR LF or at a lone LF.
std::vector<TLine> SplitLines(const std::string& Text) {
  std::vector<TLine> lines;
  int start = 0;
  const int n = static_cast<int>(Text.size());
  for (int i = 0; i < n; ++i) {
    if (Text[i] != '\n') continue;
    int end = i > start && Text[i - 1] == '\r' ? i - 1 : i;
    lines.push_back({start, end - start});
    start = i + 1;
  }
  lines.push_back({start, n - start});
  return lines;
}

bool EndsWithBreak(const std::string& Text) { return !Text.empty() && Text.back() == '\n'; }

}  // namespace

int TMemoStrings::Count() const {
  const std::string& text = FOwner.Text();
  if (text.empty()) return 0;
  int shown = static_cast<int>(SplitLines(text).size());
  return EndsWithBreak(text) ? shown - 1 : shown;
}

std::string TMemoStrings::Strings(int Index) const {
  CheckIndex(Index);
  TLine line = SplitLines(FOwner.Text())[Index];
  return FOwner.Text().substr(line.Start, line.Length);
}

void TMemoStrings::SetStrings(int Index, const std::string& S) {
  CheckIndex(Index);
  TLine line = SplitLines(FOwner.Text())[Index];
  FOwner.ReplaceText(line.Start, line.Length, S);
}

void TMemoStrings::Insert(int Index, const std::string& S) {
  const int count = Count();
  if (Index < 0 || Index > count) throw EListError("List index out of bounds (" + std::to_string(Index) + ")");
  const std::string& text = FOwner.Text();
  if (Index < count) FOwner.ReplaceText(FOwner.LineStart(Index), 0, S + "\r\n");
  else if (text.empty() || EndsWithBreak(text)) FOwner.ReplaceText(static_cast<int>(text.size()), 0, S + "\r\n");
  else FOwner.ReplaceText(static_cast<int>(text.size()), 0, "\r\n" + S);
}

void TMemoStrings::Delete(int Index) {
  CheckIndex(Index);
  int start = FOwner.LineStart(Index);
  FOwner.ReplaceText(start, FOwner.LineStart(Index + 1) - start, "");
}

void TMemoStrings::Clear() { FOwner.SetText(""); }

TCustomMemo::TCustomMemo(TComponent* AOwner) : TCustomEdit(AOwner) {
  SetBounds(0, 0, 185, 89);
}

void TCustomMemo::SetWordWrap(bool Value) {
  if (FWordWrap == Value) return;
  FWordWrap = Value;
  // The system's multi-line edit takes its wrapping and scroll bars only when it is made.
  RecreateWnd();
}

void TCustomMemo::SetScrollBars(TScrollStyle Value) {
  if (FScrollBars == Value) return;
  FScrollBars = Value;
  RecreateWnd();
}

void TCustomMemo::SetAlignment(TAlignment Value) {
  if (FAlignment == Value) return;
  FAlignment = Value;
  // Like its wrapping, the system's edit takes its alignment only when it is made.
  RecreateWnd();
}

void TCustomMemo::ReplaceText(int Start, int Count, const std::string& With) {
  std::string text = Text();
  text.replace(Start, Count, With);
  SetText(text);
}

int TCustomMemo::LineStart(int Index) const {
  std::vector<TLine> lines = SplitLines(Text());
  if (Index < static_cast<int>(lines.size())) return lines[Index].Start;
  return static_cast<int>(Text().size());
}

TPoint TCustomMemo::CaretPos() const {
  std::vector<TLine> lines = SplitLines(Text());
  int y = 0;
  while (y + 1 < static_cast<int>(lines.size()) && lines[y + 1].Start <= SelStart()) ++y;
  return {SelStart() - lines[y].Start, y};
}

void TCustomMemo::SetCaretPos(TPoint Value) {
  std::vector<TLine> lines = SplitLines(Text());
  TLine line = lines[std::clamp(Value.Y, 0, static_cast<int>(lines.size()) - 1)];
  SetSelStart(line.Start + std::clamp(Value.X, 0, line.Length));
}

int TCustomMemo::VisibleLineCount() const {
  if (FVisibleLines > 0) return FVisibleLines;
  // Without a window: the system font's line is about its character height and two pixels.
  return std::max(1, (ClientHeight() - 4) / (std::abs(Font().Height()) + 2));
}

void TCustomMemo::SetTopLine(int Value) {
  Value = std::clamp(Value, 0, static_cast<int>(SplitLines(Text()).size()) - 1);
  if (FTopLine == Value) return;
  FTopLine = Value;
  PeerNotify(TPeerChange::Layout);
}

void TCustomMemo::ScrollLines(int Count) { SetTopLine(FTopLine + Count); }

void TCustomMemo::ScrollCaret() {
  int line = CaretPos().Y;
  if (line < FTopLine) SetTopLine(line);
  else if (line >= FTopLine + VisibleLineCount()) SetTopLine(line - VisibleLineCount() + 1);
}

void TCustomMemo::PeerScrolled(int TopLine, int VisibleLines) {
  FTopLine = TopLine;
  FVisibleLines = VisibleLines;
}

const TPropertyTable& TCustomMemo::PropertyTable() const {
  static const TPropertyTable Table(&TCustomEdit::PropertyTable(), {
      {"WordWrap", BooleanProperty(&TCustomMemo::SetWordWrap)},
      {"Alignment", Setter<TCustomMemo>([](TCustomMemo& M, const TLayoutValue& V) { M.SetAlignment(AlignmentValue(V)); })},
      {"ScrollBars", Setter<TCustomMemo>([](TCustomMemo& M, const TLayoutValue& V) {
         M.SetScrollBars(V.AsEnum<TScrollStyle>({{"ssNone", TScrollStyle::ssNone},
                                                 {"ssHorizontal", TScrollStyle::ssHorizontal},
                                                 {"ssVertical", TScrollStyle::ssVertical},
                                                 {"ssBoth", TScrollStyle::ssBoth}}));
       })},
      {"Lines", Setter<TCustomMemo>([](TCustomMemo& M, const TLayoutValue& V) {
         M.Lines().Clear();
         for (auto& line : StringListValue(V)) M.Lines().Add(line);
       })},
  });
  return Table;
}
