// Forms, the application object and the screen: top-level windows, the message loop, modal
// showing, and the error box that every exception escaping a handler ends in.
#pragma once
#include <functional>
#include <new>
#include <string>
#include <vector>

#include "framework/Controls.h"

class TMainMenu;
using TShortCut = unsigned short;

enum class TFormBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };
enum class TPosition { poDesigned, poDefault, poScreenCenter, poMainFormCenter, poOwnerFormCenter, poDesktopCenter };
enum class TCloseAction { caNone, caHide, caFree, caMinimize };
enum class TWindowState { wsNormal, wsMinimized, wsMaximized };
// The buttons of a form's title bar (a dialog or tool window has only the system menu).
enum TBorderIcon : unsigned { biSystemMenu = 1, biMinimize = 2, biMaximize = 4 };
using TBorderIcons = unsigned;

// How Print sizes the form's picture on the page: pixel for pixel, at the screen's size in
// inches, or as large as the page allows.
enum class TPrintScale { poNone, poProportional, poPrintToFit };

using TModalResult = int;
constexpr TModalResult mrNone = 0, mrOk = 1, mrCancel = 2, mrAbort = 3, mrRetry = 4,
                       mrIgnore = 5, mrYes = 6, mrNo = 7, mrAll = 8;

using TCloseEvent = std::function<void(TObject* Sender, TCloseAction& Action)>;
using TCloseQueryEvent = std::function<void(TObject* Sender, bool& CanClose)>;

class TCustomForm : public TWinControl {
public:
  explicit TCustomForm(TComponent* AOwner);
  ~TCustomForm() override;
  // Freeing a form fires OnDestroy first, while all of it (the derived form's own part, its
  // controls, its window) still exists; then the destructors take it apart.
  void operator delete(TCustomForm* Form, std::destroying_delete_t);

  TFormBorderStyle BorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(TFormBorderStyle Value);
  TBorderIcons BorderIcons() const { return FBorderIcons; }
  void SetBorderIcons(TBorderIcons Value);
  TPosition Position() const { return FPosition; }
  void SetPosition(TPosition Value) { FPosition = Value; }
  bool Scaled() const { return FScaled; }
  void SetScaled(bool Value) { FScaled = Value; }
  bool AutoScroll() const { return FAutoScroll; }
  void SetAutoScroll(bool Value) { FAutoScroll = Value; }
  bool KeyPreview() const { return FKeyPreview; }
  void SetKeyPreview(bool Value) { FKeyPreview = Value; }
  // Maximized or minimized, the window keeps the bounds it returns to in the system; Left,
  // Top, Width and Height then tell where the system shows it.
  TWindowState WindowState() const { return FWindowState; }
  void SetWindowState(TWindowState Value);

  int ClientWidth() const override { return FClientWidth; }
  int ClientHeight() const override { return FClientHeight; }
  void SetClientWidth(int Value) override;
  void SetClientHeight(int Value) override;
  void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;

  // The menu bar; its short cuts work from anywhere on the form.
  TMainMenu* Menu() const { return FMenu; }
  void SetMenu(TMainMenu* Value);
  // Clicks the menu item of that short cut; true when one took it.
  virtual bool IsShortCut(TShortCut Key);

  TWinControl* ActiveControl() const { return FActiveControl; }
  void SetActiveControl(TWinControl* Control);

  TModalResult ModalResult() const { return FModalResult; }
  void SetModalResult(TModalResult Value) { FModalResult = Value; }
  bool Modal() const { return FModal; }
  // Shows the form and runs a message loop until ModalResult is set; the other forms are
  // disabled meanwhile (TFormsDisabled).
  virtual TModalResult ShowModal();
  // Asks OnCloseQuery and OnClose; hides, frees or, for the main form, ends the program.
  void Close();
  // Frees the form once the event that asked for it has returned.
  void Release();
  void BringToFront();

