#include "engine/VLMXGbl/AsciiExport.h"

#include <sys/resource.h>

#include <csignal>
#include <functional>

#include "framework/ExtCtrls.h"
#include "framework/headless/Clock.h"
#include "tests/engine/AdapterFixture.h"
#include "tests/support/TempDir.h"
#include "windows/VLMXPgrs/VLMXPgrs.h"

namespace {

// The export of one object to a real file, with the settings' working defaults: a TAB between
// fields, the double quote, 100 characters of string and memo, printable characters only,
// column titles on, the line-number column hidden.
class AsciiExportTest : public AdapterTest {
protected:
  void SetUp() override {
    AdapterTest::SetUp();
    Settings->ExportFieldDelim = "9";
    Settings->ExportQuote = "\"";
    Settings->ExportMaxStrLng = Settings->ExportMaxMemoLng = 100;
    Settings->ExportOnlyPrintableChrs = true;
    Settings->SetItemOpt(ioColumnTitles, true);
    Settings->HideColumns = "~Line#";
    Settings->StartingReportLineId = 1;
  }

  // Adapter, columns and totals lines set up for Object; Prepare may then add totals.
  void Begin(TComponent* Object, const std::function<void()>& Prepare = {}) {
    Start(Object);
    if (Prepare) Prepare();
    Info->CountTotalLines();
  }

  std::string Export(TComponent* Object, const std::function<void()>& Prepare = {}) {
    Begin(Object, Prepare);
    EXPECT_EQ(Run->TextFile.Open(Name, false), 0);
    Run->ExportAscii();
    Run->TextFile.Close();
    return FileBytes(Name);
  }


  // One field per type, one record per entry of Records.
  TDataSet* Typed(const std::vector<std::pair<std::string, TFieldType>>& Fields,
                  const std::vector<std::vector<TFieldValue>>& Records) {
    auto* DS = Make<TDataSet>("ds" + std::to_string(++Made));
    for (const auto& [FieldName, Type] : Fields) DS->FieldDefs().Add(FieldName, Type, Type == ftString || Type == ftFixedChar || Type == ftWideString ? 200 : 0);
    DS->Open();
    for (const auto& R : Records) DS->AppendRecord(R);
    DS->First();
    return DS;
  }

  TTempDir Dir;
  std::string Name = Dir / "out.asc";
  int Made = 0;
};

}  // namespace

TEST_F(AsciiExportTest, GridAndListCellsAreWrittenBareUnderQuotedTitles) {
  EXPECT_EQ(Export(GridOf({{"Name", "Qty"}, {"Smith", "12.5"}, {"say \"hi\"", "3"}})),
            "\"Name\"\t\"Qty\"\r\nSmith\t12.5\r\nsay \"hi\"\t3\r\n");

  // A list box has no title row.
  EXPECT_EQ(Export(MakeList<TListBox>("lb", {"alpha", "beta \"b\""})), "alpha\r\nbeta \"b\"\r\n");

  auto* LV = Make<TListView>("lv");
  LV->SetViewStyle(vsReport);
  LV->Columns().Add()->SetCaption("Book");
  LV->Columns().Add()->SetCaption("Pages");
  for (const auto& [Caption, Pages] : std::vector<std::pair<std::string, std::string>>{{"Ruth", "4"}, {"Job", ""}}) {
    TListItem* Item = LV->Items().Add();
    Item->SetCaption(Caption);
    if (!Pages.empty()) Item->SubItems().Add(Pages);
  }
  EXPECT_EQ(Export(LV), "\"Book\"\t\"Pages\"\r\nRuth\t4\r\nJob\t\r\n");
  LV->SetShowColumnHeaders(false);
  EXPECT_EQ(Export(LV), "Ruth\t4\r\nJob\t\r\n");

  Settings->SetItemOpt(ioColumnTitles, false);
  EXPECT_EQ(Export(GridOf({{"Name"}, {"Smith"}})), "Smith\r\n");
  EXPECT_EQ(Run->RunState, rsCompletedNormally);
}

TEST_F(AsciiExportTest, DataSetFieldsAreQuotedByTypeAndTitlesAlways) {
  auto* DS = Typed({{"Name", ftString}, {"Qty", ftInteger}, {"Price", ftFloat}, {"Born", ftDate},
                    {"Notes", ftMemo}, {"Paid", ftBoolean}, {"Code", ftFixedChar}, {"Wide", ftWideString}},
                   {{std::string("Smith"), int64_t(3), 12.5, 45000.0, std::string("said \"yes\""), true,
                     std::string("AB"), std::string("w")},
                    {Null, int64_t(-7), 0.25, Null, std::string("m"), false, Null, Null}});
  const std::string Born = FormatDateTime("ddddd", 45000.0);
  EXPECT_EQ(Export(DS),
            "\"Name\"\t\"Qty\"\t\"Price\"\t\"Born\"\t\"Notes\"\t\"Paid\"\t\"Code\"\t\"Wide\"\r\n"
            "\"Smith\"\t3\t12.5\t\"" + Born + "\"\t\"said \"yes\"\"\tTrue\t\"AB\"\t\"w\"\r\n"
            "\"\"\t-7\t0.25\t\"\"\t\"m\"\tFalse\t\"\"\t\"\"\r\n");
  // The record that was current before the export is current again.
  EXPECT_EQ(DS->RecNo(), 1);
}

