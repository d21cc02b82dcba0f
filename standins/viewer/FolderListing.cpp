#include "standins/viewer/FolderListing.h"

#include <windows.h>
#include <zlib.h>

#include <stdio.h>

#include "standins/viewer/ViewerLog.h"

namespace viewer {
namespace {

void LogFile(const std::string& path, const std::string& relative) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    LogLine("Viewer file " + relative + " unreadable");
    return;
  }
  uLong crc = crc32(0, nullptr, 0);
  unsigned long long size = 0;
  unsigned char buffer[65536];
  DWORD got = 0;
  while (ReadFile(file, buffer, sizeof(buffer), &got, nullptr) && got > 0) {
    crc = crc32(crc, buffer, got);
    size += got;
  }
  CloseHandle(file);
  char facts[48];
  snprintf(facts, sizeof(facts), " %llu %08lX", size, static_cast<unsigned long>(crc));
  LogLine("Viewer file " + relative + facts);
}

}  // namespace

void LogFilesBelow(const std::string& folder, const std::string& relative) {
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return;
  do {
    std::string name = found.cFileName;
    if (name == "." || name == "..") continue;
    std::string path = folder + "\\" + name;
    std::string below = relative.empty() ? name : relative + "\\" + name;
    if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
      LogFilesBelow(path, below);
    } else {
      LogFile(path, below);
    }
  } while (FindNextFileA(search, &found));
  FindClose(search);
}

}  // namespace viewer
