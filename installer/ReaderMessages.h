#pragma once
// The payload reader's failures, in the words the user has always seen. The
// reader only reports them, so that the packager and the tests read through
// the same code without message boxes.
#include "payload/PayloadReader.h"

namespace installer {

// Right after the reader is made: "Data header not found!" when it found no
// payload.
void ReportMissingPayload(const payload::PayloadReader& reader);
// After each read: "Crc error corrupt file", captioned with the item's
// stored name, when the read found the bytes wrong.
void ReportCrcMismatch(const payload::PayloadReader& reader);

}  // namespace installer
