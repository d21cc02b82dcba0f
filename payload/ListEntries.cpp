#include "payload/ListEntries.h"

#include <string.h>

#include "platform/Text.h"

namespace payload {

int32_t ListEntryIndex(const char* name, const char* prefix) {
  size_t length = strlen(prefix);
  if (!text::EqualNoCaseN(name, prefix, length)) return -1;
  const char* digits = name + length;
  if (digits[0] < '0' || digits[0] > '9' || (digits[0] == '0' && digits[1] != '\0')) return -1;
  int64_t value = 0;
  for (const char* p = digits; *p != '\0'; ++p) {
    if (*p < '0' || *p > '9') return -1;
    value = value * 10 + (*p - '0');
    if (value > 0x7FFFFFFF) return -1;
  }
  return static_cast<int32_t>(value);
}

}  // namespace payload