  TPrintScale PrintScale() const { return FPrintScale; }
  void SetPrintScale(TPrintScale Value) { FPrintScale = Value; }
  // The client area's picture as it shows on the screen.
  void GetFormImage(TBitmap& Image);
  // Prints the form's picture, sized by PrintScale, as a one-page document on the chosen
  // printer; a document that fails on the way is aborted.
  void Print();

  TNotifyEvent OnCreate;
  TNotifyEvent OnDestroy;
  TNotifyEvent OnShow;
  TNotifyEvent OnHide;
  TNotifyEvent OnActivate;
  TNotifyEvent OnDeactivate;
  TCloseEvent OnClose;
  TCloseQueryEvent OnCloseQuery;
  // The form's size changed, from code (not while loading) or by the user or the system.
  TNotifyEvent OnResize;

  // Input reported by the peer.
  void PeerCloseRequested() { if (TakesInput()) DispatchInput(this, [&] { Close(); }); }
  void PeerActivated(bool Active);
  // The user moved or resized the window: the client size follows.
  void PeerBoundsChanged(int ALeft, int ATop, int AWidth, int AHeight) override;
  // The user (or the system) maximized, minimized or restored the window.
  void PeerWindowStateChanged(TWindowState Value) { FWindowState = Value; }

  // Bookkeeping for the controls on the form.
  void FocusMoved(TWinControl* Control);
  void ControlRemoved(TControl* Control);

  void SetVisible(bool Value) override;
  // The window comes with its menu bar.
  void HandleNeeded() override;
  const TPropertyTable& PropertyTable() const override;

protected:
  // Reads the form's linked layout, binds the registered fields, then fires OnCreate; an
  // exception in OnCreate is shown in the error box and construction goes on.
  void CreateFromLayout(const std::string& LayoutName);

  // Binds a field of the derived form to the component of that name once the layout is read.
  template <class T>
  void Published(T*& Field, const std::string& ComponentName) {
    FFieldBinders.push_back([this, &Field, ComponentName] {
      Field = dynamic_cast<T*>(FindComponent(ComponentName));
      if (!Field) throw EComponentError("Field " + ComponentName + " not found in the layout");
    });
  }
  template <class F>
  void PublishedMethod(const std::string& MethodName, F Handler) {
    RegisterMethod(MethodName, std::any(std::move(Handler)));
  }

  std::unique_ptr<TControlPeer> CreatePeer() override;
  virtual void DoCreate();
  virtual void DoShow() { if (OnShow) OnShow(this); }
  virtual void DoHide() { if (OnHide) OnHide(this); }
  virtual void Resize() { if (OnResize) OnResize(this); }
  virtual bool CloseQuery();
  void KeyDown(unsigned short& Key, TShiftState Shift) override;
  void Notification(TComponent* AComponent, TOperation Operation) override;

private:
  TMainMenu* FMenu = nullptr;
  TFormBorderStyle FBorderStyle = TFormBorderStyle::bsSizeable;
  TBorderIcons FBorderIcons = biSystemMenu | biMinimize | biMaximize;
  TPosition FPosition = TPosition::poDesigned;
  bool FScaled = true;
  bool FAutoScroll = true;
  bool FKeyPreview = false;
  TWindowState FWindowState = TWindowState::wsNormal;
  int FClientWidth = 0, FClientHeight = 0;
  TWinControl* FActiveControl = nullptr;
  TModalResult FModalResult = mrNone;
  bool FModal = false;
  bool FPlaced = false;
  TPrintScale FPrintScale = TPrintScale::poProportional;
  std::vector<std::function<void()>> FFieldBinders;

  // Fires OnDestroy, once: from delete, or else (a form that is not on the heap) from the
  // destructor.
  void BeforeDestruction();
  void PlaceOnFirstShow();
  void SyncWindowSize();
  // What the window adds around the client area: the frame, and the menu bar when there is one.
  void FrameSize(int& ExtraWidth, int& ExtraHeight) const;
  // Fires OnResize when the size differs from the one given (not while loading).
  void ResizedFrom(int OldWidth, int OldHeight);
};

