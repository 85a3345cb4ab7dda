#include "framework/Forms.h"

#include <algorithm>
#include <map>

#include "framework/Layout.h"
#include "framework/Menus.h"
#include "framework/Printers.h"
#include "framework/PropertyTable.h"
#include "framework/rtl/FileUtils.h"

TApplication* Application = new TApplication(nullptr);
TScreen* Screen = new TScreen(nullptr);

namespace {
// Targets of posted tasks that have not run yet, by task id.
std::map<unsigned, TComponent*> GPendingTargets;
unsigned GNextTaskId = 1;
}  // namespace

// ---------------------------------------------------------------------------------------------
// TCustomForm

TCustomForm::TCustomForm(TComponent* AOwner) : TWinControl(AOwner) {
  SetVisible(false);
  Screen->AddForm(this);
}

TCustomForm::~TCustomForm() {
  BeforeDestruction();
  if (Screen->ActiveForm() == this) Screen->SetActiveForm(nullptr);
  Screen->RemoveForm(this);
  if (Application->FMainForm == this) Application->FMainForm = nullptr;
  // The controls go while the form is still whole, so their removal can reach it.
  FActiveControl = nullptr;
  DestroyComponents();
  DestroyHandle();
}

void TCustomForm::operator delete(TCustomForm* Form, std::destroying_delete_t) {
  void* block = dynamic_cast<void*>(Form);
  Form->BeforeDestruction();
  Form->~TCustomForm();
  ::operator delete(block);
}

void TCustomForm::BeforeDestruction() {
  if (IsDestroying()) return;
  Destroying();
  if (OnDestroy) DispatchInput(this, [this] { OnDestroy(this); });
}

void TCustomForm::CreateFromLayout(const std::string& LayoutName) {
  ReadLayout(this, LayoutName);
  for (auto& bind : FFieldBinders) bind();
  FFieldBinders.clear();
  DoCreate();
}

void TCustomForm::DoCreate() {
  if (OnCreate) DispatchInput(this, [this] { OnCreate(this); });
}

void TCustomForm::SetBorderStyle(TFormBorderStyle Value) {
  if (FBorderStyle == Value) return;
  FBorderStyle = Value;
  SyncWindowSize();
  PeerNotify(TPeerChange::Style);
}

void TCustomForm::FrameSize(int& ExtraWidth, int& ExtraHeight) const {
  Backend::FrameSize(FBorderStyle, ExtraWidth, ExtraHeight);
  if (FMenu) ExtraHeight += Backend::MenuBarHeight();
}

void TCustomForm::SetMenu(TMainMenu* Value) {
  if (FMenu == Value) return;
  if (FMenu) FMenu->RemoveFreeNotification(this);
  FMenu = Value;
  if (Value) {
    Value->FreeNotification(this);
    if (HandleAllocated()) Value->AttachToWindow(*this);
  }
  // The client area keeps its size; the window grows by the menu bar.
  SyncWindowSize();
}

void TCustomForm::HandleNeeded() {
  const bool had = HandleAllocated();
  TWinControl::HandleNeeded();
  if (!had && HandleAllocated() && FMenu) FMenu->AttachToWindow(*this);
}

bool TCustomForm::IsShortCut(TShortCut Key) { return FMenu && FMenu->IsShortCut(Key); }

void TCustomForm::Notification(TComponent* AComponent, TOperation Operation) {
  TWinControl::Notification(AComponent, Operation);
  if (Operation == TOperation::opRemove && AComponent == FMenu) FMenu = nullptr;
}

void TCustomForm::SyncWindowSize() {
  int dx, dy;
  FrameSize(dx, dy);
  const int oldWidth = Width(), oldHeight = Height();
  TWinControl::SetBounds(Left(), Top(), FClientWidth + dx, FClientHeight + dy);
  ResizedFrom(oldWidth, oldHeight);
}

void TCustomForm::ResizedFrom(int OldWidth, int OldHeight) {
  if ((Width() != OldWidth || Height() != OldHeight) && !IsLoading()) Resize();
}

