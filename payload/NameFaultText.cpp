// The packager's words for each name fault, apart from the rule itself:
// the stub applies the rule to a folder it is given and links none of them.
#include "payload/ItemName.h"

namespace payload {

const char* NameFaultText(NameFault fault) {
  switch (fault) {
    case NameFault::kNone: return "is a name Windows can create";
    case NameFault::kEmpty: return "is empty";
    case NameFault::kParentFolder: return "has a \"..\" component, which leaves the installation folder";
    case NameFault::kDriveOrStream: return "holds a ':' (a drive or a stream), which leaves the installation folder";
    case NameFault::kForbiddenCharacter: return "holds a character Windows forbids in file names";
    case NameFault::kDeviceName: return "has a component that is a device name on Windows";
    case NameFault::kTrailingDotOrSpace: return "has a component ending in a dot or a space, which Windows drops";
    default: return "has an empty or \".\" component";
  }
}

}  // namespace payload
