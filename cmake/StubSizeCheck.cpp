// Compiled, never run, by CheckStubSize.cmake with the stub's size: the
// compiler reads the limits from the payload format itself.
#include "payload/PayloadFormat.h"

static_assert(VDL_STUB_SIZE + payload::kMaxBrandingGrowth <= payload::kScanReach,
              "the stub, with the largest branding, ends beyond the payload search's reach");
static_assert(payload::ScanFinds(VDL_STUB_SIZE), "the payload search misses a marker right after the stub");
