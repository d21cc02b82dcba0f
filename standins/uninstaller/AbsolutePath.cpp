#include "standins/uninstaller/AbsolutePath.h"

#include <windows.h>

#include <string.h>

namespace uninstaller {
namespace {

bool IsLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

// Full and long form, so that "x\..\y", short names and case do not hide a match.
std::string CanonicalPath(const std::string& path) {
  char full[MAX_PATH * 2];
  DWORD length = GetFullPathNameA(path.c_str(), sizeof(full), full, nullptr);
  if (length == 0 || length >= sizeof(full)) return path;
  char longer[MAX_PATH * 2];
  DWORD longLength = GetLongPathNameA(full, longer, sizeof(longer));
  if (longLength == 0 || longLength >= sizeof(longer)) return std::string(full, length);
  return std::string(longer, longLength);
}

}  // namespace

bool IsAbsolutePath(const std::string& path) {
  if (path.size() >= 3 && IsLetter(path[0]) && path[1] == ':' && path[2] == '\\') return true;
  if (path.size() < 5 || path[0] != '\\' || path[1] != '\\') return false;
  size_t shareStart = path.find('\\', 2);
  if (shareStart == std::string::npos || shareStart == 2) return false;
  return shareStart + 1 < path.size() && path[shareStart + 1] != '\\';
}

bool SamePath(const std::string& a, const std::string& b) {
  return _stricmp(CanonicalPath(a).c_str(), CanonicalPath(b).c_str()) == 0;
}

}  // namespace uninstaller
