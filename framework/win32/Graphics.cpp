// Colours, fonts, cursors and modifier keys in GDI and user terms.
#include <map>

#include "framework/win32/Win32.h"

namespace Win32 {

COLORREF ColorToRGB(TColor Color) {
  if (IsSystemColor(Color)) return GetSysColor(Color & 0xFF);
  return static_cast<COLORREF>(Color) & 0xFFFFFF;
}

void FillClient(HWND Window, HDC Dc, TColor Color) {
  RECT client;
  GetClientRect(Window, &client);
  HBRUSH brush = CreateSolidBrush(ColorToRGB(Color));
  FillRect(Dc, &client, brush);
  DeleteObject(brush);
}

TFontHandle FontHandle(const TFont& Font) {
  // Windows showing the same font share one GDI object; it goes when the last one lets go.
  static std::map<std::string, std::weak_ptr<HFONT__>> cache;
  std::string key = Font.Name() + '|' + std::to_string(Font.Height()) + '|' +
                    std::to_string(Font.Style()) + '|' + std::to_string(Font.CharSet()) + '|' +
                    std::to_string(static_cast<int>(Font.Pitch()));
  if (auto found = cache.find(key); found != cache.end())
    if (TFontHandle shared = found->second.lock()) return shared;

  std::erase_if(cache, [](const auto& entry) { return entry.second.expired(); });
  int pitch = Font.Pitch() == TFontPitch::fpFixed      ? FIXED_PITCH
              : Font.Pitch() == TFontPitch::fpVariable ? VARIABLE_PITCH
                                                       : DEFAULT_PITCH;
  HFONT font = CreateFontA(Font.Height(), 0, 0, 0, (Font.Style() & fsBold) ? FW_BOLD : FW_NORMAL,
                           (Font.Style() & fsItalic) != 0, (Font.Style() & fsUnderline) != 0,
                           (Font.Style() & fsStrikeOut) != 0, static_cast<BYTE>(Font.CharSet()),
                           OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                           pitch | FF_DONTCARE, Font.Name().c_str());
  if (!font) font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
  TFontHandle shared(font, [](HFONT f) { DeleteObject(f); });
  cache[key] = shared;
  return shared;
}

HCURSOR CursorHandle(TCursor Cursor) {
  const char* id = IDC_ARROW;
  switch (Cursor) {
    case crIBeam: id = IDC_IBEAM; break;
    case crHourGlass: id = IDC_WAIT; break;
    case crHandPoint: id = IDC_HAND; break;
    default: break;
  }
  return LoadCursorA(nullptr, id);
}

TShiftState KeyboardShift() {
  TShiftState shift = 0;
  if (GetKeyState(VK_SHIFT) < 0) shift |= ssShift;
  if (GetKeyState(VK_CONTROL) < 0) shift |= ssCtrl;
  if (GetKeyState(VK_MENU) < 0) shift |= ssAlt;
  return shift;
}

TShiftState MouseShift(WPARAM Keys) {
  TShiftState shift = 0;
  if (Keys & MK_SHIFT) shift |= ssShift;
  if (Keys & MK_CONTROL) shift |= ssCtrl;
  if (Keys & MK_LBUTTON) shift |= ssLeft;
  if (Keys & MK_RBUTTON) shift |= ssRight;
  if (Keys & MK_MBUTTON) shift |= ssMiddle;
  if (GetKeyState(VK_MENU) < 0) shift |= ssAlt;
  return shift;
}

}  // namespace Win32
