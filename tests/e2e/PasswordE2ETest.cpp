// The password prompt on real windows under Wine: the entry is masked, a wrong password typed
// on the keyboard is refused in the red status line, and the right one in another letter case,
// ended with Enter, is accepted and kept for the next ask.
#include <gtest/gtest.h>

#include "framework/win32/Win32Handles.h"

#include <cctype>
#include <functional>
#include <string>

#include "framework/ExtCtrls.h"
#include "framework/Forms.h"
#include "framework/StdCtrls.h"
#include "tests/e2e/Pump.h"
#include "tests/e2e/Screenshot.h"
#include "windows/VLMXPw/VLMXPw.h"

namespace {

// Letters and digits as the keyboard types them, Shift held for capitals.
void TypeKeys(const std::string& Text) {
  for (char c : Text) {
    const bool upper = std::isupper(static_cast<unsigned char>(c));
    if (upper) Key(VK_SHIFT, false);
    Press(static_cast<WORD>(std::toupper(static_cast<unsigned char>(c))));
    if (upper) Key(VK_SHIFT, true);
  }
}

COLORREF PixelAt(HWND Window, int X, int Y) {
  HDC dc = GetDC(Window);
  COLORREF colour = GetPixel(dc, X, Y);
  ReleaseDC(Window, dc);
  return colour;
}

}  // namespace

TEST(PasswordE2E, WrongPasswordIsRefusedThenTheRightOneIsAcceptedWithEnter) {
  std::string caption, prompt, statusAfterWrong;
  wchar_t mask = 0;
  COLORREF statusColour = 0;
  bool screenshot = false;
  int state = 0, ticks = 0;
  RunInsideNextLoop([&] {
    if (++ticks > 300) {  // 30 seconds: a failure, not a hang
      if (fmVlxPassword) fmVlxPassword->SetModalResult(mrCancel);
      return true;
    }
    TfmVlxPassword* form = fmVlxPassword;
    HWND window = form ? PeerHandle(*form) : nullptr;
    if (!window || !IsWindowVisible(window)) return false;
    HWND edit = PeerHandle(*form->edPassword);
    switch (state) {
      case 0:
        SetForegroundWindow(window);
        if (GetForegroundWindow() != window || GetFocus() != edit) return false;
        caption = WindowText(window);
        prompt = WindowText(PeerHandle(*form->lbPWPrompt));
        mask = static_cast<wchar_t>(SendMessageA(edit, EM_GETPASSWORDCHAR, 0, 0));
        TypeKeys("wrong");
        state = 1;
        return false;
      case 1: {
        if (form->edPassword->Text() != "wrong") return false;
        RECT r{};
        GetClientRect(PeerHandle(*form->edOk), &r);
        PostClick(PeerHandle(*form->edOk), r.right / 2, r.bottom / 2);
        state = 2;
        return false;
      }
      case 2: {
        HWND status = PeerHandle(*form->paStatus);
        if (WindowText(status) != "Password is Incorrect" || GetFocus() != edit) return false;
        statusAfterWrong = WindowText(status);
        statusColour = PixelAt(status, 3, 3);
        if (!screenshot) {
          screenshot = true;
          return false;  // one more tick for the panel to paint
        }
        SaveWindowScreenshot(window, "password-refused");
        // The refused entry stays: rub it out and type the right one in another case.
        for (int i = 0; i < 5; ++i) Press(VK_BACK);
        TypeKeys("SeCrEt");
        state = 3;
        return false;
      }
      case 3:
        if (form->edPassword->Text() != "SeCrEt") return false;
        Press(VK_RETURN);
        return true;
    }
    return false;
  });

  std::string entered;
  EXPECT_TRUE(AskReportPassword("Books of the Bible", "Enter Report Password:", "secret", entered, false));
  EXPECT_EQ(state, 3);
  EXPECT_EQ(caption, "Report: Books of the Bible");
  EXPECT_EQ(prompt, "Enter Report Password:");
  EXPECT_EQ(mask, L'X');
  EXPECT_EQ(statusAfterWrong, "Password is Incorrect");
  EXPECT_EQ(statusColour, RGB(255, 0, 0));
  EXPECT_EQ(entered, "SeCrEt");
  EXPECT_EQ(fmVlxPassword, nullptr);
  // Given once, it is not asked again: no window, at once.
  EXPECT_TRUE(AskReportPassword("Books of the Bible", "Enter Report Password:", "secret", entered, false));
}
