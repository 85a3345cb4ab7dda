#include "engine/VLMXGbl0.h"
#include "framework/rtl/Locale.h"
#include "tests/engine/AdapterFixture.h"

// Which characters count is the reports' business (their totals); here the locale's part: with
// a comma as the decimal separator the full stop is a thousands separator. A null field is -2.
TEST_F(AdapterTest, CellTextsConvertInTheLocalesDecimalsAndNullsAreNoNumber) {
  TvlxFieldInfo& FI = *Info->FieldInfo;
  const char SavedDecimal = FormatSettings.DecimalSeparator;
  FormatSettings.DecimalSeparator = ',';
  FI.CnvtFldStrToNum(nullptr, "1.234,5");
  FormatSettings.DecimalSeparator = SavedDecimal;
  EXPECT_EQ(static_cast<double>(FI.Values[0]), 1234.5);
  FI.FieldNull = true;
  FI.CnvtFldStrToNum(Vlx.get(), "1-2");
  EXPECT_EQ(static_cast<double>(FI.Values[0]), -2.0);
  EXPECT_FALSE(FI.NumValid);
}

TEST_F(AdapterTest, ConversionFromInsideTheErrorEventIsRefused) {
  TvlxFieldInfo& FI = *Info->FieldInfo;
  auto* DS = MakeDataSet("ds", {{"a", 1, true}});
  std::string Raised;
  Vlx->OnCnvtFldError = [&](TObject*, const std::string&, TvlxFieldInfo* Info) {
    try {
      Info->CnvtFldStrToNum(Vlx.get(), "1");
    } catch (const eVlxSUError& E) {
      Raised = E.what();
    }
    Info->CnvtFldToNum(Vlx.get(), DS->FieldByName("Qty"), true);
  };
  EXPECT_THROW_MSG(FI.CnvtFldStrToNum(Vlx.get(), "1-2"), eVlxSUError,
                   "Vellumix! Setup Error: Cannot call FieldInfo.CnvtFldToNum from TvlxVellumix.OnCnvtFldError event");
  EXPECT_EQ(Raised,
            "Vellumix! Setup Error: Cannot call TvlxFieldInfo.CnvtFldStrToNum from TvlxVellumix.OnCnvtFldError event");
  // The guard does not outlive the event, even one that raised.
  EXPECT_FALSE(FI.InCnvtError);
  Vlx->OnCnvtFldError = nullptr;
  FI.CnvtFldStrToNum(Vlx.get(), "4");
  EXPECT_EQ(static_cast<double>(FI.Values[0]), 4.0);
}

TEST_F(AdapterTest, FieldValuesConvertThroughTheirNumber) {
  TvlxFieldInfo& FI = *Info->FieldInfo;
  auto* DS = Make<TDataSet>("ds");
  DS->FieldDefs().Add("Qty", ftInteger);
  DS->FieldDefs().Add("When", ftDate);
  DS->FieldDefs().Add("Name", ftString);
  DS->FieldDefs().Add("Big", ftLargeint);
  DS->Open();
  DS->AppendRecord({42, 36526.0, "x", int64_t{12345678901234567}});
  const std::tuple<const char*, bool, long double, bool> Cases[] = {
      {"Qty", true, 42, true},   {"When", true, 36526, true},
      {"Qty", false, 0, false},  {"Name", true, 0, false},
      {"Big", true, 12345678901234567.0L, true},  // more digits than a double holds
  };
  for (const auto& [Field, CheckType, Value, Valid] : Cases) {
    FI.Clear();
    FI.CnvtFldToNum(Vlx.get(), DS->FieldByName(Field), CheckType);
    EXPECT_EQ(FI.NumValid, Valid) << Field;
    EXPECT_EQ(FI.Values[0], Value) << Field;
  }
}
