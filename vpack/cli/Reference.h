#pragma once
// The reference page, docs/vpack.md, as the build found it: what `vpack help`
// prints, and what the manual page is made from.

namespace vpack {

extern const char kReference[];

}  // namespace vpack
