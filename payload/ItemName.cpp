#include "payload/ItemName.h"

#include "platform/DoubleByte.h"

namespace payload {

bool IsSafeItemName(const char* name, unsigned codePage) {
  const char* component = name;
  for (const char* p = name;; p += text::CharLength(codePage, p)) {
    char c = *p;
    if (c == ':') return false;
    if (c == '\\' || c == '/' || c == '\0') {
      if (p - component == 2 && component[0] == '.' && component[1] == '.') return false;
      if (c == '\0') return true;
      component = p + 1;
    }
  }
}

}  // namespace payload
