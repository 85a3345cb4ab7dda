// Controls: the model of everything shown in a window. A control keeps its state in its own
// fields; a backend peer, when one exists, mirrors that state onto a real window and reports the
// user's input back through the Peer... entries. With no peer every property and event works
// the same, which is how the headless backend runs.
//
// Event rules (the platform's, which guard flags elsewhere rely on): setting Text or Caption of
// an edit from code fires OnChange exactly as typing does; setting Checked of a check box or
// radio button fires OnClick when the value changes; setting ItemIndex of a list or combo box
// from code fires neither OnClick nor OnChange, while setting the Text of an editable combo box
// fires OnChange. Setting ActivePage of a page control or a check of a check list from code
// fires nothing. Setting a value equal to the current one fires nothing.
#pragma once
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "framework/Classes.h"
#include "framework/Graphics.h"

class TWinControl;
class TCustomForm;
class TPopupMenu;

// Raised where a control is asked for what its state does not allow (focus while hidden or
// disabled, a window without a parent window).
class EInvalidOperation : public Exception { using Exception::Exception; };

// The dispatcher: runs the handling of one piece of user input (or of a posted task, a timer, a
// form's own event). Whatever escapes it goes to Application->HandleException; nothing escapes
// the dispatcher itself, so no exception crosses back into the window system.
void DispatchInput(TObject* Sender, const std::function<void()>& Handle) noexcept;
// For input whose handling may destroy its sender: the sender is asked for only after a failure.
void DispatchInput(const std::function<TObject*()>& Sender, const std::function<void()>& Handle) noexcept;

enum class TMouseButton { mbLeft, mbRight, mbMiddle };

enum TShiftStateBit : unsigned {
  ssShift = 1, ssAlt = 2, ssCtrl = 4, ssLeft = 8, ssRight = 16, ssMiddle = 32, ssDouble = 64
};
using TShiftState = unsigned;

using TMouseEvent =
    std::function<void(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y)>;
using TMouseMoveEvent = std::function<void(TObject* Sender, TShiftState Shift, int X, int Y)>;
using TKeyEvent = std::function<void(TObject* Sender, unsigned short& Key, TShiftState Shift)>;
using TKeyPressEvent = std::function<void(TObject* Sender, char& Key)>;

enum class TScrollStyle { ssNone, ssHorizontal, ssVertical, ssBoth };

// Where a control keeps itself in its parent: along an edge at its own height or width, or
// filling what the edge controls leave.
enum class TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient };

struct TRect {
  int Left = 0, Top = 0, Right = 0, Bottom = 0;
  int Width() const { return Right - Left; }
  int Height() const { return Bottom - Top; }
  bool operator==(const TRect&) const = default;
};

struct TPoint {
  int X = 0, Y = 0;
  bool operator==(const TPoint&) const = default;
};

// What changed in a control's model, for its peer.
enum class TPeerChange {
  Bounds, Text, Visible, Enabled, Font, Color, Focus, Contents, Layout, Redraw, Invalidate, Style
};

// The backend's mirror of one control.
class TControlPeer {
public:
  virtual ~TControlPeer() = default;
  virtual void Changed(TPeerChange What) = 0;
};

// Size limits that the user's resizing respects (0: no limit).
struct TSizeConstraints {
  int MinWidth = 0, MaxWidth = 0, MinHeight = 0, MaxHeight = 0;
};

class TControl : public TComponent {
  friend class TWinControl;

public:
  explicit TControl(TComponent* AOwner);
  ~TControl() override;

  TWinControl* Parent() const { return FParent; }
  virtual void SetParent(TWinControl* AParent);

  int Left() const { return FLeft; }
  int Top() const { return FTop; }
  int Width() const { return FWidth; }
  int Height() const { return FHeight; }
  void SetLeft(int Value) { SetBounds(Value, FTop, FWidth, FHeight); }
  void SetTop(int Value) { SetBounds(FLeft, Value, FWidth, FHeight); }
  void SetWidth(int Value) { SetBounds(FLeft, FTop, Value, FHeight); }
  void SetHeight(int Value) { SetBounds(FLeft, FTop, FWidth, Value); }
  virtual void SetBounds(int ALeft, int ATop, int AWidth, int AHeight);
  TRect BoundsRect() const { return {FLeft, FTop, FLeft + FWidth, FTop + FHeight}; }
  virtual int ClientWidth() const { return FWidth; }
  virtual int ClientHeight() const { return FHeight; }
  virtual void SetClientWidth(int Value) { SetWidth(Value); }
  virtual void SetClientHeight(int Value) { SetHeight(Value); }
  TAlign Align() const { return FAlign; }
  void SetAlign(TAlign Value);

