// Private parts shared by the Win32 backend: the peer that every window of ours is built on, and
// colours, fonts and cursors in GDI terms. Every call into the model from a window procedure or
// a callback goes through the dispatcher (DispatchInput), so no exception reaches the system.
#pragma once
#include <functional>
#include <memory>
#include <string>
#include <type_traits>
#include <vector>

#include "framework/win32/Win32Handles.h"
#include "framework/Controls.h"
#include "framework/Forms.h"

class TCustomForm;

namespace Win32 {

HINSTANCE Instance();
// Loads the common controls and registers our window classes, once.
void InitControls();
// Registers a window class of ours (our window procedure, the arrow cursor) once.
void RegisterOwnClass(const char* ClassName, UINT Style);
extern const char* const FormClassName;
extern const char* const GridClassName;

COLORREF ColorToRGB(TColor Color);
// Fills the window's whole client area with Color on Dc (a window's background erase).
void FillClient(HWND Window, HDC Dc, TColor Color);

using TFontHandle = std::shared_ptr<std::remove_pointer_t<HFONT>>;
// A GDI font for the description, shared by every window that shows the same font and deleted
// when the last of them lets it go.
TFontHandle FontHandle(const TFont& Font);

HCURSOR CursorHandle(TCursor Cursor);
// The cursor that overrides every window's own, or crDefault.
TCursor ScreenCursor();

TShiftState KeyboardShift();
TShiftState MouseShift(WPARAM Keys);

// The mirror of one control on a real window: our own window class, or a system control whose
// window procedure is replaced by ours. Every message passes through Dispatch.
class TWinPeer : public TControlPeer {
public:
  explicit TWinPeer(TControl& Control) : FControl(Control) {}
  ~TWinPeer() override;
  TWinPeer(const TWinPeer&) = delete;
  TWinPeer& operator=(const TWinPeer&) = delete;

  HWND Handle() const { return FHandle; }
  TControl& Control() const { return FControl; }
  void Changed(TPeerChange What) override;

  // The peer of a window, or nullptr for a window that is not one of ours.
  static TWinPeer* FromHandle(HWND Handle);
  // The window of a control's parent, which must have one.
  static HWND ParentHandle(const TControl& Control);

protected:
  // Creates the window at the model's bounds. For a system class the window procedure is
  // replaced, so that our handling comes before the control's own.
  void CreateHandle(const char* ClassName, DWORD Style, DWORD ExStyle, HWND Parent);

  // Handles a message of this window; false leaves it to the default procedure.
  virtual bool Message(UINT Msg, WPARAM W, LPARAM L, LRESULT& Result);
  // Handles what the parent was told about this window (WM_COMMAND, WM_CTLCOLOR...).
  virtual bool Notification(UINT Msg, WPARAM W, LPARAM L, LRESULT& Result) { return false; }
  LRESULT DefaultProc(UINT Msg, WPARAM W, LPARAM L);
  // Expires when the peer is destroyed: a handler that called the model checks it before it
  // touches the peer again, since the model may have dropped the window meanwhile.
  std::weak_ptr<char> Alive() const { return FAlive; }
  // For a system control the default procedure runs first (a button clicks on release), and
  // the model hears of the mouse after it.
  bool SystemClass() const { return FSubclassed; }

  void ApplyFont();
  HFONT CurrentFont() const { return FFont.get(); }
  // Set while the peer itself moves the window, whose moves are not the user's.
  bool FMovingWindow = false;

public:
  // The window procedure of our own classes and of every subclassed system control.
  static LRESULT CALLBACK WindowProc(HWND Handle, UINT Msg, WPARAM W, LPARAM L);
  // Handles a message that a loop of ours took from the queue. A key goes to the model before
  // it is translated: when the form (KeyPreview), the control or the form's own keys use it,
  // it ends there and no character message follows.
  static void DispatchQueued(MSG& Msg);

protected:
  // Keys the control uses itself, which the form must not take for its navigation.
  virtual bool WantsKey(WPARAM Key) const { return false; }

private:
  LRESULT Dispatch(UINT Msg, WPARAM W, LPARAM L);
  // Runs model code for this window through the dispatcher; the peer may be gone after it.
  void Guarded(const std::function<void()>& Body);
  // The model's part of a key press; true when the key was used up.
  bool KeyDown(UINT Msg, WPARAM W);
  bool MouseMessage(UINT Msg, WPARAM W, LPARAM L, LRESULT& Result);
  bool KeyMessage(UINT Msg, WPARAM W, LPARAM L, LRESULT& Result);

  TControl& FControl;
  HWND FHandle = nullptr;
  WNDPROC FDefProc = DefWindowProcA;
  bool FSubclassed = false;
  TFontHandle FFont;
  std::shared_ptr<char> FAlive = std::make_shared<char>();
};

// A menu's command or the opening of a sub-menu, told to the window that owns the menu; true
// when it was one of ours.
bool MenuMessage(UINT Msg, WPARAM W, LPARAM L);

// The application's tooltip: every window of ours is a tool whose text is its control's short
// hint, asked for when the tip is about to show. Mouse messages are relayed to it.
void AddHintTool(HWND Window);
void RemoveHintTool(HWND Window);
void RelayHintMessage(HWND Window, UINT Msg, WPARAM W, LPARAM L);
// The tooltip window, or nullptr before the first tool.
HWND HintWindow();

// The window styles of a form's border and of its title-bar buttons.
void FormStyle(TFormBorderStyle Border, DWORD& Style, DWORD& ExStyle,
               TBorderIcons Icons = biSystemMenu | biMinimize | biMaximize);

// The windowed children of a control in tab order: by TabOrder (controls without one keep
// their creation order).
std::vector<TWinControl*> TabOrderedChildren(const TWinControl& Parent);

// Keys that act on the whole form: Tab moves the focus, Enter clicks the focused or the default
// button, Esc the cancel button, Alt+letter the button with that accelerator. True when the key
// was used.
bool FormKey(TCustomForm& Form, TControl* Focused, UINT Msg, WPARAM Key);
// Gives the focus to the form's active control, or to its first control in tab order.
void FocusActiveControl(TCustomForm& Form);

}  // namespace Win32
