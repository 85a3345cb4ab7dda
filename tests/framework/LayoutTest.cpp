#include <gtest/gtest.h>

#include "framework/Buttons.h"
#include "framework/Forms.h"
#include "framework/Grids.h"
#include "framework/Layout.h"
#include "framework/PropertyTable.h"
#include "framework/StdCtrls.h"
#include "tests/support/HeadlessFixture.h"

namespace {

// A non-visual component with a reference, recording what it saw when loading ended.
class TPointer : public TComponent {
public:
  using TComponent::TComponent;
  TComponent* Target = nullptr;
  bool TargetSetWhenLoaded = false;
  bool WasLoading = false;

  const TPropertyTable& PropertyTable() const override {
    static const TPropertyTable Table(&TComponent::PropertyTable(), {
        {"Target", Setter<TPointer>([](TPointer& P, const TLayoutValue& V) {
           if (!V.Reference) return TSetPropResult::NeedsReference;
           P.WasLoading = P.IsLoading();
           P.Target = V.Reference;
           return TSetPropResult::Done;
         })},
    });
    return Table;
  }
  void Loaded() override {
    TComponent::Loaded();
    TargetSetWhenLoaded = Target != nullptr;
  }
};

class TTestForm : public TForm {
public:
  explicit TTestForm(TComponent* AOwner) : TForm(AOwner) {
    RegisterComponentClass<TPointer>("TPointer");
    PublishedMethod("Clicked", TNotifyEvent([this](TObject*) { ++Clicks; }));
    PublishedMethod("Released", TMouseEvent([this](TObject*, TMouseButton, TShiftState, int, int) { ++Releases; }));
  }
  void Read(const std::string& Text) { ReadLayoutText(this, Text); }
  int Clicks = 0;
  int Releases = 0;
};

const char* const SampleLayout =
    "# a sample window\n"
    "TTestForm frmSample\n"
    "  Caption = \"Tab\\there \\\"quoted\\\" \\xE9\"\n"
    "  ClientWidth = 200\n"
    "  ClientHeight = $64\n"
    "  BorderStyle = bsDialog\n"
    "  Font.Height = -11\n"
    "  TPointer ptr\n"
    "    Target = grid\n"
    "  TStringGrid grid\n"
    "    ColCount = 3\n"
    "    ColWidths = [10, 20, 30]\n"
    "    Options = [goRowSelect, goVertLine]\n"
    "    OnMouseUp = Released\n"
    "  TLabel lbl\n"
    "    Font.Style = [fsBold, fsItalic]\n"
    "    font.COLOR = clPurple  # names match in any case\n"
    "  TBitBtn btn\n"
    "    Kind = bkClose\n"
    "    OnClick = Clicked\n";

}  // namespace

TEST_F(HeadlessTest, LayoutCreatesComponentsSetsPropertiesAndResolvesLaterReferences) {
  TTestForm form(nullptr);
  form.Read(SampleLayout);
  EXPECT_EQ(form.Name(), "frmSample");
  EXPECT_EQ(form.Caption(), "Tab\there \"quoted\" \xE9");
  EXPECT_EQ(form.ClientWidth(), 200);
  EXPECT_EQ(form.ClientHeight(), 100);
  EXPECT_EQ(form.BorderStyle(), TFormBorderStyle::bsDialog);

  auto* grid = As<TStringGrid>(form.FindComponent("grid"));
  auto* ptr = As<TPointer>(form.FindComponent("ptr"));
  auto* lbl = As<TLabel>(form.FindComponent("lbl"));
  auto* btn = As<TBitBtn>(form.FindComponent("btn"));
  ASSERT_TRUE(grid && ptr && lbl && btn);
  EXPECT_EQ(grid->Parent(), &form);
  EXPECT_EQ(ptr->Target, grid);
  EXPECT_TRUE(ptr->WasLoading);
  EXPECT_TRUE(ptr->TargetSetWhenLoaded);
  EXPECT_FALSE(grid->IsLoading());
  EXPECT_EQ(grid->ColWidths(2), 30);
  EXPECT_EQ(grid->Options(), unsigned(goRowSelect | goVertLine));
  EXPECT_EQ(lbl->Font().Style(), unsigned(fsBold | fsItalic));
  EXPECT_EQ(lbl->Font().Color(), clPurple);
  EXPECT_EQ(lbl->Font().Height(), -11) << "a control takes its parent's font";
  EXPECT_EQ(btn->Caption(), "&Close");

  btn->OnClick(btn);
  grid->PeerMouseUp(TMouseButton::mbLeft, 0, 1, 1);
  EXPECT_EQ(form.Clicks, 1);
  EXPECT_EQ(form.Releases, 1);
}

