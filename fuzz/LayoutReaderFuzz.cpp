// Window layouts are text that the reader turns into components. Whatever the text, reading
// ends in the window or in an error of ours: never a crash, a stack or memory exhaustion, or
// another exception. A string value, written with the format's escapes, reads back exactly.
// fuzz-sources: framework/Classes.cpp framework/ComCtrls.cpp framework/DB.cpp framework/DBFields.cpp framework/DBGrids.cpp framework/DBTables.cpp framework/DecisionGrid.cpp framework/Controls.cpp framework/ExtCtrls.cpp framework/Forms.cpp framework/Graphics.cpp framework/Grids.cpp framework/IniFiles.cpp framework/Layout.cpp framework/Printers.cpp framework/RegisterClasses.cpp framework/StdCtrls.cpp framework/headless/Backend.cpp framework/headless/ComCtrls.cpp framework/headless/ListBox.cpp framework/headless/Controls.cpp framework/headless/ExtCtrls.cpp framework/headless/FontInstall.cpp framework/headless/IniFiles.cpp framework/headless/Printers.cpp framework/headless/FileSystem.cpp framework/headless/SharedFiles.cpp
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "framework/Forms.h"
#include "framework/Layout.h"
#include "framework/LinkedResources.h"
#include "fuzz/Check.h"

// The fuzzed text is the only layout there is, and no resource is linked.
std::string LinkedLayoutText(const std::string&) { return ""; }
extern const TLinkedResource GLinkedResources[] = {{"", "", nullptr, 0}};
extern const int GLinkedResourceCount = 0;

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
  CHECK(Form.Caption() == Text);
  return 0;
}
