#include "installer/ReaderMessages.h"

#include "platform/Message.h"

namespace installer {

void ReportMissingPayload(const payload::PayloadReader& reader) {
  if (reader.Status() != payload::DirectoryStatus::kLoaded) message::Show("Data header not found!", "Error", message::kOk);
}

void ReportCrcMismatch(const payload::PayloadReader& reader) {
  const payload::PayloadEntry* entry = reader.CrcMismatch();
  if (entry != nullptr) message::Show("Crc error corrupt file", entry->name, message::kOk);
}

}  // namespace installer
