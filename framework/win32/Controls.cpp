// The peer every window of ours is built on: creation, the one window procedure, mouse, keyboard
// and focus input reported to the model, and the form-wide keys.
#include <algorithm>
#include <climits>
#include <functional>
#include <vector>

#include "framework/Buttons.h"
#include "framework/Forms.h"
#include "framework/StdCtrls.h"
#include "framework/win32/Win32.h"

std::unique_ptr<TControlPeer> TControl::CreatePeer() { return nullptr; }

HWND PeerHandle(const TControl& Control) {
  auto* peer = dynamic_cast<Win32::TWinPeer*>(Control.Peer());
  return peer ? peer->Handle() : nullptr;
}

namespace Win32 {

const char* const FormClassName = "VersoraForm";
const char* const GridClassName = "VersoraGrid";

namespace {
const char* const PeerProperty = "VersoraPeer";
// The key-down message being dispatched that the model saw before its translation.
const MSG* GSeenKey = nullptr;
}

HINSTANCE Instance() { return GetModuleHandleA(nullptr); }

void RegisterOwnClass(const char* ClassName, UINT Style) {
  WNDCLASSA wc{};
  if (GetClassInfoA(Instance(), ClassName, &wc)) return;
  wc.style = Style;
  wc.lpfnWndProc = TWinPeer::WindowProc;
  wc.hInstance = Instance();
  wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  wc.lpszClassName = ClassName;
  RegisterClassA(&wc);
}

void InitControls() {
  static bool done = false;
  if (done) return;
  done = true;
  INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_WIN95_CLASSES};
  InitCommonControlsEx(&icc);
  for (const char* name : {FormClassName, GridClassName}) {
    WNDCLASSA wc{};
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = TWinPeer::WindowProc;
    wc.hInstance = Instance();
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.hIcon = name == FormClassName ? LoadIconA(nullptr, IDI_APPLICATION) : nullptr;
    wc.lpszClassName = name;
    RegisterClassA(&wc);
  }
}

// ---------------------------------------------------------------------------------------------
// TWinPeer

TWinPeer::~TWinPeer() {
  if (!FHandle) return;
  RemoveHintTool(FHandle);
  // The window forgets us first, so the messages of its destruction find no half-gone peer.
  RemovePropA(FHandle, PeerProperty);
  if (FSubclassed) SetWindowLongPtrA(FHandle, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(FDefProc));
  DestroyWindow(FHandle);
}

TWinPeer* TWinPeer::FromHandle(HWND Handle) {
  return Handle ? static_cast<TWinPeer*>(GetPropA(Handle, PeerProperty)) : nullptr;
}

HWND TWinPeer::ParentHandle(const TControl& Control) {
  HWND parent = Control.Parent() ? PeerHandle(*Control.Parent()) : nullptr;
  if (!parent) throw EInvalidOperation("Control '" + Control.Name() + "' has no parent window");
  return parent;
}