void TCustomForm::SetClientWidth(int Value) { FClientWidth = Value; SyncWindowSize(); }
void TCustomForm::SetClientHeight(int Value) { FClientHeight = Value; SyncWindowSize(); }

void TCustomForm::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
  int dx, dy;
  FrameSize(dx, dy);
  FClientWidth = std::max(0, AWidth - dx);
  FClientHeight = std::max(0, AHeight - dy);
  const int oldWidth = Width(), oldHeight = Height();
  TWinControl::SetBounds(ALeft, ATop, AWidth, AHeight);
  ResizedFrom(oldWidth, oldHeight);
}

void TCustomForm::PeerBoundsChanged(int ALeft, int ATop, int AWidth, int AHeight) {
  const int oldWidth = Width(), oldHeight = Height();
  TWinControl::PeerBoundsChanged(ALeft, ATop, AWidth, AHeight);
  int dx, dy;
  FrameSize(dx, dy);
  FClientWidth = std::max(0, AWidth - dx);
  FClientHeight = std::max(0, AHeight - dy);
  AlignControls();
  DispatchInput(this, [&] { ResizedFrom(oldWidth, oldHeight); });
}

void TCustomForm::SetBorderIcons(TBorderIcons Value) {
  if (FBorderIcons == Value) return;
  FBorderIcons = Value;
  PeerNotify(TPeerChange::Style);
}

void TCustomForm::SetWindowState(TWindowState Value) {
  if (FWindowState == Value) return;
  FWindowState = Value;
  // The peer shows a hidden window in this state when it is shown.
  PeerNotify(TPeerChange::Style);
}

void TCustomForm::SetActiveControl(TWinControl* Control) {
  if (FActiveControl == Control) return;
  FocusMoved(Control);
  if (Control) Control->PeerNotify(TPeerChange::Focus);
}

void TCustomForm::FocusMoved(TWinControl* Control) {
  if (FActiveControl == Control) return;
  TWinControl* old = FActiveControl;
  FActiveControl = Control;
  if (old) old->DoExit();
  if (Control) Control->DoEnter();
}

void TCustomForm::ControlRemoved(TControl* Control) {
  if (FActiveControl == Control) FActiveControl = nullptr;
}

void TCustomForm::PlaceOnFirstShow() {
  if (FPlaced) return;
  FPlaced = true;
  if (FPosition == TPosition::poScreenCenter || FPosition == TPosition::poDesktopCenter ||
      (FPosition == TPosition::poMainFormCenter && !Application->MainForm())) {
    SetBounds((Screen->Width() - Width()) / 2, (Screen->Height() - Height()) / 2, Width(), Height());
  } else if (FPosition == TPosition::poMainFormCenter || FPosition == TPosition::poOwnerFormCenter) {
    TCustomForm* center = Application->MainForm();
    if (FPosition == TPosition::poOwnerFormCenter)
      if (auto* owner = As<TCustomForm>(Owner())) center = owner;
    if (center && center != this)
      SetBounds(center->Left() + (center->Width() - Width()) / 2,
                center->Top() + (center->Height() - Height()) / 2, Width(), Height());
  }
}

void TCustomForm::SetVisible(bool Value) {
  if (Value == Visible()) return;
  if (Value) {
    PlaceOnFirstShow();
    HandleNeeded();
    TWinControl::SetVisible(true);
    Screen->SetActiveForm(this);
    DoShow();
  } else {
    TWinControl::SetVisible(false);
    if (Screen->ActiveForm() == this) Screen->SetActiveForm(nullptr);
    DoHide();
  }
}

void TCustomForm::PeerActivated(bool Active) {
  DispatchInput(this, [&] {
    if (Active) {
      Screen->SetActiveForm(this);
      if (OnActivate) OnActivate(this);
    } else if (OnDeactivate) {
      OnDeactivate(this);
    }
  });
}

TModalResult TCustomForm::ShowModal() {
  if (Visible() || FModal) throw EComponentError("Cannot make a visible window modal");
  FModalResult = mrNone;
  FModal = true;
  TCustomForm* previous = Screen->ActiveForm();
  struct TRestore {
    TCustomForm* Form;
    TCustomForm* Previous;
    ~TRestore() {
      Form->FModal = false;
      Form->Hide();
      if (Previous) Screen->SetActiveForm(Previous);
    }
  } restore{this, previous};
  Show();
  const TFormsDisabled others(this);
  Backend::RunModal(*this);
  return FModalResult;
}

