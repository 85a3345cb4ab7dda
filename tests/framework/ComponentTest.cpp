#include <gtest/gtest.h>

#include "framework/Classes.h"
#include "framework/ExtCtrls.h"
#include "framework/Forms.h"
#include "framework/StdCtrls.h"
#include "tests/support/HeadlessFixture.h"

namespace {

// Remembers the last component it was told had been removed, and clears a reference to it.
class TWatcher : public TComponent {
public:
  using TComponent::TComponent;
  TComponent* Watched = nullptr;

protected:
  void Notification(TComponent* AComponent, TOperation Operation) override {
    TComponent::Notification(AComponent, Operation);
    if (Operation == TOperation::opRemove && AComponent == Watched) Watched = nullptr;
  }
};

class TLogged : public TComponent {
public:
  TLogged(TComponent* AOwner, std::vector<std::string>& Log, std::string Tag)
      : TComponent(AOwner), FLog(Log), FTag(std::move(Tag)) {}
  ~TLogged() override { FLog.push_back(FTag); }

private:
  std::vector<std::string>& FLog;
  std::string FTag;
};

// A form with a part of its own that its destructor takes apart, and what its OnDestroy saw.
class TProbedForm : public TForm {
public:
  struct TPart {
    bool Whole = true;
    ~TPart() { Whole = false; }
  };

  TProbedForm(TComponent* AOwner, std::vector<std::string>& Seen) : TForm(AOwner) {
    auto* edit = new TEdit(this);
    edit->SetName("ed");
    edit->SetParent(this);
    OnDestroy = [this, &Seen](TObject*) {
      auto* ed = As<TEdit>(FindComponent("ed"));
      Seen.push_back(std::string(FPart.Whole ? "whole" : "torn") + (ed && ed->Parent() == this ? "+ed" : ""));
    };
  }

private:
  TPart FPart;
};

// A control whose font change fails once told to.
class TFailingFontControl : public TWinControl {
public:
  using TWinControl::TWinControl;
  bool Fail = false;

protected:
  void FontChanged() override {
    TWinControl::FontChanged();
    if (Fail) throw Exception("font failed");
  }
};

}  // namespace

TEST(Component, OwnerDestroysOwnedLastFirstAndFindsNamesIgnoringCase) {
  std::vector<std::string> log;
  auto* owner = new TComponent(nullptr);
  auto* a = new TLogged(owner, log, "a");
  auto* b = new TLogged(owner, log, "b");
  a->SetName("Alpha");
  b->SetName("Beta");
  EXPECT_EQ(owner->ComponentCount(), 2);
  EXPECT_EQ(owner->FindComponent("ALPHA"), a);
  EXPECT_EQ(owner->FindComponent(""), nullptr);
  EXPECT_THROW(b->SetName("alpha"), EComponentError);
  delete owner;
  EXPECT_EQ(log, (std::vector<std::string>{"b", "a"}));
}

TEST(Component, RemovalIsNotifiedToSiblingsAndAcrossOwners) {
  TComponent owner(nullptr);
  auto* watcher = new TWatcher(&owner);
  auto* target = new TComponent(&owner);
  watcher->Watched = target;
  delete target;
  EXPECT_EQ(watcher->Watched, nullptr);
  EXPECT_EQ(owner.ComponentCount(), 1);

  // Another owner: only a free notification tells the watcher.
  TComponent other(nullptr);
  auto* foreign = new TComponent(&other);
  watcher->Watched = foreign;
  watcher->FreeNotification(foreign);
  delete foreign;
  EXPECT_EQ(watcher->Watched, nullptr);

  // A link taken back on either side is gone on both.
  auto* reassigned = new TComponent(&other);
  auto* keeper = new TWatcher(nullptr);
  keeper->FreeNotification(reassigned);
  keeper->RemoveFreeNotification(reassigned);
  delete keeper;
  delete reassigned;  // must not reach the destroyed keeper

  // A watcher that goes first is forgotten by what it watched.
  auto* survivor = new TComponent(&other);
  auto* shortLived = new TWatcher(nullptr);
  shortLived->FreeNotification(survivor);
  delete shortLived;
  delete survivor;  // must not reach the destroyed watcher
}

TEST(Component, ControlsLeaveTheirParentAndFormWhenDestroyed) {
  auto* form = new TForm(nullptr);
  auto* edit = new TEdit(form);
  edit->SetParent(form);
  EXPECT_THROW(edit->SetFocus(), Exception) << "a hidden window takes no focus";
  form->Show();
  edit->SetFocus();
  EXPECT_EQ(form->ActiveControl(), edit);
  delete edit;
  EXPECT_EQ(form->ControlCount(), 0);
  EXPECT_EQ(form->ActiveControl(), nullptr);
  delete form;
}

