#pragma once
// An installer read back: the payload's directory and, on request, the bytes
// of every item, taken by position so that even a directory with repeated
// names is read entry by entry.
#include <memory>
#include <string>
#include <vector>

#include "packager/PayloadBuilder.h"
#include "payload/PayloadReader.h"

namespace vpack {

struct StoredItem {
  packager::Item item;
  uint32_t crc;  // as the directory states it
};

class InstallerFile {
 public:
  // Throws Error when the file has no payload that the installer would find.
  explicit InstallerFile(const std::string& path);

  const payload::PayloadReader& Reader() const { return *reader_; }
  // Every item in directory order; throws Error when the file cannot be read.
  std::vector<StoredItem> ReadItems() const;

 private:
  std::string path_;
  std::unique_ptr<payload::PayloadReader> reader_;
};

}  // namespace vpack
