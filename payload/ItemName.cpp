#include "payload/ItemName.h"

#include "platform/Text.h"

namespace payload {

bool IsSafeItemName(const char* name) {
  const char* component = name;
  for (const char* p = name;; ++p) {
    char c = *p;
    if (c == ':') return false;
    if (c == '\\' || c == '/' || c == '\0') {
      if (p - component == 2 && component[0] == '.' && component[1] == '.') return false;
      if (c == '\0') return true;
      component = p + 1;
    }
  }
}

namespace {

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

bool IsForbiddenCharacter(char c) {
  if (static_cast<unsigned char>(c) < 0x20) return true;
  for (const char* f = "<>:\"|?*"; *f != '\0'; ++f) {
    if (c == *f) return true;
  }
  return false;
}

// The device names hold whatever follows them after a dot: "nul.txt" is NUL.
bool IsDeviceName(const char* component, int length) {
  int stem = 0;
  while (stem < length && component[stem] != '.') ++stem;
  char head[5] = {0};
  if (stem < 3 || stem > 4) return false;
  for (int i = 0; i < stem; ++i) head[i] = component[i];
  static const char* const kFixed[] = {"CON", "PRN", "AUX", "NUL"};
  for (const char* fixed : kFixed) {
    if (text::EqualNoCase(head, fixed)) return true;
  }
  if (stem != 4 || head[3] < '1' || head[3] > '9') return false;
  head[3] = '\0';
  return text::EqualNoCase(head, "COM") || text::EqualNoCase(head, "LPT");
}

bool IsGoodComponent(const char* component, int length) {
  if (length == 0) return false;
  if (length == 1 && component[0] == '.') return false;
  char last = component[length - 1];
  if (last == '.' || last == ' ') return false;
  return !IsDeviceName(component, length);
}

}  // namespace

bool IsWindowsFileName(const char* name) {
  if (IsSeparator(*name)) ++name;
  const char* component = name;
  for (const char* p = name;; ++p) {
    char c = *p;
    if (c != '\0' && !IsSeparator(c)) {
      if (IsForbiddenCharacter(c)) return false;
      continue;
    }
    if (!IsGoodComponent(component, static_cast<int>(p - component))) return false;
    if (c == '\0') return true;
    component = p + 1;
  }
}

}  // namespace payload
