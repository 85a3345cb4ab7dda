// Peers of edits and memos: the system's EDIT, multi-line for a memo. Typing, the caret and the
// scrolling come back to the model; the clipboard is the system's.
#include <algorithm>
#include <cstring>
#include <string>

#include "framework/StdCtrls.h"
#include "framework/win32/Win32.h"

namespace Win32 {
namespace {

DWORD MemoStyle(const TCustomMemo& Memo) {
  DWORD style = ES_MULTILINE | ES_WANTRETURN | ES_AUTOVSCROLL;
  if (!Memo.WordWrap()) style |= ES_AUTOHSCROLL;
  if (Memo.Alignment() == TAlignment::taCenter) style |= ES_CENTER;
  else if (Memo.Alignment() == TAlignment::taRightJustify) style |= ES_RIGHT;
  TScrollStyle bars = Memo.ScrollBars();
  if (bars == TScrollStyle::ssVertical || bars == TScrollStyle::ssBoth) style |= WS_VSCROLL;
  if (bars == TScrollStyle::ssHorizontal || bars == TScrollStyle::ssBoth) style |= WS_HSCROLL;
  return style;
}

class TEditPeer : public TWinPeer {
public:
  explicit TEditPeer(TCustomEdit& Edit) : TWinPeer(Edit), FEdit(Edit), FMemo(As<TCustomMemo>(&Edit)) {
    DWORD style = WS_CHILD | WS_TABSTOP | (FMemo ? MemoStyle(*FMemo) : ES_AUTOHSCROLL);
    if (Edit.ReadOnly()) style |= ES_READONLY;
    CreateHandle("EDIT", style, WS_EX_CLIENTEDGE, ParentHandle(Edit));
    PushStyle();
    PushSelection();
  }
  ~TEditPeer() override {
    if (FBrush) DeleteObject(FBrush);
  }

  void Changed(TPeerChange What) override {
    if (!Handle()) return;
    switch (What) {
      case TPeerChange::Text:
        TWinPeer::Changed(What);
        PushSelection();
        break;
      case TPeerChange::Layout: PushSelection(); break;
      case TPeerChange::Style: PushStyle(); break;
      case TPeerChange::Bounds:
      case TPeerChange::Font:
        TWinPeer::Changed(What);
        ReportState();
        break;
      default: TWinPeer::Changed(What); break;
    }
  }

protected:
  bool WantsKey(WPARAM Key) const override { return FMemo && Key == VK_RETURN; }

  bool Notification(UINT Msg, WPARAM W, LPARAM L, LRESULT& Result) override {
    // The edit's own colour and its font's (a memo shown on silver, a memo in its font's
    // colour); a disabled edit greys as the system draws it.
    if ((Msg == WM_CTLCOLOREDIT || Msg == WM_CTLCOLORSTATIC) && FEdit.Enabled()) {
      HDC dc = reinterpret_cast<HDC>(W);
      SetTextColor(dc, ColorToRGB(FEdit.Font().Color()));
      SetBkColor(dc, ColorToRGB(FEdit.Color()));
      if (!FBrush || FBrushColor != FEdit.Color()) {
        if (FBrush) DeleteObject(FBrush);
        FBrush = CreateSolidBrush(ColorToRGB(FEdit.Color()));
        FBrushColor = FEdit.Color();
      }
      Result = reinterpret_cast<LRESULT>(FBrush);
      return true;
    }
    if (Msg != WM_COMMAND || HIWORD(W) != EN_CHANGE) return false;
    Result = 0;
    int length = GetWindowTextLengthA(Handle());
    std::string text(length + 1, '\0');
    GetWindowTextA(Handle(), text.data(), length + 1);
    text.resize(std::strlen(text.c_str()));
    auto alive = Alive();
    FEdit.PeerTextEdited(text);
    if (!alive.expired()) ReportState();
    return true;
  }

