// The printer object on the fake printers: choosing the default, page sizes that follow the
// orientation, fonts sized at the device's resolution, and the document's state rules.
#include <gtest/gtest.h>

#include <functional>

#include "framework/Printers.h"
#include "framework/headless/Printers.h"
#include "tests/support/HeadlessFixture.h"

namespace {
class PrintersTest : public HeadlessTest {
protected:
  void SetUp() override {
    HeadlessTest::SetUp();
    Headless::ResetPrinters();
  }
  void TearDown() override {
    Headless::ResetPrinters();
    HeadlessTest::TearDown();
  }
};
}  // namespace

TEST_F(PrintersTest, DefaultPrinterAndPageSizeFollowTheChoice) {
  TPrinter& P = *Printer();
  EXPECT_EQ(P.PrinterIndex(), 0) << "-1 resolves to the default printer";
  const struct { int Index; TPrinterOrientation Orientation; int DpiX, DpiY, Width, Height; } Cases[] = {
      {0, TPrinterOrientation::poLandscape, 600, 600, 6300, 4800},
      {1, TPrinterOrientation::poLandscape, 72, 120, 792, 960},
  };
  for (const auto& C : Cases) {
    P.SetPrinterIndex(C.Index);
    P.SetOrientation(C.Orientation);
    EXPECT_EQ(P.DeviceCaps(dcLogPixelsX), C.DpiX);
    EXPECT_EQ(P.DeviceCaps(dcLogPixelsY), C.DpiY);
    EXPECT_EQ(P.PageWidth(), C.Width);
    EXPECT_EQ(P.PageHeight(), C.Height);
  }
  EXPECT_THROW_MSG(P.SetPrinterIndex(2), EPrinter, "Printer index out of range");
  EXPECT_EQ(ScreenDeviceCaps(dcLogPixelsY), 96);
}

TEST_F(PrintersTest, CanvasFontIsSizedAtTheDeviceResolution) {
  TCanvas* Canvas = Printer()->Canvas();
  Canvas->Font().SetSize(12);
  EXPECT_EQ(Canvas->Font().Height(), -100);
  TFont Screen;
  Screen.SetSize(9);
  Canvas->Font().Assign(Screen);
  EXPECT_EQ(Canvas->Font().Size(), 9) << "a screen font prints as large";
  EXPECT_EQ(Canvas->Font().Height(), -75);
  // Another printer's canvas is the same object; its font keeps its points at the new resolution.
  Printer()->SetPrinterIndex(1);
  Printer()->Canvas();
  EXPECT_EQ(Canvas->Font().Height(), -9);
  EXPECT_GT(Canvas->TextWidth("ABCD"), 0);
}

// A font assigned from one that differs in any one attribute takes it: Assign skips a copy it
// judges equal, and a canvas font that kept its old colour or pitch would print wrongly.
TEST(Font, AssignTakesEveryAttributeThatDiffers) {
  const std::function<void(TFont&)> Changes[] = {
      [](TFont& F) { F.SetName("Arial"); },   [](TFont& F) { F.SetHeight(-12); },
      [](TFont& F) { F.SetStyle(fsItalic); }, [](TFont& F) { F.SetColor(clRed); },
      [](TFont& F) { F.SetPitch(TFontPitch::fpFixed); }, [](TFont& F) { F.SetCharSet(0); },
  };
  for (size_t I = 0; I < std::size(Changes); ++I) {
    TFont Target, Source;
    Changes[I](Source);
    int Notices = 0;
    Target.OnChange = [&] { ++Notices; };
    Target.Assign(Source);
    EXPECT_TRUE(Target == Source) << "change " << I;
    EXPECT_EQ(Notices, 1) << "change " << I;
    Target.Assign(Source);
    EXPECT_EQ(Notices, 1) << "an equal font is no change, change " << I;
  }
}

TEST_F(PrintersTest, DocumentRecordsItsPagesAndRefusesCallsOutOfTurn) {
  TPrinter& P = *Printer();
  EXPECT_THROW_MSG(P.NewPage(), EPrinter, "Printer is not currently printing");
  P.SetTitle("T");
  P.BeginDoc();
  EXPECT_THROW_MSG(P.BeginDoc(), EPrinter, "Printing in progress");
  EXPECT_THROW_MSG(P.SetPrinterIndex(1), EPrinter, "Printing in progress");
  P.Canvas()->TextOut(5, 6, "one");
  P.NewPage();
  P.Canvas()->TextOut(7, 8, "two");
  EXPECT_EQ(P.PageNumber(), 2);
  P.EndDoc();
  P.Canvas()->TextOut(0, 0, "after");
  P.Abort();  // nothing to abort

  ASSERT_EQ(Headless::PrintedDocuments().size(), 1u);
  const auto& Doc = Headless::PrintedDocuments()[0];
  EXPECT_TRUE(Doc.Ended);
  EXPECT_FALSE(Doc.Aborted);
  ASSERT_EQ(Doc.Pages.size(), 2u);
  ASSERT_EQ(Doc.Pages[1].TextOuts.size(), 1u);
  EXPECT_EQ(Doc.Pages[1].TextOuts[0].Text, "two");
  EXPECT_EQ(Doc.Pages[1].TextOuts[0].X, 7);

  // A printer object that goes while printing throws its document away.
  Printer()->BeginDoc();
  SetPrinter(nullptr);
  EXPECT_TRUE(Headless::PrintedDocuments().back().Aborted);
}
