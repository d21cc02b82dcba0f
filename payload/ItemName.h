#pragma once
// Item names are paths below the working folder; the payload is not trusted
// to keep them there.

namespace payload {

// False for a name with a ".." component or a ':' (drive letter or stream):
// either would let a payload write outside the working folder.
bool IsSafeItemName(const char* name);

}  // namespace payload
