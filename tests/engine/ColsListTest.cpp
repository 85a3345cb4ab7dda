// The column list and its totals: results and texts of every kind, freezing and marking across
// pages, levels, lookup and deep copies.
#include <gtest/gtest.h>

#include <limits>
#include <vector>

#include "engine/VLMXCols.h"
#include "framework/rtl/Locale.h"

namespace {

constexpr long double Inf = std::numeric_limits<long double>::infinity();

class ColsListTest : public ::testing::Test {
protected:
  void SetUp() override {
    FormatSettings = SystemFormatSettings();
  }

  static TColsListData& AddColumn(TColsList& List, const std::string& Name, int HorzPage = 1, bool Printed = true) {
    auto Column = std::make_unique<TColsListData>();
    Column->FieldName = Name, Column->HorzPage = HorzPage, Column->Printed = Printed;
    return *List.Items(List.Add(std::move(Column)));
  }
  static bool SetKind(TColsListData& Column, int Level, TotalKind Kind) {
    if (!Column.TotList) Column.TotList = std::make_unique<TColTotList>();
    bool Changed = false;
    Column.TotList->SetKind(Level, Kind, Changed);
    return Changed;
  }
  static void Add(TColsList& List, int Col, std::vector<long double> Values, int UpTo = 0) {
    for (long double V : Values) List.AddValue(Col, TvlxFieldValue{V}, UpTo);
  }
  static std::string Text(const TColsList& List, int Col, bool FieldFormat = false) {
    std::string S = "unset";
    List.GetTotalText(Col, FieldFormat, S);
    return S;
  }
  // The text of one report-level total of Kind over Values.
  std::string TotalOf(TotalKind Kind, std::vector<long double> Values, const std::string& TotalText = "",
                      bool FieldFormat = false) {
    TColsList List;
    AddColumn(List, "Amount").TotalText = TotalText;
    SetKind(*List.Items(0), 0, Kind);
    Add(List, 0, Values);
    return Text(List, 0, FieldFormat);
  }
};

TEST_F(ColsListTest, EveryKindWithNoOneAndManyValues) {
  const struct { TotalKind Kind; const char *NoValues, *OneValue, *ManyValues; } Cases[] = {
      {tkNone, "", "", ""},         {tkSum, "0", "5", "40"},     {tkCount, "0", "1", "8"},
      {tkAverage, "0", "5", "5"},   {tkMin, "INF", "5", "2"},    {tkMax, "-1.1E4932", "5", "9"},
      {tkStdDevSample, "n/a", "n/a", "2.1380899352994"},       {tkStdDevPopulation, "n/a", "0", "2"},
      {tkVarianceSample, "n/a", "n/a", "4.57142857142857"},    {tkVariancePopulation, "n/a", "0", "4"},
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE(TotalKindNames[C.Kind]);
    EXPECT_EQ(TotalOf(C.Kind, {}), C.NoValues);
    EXPECT_EQ(TotalOf(C.Kind, {5}), C.OneValue);
    EXPECT_EQ(TotalOf(C.Kind, {2, 4, 4, 4, 5, 5, 7, 9}), C.ManyValues);
  }
  EXPECT_EQ(TotalOf(tkText, {1}, "Totals %F"), "Totals %F");
  EXPECT_EQ(TotalOf(tkAverage, {1, 2, 4}), "2.33333333333333");
}

TEST_F(ColsListTest, DeviationsStayFiniteAndNonNegative) {
  // A large mean with a small spread: a plain sum of squares loses the spread entirely.
  EXPECT_EQ(TotalOf(tkVariancePopulation, {1e10L + 1, 1e10L + 2, 1e10L + 3}), "0.666666666666667");
  EXPECT_EQ(TotalOf(tkStdDevSample, {1e12L + 1, 1e12L + 3}), "1.4142135623731");
  for (TotalKind K : {tkStdDevSample, tkVarianceSample, tkStdDevPopulation, tkVariancePopulation})
    EXPECT_EQ(TotalOf(K, std::vector<long double>(1000, 0.1L)), "0") << TotalKindNames[K];
  EXPECT_EQ(TotalOf(tkSum, {1, Inf}), "INF");
  EXPECT_EQ(TotalOf(tkSum, {Inf, -Inf}), "n/a");
  EXPECT_EQ(TotalOf(tkStdDevPopulation, {1, Inf}), "n/a");

  TColTotListData Total;  // a spread rounded a hair below zero reads as none
  Total.Kind = tkStdDevPopulation, Total.Count = 3, Total.Accum[4] = -1e-30L;
  long double Value = 1;
  bool Ok = false;
  Total.GetResult(Value, Ok);
  EXPECT_TRUE(Ok);
  EXPECT_EQ(Value, 0.0L);
}

TEST_F(ColsListTest, GetTotalTextAppliesTheUserFormatOnlyWithFieldFormat) {
  const struct { bool FieldFormat; const char *TotalText, *Expected; } Cases[] = {
      {false, "Sum: %F", "Sum: 1234.5"}, {true, "Sum: %F", "Sum: 1234.50"}, {true, "%10.3F", "  1234.500"},
      {true, "%m", "$1,234.50"},         {false, "", "1234.5"},             {true, "Total ", "Total 1234.5"},
      {false, "Total ", "1234.5"},
      // Formats that cannot take one number: the label before the "%" and the plain value.
      {true, "Sum: %s", "Sum: 1234.5"},  {true, "%f to %f", "1234.5"},      {true, "%*f", "1234.5"},
      {true, "Sum %", "Sum 1234.5"},
  };
  for (const auto& C : Cases)
    EXPECT_EQ(TotalOf(tkSum, {1000, 234.5L}, C.TotalText, C.FieldFormat), C.Expected) << C.TotalText;
  EXPECT_EQ(TotalOf(tkStdDevSample, {1}, "%F", true), "n/a");
  EXPECT_EQ(TotalOf(tkMin, {}, "Min %7.2F", true), "Min     INF");

  TColsList List;
  AddColumn(List, "Amount").TotalText = "Sum: %F";
  SetKind(*List.Items(0), 0, tkSum);
  Add(List, 0, {2});
  EXPECT_EQ(Text(List, 0), "Sum: 2");
  List.CurLevel = 1;  // no total at that level
  EXPECT_EQ(Text(List, 0), "");
  EXPECT_EQ(Text(List, 5), "");
}

TEST_F(ColsListTest, FrozenTotalIgnoresValuesUntilReset) {
  TColsList List;
  SetKind(AddColumn(List, "Amount"), 0, tkSum);
  SetKind(AddColumn(List, "Rows"), 0, tkCount);
  Add(List, 0, {1, 2});
  List.MarkPageTotals(1);
  Add(List, 0, {10});
  EXPECT_EQ(Text(List, 0), "3");
  List.ResetTotals(false);  // open again, values kept
  Add(List, 0, {10});
  EXPECT_EQ(Text(List, 0), "13");
  EXPECT_TRUE(List.Items(0)->HasTotals);
  EXPECT_FALSE(List.Items(1)->HasTotals);  // counting rows is no total of the values
  List.ResetTotals(true);
  EXPECT_EQ(Text(List, 0), "0");
}

TEST_F(ColsListTest, SetKindAndEnsureLevelKeepLevelZero) {
  TColsListData Column;
  EXPECT_TRUE(SetKind(Column, 2, tkMin));
  TColTotList& Totals = *Column.TotList;
  ASSERT_EQ(Totals.Count(), 3);
  EXPECT_EQ(Totals.Items(1), nullptr);
  Totals.Items(2)->AddValue({4});
  EXPECT_FALSE(SetKind(Column, 2, tkMin));  // same kind, existing entry: values kept
  EXPECT_EQ(Totals.Items(2)->Accum[0], 4.0L);

  SetKind(Column, 0, tkSum);
  Totals.Items(0)->AddValue({7});
  SetKind(Column, 0, tkNone);  // level 0 stays: kind None, open, values kept
  ASSERT_NE(Totals.Items(0), nullptr);
  EXPECT_EQ(Totals.Items(0)->Kind, tkNone);
  EXPECT_FALSE(Totals.Items(0)->Printed);
  EXPECT_EQ(Totals.Items(0)->Count, 1);
  EXPECT_TRUE(SetKind(Column, 2, tkNone));
  EXPECT_EQ(Totals.Items(2), nullptr);

  bool Changed = false;
  Totals.EnsureLevel(0, false, Changed);  // frozen, not removed
  Totals.EnsureLevel(1, false, Changed);
  Totals.EnsureLevel(-1, true, Changed);
  EXPECT_FALSE(Changed);
  EXPECT_TRUE(Totals.Items(0)->Printed);
  EXPECT_EQ(Totals.Count(), 3);
}

TEST_F(ColsListTest, IndexOfNameIgnoresCase) {
  TColsList List;
  for (const char* Name : {"~Line#", "Customer", "Amount", "customer"}) AddColumn(List, Name);
  for (auto [Name, Index] : {std::pair{"customer", 1}, {"CUSTOMER", 1}, {"amount", 2}, {"~line#", 0}, {"Custom", -1}, {"", -1}})
    EXPECT_EQ(List.IndexOfName(Name), Index) << Name;
}

TEST_F(ColsListTest, TotalLevelsAcrossPages) {
  TColsList List;
  SetKind(AddColumn(List, "Hidden", 1, false), 2, tkSum);
  TColsListData& First = AddColumn(List, "First", 1);
  TColsListData& Second = AddColumn(List, "Second", 2);
  for (int L : {0, 1, 3}) SetKind(First, L, tkSum);
  First.TotList->Items(1)->Kind = tkNone;
  for (int L : {0, 1, 2}) SetKind(Second, L, tkSum);

  EXPECT_EQ(List.NextTotalsPage(2, 2), 2);
  EXPECT_EQ(List.NextTotalsPage(2, 1), -1);  // a layout narrower than the columns say

  List.CurLevel = 0;
  List.MarkPageTotals(2);  // the level printed is frozen, the break levels stay open
  EXPECT_FALSE(Second.TotList->Items(1)->Printed);
  EXPECT_FALSE(Second.TotList->Items(2)->Printed);
  EXPECT_TRUE(Second.TotList->Items(0)->Printed);
  EXPECT_EQ(Second.TotList->Items(0)->PagePrinted, 2);
  EXPECT_FALSE(First.TotList->Items(0)->Printed);  // printed on page 1

  List.CurLevel = 3;
  List.MarkPageTotals(1);
  EXPECT_TRUE(First.TotList->Items(3)->Printed);
  EXPECT_FALSE(First.TotList->Items(0)->Printed);
  Add(List, 1, {5}, 5);  // reaches the open levels that exist
  Add(List, 1, {7}, -1);
  Add(List, 9, {7});
  EXPECT_EQ(First.TotList->Items(0)->Count, 1);
  EXPECT_EQ(First.TotList->Items(1)->Count, 1);
  EXPECT_EQ(First.TotList->Items(3)->Count, 0);
}

TEST_F(ColsListTest, AssignMakesAnIndependentDeepCopy) {
  TColsList Source;
  Source.CurLevel = 2;
  TColsListData& A = AddColumn(Source, "A", 3);
  A.TotalText = "Sum %F";
  A.ColStrWid(bnData, 1) = {7, "xxxxxxx"};
  SetKind(A, 0, tkSum);
  SetKind(A, 2, tkMax);
  Add(Source, 0, {2, 3}, 2);
  Source.Add(nullptr);
  AddColumn(Source, "C");

  TColsList Target;
  TColsListData& Into = AddColumn(Target, "Old");
  AddColumn(Target, "Freed");
  SetKind(AddColumn(Target, "C"), 0, tkSum);  // Source's C has no totals
  AddColumn(Target, "Beyond");
  Target.Assign(&Source);
  ASSERT_EQ(Target.Count(), 4);
  EXPECT_EQ(Target.Items(0), &Into);
  EXPECT_EQ(Into.FieldName, "A");
  EXPECT_EQ(Into.HorzPage, 3);
  EXPECT_EQ(Target.Items(1), nullptr);
  EXPECT_EQ(Target.Items(2)->TotList, nullptr);
  EXPECT_EQ(Target.Items(3)->FieldName, "Beyond");
  EXPECT_EQ(Text(Target, 0), "Sum 3");

  Add(Source, 0, {100}, 2);
  A.ColStrWid(bnData, 1).Text = "y";
  SetKind(A, 2, tkNone);
  Into.TotList->Items(0)->AddValue({1});
  EXPECT_EQ(Text(Target, 0), "Sum 3");
  EXPECT_EQ(Into.ColStrWid(bnData, 1).Text, "xxxxxxx");
  Source.CurLevel = Target.CurLevel = 0;
  EXPECT_EQ(Text(Source, 0), "Sum 105");
  EXPECT_EQ(Text(Target, 0), "Sum 6");
}

}  // namespace
