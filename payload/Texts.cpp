#include "payload/Texts.h"

namespace texts {

const char kEnglish[] =
#define VDL_TEXT(id, key, english) english "\0"
#include "payload/TextList.h"
#undef VDL_TEXT
    ;

const char* English(Id id) { return Nth(kEnglish, id); }

}  // namespace texts
