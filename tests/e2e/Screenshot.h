// Screenshots of real windows for the end-to-end tests: what the screen shows of a window,
// saved as a 24-bit BMP in the build's screenshot folder for a person to look at.
#pragma once
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

// The pixels of a screen rectangle, top row first, as 0xRRGGBB.
struct TScreenImage {
  int Width = 0;
  int Height = 0;
  std::vector<std::uint32_t> Pixels;

  std::uint32_t At(int X, int Y) const { return Pixels[static_cast<size_t>(Y) * Width + X]; }
};

// Copies what the screen shows inside the window's frame; the window must be on top.
TScreenImage CaptureWindow(HWND Window);

// Writes the image as <screenshot folder>/<Name>.bmp and returns the file's path.
std::string SaveBmp(const TScreenImage& Image, const std::string& Name);

// Captures the window once what it painted is on the screen, and saves it; the path of the
// file, or a failed test if it cannot.
std::string SaveWindowScreenshot(HWND Window, const std::string& Name);
