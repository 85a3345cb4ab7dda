// The speed button peer: a window of our own class, painted by us. Flat, it shows a raised
// edge only while the mouse is over it; pressed, a sunken one. It never takes the focus.
#include "framework/Buttons.h"
#include "framework/win32/Win32.h"

namespace Win32 {
namespace {

const char* const SpeedButtonClassName = "VersoraSpeedButton";

class TSpeedButtonPeer : public TWinPeer {
public:
  explicit TSpeedButtonPeer(TSpeedButton& Button) : TWinPeer(Button), FButton(Button) {
    RegisterOwnClass(SpeedButtonClassName, 0);
    CreateHandle(SpeedButtonClassName, WS_CHILD, 0, ParentHandle(Button));
    LoadGlyph();
  }
  ~TSpeedButtonPeer() override {
    if (FGlyph) DeleteObject(FGlyph);
  }

  void Changed(TPeerChange What) override {
    if (!Handle()) return;
    if (What == TPeerChange::Contents) LoadGlyph();
    if (What == TPeerChange::Enabled) {
      FPressed = false;
      FHot = false;
    }
    TWinPeer::Changed(What);
    InvalidateRect(Handle(), nullptr, TRUE);
  }

protected:
  bool Message(UINT Msg, WPARAM W, LPARAM L, LRESULT& Result) override {
    Result = 0;
    switch (Msg) {
      case WM_ERASEBKGND: Result = 1; return true;
      case WM_PAINT: Paint(); return true;
      case WM_MOUSEMOVE: {
        if (!FHot) {
          FHot = true;
          TRACKMOUSEEVENT track{sizeof(track), TME_LEAVE, Handle(), 0};
          TrackMouseEvent(&track);
          InvalidateRect(Handle(), nullptr, TRUE);
        }
        return TWinPeer::Message(Msg, W, L, Result);
      }
      case WM_MOUSELEAVE:
        FHot = false;
        InvalidateRect(Handle(), nullptr, TRUE);
        return true;
      case WM_LBUTTONDOWN:
      case WM_LBUTTONDBLCLK:
        if (!FButton.Enabled()) return true;
        FPressed = true;
        SetCapture(Handle());
        InvalidateRect(Handle(), nullptr, TRUE);
        return TWinPeer::Message(Msg, W, L, Result);
      case WM_LBUTTONUP: {
        bool click = FPressed && Inside(L);
        FPressed = false;
        if (GetCapture() == Handle()) ReleaseCapture();
        InvalidateRect(Handle(), nullptr, TRUE);
        auto alive = Alive();
        TWinPeer::Message(Msg, W, L, Result);
        if (click && !alive.expired()) FButton.PeerClick();
        return true;
      }
      case WM_CAPTURECHANGED:
        FPressed = false;
        InvalidateRect(Handle(), nullptr, TRUE);
        return true;
      default:
        return TWinPeer::Message(Msg, W, L, Result);
    }
  }

private:
  TSpeedButton& FButton;
  HBITMAP FGlyph = nullptr;
  bool FHot = false, FPressed = false;

  bool Inside(LPARAM L) const {
    RECT client;
    GetClientRect(Handle(), &client);
    POINT at{static_cast<short>(LOWORD(L)), static_cast<short>(HIWORD(L))};
    return PtInRect(&client, at);
  }

