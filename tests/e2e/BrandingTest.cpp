// What Windows itself reads of the publisher's branding on a packed
// installer, before and after signing: the version resource through the
// version API, and the icon through the shell.
#include <gtest/gtest.h>
#include <windows.h>
#include <shellapi.h>

#include <string>
#include <vector>

#include "tests/support/TempDir.h"

namespace {

// sample/tour/standalone.toml and its icon, art/tour.ico: teal with an
// orange square filling the middle half.
constexpr COLORREF kTeal = RGB(0x20, 0x80, 0xB0);
constexpr COLORREF kOrange = RGB(0xFF, 0x8C, 0x00);

std::vector<std::string> Installers() {
  return {std::string(VDL_SIGNED_DIR) + "\\standalone.exe", std::string(VDL_SIGNED_DIR) + "\\standalone-signed.exe"};
}

std::wstring Wide(const std::string& text) { return std::wstring(text.begin(), text.end()); }

std::wstring VersionString(std::vector<char>& block, const wchar_t* name) {
  std::wstring path = std::wstring(L"\\StringFileInfo\\040904B0\\") + name;
  wchar_t* value = nullptr;
  UINT length = 0;
  if (!VerQueryValueW(block.data(), path.c_str(), reinterpret_cast<void**>(&value), &length)) return L"(none)";
  return std::wstring(value, length > 0 ? length - 1 : 0);
}

// The icon's pixel at (x, y) and, in width, the icon's width.
COLORREF Pixel(HICON icon, int x, int y, int* width) {
  ICONINFO info{};
  if (!GetIconInfo(icon, &info)) return CLR_INVALID;
  BITMAP bitmap{};
  GetObjectA(info.hbmColor, sizeof(bitmap), &bitmap);
  *width = bitmap.bmWidth;
  BITMAPINFO format{};
  format.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  format.bmiHeader.biWidth = bitmap.bmWidth;
  format.bmiHeader.biHeight = -bitmap.bmHeight;  // top row first
  format.bmiHeader.biPlanes = 1;
  format.bmiHeader.biBitCount = 32;
  format.bmiHeader.biCompression = BI_RGB;
  std::vector<uint32_t> pixels(static_cast<size_t>(bitmap.bmWidth) * bitmap.bmHeight);
  HDC screen = GetDC(nullptr);
  int rows = GetDIBits(screen, info.hbmColor, 0, bitmap.bmHeight, pixels.data(), &format, DIB_RGB_COLORS);
  ReleaseDC(nullptr, screen);
  DeleteObject(info.hbmColor);
  DeleteObject(info.hbmMask);
  if (rows != bitmap.bmHeight) return CLR_INVALID;
  uint32_t bgr = pixels[static_cast<size_t>(y) * bitmap.bmWidth + x];
  return RGB(bgr >> 16 & 0xFF, bgr >> 8 & 0xFF, bgr & 0xFF);
}

TEST(BrandingTest, PackedAndSigned_WindowsReadsVersionAndIcon) {
  for (const std::string& installer : Installers()) {
    SCOPED_TRACE(installer);
    ASSERT_TRUE(testing_support::FileExists(installer)) << "ctest makes it (test signed.make)";
    std::wstring path = Wide(installer);
    DWORD handle = 0, size = GetFileVersionInfoSizeW(path.c_str(), &handle);
    ASSERT_NE(0u, size);
    std::vector<char> block(size);
    ASSERT_TRUE(GetFileVersionInfoW(path.c_str(), 0, size, block.data()));
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
    EXPECT_EQ(0xFEEF04BDu, fixed->dwSignature);
    EXPECT_EQ(MAKELONG(4, 1), fixed->dwFileVersionMS);
    EXPECT_EQ(MAKELONG(12, 0), fixed->dwFileVersionLS);
    EXPECT_EQ(MAKELONG(4, 1), fixed->dwProductVersionMS);
    EXPECT_EQ(0u, fixed->dwProductVersionLS);
    EXPECT_EQ(L"Harbour Tour", VersionString(block, L"ProductName"));
    EXPECT_EQ(L"Vandrel Tours", VersionString(block, L"CompanyName"));
    EXPECT_EQ(L"Harbour Tour Setup", VersionString(block, L"FileDescription"));
    EXPECT_EQ(L"1.4.0.12", VersionString(block, L"FileVersion"));
    EXPECT_EQ(L"1.4.0.0", VersionString(block, L"ProductVersion"));
    EXPECT_EQ(L"\u00A9 2026 Vandrel Tours", VersionString(block, L"LegalCopyright"));
    EXPECT_EQ(L"HarbourTourSetup.exe", VersionString(block, L"OriginalFilename"));

    EXPECT_EQ(1u, ExtractIconExA(installer.c_str(), -1, nullptr, nullptr, 0));
    HICON large = nullptr, small = nullptr;
    ASSERT_EQ(2u, ExtractIconExA(installer.c_str(), 0, &large, &small, 1));
    for (HICON icon : {large, small}) {
      int width = 0;
      EXPECT_EQ(kTeal, Pixel(icon, 1, 1, &width));
      ASSERT_GE(width, 16);
      EXPECT_EQ(kOrange, Pixel(icon, width / 2, width / 2, &width)) << width;
      DestroyIcon(icon);
    }
  }
}

}  // namespace
