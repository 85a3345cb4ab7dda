// The string list as the controls' item lists use it: lines with their objects, the text
// forms a memo reads and writes, and index checks. Names, values, sorting, comma text and
// files are not used by the program and are not tested here.
#include <cstdint>

#include "framework/rtl/StringList.h"
#include "tests/framework/rtl/RtlTest.h"

using StringListTest = RtlTest;

namespace {
// Stand-ins for attached objects: only their addresses matter to the list.
TObject* Obj(int N) { return reinterpret_cast<TObject*>(static_cast<uintptr_t>(N) * 16); }

std::vector<std::string> Lines(const TStrings& L) {
  std::vector<std::string> R;
  for (int I = 0; I < L.Count(); ++I) R.push_back(L[I]);
  return R;
}
}  // namespace

TEST_F(StringListTest, LinesKeepTheirObjects) {
  TStringList L;
  L.Add("Alpha");
  L.AddObject("beta", Obj(2));
  L.InsertObject(0, "Zero", Obj(3));
  EXPECT_EQ(Lines(L), (std::vector<std::string>{"Zero", "Alpha", "beta"}));
  EXPECT_EQ(L.IndexOf("ALPHA"), 1);
  EXPECT_EQ(L.Objects(1), nullptr);
  L.SetStrings(2, "Beta2");
  EXPECT_EQ(L.Objects(2), Obj(2));
  L.Delete(0);
  EXPECT_EQ(L.Objects(1), Obj(2));

  TStringList Copy;
  Copy.Add("old");
  Copy.Assign(L);
  EXPECT_EQ(Lines(Copy), Lines(L));
  EXPECT_EQ(Copy.Objects(1), Obj(2));

  EXPECT_THROW_MSG(L.Strings(5), EListError, "List index out of bounds (5)");
  EXPECT_THROW_MSG(L.Delete(-1), EListError, "List index out of bounds (-1)");
  EXPECT_THROW_MSG(L.Insert(3, "x"), EListError, "List index out of bounds (3)");
}

TEST_F(StringListTest, TextSplitsAtAnyLineBreakAndJoinsWithCrLf) {
  TStringList L;
  L.SetText("a\nb\r\nc\rd");
  EXPECT_EQ(Lines(L), (std::vector<std::string>{"a", "b", "c", "d"}));
  EXPECT_EQ(L.Text(), "a\r\nb\r\nc\r\nd\r\n");
  L.SetText("a\r\n\r\n");
  EXPECT_EQ(Lines(L), (std::vector<std::string>{"a", ""}));
  L.SetText("");
  EXPECT_EQ(L.Count(), 0);
}
