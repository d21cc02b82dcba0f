#include "payload/PayloadReader.h"

#include <stdint.h>
#include <stdlib.h>
#include <string.h>

#include "payload/Crc32Table.h"
#include "payload/ItemLayout.h"
#include "payload/LittleEndian.h"
#include "platform/Text.h"

namespace payload {
namespace {

// Sequential reads of the directory through a buffer, so that a directory of
// many entries costs a few large reads instead of six small ones per entry.
class DirectoryCursor {
 public:
  DirectoryCursor(PayloadFile& file, int64_t start) : file_(file), next_(start) {}
  ~DirectoryCursor() { free(buffer_); }

  bool Take(void* out, uint32_t count) {
    uint8_t* dst = static_cast<uint8_t*>(out);
    while (count > 0) {
      if (used_ == filled_ && !Refill()) return false;
      uint32_t n = filled_ - used_ < count ? filled_ - used_ : count;
      memcpy(dst, buffer_ + used_, n);
      used_ += n;
      dst += n;
      count -= n;
      consumed_ += n;
    }
    return true;
  }

  bool TakeU32(uint32_t* value) {
    uint8_t b[4];
    if (!Take(b, 4)) return false;
    *value = ReadLittleEndian32(b);
    return true;
  }

  uint64_t Consumed() const { return consumed_; }

 private:
  static constexpr uint32_t kBufferSize = 64 * 1024;

  bool Refill() {
    if (buffer_ == nullptr) buffer_ = static_cast<uint8_t*>(malloc(kBufferSize));
    if (buffer_ == nullptr) return false;
    filled_ = file_.ReadAt(next_, buffer_, kBufferSize);
    used_ = 0;
    next_ += filled_;
    return filled_ > 0;
  }

