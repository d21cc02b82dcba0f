#include "vpack/InstallerFile.h"

#include <errno.h>
#include <string.h>

#include <algorithm>

#include "platform/Message.h"
#include "vpack/ContentChecks.h"
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

InstallerFile::InstallerFile(const std::string& path) : path_(path), file_(fopen(path.c_str(), "rb")) {
  if (file_ == nullptr) throw Error(Quoted(path) + " cannot be read: " + strerror(errno));
  if (fseeko(file_, 0, SEEK_END) == 0) fileSize_ = static_cast<uint64_t>(ftello(file_));
  SilentReader silent;
  reader_ = std::make_unique<payload::PayloadReader>(path.c_str());
  if (reader_->EntryCount() == 0) {
    fclose(file_);
    throw Error(Quoted(path) + ": no payload found");
  }
}

InstallerFile::~InstallerFile() { fclose(file_); }

uint64_t InstallerFile::PayloadEnd() const {
  uint64_t end = static_cast<uint64_t>(reader_->MarkerOffset()) + reader_->HeaderLength() + 4;
  for (int32_t i = 0; i < Count(); ++i) end += Entry(i).size;
  return end;
}

void InstallerFile::ReadAt(uint64_t offset, uint8_t* out, size_t count, const payload::PayloadEntry& entry) const {
  uint64_t at = static_cast<uint64_t>(reader_->MarkerOffset()) + reader_->HeaderLength() + entry.offset + offset;
  bool ok = fseeko(file_, static_cast<off_t>(at), SEEK_SET) == 0 && fread(out, 1, count, file_) == count;
  if (!ok) throw Error(Quoted(path_) + ": item " + Quoted(entry.name) + " cannot be read");
}

std::vector<packager::Item> InstallerFile::HeldItems() const {
  std::vector<packager::Item> items;
  for (int32_t i = 0; i < Count(); ++i) {
    const payload::PayloadEntry& entry = Entry(i);
    items.push_back({entry.type, entry.name, {}});
    if (!IsFileItem(items.back())) items.back().data = ReadHead(i, kHeldItemBytes + 1);
  }
  return items;
}

packager::Bytes InstallerFile::ReadHead(int32_t index, size_t count) const {
  const payload::PayloadEntry& entry = Entry(index);
  packager::Bytes bytes(std::min<size_t>(count, entry.size));
  ReadAt(0, bytes.data(), bytes.size(), entry);
  return bytes;
}

packager::Bytes InstallerFile::ReadTail(int32_t index, size_t count) const {
  const payload::PayloadEntry& entry = Entry(index);
  packager::Bytes bytes(std::min<size_t>(count, entry.size));
  ReadAt(entry.size - bytes.size(), bytes.data(), bytes.size(), entry);
  return bytes;
}

void InstallerFile::ReadPieces(int32_t index, const PieceSink& sink) const {
  const payload::PayloadEntry& entry = Entry(index);
  static thread_local packager::Bytes piece(kPieceBytes);
  for (uint64_t done = 0; done < entry.size;) {
    size_t count = static_cast<size_t>(std::min<uint64_t>(kPieceBytes, entry.size - done));
    ReadAt(done, piece.data(), count, entry);
    sink(piece.data(), count);
    done += count;
  }
}

}  // namespace vpack