  void LoadGlyph() {
    if (FGlyph) DeleteObject(FGlyph);
    FGlyph = nullptr;
    if (!FButton.Glyph().empty())
      FGlyph = static_cast<HBITMAP>(LoadImageA(Instance(), FButton.Glyph().c_str(), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
  }

  // The glyph's image for the button's state, drawn with its bottom-left pixel's colour
  // left out, as tool-bar pictures are made.
  void DrawGlyph(HDC Dc, int X, int Y) {
    BITMAP info{};
    if (!FGlyph || !GetObjectA(FGlyph, sizeof(info), &info)) return;
    const int width = info.bmWidth / FButton.NumGlyphs(), height = info.bmHeight;
    const bool ownDisabled = !FButton.Enabled() && FButton.NumGlyphs() > 1;
    HDC source = CreateCompatibleDC(Dc);
    HGDIOBJ old = SelectObject(source, FGlyph);
    COLORREF transparent = GetPixel(source, 0, height - 1);
    if (FButton.Enabled() || ownDisabled) {
      GdiTransparentBlt(Dc, X, Y, width, height, source, ownDisabled ? width : 0, 0, width, height, transparent);
    } else {
      // A picture without its own disabled image is engraved: its shape in the highlight colour
      // one pixel down and right, then in the shadow colour.
      HDC shape = CreateCompatibleDC(Dc);
      HBITMAP bits = CreateCompatibleBitmap(Dc, width, height);
      HGDIOBJ oldShape = SelectObject(shape, bits);
      const COLORREF key = transparent == RGB(255, 0, 255) ? RGB(0, 255, 0) : RGB(255, 0, 255);
      const COLORREF tones[] = {GetSysColor(COLOR_BTNHIGHLIGHT), GetSysColor(COLOR_BTNSHADOW)};
      for (int tone = 0; tone < 2; ++tone) {
        for (int y = 0; y < height; ++y)
          for (int x = 0; x < width; ++x)
            SetPixel(shape, x, y, GetPixel(source, x, y) == transparent ? key : tones[tone]);
        GdiTransparentBlt(Dc, X + 1 - tone, Y + 1 - tone, width, height, shape, 0, 0, width, height, key);
      }
      SelectObject(shape, oldShape);
      DeleteObject(bits);
      DeleteDC(shape);
    }
    SelectObject(source, old);
    DeleteDC(source);
  }

  void Paint() {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(Handle(), &ps);
    RECT client;
    GetClientRect(Handle(), &client);
    HBRUSH face = CreateSolidBrush(ColorToRGB(FButton.Color()));
    FillRect(dc, &client, face);
    DeleteObject(face);
    const bool enabled = FButton.Enabled();
    if (enabled && FPressed && FHot) DrawEdge(dc, &client, BDR_SUNKENOUTER, BF_RECT);
    else if (!FButton.Flat() || (enabled && (FHot || FPressed))) DrawEdge(dc, &client, FButton.Flat() ? BDR_RAISEDINNER : EDGE_RAISED, BF_RECT);

    const int shift = FPressed && FHot ? 1 : 0;
    BITMAP info{};
    const bool glyph = FGlyph && GetObjectA(FGlyph, sizeof(info), &info);
    const int glyphWidth = glyph ? info.bmWidth / FButton.NumGlyphs() : 0;
    const std::string& caption = FButton.Caption();
    SIZE text{};
    HGDIOBJ oldFont = SelectObject(dc, CurrentFont());
    if (!caption.empty()) {
      RECT measure{0, 0, 0, 0};
      DrawTextA(dc, caption.c_str(), static_cast<int>(caption.size()), &measure, DT_CALCRECT | DT_SINGLELINE);
      text = {measure.right, measure.bottom};
    }
    const int gap = glyph && text.cx ? 4 : 0;
    int x = (client.right - glyphWidth - gap - text.cx) / 2 + shift;
    if (glyph) {
      DrawGlyph(dc, x, (client.bottom - info.bmHeight) / 2 + shift);
      x += glyphWidth + gap;
    }
    if (text.cx) {
      RECT box{x, shift, x + text.cx, client.bottom + shift};
      SetBkMode(dc, TRANSPARENT);
      if (!enabled) {
        // The engraved look of disabled text: a light copy below right, then grey.
        RECT light{box.left + 1, box.top + 1, box.right + 1, box.bottom + 1};
        SetTextColor(dc, GetSysColor(COLOR_BTNHIGHLIGHT));
        DrawTextA(dc, caption.c_str(), static_cast<int>(caption.size()), &light, DT_SINGLELINE | DT_VCENTER);
      }
      SetTextColor(dc, enabled ? ColorToRGB(FButton.Font().Color()) : GetSysColor(COLOR_GRAYTEXT));
      DrawTextA(dc, caption.c_str(), static_cast<int>(caption.size()), &box, DT_SINGLELINE | DT_VCENTER);
    }
    SelectObject(dc, oldFont);
    EndPaint(Handle(), &ps);
  }
};

}  // namespace
}  // namespace Win32

std::unique_ptr<TControlPeer> TSpeedButton::CreatePeer() { return std::make_unique<Win32::TSpeedButtonPeer>(*this); }
