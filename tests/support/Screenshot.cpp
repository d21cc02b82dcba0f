#include "tests/support/Screenshot.h"

#include <windows.h>
#include <stdint.h>
#include <stdio.h>

#include <vector>

namespace testing_support {
namespace {

struct Image {
  int width = 0;
  int height = 0;
  BITMAPINFOHEADER header = {};
  std::vector<uint8_t> pixels;  // Bottom-up rows, each padded to 4 bytes.
};

// Copies the screen through a memory bitmap: GetDIBits cannot read a screen
// DC directly, only a bitmap selected nowhere.
bool CaptureScreen(Image& image) {
  int left = GetSystemMetrics(SM_XVIRTUALSCREEN);
  int top = GetSystemMetrics(SM_YVIRTUALSCREEN);
  image.width = GetSystemMetrics(SM_CXVIRTUALSCREEN);
  image.height = GetSystemMetrics(SM_CYVIRTUALSCREEN);
  if (image.width <= 0 || image.height <= 0) return false;
  HDC screen = GetDC(nullptr);
  if (screen == nullptr) return false;
  HDC memory = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, image.width, image.height);
  bool ok = memory != nullptr && bitmap != nullptr;
  if (ok) {
    HGDIOBJ old = SelectObject(memory, bitmap);
    ok = BitBlt(memory, 0, 0, image.width, image.height, screen, left, top, SRCCOPY | CAPTUREBLT) != 0;
    SelectObject(memory, old);
  }
  if (ok) {
    BITMAPINFOHEADER& h = image.header;
    h.biSize = sizeof(h);
    h.biWidth = image.width;
    h.biHeight = image.height;
    h.biPlanes = 1;
    h.biBitCount = 24;
    h.biCompression = BI_RGB;
    size_t stride = (static_cast<size_t>(image.width) * 3 + 3) & ~static_cast<size_t>(3);
    image.pixels.resize(stride * image.height);
    h.biSizeImage = static_cast<DWORD>(image.pixels.size());
    ok = GetDIBits(memory, bitmap, 0, image.height, image.pixels.data(), reinterpret_cast<BITMAPINFO*>(&h),
                   DIB_RGB_COLORS) == image.height;
  }
  if (bitmap != nullptr) DeleteObject(bitmap);
  if (memory != nullptr) DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  return ok;
}

bool WriteBmp(const std::string& path, const Image& image) {
  BITMAPFILEHEADER file = {};
  file.bfType = 0x4D42;  // "BM"
  file.bfOffBits = sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER);
  file.bfSize = static_cast<DWORD>(file.bfOffBits + image.pixels.size());
  FILE* out = fopen(path.c_str(), "wb");
  if (out == nullptr) return false;
  bool ok = fwrite(&file, sizeof(file), 1, out) == 1 && fwrite(&image.header, sizeof(image.header), 1, out) == 1 &&
            fwrite(image.pixels.data(), 1, image.pixels.size(), out) == image.pixels.size();
  // A full disk may only show when the buffer is flushed.
  if (fclose(out) != 0) ok = false;
  if (!ok) DeleteFileA(path.c_str());
  return ok;
}

}  // namespace

bool SaveScreenshot(const std::string& path) {
  Image image;
  return CaptureScreen(image) && WriteBmp(path, image);
}

}  // namespace testing_support
