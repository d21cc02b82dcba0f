// Items written as they are read, a piece at a time: the files the installer
// copies as stored and the programs it inflates, whatever their size, in
// memory that does not grow with them.
#include "installer/Installer.h"
#include "installer/ReaderMessages.h"
#include "payload/Inflate.h"
#include "payload/ItemLayout.h"
#include "platform/FileWrite.h"
#include "platform/Message.h"

namespace installer {
namespace {

// Well above the 64 KiB the inflater needs: fewer, larger writes.
constexpr size_t kWindowSize = 1u << 20;

class FileSink final : public payload::InflateSink {
 public:
  explicit FileSink(platform::OutputFile& file) : file_(file) {}
  bool Take(const uint8_t* bytes, size_t count) override { return file_.Write(bytes, static_cast<uint32_t>(count)); }

 private:
  platform::OutputFile& file_;
};

}  // namespace

Extracted Installer::ExtractStreamed(const payload::PayloadEntry* entry, const char* target, bool inflate,
                                     DWORD* error) {
  uint32_t size = 0;
  uint8_t tail[payload::kZlibItemTrailerSize];
  if (reader == nullptr || !reader->BeginPieces(entry, &size, tail)) return Extracted::kUnread;
  // The current item is known by its stored size; its bytes pass through.
  itemData = nullptr;
  itemSize = size;
  // A zlib item ends with its unpacked size, which the inflater never
  // reaches: it stops at the stream's checksum.
  bool decodable = !inflate || size >= payload::kZlibItemTrailerSize;
  uint32_t stated = inflate && decodable ? payload::ZlibItemStatedSize(tail) : size;
  if (decodable && stated == 0 && !cursor.inList) return Extracted::kEmpty;
  platform::OutputFile file(target);
  if (!OpenOutput(file, target)) return Extracted::kNoted;
  uint8_t* window = inflate && decodable ? new uint8_t[kWindowSize] : nullptr;
  if (inflate && decodable && window == nullptr) return Extracted::kNoMemory;
  FileSink sink(file);
  uint32_t written = 0;
  bool decoded = decodable && (window == nullptr || (payload::InflateZlibStream(*reader, sink, window, kWindowSize,
                                                                                stated, &written) &&
                                                     written == stated));
  delete[] window;
  const uint8_t* bytes = nullptr;
  size_t count = 0;
  // The checksum covers every stored byte, whatever the inflater made of them.
  while (!file.Failed() && reader->Next(&bytes, &count)) {
    if (!inflate) sink.Take(bytes, count);
  }
  bool whole = !file.Failed() && reader->EndPieces();
  ReportCrcMismatch(*reader);
  if (whole && decoded) {
    return KeepOutput(file, target) && RecordFile(target, !file.Replaces()) ? Extracted::kWritten : Extracted::kNoted;
  }
  // Nothing damaged or cut may stay behind looking installed.
  file.Discard();
  *error = file.Failed() ? file.Error() : ERROR_INVALID_DATA;
  return file.Failed() ? Extracted::kNotWritten : !whole ? Extracted::kUnread : Extracted::kDamaged;
}

void Installer::NoteExtracted(Extracted why, const char* name, const char* target, DWORD error) {
  // By Extracted: the empty item and the memory short are named by the
  // item, the rest by the file.
  static const FailureKind kKinds[] = {FailureKind::kNone,     FailureKind::kCopyFailure, FailureKind::kNone,
                                       FailureKind::kNoMemory, FailureKind::kCopyFailure, FailureKind::kDecompress};
  if (why == Extracted::kUnread) {
    NoteReadFailure(name, target);
  } else if (why != Extracted::kWritten && why != Extracted::kNoted) {
    NoteFailure(kKinds[static_cast<int>(why)], why <= Extracted::kNoMemory ? name : target, error);
  }
}

bool Installer::CopyModule(const char* item, const char* target, FailureKind copyFailure) {
  DWORD error = 0;
  Extracted why = ExtractStreamed(Item(item), target, true, &error);
  if (why == Extracted::kWritten) return true;
  // An empty module is named by where it was to go, as one not written is.
  NoteExtracted(why, why == Extracted::kEmpty ? target : item, target, error);
  // In the flow's own words where the file could not be written.
  if (failure.what == FailureKind::kCopyFailure) failure.what = copyFailure;
  return false;
}

}  // namespace installer