class TForm : public TCustomForm {
public:
  using TCustomForm::TCustomForm;
};

// Flags and answers of TApplication::MessageBox, with the system's values.
namespace MsgBox {
constexpr unsigned Ok = 0, OkCancel = 1, AbortRetryIgnore = 2, YesNoCancel = 3, YesNo = 4,
                   RetryCancel = 5;
constexpr unsigned IconStop = 0x10, IconQuestion = 0x20, IconWarning = 0x30, IconInformation = 0x40;
constexpr unsigned DefButton2 = 0x100, DefButton3 = 0x200;
constexpr int IdOk = 1, IdCancel = 2, IdAbort = 3, IdRetry = 4, IdIgnore = 5, IdYes = 6, IdNo = 7;
}  // namespace MsgBox

using TExceptionEvent = std::function<void(TObject* Sender, const std::exception& E)>;

class TApplication : public TComponent {
public:
  explicit TApplication(TComponent* AOwner);

  // The program's name without its extension unless a title was set.
  std::string Title() const;
  void SetTitle(const std::string& Value) { FTitle = Value; }
  // The program's full file name.
  std::string ExeName() const;
  const std::string& HelpFile() const { return FHelpFile; }
  void SetHelpFile(const std::string& Value) { FHelpFile = Value; }
  bool ShowHint() const { return FShowHint; }
  void SetShowHint(bool Value);
  // Milliseconds before a control's short hint pops up, and before it goes again.
  int HintPause() const { return FHintPause; }
  void SetHintPause(int Value);
  int HintHidePause() const { return FHintHidePause; }
  void SetHintHidePause(int Value);
  // The long hint of the control under the mouse; setting a different one fires OnHint.
  const std::string& Hint() const { return FHint; }
  void SetHint(const std::string& Value);
  // The mouse is over Control: the hint becomes its long hint (or its parents', when it has none).
  void HintMouseMessage(TControl* Control);
  // Shows the help topic of that context in the help file, unless OnHelp takes the request.
  void HelpContext(int Context);

  TCustomForm* MainForm() const { return FMainForm; }
  bool Terminated() const { return FTerminated; }

  void Initialize() {}
  // Creates a form owned by the application; the first one becomes the main form.
  template <class T>
  void CreateForm(T*& Reference) {
    Reference = new T(this);
    if (!FMainForm) FMainForm = Reference;
  }
  // Shows the main form and runs the message loop until it closes.
  void Run();
  void Terminate();
  // Handles every message waiting in the queue, then returns.
  void ProcessMessages();
  // Waits for one message (or for Ms milliseconds) and handles what came.
  void WaitAndProcess(unsigned Ms);

  // Runs Task on the message loop later (after the current event returns), unless Target is
  // destroyed first.
  void Post(TComponent* Target, std::function<void()> Task);

  // Shows the exception being handled (call from a catch block) in the error box, or hands it
  // to OnException.
  void HandleException(TObject* Sender);
  void ShowException(const std::exception& E);
  int MessageBox(const std::string& Text, const std::string& Caption, unsigned Flags);

  TExceptionEvent OnException;
  TNotifyEvent OnHint;
  // A help request: a handler that sets CallHelp false keeps the help file closed.
  std::function<void(int Context, bool& CallHelp)> OnHelp;

protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;

private:
  friend class TCustomForm;
  friend struct THeadlessAccess;
  std::string FTitle;
  std::string FHelpFile;
  bool FShowHint = true;
  int FHintPause = 500, FHintHidePause = 2500;
  std::string FHint;
  TControl* FHintControl = nullptr;
  TCustomForm* FMainForm = nullptr;
  bool FTerminated = false;
};

class TScreen : public TComponent {
public:
  explicit TScreen(TComponent* AOwner);