TFormsDisabled::TFormsDisabled(const TCustomForm* Keep) {
  for (int i = 0; i < Screen->FormCount(); ++i) {
    TCustomForm* form = Screen->Forms(i);
    if (form != Keep && form->Visible() && form->Enabled()) FForms.push_back(form);
  }
  for (TCustomForm* form : FForms) form->SetEnabled(false);
}

TFormsDisabled::~TFormsDisabled() {
  for (auto it = FForms.rbegin(); it != FForms.rend(); ++it) {
    bool alive = false;
    for (int i = 0; i < Screen->FormCount() && !alive; ++i) alive = Screen->Forms(i) == *it;
    if (alive) (*it)->SetEnabled(true);
  }
}

bool TCustomForm::CloseQuery() {
  bool canClose = true;
  if (OnCloseQuery) OnCloseQuery(this, canClose);
  return canClose;
}

void TCustomForm::Close() {
  if (FModal) {
    if (!CloseQuery()) return;
    TCloseAction action = TCloseAction::caHide;
    if (OnClose) OnClose(this, action);
    if (action == TCloseAction::caNone) { FModalResult = mrNone; return; }
    if (FModalResult == mrNone) FModalResult = mrCancel;
    return;
  }
  if (!CloseQuery()) return;
  TCloseAction action = Application->MainForm() == this ? TCloseAction::caFree : TCloseAction::caHide;
  if (OnClose) OnClose(this, action);
  if (action == TCloseAction::caNone) return;
  if (Application->MainForm() == this) {
    Application->Terminate();
    return;
  }
  if (action == TCloseAction::caHide) Hide();
  else if (action == TCloseAction::caFree) Release();
}

void TCustomForm::Release() {
  Application->Post(Application, [this] { delete this; });
}

void TCustomForm::BringToFront() { PeerNotify(TPeerChange::Focus); }

void TCustomForm::GetFormImage(TBitmap& Image) {
  HandleNeeded();
  Backend::CaptureFormImage(*this, Image);
}

namespace {

int ScaleBy(int Value, int Multiplier, int Divisor) {
  return Divisor <= 0 ? 0 : static_cast<int>(static_cast<long long>(Value) * Multiplier / Divisor);
}

}  // namespace

void TCustomForm::Print() {
  TBitmap Image;
  GetFormImage(Image);
  TPrinter& P = *Printer();
  P.BeginDoc();
  struct TAbortUnlessEnded {
    TPrinter& P;
    ~TAbortUnlessEnded() {
      if (P.Printing()) P.Abort();
    }
  } Guard{P};
  int Width = Image.Width(), Height = Image.Height();
  if (FPrintScale == TPrintScale::poProportional) {
    Width = ScaleBy(Image.Width(), P.DeviceCaps(dcLogPixelsX), Screen->PixelsPerInch());
    Height = ScaleBy(Image.Height(), P.DeviceCaps(dcLogPixelsY), Screen->PixelsPerInch());
  } else if (FPrintScale == TPrintScale::poPrintToFit) {
    // The full page height, unless the picture is then wider than the page.
    Width = ScaleBy(Image.Width(), P.PageHeight(), Image.Height());
    Height = P.PageHeight();
    if (Width >= P.PageWidth()) {
      Width = P.PageWidth();
      Height = ScaleBy(Image.Height(), P.PageWidth(), Image.Width());
    }
  }
  P.Canvas()->StretchDraw(0, 0, Width, Height, Image);
  P.EndDoc();
}

void TCustomForm::KeyDown(unsigned short& Key, TShiftState Shift) {
  TWinControl::KeyDown(Key, Shift);
}