  PayloadFile& file_;
  int64_t next_;
  uint8_t* buffer_ = nullptr;
  uint32_t filled_ = 0;
  uint32_t used_ = 0;
  uint64_t consumed_ = 0;
};

// A length of 1 to 260 bytes that ends with the terminator it includes.
bool TakeString(DirectoryCursor& cursor, char* field) {
  uint32_t length = 0;
  if (!cursor.TakeU32(&length) || length == 0 || length > kFieldSize) return false;
  return cursor.Take(field, length) && field[length - 1] == '\0';
}

}  // namespace

PayloadReader::PayloadReader(const char* path) : path_(path) { LoadDirectory(); }

PayloadReader::~PayloadReader() {
  file_.Close();
  free(data_);
  data_ = nullptr;
  delete crc_;
  FreeDirectory();
}

void PayloadReader::FreeDirectory() {
  free(index_);
  index_ = nullptr;
  free(entries_);
  entries_ = nullptr;
  entryCount_ = 0;
}

void PayloadReader::LoadDirectory() {
  FreeDirectory();
  // The file is opened again: what was read ahead may no longer be its.
  windowFilled_ = 0;
  bool opened = path_ != nullptr ? file_.Open(path_) : file_.OpenOwnExecutable();
  readError_ = file_.Error();
  int64_t fileSize = opened ? file_.Size() : -1;
  status_ = DirectoryStatus::kCannotOpen;
  if (fileSize < 0) return;
  status_ = DirectoryStatus::kNoMarker;
  if (!LocateMarker(fileSize)) return;
  status_ = DirectoryStatus::kBadDirectory;
  if (!ParseDirectory(fileSize)) {
    FreeDirectory();
    return;
  }
  status_ = DirectoryStatus::kLoaded;
  BuildIndex();
}

bool PayloadReader::LocateMarker(int64_t fileSize) {
  char marker[kMarkerLength + 1];
  JoinMarker(marker);
  uint8_t trailer[4];
  if (fileSize >= 4 && file_.ReadAt(fileSize - 4, trailer, 4) == 4) {
    int64_t start = ReadLittleEndian32(trailer);
    char found[kMarkerLength];
    if (start + kMarkerLength <= fileSize && file_.ReadAt(start, found, kMarkerLength) == kMarkerLength &&
        text::EqualNoCaseN(found, marker, kMarkerLength)) {
      markerOffset_ = start;
      return true;
    }
  }
  return ScanForMarker();
}

bool PayloadReader::ScanForMarker() {
  char marker[kMarkerLength + 1];
  JoinMarker(marker);
  uint8_t* block = static_cast<uint8_t*>(malloc(kScanBlockSize));
  bool found = false;
  int64_t position = 0;
  for (uint32_t b = 0; block != nullptr && !found && b < kScanBlocks; ++b) {
    uint32_t got = file_.ReadAt(position, block, kScanBlockSize);
    for (uint32_t i = 0; i <= kScanLastStart && i + kMarkerLength <= got; ++i) {
      if (memcmp(block + i, marker, kMarkerLength) == 0) {
        markerOffset_ = position + i;
        found = true;
        break;
      }
    }
    if (got < kScanBlockSize) break;
    position += got;
  }
  free(block);
  return found;
}

// Refuses, as a whole, any directory that does not fit the file, so that no
// later read can reach beyond it or beyond a field.
bool PayloadReader::ParseDirectory(int64_t fileSize) {
  DirectoryCursor cursor(file_, markerOffset_ + kMarkerLength);
  uint32_t rawCount = 0;
  if (!cursor.TakeU32(&rawCount)) return false;
  int32_t count = static_cast<int32_t>(rawCount);
  int64_t room = fileSize - markerOffset_ - kMarkerLength - 8;
  if (count <= 0 || room < 0 || static_cast<int64_t>(count) * kMinEntryBytes > room) return false;
  // One block for the whole directory, not a block an entry: thousands of
  // entries cost one allocation. Every field is filled before an entry
  // counts: no zeroing needed.
  if (static_cast<uint64_t>(count) > SIZE_MAX / sizeof(PayloadEntry)) return false;
  entries_ = static_cast<PayloadEntry*>(malloc(sizeof(PayloadEntry) * static_cast<size_t>(count)));
  if (entries_ == nullptr) return false;
  uint64_t total = 0;
  for (int32_t k = 0; k < count; ++k) {
    PayloadEntry* entry = &entries_[k];
    bool ok = TakeString(cursor, entry->type) && TakeString(cursor, entry->name) &&
              cursor.TakeU32(&entry->size) && cursor.TakeU32(&entry->crc) && total <= 0xFFFFFFFFu;
    if (!ok) return false;
    entry->offset = static_cast<uint32_t>(total);
    total += entry->size;
    entryCount_ = k + 1;
  }
  uint32_t header = 0;
  if (!cursor.TakeU32(&header) || header != kMarkerLength + cursor.Consumed()) return false;
  headerLength_ = header;
  return static_cast<uint64_t>(markerOffset_) + header + total + 4 <= static_cast<uint64_t>(fileSize);
}

int PayloadReader::Compare(int32_t a, int32_t b) const {
  int order = text::CompareNoCase(Entry(a)->type, Entry(b)->type);
  if (order == 0) order = text::CompareNoCase(Entry(a)->name, Entry(b)->name);
  return order != 0 ? order : (a < b ? -1 : (a > b ? 1 : 0));
}

// Bottom-up merge sort: no recursion, and no comparison function that would
// need the reader in a global.
void PayloadReader::BuildIndex() {
  int32_t n = entryCount_;
  index_ = static_cast<int32_t*>(malloc(sizeof(int32_t) * 2 * static_cast<size_t>(n)));
  if (index_ == nullptr) return;
  int32_t* from = index_;
  int32_t* to = index_ + n;
  for (int32_t i = 0; i < n; ++i) from[i] = i;
  for (int32_t width = 1; width < n; width *= 2) {
    for (int32_t left = 0; left < n; left += 2 * width) {
      int32_t mid = left + width < n ? left + width : n;
      int32_t right = left + 2 * width < n ? left + 2 * width : n;
      int32_t i = left, j = mid, k = left;
      while (i < mid && j < right) to[k++] = Compare(from[i], from[j]) <= 0 ? from[i++] : from[j++];
      while (i < mid) to[k++] = from[i++];
      while (j < right) to[k++] = from[j++];
    }
    int32_t* swap = from;
    from = to;
    to = swap;
  }
  if (from != index_) memcpy(index_, from, sizeof(int32_t) * static_cast<size_t>(n));
}

// The first entry of that name and type in directory order.
const PayloadEntry* PayloadReader::Find(const char* name, const char* type) const {
  if (index_ == nullptr) {
    for (int32_t i = 0; i < entryCount_; ++i) {
      const PayloadEntry* e = Entry(i);
      if (text::EqualNoCase(e->name, name) && text::EqualNoCase(e->type, type)) return e;
    }
    return nullptr;
  }
  // The lowest position whose (type, name) is not below the one asked for.
  int32_t low = 0, high = entryCount_;
  while (low < high) {
    int32_t mid = low + (high - low) / 2;
    const PayloadEntry* e = Entry(index_[mid]);
    int order = text::CompareNoCase(e->type, type);
    if (order == 0) order = text::CompareNoCase(e->name, name);
    if (order < 0) {
      low = mid + 1;
    } else {
      high = mid;
    }
  }
  if (low == entryCount_) return nullptr;
  const PayloadEntry* e = Entry(index_[low]);
  return text::EqualNoCase(e->name, name) && text::EqualNoCase(e->type, type) ? e : nullptr;
}

// The type as it has always been compared: the default when none is given,
// at most a field's length.
const PayloadEntry* PayloadReader::Item(const char* name, const char* type) const {
  char wanted[kFieldSize];
  text::CopyAtMost(wanted, type != nullptr ? type : kTypeAppData, kFieldSize - 1);
  return name != nullptr && entryCount_ != 0 ? Find(name, wanted) : nullptr;
}

bool PayloadReader::ReadEntry(const PayloadEntry* entry, void* buffer, int32_t count) {
  crcMismatch_ = nullptr;
  if (entry == nullptr) return false;
  readError_ = 0;
  noMemory_ = false;
  if (buffer != nullptr) {
    // A count below the stored size would leave part of the item unread and
    // the CRC computed over stale bytes.
    if (count < 0 || entry->size > static_cast<uint32_t>(count)) return false;
    uint32_t got = ReadNear(entry, buffer, static_cast<uint32_t>(count));
    return Checked(got >= entry->size ? buffer : nullptr, entry);
  }
  dataSize_ = 0;
  if (!EnsureBlock(entry->size)) return false;
  dataSize_ = entry->size;
  if (ReadFrom(entry, 0, data_, entry->size) != entry->size) return false;
  // Files are checked like settings: a damaged program or project file must
  // not be installed in silence.
  return Checked(data_, entry);
}

bool PayloadReader::EnsureBlock(uint32_t size) {
  if (size < dataCapacity_) return true;
  free(data_);
  dataCapacity_ = 0;
  // On a 32-bit system the spare byte of a 4 GiB item would wrap to an
  // allocation of nothing, which the read would then overrun.
  size_t wanted = static_cast<size_t>(size) + 1;
  data_ = wanted != 0 ? static_cast<uint8_t*>(malloc(wanted)) : nullptr;
  noMemory_ = data_ == nullptr;
  if (noMemory_) return false;
  dataCapacity_ = size + 1;
  return true;
}

namespace {

// Reads into a caller's buffer of at most kWindowedMost bytes (settings, a
// list's names) are served from the window read ahead: each read
// is a call to the system, and thousands of listed files would pay one each
// for their names besides the one for their bytes. Items are read as they
// are asked for: their names lie apart from them, and one window for both
// would be filled again for every file.
constexpr uint32_t kWindowedMost = 4u << 10;

}  // namespace

uint32_t PayloadReader::ReadNear(const PayloadEntry* entry, void* out, uint32_t count) {
  // Wraps to beyond the window when the item lies before it; an empty
  // window holds nothing, not even an empty read.
  uint32_t into = entry->offset - windowAt_;
  if (into >= windowFilled_ || windowFilled_ - into < count) {
    if (count > kWindowedMost) return ReadFrom(entry, 0, out, count);
    windowAt_ = entry->offset;
    into = 0;
    // A read that fails brings only what the system read before it, the
    // file's own bytes.
    windowFilled_ = ReadFrom(entry, 0, window_, sizeof(window_));
  }
  uint32_t got = windowFilled_ - into < count ? windowFilled_ - into : count;
  memcpy(out, window_ + into, got);
  return got;
}

uint32_t PayloadReader::ReadFrom(const PayloadEntry* entry, uint32_t offset, void* out, uint32_t count) {
  uint32_t got = file_.ReadAt(markerOffset_ + headerLength_ + entry->offset + offset, out, count);
  readError_ = file_.Error();
  return got;
}

namespace {

// What one piece of an item holds at most: bounded memory, and reads that
// network shares take.
constexpr uint32_t kPieceSize = 1u << 20;

}  // namespace

bool PayloadReader::BeginPieces(const PayloadEntry* entry, uint32_t* size, uint8_t* tail) {
  pieces_ = entry;
  crcMismatch_ = nullptr;
  piecesDone_ = 0;
  piecesCrc_ = 0;
  readError_ = 0;
  noMemory_ = false;
  if (pieces_ == nullptr || !EnsureCrcTable() || !EnsureBlock(pieces_->size < kPieceSize ? pieces_->size : kPieceSize)) {
    pieces_ = nullptr;
    return false;
  }
  *size = pieces_->size;
  // The tail first, then the pieces in order from where the item begins. An
  // item of one piece is read whole at once, its tail with it: one read.
  uint32_t stored = pieces_->size;
  piecesHeld_ = stored <= kPieceSize;
  bool read;
  if (piecesHeld_) {
    read = ReadFrom(pieces_, 0, data_, stored) == stored;
    if (read && stored >= kZlibItemTrailerSize) {
      memcpy(tail, data_ + stored - kZlibItemTrailerSize, kZlibItemTrailerSize);
    }
  } else {
    read = ReadFrom(pieces_, stored - kZlibItemTrailerSize, tail, kZlibItemTrailerSize) == kZlibItemTrailerSize;
  }
  if (!read) pieces_ = nullptr;
  return pieces_ != nullptr;
}

bool PayloadReader::ReadPart(const PayloadEntry* entry, uint32_t offset, void* out, uint32_t count) {
  bool inside = offset <= entry->size && count <= entry->size - offset;
  bool read = inside && ReadFrom(entry, offset, out, count) == count;
  // As the last read left it, when this one was not made.
  readError_ = file_.Error();
  return read;
}

bool PayloadReader::Next(const uint8_t** bytes, size_t* count) {
  if (pieces_ == nullptr || readError_ != 0 || piecesDone_ == pieces_->size) return false;
  uint32_t left = pieces_->size - piecesDone_;
  uint32_t piece = left < kPieceSize ? left : kPieceSize;
  bool held = piecesHeld_;
  piecesHeld_ = false;
  if (!held && ReadFrom(pieces_, piecesDone_, data_, piece) != piece) {
    // A file that ends early (no error) is damage, which the CRC reports.
    return false;
  }
  piecesCrc_ = crc_->Compute(data_, piece, piecesCrc_);
  piecesDone_ += piece;
  *bytes = data_;
  *count = piece;
  return true;
}

bool PayloadReader::EndPieces() {
  const PayloadEntry* entry = pieces_;
  pieces_ = nullptr;
  if (entry == nullptr || readError_ != 0) return false;
  return CrcMatches(piecesDone_ == entry->size ? piecesCrc_ : ~entry->crc, entry);
}

bool PayloadReader::CrcMatches(uint32_t crc, const PayloadEntry* entry) {
  lastCrc_ = crc;
  if (crc == entry->crc) return true;
  crcMismatch_ = entry;
  return false;
}

bool PayloadReader::EnsureCrcTable() {
  if (crc_ != nullptr) return true;
  // The stub's new gives null when memory runs out (it is built to check).
  crc_ = new Crc32Table();
  if (crc_ == nullptr) return false;
  crc_->Build();
  return true;
}

// False, noting the entry, when the bytes are not the item's or were not all
// there to read (null).
bool PayloadReader::Checked(const void* bytes, const PayloadEntry* entry) {
  if (!EnsureCrcTable()) return false;
  return CrcMatches(bytes != nullptr ? crc_->Compute(bytes, entry->size) : ~entry->crc, entry);
}

bool PayloadReader::Contains(const char* name, const char* type) const {
  return Item(name, type) != nullptr;
}

uint8_t* PayloadReader::Data() { return data_; }

void PayloadReader::ReleaseData() {
  free(data_);
  data_ = nullptr;
  dataSize_ = 0;
  dataCapacity_ = 0;
}

uint32_t PayloadReader::DataSize() { return dataSize_; }

}  // namespace payload
