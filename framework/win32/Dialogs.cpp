// Dialogs on Win32: the message dialog is a form of ours with the icon of its type; the font,
// save-file and printer-setup dialogs are the system's common dialogs.
#include <memory>
#include <vector>

#include "framework/Dialogs.h"
#include "framework/Printers.h"
#include "framework/win32/Win32.h"

#include <commdlg.h>

namespace {

LPCSTR IconName(TMsgDlgType DlgType) {
  switch (DlgType) {
    case TMsgDlgType::mtWarning: return IDI_WARNING;
    case TMsgDlgType::mtError: return IDI_ERROR;
    case TMsgDlgType::mtInformation: return IDI_INFORMATION;
    case TMsgDlgType::mtConfirmation: return IDI_QUESTION;
    default: return nullptr;
  }
}

HWND DialogOwner() {
  TCustomForm* active = Screen->ActiveForm();
  HWND owner = active ? PeerHandle(*active) : nullptr;
  return owner && IsWindowVisible(owner) ? owner : GetActiveWindow();
}

}  // namespace

namespace Backend {

int MessageDlg(const std::string& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons, int HelpCtx) {
  TFont font;
  std::unique_ptr<HDC__, BOOL(WINAPI*)(HDC)> dc(CreateCompatibleDC(nullptr), DeleteDC);
  Win32::TFontHandle handle = Win32::FontHandle(font);
  SelectObject(dc.get(), handle.get());
  auto measure = [&](const std::string& Text) {
    RECT r{0, 0, 0, 0};
    DrawTextA(dc.get(), Text.c_str(), static_cast<int>(Text.size()), &r, DT_CALCRECT | DT_NOPREFIX);
    return TSize{r.right, r.bottom};
  };
  std::unique_ptr<TForm> form(CreateMessageDialog(Msg, DlgType, Buttons, HelpCtx, measure));
  if (LPCSTR icon = IconName(DlgType)) {
    TForm* dialog = form.get();
    dialog->OnShow = [dialog, icon](TObject*) {
      HWND image = CreateWindowExA(0, "STATIC", nullptr, WS_CHILD | WS_VISIBLE | SS_ICON, 8, 8, 32, 32,
                                   PeerHandle(*dialog), nullptr, Win32::Instance(), nullptr);
      SendMessageA(image, STM_SETICON, reinterpret_cast<WPARAM>(LoadIconA(nullptr, icon)), 0);
    };
  }
  return form->ShowModal();
}

bool ExecuteFontDialog(TFontDialog& Dialog) {
  TFont& font = Dialog.Font();
  LOGFONTA log{};
  log.lfHeight = font.Height();
  log.lfWeight = font.Style() & fsBold ? FW_BOLD : FW_NORMAL;
  log.lfItalic = (font.Style() & fsItalic) != 0;
  log.lfUnderline = (font.Style() & fsUnderline) != 0;
  log.lfStrikeOut = (font.Style() & fsStrikeOut) != 0;
  log.lfCharSet = static_cast<BYTE>(font.CharSet());
  lstrcpynA(log.lfFaceName, font.Name().c_str(), LF_FACESIZE);
  CHOOSEFONTA choose{};
  choose.lStructSize = sizeof(choose);
  choose.hwndOwner = DialogOwner();
  choose.lpLogFont = &log;
  choose.rgbColors = Win32::ColorToRGB(font.Color());
  choose.Flags = CF_SCREENFONTS | CF_INITTOLOGFONTSTRUCT;
  if (Dialog.Options() & fdFixedPitchOnly) choose.Flags |= CF_FIXEDPITCHONLY;
  if (Dialog.Options() & fdEffects) choose.Flags |= CF_EFFECTS;
  if (Dialog.Options() & fdNoStyleSel) choose.Flags |= CF_NOSTYLESEL;
  if (!ChooseFontA(&choose)) return false;
  font.SetName(log.lfFaceName);
  font.SetHeight(log.lfHeight);
  TFontStyles style = 0;
  if (log.lfWeight >= FW_BOLD) style |= fsBold;
  if (log.lfItalic) style |= fsItalic;
  if (log.lfUnderline) style |= fsUnderline;
  if (log.lfStrikeOut) style |= fsStrikeOut;
  font.SetStyle(style);
  font.SetColor(static_cast<TColor>(choose.rgbColors));
  font.SetCharSet(log.lfCharSet);
  return true;
}

bool ExecuteSaveDialog(TSaveDialog& Dialog) {
  // "Text|*.txt|All|*.*" becomes the system's pairs of strings, each ended by a zero.
  std::string filter = Dialog.Filter();
  for (char& c : filter)
    if (c == '|') c = '\0';
  filter.append(2, '\0');
  std::vector<char> file(4 * MAX_PATH, '\0');
  lstrcpynA(file.data(), Dialog.FileName().c_str(), static_cast<int>(file.size()));
  OPENFILENAMEA ofn{};
  ofn.lStructSize = sizeof(ofn);
  ofn.hwndOwner = DialogOwner();
  ofn.lpstrFilter = Dialog.Filter().empty() ? nullptr : filter.c_str();
  ofn.nFilterIndex = 1;
  ofn.lpstrFile = file.data();
  ofn.nMaxFile = static_cast<DWORD>(file.size());
  ofn.lpstrTitle = Dialog.Title().empty() ? nullptr : Dialog.Title().c_str();
  ofn.lpstrDefExt = Dialog.DefaultExt().empty() ? nullptr : Dialog.DefaultExt().c_str();
  ofn.Flags = OFN_EXPLORER | OFN_ENABLESIZING;
  if (Dialog.Options() & ofOverwritePrompt) ofn.Flags |= OFN_OVERWRITEPROMPT;
  if (Dialog.Options() & ofHideReadOnly) ofn.Flags |= OFN_HIDEREADONLY;
  if (Dialog.Options() & ofPathMustExist) ofn.Flags |= OFN_PATHMUSTEXIST;
  if (Dialog.Options() & ofNoChangeDir) ofn.Flags |= OFN_NOCHANGEDIR;
  if (!GetSaveFileNameA(&ofn)) return false;
  Dialog.SetFileName(file.data());
  return true;
}

bool ExecutePrinterSetupDialog(TPrinterSetupDialog&) {
  TPrinter& printer = *Printer();
  const int index = printer.PrinterIndex();
  const std::string current = index >= 0 ? printer.Printers()[index] : std::string();
  // The current printer and orientation are offered first.
  HGLOBAL names = GlobalAlloc(GHND, sizeof(DEVNAMES) + current.size() + 3);
  if (auto* dn = static_cast<DEVNAMES*>(GlobalLock(names))) {
    dn->wDeviceOffset = sizeof(DEVNAMES);
    dn->wDriverOffset = dn->wOutputOffset = static_cast<WORD>(sizeof(DEVNAMES) + current.size() + 1);
    lstrcpyA(reinterpret_cast<char*>(dn) + dn->wDeviceOffset, current.c_str());
    GlobalUnlock(names);
  }
  HGLOBAL mode = GlobalAlloc(GHND, sizeof(DEVMODEA));
  if (auto* dm = static_cast<DEVMODEA*>(GlobalLock(mode))) {
    dm->dmSize = sizeof(DEVMODEA);
    lstrcpynA(reinterpret_cast<char*>(dm->dmDeviceName), current.c_str(), CCHDEVICENAME);
    dm->dmFields = DM_ORIENTATION;
    dm->dmOrientation = printer.Orientation() == TPrinterOrientation::poLandscape ? DMORIENT_LANDSCAPE : DMORIENT_PORTRAIT;
    GlobalUnlock(mode);
  }
  PRINTDLGA pd{};
  pd.lStructSize = sizeof(pd);
  pd.hwndOwner = DialogOwner();
  pd.hDevNames = current.empty() ? nullptr : names;
  pd.hDevMode = current.empty() ? nullptr : mode;
  pd.Flags = PD_PRINTSETUP;
  if (current.empty()) {
    GlobalFree(names);
    GlobalFree(mode);
  }
  const bool ok = PrintDlgA(&pd);
  if (ok) {
    if (auto* dn = static_cast<DEVNAMES*>(GlobalLock(pd.hDevNames))) {
      const int chosen = printer.Printers().IndexOf(reinterpret_cast<char*>(dn) + dn->wDeviceOffset);
      GlobalUnlock(pd.hDevNames);
      if (chosen >= 0) printer.SetPrinterIndex(chosen);
    }
    if (auto* dm = static_cast<DEVMODEA*>(GlobalLock(pd.hDevMode))) {
      if (dm->dmFields & DM_ORIENTATION)
        printer.SetOrientation(dm->dmOrientation == DMORIENT_LANDSCAPE ? TPrinterOrientation::poLandscape
                                                                     : TPrinterOrientation::poPortrait);
      GlobalUnlock(pd.hDevMode);
    }
  }
  if (pd.hDevNames) GlobalFree(pd.hDevNames);
  if (pd.hDevMode) GlobalFree(pd.hDevMode);
  return ok;
}

void ShowHelp(const std::string& HelpFile, int Context) {
  // Without its file the system's help viewer would only say that it cannot open it, in its
  // own words and behind our window: no help shows nothing.
  if (HelpFile.empty() || GetFileAttributesA(HelpFile.c_str()) == INVALID_FILE_ATTRIBUTES) return;
  WinHelpA(DialogOwner(), HelpFile.c_str(), HELP_CONTEXT, static_cast<ULONG_PTR>(Context));
}

}  // namespace Backend
