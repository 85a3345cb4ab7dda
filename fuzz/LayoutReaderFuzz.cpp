// Window layouts are text that the reader turns into components. Whatever the text, reading
// ends in the window or in an error of ours: never a crash, a stack or memory exhaustion, or
// another exception. A string value, written with the format's escapes, reads back exactly.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

#include "framework/Forms.h"
#include "framework/Layout.h"
#include "fuzz/FuzzCheck.h"

namespace {

// Value as a layout string: quotes, backslashes and every byte outside printable ASCII escaped.
std::string Quoted(const std::string& Value) {
  std::string Out = "\"";
  for (unsigned char C : Value) {
    if (C == '"' || C == '\\') {
      Out += '\\';
      Out += static_cast<char>(C);
    } else if (C < 0x20 || C >= 0x7F) {
      char Hex[5];
      std::snprintf(Hex, sizeof Hex, "\\x%02X", C);
      Out += Hex;
    } else {
      Out += static_cast<char>(C);
    }
  }
  return Out + "\"";
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
  const std::string Text(reinterpret_cast<const char*>(Data), Size);
  try {
    TForm Form(nullptr);
    ReadLayoutText(&Form, Text);
  } catch (const Exception&) {
  }

  TForm Form(nullptr);
  ReadLayoutText(&Form, "TForm f\n  Caption = " + Quoted(Text) + "  # the whole input\n");
  CheckEqual(Form.Caption(), Text);
  return 0;
}
