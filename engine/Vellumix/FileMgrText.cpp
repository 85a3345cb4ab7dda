#include "engine/Vellumix/FileMgrText.h"

#include <algorithm>

#include "framework/rtl/SysUtils.h"

namespace {

// Headers and memo names match without regard to letter case; the length decides most lines
// before any folding.
bool SameHeader(std::string_view Line, const std::string& Header) {
  return Line.size() == Header.size() && AnsiSameText(std::string(Line), Header);
}

std::string_view Trimmed(std::string_view S) {
  size_t B = 0, E = S.size();
  while (B < E && static_cast<unsigned char>(S[B]) <= ' ') ++B;
  while (E > B && static_cast<unsigned char>(S[E - 1]) <= ' ') --E;
  return S.substr(B, E - B);
}

bool IsHeader(std::string_view Line) {
  std::string_view T = Trimmed(Line);
  return !T.empty() && T[0] == '[';
}

// "Memo,Name=END", letter case ignored and every CR left out, as the reader of a block compares
// each line with the END line it waits for.
bool IsMemoEnd(std::string_view Line, std::string& Name) {
  std::string S;
  S.reserve(Line.size());
  for (char C : Line)
    if (C != '\r') S += C;
  if (S.size() < 9 || !SameText(S.substr(0, 5), "Memo,") || !SameText(S.substr(S.size() - 4), "=END"))
    return false;
  Name = S.substr(5, S.size() - 9);
  return true;
}

// Only a line that starts with "Memo," (CRs aside) can start or end a block: the few that do
// are looked at closely.
bool MayBeMemoMark(std::string_view Line) {
  size_t P = Line.find_first_not_of('\r');
  if (P == std::string_view::npos || Line.size() - P < 9) return false;
  static constexpr char Memo[] = "MEMO,";
  for (int I = 0; I < 5; ++I, ++P) {
    while (P < Line.size() && Line[P] == '\r') ++P;
    if (P >= Line.size() || (Line[P] & ~0x20) != (Memo[I] & ~0x20)) return false;
  }
  return true;
}

// Marks an escaped line and opens each escaped character.
constexpr char EscapeMark = '%';

std::string EscapeText(const std::string& Text) {
  static constexpr char Hex[] = "0123456789ABCDEF";
  std::string Out;
  Out.reserve(Text.size() + 16);
  for (char C : Text) {
    if (C == EscapeMark || C == '\r' || C == '\n') {
      Out += EscapeMark;
      Out += Hex[static_cast<unsigned char>(C) >> 4];
      Out += Hex[C & 15];
    } else {
      Out += C;
    }
  }
  return Out;
}

int HexDigit(char C) {
  if (C >= '0' && C <= '9') return C - '0';
  if (C >= 'A' && C <= 'F') return C - 'A' + 10;
  if (C >= 'a' && C <= 'f') return C - 'a' + 10;
  return -1;
}

// Any "%" followed by two hexadecimal digits is a byte; anything else stays as it stands.
std::string UnescapeText(const std::string& Text) {
  std::string Out;
  Out.reserve(Text.size());
  for (size_t I = 0; I < Text.size(); ++I) {
    int High, Low;
    if (Text[I] == EscapeMark && I + 2 < Text.size() && (High = HexDigit(Text[I + 1])) >= 0 &&
        (Low = HexDigit(Text[I + 2])) >= 0) {
      Out += static_cast<char>(High * 16 + Low);
      I += 2;
    } else {
      Out += Text[I];
    }
  }
  return Out;
}

}  // namespace

std::string MakeSectionHeader(const std::string& User, const std::string& ReportId) {
  if (ReportId.empty()) return "";
  return User.empty() ? "[" + ReportId + "]" : "[" + User + ":" + ReportId + "]";
}

void SplitSettingsLine(std::string_view Line, std::string& Key, std::string& Value) {
  const size_t Eq = Line.find('=');
  Key = std::string(Line.substr(0, Eq));
  Value = Eq == std::string_view::npos ? "" : std::string(Line.substr(Eq + 1));
}

