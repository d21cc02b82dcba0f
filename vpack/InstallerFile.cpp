#include "vpack/InstallerFile.h"

#include <errno.h>
#include <stdio.h>
#include <string.h>

#include "platform/Message.h"
#include "vpack/Error.h"

namespace vpack {
namespace {

// The reader reports its failures as message boxes, which on the host go to
// stderr; vpack words its own single line instead.
int SwallowMessage(void*, const char*, const char*, uint32_t) { return message::kAnswerOk; }

class SilentReader {
 public:
  SilentReader() { message::SetHook(SwallowMessage, nullptr); }
  ~SilentReader() { message::SetHook(nullptr, nullptr); }
};

}  // namespace

InstallerFile::InstallerFile(const std::string& path) : path_(path) {
  FILE* probe = fopen(path.c_str(), "rb");
  if (probe == nullptr) throw Error(Quoted(path) + " cannot be read: " + strerror(errno));
  fclose(probe);
  SilentReader silent;
  reader_ = std::make_unique<payload::PayloadReader>(path.c_str());
  if (reader_->EntryCount() == 0) throw Error(Quoted(path) + ": no payload found");
}

std::vector<StoredItem> InstallerFile::ReadItems() const {
  FILE* file = fopen(path_.c_str(), "rb");
  if (file == nullptr) throw Error(Quoted(path_) + " cannot be read: " + strerror(errno));
  std::vector<StoredItem> items;
  int64_t dataStart = reader_->MarkerOffset() + reader_->HeaderLength();
  for (int32_t i = 0; i < reader_->EntryCount(); ++i) {
    const payload::PayloadEntry* entry = reader_->Entry(i);
    StoredItem stored{{entry->type, entry->name, packager::Bytes(entry->size)}, entry->crc};
    bool ok = fseeko(file, dataStart + entry->offset, SEEK_SET) == 0 &&
              fread(stored.item.data.data(), 1, entry->size, file) == entry->size;
    if (!ok) {
      fclose(file);
      throw Error(Quoted(path_) + ": item " + Quoted(entry->name) + " cannot be read");
    }
    items.push_back(std::move(stored));
  }
  fclose(file);
  return items;
}

}  // namespace vpack
