// The totals' results and texts of every kind; the whole reports check them on the pages, for the
// kinds a model of their own can compute.
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

// The preview's totals button looks for the next page across with totals, the last one too.
TEST_F(ColsListTest, NextTotalsPageFindsTheLastPageAcross) {
  TColsList List;
  SetKind(AddColumn(List, "First", 1), 0, tkSum);
  SetKind(AddColumn(List, "Second", 2), 0, tkSum);
  EXPECT_EQ(List.NextTotalsPage(2, 2), 2);
  EXPECT_EQ(List.NextTotalsPage(3, 2), -1);
}

}  // namespace