TEST_F(AsciiExportTest, DelimiterAndQuoteAreACodeOrUpToThreeCharacters) {
  const struct { const char* Delim; const char* Quote; std::string Expected; } Cases[] = {
      {"9", "\"", "\"Smith\"\t12.5\r\n"},
      {"44", "\"", "\"Smith\",12.5\r\n"},
      {"||", "\"", "\"Smith\"||12.5\r\n"},
      {"300", "\"", "\"Smith\"30012.5\r\n"},
      {";", "39", "'Smith';12.5\r\n"},
      {"9", "<*>", "<*>Smith<*>\t12.5\r\n"},
      {"", "", "Smith12.5\r\n"},
      {"0", "\"", std::string("\"Smith\"\0" "12.5\r\n", 14)},
  };
  Settings->SetItemOpt(ioColumnTitles, false);
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Delim + std::string(" / ") + C.Quote);
    Settings->ExportFieldDelim = C.Delim;
    Settings->ExportQuote = C.Quote;
    const std::string Written = Export(Typed({{"Name", ftString}, {"Price", ftFloat}}, {{std::string("Smith"), 12.5}}));
    EXPECT_EQ(Written, C.Expected);
  }
}

TEST_F(AsciiExportTest, StringsAndMemosAreCutToTheirMaximumLengths) {
  const std::string Words = std::string(95, 'a') + " bcdefghij" + std::string(45, 'k');  // 150, 100th in a word
  const std::string Letters(150, 'm');
  const std::string Punct = std::string(99, 'p') + "," + std::string(50, 'q');
  const struct {
    const char* Name;
    TFieldType Type;
    std::string Value;
    int MaxStr, MaxMemo;
    std::string Written;  // unquoted
  } Cases[] = {
      {"memo cut after its last blank", ftMemo, Words, 100, 100, std::string(95, 'a') + " "},
      {"memo of letters only cut to the maximum", ftMemo, Letters, 100, 100, std::string(100, 'm')},
      {"memo cut at punctuation", ftMemo, Punct, 100, 100, std::string(99, 'p') + ","},
      {"memo at the maximum kept", ftMemo, std::string(100, 'm'), 100, 100, std::string(100, 'm')},
      {"memo with a maximum of 0 kept", ftMemo, Letters, 100, 0, Letters},
      {"string of 101 cut to 100", ftString, std::string(101, 's'), 100, 100, std::string(100, 's')},
      {"string cut to its own maximum", ftString, "abcdef", 4, 100, "abcd"},
      {"string with a maximum of 0 empty", ftString, "abcdef", 0, 100, ""},
      {"fixed char never cut", ftFixedChar, std::string(150, 'f'), 100, 100, std::string(150, 'f')},
      {"wide string never cut", ftWideString, std::string(150, 'w'), 100, 100, std::string(150, 'w')},
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Name);
    Settings->ExportMaxStrLng = C.MaxStr;
    Settings->ExportMaxMemoLng = C.MaxMemo;
    // Titles are never cut.
    const std::string Title(120, 'T');
    const std::string Written = Export(Typed({{Title, C.Type}}, {{C.Value}}));
    EXPECT_EQ(Written, "\"" + Title + "\"\r\n\"" + C.Written + "\"\r\n");
  }
  Settings->ExportMaxStrLng = Settings->ExportMaxMemoLng = 5;
  // A grid's cells are never cut, not even in a column that the scan typed string.
  EXPECT_EQ(Export(GridOf({{"T"}, {std::string(120, 'g')}}), [&] { Column("Col#0").DataType = ftString; }),
            "\"T\"\r\n" + std::string(120, 'g') + "\r\n");
}

TEST_F(AsciiExportTest, OnlyPrintableCharactersAreKeptWhenAsked) {
  const std::string Memo = "line one\r\nline\ttwo \xe9t\xe9~";
  auto Make = [&] { return Typed({{"Ti\x01tle", ftMemo}, {"N", ftString}}, {{Memo, std::string("caf\xe9")}}); };
  EXPECT_EQ(Export(Make()), "\"Title\"\t\"N\"\r\n\"line onelinetwo t~\"\t\"caf\"\r\n");
  Settings->ExportOnlyPrintableChrs = false;
  EXPECT_EQ(Export(Make()), "\"Ti\x01tle\"\t\"N\"\r\n\"" + Memo + "\"\t\"caf\xe9\"\r\n");
}

