// A file of its own, so that the stub, which never looks a key up, links none.
#include <string.h>

#include "payload/Texts.h"

namespace texts {

const char* const kKeys[kTextCount] = {
#define VDL_TEXT(id, key, english) key,
#include "payload/TextList.h"
#undef VDL_TEXT
};

bool FindKey(const char* key, Id* id) {
  for (int i = 0; i < kTextCount; ++i) {
    if (strcmp(kKeys[i], key) == 0) {
      *id = static_cast<Id>(i);
      return true;
    }
  }
  return false;
}

}  // namespace texts