void TWinPeer::CreateHandle(const char* ClassName, DWORD Style, DWORD ExStyle, HWND Parent) {
  InitControls();
  WNDCLASSA wc{};
  bool own = GetClassInfoA(Instance(), ClassName, &wc) && wc.lpfnWndProc == WindowProc;
  if (FControl.Visible()) Style |= WS_VISIBLE;
  if (!FControl.Enabled()) Style |= WS_DISABLED;
  HWND handle = CreateWindowExA(ExStyle, ClassName, FControl.Text().c_str(), Style, FControl.Left(),
                                FControl.Top(), FControl.Width(), FControl.Height(), Parent, nullptr,
                                Instance(), this);
  if (!handle) throw EOutOfResources("Error creating window for '" + FControl.Name() + "'");
  if (!own) {
    FHandle = handle;
    SetPropA(handle, PeerProperty, this);
    FDefProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(handle, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(WindowProc)));
    FSubclassed = true;
  }
  ApplyFont();
  AddHintTool(handle);
  // The system links a new child window beneath its siblings; one made after its window is on
  // the screen (an editor shown over a grid's cell) belongs above them.
  if ((Style & WS_CHILD) && IsWindowVisible(Parent))
    SetWindowPos(handle, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

LRESULT CALLBACK TWinPeer::WindowProc(HWND Handle, UINT Msg, WPARAM W, LPARAM L) {
  TWinPeer* peer = FromHandle(Handle);
  if (!peer && Msg == WM_NCCREATE) {
    peer = static_cast<TWinPeer*>(reinterpret_cast<CREATESTRUCTA*>(L)->lpCreateParams);
    if (peer) {
      peer->FHandle = Handle;
      SetPropA(Handle, PeerProperty, peer);
    }
  }
  if (!peer) return DefWindowProcA(Handle, Msg, W, L);
  return peer->Dispatch(Msg, W, L);
}

LRESULT TWinPeer::Dispatch(UINT Msg, WPARAM W, LPARAM L) {
  HWND handle = FHandle;
  WNDPROC defProc = FDefProc;
  if (Msg == WM_NCDESTROY) {
    // The system destroys the window under us (its owner went): the peer stays, windowless.
    RemoveHintTool(handle);
    RemovePropA(handle, PeerProperty);
    if (FSubclassed) SetWindowLongPtrA(handle, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(defProc));
    FHandle = nullptr;
    return CallWindowProcA(defProc, handle, Msg, W, L);
  }
  if (Msg >= WM_MOUSEFIRST && Msg <= WM_MOUSELAST) RelayHintMessage(handle, Msg, W, L);
  std::weak_ptr<char> alive = FAlive;
  LRESULT result = 0;
  bool handled = true;
  Guarded([&] { handled = Message(Msg, W, L, result); });
  if (handled) return result;
  // A handler may have dropped the window; then nothing is left for the default procedure.
  if (alive.expired()) return 0;
  return CallWindowProcA(defProc, handle, Msg, W, L);
}

void TWinPeer::Guarded(const std::function<void()>& Body) {
  std::weak_ptr<char> alive = FAlive;
  TControl* control = &FControl;
  DispatchInput([&]() -> TObject* { return alive.expired() ? static_cast<TObject*>(Application) : control; }, Body);
}

void TWinPeer::DispatchQueued(MSG& Msg) {
  // A window disabled under a modal window or while a report runs takes no keys, not even in the
  // control that kept the focus when its window was disabled.
  if (Msg.message >= WM_KEYFIRST && Msg.message <= WM_KEYLAST && Msg.hwnd &&
      !IsWindowEnabled(GetAncestor(Msg.hwnd, GA_ROOT)))
    return;
  if (Msg.message == WM_SYSCHAR && !FromHandle(Msg.hwnd)) {
    // Alt with a letter reaches the form's accelerators also from a window of a control's own,
    // as a combo box's edit.
    for (HWND owner = GetParent(Msg.hwnd); owner; owner = GetParent(owner)) {
      TWinPeer* inside = FromHandle(owner);
      if (!inside) continue;
      bool used = false;
      inside->Guarded([&] {
        if (TCustomForm* form = inside->FControl.ParentForm())
          used = FormKey(*form, &inside->FControl, WM_SYSCHAR, Msg.wParam);
      });
      if (used) return;
      break;
    }
  }
  TWinPeer* peer = Msg.message == WM_KEYDOWN || Msg.message == WM_SYSKEYDOWN ? FromHandle(Msg.hwnd) : nullptr;
  if (peer) {
    // The model sees a key before it is translated, as the platform's loop shows it to the
    // form first: a key used up leaves no character behind.
    bool used = true;
    peer->Guarded([&] { used = peer->KeyDown(Msg.message, Msg.wParam); });
    if (used) return;
  }
  TScopedValue<const MSG*> seen(GSeenKey, peer ? &Msg : GSeenKey);
  TranslateMessage(&Msg);
  DispatchMessageA(&Msg);
}

LRESULT TWinPeer::DefaultProc(UINT Msg, WPARAM W, LPARAM L) {
  return CallWindowProcA(FDefProc, FHandle, Msg, W, L);
}

bool TWinPeer::Message(UINT Msg, WPARAM W, LPARAM L, LRESULT& Result) {
  switch (Msg) {
    case WM_COMMAND:
      if (TWinPeer* child = FromHandle(reinterpret_cast<HWND>(L)); child && child != this)
        return child->Notification(Msg, W, L, Result);
      return false;
    case WM_NOTIFY:
      if (TWinPeer* child = FromHandle(reinterpret_cast<NMHDR*>(L)->hwndFrom); child && child != this)
        return child->Notification(Msg, W, L, Result);
      return false;
    case WM_DRAWITEM:
      if (TWinPeer* child = FromHandle(reinterpret_cast<DRAWITEMSTRUCT*>(L)->hwndItem); child && child != this)
        return child->Notification(Msg, W, L, Result);
      return false;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
      if (TWinPeer* child = FromHandle(reinterpret_cast<HWND>(L)); child && child != this)
        return child->Notification(Msg, W, L, Result);
      return false;
    case WM_GETFONT:
      // Our own windows answer as the system's controls do, so that their text can be
      // measured in the font they draw it with.
      if (FSubclassed) return false;
      Result = reinterpret_cast<LRESULT>(CurrentFont());
      return true;
    case WM_CONTEXTMENU: {
      // From the keyboard the menu opens at the mouse; a control without a menu leaves it to
      // the default procedure, which asks its parent.
      POINT at{static_cast<short>(LOWORD(L)), static_cast<short>(HIWORD(L))};
      if (L == -1) GetCursorPos(&at);
      Result = 0;
      return FControl.PeerContextPopup(at.x, at.y);
    }
    case WM_MOUSEMOVE: {
      int x = static_cast<short>(LOWORD(L)), y = static_cast<short>(HIWORD(L));
      if (FSubclassed) {
        auto alive = Alive();
        Result = DefaultProc(Msg, W, L);
        if (alive.expired()) return true;
      }
      FControl.PeerMouseMove(MouseShift(W), x, y);
      return true;
    }
    case WM_SETCURSOR: {
      TCursor cursor = ScreenCursor();
      if (cursor == crDefault && LOWORD(L) == HTCLIENT && reinterpret_cast<HWND>(W) == FHandle)
        cursor = FControl.Cursor();
      if (cursor == crDefault) return false;
      ::SetCursor(CursorHandle(cursor));
      Result = TRUE;
      return true;
    }
    case WM_SETFOCUS:
    case WM_KILLFOCUS: {
      // A form is where the focus rests when none of its controls has it, never its own
      // active control.
      auto* control = As<TWinControl>(&FControl);
      if (!control || Is<TCustomForm>(control)) return false;
      auto alive = Alive();
      Result = DefaultProc(Msg, W, L);
      if (!alive.expired()) control->PeerFocusChanged(Msg == WM_SETFOCUS);
      return true;
    }
    default:
      return MouseMessage(Msg, W, L, Result) || KeyMessage(Msg, W, L, Result);
  }
}

bool TWinPeer::MouseMessage(UINT Msg, WPARAM W, LPARAM L, LRESULT& Result) {
  TMouseButton button = TMouseButton::mbLeft;
  bool down = true, twice = false;
  switch (Msg) {
    case WM_LBUTTONDBLCLK: twice = true; [[fallthrough]];
    case WM_LBUTTONDOWN: break;
    case WM_RBUTTONDBLCLK: twice = true; [[fallthrough]];
    case WM_RBUTTONDOWN: button = TMouseButton::mbRight; break;
    case WM_MBUTTONDBLCLK: twice = true; [[fallthrough]];
    case WM_MBUTTONDOWN: button = TMouseButton::mbMiddle; break;
    case WM_LBUTTONUP: down = false; break;
    case WM_RBUTTONUP: button = TMouseButton::mbRight; down = false; break;
    case WM_MBUTTONUP: button = TMouseButton::mbMiddle; down = false; break;
    default: return false;
  }
  int x = static_cast<short>(LOWORD(L)), y = static_cast<short>(HIWORD(L));
  TShiftState shift = MouseShift(W) | (twice ? TShiftState{ssDouble} : 0u);
  TControl& control = FControl;
  Result = 0;
  if (FSubclassed) {
    auto alive = Alive();
    Result = DefaultProc(Msg, W, L);
    if (alive.expired()) return true;
  }
  if (!down) {
    auto alive = Alive();
    control.PeerMouseUp(button, shift, x, y);
    // Our own windows ask for their context menu as the system's controls do.
    if (!FSubclassed && Msg == WM_RBUTTONUP && !alive.expired()) Result = DefWindowProcA(FHandle, Msg, W, L);
    return true;
  }
  if (twice) {
    auto alive = Alive();
    control.PeerDblClick();
    if (alive.expired()) return true;
  }
  control.PeerMouseDown(button, shift, x, y);
  return true;
}

bool TWinPeer::KeyMessage(UINT Msg, WPARAM W, LPARAM L, LRESULT& Result) {
  auto* control = As<TWinControl>(&FControl);
  if (!control) return false;
  auto alive = Alive();
  Result = 0;
  switch (Msg) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
      if (GSeenKey && GSeenKey->hwnd == FHandle && GSeenKey->message == Msg && GSeenKey->wParam == W &&
          GSeenKey->lParam == L) {
        GSeenKey = nullptr;
        return false;
      }
      return KeyDown(Msg, W);
    case WM_CHAR: {
      char key = static_cast<char>(W);
      control->PeerKeyPress(key);
      if (alive.expired() || key == 0) return true;
      if (key != static_cast<char>(W)) {
        Result = DefaultProc(Msg, static_cast<unsigned char>(key), L);
        return true;
      }
      return false;
    }
    case WM_SYSCHAR:
      if (TCustomForm* form = control->ParentForm(); form && FormKey(*form, control, Msg, W)) return true;
      return false;
    default:
      return false;
  }
}