TEST_F(AsciiExportTest, TotalsRowsFollowTheDataRows) {
  auto Totals = [&] { SetTotal("Col#1", tkSum); };
  Settings->ExportFieldDelim = ",";
  EXPECT_EQ(Export(GridOf({{"Name", "Qty"}, {"a", "2"}, {"b", "3.5"}, {"c", "4"}}), Totals),
            "\"Name\",\"Qty\"\r\na,2\r\nb,3.5\r\nc,4\r\n,9.5\r\n");
  EXPECT_EQ(Styles->BandInfo[bnTotals].RowNdx, 1);
  // A second export starts its totals again.
  EXPECT_EQ(Export(GridOf({{"Name", "Qty"}, {"a", "1"}}), Totals), "\"Name\",\"Qty\"\r\na,1\r\n,1\r\n");
}

// The export starts as a report does: run date, no page emitted yet, and the filter sees each
// row once.
TEST_F(AsciiExportTest, FilterSkipsAndEndsRowsAndLineNumbersStartAfterTheTitles) {
  Settings->HideColumns = "";
  Settings->ExportFieldDelim = ",";
  const TRows Rows = {{"Name"}, {"a"}, {"skip"}, {"b"}, {"stop"}, {"c"}};
  std::vector<int> Seen;
  auto Filter = [&] {
    Column(LineNoColName).HorzPage = 1;
    Seen.clear();
    Info->OnFilterRecord = [&](TObject*, TDataSet*, int Row, bool& Accept, bool& Terminate) {
      Seen.push_back(Row);
      const std::string Text = Info->StringGrid->Cells(0, Row);
      Accept = Text != "skip";
      Terminate = Text == "stop";
    };
  };
  Run->LastEmittedPage = {2, 5};
  Settings->RunDateTime = 0;
  EXPECT_EQ(Export(GridOf(Rows), Filter), "\"#\",\"Name\"\r\n1,a\r\n2,b\r\n");
  EXPECT_EQ(Run->RunState, rsCompletedNormally);
  EXPECT_EQ(Seen, (std::vector<int>{1, 2, 3, 4}));
  EXPECT_EQ(Run->LastEmittedPage, (TPoint{0, 0}));
  EXPECT_GT(Settings->RunDateTime, 0);
  EXPECT_EQ(Run->RunDateText, FormatDateTime("ddddd", Settings->RunDateTime));

  // The line-number column is left out when it is not on the first page across.
  EXPECT_EQ(Export(GridOf(Rows), [&] { Filter(); Column(LineNoColName).HorzPage = 2; }), "\"Name\"\r\na\r\nb\r\n");
}

TEST_F(AsciiExportTest, AbortStopsTheDataRowsButNotTheTotalsAndKeepsItsState) {
  Settings->ExportFieldDelim = ",";
  int Seen = 0;
  auto Abort = [&] {
    SetTotal("Col#1", tkSum);
    Seen = 0;
    // What the progress window's Abort does from inside the row loop.
    Info->OnFilterRecord = [&](TObject*, TDataSet*, int, bool&, bool&) {
      if (++Seen == 2) Run->RunState = rsTerminatedWithError;
    };
  };
  EXPECT_EQ(Export(GridOf({{"Name", "Qty"}, {"a", "1"}, {"b", "2"}, {"c", "4"}}), Abort),
            "\"Name\",\"Qty\"\r\na,1\r\n,1\r\n");
  EXPECT_EQ(Run->RunState, rsTerminatedWithError);
  EXPECT_EQ(Seen, 2);
}

TEST_F(AsciiExportTest, FileErrorsEndTheExportAndPutTheObjectBack) {
  TRows Rows = {{"Name"}};
  for (int R = 0; R < 20000; ++R) Rows.push_back({"row " + std::to_string(R)});
  auto* G = GridOf(Rows);

  Begin(G);
  ASSERT_EQ(Run->TextFile.Open(Name, false), 0);
  Info->CurCell = {0, 7};
  Run->CurPanel = 3, Run->CurPageAcross = 2, Run->CurVertPage = 5;
  {
    // The file may not grow beyond 1000 bytes: the system refuses the rest, as on a full disk.
    rlimit Saved{};
    getrlimit(RLIMIT_FSIZE, &Saved);
    const auto OldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit Small = Saved;
    Small.rlim_cur = 1000;
    setrlimit(RLIMIT_FSIZE, &Small);
    EXPECT_THROW_MSG(Run->ExportAscii(), EInOutError, "I/O error 29");
    try {
      Run->TextFile.Close();
    } catch (const EInOutError&) {
    }
    setrlimit(RLIMIT_FSIZE, &Saved);
    std::signal(SIGXFSZ, OldHandler);
  }
  EXPECT_EQ(Info->CurCell, (TPoint{0, 7}));
  EXPECT_EQ(Run->CurPagePos(), (TPoint{2, 5}));
  EXPECT_EQ(Run->CurPanel, 3);
  // The lines written before the failure stay.
  const std::string Written = FileBytes(Name);
  EXPECT_LE(Written.size(), 1000u);
  EXPECT_EQ(Written.substr(0, 22), "\"Name\"\r\nrow 0\r\nrow 1\r\n");

  // A file closed under the export.
  Begin(G);
  EXPECT_THROW_MSG(Run->ExportAscii(), EInOutError, "I/O error 103");
}
