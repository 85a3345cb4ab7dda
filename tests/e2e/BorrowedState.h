// What a report run borrows from the program and must give back when Print returns: the hints,
// the hint handler and pause, the help file, the cursor, and the printer's index, font and job
// title. Values no run would choose are set first, so a run that leaves its own behind is seen.
#pragma once
#include <gtest/gtest.h>

#include <string>

#include "framework/Forms.h"
#include "framework/Printers.h"

class TBorrowedState {
public:
  // PrinterIndex: the printer selected before the run; pick one the run does not print on.
  explicit TBorrowedState(int PrinterIndex)
      : FOrig{Application->ShowHint(), Application->HintHidePause(), Application->HelpFile(), Screen->Cursor(),
              Printer()->PrinterIndex(), Printer()->Title(), Application->OnHint} {
    FOrigFont.Assign(Printer()->Canvas()->Font());
    Application->SetShowHint(false);
    Application->SetHintHidePause(1234);
    Application->SetHelpFile("Z:/nowhere/program.hlp");
    Application->OnHint = [this](TObject*) { ++FHintCalls; };
    Screen->SetCursor(crHandPoint);
    Printer()->SetPrinterIndex(PrinterIndex);
    TFont& Font = Printer()->Canvas()->Font();
    Font.SetName("Courier New");
    Font.SetSize(17);
    Font.SetStyle(fsItalic);
    FFont.Assign(Font);
    FPrinterIndex = Printer()->PrinterIndex();
    Printer()->SetTitle(FTitle);
  }
  ~TBorrowedState() {
    Application->SetShowHint(FOrig.ShowHint);
    Application->SetHintHidePause(FOrig.HintHidePause);
    Application->SetHelpFile(FOrig.HelpFile);
    Application->OnHint = FOrig.OnHint;
    Screen->SetCursor(FOrig.Cursor);
    Printer()->SetPrinterIndex(FOrig.PrinterIndex);
    Printer()->SetTitle(FOrig.Title);
    Printer()->Canvas()->Font().Assign(FOrigFont);
  }
  TBorrowedState(const TBorrowedState&) = delete;
  TBorrowedState& operator=(const TBorrowedState&) = delete;

  // Everything is back as it was set.
  void ExpectGivenBack() {
    EXPECT_FALSE(Application->ShowHint());
    EXPECT_EQ(Application->HintHidePause(), 1234);
    EXPECT_EQ(Application->HelpFile(), "Z:/nowhere/program.hlp");
    EXPECT_EQ(Screen->Cursor(), crHandPoint);
    EXPECT_EQ(Printer()->PrinterIndex(), FPrinterIndex);
    // The copy is a screen font: the size is what must match, not the height in pixels.
    const auto Described = [](const TFont& F) {
      return F.Name() + " " + std::to_string(F.Size()) + "pt style " + std::to_string(F.Style()) + " colour " +
             std::to_string(F.Color());
    };
    EXPECT_EQ(Described(Printer()->Canvas()->Font()), Described(FFont)) << "printer font";
    EXPECT_EQ(Printer()->Title(), FTitle);
    const int Calls = FHintCalls;
    if (Application->OnHint) Application->OnHint(Application);
    EXPECT_EQ(FHintCalls, Calls + 1) << "the program's hint handler is not back";
  }

private:
  struct {
    bool ShowHint;
    int HintHidePause;
    std::string HelpFile;
    TCursor Cursor;
    int PrinterIndex;
    std::string Title;
    TNotifyEvent OnHint;
  } FOrig;
  TFont FOrigFont;
  TFont FFont;
  int FPrinterIndex = -1;
  const std::string FTitle = "before the report";
  int FHintCalls = 0;
};