bool IsMemoStart(const std::string& Key, const std::string& Value, std::string& Name) {
  // A memo's own settings ("Memo,RptTi,MemoFontName") have a second comma: whatever value
  // they hold, "Start" included, is theirs.
  if (!IsMemoTextKey(Key) || !SameText(Value, "Start")) return false;
  Name = Key.substr(5);
  return true;
}

std::string SettingsLine(const std::string& Key, const std::string& Value) {
  if (Value.find('\n') == std::string::npos) return Key + "=" + Value + "\r\n";
  return Key + EscapeMark + "=" + EscapeText(Value) + "\r\n";
}

std::string MemoBlock(const std::string& Name, const std::string& Text) {
  const std::string Plain = "Memo," + Name + "=START\r\n" + Text + "\r\nMemo," + Name + "=END\r\n";
  TvlxSettingsText Block(Plain);
  Block.ReadLine();
  if (Block.ReadMemoBlock() == Text && Block.Eof()) return Plain;
  return "Memo," + Name + EscapeMark + "=" + EscapeText(Text) + "\r\n";
}

bool UnescapeSettingsLine(std::string& Key, std::string& Value) {
  if (Key.empty() || Key.back() != EscapeMark) return false;
  Key.pop_back();
  Value = UnescapeText(Value);
  return true;
}

bool IsMemoTextKey(const std::string& Key) {
  return Key.size() > 5 && SameText(Key.substr(0, 5), "Memo,") && Key.find(',', 5) == std::string::npos;
}

TvlxSettingsText::TvlxSettingsText(std::string Content) : FContent(std::move(Content)) {
  // An editor that saved the file as UTF-8 put a byte-order mark before the first header. The
  // file holds code-page text, which the mark would misdeclare to the next editor, and a
  // reader that does not know the mark loses the section behind it: it is read past and never
  // written back.
  if (FContent.starts_with(Utf8Bom)) FContent.erase(0, Utf8Bom.size());
  size_t From = 0;
  while (From < FContent.size()) {
    size_t Lf = FContent.find('\n', From);
    const size_t Next = Lf == std::string::npos ? FContent.size() : Lf + 1;
    size_t End = Lf == std::string::npos ? FContent.size() : Lf;
    if (Lf != std::string::npos && End > From && FContent[End - 1] == '\r') --End;
    FLines.push_back({From, End - From, Next});
    From = Next;
  }
  IndexMemoBlocks();
}

std::string_view TvlxSettingsText::Line(int Index) const {
  const TLine& L = FLines.at(Index);
  return std::string_view(FContent).substr(L.Begin, L.Length);
}

void TvlxSettingsText::IndexMemoBlocks() {
  FIsMemoStart.assign(FLines.size(), false);
  std::string Key, Value, Name;
  for (int I = 0; I < LineCount(); ++I) {
    const std::string_view L = Line(I);
    if (!MayBeMemoMark(L)) continue;
    SplitSettingsLine(L, Key, Value);
    if (IsMemoStart(Key, Value, Name)) {
      FIsMemoStart[I] = true;
      FMemoMarks[AnsiUpperCase(Name)].push_back({I, true});
    } else if (IsMemoEnd(L, Name)) {
      FMemoMarks[AnsiUpperCase(Name)].push_back({I, false});
    }
  }
}

std::string TvlxSettingsText::StartName(int Index) const {
  std::string Key, Value;
  SplitSettingsLine(Line(Index), Key, Value);
  return Key.substr(Key.find(',') + 1);
}

int TvlxSettingsText::BlockEnd(int Start, int& EndLine) const {
  EndLine = -1;
  const auto Found = FMemoMarks.find(AnsiUpperCase(StartName(Start)));
  if (Found != FMemoMarks.end()) {
    const auto& Marks = Found->second;
    auto Next = std::upper_bound(Marks.begin(), Marks.end(), Start,
                                 [](int L, const TMemoMark& M) { return L < M.Line; });
    if (Next != Marks.end() && !Next->Start) {
      EndLine = Next->Line;
      return EndLine + 1;
    }
  }
  int I = Start + 1;
  while (I < LineCount() && !IsHeader(Line(I))) ++I;
  return I;
}

