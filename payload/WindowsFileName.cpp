// Kept apart from the installer's own name rule: only the packager's tools
// use it, and the stub links no object it does not call into.
#include <string.h>

#include "payload/ItemName.h"
#include "platform/Text.h"

namespace payload {
namespace {

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

bool IsForbiddenCharacter(char c) {
  return static_cast<unsigned char>(c) < 32 || strchr("<>:\"|?*", c) != nullptr;
}

// CON, PRN, AUX, NUL, COM1-9 and LPT1-9 name devices, whatever follows a dot.
bool IsDeviceName(const char* component, size_t length) {
  static const char* const kDevices[] = {"CON", "PRN", "AUX", "NUL"};
  size_t stem = 0;
  while (stem < length && component[stem] != '.') ++stem;
  for (const char* device : kDevices) {
    if (stem == 3 && text::EqualNoCaseN(component, device, 3)) return true;
  }
  bool numbered = text::EqualNoCaseN(component, "COM", 3) || text::EqualNoCaseN(component, "LPT", 3);
  return stem == 4 && numbered && component[3] >= '1' && component[3] <= '9';
}

// An empty component (a doubled or trailing separator) or "." names no file
// of its own, so the item would land on another one's path.
bool IsWindowsComponent(const char* component, size_t length) {
  if (length == 0) return false;
  char last = component[length - 1];
  return last != '.' && last != ' ' && !IsDeviceName(component, length);
}

}  // namespace

bool IsWindowsFileName(const char* name) {
  if (name == nullptr) return false;
  if (IsSeparator(*name)) ++name;
  const char* component = name;
  for (const char* p = name;; ++p) {
    char c = *p;
    if (c != '\0' && !IsSeparator(c)) {
      if (IsForbiddenCharacter(c)) return false;
      continue;
    }
    if (!IsWindowsComponent(component, static_cast<size_t>(p - component))) return false;
    if (c == '\0') return true;
    component = p + 1;
  }
}

}  // namespace payload
