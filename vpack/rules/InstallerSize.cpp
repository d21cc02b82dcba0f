#include "vpack/rules/InstallerSize.h"

#include <string>

#include "payload/PayloadFormat.h"
#include "vpack/base/Error.h"

namespace vpack {

void CheckKnownSize(uint64_t knownBytes) {
  if (knownBytes > payload::kMaxInstallerSize) {
    throw Error("the installer would be at least " + std::to_string(knownBytes) +
                " bytes; it must stay below 2 GiB");
  }
}

}  // namespace vpack