bool TWinPeer::KeyDown(UINT Msg, WPARAM W) {
  auto* control = As<TWinControl>(&FControl);
  if (!control) return false;
  auto alive = Alive();
  unsigned short key = static_cast<unsigned short>(W);
  control->PeerKeyDown(key, KeyboardShift());
  if (alive.expired() || key == 0) return true;
  if (Msg == WM_KEYDOWN && !WantsKey(key))
    if (TCustomForm* form = control->ParentForm(); form && FormKey(*form, control, Msg, key)) return true;
  return false;
}

void TWinPeer::ApplyFont() {
  TFontHandle font = FontHandle(FControl.Font());
  SendMessageA(FHandle, WM_SETFONT, reinterpret_cast<WPARAM>(font.get()), TRUE);
  // The old font goes only now that the window no longer uses it.
  FFont = std::move(font);
}

void TWinPeer::Changed(TPeerChange What) {
  if (!FHandle) return;
  switch (What) {
    case TPeerChange::Bounds:
      FMovingWindow = true;
      // A moved window paints itself anew: the bits it would take along may be those of a
      // place its parent never showed (a window grown back from its bars only).
      SetWindowPos(FHandle, nullptr, FControl.Left(), FControl.Top(), FControl.Width(),
                   FControl.Height(), SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOCOPYBITS);
      FMovingWindow = false;
      break;
    case TPeerChange::Text: SetWindowTextA(FHandle, FControl.Text().c_str()); break;
    case TPeerChange::Visible: ShowWindow(FHandle, FControl.Visible() ? SW_SHOW : SW_HIDE); break;
    case TPeerChange::Enabled: EnableWindow(FHandle, FControl.Enabled()); break;
    case TPeerChange::Font: ApplyFont(); break;
    case TPeerChange::Focus:
      if (IsWindowVisible(FHandle) && IsWindowEnabled(FHandle)) ::SetFocus(FHandle);
      break;
    case TPeerChange::Redraw: {
      auto* control = As<TWinControl>(&FControl);
      bool on = !control || !control->RedrawLocked();
      SendMessageA(FHandle, WM_SETREDRAW, on, 0);
      if (on) RedrawWindow(FHandle, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
      break;
    }
    case TPeerChange::Color:
    case TPeerChange::Contents:
    case TPeerChange::Layout:
    case TPeerChange::Invalidate:
    case TPeerChange::Style:
      InvalidateRect(FHandle, nullptr, TRUE);
      break;
  }
}

// ---------------------------------------------------------------------------------------------
// Form-wide keys

std::vector<TWinControl*> TabOrderedChildren(const TWinControl& Parent) {
  std::vector<TWinControl*> children;
  for (int i = 0; i < Parent.ControlCount(); ++i)
    if (auto* child = As<TWinControl>(Parent.Controls(i))) children.push_back(child);
  auto order = [](const TWinControl* c) { return c->TabOrder() < 0 ? INT_MAX : c->TabOrder(); };
  std::stable_sort(children.begin(), children.end(),
                   [&](auto* a, auto* b) { return order(a) < order(b); });
  return children;
}

namespace {

// The controls that take the focus, in tab order, each followed by its own children.
void CollectTabStops(const TWinControl& Parent, std::vector<TWinControl*>& Out) {
  for (TWinControl* child : TabOrderedChildren(Parent)) {
    if (!child->HandleAllocated() || !child->CanFocus()) continue;
    if (child->TabStop()) Out.push_back(child);
    CollectTabStops(*child, Out);
  }
}

// A visible, enabled control of class T on the form, that the predicate picks.
template <class T, class P>
T* FindClickable(const TWinControl& Parent, P Pick) {
  for (int i = 0; i < Parent.ControlCount(); ++i) {
    TControl* child = Parent.Controls(i);
    if (!child->HandleAllocated() || !child->Visible() || !child->Enabled()) continue;
    if (auto* target = As<T>(child); target && Pick(*target)) return target;
    if (auto* inner = As<TWinControl>(child))
      if (T* found = FindClickable<T>(*inner, Pick)) return found;
  }
  return nullptr;
}

template <class P>
TButton* FindButton(const TWinControl& Parent, P Pick) { return FindClickable<TButton>(Parent, Pick); }

bool HasAccelerator(const std::string& Caption, char Key) {
  for (size_t i = 0; i + 1 < Caption.size(); ++i) {
    if (Caption[i] != '&') continue;
    if (Caption[i + 1] == '&') { ++i; continue; }
    return CharUpperA(reinterpret_cast<LPSTR>(static_cast<unsigned char>(Caption[i + 1]))) ==
           CharUpperA(reinterpret_cast<LPSTR>(static_cast<unsigned char>(Key)));
  }
  return false;
}

// The control that a label's accelerator Key focuses. Labels sharing the letter take turns:
// the one after the label whose control has the focus now, else the first.
TWinControl* LabelledControl(const TWinControl& Form, TControl* Focused, char Key) {
  std::vector<TWinControl*> targets;
  const std::function<void(const TWinControl&)> collect = [&](const TWinControl& Parent) {
    for (int i = 0; i < Parent.ControlCount(); ++i) {
      TControl* child = Parent.Controls(i);
      if (!child->HandleAllocated() || !child->Visible() || !child->Enabled()) continue;
      if (auto* label = As<TLabel>(child); label && label->ShowAccelChar() && HasAccelerator(label->Caption(), Key))
        if (TWinControl* target = label->AcceleratorTarget()) targets.push_back(target);
      if (auto* inner = As<TWinControl>(child)) collect(*inner);
    }
  };
  collect(Form);
  if (targets.empty()) return nullptr;
  auto at = std::find_if(targets.begin(), targets.end(), [&](const TWinControl* target) {
    return Focused && (Focused == target || Focused->Parent() == target);
  });
  return at == targets.end() || at + 1 == targets.end() ? targets.front() : *(at + 1);
}

}  // namespace

bool FormKey(TCustomForm& Form, TControl* Focused, UINT Msg, WPARAM Key) {
  TControl* target = nullptr;
  if (Msg == WM_SYSCHAR) {
    // Buttons first, then the tool bars' speed buttons ("&Close").
    auto accel = [&](const TControl& c) { return HasAccelerator(c.Caption(), static_cast<char>(Key)); };
    target = FindButton(Form, accel);
    if (!target) target = FindClickable<TSpeedButton>(Form, accel);
    // A check box or radio button takes the focus and toggles or checks, as a click would.
    if (auto* box = target ? nullptr : FindClickable<TCheckBox>(Form, accel)) {
      box->SetFocus();
      box->PeerToggled();
      return true;
    }
    if (auto* radio = target ? nullptr : FindClickable<TRadioButton>(Form, accel)) {
      radio->SetFocus();
      radio->PeerChecked();
      return true;
    }
    if (TWinControl* labelled = target ? nullptr : LabelledControl(Form, Focused, static_cast<char>(Key))) {
      labelled->SetFocus();
      // As the system's dialogs do, an edit reached from the keyboard has its text selected, so
      // that what is typed next replaces it.
      if (auto* edit = As<TCustomEdit>(labelled); edit && !As<TCustomMemo>(labelled)) edit->SelectAll();
      return true;
    }
  } else if (Key == VK_TAB) {
    std::vector<TWinControl*> stops;
    CollectTabStops(Form, stops);
    if (stops.empty()) return false;
    auto at = std::find(stops.begin(), stops.end(), Focused);
    size_t index = at == stops.end() ? 0 : at - stops.begin();
    bool back = GetKeyState(VK_SHIFT) < 0;
    if (at != stops.end()) index = back ? (index + stops.size() - 1) % stops.size() : (index + 1) % stops.size();
    else if (back) index = stops.size() - 1;
    ::SetFocus(PeerHandle(*stops[index]));
    return true;
  } else if (Key == VK_RETURN) {
    target = As<TButton>(Focused);
    if (!target) target = FindButton(Form, [](const TButton& b) { return b.Default(); });
  } else if (Key == VK_ESCAPE) {
    target = FindButton(Form, [](const TButton& b) { return b.Cancel(); });
  }
  if (!target) return false;
  target->PeerClick();
  return true;
}

void FocusActiveControl(TCustomForm& Form) {
  TWinControl* target = Form.ActiveControl();
  if (!target || !target->HandleAllocated() || !target->CanFocus()) {
    std::vector<TWinControl*> stops;
    CollectTabStops(Form, stops);
    target = stops.empty() ? nullptr : stops.front();
  }
  if (HWND handle = target ? PeerHandle(*target) : nullptr) ::SetFocus(handle);
}

}  // namespace Win32
