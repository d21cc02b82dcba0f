#include "payload/PayloadFile.h"

#include <stdlib.h>
#include <windows.h>

namespace payload {
namespace {

constexpr DWORD kLongPathChars = 32768;

HANDLE OpenForReading(const wchar_t* path) {
  return CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                     FILE_ATTRIBUTE_NORMAL, nullptr);
}

}  // namespace

bool PayloadFile::OpenOwnExecutable() {
  Close();
  // Room for the "\\?\UNC\" prefix in front of the longest module path.
  wchar_t* buffer = static_cast<wchar_t*>(malloc((kLongPathChars + 8) * sizeof(wchar_t)));
  if (buffer == nullptr) return false;
  wchar_t* path = buffer + 8;
  DWORD length = GetModuleFileNameW(nullptr, path, kLongPathChars);
  HANDLE h = INVALID_HANDLE_VALUE;
  if (length > 0 && length < kLongPathChars) {
    h = OpenForReading(path);
    // Paths beyond MAX_PATH open only in their extended form.
    if (h == INVALID_HANDLE_VALUE && length >= MAX_PATH && path[0] != L'\\') {
      path -= 4;
      path[0] = L'\\'; path[1] = L'\\'; path[2] = L'?'; path[3] = L'\\';
      h = OpenForReading(path);
    } else if (h == INVALID_HANDLE_VALUE && length >= MAX_PATH && path[1] == L'\\' && path[2] != L'?') {
      // \\server\share\... becomes \\?\UNC\server\share\...
      path -= 6;
      const wchar_t prefix[] = L"\\\\?\\UNC";
      for (int i = 0; i < 7; ++i) path[i] = prefix[i];
      h = OpenForReading(path);
    }
  }
  free(buffer);
  if (h == INVALID_HANDLE_VALUE) return false;
  handle_ = h;
  return true;
}

bool PayloadFile::Open(const char* path) {
  Close();
#ifdef PAYLOAD_UTF8_NAMES
  // vpack.exe names every file in UTF-8, whatever the ANSI code page.
  int length = MultiByteToWideChar(CP_UTF8, 0, path, -1, nullptr, 0);
  wchar_t* wide = static_cast<wchar_t*>(malloc((length > 0 ? length : 1) * sizeof(wchar_t)));
  if (wide == nullptr) return false;
  wide[0] = L'\0';
  MultiByteToWideChar(CP_UTF8, 0, path, -1, wide, length);
  HANDLE h = OpenForReading(wide);
  error_ = h == INVALID_HANDLE_VALUE ? GetLastError() : 0;
  free(wide);
#else
  HANDLE h = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
#endif
  if (h == INVALID_HANDLE_VALUE) return false;
  handle_ = h;
  return true;
}

void PayloadFile::Close() {
  if (handle_ != nullptr) CloseHandle(static_cast<HANDLE>(handle_));
  handle_ = nullptr;
}

int64_t PayloadFile::Size() const {
  LARGE_INTEGER size;
  if (handle_ == nullptr || !GetFileSizeEx(static_cast<HANDLE>(handle_), &size)) return -1;
  return size.QuadPart;
}

uint32_t PayloadFile::ReadAt(int64_t offset, void* buffer, uint32_t count) {
  constexpr uint32_t kPiece = 1u << 20;
  uint8_t* to = static_cast<uint8_t*>(buffer);
  uint32_t total = 0;
  error_ = 0;
  while (handle_ != nullptr && total < count) {
    DWORD done = 0;
    DWORD piece = count - total < kPiece ? count - total : kPiece;
    LARGE_INTEGER at;
    at.QuadPart = offset + total;
    // A move and a read, not a read at an offset: under Wine that queues a
    // completion, a request to its server of about 60 us; these two take 2.
    HANDLE file = static_cast<HANDLE>(handle_);
    if (!SetFilePointerEx(file, at, nullptr, FILE_BEGIN) || !ReadFile(file, to + total, piece, &done, nullptr)) {
      error_ = GetLastError();
      break;
    }
    if (done == 0) break;
    total += done;
  }
  return total;
}

}  // namespace payload