  bool Visible() const { return FVisible; }
  virtual void SetVisible(bool Value);
  void Show() { SetVisible(true); }
  void Hide() { SetVisible(false); }
  bool Enabled() const { return FEnabled; }
  virtual void SetEnabled(bool Value);

  // Caption and Text are one value, as on the platform.
  const std::string& Caption() const { return FText; }
  void SetCaption(const std::string& Value) { SetText(Value); }
  const std::string& Text() const { return FText; }
  virtual void SetText(const std::string& Value);

  TFont& Font() { return FFont; }
  const TFont& Font() const { return FFont; }
  TColor Color() const { return FColor; }
  virtual void SetColor(TColor Value);
  bool ParentFont() const { return FParentFont; }
  void SetParentFont(bool Value);
  TCursor Cursor() const { return FCursor; }
  void SetCursor(TCursor Value) { FCursor = Value; }
  const std::string& Hint() const { return FHint; }
  void SetHint(const std::string& Value) { FHint = Value; }
  bool ShowHint() const { return FShowHint; }
  // Setting ShowHint stops taking the parent's.
  void SetShowHint(bool Value) { FShowHint = Value; FParentShowHint = false; }
  bool ParentShowHint() const { return FParentShowHint; }
  void SetParentShowHint(bool Value) { FParentShowHint = Value; }
  // Whether the control's short hint pops up: its own ShowHint, or its parent's while it takes
  // the parent's, and the application's.
  bool HintShown() const;
  // The help topic of the control (0: none).
  int HelpContext() const { return FHelpContext; }
  void SetHelpContext(int Value) { FHelpContext = Value; }
  // The pop-up menu that a right click on the control opens.
  TPopupMenu* PopupMenu() const { return FPopupMenu; }
  void SetPopupMenu(TPopupMenu* Value);
  TSizeConstraints& Constraints() { return FConstraints; }

  // The form this control sits on, through its parents.
  TCustomForm* ParentForm() const;

  virtual void Invalidate();
  virtual void Update() {}

  TNotifyEvent OnClick;
  TNotifyEvent OnDblClick;
  TMouseEvent OnMouseDown;
  TMouseEvent OnMouseUp;
  TMouseMoveEvent OnMouseMove;

  // Whether the user's input reaches the control: not while its form is disabled (under a
  // modal window, or while a report runs). The system gives a real window none then; the
  // Peer entries below refuse what a test sends the same way.
  bool TakesInput() const;

  // Input reported by the peer (or sent by a test).
  void PeerMouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    if (TakesInput()) DispatchInput(this, [&] { MouseDown(Button, Shift, X, Y); });
  }
  void PeerMouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
    if (TakesInput()) DispatchInput(this, [&] { MouseUp(Button, Shift, X, Y); });
  }
  // The mouse moved over the control: the application's hint follows the control under it.
  void PeerMouseMove(TShiftState Shift, int X, int Y);
  // The user asked for the control's context menu (right click) at a screen point: its pop-up
  // menu opens; false when it has none (the parent's may then open).
  bool PeerContextPopup(int ScreenX, int ScreenY);
  void PeerClick() { if (TakesInput()) DispatchInput(this, [&] { Click(); }); }
  void PeerDblClick() { if (TakesInput()) DispatchInput(this, [&] { DblClick(); }); }
  virtual void PeerBoundsChanged(int ALeft, int ATop, int AWidth, int AHeight);

  TControlPeer* Peer() const { return FPeer.get(); }
  void PeerNotify(TPeerChange What) { if (FPeer) FPeer->Changed(What); }
  // Creates the peer (and the peers of the children) when the backend has one for this class.
  virtual void HandleNeeded();
  bool HandleAllocated() const { return FPeer != nullptr; }
  // Drops the peer and the real window behind it; the model stays.
  virtual void DestroyHandle();

  void SetParentComponent(TComponent* Value) override;
  const TPropertyTable& PropertyTable() const override;