  TCursor Cursor() const { return FCursor; }
  void SetCursor(TCursor Value);
  TCustomForm* ActiveForm() const { return FActiveForm; }
  int Width() const;
  int Height() const;
  int PixelsPerInch() const { return 96; }
  int FormCount() const { return static_cast<int>(FForms.size()); }
  TCustomForm* Forms(int Index) const { return FForms.at(Index); }

  // Bookkeeping by the forms.
  void AddForm(TCustomForm* Form) { FForms.push_back(Form); }
  void RemoveForm(TCustomForm* Form);
  void SetActiveForm(TCustomForm* Form) { FActiveForm = Form; }

private:
  TCursor FCursor = crDefault;
  TCustomForm* FActiveForm = nullptr;
  std::vector<TCustomForm*> FForms;
};

extern TApplication* Application;
extern TScreen* Screen;

// Restores the screen cursor when the scope ends, however it ends.
class TCursorGuard {
public:
  explicit TCursorGuard(TCursor During) : FSaved(Screen->Cursor()) { Screen->SetCursor(During); }
  ~TCursorGuard() { Screen->SetCursor(FSaved); }
  TCursorGuard(const TCursorGuard&) = delete;
  TCursorGuard& operator=(const TCursorGuard&) = delete;

private:
  TCursor FSaved;
};

// The hint's parts: the short text before "|", shown as the pop-up tip, and the long text
// after it (the whole hint when there is no "|").
std::string GetShortHint(const std::string& Hint);
std::string GetLongHint(const std::string& Hint);

// The default beep of a refused action.
void Beep();
// The system sound that goes with a message box's icon (MsgBox::IconStop, IconWarning...).
void Beep(unsigned Sound);

// Whether a top-level window of that window class exists on the desktop, any program's.
bool TopLevelWindowExists(const std::string& ClassName);

// The Shift, Ctrl and Alt keys held down at this moment (ssShift, ssCtrl, ssAlt).
TShiftState KeyboardShiftState();

// Disables every shown form but Keep for the life of the scope, as a modal window does to the
// others, and enables them again however the scope ends, before Keep goes (so that the window
// the user worked in becomes active again). A form disabled before stays so; one freed
// meanwhile is left alone.
class TFormsDisabled {
public:
  explicit TFormsDisabled(const TCustomForm* Keep);
  ~TFormsDisabled();
  TFormsDisabled(const TFormsDisabled&) = delete;
  TFormsDisabled& operator=(const TFormsDisabled&) = delete;

private:
  std::vector<TCustomForm*> FForms;
};

// Frees the window held in a process-wide reference and empties the reference when the scope
// ends, on every path: the modal windows shown once and freed at once.
template <class T>
class TFreeWindowOnExit {
public:
  explicit TFreeWindowOnExit(T*& Window) : FWindow(Window) {}
  ~TFreeWindowOnExit() {
    delete FWindow;
    FWindow = nullptr;
  }
  TFreeWindowOnExit(const TFreeWindowOnExit&) = delete;
  TFreeWindowOnExit& operator=(const TFreeWindowOnExit&) = delete;

private:
  T*& FWindow;
};

// Implemented by the backend.
namespace Backend {
void FrameSize(TFormBorderStyle Style, int& ExtraWidth, int& ExtraHeight);
void ScreenSize(int& Width, int& Height);
TShiftState KeyboardShiftState();
std::string ExeName();
void RunMessageLoop();
void ProcessMessages();
void WaitAndProcess(unsigned Ms);
void Post(std::function<void()> Task);
void RunModal(TCustomForm& Form);
// The form's client area as drawn on the screen, Image sized to it.
void CaptureFormImage(TCustomForm& Form, TBitmap& Image);
int MessageBox(const std::string& Text, const std::string& Caption, unsigned Flags);
void SetCursor(TCursor Cursor);
// Sound 0 is the default beep.
void Beep(unsigned Sound);
bool TopLevelWindowExists(const std::string& ClassName);
void Quit();
// The application's hint settings changed (show, pauses).
void HintSettingsChanged();
void ShowHelp(const std::string& HelpFile, int Context);
}  // namespace Backend
