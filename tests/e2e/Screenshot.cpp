#include "tests/e2e/Screenshot.h"

#include <gtest/gtest.h>

#include <fstream>
#include <stdexcept>

namespace {

// BMP rows are padded to four bytes and stored bottom row first.
int RowBytes(int Width) { return (Width * 3 + 3) & ~3; }

// Releases the GDI objects of a capture on every path.
struct TCaptureDCs {
  HDC Screen = GetDC(nullptr);
  HDC Memory = CreateCompatibleDC(Screen);
  HBITMAP Bitmap = nullptr;
  HGDIOBJ Old = nullptr;
  ~TCaptureDCs() {
    if (Old) SelectObject(Memory, Old);
    if (Bitmap) DeleteObject(Bitmap);
    DeleteDC(Memory);
    ReleaseDC(nullptr, Screen);
  }
};

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
  TScreenImage image;
  image.Width = r.right - r.left;
  image.Height = r.bottom - r.top;
  if (image.Width <= 0 || image.Height <= 0) throw std::runtime_error("window has no area");

  TCaptureDCs dc;
  BITMAPINFO info{};
  info.bmiHeader = InfoHeader(image.Width, image.Height);
  void* bits = nullptr;
  dc.Bitmap = CreateDIBSection(dc.Screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (!dc.Bitmap) throw std::runtime_error("CreateDIBSection failed");
  dc.Old = SelectObject(dc.Memory, dc.Bitmap);
  if (!BitBlt(dc.Memory, 0, 0, image.Width, image.Height, dc.Screen, r.left, r.top,
              SRCCOPY | CAPTUREBLT))
    throw std::runtime_error("BitBlt from the screen failed");
  GdiFlush();

  const auto* p = static_cast<const unsigned char*>(bits);
  image.Pixels.resize(static_cast<size_t>(image.Width) * image.Height);
  for (int y = 0; y < image.Height; ++y) {
    const unsigned char* row =
        p + static_cast<size_t>(image.Height - 1 - y) * RowBytes(image.Width);
    for (int x = 0; x < image.Width; ++x)
      image.Pixels[static_cast<size_t>(y) * image.Width + x] =
          row[x * 3] | (row[x * 3 + 1] << 8) | (row[x * 3 + 2] << 16);
  }
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
  if (!out) throw std::runtime_error("cannot write " + path);
  out.write(reinterpret_cast<const char*>(&file), sizeof file);
  out.write(reinterpret_cast<const char*>(&info), sizeof info);
  std::vector<unsigned char> row(RowBytes(Image.Width), 0);
  for (int y = Image.Height - 1; y >= 0; --y) {
    for (int x = 0; x < Image.Width; ++x) {
      std::uint32_t c = Image.At(x, y);
      row[x * 3] = c & 0xFF;
      row[x * 3 + 1] = (c >> 8) & 0xFF;
      row[x * 3 + 2] = (c >> 16) & 0xFF;
    }
    out.write(reinterpret_cast<const char*>(row.data()), static_cast<std::streamsize>(row.size()));
  }
  if (!out.flush()) throw std::runtime_error("cannot write " + path);
  return path;
}

TScreenImage LoadBmp(const std::string& Path) {
  std::ifstream in(Path, std::ios::binary);
  if (!in) throw std::runtime_error("cannot read " + Path);
  BITMAPFILEHEADER file{};
  BITMAPINFOHEADER info{};
  in.read(reinterpret_cast<char*>(&file), sizeof file);
  in.read(reinterpret_cast<char*>(&info), sizeof info);
  if (!in || file.bfType != 0x4D42 || info.biBitCount != 24 || info.biHeight <= 0)
    throw std::runtime_error(Path + " is not a bottom-up 24-bit BMP");
  TScreenImage image;
  image.Width = info.biWidth;
  image.Height = info.biHeight;
  image.Pixels.resize(static_cast<size_t>(image.Width) * image.Height);
  in.seekg(file.bfOffBits);
  std::vector<unsigned char> row(RowBytes(image.Width));
  for (int y = image.Height - 1; y >= 0; --y) {
    in.read(reinterpret_cast<char*>(row.data()), static_cast<std::streamsize>(row.size()));
    for (int x = 0; x < image.Width; ++x)
      image.Pixels[static_cast<size_t>(y) * image.Width + x] =
          row[x * 3] | (row[x * 3 + 1] << 8) | (row[x * 3 + 2] << 16);
  }
  if (!in) throw std::runtime_error(Path + " is cut short");
  return image;
}

std::string SaveWindowScreenshot(HWND Window, const std::string& Name) {
  try {
    return SaveBmp(CaptureWindow(Window), Name);
  } catch (const std::exception& e) {
    ADD_FAILURE() << "screenshot " << Name << ": " << e.what();
    return {};
  }
}