  bool Message(UINT Msg, WPARAM W, LPARAM L, LRESULT& Result) override {
    switch (Msg) {
      case WM_KEYDOWN:
      case WM_KEYUP:
      case WM_CHAR:
      case WM_LBUTTONDOWN:
      case WM_LBUTTONUP:
      case WM_MOUSEMOVE:
      case WM_VSCROLL:
      case WM_HSCROLL:
      case WM_MOUSEWHEEL: {
        // The edit moves its caret and scrolls itself; the model hears where they went.
        auto alive = Alive();
        bool handled = TWinPeer::Message(Msg, W, L, Result);
        if (alive.expired()) return true;
        if (!handled) Result = DefaultProc(Msg, W, L);
        if (!alive.expired()) ReportState();
        return true;
      }
      default: return TWinPeer::Message(Msg, W, L, Result);
    }
  }

private:
  TCustomEdit& FEdit;
  HBRUSH FBrush = nullptr;
  TColor FBrushColor = clWindow;
  TCustomMemo* FMemo;

  void PushStyle() {
    SendMessageA(Handle(), EM_SETREADONLY, FEdit.ReadOnly(), 0);
    SendMessageA(Handle(), EM_LIMITTEXT, FEdit.MaxLength(), 0);
    // A memo shows its text; the system's edit masks only a single line.
    if (!FMemo) {
      SendMessageA(Handle(), EM_SETPASSWORDCHAR, static_cast<unsigned char>(FEdit.PasswordChar()), 0);
      InvalidateRect(Handle(), nullptr, TRUE);
    }
  }

  void PushSelection() {
    SendMessageA(Handle(), EM_SETSEL, FEdit.SelStart(), FEdit.SelStart() + FEdit.SelLength());
    if (FMemo) {
      int top = static_cast<int>(SendMessageA(Handle(), EM_GETFIRSTVISIBLELINE, 0, 0));
      if (top != FMemo->FirstVisibleLine())
        SendMessageA(Handle(), EM_LINESCROLL, 0, FMemo->FirstVisibleLine() - top);
    }
    ReportState();
  }

  void ReportState() {
    DWORD start = 0, end = 0;
    SendMessageA(Handle(), EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    FEdit.PeerSelectionChanged(static_cast<int>(start), static_cast<int>(end - start));
    if (!FMemo) return;
    HDC dc = GetDC(Handle());
    HGDIOBJ old = SelectObject(dc, CurrentFont());
    TEXTMETRICA tm{};
    GetTextMetricsA(dc, &tm);
    SelectObject(dc, old);
    ReleaseDC(Handle(), dc);
    RECT r{};
    SendMessageA(Handle(), EM_GETRECT, 0, reinterpret_cast<LPARAM>(&r));
    int lines = tm.tmHeight > 0 ? std::max(1, static_cast<int>((r.bottom - r.top) / tm.tmHeight)) : 1;
    FMemo->PeerScrolled(static_cast<int>(SendMessageA(Handle(), EM_GETFIRSTVISIBLELINE, 0, 0)), lines);
  }
};

}  // namespace
}  // namespace Win32

std::unique_ptr<TControlPeer> TCustomEdit::CreatePeer() { return std::make_unique<Win32::TEditPeer>(*this); }
std::unique_ptr<TControlPeer> TCustomMemo::CreatePeer() { return std::make_unique<Win32::TEditPeer>(*this); }

namespace Backend {

void SetClipboardText(const std::string& Text) {
  if (!OpenClipboard(nullptr)) throw EOSError("Cannot open clipboard");
  EmptyClipboard();
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, Text.size() + 1);
  if (memory) {
    std::memcpy(GlobalLock(memory), Text.c_str(), Text.size() + 1);
    GlobalUnlock(memory);
    if (!SetClipboardData(CF_TEXT, memory)) GlobalFree(memory);
  }
  CloseClipboard();
}

}  // namespace Backend