const TPropertyTable& TCustomForm::PropertyTable() const {
  static const TPropertyTable Table(&TWinControl::PropertyTable(), {
      {"Menu", ReferenceProperty(&TCustomForm::SetMenu, "a main menu")},
      {"BorderStyle", Setter<TCustomForm>([](TCustomForm& F, const TLayoutValue& V) {
         F.SetBorderStyle(V.AsEnum<TFormBorderStyle>({{"bsNone", TFormBorderStyle::bsNone},
                                                       {"bsSingle", TFormBorderStyle::bsSingle},
                                                       {"bsSizeable", TFormBorderStyle::bsSizeable},
                                                       {"bsDialog", TFormBorderStyle::bsDialog},
                                                       {"bsToolWindow", TFormBorderStyle::bsToolWindow},
                                                       {"bsSizeToolWin", TFormBorderStyle::bsSizeToolWin}}));
       })},
      {"BorderIcons", Setter<TCustomForm>([](TCustomForm& F, const TLayoutValue& V) {
         F.SetBorderIcons(V.AsSet({{"biSystemMenu", biSystemMenu}, {"biMinimize", biMinimize},
                                   {"biMaximize", biMaximize}}));
       })},
      {"Position", Setter<TCustomForm>([](TCustomForm& F, const TLayoutValue& V) {
         F.SetPosition(V.AsEnum<TPosition>({{"poDesigned", TPosition::poDesigned},
                                             {"poDefault", TPosition::poDefault},
                                             {"poScreenCenter", TPosition::poScreenCenter},
                                             {"poMainFormCenter", TPosition::poMainFormCenter},
                                             {"poOwnerFormCenter", TPosition::poOwnerFormCenter},
                                             {"poDesktopCenter", TPosition::poDesktopCenter}}));
       })},
      {"Scaled", BooleanProperty(&TCustomForm::SetScaled)},
      {"AutoScroll", BooleanProperty(&TCustomForm::SetAutoScroll)},
      {"KeyPreview", BooleanProperty(&TCustomForm::SetKeyPreview)},
      {"WindowState", Setter<TCustomForm>([](TCustomForm& F, const TLayoutValue& V) {
         F.SetWindowState(V.AsEnum<TWindowState>({{"wsNormal", TWindowState::wsNormal},
                                                   {"wsMinimized", TWindowState::wsMinimized},
                                                   {"wsMaximized", TWindowState::wsMaximized}}));
       })},
      {"OnCreate", EventProperty(&TCustomForm::OnCreate)},
      {"OnDestroy", EventProperty(&TCustomForm::OnDestroy)},
      {"OnShow", EventProperty(&TCustomForm::OnShow)},
      {"OnHide", EventProperty(&TCustomForm::OnHide)},
      {"OnActivate", EventProperty(&TCustomForm::OnActivate)},
      {"OnClose", EventProperty(&TCustomForm::OnClose)},
      {"OnCloseQuery", EventProperty(&TCustomForm::OnCloseQuery)},
      {"OnResize", EventProperty(&TCustomForm::OnResize)},
  });
  return Table;
}

// ---------------------------------------------------------------------------------------------
// TApplication

TApplication::TApplication(TComponent* AOwner) : TComponent(AOwner) {}

std::string TApplication::ExeName() const { return Backend::ExeName(); }

std::string TApplication::Title() const {
  if (!FTitle.empty()) return FTitle;
  return ChangeFileExt(ExtractFileName(ExeName()), "");
}

void TApplication::Run() {
  if (!FMainForm) return;
  FMainForm->Show();
  if (FTerminated) return;
  Backend::RunMessageLoop();
}

void TApplication::Terminate() {
  if (FTerminated) return;
  FTerminated = true;
  Backend::Quit();
}

void TApplication::ProcessMessages() { Backend::ProcessMessages(); }
void TApplication::WaitAndProcess(unsigned Ms) { Backend::WaitAndProcess(Ms); }

void TApplication::Post(TComponent* Target, std::function<void()> Task) {
  unsigned id = GNextTaskId++;
  GPendingTargets[id] = Target;
  if (Target && Target != this) FreeNotification(Target);
  Backend::Post([id, task = std::move(Task)] {
    auto it = GPendingTargets.find(id);
    if (it == GPendingTargets.end()) return;
    bool alive = it->second != nullptr;
    GPendingTargets.erase(it);
    if (alive) DispatchInput(Application, task);
  });
}

