#pragma once
#include <stdint.h>

#include "payload/Crc32Table.h"
#include "payload/Inflate.h"
#include "payload/PayloadEntry.h"
#include "payload/PayloadFile.h"
#include "payload/PointerList.h"

namespace payload {

// Why no directory was loaded. The reader shows nothing: its caller words
// the failure, so that the packager reads installers through this same code.
enum class DirectoryStatus : uint8_t {
  kLoaded,
  kCannotOpen,    // ReadError() holds the system's reason where it is known
  kNoMarker,      // neither at the trailer's offset nor where the scan reaches
  kBadDirectory,  // a marker at MarkerOffset(), and a directory that does not fit the file
};

// Finds the payload appended to a file, holds its directory and hands out
// items by (name, type). Settings are read into the caller's buffer with a
// CRC check; files are read whole into a block the reader owns.
class PayloadReader final : public InflateSource {
 public:
  // Null path: the running program's own file. The path is kept, not
  // copied: it must outlive the reader.
  explicit PayloadReader(const char* path = nullptr);
  virtual ~PayloadReader();
  PayloadReader(const PayloadReader&) = delete;
  PayloadReader& operator=(const PayloadReader&) = delete;

  virtual void LoadDirectory();
  // With a buffer: count bytes into it, true when found and the CRC matches.
  // Without one: the whole item into Data(), checked as well.
  bool ReadItem(const char* name, void* buffer, int32_t count, const char* type) {
    return ReadEntry(Item(name, type), buffer, count);
  }
  // The same for an entry found before (Item), without finding it again;
  // null reads as an item that is not there.
  bool ReadEntry(const PayloadEntry* entry, void* buffer, int32_t count);
  virtual uint8_t* Data();
  virtual uint32_t DataSize();

  // Gives the item block back; the next read of a whole item makes another.
  void ReleaseData();

  // An item of any size, a piece at a time through the item block, so that
  // memory does not grow with it: BeginPieces finds it (default type, or the
  // entry itself) and reads its last 4 bytes ahead of time (where it has 4),
  // Next gives its bytes in order (as the inflater takes them), and EndPieces
  // checks the CRC of all of them as a whole read does. False from
  // BeginPieces for an item that is not there or could not be read
  // (ReadError), from EndPieces for one that could not be read or whose CRC
  // is wrong (CrcMismatch).
  bool BeginPieces(const char* name, uint32_t* size, uint8_t* tail) {
    return BeginPieces(Item(name, nullptr), size, tail);
  }
  bool BeginPieces(const PayloadEntry* entry, uint32_t* size, uint8_t* tail);
  bool Next(const uint8_t** bytes, size_t* count) override;
  bool EndPieces();
  // count bytes of an item from offset within it, unchecked: a look at its
  // head or tail. False when they are not all there to read.
  bool ReadPart(const PayloadEntry* entry, uint32_t offset, void* out, uint32_t count);

  DirectoryStatus Status() const { return status_; }
  // The entry whose CRC the last read found wrong, null when it was right or
  // none was checked.
  const PayloadEntry* CrcMismatch() const { return crcMismatch_; }
  // The CRC the last check computed, right or wrong.
  uint32_t LastCrc() const { return lastCrc_; }
  // The system's error for the last read of the installer that stopped
  // short; 0 when none did.
  uint32_t ReadError() const { return readError_; }
  // Whether the last read found no memory for the item's block.
  bool NoMemory() const { return noMemory_; }
  // For memory its caller needed for the item and did not get.
  void NoteNoMemory() { noMemory_ = true; }

  // Whether an item is in the directory, without reading it.
  bool Contains(const char* name, const char* type) const;
  // The entry of an item (default type when none is given), null when it is
  // not there: found once, then read by entry.
  const PayloadEntry* Item(const char* name, const char* type) const;

  // Directory access for the host tools.
  int32_t EntryCount() const { return entryCount_; }
  const PayloadEntry* Entry(int32_t index) const { return &entries_[index]; }
  int64_t MarkerOffset() const { return markerOffset_; }
  uint32_t HeaderLength() const { return headerLength_; }
  int64_t FileSize() const { return file_.Size(); }

 private:
  bool LocateMarker(int64_t fileSize);
  bool ScanForMarker();
  bool ParseDirectory(int64_t fileSize);
  const PayloadEntry* Find(const char* name, const char* type) const;
  void BuildIndex();
  int Compare(int32_t a, int32_t b) const;
  void FreeDirectory();
  bool Checked(const void* bytes, const PayloadEntry* entry);
  bool EnsureCrcTable();
  // False, noting the entry, when crc is not the entry's.
  bool CrcMatches(uint32_t crc, const PayloadEntry* entry);
  bool EnsureBlock(uint32_t size);
  // count bytes from offset within the entry's item (and on beyond it) as
  // ReadAt reads them; both set readError_. ReadNear reads from the item's
  // start and serves a small read from the window.
  uint32_t ReadFrom(const PayloadEntry* entry, uint32_t offset, void* out, uint32_t count);
  uint32_t ReadNear(const PayloadEntry* entry, void* out, uint32_t count);

  PayloadFile file_;
  // The directory in one block, in its order.
  PayloadEntry* entries_ = nullptr;
  int32_t entryCount_ = 0;
  uint32_t headerLength_ = 0;
  uint8_t* data_ = nullptr;
  uint32_t dataSize_ = 0;
  // The block is kept for the next item that fits: under Wine a large
  // allocation is fresh memory from the system each time, and touching it
  // first costs more than the read that fills it.
  uint32_t dataCapacity_ = 0;
  // The bytes last read ahead of a small read into a caller's buffer, from
  // windowAt_ on: a list's names lie one after another.
  uint32_t windowAt_ = 0;
  uint32_t windowFilled_ = 0;
  // Built with the first checked read and kept: 8 KiB of tables.
  Crc32Table* crc_ = nullptr;
  int64_t markerOffset_ = 0;
  // Entry positions ordered by type, name (case ignored) and position, so
  // that a lookup costs a binary search, not a walk of the directory; null
  // when it could not be made, and lookups walk after all.
  int32_t* index_ = nullptr;
  const char* path_;
  // The item being read in pieces, how far, and the CRC so far.
  const PayloadEntry* pieces_ = nullptr;
  uint32_t piecesDone_ = 0;
  uint32_t piecesCrc_ = 0;
  // An item of one piece, read whole with its tail: the next piece is held.
  bool piecesHeld_ = false;
  uint32_t readError_ = 0;
  uint32_t lastCrc_ = 0;
  const PayloadEntry* crcMismatch_ = nullptr;
  DirectoryStatus status_ = DirectoryStatus::kCannotOpen;
  bool noMemory_ = false;
  // Last, so that the fields before it stay near the object's start. Part of
  // the reader, as the reader lasts the run: no allocation that could fail.
  uint8_t window_[64 * 1024];
};

}  // namespace payload