TEST_F(HeadlessTest, PostedTasksRunLaterAndNotForADestroyedTarget) {
  int runs = 0;
  auto* target = new TComponent(nullptr);
  for (int i = 0; i < 2; ++i) Application->Post(target, [&] { ++runs; });
  EXPECT_EQ(runs, 0);
  Application->ProcessMessages();
  EXPECT_EQ(runs, 2);
  Application->Post(target, [&] { ++runs; });
  delete target;
  Application->ProcessMessages();
  EXPECT_EQ(runs, 2);
}

TEST_F(HeadlessTest, ModalFormRunsUntilAButtonSetsTheResultAndRestoresTheCursor) {
  TForm form(nullptr);
  auto* ok = new TButton(&form);
  ok->SetParent(&form);
  ok->SetModalResult(mrOk);
  Headless::SetModalHandler([&](TCustomForm& f) {
    EXPECT_TRUE(f.Visible());
    EXPECT_EQ(Screen->ActiveForm(), &f);
    ok->PeerClick();
  });
  EXPECT_EQ(form.ShowModal(), mrOk);
  EXPECT_FALSE(form.Visible());

  Headless::SetModalHandler(nullptr);
  EXPECT_THROW(form.ShowModal(), EAssertionFailed);
  EXPECT_FALSE(form.Visible());

  {
    TCursorGuard busy(crHourGlass);
    EXPECT_EQ(Screen->Cursor(), crHourGlass);
  }
  EXPECT_EQ(Screen->Cursor(), crDefault);
}

TEST_F(HeadlessTest, OnDestroyFiresOnceBeforeTheFormIsTakenApart) {
  std::vector<std::string> seen;
  delete new TProbedForm(nullptr, seen);
  auto* owner = new TComponent(nullptr);
  new TProbedForm(owner, seen);
  delete owner;
  (new TProbedForm(nullptr, seen))->Release();
  Application->ProcessMessages();
  EXPECT_EQ(seen, (std::vector<std::string>{"whole+ed", "whole+ed", "whole+ed"}))
      << "freed by delete, by its owner, by Release";

  // A form not on the heap: its destructor fires the event, still before the controls go.
  int fired = 0;
  {
    TForm onStack(nullptr);
    (new TEdit(&onStack))->SetParent(&onStack);
    onStack.OnDestroy = [&](TObject*) { fired += onStack.ControlCount(); };
  }
  EXPECT_EQ(fired, 1);
}

TEST_F(HeadlessTest, AFailingHandlerReachesHandleExceptionOnceAndNothingEscapes) {
  std::vector<std::string> errors;
  Application->OnException = [&](TObject*, const std::exception& E) { errors.push_back(E.what()); };
  auto* form = new TForm(nullptr);
  auto* button = new TButton(form);
  button->SetParent(form);
  button->OnClick = [](TObject*) { throw Exception("click"); };
  form->OnDestroy = [](TObject*) { throw Exception("destroy"); };
  button->PeerClick();
  Application->Post(form, [] { throw Exception("task"); });
  Application->ProcessMessages();
  delete form;
  EXPECT_EQ(errors, (std::vector<std::string>{"click", "task", "destroy"}));

  // Not even a failing error box gets out of the dispatcher.
  Application->OnException = [](TObject*, const std::exception&) { throw Exception("box failed"); };
  EXPECT_NO_THROW(DispatchInput(Application, [] { throw Exception("handler"); }));
  // Without a handler of its own, the program's error box, its text ending in a full stop.
  Application->OnException = nullptr;
  Application->SetTitle("Versora");
  for (const char* Text : {"Something failed", "Already ends."})
    DispatchInput(Application, [Text] { throw Exception(Text); });
  EXPECT_EQ(Headless::ErrorBoxes(), (std::vector<std::string>{"Something failed.", "Already ends."}));
  EXPECT_EQ(Headless::MessageBoxes()[0].Caption, "Versora");
}

TEST(Component, ChildrenKeepParentFontThroughNestedAndFailingChanges) {
  TForm form(nullptr);
  auto* panel = new TPanel(&form);
  panel->SetParent(&form);
  (new TLabel(&form))->SetParent(panel);
  auto* after = new TLabel(&form);
  after->SetParent(&form);
  form.Font().SetSize(12);
  form.Font().SetSize(14);
  EXPECT_EQ(after->Font().Size(), 14) << "a nested hand-down ended the outer one's ParentFont";
  EXPECT_TRUE(after->ParentFont());

  auto* failing = new TFailingFontControl(&form);
  failing->SetParent(&form);
  failing->Fail = true;
  EXPECT_THROW(form.Font().SetSize(16), Exception);
  after->Font().SetSize(9);
  EXPECT_FALSE(after->ParentFont()) << "a font set on the control itself after a failed hand-down";
}