void TApplication::SetShowHint(bool Value) {
  FShowHint = Value;
  Backend::HintSettingsChanged();
}

void TApplication::SetHintPause(int Value) {
  FHintPause = Value;
  Backend::HintSettingsChanged();
}

void TApplication::SetHintHidePause(int Value) {
  FHintHidePause = Value;
  Backend::HintSettingsChanged();
}

void TApplication::SetHint(const std::string& Value) {
  if (FHint == Value) return;
  FHint = Value;
  if (OnHint) OnHint(this);
}

void TApplication::HintMouseMessage(TControl* Control) {
  if (Control == FHintControl) return;
  if (FHintControl) RemoveFreeNotification(FHintControl);
  FHintControl = Control;
  if (Control) FreeNotification(Control);
  std::string hint;
  for (TControl* c = Control; c && hint.empty(); c = c->Parent()) hint = c->Hint();
  SetHint(GetLongHint(hint));
}

void TApplication::HelpContext(int Context) {
  bool callHelp = true;
  if (OnHelp) OnHelp(Context, callHelp);
  if (callHelp) Backend::ShowHelp(FHelpFile, Context);
}

std::string GetShortHint(const std::string& Hint) {
  size_t bar = Hint.find('|');
  return bar == std::string::npos ? Hint : Hint.substr(0, bar);
}

std::string GetLongHint(const std::string& Hint) {
  size_t bar = Hint.find('|');
  return bar == std::string::npos ? Hint : Hint.substr(bar + 1);
}

void TApplication::Notification(TComponent* AComponent, TOperation Operation) {
  TComponent::Notification(AComponent, Operation);
  if (Operation != TOperation::opRemove) return;
  if (AComponent == FHintControl) FHintControl = nullptr;
  for (auto& [id, target] : GPendingTargets)
    if (target == AComponent) target = nullptr;
}

void TApplication::HandleException(TObject* Sender) {
  std::exception_ptr current = std::current_exception();
  if (!current) return;
  try {
    std::rethrow_exception(current);
  } catch (const std::exception& e) {
    if (OnException) OnException(Sender, e);
    else ShowException(e);
  } catch (...) {
    ShowException(Exception("Unknown exception"));
  }
}

void TApplication::ShowException(const std::exception& E) {
  std::string msg = E.what();
  // The error box ends every message with a full stop, as the platform's does.
  if (!msg.empty() && msg.back() > '.') msg += '.';
  MessageBox(msg, Title(), MsgBox::Ok | MsgBox::IconStop);
}

int TApplication::MessageBox(const std::string& Text, const std::string& Caption, unsigned Flags) {
  return Backend::MessageBox(Text, Caption, Flags);
}

// ---------------------------------------------------------------------------------------------
// TScreen

TScreen::TScreen(TComponent* AOwner) : TComponent(AOwner) {}

void TScreen::SetCursor(TCursor Value) {
  if (FCursor == Value) return;
  FCursor = Value;
  Backend::SetCursor(Value);
}

int TScreen::Width() const { int w, h; Backend::ScreenSize(w, h); return w; }
int TScreen::Height() const { int w, h; Backend::ScreenSize(w, h); return h; }

void TScreen::RemoveForm(TCustomForm* Form) { std::erase(FForms, Form); }

void Beep() { Backend::Beep(0); }
void Beep(unsigned Sound) { Backend::Beep(Sound); }

bool TopLevelWindowExists(const std::string& ClassName) { return Backend::TopLevelWindowExists(ClassName); }

TShiftState KeyboardShiftState() { return Backend::KeyboardShiftState(); }

void DispatchInput(const std::function<TObject*()>& Sender, const std::function<void()>& Handle) noexcept {
  try {
    Handle();
  } catch (...) {
    try {
      Application->HandleException(Sender());
    } catch (...) {
      // The error box itself failed: nothing is left that could show it.
    }
  }
}

void DispatchInput(TObject* Sender, const std::function<void()>& Handle) noexcept {
  DispatchInput([Sender] { return Sender; }, Handle);
}
