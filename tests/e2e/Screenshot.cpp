#include "tests/e2e/Screenshot.h"

#include <gtest/gtest.h>

#include <fstream>
#include <stdexcept>

#include "tests/e2e/Pump.h"

namespace {

// BMP rows are padded to four bytes and stored bottom row first.
int RowBytes(int Width) { return (Width * 3 + 3) & ~3; }

BITMAPINFOHEADER InfoHeader(int Width, int Height) {
  BITMAPINFOHEADER h{};
  h.biSize = sizeof h;
  h.biWidth = Width;
  h.biHeight = Height;  // positive: bottom-up, the file's own order
  h.biPlanes = 1;
  h.biBitCount = 24;
  h.biCompression = BI_RGB;
  h.biSizeImage = static_cast<DWORD>(RowBytes(Width) * Height);
  return h;
}

}  // namespace

TScreenImage CaptureWindow(HWND Window) {
  RECT r;
  if (!GetWindowRect(Window, &r)) throw std::runtime_error("GetWindowRect failed");
  TScreenImage image{r.right - r.left, r.bottom - r.top, {}};
  if (image.Width <= 0 || image.Height <= 0) throw std::runtime_error("window has no area");

  HDC screen = GetDC(nullptr), memory = CreateCompatibleDC(screen);
  BITMAPINFO info{};
  info.bmiHeader = InfoHeader(image.Width, image.Height);
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = bitmap ? SelectObject(memory, bitmap) : nullptr;
  const bool copied = bitmap && BitBlt(memory, 0, 0, image.Width, image.Height, screen, r.left, r.top,
                                       SRCCOPY | CAPTUREBLT);
  GdiFlush();
  if (copied) {
    const auto* p = static_cast<const unsigned char*>(bits);
    image.Pixels.resize(static_cast<size_t>(image.Width) * image.Height);
    for (int y = 0; y < image.Height; ++y) {
      const unsigned char* row = p + static_cast<size_t>(image.Height - 1 - y) * RowBytes(image.Width);
      for (int x = 0; x < image.Width; ++x)
        image.Pixels[static_cast<size_t>(y) * image.Width + x] = row[x * 3] | (row[x * 3 + 1] << 8) | (row[x * 3 + 2] << 16);
    }
  }
  if (old) SelectObject(memory, old);
  if (bitmap) DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  if (!copied) throw std::runtime_error("copying the window from the screen failed");
  return image;
}

std::string SaveBmp(const TScreenImage& Image, const std::string& Name) {
  std::string path = std::string(VERSORA_SCREENSHOT_DIR) + "/" + Name + ".bmp";
  BITMAPINFOHEADER info = InfoHeader(Image.Width, Image.Height);
  BITMAPFILEHEADER file{};
  file.bfType = 0x4D42;  // "BM"
  file.bfOffBits = sizeof file + sizeof info;
  file.bfSize = file.bfOffBits + info.biSizeImage;

  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(&file), sizeof file);
  out.write(reinterpret_cast<const char*>(&info), sizeof info);
  std::vector<unsigned char> row(RowBytes(Image.Width), 0);
  for (int y = Image.Height - 1; y >= 0; --y) {
    for (int x = 0; x < Image.Width; ++x)
      for (int b = 0; b < 3; ++b) row[x * 3 + b] = (Image.At(x, y) >> (8 * b)) & 0xFF;
    out.write(reinterpret_cast<const char*>(row.data()), static_cast<std::streamsize>(row.size()));
  }
  if (!out.flush()) throw std::runtime_error("cannot write " + path);
  return path;
}

std::string SaveWindowScreenshot(HWND Window, const std::string& Name) {
  try {
    // Wine hands what a window painted to the X server a moment later: the picture is the one
    // that two captures a pass of the message loop apart agree on.
    RedrawWindow(Window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    TScreenImage Shot = CaptureWindow(Window);
    PumpUntil([&] {
      TScreenImage Next = CaptureWindow(Window);
      const bool Same = Next.Pixels == Shot.Pixels;
      Shot = std::move(Next);
      return Same;
    });
    return SaveBmp(Shot, Name);
  } catch (const std::exception& e) {
    ADD_FAILURE() << "screenshot " << Name << ": " << e.what();
    return {};
  }
}
