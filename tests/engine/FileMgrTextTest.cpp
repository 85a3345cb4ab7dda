// The settings file as text: where sections and memo blocks begin and end, and what a rewrite
// keeps of the other sections.
#include <gtest/gtest.h>

#include "engine/Vellumix/FileMgrText.h"
#include "tests/support/SettingsSection.h"

using Items = std::vector<std::string>;

TEST(SettingsText, MemoBlocksHoldTheirLinesWhateverTheyLookLike) {
  TvlxSettingsText Text(
      "[A]\r\n"
      "PrintWhat=6\r\n"
      "Memo,RptTi=START\r\n"
      "[B]\r\n"              // a memo line, not the header of B
      "Key=Value\r\n"
      "Memo,RptTi=END\r\n"
      "memo,pgnum=start\r\n"
      "\r^DL^PC^TR\r\n"
      "MEMO,PGNUM=END\r\n"
      "Memo,RptHdr=START\r\n"
      "lone\nfeed\r\n"
      "Memo,RptHdr=END\r\n"
      "\r\n"
      "[B]\r\n"
      "ReportDesc=a=b\r\n");
  EXPECT_EQ(ReadSection(Text, "[a]"),
            (Items{"PrintWhat=6", "memo RptTi:[B]\r\nKey=Value", "memo pgnum:\r^DL^PC^TR", "memo RptHdr:lone\nfeed"}));
  EXPECT_EQ(ReadSection(Text, "[B]"), (Items{"ReportDesc=a=b"}));
  EXPECT_EQ(ReadSection(Text, "[B] "), (Items{"(missing)"})) << "blanks count in a header";
}

TEST(SettingsText, AMissingEndLineStopsTheBlockAtTheNextSection) {
  const std::string Content =
      "[A]\r\n"
      "Memo,RptTi=START\r\n"
      "no end\r\n"
      "[B]\r\n"
      "Memo,RptTi=START\r\n"
      "b text\r\n"
      "Memo,RptTi=END\r\n"
      "[C]\r\n"
      "Memo,PgHdr=START\r\n"
      "to the end\r\n";
  TvlxSettingsText Text(Content);
  EXPECT_EQ(ReadSection(Text, "[A]"), (Items{"memo RptTi:no end\r\n"}));
  EXPECT_EQ(ReadSection(Text, "[B]"), (Items{"memo RptTi:b text"}));
  EXPECT_EQ(ReadSection(Text, "[C]"), (Items{"memo PgHdr:to the end\r\n"}));

  // Rewriting A keeps B and C, closing C's block, and rewriting again changes nothing more.
  const std::string Once = RewriteSection(Content, "[A]", "[A]\r\nPrintWhat=1\r\n\r\n");
  EXPECT_EQ(Once,
            "[A]\r\nPrintWhat=1\r\n\r\n"
            "[B]\r\nMemo,RptTi=START\r\nb text\r\nMemo,RptTi=END\r\n"
            "[C]\r\nMemo,PgHdr=START\r\nto the end\r\nMemo,PgHdr=END\r\n");
  EXPECT_EQ(RewriteSection(Once, "[A]", "[A]\r\nPrintWhat=1\r\n\r\n"), Once);

  // Were G's open block copied as it stands, it would reach the stray END line after K once H's
  // lines are gone, and H and K would vanish into G's memo.
  const std::string Stray =
      "[G]\r\nMemo,X=START\r\n[H]\r\nMemo,X=START\r\nMemo,X=END\r\n[K]\r\nMemo,X=END\r\n";
  TvlxSettingsText Saved(RewriteSection(Stray, "[H]", "[H]\r\nA=1\r\n\r\n"));
  EXPECT_EQ(ReadSection(Saved, "[H]"), (Items{"A=1"}));
  EXPECT_EQ(ReadSection(Saved, "[K]"), (Items{"Memo,X=END"}));
}

TEST(SettingsText, RewritingASectionSkipsItsMemoBlocksAsBlocks) {
  const std::string Others = "[First]\r\nMemo,RptTi=START\r\n[Mine]\r\nMemo,RptTi=END\r\n\r\n";
  const std::string Mine =
      "[Mine]\r\n"
      "PrintWhat=2\r\n"
      "Memo,RptTi=START\r\n"
      "[Draft]\r\n"
      "second line\r\n"
      "Memo,RptTi=END\r\n"
      "\r\n";
  const std::string After = "[Last]\r\nMemo,PgNum=START\r\n\r^DL^PC^TR\r\nMemo,PgNum=END\r\n\r\n";
  const std::string New = "[Mine]\r\nPrintWhat=3\r\n\r\n";

  std::string Content = "junk before any header\r\n" + Others + Mine + After;
  std::string Saved = RewriteSection(Content, "[mine]", New);
  EXPECT_EQ(Saved, Others + New + After) << "lines before the first header go, the rest stays byte for byte";
  // Saving again neither grows the file nor moves anything.
  EXPECT_EQ(RewriteSection(Saved, "[Mine]", New), Saved);

  // A second, older copy of the section goes; what follows it stays.
  Saved = RewriteSection(Others + Mine + After + Mine + "[Tail]\r\nA=1\r\n", "[Mine]", New);
  EXPECT_EQ(Saved, Others + New + After + "[Tail]\r\nA=1\r\n");
}

TEST(SettingsText, GivingASectionNewNamesMovesItsOldLinesUnderTheNewHeader) {
  TvlxSettingsText Text("[Old]\r\nA=1\r\nMemo,RptTi=START\r\n[x]\r\nMemo,RptTi=END\r\n[Other]\r\nB=2\r\n");
  bool NewFound, OldFound;
  Text.FindSection("[New]", NewFound, OldFound, "[Old]");
  ASSERT_TRUE(OldFound);
  EXPECT_FALSE(NewFound);
  EXPECT_EQ(ComposeSettingsFile(Text, true, "[New]\r\n", "[Old]", "[Old]", true),
            "[New]\r\nA=1\r\nMemo,RptTi=START\r\n[x]\r\nMemo,RptTi=END\r\n[Other]\r\nB=2\r\n");
}

TEST(SettingsText, AHeaderNeedsAnId) {
  EXPECT_EQ(MakeSectionHeader("Clerk", "Sales (123.456)"), "[Clerk:Sales (123.456)]");
  EXPECT_EQ(MakeSectionHeader("", "(123.456)"), "[(123.456)]");
  EXPECT_EQ(MakeSectionHeader("Clerk", ""), "");
}
