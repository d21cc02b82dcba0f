#pragma once
#include <stdint.h>

#include "payload/Crc32Table.h"
#include "payload/PayloadEntry.h"
#include "payload/PayloadFile.h"
#include "payload/PointerList.h"

namespace payload {

// Finds the payload appended to a file, holds its directory and hands out
// items by (name, type). Settings are read into the caller's buffer with a
// CRC check; files are read whole into a block the reader owns.
class PayloadReader {
 public:
  // Null path: the running program's own file.
  explicit PayloadReader(const char* path = nullptr);
  virtual ~PayloadReader();
  PayloadReader(const PayloadReader&) = delete;
  PayloadReader& operator=(const PayloadReader&) = delete;

  virtual void LoadDirectory();
  // With a buffer: count bytes into it, true when found and the CRC matches.
  // Without one: the whole item into Data(), checked as well.
  virtual bool ReadItem(const char* name, void* buffer, int32_t count, const char* type);
  virtual uint8_t* Data();
  virtual uint32_t DataSize();

  // Gives the item block back; the next read of a whole item makes another.
  void ReleaseData();

  // Whether an item is in the directory, without reading it.
  bool Contains(const char* name, const char* type) const;

  // Directory access for the host tools.
  int32_t EntryCount() const { return directory_.Count(); }
  const PayloadEntry* Entry(int32_t index) const {
    return static_cast<const PayloadEntry*>(directory_.Get(index));
  }
  int64_t MarkerOffset() const { return markerOffset_; }
  uint32_t HeaderLength() const { return headerLength_; }

 private:
  bool LocateMarker(int64_t fileSize);
  bool ScanForMarker();
  bool ParseDirectory(int64_t fileSize);
  const PayloadEntry* Find(const char* name, const char* type) const;
  void BuildIndex();
  int Compare(int32_t a, int32_t b) const;
  void FreeDirectory();
  bool Checked(const void* bytes, const PayloadEntry* entry);

  PayloadFile file_;
  PointerList directory_;
  uint32_t headerLength_ = 0;
  uint8_t* data_ = nullptr;
  uint32_t dataSize_ = 0;
  // The block is kept for the next item that fits: under Wine a large
  // allocation is fresh memory from the system each time, and touching it
  // first costs more than the read that fills it.
  uint32_t dataCapacity_ = 0;
  // Built with the first checked read and kept: 8 KiB of tables.
  Crc32Table* crc_ = nullptr;
  int64_t markerOffset_ = 0;
  // Entry positions ordered by type, name (case ignored) and position, so
  // that a lookup costs a binary search, not a walk of the directory; null
  // when it could not be made, and lookups walk after all.
  int32_t* index_ = nullptr;
  const char* path_;
};

}  // namespace payload
