#include "installer/ReaderMessages.h"

#include "ui/Report.h"

namespace installer {

void ReportMissingPayload(const payload::PayloadReader& reader) {
  if (reader.Status() != payload::DirectoryStatus::kLoaded) ui::Tell(messages::Id::kNoDataHeader, nullptr);
}

void ReportCrcMismatch(const payload::PayloadReader& reader) {
  const payload::PayloadEntry* entry = reader.CrcMismatch();
  if (entry != nullptr) ui::Tell(messages::Id::kCrcError, entry->name);
}

}  // namespace installer
