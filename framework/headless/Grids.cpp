// Headless text measures: a fixed-pitch stand-in for the screen's font, 6 pixels a character
// (7 in bold) and the font's height a line.
#include <cstdlib>

#include "framework/Grids.h"

namespace {

class THeadlessTextDevice : public TCanvasDevice {
public:
  void TextOut(int, int, const std::string&, const TFont&, const TBrush&) override {}
  TSize TextExtent(const std::string& Text, const TFont& Font) override {
    const int perChar = Font.Style() & fsBold ? 7 : 6;
    return {static_cast<int>(Text.size()) * perChar, std::abs(Font.Height()) + 2};
  }
  TTextMetric TextMetrics(const TFont& Font) override {
    const int height = std::abs(Font.Height()) + 2;
    return {height, height - 3, 3, 2, 0, 6, 12};
  }
  int PixelsPerInch() const override { return 96; }
};

}  // namespace

TCanvasDevice& Backend::ScreenTextDevice() {
  static THeadlessTextDevice device;
  return device;
}
