#pragma once
// An installer read back without holding it, through the installer's own
// payload reader: the payload's directory, the settings and list items
// (small) whole, and every item's bytes in pieces on request, taken by
// position so that even a directory with repeated names is read entry by
// entry. Memory does not grow with the installer.
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "packager/PayloadBuilder.h"
#include "payload/PayloadReader.h"
#include "vpack/base/Error.h"

namespace vpack {

// Pieces of an item, in order.
using PieceSink = std::function<void(const uint8_t* bytes, size_t size)>;


// No payload that the installer would find, or no file to find it in;
// what() is the one-line error, problem says why without the file's name,
// for messages that name it already.
struct NoPayload : Error {
  NoPayload(const std::string& message, const std::string& why) : Error(message), problem(why) {}
  std::string problem;
};

class InstallerFile;
// The bytes of every item together, what a reading of them all goes through.
uint64_t PayloadBytes(const InstallerFile& file);

class InstallerFile {
 public:
  // Throws NoPayload when the file has no payload that the installer would
  // find, Error when it cannot be read at all.
  explicit InstallerFile(const std::string& path);
  ~InstallerFile();
  InstallerFile(const InstallerFile&) = delete;
  InstallerFile& operator=(const InstallerFile&) = delete;

  const payload::PayloadReader& Reader() const { return *reader_; }
  int32_t Count() const { return reader_->EntryCount(); }
  const payload::PayloadEntry& Entry(int32_t index) const { return *reader_->Entry(index); }
  uint64_t FileSize() const { return static_cast<uint64_t>(reader_->FileSize()); }
  // Where the payload's trailer ends.
  uint64_t PayloadEnd() const;

  // Every item in directory order: settings and list items with their bytes
  // (at most kHeldItemBytes + 1 of them), files with none.
  std::vector<packager::Item> HeldItems() const;
  // A setting as the installer reads it: width bytes of the first item of
  // its name (any case), checked against its CRC; nothing when the
  // installer would refuse it.
  std::optional<packager::Bytes> ReadSetting(const char* name, uint32_t width) const;
  // The code page the names and texts are in: given, when not kRecordedCodePage;
  // else the one vpack recorded; else (an installer of an earlier vpack, or
  // a damaged record) the default.
  unsigned CodePageOf(unsigned given) const;
  // At most count bytes from the item's start, or from its end.
  packager::Bytes ReadHead(int32_t index, size_t count) const;
  packager::Bytes ReadTail(int32_t index, size_t count) const;
  // The item in pieces, as the installer reads it, and the CRC-32 of its
  // stored bytes; throws Error when the file ends first. The sink must not
  // read the installer meanwhile.
  uint32_t ReadPieces(int32_t index, const PieceSink& sink) const;

 private:
  [[noreturn]] void Unreadable(const payload::PayloadEntry& entry) const;

  std::string path_;
  std::unique_ptr<payload::PayloadReader> reader_;
};

}  // namespace vpack
