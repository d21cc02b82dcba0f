#include "payload/PayloadFormat.h"

#include <string.h>

namespace payload {

void JoinMarker(char* out) {
  memcpy(out, kMarkerHead, sizeof(kMarkerHead) - 1);
  memcpy(out + sizeof(kMarkerHead) - 1, kMarkerTail, sizeof(kMarkerTail));
}

}  // namespace payload
