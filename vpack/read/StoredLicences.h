#pragma once
// The licences an installer has its users accept, read as the stub reads
// the one it shows: its bytes checked against their CRC, within the size
// the stub takes, UTF-16 ending with its terminator.
#include <stdint.h>

#include <string>
#include <vector>

#include "vpack/read/InstallerFile.h"

namespace vpack {

struct StoredLicence {
  int32_t index;        // the item's place in the directory
  std::string tag;      // the language it is shown in; "*" for every other
  uint64_t bytes;       // as stored
  std::string problem;  // why the stub cannot show it; empty when it can
};

// In directory order.
std::vector<StoredLicence> StoredLicences(const InstallerFile& file);

}  // namespace vpack
