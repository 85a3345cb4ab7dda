#include <cstdint>

#include "framework/rtl/StringList.h"
#include "tests/framework/rtl/RtlTest.h"
#include "tests/support/TempDir.h"

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

TEST_F(StringListTest, LinesAndObjects) {
  TStringList L;
  L.Add("Alpha");
  L.AddObject("beta", Obj(2));
  L.InsertObject(0, "Zero", Obj(3));
  EXPECT_EQ(Lines(L), (std::vector<std::string>{"Zero", "Alpha", "beta"}));
  EXPECT_EQ(L.IndexOf("ALPHA"), 1);
  EXPECT_EQ(L.IndexOf("gamma"), -1);
  EXPECT_EQ(L.IndexOfObject(Obj(2)), 2);
  EXPECT_EQ(L.Objects(1), nullptr);

  L.Exchange(0, 2);  // objects travel with their lines
  EXPECT_EQ(L[0], "beta");
  EXPECT_EQ(L.Objects(0), Obj(2));
  EXPECT_EQ(L.Objects(2), Obj(3));
  L.SetStrings(0, "Beta2");
  EXPECT_EQ(L.Objects(0), Obj(2));
  L.Delete(0);
  EXPECT_EQ(L.Objects(1), Obj(3));

  TStringList Copy;
  Copy.Add("old");
  Copy.Assign(L);
  EXPECT_EQ(Lines(Copy), Lines(L));
  EXPECT_EQ(Copy.Objects(1), Obj(3));

  EXPECT_THROW_MSG(L.Strings(5), EListError, "List index out of bounds (5)");
  EXPECT_THROW_MSG(L.Delete(-1), EListError, "List index out of bounds (-1)");
  EXPECT_THROW_MSG(L.Insert(3, "x"), EListError, "List index out of bounds (3)");
}

TEST_F(StringListTest, TextForms) {
  TStringList L;
  L.SetText("a\nb\r\nc\rd");
  EXPECT_EQ(Lines(L), (std::vector<std::string>{"a", "b", "c", "d"}));
  EXPECT_EQ(L.Text(), "a\r\nb\r\nc\r\nd\r\n");
  L.SetText("a\r\n\r\n");
  EXPECT_EQ(Lines(L), (std::vector<std::string>{"a", ""}));
  L.SetText("");
  EXPECT_EQ(L.Count(), 0);

  L.Add("a");
  L.Add("b c");
  L.Add("d\"e");
  L.Add("f,g");
  L.Add("");
  EXPECT_EQ(L.CommaText(), "a,\"b c\",\"d\"\"e\",\"f,g\",");
  TStringList Back;
  Back.SetCommaText(L.CommaText());
  EXPECT_EQ(Lines(Back), Lines(L));
  // Blanks outside quotes separate too; a quote inside a bare item is kept.
  Back.SetCommaText("  x y,d\"\"e , \"unclosed");
  EXPECT_EQ(Lines(Back), (std::vector<std::string>{"x", "y", "d\"\"e", "unclosed"}));
  Back.Clear();
  Back.Add("");
  EXPECT_EQ(Back.CommaText(), "\"\"");
  Back.SetCommaText(std::string("a,b\0,c", 6));
  EXPECT_EQ(Lines(Back), (std::vector<std::string>{"a", "b"}));
}

TEST_F(StringListTest, NamesAndValues) {
  TStringList L;
  L.Add("Width=100");
  L.Add("Name=Joe=Smith");
  L.Add("NoValue");
  EXPECT_EQ(L.Values("WIDTH"), "100");
  EXPECT_EQ(L.Values("name"), "Joe=Smith");
  EXPECT_EQ(L.Values("NoValue"), "");
  EXPECT_EQ(L.Names(1), "Name");
  EXPECT_EQ(L.Names(2), "");
  L.SetValues("Height", "5");
  L.SetValues("width", "7");
  L.SetValues("Name", "");
  L.SetValues("Absent", "");
  EXPECT_EQ(Lines(L), (std::vector<std::string>{"width=7", "NoValue", "Height=5"}));
  L.SetValues("WIDTH", "");  // the first line goes as any other
  EXPECT_EQ(Lines(L), (std::vector<std::string>{"NoValue", "Height=5"}));
}

TEST_F(StringListTest, SortedAndDuplicates) {
  TStringList L;
  L.AddObject("b", Obj(1));
  L.AddObject("A", Obj(2));
  L.AddObject("c", Obj(3));
  L.SetSorted(true);
  EXPECT_EQ(Lines(L), (std::vector<std::string>{"A", "b", "c"}));
  EXPECT_EQ(L.Objects(1), Obj(1));
  EXPECT_EQ(L.Add("B"), 1);  // dupIgnore: the existing line's index
  EXPECT_EQ(L.Count(), 3);
  EXPECT_EQ(L.Add("aa"), 1);
  EXPECT_EQ(L.IndexOf("C"), 3);
  L.SetDuplicates(dupError);
  EXPECT_THROW_MSG(L.Add("AA"), EListError, "String list does not allow duplicates");
  L.SetDuplicates(dupAccept);
  L.Add("AA");
  EXPECT_EQ(Lines(L), (std::vector<std::string>{"A", "AA", "aa", "b", "c"}));
  EXPECT_THROW_MSG(L.Insert(0, "x"), EListError, "Operation not allowed on sorted string list");
  L.SetSorted(false);
  L.Insert(0, "z");
  EXPECT_EQ(L[0], "z");
}

TEST_F(StringListTest, Files) {
  TTempDir Dir;
  const std::string Name = Dir / "list.txt";
  TStringList L;
  L.Add("first");
  L.Add("s\xE9" "cond");
  L.SaveToFile(Name);
  EXPECT_EQ(FileBytes(Name), "first\r\ns\xE9" "cond\r\n");
  TStringList Back;
  Back.LoadFromFile(Dir.Path().string() + "\\list.txt");  // Windows-style names work natively too
  EXPECT_EQ(Lines(Back), Lines(L));
  const std::string Missing = Dir / "missing.txt", Unwritable = Dir / "no/such/dir.txt";
  EXPECT_THROW_MSG(Back.LoadFromFile(Missing), EFOpenError, "Cannot open file " + Missing);
  EXPECT_THROW_MSG(L.SaveToFile(Unwritable), EFCreateError, "Cannot create file " + Unwritable);
}
