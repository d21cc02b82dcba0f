#include "tests/support/TempDir.h"

#include <windows.h>

#include <atomic>

namespace testing_support {

TempDir::TempDir() {
  static std::atomic<int> sequence{0};
  char base[MAX_PATH];
  GetTempPathA(sizeof(base), base);
  for (;;) {
    std::string candidate = std::string(base) + "vdltest-" + std::to_string(GetCurrentProcessId()) + "-" +
                            std::to_string(sequence++);
    if (CreateDirectoryA(candidate.c_str(), nullptr)) {
      path_ = candidate;
      return;
    }
  }
}

TempDir::~TempDir() { RemoveTree(path_); }

std::string TempDir::File(const std::string& name) const { return path_ + "\\" + name; }

void RemoveTree(const std::string& path) {
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((path + "\\*").c_str(), &found);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      std::string name = found.cFileName;
      if (name == "." || name == "..") continue;
      std::string child = path + "\\" + name;
      SetFileAttributesA(child.c_str(), FILE_ATTRIBUTE_NORMAL);
      if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        RemoveTree(child);
      } else {
        DeleteFileA(child.c_str());
      }
    } while (FindNextFileA(search, &found));
    FindClose(search);
  }
  RemoveDirectoryA(path.c_str());
}

bool FileExists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

namespace {

// The names a folder holds, and below each folder its names when deep.
std::set<std::string> Names(const std::string& folder, bool foldersOnly, bool deep) {
  std::set<std::string> names;
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return names;
  do {
    std::string name = found.cFileName;
    bool isFolder = (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    if (name == "." || name == ".." || (foldersOnly && !isFolder)) continue;
    names.insert(name);
    if (!isFolder || !deep) continue;
    for (const std::string& below : Names(folder + "\\" + name, foldersOnly, true)) names.insert(name + "\\" + below);
  } while (FindNextFileA(search, &found));
  FindClose(search);
  return names;
}

}  // namespace

std::set<std::string> NamesBelow(const std::string& folder) { return Names(folder, false, true); }

std::set<std::string> FoldersIn(const std::string& folder) { return Names(folder, true, false); }

bool WriteFileBytes(const std::string& path, const void* data, size_t size) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  BOOL ok = WriteFile(file, data, static_cast<DWORD>(size), &written, nullptr);
  CloseHandle(file);
  return ok && written == size;
}

std::string ReadFileBytes(const std::string& path) {
  std::string bytes;
  // Shared with writers: the stand-ins append to their logs while tests read them.
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                            OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return bytes;
  char chunk[65536];
  DWORD got = 0;
  while (ReadFile(file, chunk, sizeof(chunk), &got, nullptr) && got > 0) bytes.append(chunk, got);
  CloseHandle(file);
  return bytes;
}

}  // namespace testing_support
