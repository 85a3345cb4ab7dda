// The layout reader's refusals. What it builds is what every window test and end-to-end
// scenario stands on; what it refuses is checked here, each naming its line.
#include <gtest/gtest.h>

#include "framework/Forms.h"
#include "framework/Layout.h"
#include "framework/StdCtrls.h"
#include "tests/support/HeadlessFixture.h"

namespace {

class TTestForm : public TForm {
public:
  explicit TTestForm(TComponent* AOwner) : TForm(AOwner) {
    PublishedMethod("Released", TMouseEvent([](TObject*, TMouseButton, TShiftState, int, int) {}));
  }
  void Read(const std::string& Text) { ReadLayoutText(this, Text); }
};

}  // namespace

TEST_F(HeadlessTest, LayoutErrorsNameTheLine) {
  struct Case { std::string Text; const char* Message; };
  const Case cases[] = {
      {"TTestForm f\n  Nonsense = 1\n", "Layout line 2: unknown property Nonsense of f"},
      {"TTestForm f\n  TNoSuchClass x\n", "Layout line 2: unknown class TNoSuchClass"},
      {"TTestForm f\n  TButton b\n    OnClick = Missing\n", "Layout line 3: OnClick: Method Missing not found"},
      // A handler of another signature would be called with the wrong arguments.
      {"TTestForm f\n  TButton b\n    OnClick = Released\n",
       "Layout line 3: OnClick: Method Released does not fit the event"},
      {"TTestForm f\n  Caption = \"open\n", "Layout line 2: a string is not closed"},
      {"TTestForm f\n  Width = [1, 2\n", "Layout line 2: a list is not closed"},
      {"TTestForm f\n  BorderStyle = bsRound\n", "Layout line 2: BorderStyle: Invalid property value: bsRound"},
      {"# nothing\n", "Layout line 1: the layout is empty"},
      {"TTestForm f\n  Width = 12ab\n", "Layout line 2: invalid number 12ab"},
      {"TTestForm f\n  Width = 2147483648\n", "Layout line 2: Width: number out of range 2147483648"},
      {"TTestForm f\n  TStringGrid g\n    RowCount = 2048\n    ColCount = 1024\n",
       "Layout line 4: ColCount: a grid of more than 1048576 cells"},
      {"TTestForm f\n  Width = " + std::string(5000, '[') + "\n", "Layout line 2: lists are nested too deeply"},
      {"TNoSuchWindow", "Resource TNoSuchWindow not found"},
  };
  for (const auto& c : cases) {
    TTestForm form(nullptr);
    if (c.Text.find('\n') == std::string::npos)
      EXPECT_THROW_MSG(ReadLayout(&form, c.Text), ELayoutError, c.Message);
    else
      EXPECT_THROW_MSG(form.Read(c.Text), ELayoutError, c.Message);
  }
  TTestForm form(nullptr);
  form.Read("TTestForm g\n  Width = $FFFFFFFF\n  Caption = \"a\\tb \\\"q\\\" \\xE9\"\n"
            "  TLabel l\n    Alignment = taRightJustify\n");
  EXPECT_EQ(form.Width(), -1) << "a hexadecimal number is a 32-bit pattern";
  EXPECT_EQ(form.Caption(), "a\tb \"q\" \xE9");
  EXPECT_EQ(As<TLabel>(form.FindComponent("l"))->Alignment(), TAlignment::taRightJustify);
}
