// The grid peer: a window of our own class that paints the model's cells and reports scrolling,
// mouse and keys back to it.
#include <algorithm>

#include "framework/Grids.h"
#include "framework/win32/Win32.h"

namespace Win32 {
namespace {

constexpr TColor FixedLineColor = clBlack;
constexpr TColor LineColor = clSilver;

bool HasVertBar(TScrollStyle S) { return S == TScrollStyle::ssVertical || S == TScrollStyle::ssBoth; }
bool HasHorzBar(TScrollStyle S) { return S == TScrollStyle::ssHorizontal || S == TScrollStyle::ssBoth; }

DWORD ScrollStyle(TScrollStyle S) {
  return (HasVertBar(S) ? WS_VSCROLL : 0) | (HasHorzBar(S) ? WS_HSCROLL : 0);
}

void Fill(HDC Dc, const RECT& R, TColor Color) {
  SetBkColor(Dc, ColorToRGB(Color));
  ExtTextOutA(Dc, 0, 0, ETO_OPAQUE, &R, nullptr, 0, nullptr);
}

// A canvas's device over a device context that someone else owns: painting and measuring.
class THdcTextDevice : public TCanvasDevice {
public:
  explicit THdcTextDevice(HDC Dc) : FDc(Dc), FOldFont(GetCurrentObject(Dc, OBJ_FONT)) {}
  ~THdcTextDevice() override { SelectObject(FDc, FOldFont); }
  THdcTextDevice(const THdcTextDevice&) = delete;
  THdcTextDevice& operator=(const THdcTextDevice&) = delete;

