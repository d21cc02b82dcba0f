#include "payload/Texts.h"

#include <string.h>

namespace texts {

const char kEnglish[] =
#define VDL_TEXT(id, key, english) english "\0"
#include "payload/TextList.h"
#undef VDL_TEXT
    ;

const char* English(Id id) {
  const char* text = kEnglish;
  for (int i = 0; i < static_cast<int>(id); ++i) text += strlen(text) + 1;
  return text;
}

}  // namespace texts
