#pragma once
// Every text the installer shows (captions, messages, the options dialog's
// and the progress window's words), each under a key a publisher can give
// it in another language. The English is the default, byte for byte; the
// stub, vpack, the kit's template and the tests all read it from here.
#include <stdint.h>

#include "payload/RuntimeFiles.h"

namespace texts {

enum class Id : uint8_t {
#define VDL_TEXT(id, key, english) id,
#include "payload/TextList.h"
#undef VDL_TEXT
  kCount,
  // Not a text: where a caption is the name a message is about, or the
  // system's error number.
  kName = kCount,
  kNumber,
  kNone,
};

constexpr int kTextCount = static_cast<int>(Id::kCount);

// The placeholders a text may hold: the numbers its message gives, in order.
// A translation keeps each placeholder of the English.
inline constexpr char kPlaceholders[][3] = {"%1", "%2"};

// The English texts one after another, each ended by its terminator: a
// table of pointers would cost the stub a pointer and a relocation a text.
// The stub carries them deflated (generated/EnglishPacked.h) and reads
// them inflated with Nth.
extern const char kEnglish[];
const char* English(Id id);

// The text of this number in a run laid out as kEnglish is.
inline const char* Nth(const char* run, Id id) {
  for (int i = 0; i < static_cast<int>(id); ++i) {
    while (*run != 0) ++run;
    ++run;
  }
  return run;
}

// The keys are the packager's and the tests' alone: the stub finds a stored
// text by its number, so that it carries no key.
extern const char* const kKeys[kTextCount];
inline const char* Key(Id id) { return kKeys[static_cast<int>(id)]; }

// The text whose key this is; false when none is.
bool FindKey(const char* key, Id* id);

}  // namespace texts