protected:
  virtual void MouseMove(TShiftState Shift, int X, int Y) { if (OnMouseMove) OnMouseMove(this, Shift, X, Y); }
  void Notification(TComponent* AComponent, TOperation Operation) override;
  virtual void Click();
  virtual void DblClick();
  virtual void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y);
  virtual void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y);
  virtual void FontChanged();
  // The backend's peer for this control, or nullptr (defined by the backend per class).
  virtual std::unique_ptr<TControlPeer> CreatePeer();

  std::unique_ptr<TControlPeer> FPeer;
  TColor FColor = clBtnFace;

private:
  TWinControl* FParent = nullptr;
  int FLeft = 0, FTop = 0, FWidth = 0, FHeight = 0;
  bool FVisible = true;
  bool FEnabled = true;
  std::string FText;
  TFont FFont;
  bool FParentFont = true;
  TCursor FCursor = crDefault;
  std::string FHint;
  bool FShowHint = false;
  bool FParentShowHint = true;
  TPopupMenu* FPopupMenu = nullptr;
  int FHelpContext = 0;
  TSizeConstraints FConstraints;
  TAlign FAlign = TAlign::alNone;
};

class TWinControl : public TControl {
  friend class TCustomForm;

public:
  explicit TWinControl(TComponent* AOwner);
  ~TWinControl() override;

  int ControlCount() const { return static_cast<int>(FControls.size()); }
  TControl* Controls(int Index) const { return FControls.at(Index); }
  void InsertControl(TControl* AControl);
  void RemoveControl(TControl* AControl);

  int TabOrder() const { return FTabOrder; }
  void SetTabOrder(int Value) { FTabOrder = Value; }
  bool TabStop() const { return FTabStop; }
  void SetTabStop(bool Value) { FTabStop = Value; }

  bool CanFocus() const;
  virtual void SetFocus();
  bool Focused() const;

  // Suspends and resumes the window's repainting (one repaint after a long change).
  void SetRedraw(bool On);
  bool RedrawLocked() const { return FRedrawLocked; }

  void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
  // Places the aligned children: the top ones, then the bottom, left and right ones in the
  // order they were added, each along what the earlier ones left; the client ones fill the rest.
  void AlignControls();

  void HandleNeeded() override;
  void DestroyHandle() override;
  // Makes the window anew, for a style that the system control takes only when it is made;
  // nothing while there is none.
  void RecreateWnd();

  TKeyEvent OnKeyDown;
  TKeyEvent OnKeyUp;
  TKeyPressEvent OnKeyPress;
  TNotifyEvent OnEnter;
  TNotifyEvent OnExit;

  // Keyboard and focus input reported by the peer. A form with KeyPreview sees the key first;
  // a key it clears goes no further.
  void PeerKeyDown(unsigned short& Key, TShiftState Shift);
  void PeerKeyPress(char& Key);
  void PeerFocusChanged(bool GotFocus);

  const TPropertyTable& PropertyTable() const override;

protected:
  virtual void KeyDown(unsigned short& Key, TShiftState Shift) { if (OnKeyDown) OnKeyDown(this, Key, Shift); }
  virtual void KeyPress(char& Key) { if (OnKeyPress) OnKeyPress(this, Key); }
  virtual void DoEnter() { if (OnEnter) OnEnter(this); }
  virtual void DoExit() { if (OnExit) OnExit(this); }
  void FontChanged() override;
  // The part of the client area that aligned children share.
  virtual TRect AlignRect() const { return {0, 0, ClientWidth(), ClientHeight()}; }

private:
  std::vector<TControl*> FControls;
  bool FAligning = false;
  int FTabOrder = -1;
  bool FTabStop = false;
  bool FRedrawLocked = false;
};

// A control that draws itself inside its parent (labels, shapes).
class TGraphicControl : public TControl {
public:
  using TControl::TControl;
};

// A custom-drawn control with a window of its own.
class TCustomControl : public TWinControl {
public:
  using TWinControl::TWinControl;
};