TEST_F(HeadlessTest, LayoutErrorsNameTheLine) {
  struct Case { const char* Text; const char* Message; };
  const Case cases[] = {
      {"TTestForm f\n  Nonsense = 1\n", "Layout line 2: unknown property Nonsense of f"},
      {"TTestForm f\n  TNoSuchClass x\n", "Layout line 2: unknown class TNoSuchClass"},
      {"TTestForm f\n  TBitBtn b\n    OnClick = Missing\n", "Layout line 3: OnClick: Method Missing not found"},
      {"TTestForm f\n  TBitBtn b\n    OnClick = Released\n",
       "Layout line 3: OnClick: Method Released does not fit the event"},
      {"TTestForm f\n  Caption = \"open\n", "Layout line 2: a string is not closed"},
      {"TTestForm f\n  Caption = \"\\q\"\n", "Layout line 2: unknown escape \\q"},
      {"TTestForm f\n  TPointer p\n    Target = nobody\n", "Layout line 3: no component named nobody"},
      {"TTestForm f\n  Width = [1, 2\n", "Layout line 2: a list is not closed"},
      {"TTestForm f\n  BorderStyle = bsRound\n", "Layout line 2: BorderStyle: Invalid property value: bsRound"},
      {"TTestForm f\n  TEdit e\n    PasswordChar = \"XY\"\n",
       "Layout line 3: PasswordChar: Invalid property value: XY"},
      {"# nothing\n", "Layout line 1: the layout is empty"},
      {"TTestForm f\n  Width = 12ab\n", "Layout line 2: invalid number 12ab"},
      {"TTestForm f\n  Width = 1e5 # big\n", "Layout line 2: invalid number 1e5"},
      {"TTestForm f\n  Width = 99999999999\n", "Layout line 2: number out of range 99999999999"},
      {"TTestForm f\n  Width = 2147483648\n", "Layout line 2: Width: number out of range 2147483648"},
      {"TTestForm f\n  TBitBtn b extra\n", "Layout line 2: text after the component's name"},
      {"TTestForm f\n  TStringGrid g\n    RowCount = 2048\n    ColCount = 1024\n",
       "Layout line 4: ColCount: a grid of more than 1048576 cells"},
  };
  for (const auto& c : cases) {
    TTestForm form(nullptr);
    EXPECT_THROW_MSG(form.Read(c.Text), ELayoutError, c.Message);
  }
  TTestForm form(nullptr);
  EXPECT_THROW_MSG(form.Read("TTestForm f\n  Width = " + std::string(5000, '[') + "\n"), ELayoutError,
                   "Layout line 2: lists are nested too deeply");
  form.Read("TTestForm g\n  Width = $FFFFFFFF\n  TStringGrid s\n    RowCount = 1024\n    ColCount = 1024\n");
  EXPECT_EQ(form.Width(), -1) << "a hexadecimal number is a 32-bit pattern";
}

TEST_F(HeadlessTest, LinkedLayoutsAreFoundByNameInAnyCase) {
  EXPECT_FALSE(LinkedLayoutText("tfrmversora").empty());
  EXPECT_TRUE(LinkedLayoutText("TNoSuchWindow").empty());
  TTestForm form(nullptr);
  EXPECT_THROW_MSG(ReadLayout(&form, "TNoSuchWindow"), ELayoutError, "Resource TNoSuchWindow not found");
}
