// Kept apart from the installer's own name rule: the packager applies it to
// every item, the stub only to a folder it is given, and links no object it
// does not call into.
#include <string.h>

#include "platform/DoubleByte.h"
#include "payload/ItemName.h"
#include "platform/Text.h"

namespace payload {
namespace {

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

bool IsForbiddenCharacter(char c) {
  return static_cast<unsigned char>(c) < 32 || strchr("<>\"|?*", c) != nullptr;
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
NameFault ComponentFault(const char* component, size_t length) {
  if (length == 0 || (length == 1 && component[0] == '.')) return NameFault::kEmptyComponent;
  if (length == 2 && component[0] == '.' && component[1] == '.') return NameFault::kParentFolder;
  char last = component[length - 1];
  if (last == '.' || last == ' ') return NameFault::kTrailingDotOrSpace;
  return IsDeviceName(component, length) ? NameFault::kDeviceName : NameFault::kNone;
}

NameFault CharacterFault(char c) {
  if (c == ':') return NameFault::kDriveOrStream;
  return IsForbiddenCharacter(c) ? NameFault::kForbiddenCharacter : NameFault::kNone;
}

}  // namespace

NameFault WindowsNameFault(const char* name, size_t* at, unsigned codePage) {
  if (name == nullptr || *name == '\0') return NameFault::kEmpty;
  const char* start = name;
  if (IsSeparator(*name)) ++name;
  const char* component = name;
  for (const char* p = name;; p += text::CharLength(codePage, p)) {
    char c = *p;
    NameFault fault = NameFault::kNone;
    const char* where = p;
    if (c != '\0' && !IsSeparator(c)) {
      fault = CharacterFault(c);
    } else {
      fault = ComponentFault(component, static_cast<size_t>(p - component));
      where = component;
      component = p + 1;
    }
    if (fault != NameFault::kNone) {
      if (at != nullptr) *at = static_cast<size_t>(where - start);
      return fault;
    }
    if (c == '\0') return NameFault::kNone;
  }
}

bool IsWindowsFileName(const char* name, unsigned codePage) {
  return WindowsNameFault(name, nullptr, codePage) == NameFault::kNone;
}

}  // namespace payload