  void TextOut(int X, int Y, const std::string& Text, const TFont& Font, const TBrush& Brush) override {
    Select(Font);
    SetTextColor(FDc, ColorToRGB(Font.Color()));
    SetBkMode(FDc, Brush.Style() == TBrushStyle::bsClear ? TRANSPARENT : OPAQUE);
    SetBkColor(FDc, ColorToRGB(Brush.Color()));
    TextOutA(FDc, X, Y, Text.data(), static_cast<int>(Text.size()));
  }
  TSize TextExtent(const std::string& Text, const TFont& Font) override {
    Select(Font);
    SIZE size{};
    GetTextExtentPoint32A(FDc, Text.data(), static_cast<int>(Text.size()), &size);
    return {static_cast<int>(size.cx), static_cast<int>(size.cy)};
  }
  TTextMetric TextMetrics(const TFont& Font) override {
    Select(Font);
    TEXTMETRICA tm{};
    GetTextMetricsA(FDc, &tm);
    return {static_cast<int>(tm.tmHeight), static_cast<int>(tm.tmAscent), static_cast<int>(tm.tmDescent),
            static_cast<int>(tm.tmInternalLeading), static_cast<int>(tm.tmExternalLeading),
            static_cast<int>(tm.tmAveCharWidth), static_cast<int>(tm.tmMaxCharWidth)};
  }
  int PixelsPerInch() const override { return GetDeviceCaps(FDc, LOGPIXELSY); }
  void FillRect(int Left, int Top, int Right, int Bottom, const TBrush& Brush) override {
    Fill(FDc, RECT{Left, Top, Right, Bottom}, Brush.Color());
  }

private:
  void Select(const TFont& Font) {
    TFontHandle font = FontHandle(Font);
    SelectObject(FDc, font.get());
    FFont = std::move(font);
  }
  HDC FDc;
  HGDIOBJ FOldFont;
  TFontHandle FFont;
};

class TGridPeer : public TWinPeer {
public:
  explicit TGridPeer(TCustomGrid& Grid) : TWinPeer(Grid), FGrid(Grid) {
    CreateHandle(GridClassName, WS_CHILD | WS_TABSTOP | WS_CLIPSIBLINGS | ScrollStyle(Grid.ScrollBars()),
                 WS_EX_CLIENTEDGE, ParentHandle(Grid));
    // Beneath its siblings, so that an editor placed over a cell shows above the grid.
    SetWindowPos(Handle(), HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    UpdateScrollBars();
  }

  void Changed(TPeerChange What) override {
    if (!Handle()) return;
    switch (What) {
      case TPeerChange::Style: {
        LONG style = GetWindowLongA(Handle(), GWL_STYLE) & ~(WS_VSCROLL | WS_HSCROLL);
        SetWindowLongA(Handle(), GWL_STYLE, style | ScrollStyle(FGrid.ScrollBars()));
        SetWindowPos(Handle(), nullptr, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
        UpdateScrollBars();
        InvalidateRect(Handle(), nullptr, FALSE);
        break;
      }
      case TPeerChange::Bounds:
      case TPeerChange::Layout:
      case TPeerChange::Contents:
        if (What == TPeerChange::Bounds) TWinPeer::Changed(What);
        UpdateScrollBars();
        InvalidateRect(Handle(), nullptr, FALSE);
        break;
      case TPeerChange::Redraw:
      case TPeerChange::Focus:
      case TPeerChange::Enabled:
      case TPeerChange::Visible:
        TWinPeer::Changed(What);
        break;
      default:
        // Font and colours are read when painting.
        if (What == TPeerChange::Font) TWinPeer::Changed(What);
        InvalidateRect(Handle(), nullptr, FALSE);
        break;
    }
  }

protected:
  bool WantsKey(WPARAM Key) const override {
    switch (Key) {
      case VK_UP: case VK_DOWN: case VK_LEFT: case VK_RIGHT:
      case VK_PRIOR: case VK_NEXT: case VK_HOME: case VK_END:
        return true;
      case VK_TAB: return (FGrid.Options() & goTabs) != 0;
      default: return false;
    }
  }

  bool Message(UINT Msg, WPARAM W, LPARAM L, LRESULT& Result) override {
    Result = 0;
    switch (Msg) {
      case WM_ERASEBKGND: Result = 1; return true;
      case WM_PAINT: Paint(); return true;
      case WM_VSCROLL: Scroll(SB_VERT, LOWORD(W)); return true;
      case WM_HSCROLL: Scroll(SB_HORZ, LOWORD(W)); return true;
      case WM_MOUSEWHEEL: Wheel(static_cast<short>(HIWORD(W))); return true;
      case WM_LBUTTONDOWN:
      case WM_RBUTTONDOWN:
      case WM_MBUTTONDOWN:
      case WM_LBUTTONDBLCLK:
        if (GetFocus() != Handle() && FGrid.CanFocus()) ::SetFocus(Handle());
        SetCapture(Handle());
        return TWinPeer::Message(Msg, W, L, Result);
      case WM_LBUTTONUP:
      case WM_RBUTTONUP:
      case WM_MBUTTONUP:
        if (GetCapture() == Handle()) ReleaseCapture();
        return TWinPeer::Message(Msg, W, L, Result);
      case WM_SETFOCUS:
      case WM_KILLFOCUS: {
        // The focus frame of the current cell comes and goes.
        auto alive = Alive();
        TWinPeer::Message(Msg, W, L, Result);
        if (!alive.expired()) InvalidateRect(Handle(), nullptr, FALSE);
        return true;
      }
      case WM_KEYDOWN: {
        auto alive = Alive();
        if (TWinPeer::Message(Msg, W, L, Result) || alive.expired()) return true;
        return MoveByKey(W);
      }
      default:
        return TWinPeer::Message(Msg, W, L, Result);
    }
  }

private:
  TCustomGrid& FGrid;
  int FWheelDelta = 0;
  TFontHandle FBoldFont;

  // The control's font in bold, for totals; made again when the font changes.
  HFONT BoldFont() {
    TFont bold;
    bold.Assign(FGrid.Font());
    bold.SetStyle(bold.Style() | fsBold);
    FBoldFont = FontHandle(bold);
    return FBoldFont.get();
  }

  void UpdateScrollBars() {
    SCROLLINFO si{sizeof(si), SIF_RANGE | SIF_PAGE | SIF_POS, 0, 0, 0, 0, 0};
    if (HasVertBar(FGrid.ScrollBars())) {
      si.nMax = FGrid.RowCount() - FGrid.FixedRows() - 1;
      si.nPage = std::max(1, FGrid.VisibleRowCount());
      si.nPos = FGrid.TopRow() - FGrid.FixedRows();
      SetScrollInfo(Handle(), SB_VERT, &si, TRUE);
    }
    if (HasHorzBar(FGrid.ScrollBars())) {
      si.nMax = FGrid.ColCount() - FGrid.FixedCols() - 1;
      si.nPage = std::max(1, FGrid.VisibleColCount());
      si.nPos = FGrid.LeftCol() - FGrid.FixedCols();
      SetScrollInfo(Handle(), SB_HORZ, &si, TRUE);
    }
  }

  void Scroll(int Bar, int Code) {
    bool vertical = Bar == SB_VERT;
    int first = vertical ? FGrid.TopRow() : FGrid.LeftCol();
    int fixed = vertical ? FGrid.FixedRows() : FGrid.FixedCols();
    int count = vertical ? FGrid.RowCount() : FGrid.ColCount();
    int page = std::max(1, vertical ? FGrid.VisibleRowCount() : FGrid.VisibleColCount());
    switch (Code) {
      case SB_LINEUP: --first; break;
      case SB_LINEDOWN: ++first; break;
      case SB_PAGEUP: first -= page; break;
      case SB_PAGEDOWN: first += page; break;
      case SB_TOP: first = fixed; break;
      case SB_BOTTOM: first = count; break;
      case SB_THUMBTRACK:
        // Without thumb tracking the grid moves only when the thumb is let go.
        if (!(FGrid.Options() & goThumbTracking)) return;
        [[fallthrough]];
      case SB_THUMBPOSITION: {
        SCROLLINFO si{sizeof(si), SIF_TRACKPOS, 0, 0, 0, 0, 0};
        GetScrollInfo(Handle(), Bar, &si);
        first = fixed + si.nTrackPos;
        break;
      }
      default: return;
    }
    if (vertical) FGrid.PeerScrolled(first);
    else FGrid.SetLeftCol(first);
  }

  void Wheel(int Delta) {
    UINT lines = 3;
    SystemParametersInfoA(SPI_GETWHEELSCROLLLINES, 0, &lines, 0);
    FWheelDelta += Delta;
    int notches = FWheelDelta / WHEEL_DELTA;
    FWheelDelta %= WHEEL_DELTA;
    if (notches) FGrid.PeerScrolled(FGrid.TopRow() - notches * static_cast<int>(lines));
  }

  bool MoveByKey(WPARAM Key) {
    int row = FGrid.Row(), col = FGrid.Col();
    int page = std::max(1, FGrid.VisibleRowCount());
    switch (Key) {
      case VK_UP: --row; break;
      case VK_DOWN: ++row; break;
      case VK_PRIOR: row -= page; break;
      case VK_NEXT: row += page; break;
      case VK_HOME: row = FGrid.FixedRows(); break;
      case VK_END: row = FGrid.RowCount() - 1; break;
      case VK_LEFT: --col; break;
      case VK_RIGHT: ++col; break;
      default: return false;
    }
    // With Shift the block grows from where it started, as a range-selecting grid does.
    FGrid.MoveCurrent(col, row, GetKeyState(VK_SHIFT) < 0);
    return true;
  }

  // Painted into a memory bitmap and copied in one go, so that a repaint does not flicker.
  void Paint() {
    PAINTSTRUCT ps;
    HDC screen = BeginPaint(Handle(), &ps);
    RECT client;
    GetClientRect(Handle(), &client);
    if (client.right > 0 && client.bottom > 0) {
      HDC dc = CreateCompatibleDC(screen);
      HBITMAP bitmap = CreateCompatibleBitmap(screen, client.right, client.bottom);
      HGDIOBJ oldBitmap = SelectObject(dc, bitmap);
      HGDIOBJ oldFont = SelectObject(dc, CurrentFont());
      DrawCells(dc, client);
      if (auto* drawGrid = As<TDrawGrid>(&FGrid)) {
        THdcTextDevice device(dc);
        drawGrid->PaintCells(device, GetFocus() == Handle());
      }
      BitBlt(screen, ps.rcPaint.left, ps.rcPaint.top, ps.rcPaint.right - ps.rcPaint.left,
             ps.rcPaint.bottom - ps.rcPaint.top, dc, ps.rcPaint.left, ps.rcPaint.top, SRCCOPY);
      SelectObject(dc, oldFont);
      SelectObject(dc, oldBitmap);
      DeleteObject(bitmap);
      DeleteDC(dc);
    }
    EndPaint(Handle(), &ps);
  }

  void DrawCells(HDC Dc, const RECT& Client) {
    Fill(Dc, Client, FGrid.Color());
    SetBkMode(Dc, TRANSPARENT);
    TGridRect sel = FGrid.Selection();
    TGridOptions options = FGrid.Options();
    bool focused = GetFocus() == Handle();
    int line = FGrid.GridLineWidth();

    auto visible = [](int fixed, int first, int count) {
      std::vector<int> out;
      for (int i = 0; i < fixed; ++i) out.push_back(i);
      for (int i = first; i < count; ++i) out.push_back(i);
      return out;
    };
    std::vector<int> rows = visible(FGrid.FixedRows(), FGrid.TopRow(), FGrid.RowCount());
    std::vector<int> cols = visible(FGrid.FixedCols(), FGrid.LeftCol(), FGrid.ColCount());

    for (int r : rows) {
      bool rowDone = false;
      for (int c : cols) {
        TRect cell = FGrid.CellRect(c, r);
        if (cell.Top >= Client.bottom) { rowDone = true; break; }
        if (cell.Left >= Client.right) break;
        bool fixed = r < FGrid.FixedRows() || c < FGrid.FixedCols();
        bool selected = !fixed && c >= sel.Left && c <= sel.Right && r >= sel.Top && r <= sel.Bottom;
        bool current = c == FGrid.Col() && r == FGrid.Row();
        // The focused current cell keeps its colours and shows a focus frame instead, unless
        // the options say otherwise.
        bool plainCurrent = current && focused && !(options & (goDrawFocusSelected | goRowSelect));
        bool highlight = selected && !plainCurrent;
        RECT box{cell.Left, cell.Top, cell.Right, cell.Bottom};
        Fill(Dc, box, fixed ? FGrid.FixedColor() : highlight ? clHighlight : FGrid.Color());

        bool vert = options & (fixed ? goFixedVertLine : goVertLine);
        bool horz = options & (fixed ? goFixedHorzLine : goHorzLine);
        TColor lineColor = fixed ? FixedLineColor : LineColor;
        if (line > 0) {
          RECT right{cell.Right, cell.Top, cell.Right + line, cell.Bottom + line};
          RECT bottom{cell.Left, cell.Bottom, cell.Right + line, cell.Bottom + line};
          if (vert) Fill(Dc, right, lineColor);
          if (horz) Fill(Dc, bottom, lineColor);
        }
        if (fixed) DrawEdge(Dc, &box, BDR_RAISEDINNER, BF_RECT);

        TGridCellView view = FGrid.CellView(c, r);
        if (view.Selected && !fixed && !highlight) {
          highlight = true;
          Fill(Dc, box, clHighlight);
        }
        if (!view.Text.empty()) {
          SetTextColor(Dc, ColorToRGB(highlight ? clHighlightText : FGrid.Font().Color()));
          RECT textBox{box.left + 2, box.top, box.right - 2, box.bottom};
          UINT align = view.Alignment == 1 ? DT_RIGHT : view.Alignment == 2 ? DT_CENTER : DT_LEFT;
          HGDIOBJ oldFont = view.Emphasis ? SelectObject(Dc, BoldFont()) : nullptr;
          DrawTextA(Dc, view.Text.data(), static_cast<int>(view.Text.size()), &textBox,
                    align | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
          if (oldFont) SelectObject(Dc, oldFont);
        }
        if (plainCurrent) DrawFocusRect(Dc, &box);
      }
      if (rowDone) break;
    }
  }
};

}  // namespace
}  // namespace Win32

std::unique_ptr<TControlPeer> TCustomGrid::CreatePeer() { return std::make_unique<Win32::TGridPeer>(*this); }

TCanvasDevice& Backend::ScreenTextDevice() {
  static HDC dc = CreateCompatibleDC(nullptr);
  static Win32::THdcTextDevice device(dc);
  return device;
}
