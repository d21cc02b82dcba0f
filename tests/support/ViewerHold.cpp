#include "tests/support/ViewerHold.h"

#include "tests/support/Logs.h"
#include "tests/support/TempDir.h"

namespace testing_support {

namespace {

constexpr unsigned kViewerEndMs = 60000;

}  // namespace

ViewerHold::~ViewerHold() {
  Release();
  // A viewer that never started has nothing to end.
  if (WaitForLine(log_, "Viewer start", 0)) WaitForLine(log_, "Viewer end", kViewerEndMs);
}

bool ViewerHold::Release() { return WriteFileBytes(releaseFile_, "", 0); }

}  // namespace testing_support
