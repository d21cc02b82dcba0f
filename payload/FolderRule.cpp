#include "payload/FolderRule.h"

#include "platform/DoubleByte.h"

namespace payload {
namespace {

bool IsSeparator(char c) { return c == '\\' || c == '/'; }
bool IsLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

// Past "\\server\share", both names present; null where one is missing.
const char* AfterShare(const char* path, unsigned codePage) {
  const char* p = path + 2;
  for (int name = 0; name < 2; ++name) {
    const char* start = p;
    while (*p != '\0' && !IsSeparator(*p)) p += text::CharLength(codePage, p);
    if (p == start || (name == 0 && *p == '\0')) return nullptr;
    if (name == 0) ++p;
  }
  return p;
}

// Longer than any folder either side accepts for its length.
constexpr size_t kMostChecked = 2048;

}  // namespace

FolderFault InstallFolderFault(const char* path, unsigned codePage, NameFault* nameFault) {
  if (nameFault != nullptr) *nameFault = NameFault::kNone;
  if (path == nullptr) return FolderFault::kNotFull;
  const char* below = nullptr;
  if (IsLetter(path[0]) && path[1] == ':' && IsSeparator(path[2])) {
    below = path + 3;
  } else if (IsSeparator(path[0]) && IsSeparator(path[1])) {
    below = AfterShare(path, codePage);
    if (below != nullptr && *below != '\0') ++below;
  }
  if (below == nullptr) return FolderFault::kNotFull;
  // The names below the root, one separator at the end naming the same
  // folder; walked by character, so that a second byte of 0x5C is none.
  char names[kMostChecked + 1];
  size_t length = 0;
  const char* last = nullptr;
  for (const char* p = below; *p != '\0'; p += text::CharLength(codePage, p)) {
    last = p;
    length = static_cast<size_t>(p - below) + text::CharLength(codePage, p);
  }
  if (length > kMostChecked) return FolderFault::kNotAllowed;
  if (last != nullptr && IsSeparator(*last)) length = static_cast<size_t>(last - below);
  for (size_t i = 0; i < length; ++i) names[i] = below[i];
  names[length] = '\0';
  if (length == 0) return FolderFault::kRoot;
  NameFault fault = WindowsNameFault(names, nullptr, codePage);
  if (nameFault != nullptr) *nameFault = fault;
  return fault == NameFault::kNone ? FolderFault::kNone : FolderFault::kNotAllowed;
}

}  // namespace payload
