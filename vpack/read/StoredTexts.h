#pragma once
// The texts an installer carries in place of its English, read as the stub
// reads them at its start: each item of the text type, its name a text's
// number, its bytes checked against their CRC, within the length the stub
// takes, defined in the installer's code page and keeping the English's
// placeholders. A text that fails any of these is shown in English.
#include <stdint.h>

#include <optional>
#include <string>
#include <vector>

#include "payload/Texts.h"
#include "vpack/base/CodePage.h"
#include "vpack/read/InstallerFile.h"

namespace vpack {

struct StoredText {
  int32_t index;                 // the item's place in the directory
  std::optional<texts::Id> id;   // none: a name that is no text's number
  bool intact;                   // the bytes match their CRC
  std::string text;              // in UTF-8, as the installer will show it
  std::string problem;           // why it shows the English instead; empty when it shows text
};

// In directory order: the items of one text each, in the installer's code
// page, as vpack 1.3 wrote them.
std::vector<StoredText> StoredTexts(const InstallerFile& file, const CodePage& page);

// One language's texts, as the stub reads them when it picks that language:
// its block checked against its CRC, read within the size the stub takes,
// each text within the block, UTF-8, keeping the English's placeholders.
struct StoredLanguage {
  int32_t index;                 // the item's place in the directory
  std::string tag;               // the item's name
  uint16_t id = 0;               // its Windows language number
  bool isDefault = false;        // shown where the user's is not carried
  bool intact = true;            // the bytes match their CRC
  std::string problem;           // why the stub shows none of it; empty when it reads it
  std::vector<StoredText> texts; // index is the block's; id none for a number that is no text's
};

// In directory order.
std::vector<StoredLanguage> StoredLanguages(const InstallerFile& file);

}  // namespace vpack
