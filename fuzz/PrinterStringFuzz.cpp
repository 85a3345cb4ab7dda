// Printer strings typed in the settings: "#" and one to three digits is the byte of that code,
// "##" one "#". Any text decodes or raises the invalid-character error naming a code above 255;
// a text without "#" is its own bytes; and any bytes, written with codes, "##" or as they are,
// decode back to themselves.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdlib>
#include <string>

#include "engine/VLMXGbl/Output.h"
#include "framework/rtl/Exceptions.h"
#include "fuzz/FuzzCheck.h"

namespace {

std::string Decode(const std::string& Text) {
  std::string Decoded;
  DecodePrinterString(Text, Decoded);
  return Decoded;
}

bool IsDigit(char C) { return C >= '0' && C <= '9'; }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
  FuzzedDataProvider In(Data, Size);

  // Bytes written the ways a user may write them.
  const std::string Bytes = In.ConsumeRandomLengthString(64);
  std::string Encoded;
  for (size_t I = 0; I < Bytes.size(); ++I) {
    const unsigned char B = static_cast<unsigned char>(Bytes[I]);
    if (B != '#' && In.ConsumeBool()) {
      Encoded += static_cast<char>(B);
      continue;
    }
    if (B == '#' && In.ConsumeBool()) {
      Encoded += "##";
      continue;
    }
    std::string Code = std::to_string(B);
    // A digit after the code would be read as part of it unless the code has three digits.
    const bool DigitFollows = I + 1 < Bytes.size() && IsDigit(Bytes[I + 1]);
    if (DigitFollows || In.ConsumeBool()) Code.insert(0, 3 - Code.size(), '0');
    Encoded += "#" + Code;
  }
  CheckEqual(Decode(Encoded), Bytes);

  const std::string Text = In.ConsumeRemainingBytesAsString();
  try {
    const std::string Decoded = Decode(Text);
    Check(Decoded.size() <= Text.size());
    if (Text.find('#') == std::string::npos) Check(Decoded == Text);
  } catch (const Exception& E) {
    // The message quotes the text, which may hold anything: the code follows the last marker.
    const std::string& Message = E.Message();
    const std::string Marker = "has invalid ASCII character:";
    const size_t At = Message.rfind(Marker);
    Check(At != std::string::npos);
    Check(std::atoi(Message.c_str() + At + Marker.size()) > 255);
  }
  return 0;
}