void TvlxSettingsText::FindSection(const std::string& Header1, bool& Found1, bool& Found2,
                                   const std::string& Header2) {
  Found1 = Found2 = false;
  int After1 = -1, After2 = -1;
  FPos = 0;
  while (!Eof()) {
    if (FIsMemoStart[FPos]) {
      int EndLine;
      FPos = BlockEnd(FPos, EndLine);
      continue;
    }
    const std::string_view L = ReadLine();
    if (!Found1 && !Header1.empty() && SameHeader(L, Header1)) {
      Found1 = true;
      After1 = FPos;
    }
    if (!Found2 && !Header2.empty() && SameHeader(L, Header2)) {
      Found2 = true;
      After2 = FPos;
    }
    if (Found1 && (Header2.empty() || Found2)) break;
  }
  if (Found2) FPos = After2;
  else if (Found1 && Header2.empty()) FPos = After1;
}

std::string TvlxSettingsText::ReadMemoBlock() {
  const int Start = FPos - 1;
  int EndLine;
  const int Next = BlockEnd(Start, EndLine);
  FPos = Next;
  const int Last = EndLine >= 0 ? EndLine : Next;  // first line that is not text
  if (Last == Start + 1) return "";
  const size_t From = FLines[Start + 1].Begin;
  const size_t To = Last < LineCount() ? FLines[Last].Begin : FContent.size();
  std::string Text = FContent.substr(From, To - From);
  // The line break before the END line belongs to the block, not to the text.
  if (EndLine >= 0 && !Text.empty() && Text.back() == '\n') {
    Text.pop_back();
    if (!Text.empty() && Text.back() == '\r') Text.pop_back();
  }
  // A block that an editor saved with bare LF breaks (its START line ends in one, which no
  // block this program writes does) holds the memo's lines as they were, joined by CR LF.
  const TLine& StartLine = FLines[Start];
  if (StartLine.Next == StartLine.Begin + StartLine.Length + 1) {
    std::string Lines;
    Lines.reserve(Text.size() + Text.size() / 16);
    for (size_t I = 0; I < Text.size(); ++I) {
      if (Text[I] == '\n' && (I == 0 || Text[I - 1] != '\r')) Lines += '\r';
      Lines += Text[I];
    }
    Text = std::move(Lines);
  }
  return Text;
}

void TvlxSettingsText::CopyOtherSections(std::string& Out, bool Rewind, bool Copying,
                                         const std::string& StopAt, const std::string& SkipHeader) {
  if (Rewind) FPos = 0;
  // Other reports' memo texts may hold lone CRs or LFs: they pass unchanged.
  auto Copy = [&](int I) {
    const TLine& L = FLines[I];
    Out.append(FContent, L.Begin, L.Next - L.Begin);
    if (L.Begin + L.Length == L.Next) Out += "\r\n";
  };
  while (!Eof()) {
    if (FIsMemoStart[FPos]) {
      int EndLine;
      const int Next = BlockEnd(FPos, EndLine);
      if (Copying) {
        for (int I = FPos; I < Next; ++I) Copy(I);
        // A block copied without its END line gets one, or once the lines around it change it
        // could reach an END line further on and swallow the sections between.
        if (EndLine < 0) Out += "Memo," + StartName(FPos) + "=END\r\n";
      }
      FPos = Next;
      continue;
    }
    const std::string_view T = Trimmed(Line(FPos));
    if (!StopAt.empty() && SameHeader(T, StopAt)) {
      ++FPos;
      return;
    }
    if (!Copying && !T.empty() && T[0] == '[') Copying = true;
    if (Copying) {
      if (!SkipHeader.empty() && SameHeader(T, SkipHeader)) Copying = false;
      else Copy(FPos);
    }
    ++FPos;
  }
}

std::string ComposeSettingsFile(TvlxSettingsText& Text, bool Rewrite, const std::string& Section,
                                const std::string& StopAt, const std::string& SkipHeader,
                                bool CopyOldLines) {
  if (!Rewrite) return Text.Content() + "\r\n" + Section;
  std::string Out;
  Out.reserve(Text.Content().size() + Section.size());
  Text.CopyOtherSections(Out, true, false, StopAt, SkipHeader);
  Out += Section;
  // A second section of the same name further on is an old copy: it goes, and whatever follows
  // it stays.
  Text.CopyOtherSections(Out, false, CopyOldLines, "", SkipHeader);
  return Out;
}
