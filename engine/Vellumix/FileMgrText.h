// The report-settings file as text: its lines, the sections that headers start, and the memo
// blocks whose lines are memo text, never headers or settings. The file manager reads and
// rewrites the file through this class, always holding the whole file in memory, so that a save
// builds the new file completely before it replaces the old one.
#pragma once
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

// "[User:ReportId]", or "[ReportId]" without a user; empty without an id.
std::string MakeSectionHeader(const std::string& User, const std::string& ReportId);

// Splits "Key=Value" at the first "="; Value is empty when there is none.
void SplitSettingsLine(std::string_view Line, std::string& Key, std::string& Value);
// "Memo,Name=START" in any letter case, Name holding no comma: Name is the memo's name as the
// line spells it.
bool IsMemoStart(const std::string& Key, const std::string& Value, std::string& Name);

// A section's key line, ending in CR LF: "Key=Value", or, when Value holds a line break, "Key%="
// followed by Value with "%", CR and LF written as "%25", "%0D" and "%0A", so that it stays one
// line and can never start a section or a key of its own.
std::string SettingsLine(const std::string& Key, const std::string& Value);
// A memo's block, each line ending in CR LF: the START line, the text, the END line. A text that
// would not read back from such a block (one of its lines is the block's END or START line) is
// written as the one escaped line "Memo," + Name + "%=" + the escaped text instead.
std::string MemoBlock(const std::string& Name, const std::string& Text);
// For an escaped line ("Key%=..."): drops the "%" from Key, decodes Value and answers true.
bool UnescapeSettingsLine(std::string& Key, std::string& Value);
// "Memo,Name": the key of an escaped memo text (a memo's settings have a second comma).
bool IsMemoTextKey(const std::string& Key);

// What an editor that saves UTF-8 puts before the first line.
inline constexpr std::string_view Utf8Bom = "\xEF\xBB\xBF";

class TvlxSettingsText {
public:
  // Content as read from the file; a leading byte-order mark is no part of it.
  explicit TvlxSettingsText(std::string Content = "");

  const std::string& Content() const { return FContent; }
  int LineCount() const { return static_cast<int>(FLines.size()); }
  // Without its line break (LF, or CR LF); a lone CR inside stays.
  std::string_view Line(int Index) const;

  // The reading position, as in a sequential file: the index of the next line.
  int Position() const { return FPos; }
  void Rewind() { FPos = 0; }
  bool Eof() const { return FPos >= LineCount(); }
  std::string_view ReadLine() { return Line(FPos++); }

  // Looks for the lines equal to Header1 and to Header2 (letter case ignored, blanks count),
  // passing over memo blocks. Ends positioned after Header2 when that was found, else after
  // Header1 when that was found, else at the end.
  void FindSection(const std::string& Header1, bool& Found1, bool& Found2, const std::string& Header2);

  // Reads the memo block whose START line was the line just read and returns the memo's text:
  // the lines up to its END line, joined by their own line breaks (bare LFs as CR LF in a block
  // whose START line ends in a bare LF). A block whose END line is missing (another START of the
  // same memo, or the end of the file, comes first) ends before the next section header, so the
  // sections after it stay sections.
  std::string ReadMemoBlock();

  // Appends the lines from the position (from the start with Rewind) to Out, byte for byte with
  // their own line breaks (CR LF added to a last line that has none). A line whose trimmed form equals StopAt ends the copy and is passed over. Copying
  // starts at any header (trimmed form starting with "["); a header equal to SkipHeader turns it
  // off until the next header. Memo blocks are copied or passed over whole; a copied block
  // that lacks its END line gets one.
  void CopyOtherSections(std::string& Out, bool Rewind, bool Copying, const std::string& StopAt,
                         const std::string& SkipHeader);

private:
  struct TLine {
    size_t Begin = 0, Length = 0, Next = 0;  // Next: where the line after it begins
  };
  struct TMemoMark {
    int Line;
    bool Start;
  };

  std::string FContent;
  std::vector<TLine> FLines;
  int FPos = 0;
  // The START and END lines of every memo, by upper-case memo name, in line order.
  std::unordered_map<std::string, std::vector<TMemoMark>> FMemoMarks;
  std::vector<bool> FIsMemoStart;

  void IndexMemoBlocks();
  // The index after the block that starts at line Start, and its END line or -1.
  int BlockEnd(int Start, int& EndLine) const;
  std::string StartName(int Index) const;
};

// The settings file after a save. Without Rewrite, Section (a header line and what follows it)
// comes after an empty line at the end of the file as it stands. With Rewrite it takes the place
// of the section that StopAt heads (SkipHeader's section too is left out); with CopyOldLines the
// old section's lines follow it. Every other section keeps its lines and its place.
std::string ComposeSettingsFile(TvlxSettingsText& Text, bool Rewrite, const std::string& Section,
                                const std::string& StopAt, const std::string& SkipHeader,
                                bool CopyOldLines);
